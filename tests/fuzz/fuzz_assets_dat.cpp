// The structure walk that stands between assets.dat and the library's
// loader, on any datafile body. The input is what the walk reads after the
// library has decrypted and unpacked the file, so the target writes it as a
// packfile with the game's password first (unpacked, which is quicker).
//
// The library's loader itself is left out: it trusts what an object says
// about itself (a bitmap of an unknown depth, a size it cannot allocate) and
// frees twice on the way out of such a file, within seconds of fuzzing. The
// walk guards against files cut short, not against files made to harm.
#include "base/datafile_check.h"

#include <allegro.h>

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr const char* FileName = "fuzzed.dat";

std::string& workFolder() {
  static std::string folder = "/tmp/mq-fuzz-assets-XXXXXX";
  return folder;
}

void removeWorkFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(workFolder(), ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  install_allegro(SYSTEM_NONE, &errno, atexit);
  if (mkdtemp(workFolder().data()) == nullptr || chdir(workFolder().c_str()) != 0) {
    std::abort();
  }
  std::atexit(removeWorkFolder);
  packfile_password("zoph");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PACKFILE* file = pack_fopen(FileName, F_WRITE_NOPACK);
  if (file == nullptr) {
    std::abort();
  }
  pack_fwrite(data, static_cast<long>(size), file);
  pack_fclose(file);
  datafileIsWhole(FileName);
  return 0;
}

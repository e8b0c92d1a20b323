#include "base/scratch_folder.h"

#include "base/signal_cleanup.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

ScratchFolder::ScratchFolder(const char* prefix) : previous_(std::filesystem::current_path()) {
  std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a temporary folder in " +
                             std::filesystem::temp_directory_path().string());
  }
  path_ = pattern;
  removeOnSignal(path_.c_str());
  std::filesystem::current_path(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  keepOnSignal(path_.c_str());
  std::filesystem::remove_all(path_, ignored);
}

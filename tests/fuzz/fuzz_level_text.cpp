// The level-text compiler on any text: it either names a fault as
// "FILE:LINE:COLUMN: ..." or gives a level of 4-bit codes with a
// PlayerStart, which written out as text compiles to the same cells.
#include "fuzz_check.h"

#include "leveltext/level_text.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

const std::string FileName = "fuzzed.txt";

bool holdsPlayerStart(const Level& level) {
  for (int8_t code : level.cells) {
    FUZZ_REQUIRE(code >= 0 && code <= 15);
    if (code == PlayerStart) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  LevelSource source;
  std::string error;
  if (!parseLevelSource(in, FileName, source, error)) {
    FUZZ_REQUIRE(error.compare(0, FileName.size() + 1, FileName + ":") == 0);
    return 0;
  }
  FUZZ_REQUIRE(error.empty());
  FUZZ_REQUIRE(holdsPlayerStart(source.level));

  std::ostringstream text;
  writeLevelSource(text, source);
  std::istringstream again(text.str());
  LevelSource reread;
  FUZZ_REQUIRE(parseLevelSource(again, FileName, reread, error));
  for (int cell = 0; cell < CellCount; ++cell) {
    FUZZ_REQUIRE(reread.level.cells[cell] == source.level.cells[cell]);
  }
  return 0;
}

// mellow-quarrier-levelc [--from N] INPUT OUTPUT: writes the maps.bin file OUTPUT from INPUT,
// a level list (the level files it names are compiled in list order) or a
// maps.bin. With --from N the set is rotated so that its level N comes first
// and the rest follow in their order, the last wrapping round to the first.
// A fault stops it with one line on stderr ("file:line:column: message" for
// a faulty level) and exit status 1, 2 for a bad command line; OUTPUT is then
// left as it was.
#include "leveltext/level_set.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr const char* Usage = "usage: mellow-quarrier-levelc [--from N] LEVEL_LIST_OR_MAPS_BIN OUTPUT_MAPS_BIN\n";

// N as written, 0 when it is not a plain decimal number.
size_t levelNumberOf(const char* text) {
  const std::string digits(text);
  if (digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  return std::stoul(digits);
}

}  // namespace

int main(int argc, char** argv) {
  size_t firstLevel = 1;
  if (argc == 5 && std::strcmp(argv[1], "--from") == 0) {
    firstLevel = levelNumberOf(argv[2]);
    if (firstLevel == 0) {
      std::cerr << "mellow-quarrier-levelc: --from needs a level number from 1, not '" << argv[2] << "'\n";
      return 2;
    }
    argv += 2;
    argc -= 2;
  }
  if (argc != 3) {
    std::cerr << Usage;
    return 2;
  }
  std::vector<Level> levels;
  std::string error;
  if (!readLevelSet(argv[1], levels, error)) {
    std::cerr << error << '\n';
    return 1;
  }
  if (firstLevel > levels.size()) {
    std::cerr << argv[1] << ": no level " << firstLevel << ", the set holds " << levels.size()
              << (levels.size() == 1 ? " level\n" : " levels\n");
    return 1;
  }
  std::rotate(levels.begin(), levels.begin() + static_cast<long>(firstLevel - 1), levels.end());
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << mapsBinOf(levels);
  out.close();
  if (!out) {
    std::cerr << argv[2] << ": cannot write\n";
    return 1;
  }
  return 0;
}

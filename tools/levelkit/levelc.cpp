// levelc LIST OUTPUT: compiles the level files named in LIST into the
// maps.bin file OUTPUT. A fault in any level stops the build with
// "file:line:column: message" on stderr and exit status 1; OUTPUT is then
// left as it was.
#include "level_set.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: levelc LIST_FILE OUTPUT_MAPS_BIN\n";
    return 2;
  }
  std::string mapsBin;
  std::string error;
  if (!compileLevelList(argv[1], mapsBin, error)) {
    std::cerr << error << '\n';
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << mapsBin;
  out.close();
  if (!out) {
    std::cerr << argv[2] << ": cannot write\n";
    return 1;
  }
  return 0;
}

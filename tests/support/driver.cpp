#include "support/driver.h"

#include "base/globals.h"
#include "leveltext/level_text.h"
#include "support/headless.h"

#include <utility>

void drivePass(std::initializer_list<int> heldKeys) {
  releaseAllKeys();
  for (int scancode : heldKeys) {
    key[scancode] = 1;
  }
  tickCount = 1;
  ::runPass();
}

void drivePasses(int count, std::initializer_list<int> heldKeys) {
  for (int i = 0; i < count; ++i) {
    drivePass(heldKeys);
  }
}

void writeMapsBin(const ScopedWorkDir& dir, const std::vector<Level>& levels) {
  dir.writeFile("maps.bin", mapsBinBytes(levels) + std::string(LevelRecordBytes, '\0'));
}

ScriptedKeys::ScriptedKeys(std::vector<int> codes) : codes_(std::move(codes)) {}

int ScriptedKeys::operator()() { return next_ < codes_.size() ? codes_[next_++] : '\r'; }

// Drives the real main loop headless, pass by pass: each pass finds one
// pending tick and the keys that the script holds down during it.
#pragma once

#include "level/level.h"

#include <initializer_list>
#include <string>
#include <vector>

class ScopedWorkDir;

// Holds exactly the given keys (KEY_* scancodes) and runs one pass of the loop.
void drivePass(std::initializer_list<int> heldKeys = {});
void drivePasses(int count, std::initializer_list<int> heldKeys = {});

// Writes maps.bin for these levels, followed by the ending record.
void writeMapsBin(const ScopedWorkDir& dir, const std::vector<Level>& levels);

// A key source for the name entry that types the given codes, then Enter.
class ScriptedKeys {
public:
  explicit ScriptedKeys(std::vector<int> codes);
  int operator()();

private:
  std::vector<int> codes_;
  size_t next_ = 0;
};

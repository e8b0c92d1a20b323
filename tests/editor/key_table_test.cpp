// The one key table against what is written about it: no chord bound twice
// in one place, and the manual's key sections and the README's key tables
// list exactly the table's bindings, so a key added, changed or dropped in
// the code shows up here until the documents say the same.
#include "editor/key_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

namespace {

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  const size_t last = text.find_last_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::set<std::string> tableKeys(KeyPlace place) {
  std::set<std::string> keys;
  for (const KeyBinding& binding : keyBindings()) {
    if (binding.place == place) {
      keys.insert(binding.keys);
    }
  }
  return keys;
}

// The key column of the manual's entries (the line after each .TP) in the
// section that starts with `heading`, up to the next .SH.
std::set<std::string> manualKeys(const std::string& heading) {
  std::ifstream in(MQ_SOURCE_DIR "/dist/mellow-quarrier-editor.6.in");
  std::set<std::string> keys;
  std::string line;
  bool inside = false;
  bool afterTP = false;
  while (std::getline(in, line)) {
    if (line.rfind(".SH", 0) == 0) {
      inside = line == ".SH " + heading;
    } else if (inside && afterTP) {
      std::string text = line.rfind(".B ", 0) == 0 ? line.substr(3) : line;
      if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
      }
      keys.insert(text);
    }
    afterTP = inside && line == ".TP";
  }
  return keys;
}

// The first column of the first table after the README's `heading`.
std::set<std::string> readmeKeys(const std::string& heading) {
  std::ifstream in(MQ_SOURCE_DIR "/README.md");
  std::set<std::string> keys;
  std::string line;
  bool found = false;
  int rows = 0;
  while (std::getline(in, line)) {
    if (line == heading) {
      found = true;
    } else if (found && line.rfind("|", 0) == 0) {
      if (++rows > 2) {   // the header and its rule
        keys.insert(trimmed(line.substr(1, line.find('|', 1) - 1)));
      }
    } else if (found && rows > 0) {
      break;
    }
  }
  return keys;
}

TEST(KeyTableTest, NoChordIsBoundTwiceInOnePlace) {
  std::set<std::tuple<KeyPlace, int, Modifiers>> seen;
  for (const KeyBinding& binding : keyBindings()) {
    for (const Chord& chord : binding.chords) {
      EXPECT_TRUE(seen.insert({binding.place, chord.scancode, chord.modifiers}).second)
          << binding.keys << " takes a chord bound before it";
    }
  }
}

TEST(KeyTableTest, TheManualAndTheReadmeListEveryBindingAndNoOther) {
  EXPECT_EQ(manualKeys("KEYS AND MOUSE"), tableKeys(KeyPlace::Drawing));
  EXPECT_EQ(manualKeys("LEVEL SETS"), tableKeys(KeyPlace::Set));
  EXPECT_EQ(readmeKeys("## The level editor"), tableKeys(KeyPlace::Drawing));
  EXPECT_EQ(readmeKeys("### Level sets"), tableKeys(KeyPlace::Set));
}

}  // namespace

#include "editor/typed_text.h"

#include <allegro.h>

#include <cstdio>
#include <map>

namespace {

constexpr int LastByte = 255;
constexpr int Delete = 127;

bool hasInk(int character) {
  BITMAP* cell = create_bitmap(text_length(font, "W") * 2, text_height(font) * 2);
  clear_bitmap(cell);
  const char text[2] = {static_cast<char>(character), 0};
  textout_ex(cell, font, text, 0, 0, -1, -1);
  bool ink = false;
  for (int y = 0; y < cell->h && !ink; ++y) {
    for (int x = 0; x < cell->w && !ink; ++x) {
      ink = getpixel(cell, x, y) != 0;
    }
  }
  destroy_bitmap(cell);
  return ink;
}

}  // namespace

bool fontDraws(int character) {
  if (character == ' ') {
    return true;
  }
  if (character < ' ' || character > LastByte || character == Delete) {
    return false;
  }
  // One font for the whole run: each character is looked at once.
  static std::map<int, bool> known;
  const auto found = known.find(character);
  return found != known.end() ? found->second : (known[character] = hasInk(character));
}

std::string refusalOf(int character) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
  return std::string("Character ") + code + " left out: the game's font cannot draw it.";
}

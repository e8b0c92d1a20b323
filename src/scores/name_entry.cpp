#include "scores/name_entry.h"

#include "base/globals.h"
#include "scores/high_score_table.h"
#include "scores/text.h"

#include <sstream>

namespace {

constexpr int KeyBackspace = 8;
constexpr int KeyEnter = 13;
constexpr int FirstPrintable = 32;
constexpr int LastPrintable = 126;
constexpr int FontColours = -1;
constexpr int CursorColour = 0xFF5500;
constexpr char CursorGlyph = static_cast<char>(219);
constexpr int GlyphWidth = 8;
constexpr int TextX = 64;
constexpr int MessageY = 214;
constexpr int PromptY = 230;
constexpr int NameY = 256;

void drawEntryScreen(const std::string& message, const std::string& name) {
  drawText(message, TextX, MessageY, FontColours, AlignLeft);
  drawText("Enter your name :", TextX, PromptY, FontColours, AlignLeft);
  drawText(name, TextX, NameY, FontColours, AlignLeft);
  const int cursorX = TextX + GlyphWidth * static_cast<int>(name.size());
  drawText(std::string(1, CursorGlyph), cursorX, NameY, CursorColour, AlignLeft);
}

bool isNameCharacter(int code) { return code >= FirstPrintable && code <= LastPrintable; }

}  // namespace

std::string placeMessage(int place) {
  std::ostringstream message;
  message << "You are number " << place << " .";
  if (place == 1) {
    message << " Woohoo !";
  }
  return message.str();
}

std::string enterName(const std::string& message, const std::function<int()>& readKey) {
  std::string name;
  for (;;) {
    drawEntryScreen(message, name);
    presentFrame();
    const int code = readKey() & 0xFF;
    if (code == KeyBackspace) {
      if (!name.empty()) {
        name.pop_back();
      }
      continue;
    }
    if (name.size() < std::size_t{HighScoreNameLimit} && isNameCharacter(code)) {
      name += static_cast<char>(code);
    }
    if (code == KeyEnter) {
      return name;
    }
  }
}

// What may be typed into a level's title and note: the characters the
// game's font draws, and nothing else, since a level is shown in that font
// and kept as one byte a character.
#pragma once

#include <string>

// Whether the loaded font has a glyph with ink for the character (Unicode);
// the blank is drawn as such.
bool fontDraws(int character);

// The message for a character that is refused.
std::string refusalOf(int character);

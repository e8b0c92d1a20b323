// Text output for every screen, in the datafile font, and the framed box of
// the title screen. The layouts assume 8-pixel-wide fixed-pitch glyphs.
// Everything is drawn into backBuffer.
#pragma once

#include <cstdint>
#include <string>

// The top of the status line under the field: the score, the clock and the
// level label.
constexpr int StatusLineY = 513;

enum TextAlign : int { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };

// Draws with a transparent background; colour -1 keeps the font's own
// colours. AlignRight ends the text at x - 1. AlignCentre ignores x and places
// the text at (64 - length) * 4, which centres 8-pixel glyphs on the 512-pixel
// width; any other alignment value draws nothing.
void drawText(std::string text, int x, int y, int colour, int align);

// A ten-place score field whose right edge is x: dim zeros, digits over them.
// Both are drawn on black, so the field also wipes what was under it.
void drawScore(int x, int y, uint32_t value);

// The level clock from bonusTimer: minutes, a colon on even seconds and a
// blank on odd ones, two-digit seconds. Division truncates toward zero, so
// the last second before the clock stops (-99 to 99 ticks) reads 0:00.
void drawTime();
std::string timeText(int32_t ticks);

// "Level %d" on the status line, on black.
void drawLevelLabel(int number);

// A filled rectangle from (x, y) to (x + width, y + height), both corners
// included, framed one pixel wide in white.
void drawBox(int x, int y, int width, int height, int colour);

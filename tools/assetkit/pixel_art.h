// Pictures drawn as text: a palette file gives each character a colour, and a
// picture file holds blocks of character grids.
//
// Palette file, one colour a line:   <char> #rrggbb   or   <char> clear
// Picture file, a block per group of pictures drawn side by side:
//   picture NAME [NAME...]
//   <rows: one word per NAME, all the same width, as many rows as needed>
//   (a blank line ends the block)
//   mirror NEW OLD        NEW is OLD flipped left to right
// "clear" is the sprite mask in sprites and black in the opaque tile sheet;
// which of the two is the caller's choice when it turns a picture into colours.
#pragma once

#include "image_files.h"

#include <map>
#include <string>
#include <vector>

struct Palette {
  std::map<char, uint32_t> colours;
  char clearCharacter = '\0';
};

struct Picture {
  std::string name;
  int width = 0;
  int height = 0;
  std::string cells;  // palette characters, row by row

  char at(int x, int y) const { return cells[static_cast<size_t>(y * width + x)]; }
};

Palette readPalette(const std::string& path);

// Pictures in the order the file defines them; every character is checked
// against the palette.
std::vector<Picture> readPictures(const std::string& path, const Palette& palette);

const Picture& findPicture(const std::vector<Picture>& pictures, const std::string& name);

RgbImage renderPicture(const Picture& picture, const Palette& palette, uint32_t clearRgb);

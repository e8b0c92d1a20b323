// A contact sheet of the art for people to judge: the tile sheet, every
// sprite, a small scene built from both, and the font, all enlarged and
// labelled in the game's own font.
#pragma once

#include "font_source.h"
#include "image_files.h"
#include "pixel_art.h"

#include <vector>

struct ArtSources {
  Palette palette;
  std::vector<Picture> tiles;
  std::vector<Picture> sprites;
  FontSource font;
};

RgbImage renderArtPreview(const ArtSources& art);

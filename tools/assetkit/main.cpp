// assetkit: turns the text sources in assets/ into the files the dat tool
// grabs (24-bit BMP pictures, an 8-bit PCX font sheet, WAV sounds) and into
// the art preview. Usage:
//   assetkit tiles PALETTE TILES OUT.bmp
//   assetkit sprites PALETTE SPRITES OUTDIR NAME...     writes OUTDIR/NAME.bmp
//   assetkit font FONT OUT.pcx
//   assetkit sounds SOUNDS OUTDIR NAME...               writes OUTDIR/NAME.wav
//   assetkit preview PALETTE TILES SPRITES FONT OUT.ppm
//   assetkit icons PALETTE SPRITES NAME OUTDIR SIZE...  writes OUTDIR/SIZE.png,
//                                                        sprite NAME enlarged
// The output names are listed on the command line so that the build, which
// must know every file it makes, and the sources cannot drift apart silently.
#include "font_source.h"
#include "image_files.h"
#include "pixel_art.h"
#include "png_file.h"
#include "preview.h"
#include "sound_source.h"

#include "level/cell_kinds.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int TilePixels = 16;
constexpr int TileVariants = 4;
constexpr uint32_t SpriteMaskRgb = 0xFF00FF;
constexpr uint32_t TileClearRgb = 0x000000;

using Arguments = std::vector<std::string>;

void requireCellSize(const Picture& picture) {
  if (picture.width != TilePixels || picture.height != TilePixels) {
    throw std::runtime_error(picture.name + " is not " + std::to_string(TilePixels) + " by " +
                             std::to_string(TilePixels) + " pixels");
  }
}

void makeTileSheet(const Arguments& args) {
  const Palette palette = readPalette(args.at(0));
  const std::vector<Picture> tiles = readPictures(args.at(1), palette);
  const int rows = static_cast<int>(tiles.size()) / TileVariants;
  if (tiles.size() % TileVariants != 0 || rows < tileRowsNeeded()) {
    throw std::runtime_error(args.at(1) + ": need " + std::to_string(TileVariants) +
                             " variants for each of at least " + std::to_string(tileRowsNeeded()) +
                             " tiles");
  }
  RgbImage sheet(TileVariants * TilePixels, rows * TilePixels);
  for (size_t i = 0; i < tiles.size(); ++i) {
    requireCellSize(tiles[i]);
    sheet.paste(renderPicture(tiles[i], palette, TileClearRgb),
                static_cast<int>(i % TileVariants) * TilePixels,
                static_cast<int>(i / TileVariants) * TilePixels);
  }
  writeBmp24(sheet, args.at(2));
}

void makeSprites(const Arguments& args) {
  const Palette palette = readPalette(args.at(0));
  const std::vector<Picture> sprites = readPictures(args.at(1), palette);
  for (size_t i = 3; i < args.size(); ++i) {
    const Picture& sprite = findPicture(sprites, args[i]);
    requireCellSize(sprite);
    writeBmp24(renderPicture(sprite, palette, SpriteMaskRgb), args[2] + "/" + args[i] + ".bmp");
  }
}

void makeFont(const Arguments& args) {
  writePcx8(renderFontSheet(readFontSource(args.at(0))), args.at(1));
}

void makeSounds(const Arguments& args) {
  const std::vector<SoundSource> sounds = readSoundSources(args.at(0));
  for (size_t i = 2; i < args.size(); ++i) {
    const SoundSource* wanted = nullptr;
    for (const SoundSource& sound : sounds) {
      wanted = sound.name == args[i] ? &sound : wanted;
    }
    if (wanted == nullptr) {
      throw std::runtime_error(args.at(0) + ": no sound named " + args[i]);
    }
    writeWav16(synthesise(*wanted), args[1] + "/" + args[i] + ".wav");
  }
}

void makePreview(const Arguments& args) {
  ArtSources art;
  art.palette = readPalette(args.at(0));
  art.tiles = readPictures(args.at(1), art.palette);
  art.sprites = readPictures(args.at(2), art.palette);
  art.font = readFontSource(args.at(3));
  writePpm(renderArtPreview(art), args.at(4));
}

// The desktop icon is a sprite on the black of the play field (a white helmet
// would vanish on a light desktop otherwise), enlarged without smoothing, so
// every size must be a whole multiple of the sprite's 16 pixels.
void makeIcons(const Arguments& args) {
  const Palette palette = readPalette(args.at(0));
  const std::vector<Picture> sprites = readPictures(args.at(1), palette);
  const Picture& sprite = findPicture(sprites, args.at(2));
  requireCellSize(sprite);
  const RgbImage cell = renderPicture(sprite, palette, TileClearRgb);
  for (size_t i = 4; i < args.size(); ++i) {
    const int sizePixels = std::stoi(args[i]);
    if (sizePixels <= 0 || sizePixels % TilePixels != 0) {
      throw std::runtime_error("icon size " + args[i] + " is not a multiple of " +
                               std::to_string(TilePixels));
    }
    RgbImage icon(sizePixels, sizePixels);
    icon.paste(cell, 0, 0, sizePixels / TilePixels);
    writePng(icon, SpriteMaskRgb, args[3] + "/" + args[i] + ".png");
  }
}

}  // namespace

int main(int argc, char** argv) {
  const Arguments args(argv + std::min(argc, 2), argv + argc);
  const std::string command = argc >= 2 ? argv[1] : "";
  try {
    if (command == "tiles" && args.size() == 3) {
      makeTileSheet(args);
    } else if (command == "sprites" && args.size() >= 4) {
      makeSprites(args);
    } else if (command == "font" && args.size() == 2) {
      makeFont(args);
    } else if (command == "sounds" && args.size() >= 3) {
      makeSounds(args);
    } else if (command == "preview" && args.size() == 5) {
      makePreview(args);
    } else if (command == "icons" && args.size() >= 5) {
      makeIcons(args);
    } else {
      std::cerr << "usage: assetkit tiles|sprites|font|sounds|preview|icons ... (see main.cpp)\n";
      return 2;
    }
  } catch (const std::exception& error) {
    std::cerr << "assetkit: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

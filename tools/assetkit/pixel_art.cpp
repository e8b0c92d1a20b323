#include "pixel_art.h"

#include "source_text.h"

#include <algorithm>

namespace {

Picture mirrored(const Picture& original, const std::string& name) {
  Picture flipped = original;
  flipped.name = name;
  for (int y = 0; y < flipped.height; ++y) {
    const auto rowStart = flipped.cells.begin() + y * flipped.width;
    std::reverse(rowStart, rowStart + flipped.width);
  }
  return flipped;
}

void checkCharacters(const SourceLine& line, const std::string& row, const Palette& palette) {
  for (const char c : row) {
    if (palette.colours.count(c) == 0 && c != palette.clearCharacter) {
      throw SourceError(line, std::string("character '") + c + "' is not in the palette");
    }
  }
}

// Reads the rows of one "picture" block, starting at lines[next].
size_t readBlock(const std::vector<SourceLine>& lines, size_t next, const Palette& palette,
                 std::vector<Picture>& block) {
  for (; next < lines.size() && !lines[next].words.empty(); ++next) {
    const SourceLine& line = lines[next];
    if (line.words.size() != block.size()) {
      throw SourceError(line,
                        "expected " + std::to_string(block.size()) + " drawings side by side");
    }
    for (size_t i = 0; i < block.size(); ++i) {
      const std::string& row = line.words[i];
      if (block[i].height > 0 && static_cast<int>(row.size()) != block[i].width) {
        throw SourceError(line, "row width differs from the first row of " + block[i].name);
      }
      checkCharacters(line, row, palette);
      block[i].width = static_cast<int>(row.size());
      block[i].cells += row;
      ++block[i].height;
    }
  }
  return next;
}

}  // namespace

Palette readPalette(const std::string& path) {
  Palette palette;
  for (const SourceLine& line : readSourceLines(path)) {
    if (line.words.empty()) {
      continue;
    }
    if (line.words.size() < 2 || line.words[0].size() != 1) {
      throw SourceError(line, "expected '<character> #rrggbb' or '<character> clear'");
    }
    const char c = line.words[0][0];
    if (line.words[1] == "clear") {
      palette.clearCharacter = c;
    } else {
      palette.colours[c] = parseColour(line, line.words[1]);
    }
  }
  return palette;
}

std::vector<Picture> readPictures(const std::string& path, const Palette& palette) {
  const std::vector<SourceLine> lines = readSourceLines(path);
  std::vector<Picture> pictures;
  size_t next = 0;
  while (next < lines.size()) {
    const SourceLine& line = lines[next++];
    if (line.words.empty()) {
      continue;
    }
    if (line.words[0] == "mirror" && line.words.size() == 3) {
      pictures.push_back(mirrored(findPicture(pictures, line.words[2]), line.words[1]));
    } else if (line.words[0] == "picture" && line.words.size() >= 2) {
      std::vector<Picture> block;
      for (size_t i = 1; i < line.words.size(); ++i) {
        block.push_back(Picture{line.words[i], 0, 0, ""});
      }
      next = readBlock(lines, next, palette, block);
      if (block[0].height == 0) {
        throw SourceError(line, "picture block without rows");
      }
      pictures.insert(pictures.end(), block.begin(), block.end());
    } else {
      throw SourceError(line, "expected 'picture NAME...' or 'mirror NEW OLD'");
    }
  }
  return pictures;
}

const Picture& findPicture(const std::vector<Picture>& pictures, const std::string& name) {
  for (const Picture& picture : pictures) {
    if (picture.name == name) {
      return picture;
    }
  }
  throw std::runtime_error("no picture named " + name);
}

RgbImage renderPicture(const Picture& picture, const Palette& palette, uint32_t clearRgb) {
  RgbImage image(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const char c = picture.at(x, y);
      image.set(x, y, c == palette.clearCharacter ? clearRgb : palette.colours.at(c));
    }
  }
  return image;
}

#include "base/datafile_objects.h"

#include <allegro.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr int MaxBitmapSide = 4096;
constexpr int MaxGlyphSide = 256;
constexpr int32_t MaxFontCharacter = 0xFFFF;
constexpr int FirstPrintable = 32;
constexpr int LastPrintable = 126;
constexpr int CursorBlock = 219;
constexpr std::size_t PaletteBytes = PAL_SIZE * 4;
constexpr int MaxPaletteValue = 63;
constexpr int FontFormatCurrent = 0;
constexpr int MonoDepth = 1;
constexpr int MonoDepthOld = 255;
constexpr int ColourDepthOld = 0;

// Reads an object's bytes as the loader does: big-endian numbers, and a
// count of bytes left so that no size is believed before it is checked.
class ByteReader {
public:
  explicit ByteReader(const ObjectBytes& data) : data_(data) {}

  bool has(uint64_t count) const { return count <= data_.size() - position_; }
  int byte() { return has(1) ? data_[position_++] : -1; }
  // 0 to 65535, as pack_mgetw gives it; -1 when the data has run out.
  int word() {
    if (!has(2)) {
      return -1;
    }
    const int value = (data_[position_] << 8) | data_[position_ + 1];
    position_ += 2;
    return value;
  }
  bool longWord(int32_t& value) {
    if (!has(4)) {
      return false;
    }
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
      bits = (bits << 8) | data_[position_++];
    }
    value = static_cast<int32_t>(bits);
    return true;
  }
  bool skip(uint64_t count) {
    if (!has(count)) {
      return false;
    }
    position_ += static_cast<std::size_t>(count);
    return true;
  }

private:
  const ObjectBytes& data_;
  std::size_t position_ = 0;
};

// Bytes per pixel in the file for each depth the loader can build and turn
// into the game's 32 bits; 0 for the others (any object the loader fails on
// makes it free the whole datafile twice). Alpha comes only with 32 bits.
int fileBytesPerPixel(int depth) {
  switch (depth) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24:
    case 32: return 3;
    case -32: return 4;
    default: return 0;
  }
}

// The sides and pixels of a picture, each row starting on a byte of its own;
// what follows is the next glyph of a font, or nothing the loader looks at.
std::string picturePixelsProblem(ByteReader& reader, int maxSide, int bitsPerPixel) {
  const int width = reader.word();
  const int height = reader.word();
  if (width < 1 || height < 1 || width > maxSide || height > maxSide) {
    return "of " + std::to_string(width) + " by " + std::to_string(height) + " pixels";
  }
  const uint64_t rowBytes = (uint64_t{static_cast<unsigned>(width)} * static_cast<unsigned>(bitsPerPixel) + 7) / 8;
  if (!reader.skip(rowBytes * static_cast<unsigned>(height))) {
    return "with fewer pixels than its size";
  }
  return {};
}

// A bitmap's body after its depth.
std::string bitmapBodyProblem(ByteReader& reader, int depth) {
  return picturePixelsProblem(reader, MaxBitmapSide, 8 * fileBytesPerPixel(depth));
}

std::string bitmapProblem(const ObjectBytes& data) {
  ByteReader reader(data);
  const int word = reader.word();
  const int depth = static_cast<int16_t>(word);
  if (word < 0 || fileBytesPerPixel(depth) == 0) {
    return "a bitmap of an unknown colour depth (" + std::to_string(depth) + ")";
  }
  const std::string problem = bitmapBodyProblem(reader, depth);
  return problem.empty() ? problem : "a bitmap " + problem;
}

std::string sampleProblem(const ObjectBytes& data) {
  ByteReader reader(data);
  const int word = reader.word();
  const int bits = std::abs(static_cast<int16_t>(word));
  const int channels = static_cast<int16_t>(word) < 0 ? 2 : 1;
  const int frequency = reader.word();
  int32_t length = 0;
  if (word < 0 || (bits != 8 && bits != 16)) {
    return "a sample of " + std::to_string(bits) + " bits";
  }
  if (frequency < 1 || !reader.longWord(length) || length == 0) {
    return "a sample without frequency or length";
  }
  // The mixer plays every sample the length claims, whatever its sign.
  if (!reader.has(uint64_t{static_cast<uint32_t>(length)} * static_cast<unsigned>(channels * (bits / 8)))) {
    return "a sample with fewer sounds than its length";
  }
  return {};
}

using CharacterRange = std::pair<int32_t, int32_t>;   // first and last

bool coversCharacter(const std::vector<CharacterRange>& ranges, int32_t character) {
  return std::any_of(ranges.begin(), ranges.end(), [character](const CharacterRange& range) {
    return range.first <= character && character <= range.second;
  });
}

bool coversWhatTheGameDraws(const std::vector<CharacterRange>& ranges) {
  for (int character = FirstPrintable; character <= LastPrintable; ++character) {
    if (!coversCharacter(ranges, character)) {
      return false;
    }
  }
  return coversCharacter(ranges, CursorBlock);
}

std::string glyphProblem(ByteReader& reader, bool mono, int depth) {
  if (!mono) {
    return bitmapBodyProblem(reader, depth);
  }
  return picturePixelsProblem(reader, MaxGlyphSide, 1);
}

// One range: its kind (mono or a colour depth), its characters and glyphs.
std::string fontRangeProblem(ByteReader& reader, bool& mono, std::vector<CharacterRange>& ranges) {
  const int kind = reader.byte();
  const bool rangeMono = kind == MonoDepth || kind == MonoDepthOld;
  const int depth = kind == ColourDepthOld ? 8 : kind;
  if (kind < 0 || (!rangeMono && fileBytesPerPixel(depth) == 0)) {
    return "a font range of an unknown colour depth (" + std::to_string(kind) + ")";
  }
  // The library draws every range of a font the way its last range asks.
  if (!ranges.empty() && rangeMono != mono) {
    return "a font that mixes mono and colour ranges";
  }
  mono = rangeMono;
  int32_t first = 0;
  int32_t last = 0;
  if (!reader.longWord(first) || !reader.longWord(last) || first < 0 || last < first ||
      last > MaxFontCharacter) {
    return "a font range from " + std::to_string(first) + " to " + std::to_string(last);
  }
  ranges.emplace_back(first, last);
  for (int32_t character = first; character <= last; ++character) {
    const std::string problem = glyphProblem(reader, mono, depth);
    if (!problem.empty()) {
      return "a font whose glyph " + std::to_string(character) + " is " + problem;
    }
  }
  return {};
}

std::string fontProblem(const ObjectBytes& data) {
  ByteReader reader(data);
  if (reader.word() != FontFormatCurrent) {
    return "a font of an old format";
  }
  const int rangeCount = reader.word();
  if (rangeCount < 1) {
    return "a font without characters";
  }
  bool mono = false;
  std::vector<CharacterRange> ranges;
  for (int range = 0; range < rangeCount; ++range) {
    const std::string problem = fontRangeProblem(reader, mono, ranges);
    if (!problem.empty()) {
      return problem;
    }
  }
  return coversWhatTheGameDraws(ranges) ? std::string() : "a font that lacks characters the game draws";
}

std::string paletteProblem(const ObjectBytes& data) {
  if (data.size() < PaletteBytes) {
    return "a palette of " + std::to_string(data.size()) + " bytes, not " + std::to_string(PaletteBytes);
  }
  for (std::size_t entry = 0; entry < PAL_SIZE; ++entry) {
    for (std::size_t colour = 0; colour < 3; ++colour) {
      if (data[4 * entry + colour] > MaxPaletteValue) {
        return "a palette with a colour value above " + std::to_string(MaxPaletteValue);
      }
    }
  }
  return {};
}

}  // namespace

std::string objectProblem(int32_t type, const ObjectBytes& data) {
  switch (type) {
    case DAT_BITMAP: return bitmapProblem(data);
    case DAT_SAMPLE: return sampleProblem(data);
    case DAT_FONT: return fontProblem(data);
    case DAT_PALETTE: return paletteProblem(data);
    case DAT_MIDI:
    case DAT_RLE_SPRITE:
    case DAT_C_SPRITE:
    case DAT_XC_SPRITE: return "an object of a kind the game does not use";
    default: return {};
  }
}

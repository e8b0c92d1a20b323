#include "png_file.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace {

using Bytes = std::string;

uint32_t crc32Of(const Bytes& bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> entries{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int bit = 0; bit < 8; ++bit) {
        c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      }
      entries[n] = c;
    }
    return entries;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (const char byte : bytes) {
    crc = table[(crc ^ static_cast<uint8_t>(byte)) & 0xFF] ^ (crc >> 8);
  }
  return crc ^ 0xFFFFFFFFu;
}

uint32_t adler32Of(const Bytes& bytes) {
  uint32_t low = 1;
  uint32_t high = 0;
  for (const char byte : bytes) {
    low = (low + static_cast<uint8_t>(byte)) % 65521;
    high = (high + low) % 65521;
  }
  return (high << 16) | low;
}

void appendBigEndian(Bytes& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out += static_cast<char>((value >> shift) & 0xFF);
  }
}

void appendChunk(Bytes& file, const char* type, const Bytes& data) {
  appendBigEndian(file, static_cast<uint32_t>(data.size()));
  const Bytes typed = type + data;
  file += typed;
  appendBigEndian(file, crc32Of(typed));
}

// A zlib stream of stored blocks, each at most 65535 bytes.
Bytes storedZlib(const Bytes& raw) {
  Bytes out("\x78\x01", 2);
  size_t offset = 0;
  do {
    const size_t length = std::min<size_t>(65535, raw.size() - offset);
    const bool last = offset + length == raw.size();
    out += static_cast<char>(last ? 1 : 0);
    out += static_cast<char>(length & 0xFF);
    out += static_cast<char>(length >> 8);
    out += static_cast<char>(~length & 0xFF);
    out += static_cast<char>((~length >> 8) & 0xFF);
    out += raw.substr(offset, length);
    offset += length;
  } while (offset < raw.size());
  appendBigEndian(out, adler32Of(raw));
  return out;
}

}  // namespace

void writePng(const RgbImage& image, uint32_t transparentRgb, const std::string& path) {
  // The transparent colour takes index 0, so tRNS needs one entry only.
  std::vector<uint32_t> palette{transparentRgb};
  Bytes rows;
  for (int y = 0; y < image.height; ++y) {
    rows += '\0';  // filter type None
    for (int x = 0; x < image.width; ++x) {
      const uint32_t rgb = image.at(x, y);
      auto found = std::find(palette.begin(), palette.end(), rgb);
      if (found == palette.end()) {
        if (palette.size() == 256) {
          throw std::runtime_error(path + ": more than 256 colours");
        }
        found = palette.insert(palette.end(), rgb);
      }
      rows += static_cast<char>(found - palette.begin());
    }
  }
  Bytes header;
  appendBigEndian(header, static_cast<uint32_t>(image.width));
  appendBigEndian(header, static_cast<uint32_t>(image.height));
  header += Bytes("\x08\x03\x00\x00\x00", 5);  // 8 bits, indexed, deflate, no interlace
  Bytes colours;
  for (const uint32_t rgb : palette) {
    colours += static_cast<char>(rgb >> 16);
    colours += static_cast<char>((rgb >> 8) & 0xFF);
    colours += static_cast<char>(rgb & 0xFF);
  }
  Bytes file("\x89PNG\r\n\x1a\n", 8);
  appendChunk(file, "IHDR", header);
  appendChunk(file, "PLTE", colours);
  appendChunk(file, "tRNS", Bytes(1, '\0'));
  appendChunk(file, "IDAT", storedZlib(rows));
  appendChunk(file, "IEND", Bytes());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(file.data(), static_cast<std::streamsize>(file.size()));
  if (!out) {
    throw std::runtime_error("cannot write " + path);
  }
}

#include "image_files.h"

#include <fstream>
#include <stdexcept>

namespace {

class ByteWriter {
public:
  void u8(uint32_t value) { bytes_.push_back(static_cast<char>(value & 0xFF)); }
  void u16(uint32_t value) {
    u8(value);
    u8(value >> 8);
  }
  void u32(uint32_t value) {
    u16(value);
    u16(value >> 16);
  }
  void text(const std::string& value) { bytes_ += value; }
  void zeros(size_t count) { bytes_.append(count, '\0'); }

  void saveTo(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
    if (!out) {
      throw std::runtime_error("cannot write " + path);
    }
  }

private:
  std::string bytes_;
};

// PCX run-length coding of one scan line: a byte of 0xC0 or above, or any
// repeated byte, goes out as a count byte (0xC0 | count) followed by the value.
void writePcxLine(ByteWriter& out, const uint8_t* line, int width) {
  int x = 0;
  while (x < width) {
    int run = 1;
    while (x + run < width && run < 63 && line[x + run] == line[x]) {
      ++run;
    }
    if (run > 1 || line[x] >= 0xC0) {
      out.u8(0xC0 | static_cast<uint32_t>(run));
    }
    out.u8(line[x]);
    x += run;
  }
  if (width % 2 != 0) {
    out.u8(0);  // scan lines hold an even number of bytes
  }
}

}  // namespace

RgbImage::RgbImage(int widthPixels, int heightPixels, uint32_t fill)
    : width(widthPixels), height(heightPixels),
      pixels(static_cast<size_t>(widthPixels * heightPixels), fill) {}

void RgbImage::set(int x, int y, uint32_t rgb) {
  if (x >= 0 && y >= 0 && x < width && y < height) {
    pixels[static_cast<size_t>(y * width + x)] = rgb;
  }
}

void RgbImage::fillRect(int left, int top, int widthPixels, int heightPixels, uint32_t rgb) {
  for (int y = top; y < top + heightPixels; ++y) {
    for (int x = left; x < left + widthPixels; ++x) {
      set(x, y, rgb);
    }
  }
}

void RgbImage::paste(const RgbImage& piece, int left, int top, int zoom) {
  for (int y = 0; y < piece.height; ++y) {
    for (int x = 0; x < piece.width; ++x) {
      fillRect(left + x * zoom, top + y * zoom, zoom, zoom, piece.at(x, y));
    }
  }
}

IndexedImage::IndexedImage(int widthPixels, int heightPixels, uint8_t fill)
    : width(widthPixels), height(heightPixels),
      pixels(static_cast<size_t>(widthPixels * heightPixels), fill) {}

void writeBmp24(const RgbImage& image, const std::string& path) {
  const uint32_t rowBytes = static_cast<uint32_t>((image.width * 3 + 3) / 4 * 4);
  const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(image.height);
  ByteWriter out;
  out.text("BM");
  out.u32(54 + dataBytes);
  out.u32(0);
  out.u32(54);
  out.u32(40);  // BITMAPINFOHEADER: the plain version-3 header
  out.u32(static_cast<uint32_t>(image.width));
  out.u32(static_cast<uint32_t>(image.height));
  out.u16(1);
  out.u16(24);
  out.u32(0);
  out.u32(dataBytes);
  out.u32(2835);
  out.u32(2835);
  out.u32(0);
  out.u32(0);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const uint32_t rgb = image.at(x, y);
      out.u8(rgb);
      out.u8(rgb >> 8);
      out.u8(rgb >> 16);
    }
    out.zeros(rowBytes - static_cast<uint32_t>(image.width * 3));
  }
  out.saveTo(path);
}

void writePpm(const RgbImage& image, const std::string& path) {
  ByteWriter out;
  out.text("P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n");
  for (const uint32_t rgb : image.pixels) {
    out.u8(rgb >> 16);
    out.u8(rgb >> 8);
    out.u8(rgb);
  }
  out.saveTo(path);
}

void writePcx8(const IndexedImage& image, const std::string& path) {
  const uint32_t lineBytes = static_cast<uint32_t>((image.width + 1) / 2 * 2);
  ByteWriter out;
  out.u8(10);  // manufacturer
  out.u8(5);   // version 3.0 and later, with a 256-colour palette at the end
  out.u8(1);   // run-length coded
  out.u8(8);   // bits per pixel per plane
  out.u16(0);
  out.u16(0);
  out.u16(static_cast<uint32_t>(image.width - 1));
  out.u16(static_cast<uint32_t>(image.height - 1));
  out.u16(72);
  out.u16(72);
  out.zeros(48);  // 16-colour palette, unused
  out.u8(0);
  out.u8(1);  // one plane
  out.u16(lineBytes);
  out.u16(1);
  out.zeros(58);
  for (int y = 0; y < image.height; ++y) {
    writePcxLine(out, &image.pixels[static_cast<size_t>(y * image.width)], image.width);
  }
  out.u8(0x0C);
  for (const uint32_t rgb : image.palette) {
    out.u8(rgb >> 16);
    out.u8(rgb >> 8);
    out.u8(rgb);
  }
  out.saveTo(path);
}

// Plain in-memory images and the few file formats the asset build needs:
// 24-bit BMP3 (the only BMP flavour the dat tool reads), 8-bit PCX with its
// palette (for the colour font), and binary PPM (for the art preview, which
// ImageMagick turns into PNG). Written by hand so the output is byte-for-byte
// reproducible and needs no graphics library at build time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// 0xRRGGBB per pixel, row by row from the top.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  RgbImage() = default;
  RgbImage(int widthPixels, int heightPixels, uint32_t fill = 0);
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
  void set(int x, int y, uint32_t rgb);  // ignores pixels outside the image
  void fillRect(int left, int top, int widthPixels, int heightPixels, uint32_t rgb);
  void paste(const RgbImage& piece, int left, int top, int zoom = 1);
};

// One palette index per pixel, with 256 colours of 0xRRGGBB (8 bits each).
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
  std::vector<uint32_t> palette = std::vector<uint32_t>(256, 0);

  IndexedImage(int widthPixels, int heightPixels, uint8_t fill = 0);
  void set(int x, int y, uint8_t index) { pixels[static_cast<size_t>(y * width + x)] = index; }
};

// Each throws std::runtime_error when the file cannot be written.
void writeBmp24(const RgbImage& image, const std::string& path);
void writePpm(const RgbImage& image, const std::string& path);
void writePcx8(const IndexedImage& image, const std::string& path);

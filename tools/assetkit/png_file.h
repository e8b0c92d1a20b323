// PNG output for the desktop icons: an 8-bit indexed image, optionally with
// one transparent colour. The pixel data goes out in stored (uncompressed)
// deflate blocks, which keeps the writer small and needs no compression
// library; an icon of a few colours stays well under 100 KB at 256 pixels.
#pragma once

#include "image_files.h"

#include <cstdint>
#include <string>

// Every pixel of transparentRgb becomes fully transparent. Throws
// std::runtime_error when the image holds more than 256 colours or the file
// cannot be written.
void writePng(const RgbImage& image, uint32_t transparentRgb, const std::string& path);

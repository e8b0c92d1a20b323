// What the library's loader and the game need of each kind of datafile
// object, held against the object's unpacked bytes before the loader sees
// them. The loader reads these sizes and depths without a second look, so
// each rule below stands for a crash, a hang or a read past the end:
//   bitmap   a colour depth the loader knows (8, 15, 16, 24, 32, or 32 with
//            alpha), sides of 1 to 4096 pixels, every pixel present;
//   sample   8 or 16 bits, mono or stereo, a frequency, at least one sample
//            and every one of them present (the mixer reads them all);
//   font     the current format, one or more ranges, each first <= last, all
//            mono or all colour, every glyph present, and together they cover
//            the printable characters and the name entry's cursor block;
//   palette  256 entries of four bytes with colour values up to 63 (the
//            library scales them through a table of 64).
// Kinds the game never uses but the loader would build (MIDI, RLE and
// compiled sprites) are refused; any other kind is kept as raw bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using ObjectBytes = std::vector<unsigned char>;

// Empty when an object of this type with these bytes is fit to load and use,
// else what is wrong with it, as in "a bitmap of an unknown colour depth (7)".
std::string objectProblem(int32_t type, const ObjectBytes& data);

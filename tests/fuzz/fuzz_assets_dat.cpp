// The check that stands between assets.dat and the library's loader, on any
// datafile body, with the loader behind it as the oracle: every file the
// check passes is loaded by the library and used the way the game uses it,
// and every byte the game's drawing and mixing will read is read here, in
// code the sanitizers see. The input is what the check reads after the
// library has decrypted and unpacked the file, so the target writes it as a
// packfile with the game's password first (unpacked, which is quicker).
#include "base/datafile_check.h"
#include "fuzz_check.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr const char* FileName = "fuzzed.dat";
constexpr int LastAsciiCharacter = 255;
constexpr int MaxPaletteValue = 63;
constexpr int TextColour = 0xFF5500;

BITMAP* target = nullptr;
volatile unsigned checksum = 0;

std::string& workFolder() {
  static std::string folder = "/tmp/mq-fuzz-assets-XXXXXX";
  return folder;
}

void removeWorkFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(workFolder(), ignored);
}

void readBytes(const void* data, std::size_t count) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  unsigned sum = 0;
  for (std::size_t i = 0; i < count; ++i) {
    sum += bytes[i];
  }
  checksum = checksum + sum;
}

void readPixels(const BITMAP* bitmap) {
  FUZZ_REQUIRE(bitmap->w > 0 && bitmap->h > 0);
  const auto rowBytes = static_cast<std::size_t>(bitmap->w) * static_cast<std::size_t>((bitmap_color_depth(
                            const_cast<BITMAP*>(bitmap)) + 7) / 8);
  for (int y = 0; y < bitmap->h; ++y) {
    readBytes(bitmap->line[y], rowBytes);
  }
}

// As the tile sheet and the sprites are used: blitted and drawn masked.
void useBitmap(BITMAP* bitmap) {
  readPixels(bitmap);
  blit(bitmap, target, 0, 0, 0, 0, bitmap->w, bitmap->h);
  draw_sprite(target, bitmap, 3, 5);
}

void useSample(const SAMPLE* sample) {
  FUZZ_REQUIRE(sample->bits == 8 || sample->bits == 16);
  FUZZ_REQUIRE(sample->len > 0 && sample->freq > 0);
  const std::size_t channels = sample->stereo ? 2 : 1;
  readBytes(sample->data, sample->len * channels * static_cast<std::size_t>(sample->bits / 8));
}

template <typename RangeData>
void readGlyphs(const FONT* font, void (*readGlyph)(const RangeData*, int)) {
  for (auto* range = static_cast<const RangeData*>(font->data); range != nullptr; range = range->next) {
    FUZZ_REQUIRE(range->begin < range->end);
    for (int character = range->begin; character < range->end; ++character) {
      readGlyph(range, character - range->begin);
    }
  }
}

void readMonoGlyph(const FONT_MONO_DATA* range, int index) {
  const FONT_GLYPH* glyph = range->glyphs[index];
  readBytes(glyph->dat, static_cast<std::size_t>((glyph->w + 7) / 8) * static_cast<std::size_t>(glyph->h));
}

void readColourGlyph(const FONT_COLOR_DATA* range, int index) { readPixels(range->bitmaps[index]); }

// Every character a text of the game can hold, in the font's own colours
// and in a colour of the game's.
void useFont(FONT* font) {
  if (font->vtable == font_vtable_mono) {
    readGlyphs<FONT_MONO_DATA>(font, readMonoGlyph);
  } else {
    FUZZ_REQUIRE(font->vtable == font_vtable_color);
    readGlyphs<FONT_COLOR_DATA>(font, readColourGlyph);
  }
  char text[2] = {0, 0};
  for (int character = 1; character <= LastAsciiCharacter; ++character) {
    text[0] = static_cast<char>(character);
    textout_ex(target, font, text, 10, 10, -1, -1);
    textout_ex(target, font, text, 10, 10, TextColour, -1);
  }
}

void usePalette(const DATAFILE& object) {
  FUZZ_REQUIRE(object.size >= static_cast<long>(sizeof(PALETTE)));
  PALETTE palette;
  std::memcpy(palette, object.dat, sizeof(PALETTE));
  for (const RGB& entry : palette) {
    FUZZ_REQUIRE(entry.r <= MaxPaletteValue && entry.g <= MaxPaletteValue && entry.b <= MaxPaletteValue);
  }
  set_palette(palette);
}

void useObjects(DATAFILE* objects) {
  for (DATAFILE* object = objects; object->type != DAT_END; ++object) {
    FUZZ_REQUIRE(object->dat != nullptr);
    switch (object->type) {
      case DAT_FILE: useObjects(static_cast<DATAFILE*>(object->dat)); break;
      case DAT_BITMAP: useBitmap(static_cast<BITMAP*>(object->dat)); break;
      case DAT_SAMPLE: useSample(static_cast<SAMPLE*>(object->dat)); break;
      case DAT_FONT: useFont(static_cast<FONT*>(object->dat)); break;
      case DAT_PALETTE: usePalette(*object); break;
      default: readBytes(object->dat, static_cast<std::size_t>(object->size)); break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  install_allegro(SYSTEM_NONE, &errno, atexit);
  set_uformat(U_ASCII);
  set_color_depth(32);
  target = create_bitmap(64, 64);
  if (target == nullptr || mkdtemp(workFolder().data()) == nullptr || chdir(workFolder().c_str()) != 0) {
    std::abort();
  }
  std::atexit(removeWorkFolder);
  packfile_password("zoph");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PACKFILE* file = pack_fopen(FileName, F_WRITE_NOPACK);
  if (file == nullptr) {
    std::abort();
  }
  pack_fwrite(data, static_cast<long>(size), file);
  pack_fclose(file);
  if (!checkDatafile(FileName).usable()) {
    return 0;
  }
  DATAFILE* objects = load_datafile(FileName);
  FUZZ_REQUIRE(objects != nullptr);
  useObjects(objects);
  unload_datafile(objects);
  return 0;
}

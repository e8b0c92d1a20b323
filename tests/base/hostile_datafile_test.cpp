// Datafiles made to crash the library's loader rather than cut by accident:
// whole to their last byte, but with an object whose type is DAT_END, which
// the loader would look up in the free slots of its type table.
#include "base/datafile_check.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <allegro.h>

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

// A one-object datafile, packed and protected like assets.dat, whose object
// has the given type and four bytes of data; Nested puts that object
// one level down, inside an object of type DAT_FILE.
enum Placement { AtTop, Nested };
void writeOneObject(const char* path, int32_t type, Placement placement = AtTop) {
  PACKFILE* file = pack_fopen(path, F_WRITE_PACKED);
  ASSERT_NE(file, nullptr);
  pack_mputl(DAT_MAGIC, file);
  pack_mputl(1, file);
  if (placement == Nested) {
    pack_mputl(DAT_FILE, file);
    pack_mputl(20, file);   // the nested count, type, two sizes and data
    pack_mputl(20, file);
    pack_mputl(1, file);
  }
  pack_mputl(type, file);
  pack_mputl(4, file);
  pack_mputl(4, file);
  pack_mputl(0, file);
  pack_fclose(file);
}

TEST(HostileDatafileTest, AnObjectOfTypeDatEndIsRefusedAtAnyDepth) {
  startHeadlessAllegro();
  ScopedWorkDir dir;
  writeOneObject("plain.dat", DAT_DATA);
  EXPECT_TRUE(checkDatafile("plain.dat").usable());
  writeOneObject("end.dat", DAT_END);
  EXPECT_FALSE(checkDatafile("end.dat").readable);

  writeOneObject("nested_plain.dat", DAT_DATA, Nested);
  EXPECT_TRUE(checkDatafile("nested_plain.dat").usable());
  writeOneObject("nested_end.dat", DAT_END, Nested);
  EXPECT_FALSE(checkDatafile("nested_end.dat").readable);
}

// A seed of the fuzz corpus (a datafile body) written as a protected file.
DatafileVerdict verdictOnSeed(const std::string& seed) {
  std::ifstream in(std::string(MQ_ASSET_SEEDS) + "/" + seed, std::ios::binary);
  const std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_FALSE(body.empty()) << seed;
  PACKFILE* file = pack_fopen("seed.dat", F_WRITE_NOPACK);
  pack_fwrite(body.data(), static_cast<long>(body.size()), file);
  pack_fclose(file);
  return checkDatafile("seed.dat");
}

TEST(HostileDatafileTest, ObjectsMadeToHarmTheLoaderOrTheGameAreRefused) {
  startHeadlessAllegro();
  ScopedWorkDir dir;
  for (const char* seed :
       {"bitmap_depth_7", "bitmap_depth_12", "bitmap_depth_4", "bitmap_depth_minus_16", "bitmap_65535_square",
        "bitmap_32768_square", "font_empty_range", "font_inverted_range", "font_absurd_range", "font_mixed_kinds",
        "sample_8bit_2_31", "sample_8bit_2_32_minus_1", "palette_0", "palette_4", "palette_768", "palette_bright",
        "end_inside_data", "end_in_compressed_nested"}) {
    EXPECT_FALSE(verdictOnSeed(seed).usable()) << seed;
  }
  EXPECT_EQ(verdictOnSeed("bitmap_depth_7").damage, "object 0 is a bitmap of an unknown colour depth (7).");
  for (const char* seed : {"font_mono", "font_colour", "bitmap_alpha", "sample_16bit_stereo",
                           "compressed_nested_bitmap", "sizes_disagree"}) {
    EXPECT_TRUE(verdictOnSeed(seed).usable()) << seed << ": " << verdictOnSeed(seed).damage;
  }
  ASSERT_EQ(mkfifo("fifo.dat", 0644), 0);
  EXPECT_FALSE(checkDatafile("fifo.dat").readable);
}

}  // namespace

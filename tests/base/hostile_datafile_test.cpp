// Datafiles made to crash the library's loader rather than cut by accident:
// whole to their last byte, but with an object whose type is DAT_END, which
// the loader would look up in the free slots of its type table.
#include "base/datafile_check.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <allegro.h>

namespace {

// A one-object datafile, packed and protected like assets.dat, whose object
// has the given type and four bytes of data.
void writeOneObject(const char* path, int32_t type) {
  PACKFILE* file = pack_fopen(path, F_WRITE_PACKED);
  ASSERT_NE(file, nullptr);
  pack_mputl(DAT_MAGIC, file);
  pack_mputl(1, file);
  pack_mputl(type, file);
  pack_mputl(4, file);
  pack_mputl(4, file);
  pack_mputl(0, file);
  pack_fclose(file);
}

// The same object one level down, inside an object of type DAT_FILE.
void writeNested(const char* path, int32_t innerType) {
  PACKFILE* file = pack_fopen(path, F_WRITE_PACKED);
  ASSERT_NE(file, nullptr);
  pack_mputl(DAT_MAGIC, file);
  pack_mputl(1, file);
  pack_mputl(DAT_FILE, file);
  pack_mputl(20, file);   // the nested count, type, two sizes and data
  pack_mputl(20, file);
  pack_mputl(1, file);
  pack_mputl(innerType, file);
  pack_mputl(4, file);
  pack_mputl(4, file);
  pack_mputl(0, file);
  pack_fclose(file);
}

TEST(HostileDatafileTest, AnObjectOfTypeDatEndIsRefusedAtAnyDepth) {
  startHeadlessAllegro();
  ScopedWorkDir dir;
  writeOneObject("plain.dat", DAT_DATA);
  EXPECT_TRUE(datafileIsWhole("plain.dat"));
  writeOneObject("end.dat", DAT_END);
  EXPECT_FALSE(datafileIsWhole("end.dat"));

  writeNested("nested_plain.dat", DAT_DATA);
  EXPECT_TRUE(datafileIsWhole("nested_plain.dat"));
  writeNested("nested_end.dat", DAT_END);
  EXPECT_FALSE(datafileIsWhole("nested_end.dat"));
}

}  // namespace

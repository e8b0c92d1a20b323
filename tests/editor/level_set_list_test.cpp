// A level list as the set view changes it: reordered, added to, taken from,
// saved elsewhere, and written back in the format the launcher compiles.
#include "editor/level_set_list.h"

#include "leveltext/level_set.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(LevelSetListTest, KeepsTheHeadCommentsAndTheOrderAsChanged) {
  ScopedWorkDir dir;
  dir.writeFile("levels.txt", "# My set\n\na.txt\n# dropped\nb.txt\r\n\nc.txt\n");
  LevelSetList set;
  ASSERT_EQ(LevelSetList::open(dir.path() + "/levels.txt", set), "");
  ASSERT_EQ(set.entries().size(), 3u);
  EXPECT_EQ(set.entries()[1].path, dir.path() + "/b.txt");
  EXPECT_FALSE(set.modified());

  EXPECT_EQ(set.move(0, 1), 1);
  EXPECT_EQ(set.move(2, 1), 2) << "the last stays last";
  set.insert(3, dir.path() + "/sub/../d.txt");
  set.insert(0, "/elsewhere/e.txt");
  set.remove(2);
  EXPECT_TRUE(set.modified());
  EXPECT_EQ(set.text(), "# My set\n\n/elsewhere/e.txt\nb.txt\nc.txt\nd.txt\n");

  // The launcher's compiler reads the list the same way.
  dir.writeFile("levels.txt", set.text());
  std::vector<std::string> names;
  ASSERT_TRUE(readLevelListNames(dir.path() + "/levels.txt", names));
  EXPECT_EQ(names, (std::vector<std::string>{"/elsewhere/e.txt", "b.txt", "c.txt", "d.txt"}));
}

TEST(LevelSetListTest, SavedElsewhereItStillNamesTheSameFiles) {
  ScopedWorkDir dir;
  dir.writeFile("levels.txt", "a.txt\nmore/b.txt\n");
  LevelSetList set;
  ASSERT_EQ(LevelSetList::open(dir.path() + "/levels.txt", set), "");
  set.setPath(dir.path() + "/more/mine.txt");
  EXPECT_EQ(set.text(), dir.path() + "/a.txt\nb.txt\n");
  EXPECT_NE(LevelSetList::open(dir.path() + "/none.txt", set), "");
}

TEST(LevelSetListTest, TellsLevelFilesFromLists) {
  ScopedWorkDir dir;
  dir.writeFile("level.txt", "\ntitle: A\n");
  dir.writeFile("list.txt", "# title: not a level\na.txt\n");
  EXPECT_TRUE(looksLikeLevelFile(dir.path() + "/level.txt"));
  EXPECT_FALSE(looksLikeLevelFile(dir.path() + "/list.txt"));

  // A huge file without a newline is neither read whole nor taken for a set.
  dir.writeFile("huge", "");
  ASSERT_EQ(0, truncate((dir.path() + "/huge").c_str(), off_t{100} << 20));
  LevelSetList set;
  EXPECT_EQ(LevelSetList::open(dir.path() + "/huge", set),
            dir.path() + "/huge: larger than 1024 KiB, too large for a level list");
}

}  // namespace

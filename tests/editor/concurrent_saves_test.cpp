// Saves of a file that changed behind the editor: another editor's save,
// another program's rewrite, a shared file reached through a symbolic link,
// and the leftovers of a save that was killed.
#include "editor/level_files.h"
#include "editor/level_set_list.h"

#include "leveltext/level_set.h"

#include "support/headless.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace {

std::string levelText(const std::string& title) {
  std::string text = "title: " + title + "\n";
  for (int row = 0; row < 32; ++row) {
    text += row == 31 ? "P" + std::string(31, '#') + "\n" : std::string(32, '.') + "\n";
  }
  return text;
}

TEST(ConcurrentSaves, TheLaterSaveFindsTheChangeAndWritesNothingUntilToldTo) {
  const ScopedWorkDir dir;
  const std::string path = dir.path() + "/level.txt";
  dir.writeFile("level.txt", levelText("Old"));
  const OpenedLevel first = openLevelFile(path, "level.txt");
  const OpenedLevel second = openLevelFile(path, "level.txt");

  EXPECT_EQ(GuardedSave::Saved, saveFile(path, levelText("First"), &first.stamp).result);
  EXPECT_EQ(GuardedSave::Changed, saveFile(path, levelText("Second"), &second.stamp).result);
  EXPECT_EQ(levelText("First"), dir.readFile("level.txt"));
  EXPECT_EQ(GuardedSave::Saved, saveFile(path, levelText("Second"), nullptr).result) << "overwrite, as asked";
  EXPECT_EQ(levelText("Second"), dir.readFile("level.txt"));

  // Touched or written back as it was: no change to lose.
  const OpenedLevel third = openLevelFile(path, "level.txt");
  dir.writeFile("level.txt", levelText("Second"));
  const GuardedSave saved = saveFile(path, levelText("Third"), &third.stamp);
  EXPECT_EQ(GuardedSave::Saved, saved.result);
  dir.writeFile("level.txt", levelText("Other program"));
  EXPECT_EQ(GuardedSave::Changed, saveFile(path, levelText("Fourth"), &saved.stamp).result);

  // A level that did not exist yet, made meanwhile by someone else.
  const OpenedLevel fresh = openLevelFile(dir.path() + "/new.txt", "new.txt");
  dir.writeFile("new.txt", levelText("Theirs"));
  EXPECT_EQ(GuardedSave::Changed, saveFile(dir.path() + "/new.txt", levelText("Mine"), &fresh.stamp).result);
}

TEST(ConcurrentSaves, ListsTooAndSavesGoThroughLinksAndClearKilledSaves) {
  const ScopedWorkDir dir;
  dir.writeFile("levels.txt", "a.txt\n");
  LevelSetList mine;
  LevelSetList theirs;
  ASSERT_EQ("", LevelSetList::open(dir.path() + "/levels.txt", mine));
  ASSERT_EQ("", LevelSetList::open(dir.path() + "/levels.txt", theirs));
  EXPECT_EQ(GuardedSave::Saved, saveFile(mine.path(), "b.txt\n", &mine.stamp()).result);
  EXPECT_EQ(GuardedSave::Changed, saveFile(theirs.path(), "c.txt\n", &theirs.stamp()).result);
  EXPECT_EQ("b.txt\n", dir.readFile("levels.txt"));

  std::filesystem::create_directory(dir.path() + "/shared");
  dir.writeFile("shared/level.txt", levelText("Shared"));
  ASSERT_EQ(0, symlink("shared/level.txt", (dir.path() + "/link.txt").c_str()));
  const OpenedLevel linked = openLevelFile(dir.path() + "/link.txt", "link.txt");
  EXPECT_EQ(GuardedSave::Saved, saveFile(dir.path() + "/link.txt", levelText("Through"), &linked.stamp).result);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() + "/link.txt"));
  EXPECT_EQ(levelText("Through"), dir.readFile("shared/level.txt"));

  dir.writeFile(std::string("levels.txt") + ".saving-AbC123", "half a list");
  EXPECT_EQ("", writeFileAtomically(dir.path() + "/levels.txt", "d.txt\n"));
  EXPECT_FALSE(dir.exists("levels.txt.saving-AbC123"));
}

}  // namespace

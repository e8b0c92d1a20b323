// The editor started with no level file, as the desktop menu starts it: the
// new level's first save offers the player's folder.
#include "editor/editor_files.h"
#include "editor/level_files.h"

#include "support/headless.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets an environment variable (or unsets it, for nullptr) for one test.
class ScopedEnv {
public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(EditorFilesTest, WithoutAFileANewLevelIsSavedInThePlayersFolder) {
  const ScopedWorkDir dir;
  const ScopedEnv home("HOME", dir.path().c_str());
  const ScopedEnv relative("XDG_DATA_HOME", "relative/ignored");
  std::string folder;
  ASSERT_EQ(playersLevelFolder(folder), "");
  EXPECT_EQ(folder, dir.path() + "/.local/share/mellow-quarrier/levels");
  EXPECT_TRUE(dir.exists(".local/share/mellow-quarrier/levels")) << "made, so that the first save can go there";

  const ScopedEnv data("XDG_DATA_HOME", (dir.path() + "/data").c_str());
  ASSERT_EQ(playersLevelFolder(folder), "");
  EXPECT_EQ(folder, dir.path() + "/data/mellow-quarrier/levels");

  dir.writeFile("file", "");
  const ScopedEnv blocked("XDG_DATA_HOME", (dir.path() + "/file").c_str());
  EXPECT_NE(playersLevelFolder(folder).find("cannot make the folder"), std::string::npos);
  const ScopedEnv noData("XDG_DATA_HOME", nullptr);
  const ScopedEnv noHome("HOME", nullptr);
  EXPECT_EQ(playersLevelFolder(folder), "no level file given, and no HOME to keep a new one in");
}

// Messages name whole paths, the home folder as "~/"; a first save is
// offered a file name made of the level's title.
TEST(EditorFilesTest, PathsAndNamesAsThePersonReadsThem) {
  const ScopedEnv home("HOME", "/home/maker");
  EXPECT_EQ(shownPath("/home/maker/sets/mine.txt"), "~/sets/mine.txt");
  EXPECT_EQ(shownPath("/home/makers/mine.txt"), "/home/makers/mine.txt") << "a folder beside home is not in it";
  EXPECT_EQ(fileNameFromTitle("Hand over hand!"), "hand-over-hand.txt");
  EXPECT_EQ(fileNameFromTitle("  --The 3rd  Floor-- "), "the-3rd-floor.txt");
  EXPECT_EQ(fileNameFromTitle("?!"), "untitled.txt");
  EXPECT_EQ(fileNameFromTitle(std::string(60, 'a')).size(), 40u + 4u) << "a long title is cut";
}

}  // namespace

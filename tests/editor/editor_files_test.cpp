// The editor started with no level file, as the desktop menu starts it: a
// new level in the player's folder, never one that is already there.
#include "editor/editor_files.h"

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

TEST(EditorFilesTest, WithoutAFileANewLevelGoesToThePlayersFolder) {
  const ScopedWorkDir dir;
  const ScopedEnv home("HOME", dir.path().c_str());
  const ScopedEnv relative("XDG_DATA_HOME", "relative/ignored");
  const std::string folder = dir.path() + "/.local/share/mellow-quarrier/levels/";
  std::string path;
  ASSERT_EQ(newLevelInPlayersFolder(path), "");
  EXPECT_EQ(path, folder + "new-level.txt");
  dir.writeFile(".local/share/mellow-quarrier/levels/new-level.txt", "a level of the player's\n");
  ASSERT_EQ(newLevelInPlayersFolder(path), "");
  EXPECT_EQ(path, folder + "new-level-2.txt") << "an existing level is never opened as new";

  const ScopedEnv data("XDG_DATA_HOME", (dir.path() + "/data").c_str());
  ASSERT_EQ(newLevelInPlayersFolder(path), "");
  EXPECT_EQ(path, dir.path() + "/data/mellow-quarrier/levels/new-level.txt");

  dir.writeFile("file", "");
  const ScopedEnv blocked("XDG_DATA_HOME", (dir.path() + "/file").c_str());
  EXPECT_NE(newLevelInPlayersFolder(path).find("cannot make the folder"), std::string::npos);
  const ScopedEnv noData("XDG_DATA_HOME", nullptr);
  const ScopedEnv noHome("HOME", nullptr);
  EXPECT_EQ(newLevelInPlayersFolder(path), "no level file given, and no HOME to put a new one in");
}

}  // namespace

// The editor started with no level file, as the desktop menu starts it: the
// new level's first save offers the player's folder.
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

}  // namespace

// user.bin as players really set it up: shared through a link, written by
// two copies of the game at once, with whatever an earlier save left beside
// it.
#include "scores/high_score_table.h"

#include "support/headless.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

// Names in the tests are unique, so a name and its zero byte mark its row.
bool holdsRow(const std::string& file, const std::string& name) {
  return file.size() == HighScoreFileBytes && file.find(name + '\0') != std::string::npos;
}

class SharedScoreFileTest : public testing::Test {
protected:
  void SetUp() override { startHeadlessAllegro(); }
  std::string at(const std::string& name) const { return dir.path() + "/" + name; }
  ScopedWorkDir dir;
};

TEST_F(SharedScoreFileTest, LeftoversBesideTheFileAreNeverOpened) {
  dir.writeFile("elsewhere", "not a table");
  fs::create_symlink(at("elsewhere"), at("user.bin.tmp"));
  ASSERT_EQ(mkfifo(at("user.bin.tmp2").c_str(), 0644), 0);
  fs::create_directory(at("user.bin.XXXXXX"));
  {
    HighScoreTable table;
    table.insertEntry({3000, "Zed"});
  }
  EXPECT_TRUE(holdsRow(dir.readFile("user.bin"), "Zed"));
  EXPECT_FALSE(fs::is_symlink(at("user.bin")));
  EXPECT_EQ(dir.readFile("elsewhere"), "not a table");
  EXPECT_TRUE(fs::is_fifo(at("user.bin.tmp2")));
}

TEST_F(SharedScoreFileTest, ALinkedFileIsSavedThroughTheLinkWithItsMode) {
  fs::create_directory(at("shared"));
  dir.writeFile("shared/scores", "");
  const fs::perms sharedMode =
      fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_write | fs::perms::group_read;
  fs::permissions(at("shared/scores"), sharedMode);
  fs::create_symlink(at("shared/scores"), at("user.bin"));
  {
    HighScoreTable table;
    table.insertEntry({3000, "Zed"});
  }
  EXPECT_TRUE(fs::is_symlink(at("user.bin")));
  EXPECT_TRUE(holdsRow(dir.readFile("shared/scores"), "Zed"));
  EXPECT_EQ(fs::status(at("shared/scores")).permissions(), sharedMode);
}

TEST_F(SharedScoreFileTest, TwoCopiesKeepEachOthersRowsInEitherOrder) {
  for (bool firstSavesFirst : {true, false}) {
    fs::remove(at("user.bin"));
    auto first = std::make_unique<HighScoreTable>();
    auto second = std::make_unique<HighScoreTable>();
    first->insertEntry({3000, "First"});
    second->insertEntry({2600, "Second"});
    second->saveTable();   // right after its name entry
    if (firstSavesFirst) {
      first.reset();
      second.reset();
    } else {
      second.reset();
      first.reset();
    }
    const std::string file = dir.readFile("user.bin");
    EXPECT_TRUE(holdsRow(file, "First") && holdsRow(file, "Second")) << firstSavesFirst;
  }
}

}  // namespace

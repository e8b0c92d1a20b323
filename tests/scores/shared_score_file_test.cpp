// user.bin as players really set it up: shared through a link, a hard link
// or a group, written by two copies of the game at once (one of them paused
// in the middle of its save), with whatever an earlier save left beside it.
#include "scores/high_score_table.h"

#include "base/os_files.h"

#include "support/headless.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

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

TEST_F(SharedScoreFileTest, AHardLinkedTableStaysOneFileWithItsGroup) {
  fs::create_directory(at("other"));
  dir.writeFile("user.bin", "");
  fs::create_hard_link(at("user.bin"), at("other/user.bin"));
  {
    HighScoreTable table;
    table.insertEntry({3000, "Zed"});
  }
  EXPECT_TRUE(holdsRow(dir.readFile("other/user.bin"), "Zed"));
  EXPECT_TRUE(fs::equivalent(at("user.bin"), at("other/user.bin")));

  // A table shared by a group keeps that group when a new file replaces it.
  fs::remove(at("other/user.bin"));
  constexpr gid_t SharingGroup = 4321;
  if (chown(at("user.bin").c_str(), static_cast<uid_t>(-1), SharingGroup) != 0) {
    GTEST_SKIP() << "only root can give the file a group of its choice";
  }
  {
    HighScoreTable table;
    table.insertEntry({3100, "Grp"});
  }
  struct stat status {};
  ASSERT_EQ(stat(at("user.bin").c_str(), &status), 0);
  EXPECT_TRUE(holdsRow(dir.readFile("user.bin"), "Grp"));
  EXPECT_EQ(status.st_gid, SharingGroup);
}

TEST_F(SharedScoreFileTest, LeftoversOfKilledSavesGoButNotASaveUnderWay) {
  // Written as a killed save leaves them, and as one still writing holds it.
  const std::string prefix = "user.bin" + std::string(TemporarySuffix);
  dir.writeFile(prefix + "Abc123", "half a tab");
  dir.writeFile(prefix + "Def456", "half a tab");
  dir.writeFile("user.bin.backup", "the player's own");
  const int underWay = open(at(prefix + "Def456").c_str(), O_RDONLY);
  ASSERT_EQ(flock(underWay, LOCK_EX), 0);
  {
    HighScoreTable table;
    table.insertEntry({3000, "Zed"});
  }
  close(underWay);
  EXPECT_TRUE(holdsRow(dir.readFile("user.bin"), "Zed"));
  EXPECT_FALSE(dir.exists(prefix + "Abc123"));
  EXPECT_TRUE(dir.exists(prefix + "Def456"));
  EXPECT_EQ(dir.readFile("user.bin.backup"), "the player's own");
}

// A copy stopped in the middle of its saves holds the folder's lock; the
// other copy saves without it after waiting, and the stopped one, once it
// goes on, must not put back the table it read before.
TEST_F(SharedScoreFileTest, ACopyStoppedInItsSaveKeepsTheOthersRows) {
  const pid_t saver = fork();
  ASSERT_GE(saver, 0);
  if (saver == 0) {
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {   // the headless message box
      _exit(2);
    }
    HighScoreTable table;
    for (uint64_t score = 1;; ++score) {
      table.insertEntry({score, "low " + std::to_string(score)});
      table.saveTable();
    }
  }
  constexpr int Pauses = 3;
  HighScoreTable table;
  for (int pause = 0; pause < Pauses; ++pause) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + 7 * pause));
    kill(saver, SIGSTOP);
    table.insertEntry({1000000 + static_cast<uint64_t>(pause), "high " + std::to_string(pause)});
    table.saveTable();
    kill(saver, SIGCONT);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  kill(saver, SIGKILL);
  waitpid(saver, nullptr, 0);
  const std::string file = dir.readFile("user.bin");
  for (int pause = 0; pause < Pauses; ++pause) {
    EXPECT_TRUE(holdsRow(file, "high " + std::to_string(pause))) << pause;
  }
}

}  // namespace

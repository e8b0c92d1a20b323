// A save of user.bin that does not finish: the disk fills up halfway, or the
// process is killed in the middle. Either the old table or the new one must
// be left in user.bin, whole; never a short or mixed file.
#include "scores/high_score_table.h"

#include "support/headless.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <random>
#include <string>
#include <thread>

namespace {

std::vector<HighScoreEntry> rowsScoring(uint64_t lowest) {
  std::vector<HighScoreEntry> rows;
  for (uint64_t place = 0; place < HighScoreRows; ++place) {
    rows.push_back({lowest + 100 * place, "row " + std::to_string(place)});
  }
  return rows;
}

// The file bytes that a table of these rows writes.
std::string savedBytes(const std::vector<HighScoreEntry>& rows) {
  std::ostringstream out;
  HighScoreTable* table = new HighScoreTable;   // never destroyed, so never saved
  table->entries = rows;
  table->writeTo(out);
  return out.str();
}

// Saves the rows the way the game does: by destroying the table.
void saveRows(const std::vector<HighScoreEntry>& rows) {
  HighScoreTable table;
  table.entries = rows;
}

int waitForChild(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

class InterruptedSaveTest : public testing::Test {
protected:
  void SetUp() override {
    startHeadlessAllegro();
    oldBytes_ = savedBytes(rowsScoring(1000));
    newBytes_ = savedBytes(rowsScoring(5000));
    dir_.writeFile("user.bin", oldBytes_);
  }

  // Removes the files a save left beside user.bin; true when there were any.
  bool removeLeftovers() {
    bool found = false;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      if (entry.path().filename() != "user.bin") {
        std::filesystem::remove(entry.path());
        found = true;
      }
    }
    return found;
  }

  ScopedWorkDir dir_;
  std::string oldBytes_;
  std::string newBytes_;
};

TEST_F(InterruptedSaveTest, ADiskThatFillsUpHalfwayLeavesTheOldFile) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The process may write no file longer than 100 bytes from now on.
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN);
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {   // the headless message box
      _exit(2);
    }
    saveRows(rowsScoring(5000));
    _exit(0);
  }
  ASSERT_EQ(waitForChild(child), 0);
  EXPECT_EQ(dir_.readFile("user.bin"), oldBytes_);
  EXPECT_FALSE(removeLeftovers());
}

TEST_F(InterruptedSaveTest, AKilledSaveLeavesOneWholeTable) {
  std::mt19937 random(2026);
  int newTablesSeen = 0;
  int killedMidSave = 0;
  for (int attempt = 0; attempt < 150; ++attempt) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) {
        saveRows(rowsScoring(5000));
        saveRows(rowsScoring(1000));
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
    kill(child, SIGKILL);
    const int status = waitForChild(child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::string left = dir_.readFile("user.bin");
    ASSERT_TRUE(left == oldBytes_ || left == newBytes_) << "attempt " << attempt << ": " << left.size() << " bytes";
    newTablesSeen += left == newBytes_ ? 1 : 0;
    killedMidSave += removeLeftovers() ? 1 : 0;
  }
  // Both kinds of moment were hit: between saves and in the middle of one.
  EXPECT_GT(newTablesSeen, 0);
  EXPECT_GT(killedMidSave, 0);

}

}  // namespace

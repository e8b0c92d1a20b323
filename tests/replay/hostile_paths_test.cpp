// Every file a program reads at a user's word goes through one bounded
// reader: a list, a level, a proof, and the maps: and level: lines a proof
// names. Each hostile path must be refused at once, by name, without
// blocking on a FIFO, reading a device or taking a huge file into memory.
#include "replay/replay.h"
#include "replay/replay_runner.h"

#include "base/small_file.h"
#include "leveltext/level_set.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::string levelText() {
  std::string text = "title: T\n";
  for (int row = 0; row < 32; ++row) {
    text += row == 31 ? "P" + std::string(31, '#') + "\n" : std::string(32, '.') + "\n";
  }
  return text;
}

// The error of one read, or "read" when it succeeded.
using Reader = std::function<std::string(const std::string& path)>;

std::string viaReplayLine(const std::string& line, const std::string& path, const ScopedWorkDir& dir) {
  dir.writeFile("named.replay", line + path + "\n1 -\n");
  Replay replay;
  std::string error;
  if (!loadReplay(dir.path() + "/named.replay", replay, error)) {
    return error;
  }
  try {
    replayMapsBin(replay);
  } catch (const ReplayError& problem) {
    return problem.what();
  }
  return "read";
}

TEST(HostilePaths, EveryReaderRefusesFifosDevicesFoldersAndHugeFilesByName) {
  const ScopedWorkDir dir;
  const std::string at = dir.path() + "/";
  ASSERT_EQ(0, mkfifo((at + "fifo").c_str(), 0644));
  ASSERT_EQ(0, symlink("/dev/zero", (at + "zero-link").c_str()));
  ASSERT_EQ(0, symlink("fifo", (at + "fifo-link").c_str()));
  ASSERT_EQ(0, mkdir((at + "folder").c_str(), 0755));
  dir.writeFile("huge", "");
  // Sparse: no disk is spent on it, but a reader that trusts it reads 4 GiB.
  ASSERT_EQ(0, truncate((at + "huge").c_str(), off_t{4} << 30));
  dir.writeFile("level.txt", levelText());

  const std::vector<std::pair<const char*, Reader>> readers = {
      {"level", [](const std::string& path) {
         LevelSource source;
         std::string error;
         return readLevelFile(path, source, error) ? "read" : error;
       }},
      {"list", [](const std::string& path) {
         LevelList list;
         std::string error;
         return readLevelList(path, list, error) ? "read" : error;
       }},
      {"set", [](const std::string& path) {
         std::vector<Level> levels;
         std::string error;
         return readLevelSet(path, levels, error) ? "read" : error;
       }},
      {"replay", [](const std::string& path) {
         Replay replay;
         std::string error;
         return loadReplay(path, replay, error) ? "read" : error;
       }},
      {"maps: line", [&dir](const std::string& path) { return viaReplayLine("maps: ", path, dir); }},
      {"level: line", [&dir](const std::string& path) { return viaReplayLine("level: ", path, dir); }},
  };
  for (const char* name : {"fifo", "fifo-link", "zero-link", "folder", "huge", "missing"}) {
    for (const auto& [kind, read] : readers) {
      const std::string error = read(at + name);
      EXPECT_NE(std::string::npos, error.find(at + name)) << kind << " of " << name << ": " << error;
    }
  }
  EXPECT_EQ("read", viaReplayLine("level: ", "level.txt", dir));
  for (const char* device : {"/dev/zero", "/dev/null", "/dev/tty"}) {
    std::string bytes;
    EXPECT_EQ(SmallFileProblem::NotRegular, readSmallFile(device, 1024, bytes).kind) << device;
  }
}

// mellow-quarrier-levelc's reading of a list is the only one: every program finds the same
// levels in a list written on another system or by hand.
TEST(HostilePaths, ListsWithCrlfBlanksTabsAndIndentedCommentsReadTheSameEverywhere) {
  const ScopedWorkDir dir;
  dir.writeFile("a.txt", levelText());
  dir.writeFile("b.txt", levelText());
  dir.writeFile("levels.txt", "# play order\r\n\r\na.txt \r\n\tb.txt\r\n   # indented comment\r\n\r\n");
  LevelList list;
  std::string error;
  ASSERT_TRUE(readLevelList(dir.path() + "/levels.txt", list, error)) << error;
  ASSERT_EQ(2u, list.entries.size());
  EXPECT_EQ("a.txt", list.entries[0].name);
  EXPECT_EQ("b.txt", list.entries[1].name);
  EXPECT_EQ(4, list.entries[1].line);
  EXPECT_EQ((std::vector<std::string>{"# play order", ""}), list.headComments);
  std::vector<std::filesystem::path> paths;
  ASSERT_TRUE(readLevelListPaths(dir.path() + "/levels.txt", paths, &error)) << error;
  std::vector<Level> levels;
  ASSERT_TRUE(readLevelSet(dir.path() + "/levels.txt", levels, error)) << error;
  EXPECT_EQ(paths.size(), levels.size());
}

}  // namespace

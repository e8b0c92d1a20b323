// A game or a proof in the editor that cannot start, because the scratch
// disk is full or no scratch folder can be made: it says why before any Game
// reads a short maps.bin (which would end the editor and lose the drawing),
// and leaves no scratch folder behind.
#include "editor/level_tool_run.h"
#include "editor/play_in_window.h"

#include "level/level_builders.h"
#include "replay/replay_runner.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

namespace {

// Files of more than 100 bytes cannot be written while it lives, as on a
// full disk.
class FullDisk {
public:
  FullDisk() {
    getrlimit(RLIMIT_FSIZE, &before_);
    const rlimit small{100, before_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    std::signal(SIGXFSZ, SIG_IGN);
  }
  ~FullDisk() {
    setrlimit(RLIMIT_FSIZE, &before_);
    std::signal(SIGXFSZ, SIG_DFL);
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

private:
  rlimit before_{};
};

TEST(CannotStartTest, AFullScratchDiskOrNoScratchFolderStopsGamesAndProofsFirst) {
  startHeadlessAllegro();
  const ScopedWorkDir dir;
  const char* const tmpdir = std::getenv("TMPDIR");
  const std::string savedTmpdir = tmpdir != nullptr ? tmpdir : "";
  setenv("TMPDIR", dir.path().c_str(), 1);
  const PlayWindow window{[] { return true; }, [] {}};
  LevelSource source;
  source.level = levelFromRows(floorRows());
  {
    const FullDisk full;
    EXPECT_THROW(playLevels(singleLevelMapsBin(source.level), PlayOptions{}, window), GameCannotStart);
    const LevelToolRun run({"/bin/true"}, dir.path(), "level", source);
    EXPECT_EQ(run.startProblem().rfind("cannot write " + dir.path() + "/level.txt: ", 0), 0u) << run.startProblem();
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename(), "level.txt") << "only the proof's own file";
  }
  setenv("TMPDIR", (dir.path() + "/gone").c_str(), 1);
  EXPECT_THROW(playLevels(singleLevelMapsBin(source.level), PlayOptions{}, window), GameCannotStart);
  if (tmpdir != nullptr) {
    setenv("TMPDIR", savedTmpdir.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
}

}  // namespace

// The dead ends of the level as it stands: the mellow-quarrier-level-check program run on
// it as a child process (the analysis plays the level through the game's
// process-wide state, which the editor's window needs), read without
// waiting. It names the cells of the traps and of the places that cost a
// life, and keeps the way into the first trap as a replay to watch.
#pragma once

#include "editor/level_tool_run.h"

#include "leveltext/level_text.h"
#include "replay/replay.h"

#include "level/level.h"

#include <optional>
#include <string>
#include <vector>

enum class DeadEndCheckState { Running, Done, Failed };

struct DeadEndFindings {
  DeadEndCheckState state = DeadEndCheckState::Running;
  std::string line;              // "looking for them", "2 traps, 5 cost a life", or what failed
  size_t traps = 0;
  size_t costly = 0;
  std::vector<int> trapCells;    // cell indices
  std::vector<int> costlyCells;
  bool unsure = false;           // places it could not decide, or a search stopped at its limit
  std::optional<Replay> wayIntoFirstTrap;
};

class DeadEndRun {
public:
  // Writes the level as NAME.txt into workFolder (a folder of its own) and
  // starts the check on it there.
  DeadEndRun(const std::string& checkerPath, const std::string& workFolder, const std::string& name,
             const LevelSource& source);

  // Reads what the check has written; answers whether it has just ended.
  bool poll();
  const DeadEndFindings& findings() const { return findings_; }
  const Level& level() const { return checker_.level(); }

private:
  void readLine(const std::string& line);
  void finish(int exitStatus);

  LevelToolRun checker_;
  DeadEndFindings findings_;
};

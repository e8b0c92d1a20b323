// A proof that a level can be cleared: the mellow-quarrier-level-solve program run on the
// level as it stands, as a child process, so that the search (which takes
// over the process-wide game state) never stops the editor's window. Its
// progress and result are read from its output without waiting. Gold that
// the reachability check shows no way can reach settles the proof at once:
// the search would only wander the level until its limits to say the same.
#pragma once

#include "leveltext/level_text.h"
#include "replay/replay.h"

#include "level/level.h"

#include "editor/level_tool_run.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// NoWayFound is proven; Unsure is a search that spent its budget without a way.
enum class ProofState { Running, Cleared, ClearedWithoutEnemies, NoWayFound, Unsure, Failed };

struct ProofResult {
  ProofState state = ProofState::Running;
  std::string line;             // searching, or what was found
  std::string effort;           // "N states, S s" so far, or why there was no search
  std::vector<int> missedGold;  // cell indices of the gold the search never took
  std::optional<Replay> replay;
  std::string replayComment;    // the comment the solver wrote above the replay
};

class ProofRun {
public:
  // Writes the level as NAME.txt into workFolder (a folder of its own) and
  // starts the solver on it there, unless gold is out of reach.
  ProofRun(const std::string& solverPath, const std::string& workFolder, const std::string& name,
           const LevelSource& source);
  ProofRun(const ProofRun&) = delete;
  ProofRun& operator=(const ProofRun&) = delete;

  // Reads what the solver has written; answers whether the result changed.
  bool poll();
  const ProofResult& result() const { return result_; }
  const Level& level() const { return level_; }

private:
  void readLine(const std::string& line);
  void finish(int exitStatus);

  Level level_;
  std::unique_ptr<LevelToolRun> solver_;   // none when gold is out of reach; ended with the proof when still searching
  std::string outcomeLine_;
  ProofResult result_;
};

// The "(x, y)" cells named in a line of the solver's explanation.
std::vector<int> cellsNamedIn(const std::string& line);

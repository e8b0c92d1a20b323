// The figures of one level of a set that take seconds, measured by the
// level tools in processes of their own, one after the other:
// mellow-quarrier-level-rate for the start (and, with a proof that clears
// the level, the difficulty figure and the human margin), then
// mellow-quarrier-level-check for the dead ends. The window never waits for
// them: each figure comes in as its tool ends, and dropping the measure
// (quitting, say) ends the tool at once. The tools write only in the
// measure's own folder, which goes with the measure, so that a long session
// leaves the editor no pile of scratch files to clear when it quits.
#pragma once

#include "editor/dead_end_run.h"
#include "editor/level_tool_run.h"
#include "editor/set_level_facts.h"

#include "leveltext/level_text.h"

#include <memory>
#include <string>

class SetLevelMeasure {
public:
  // workFolder: a folder of the measure's own. With proven, the level's proof
  // is read from where the set view keeps it, beside levelPath.
  SetLevelMeasure(const std::string& raterPath, const std::string& checkerPath, const std::string& workFolder,
                  const std::string& levelPath, const LevelSource& source, bool proven);
  ~SetLevelMeasure();
  SetLevelMeasure(const SetLevelMeasure&) = delete;
  SetLevelMeasure& operator=(const SetLevelMeasure&) = delete;

  // Reads what the tools have written; answers whether a figure came in.
  bool poll();
  bool done() const { return !rater_ && !checker_; }
  const std::string& levelPath() const { return levelPath_; }
  const LevelMeasures& measures() const { return measures_; }

private:
  void readRating(const std::string& line);
  void rated();
  void checked();

  std::string checkerPath_;
  std::string workFolder_;
  std::string levelPath_;
  LevelSource source_;
  bool proven_;
  std::unique_ptr<LevelToolRun> rater_;
  std::unique_ptr<DeadEndRun> checker_;
  LevelMeasures measures_;
};

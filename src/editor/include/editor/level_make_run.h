// One level made by level-make for the set view, into a folder of its own,
// run as the proofs are (level_tool_run.h): a child process looked at
// without waiting, so that the window lives on while it works, however long
// a hard level takes. What it has turned away so far is read from its
// progress lines; the level comes back with its proof once it has ended.
// Destroying the run stops the maker.
#pragma once

#include "editor/level_tool_run.h"

#include "leveltext/level_text.h"
#include "replay/replay.h"

#include <cstdint>
#include <memory>
#include <string>

struct MadeForSet {
  LevelSource source;
  Replay proof;
  std::string fileName;   // the name level-make gave it, without its number
  std::string error;      // empty when the level was made
};

class LevelMakeRun {
public:
  LevelMakeRun(const std::string& makerPath, const std::string& workFolder, int difficulty, uint64_t seed);

  // Answers true once, when the maker has ended (or could not start): the
  // level or the reason is then in result().
  bool poll();
  const MadeForSet& result() const { return made_; }
  // "4 candidates turned away, the last too tight for a person", or "" before
  // the first.
  std::string progress() const;

private:
  void readBack(int exitStatus);

  std::string folder_;
  std::unique_ptr<LevelToolRun> maker_;
  MadeForSet made_;
  bool ended_ = false;
};

#include "editor/set_level_facts.h"

#include "editor/level_files.h"

#include "replay/replay_runner.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A proof the rules cannot play to its end fails like one that loses.
bool clearsWithoutADeath(const Replay& proof, const Level& level) {
  try {
    const ReplayOutcome outcome = playReplay(proof, singleLevelMapsBin(level));
    return outcome.end == ReplayEnd::Cleared && outcome.deaths == 0;
  } catch (const ReplayError&) {
    return false;
  }
}

}  // namespace

SetLevelFacts describeSetLevel(const std::string& levelPath) {
  SetLevelFacts facts;
  const OpenedLevel opened = openLevelFile(levelPath, levelPath);
  if (opened.isNew || !opened.error.empty()) {
    facts.title = fs::path(levelPath).filename().string();
    facts.proof = opened.isNew ? "never drawn" : "cannot be read";
    return facts;
  }
  const Level& level = opened.source.level;
  facts.title = opened.source.title;
  facts.drawn = true;
  facts.gold = countOf(level, Gold);
  facts.enemies = countOf(level, EnemyStart);
  Replay proof;
  std::string error;
  if (!loadReplay(replayPathFor(levelPath), proof, error)) {
    facts.proof = "no proof";
    return facts;
  }
  if (!proofFitsTheClock(proof)) {
    facts.proof = "proof too long";
    return facts;
  }
  facts.proven = clearsWithoutADeath(proof, level);
  facts.proof = !facts.proven ? "out of date" : proof.enemies ? "proven" : "proven w/o enemies";
  return facts;
}

std::string replayPathFor(const std::string& levelPath) {
  const fs::path level(levelPath);
  const fs::path replays = level.parent_path() / "replays";
  std::error_code error;
  if (fs::is_directory(replays, error)) {
    return (replays / level.filename()).replace_extension(".replay").string();
  }
  return replayPathBeside(levelPath);
}

std::optional<bool> keptProofClears(const std::string& levelPath, const Level& level) {
  Replay proof;
  std::string error;
  if (!loadReplay(replayPathFor(levelPath), proof, error)) {
    return std::nullopt;
  }
  try {
    return playReplay(proof, singleLevelMapsBin(level)).end == ReplayEnd::Cleared;
  } catch (const ReplayError&) {
    return false;
  }
}

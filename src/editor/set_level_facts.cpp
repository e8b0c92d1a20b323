#include "editor/set_level_facts.h"

#include "editor/level_files.h"

#include "analysis/level_rating.h"
#include "replay/replay_runner.h"

#include <filesystem>

namespace fs = std::filesystem;

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
  try {
    facts.figure = rateLevel(level, proof).figure;
    facts.proof = proof.enemies ? "proven" : "proven w/o enemies";
    facts.proven = true;
  } catch (const ReplayError&) {
    facts.proof = "out of date";
  }
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

#include "generate/level_maker.h"

#include "generate/level_names.h"
#include "generate/level_repair.h"

#include "analysis/dead_ends.h"
#include "analysis/human_margin.h"
#include "analysis/level_session.h"
#include "analysis/reachability.h"
#include "analysis/level_search.h"
#include "replay/replay_runner.h"
#include "base/globals.h"
#include "level/level.h"

#include <algorithm>

namespace {

// The search's budget in states explored: a level the solver cannot clear
// within it is too tangled to be a fair level of its difficulty anyway.
constexpr size_t SearchStates = 60000;
// Rounds of repair before a candidate is given up.
constexpr int ReachRepairs = 3;
constexpr int DeadEndRepairs = 2;
constexpr int FairStartRepairs = 3;
constexpr int FairStartUpdates = static_cast<int>(FairStartSeconds * UpdatesPerSecond);
constexpr int DistinctCells = CellCount / 4;
// Every press of the proof may come this late and the level still clears:
// a tenth of a second, less than anyone's reaction.
constexpr int FairMarginUpdates = 10;
constexpr int MarginRepairs = 1;
const std::string TooTight = "too tight for a person";

// Each piece out of reach gets a ladder under it; one that cannot have one
// is taken away, so long as some gold is left.
std::string repairReach(Level& level) {
  for (int round = 0; round < ReachRepairs; ++round) {
    const std::vector<int> outOfReach = unreachableGold(level);
    if (outOfReach.empty()) {
      return findLevelFaults(level).empty() ? "" : "gold shut out";
    }
    for (int gold : outOfReach) {
      if (!ladderUnderGold(level, gold)) {
        level.cells[gold] = Empty;
      }
    }
  }
  const bool whole = unreachableGold(level).empty() && findLevelFaults(level).empty();
  return whole && countOf(level, Gold) > 0 ? "" : "gold out of reach";
}

// The first seed on which a player who stands still is caught too soon, or
// 0 when none is.
unsigned seedCaughtTooSoon(const Level& level) {
  if (countOf(level, EnemyStart) == 0) {
    return 0;
  }
  for (unsigned seed = 1; seed <= StandStillSeeds; ++seed) {
    LevelSession session(level, true, seed);
    for (int update = 0; update < FairStartUpdates; ++update) {
      if (session.advance(0) == UpdateResult::Died) {
        return seed;
      }
    }
  }
  return 0;
}

}  // namespace

bool levelsDistinct(const Level& one, const Level& other) {
  int differ = 0;
  int differMirrored = 0;
  for (int x = 0; x < GridSize; ++x) {
    for (int y = 0; y < GridSize; ++y) {
      const int8_t cell = one.cells[cellIndex(x, y)];
      differ += cell != other.cells[cellIndex(x, y)] ? 1 : 0;
      differMirrored += cell != other.cells[cellIndex(GridSize - 1 - x, y)] ? 1 : 0;
    }
  }
  return differ >= DistinctCells && differMirrored >= DistinctCells;
}

LevelMaker::LevelMaker(const MakeOptions& options) : options_(options), ranges_(shapeRangesFor(options.difficulty)) {
  if (options.fewestEnemies >= 0) {
    ranges_.fewestEnemies = options.fewestEnemies;
    ranges_.mostEnemies = std::max(options.fewestEnemies, options.mostEnemies);
  }
}

void LevelMaker::checkStop() const {
  if (options_.stopRequested && options_.stopRequested()) {
    throw MakeInterrupted();
  }
}

MadeLevel LevelMaker::makeLevel() {
  for (;;) {
    checkStop();
    MadeLevel made;
    const uint64_t candidate = nextCandidate_++;
    const std::string rejection = tryCandidate(candidate, made);
    if (rejection.empty()) {
      made_.push_back(made.source.level);
      return made;
    }
    ++rejections_[rejection];
    if (options_.onRejected) {
      options_.onRejected(candidate, rejection);
    }
  }
}

bool LevelMaker::distinct(const Level& level) const {
  return std::all_of(made_.begin(), made_.end(), [&level](const Level& earlier) { return levelsDistinct(level, earlier); });
}

std::string LevelMaker::checkFairStart(Level& level, std::vector<int>& spareEnemyCells) const {
  for (int round = 0; seedCaughtTooSoon(level) != 0; ++round) {
    checkStop();
    if (round == FairStartRepairs || !moveNearestEnemy(level, spareEnemyCells)) {
      return "unfair start";
    }
  }
  return "";
}

std::string LevelMaker::checkDeadEnds(Level& level) const {
  for (int round = 0;; ++round) {
    checkStop();
    const DeadEndReport report = findDeadEnds(level);
    if (!report.complete) {
      return "dead ends not searched to the end";
    }
    if (report.deadEnds.empty()) {
      return "";
    }
    if (round == DeadEndRepairs) {
      return "dead end";
    }
    for (const DeadEnd& deadEnd : report.deadEnds) {
      if (!ladderOutOf(level, deadEnd.cells.front())) {
        return "dead end";
      }
    }
  }
}

std::string LevelMaker::uniqueTitle(LevelRandom& random) {
  std::string title = drawLevelTitle(random);
  for (int tries = 0; titles_.count(title) != 0 && tries < 50; ++tries) {
    title = drawLevelTitle(random);
  }
  for (int number = 2; titles_.count(title) != 0; ++number) {
    title = drawLevelTitle(random) + " " + std::to_string(number);
  }
  titles_.insert(title);
  return title;
}

// The dearest checks, on a level laid out and checked: a proof with the
// enemies, the room it leaves a person, and the figure.
std::string LevelMaker::prove(const Level& level, MadeLevel& made) const {
  SearchLimits limits;
  limits.states = SearchStates;
  limits.onProgress = [this](size_t) { checkStop(); };
  const SearchResult found = searchLevel(level, true, ProofSeed, limits);
  if (!found.cleared) {
    return "no proof found";
  }
  Replay proof;
  proof.seed = ProofSeed;
  proof.keys = found.keys;
  try {
    if (!pressesMayComeLate(level, proof, FairMarginUpdates)) {
      return TooTight;
    }
    checkStop();
    made.rating = rateLevel(level, proof);
  } catch (const ReplayError&) {
    return "proof does not replay";
  }
  made.proof = found.keys;
  return "";
}

std::string LevelMaker::tryCandidate(uint64_t candidate, MadeLevel& made) {
  LevelRandom random(candidateSeed(options_.seed, options_.difficulty, candidate));
  Sketch sketch = buildSketch(ranges_, random);
  Level& level = sketch.level;
  std::string fault = repairReach(level);
  if (fault.empty() && !distinct(level)) {
    fault = "too like an earlier level";
  }
  if (fault.empty()) {
    fault = checkFairStart(level, sketch.spareEnemyCells);
  }
  if (fault.empty()) {
    fault = checkDeadEnds(level);
  }
  // Again after the repairs, which change cells, before the dearest checks.
  if (fault.empty() && !distinct(level)) {
    fault = "too like an earlier level";
  }
  if (fault.empty()) {
    fault = prove(level, made);
  }
  // A proof too tight for a person most often runs a chaser close: one
  // moved farther off may leave room. Dead ends are found without the
  // enemies, so only the start is looked at again.
  for (int round = 0; fault == TooTight && round < MarginRepairs; ++round) {
    if (!moveNearestEnemy(level, sketch.spareEnemyCells)) {
      break;
    }
    fault = checkFairStart(level, sketch.spareEnemyCells);
    fault = fault.empty() ? prove(level, made) : fault;
  }
  if (!fault.empty()) {
    return fault;
  }
  made.source.level = level;
  made.source.title = uniqueTitle(random);
  made.source.note = "Made by level-make: seed " + std::to_string(options_.seed) + ", difficulty " +
                     std::to_string(options_.difficulty) + ", candidate " + std::to_string(candidate) + ".";
  made.candidate = candidate;
  made.chambers = sketch.chambers;
  return "";
}

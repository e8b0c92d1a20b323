// The reachability check against the solver. The check grants the player
// more than the rules do, so gold it calls out of reach must stay out of the
// solver's reach too: a clear of a level holding such gold proves the check
// wrong. Every shipped level has a replay that clears it, so the check may
// flag none of their gold; generated levels and mutated shipped ones, each
// cut down to one piece of flagged gold and no enemies, go to the solver
// with small limits.
//
// And the dead-end check against the solver, both on the rules without
// enemies, over the level maker's sketches and levels where only deep
// digging could help: each may be unsure, neither may contradict the other.
#include "analysis/dead_ends.h"
#include "analysis/level_search.h"
#include "analysis/reachability.h"
#include "leveltext/level_set.h"
#include "leveltext/level_text.h"
#include "replay/replay_runner.h"
#include "support/headless.h"

#include "generate/level_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path LevelsDir = MQ_LEVELS_DIR;
constexpr int GeneratedLevels = 2000;
constexpr int MutantsPerShippedLevel = 20;
// A level the check is wrong about needs only a short way to its one piece
// of gold (a dig or two, a drop out of the bottom), which the solver's guide
// finds in a few hundred states.
constexpr size_t SolverStates = 1000;
// Of every fourth sketch a mutant too, often with a piece of gold walled in.
constexpr int SketchesPerDifficulty = 28;
constexpr int DiggingLayouts = 30;
constexpr size_t AgreementStates = 2000;

std::vector<LevelSource> shippedLevels() {
  std::vector<std::string> names;
  readLevelListNames(LevelsDir / "levels.txt", names);
  std::vector<LevelSource> levels;
  for (const std::string& name : names) {
    std::ifstream file(LevelsDir / name);
    LevelSource source;
    std::string error;
    EXPECT_TRUE(parseLevelSource(file, name, source, error)) << error;
    EXPECT_FALSE(source.note.empty()) << name;
    source.title = name;
    levels.push_back(source);
  }
  return levels;
}

std::string rowsOf(const Level& level) {
  std::ostringstream text;
  writeLevelSource(text, {"", "", level});
  return text.str();
}

class LevelMaker {
public:
  int below(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  // A floor one or two bricks thick (in places ladders, which cannot be
  // dug), boxes of brick with gold sealed in or beside them, ladders, ropes
  // and top-row cells that hold a player dropping out of the bottom.
  Level generated() {
    Level level{};
    const int floorTop = GridSize - 1 - below(2);
    for (int x = 0; x < GridSize; ++x) {
      for (int y = floorTop; y < GridSize; ++y) {
        put(level, x, y, below(8) == 0 ? Ladder : Brick);
      }
    }
    for (int boxes = 1 + below(4); boxes > 0; --boxes) {
      fill(level, below(GridSize), below(floorTop), 1 + below(6), 1 + below(5), Brick);
    }
    for (int ladders = below(4); ladders > 0; --ladders) {
      fill(level, below(GridSize), below(floorTop), 1, 1 + below(10), Ladder);
    }
    for (int ropes = below(3); ropes > 0; --ropes) {
      fill(level, below(GridSize), below(floorTop), 1 + below(10), 1, Rope);
    }
    for (int tops = below(4); tops > 0; --tops) {
      put(level, below(GridSize), 0, below(2) == 0 ? Brick : Ladder);
    }
    put(level, below(GridSize), below(floorTop), Gold);
    put(level, below(GridSize), floorTop - 1, PlayerStart);
    return level;
  }

  // A few cells changed, and now and then a piece of gold walled in.
  Level mutated(Level level) {
    static constexpr int8_t Codes[] = {Empty, Brick, Brick, Ladder, Rope};
    for (int changes = 1 + below(6); changes > 0; --changes) {
      const int index = below(CellCount);
      if (level.cells[index] != PlayerStart) {
        level.cells[index] = Codes[below(std::size(Codes))];
      }
    }
    const std::vector<int> gold = cellsOf(level, Gold);
    if (!gold.empty() && below(2) == 0) {
      const int piece = gold[below(static_cast<int>(gold.size()))];
      for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
          const int x = piece / GridSize + dx;
          const int y = piece % GridSize + dy;
          if ((dx != 0 || dy != 0) && x >= 0 && x < GridSize && y >= 0 && y < GridSize &&
              level.cells[cellIndex(x, y)] != PlayerStart) {
            put(level, x, y, Brick);
          }
        }
      }
    }
    return level;
  }

  static std::vector<int> cellsOf(const Level& level, int8_t code) {
    std::vector<int> cells;
    for (int index = 0; index < CellCount; ++index) {
      if (level.cells[index] == code) {
        cells.push_back(index);
      }
    }
    return cells;
  }

private:
  static void put(Level& level, int x, int y, int8_t code) { level.cells[cellIndex(x, y)] = code; }

  static void fill(Level& level, int left, int top, int width, int height, int8_t code) {
    for (int x = left; x < std::min(left + width, GridSize); ++x) {
      for (int y = top; y < std::min(top + height, GridSize); ++y) {
        put(level, x, y, code);
      }
    }
  }

  std::mt19937 random_{17};
};

class CheckVersusSolver : public ::testing::Test {
protected:
  void SetUp() override { startHeadlessAllegro(); }

  // When the check flags gold, one flagged piece is kept alone, the enemies
  // are taken out, and the solver must not clear what is left.
  void expectFlaggedGoldStaysOutOfReach(const Level& level, const std::string& origin) {
    ++levelsChecked_;
    const std::vector<int> flagged = unreachableGold(level);
    if (flagged.empty()) {
      return;
    }
    const int kept = flagged[maker_.below(static_cast<int>(flagged.size()))];
    Level alone = level;
    for (int8_t& cell : alone.cells) {
      cell = cell == Gold || cell == EnemyStart ? int8_t{Empty} : cell;
    }
    alone.cells[kept] = Gold;
    SearchLimits limits;
    limits.states = SolverStates;
    limits.searchTheImpossible = true;
    ++levelsSearched_;
    EXPECT_FALSE(searchLevel(alone, false, 1, limits).cleared)
        << origin << ": the check calls the gold at (" << kept / GridSize << ", " << kept % GridSize
        << ") out of reach, and the solver took it:\n" << rowsOf(alone);
  }

  LevelMaker maker_;
  int levelsChecked_ = 0;
  int levelsSearched_ = 0;
};

TEST_F(CheckVersusSolver, TheShippedLevelsHaveNoFaultAndTheirMutantsNoGoldFlaggedThatTheSolverTakes) {
  const std::vector<LevelSource> levels = shippedLevels();
  EXPECT_GE(levels.size(), 8u);
  for (const LevelSource& source : levels) {
    for (const std::string& fault : findLevelFaults(source.level)) {
      ADD_FAILURE() << source.title << ": " << fault;
    }
    for (int mutant = 0; mutant < MutantsPerShippedLevel; ++mutant) {
      expectFlaggedGoldStaysOutOfReach(maker_.mutated(source.level),
                                       source.title + ", mutant " + std::to_string(mutant));
    }
  }
  std::cout << levelsChecked_ << " mutants checked, " << levelsSearched_ << " searched\n";
}

TEST_F(CheckVersusSolver, NoGeneratedLevelHasGoldFlaggedThatTheSolverTakes) {
  for (int generated = 0; generated < GeneratedLevels; ++generated) {
    expectFlaggedGoldStaysOutOfReach(maker_.generated(), "generated level " + std::to_string(generated));
  }
  std::cout << levelsChecked_ << " levels checked, " << levelsSearched_ << " searched\n";
}

// Gold under twelve rows of brick, or in the open sky above a floor twelve
// rows deep with no ladder: only digging could help, and no dig does. Or
// the player walled into one cell of that floor, which is proven hopeless.
enum class Digging { Buried, Sky, WalledIn };

Level diggingLayout(LevelMaker& maker, Digging kind) {
  std::vector<std::string> rows(GridSize, std::string(GridSize, '.'));
  const int floorTop = kind == Digging::Buried ? 19 : 20;
  for (int row = floorTop; row < floorTop + 12; ++row) {
    rows[row] = std::string(GridSize, '#');
  }
  const int column = 1 + maker.below(GridSize - 2);
  rows[floorTop - 1][column] = 'P';
  if (kind == Digging::WalledIn) {
    rows[floorTop - 1].replace(column - 1, 3, "#P#");
    rows[floorTop - 2].replace(column - 1, 3, "###");
  }
  rows[kind == Digging::Buried ? GridSize - 1 : 2 + maker.below(floorTop - 6)][maker.below(GridSize)] = '$';
  return levelFromRows(rows);
}

// The start's own dead end: the one whose way in holds no key.
const DeadEnd* startDeadEnd(const DeadEndReport& report) {
  for (const DeadEnd& deadEnd : report.deadEnds) {
    if (std::all_of(deadEnd.way.begin(), deadEnd.way.end(), [](const KeyRun& run) { return run.keys == 0; })) {
      return &deadEnd;
    }
  }
  return nullptr;
}

TEST_F(CheckVersusSolver, TheDeadEndCheckAndTheSolverNeverContradictEachOther) {
  std::vector<Level> levels;
  for (int difficulty = 1; difficulty <= 5; ++difficulty) {
    for (int sketch = 0; sketch < SketchesPerDifficulty; ++sketch) {
      LevelRandom random(candidateSeed(25, difficulty, sketch));
      levels.push_back(buildSketch(shapeRangesFor(difficulty), random).level);
      if (sketch % 4 == 0) {
        levels.push_back(maker_.mutated(levels.back()));
      }
    }
  }
  for (int layout = 0; layout < DiggingLayouts; ++layout) {
    levels.push_back(diggingLayout(maker_, static_cast<Digging>(layout % 3)));
  }
  int cleared = 0;
  int proven = 0;
  int bothUnsure = 0;
  for (Level& level : levels) {
    level = withoutEnemyStarts(level);
    SearchLimits limits;
    limits.states = AgreementStates;
    const SearchResult solved = searchLevel(level, false, 1, limits);
    DeadEndLimits wayOut;
    wayOut.findWayOut = true;
    const DeadEndReport check = findDeadEnds(level, wayOut);
    const DeadEnd* start = startDeadEnd(check);
    const bool startSurelyDead = start != nullptr && start->kind != DeadEndKind::Unsure;
    const std::string rows = rowsOf(level);
    if (solved.cleared) {
      ++cleared;
      EXPECT_FALSE(startSurelyDead) << "the solver clears a start the check calls a dead end:\n" << rows;
    }
    if (solved.end == SearchEnd::ProvenImpossible) {
      ++proven;
      EXPECT_TRUE(check.wayOut.empty()) << "the check clears a level the solver proves impossible:\n" << rows;
      EXPECT_TRUE(startSurelyDead) << "the check is unsure of a level the solver proves impossible:\n" << rows;
    }
    bothUnsure += !solved.cleared && solved.end != SearchEnd::ProvenImpossible && start != nullptr &&
                  start->kind == DeadEndKind::Unsure;
    if (!check.wayOut.empty()) {
      SearchLimits handed;
      handed.states = 1;
      handed.firstGuess = check.wayOut;
      EXPECT_TRUE(searchLevel(level, false, 1, handed).cleared) << "the check's way out does not clear:\n" << rows;
    }
  }
  std::cout << levels.size() << " levels: " << cleared << " cleared by the solver, " << proven
            << " proven impossible, " << bothUnsure << " unsure to both\n";
  EXPECT_GT(cleared, 0);
  EXPECT_GT(proven, 0);
  EXPECT_GE(bothUnsure, DiggingLayouts * 2 / 3);
}

}  // namespace

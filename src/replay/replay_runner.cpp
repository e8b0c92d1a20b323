#include "replay/replay_runner.h"

#include "leveltext/level_set.h"
#include "leveltext/level_text.h"

#include "base/globals.h"
#include "base/small_file.h"
#include "game/game.h"
#include "game/player.h"
#include "game/running_update.h"
#include "level/level_file.h"

#include <allegro.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

std::string readWholeFile(const std::filesystem::path& path, std::size_t mostBytes, const char* what) {
  std::string bytes;
  std::string error;
  if (!readSmallFile(path.string(), mostBytes, what, bytes, error)) {
    throw ReplayError(error);
  }
  return bytes;
}

// Answers whether the replay goes on.
bool noteUpdate(UpdateOutcome played, ReplayOutcome& outcome) {
  switch (played) {
    case UpdateOutcome::GameOver:
      outcome.end = ReplayEnd::GameOver;
      return false;
    case UpdateOutcome::LevelCleared:
      outcome.end = ReplayEnd::Cleared;
      outcome.timeBonus = timeBonusFor(bonusTimer);
      return false;
    case UpdateOutcome::LifeLost:
      ++outcome.deaths;
      return true;
    case UpdateOutcome::Playing:
      break;
  }
  return true;
}

// A replay ends at a cleared level, and plays on after a lost life as the
// game does, without its sound and pause.
class ReplayHost : public RunningGameHost {
public:
  bool lifeLost() override { return true; }
};

}  // namespace

void writeMapsBin(const std::string& bytes) {
  std::ofstream out("maps.bin", std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    throw ReplayError("cannot write maps.bin in " + std::filesystem::current_path().string() + ": " +
                      std::strerror(errno));
  }
}

void holdOnly(uint8_t keys, volatile char* keyStates) {
  volatile char* held = keyStates != nullptr ? keyStates : key;
  held[KEY_UP] = (keys & HoldUp) ? 1 : 0;
  held[KEY_DOWN] = (keys & HoldDown) ? 1 : 0;
  held[KEY_LEFT] = (keys & HoldLeft) ? 1 : 0;
  held[KEY_RIGHT] = (keys & HoldRight) ? 1 : 0;
  held[KEY_J] = (keys & HoldDigLeft) ? 1 : 0;
  held[KEY_K] = (keys & HoldDigRight) ? 1 : 0;
}

std::string singleLevelMapsBin(const Level& level) {
  return mapsBinOf({level});
}


Level withoutEnemyStarts(Level level) {
  for (int8_t& cell : level.cells) {
    if (cell == EnemyStart) {
      cell = Empty;
    }
  }
  return level;
}

std::string replayMapsBin(const Replay& replay) {
  const std::filesystem::path base(replay.baseDir);
  if (!replay.mapsFile.empty()) {
    return readWholeFile(base / replay.mapsFile, LevelListMostBytes, "a maps.bin");
  }
  const std::filesystem::path levelPath = base / replay.levelFile;
  std::istringstream text(readWholeFile(levelPath, LevelFileMostBytes, "a level file"));
  LevelSource source;
  std::string error;
  if (!parseLevelSource(text, levelPath.string(), source, error)) {
    throw ReplayError(error);
  }
  return singleLevelMapsBin(source.level);
}

std::vector<Level> levelsOfMapsBin(const std::string& bytes) {
  std::vector<Level> levels(MaxLevelRecords);
  std::istringstream in(bytes);
  const int count = readLevels(in, levels.data());
  if (count == 0) {
    throw ReplayError("the level file holds no level");
  }
  levels.resize(static_cast<size_t>(count));
  return levels;
}

ReplayOutcome playReplay(const Replay& replay, const std::string& mapsBin, const TickObserver& observer,
                         Drawing drawing) {
  std::vector<Level> levels = levelsOfMapsBin(mapsBin);
  if (!replay.enemies) {
    for (Level& level : levels) {
      level = withoutEnemyStarts(level);
    }
  }
  auto game = std::make_unique<Game>(levels, drawing);
  volatile char keys[KEY_MAX] = {};
  game->heldKeys = keys;
  game->orderMode = replay.orderMode;
  const uint8_t levelCount = startRunningGame(*game, replay.seed);
  if (replay.position >= levelCount) {
    throw ReplayError("position " + std::to_string(replay.position) + " lies past the last of " +
                      std::to_string(levelCount) + " levels");
  }
  game->enterLevel(replay.position);

  ReplayOutcome outcome;
  ReplayHost host;
  uint8_t position = replay.position;
  bool goesOn = true;
  for (auto run = replay.keys.begin(); goesOn && run != replay.keys.end(); ++run) {
    holdOnly(run->keys, keys);
    for (uint32_t update = 0; goesOn && update < run->updates; ++update) {
      const UpdateOutcome played = updateRunningGame(*game, position, levelCount, host);
      ++outcome.ticks;
      goesOn = noteUpdate(played, outcome);
      if (observer) {
        observer(outcome.ticks, *game);
      }
      game->drawActors();
    }
  }
  outcome.score = game->player->score;
  outcome.lives = game->livesLeft();
  outcome.goldLeft = game->goldLeft();
  game->destroyActors();
  return outcome;
}

std::string describeOutcome(const ReplayOutcome& outcome) {
  std::ostringstream text;
  text << replayEndName(outcome.end) << " after " << outcome.ticks << " ticks, score " << outcome.score;
  if (outcome.end == ReplayEnd::Cleared) {
    text << " (+" << outcome.timeBonus << " time bonus)";
  }
  text << ", lives " << outcome.lives << ", gold left " << outcome.goldLeft << ", deaths "
       << outcome.deaths;
  return text.str();
}

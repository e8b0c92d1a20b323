#include "actor_play.h"

#include "app/state_game_menu.h"
#include "base/random_draws.h"
#include "leveltext/level_text.h"
#include "support/driver.h"


Level caveLevel(const std::vector<std::string>& rows) {
  std::vector<std::string> full(GridSize, std::string(GridSize, '#'));
  for (size_t row = 0; row < rows.size(); ++row) {
    full.at(row).replace(0, rows[row].size(), rows[row]);
  }
  return levelFromRows(full);
}

ActorPlay::ActorPlay(const std::vector<std::string>& rows, unsigned seed)
    : ActorPlay(caveLevel(rows), seed) {}

ActorPlay::ActorPlay(const Level& level, unsigned seed) {
  startHeadlessAllegro();
  writeMapsBin(dir_, {level});
  game_ = std::make_unique<Game>(makeTitleMenu);
  seedRandom(seed);
  game_->createPlayer();
  game_->enterLevel(0);
}

void ActorPlay::hold(std::initializer_list<int> keys) {
  releaseAllKeys();
  for (int scancode : keys) {
    key[scancode] = 1;
  }
}

void ActorPlay::play(int ticks) {
  for (int tick = 0; tick < ticks; ++tick) {
    game_->tick();
    game_->drawActors();
  }
}

void ActorPlay::playHolding(int ticks, std::initializer_list<int> keys) {
  hold(keys);
  play(ticks);
}

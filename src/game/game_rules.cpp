// The rules of play on the Game record: one tick of the actors with catches
// and crush awards, drawing the actors, lives, and entering a level.
#include "game/game.h"

#include "base/fatal.h"
#include "base/globals.h"
#include "game/enemy.h"
#include "game/player.h"

namespace {

constexpr int32_t FirstCrushAward = 15;
constexpr int32_t CrushAwardRise = 5;
constexpr uint8_t JustCrushed = 255;  // an enemy's respawnDelay only in the tick of its crush

}  // namespace

void Game::tick() {
  if (player == nullptr) {
    return;
  }
  player->update();
  // Enemies crushed together by one refill pay more each: 15, 20, 25, ...
  int32_t crushAward = FirstCrushAward;
  for (Enemy* enemy : enemies) {
    enemy->update();
    if (enemy->caughtPlayer) {
      player->alive = 0;
    }
    if (enemy->respawnDelay == JustCrushed) {
      player->score += crushAward;
      crushAward += CrushAwardRise;
    }
  }
  map.tickRefill();
}

void Game::drawActors() {
  if (player == nullptr) {
    return;
  }
  if (map.drawing == Drawing::Unseen) {
    for (Enemy* enemy : enemies) {
      enemy->countDraw();
    }
    return;
  }
  player->draw();
  for (Enemy* enemy : enemies) {
    enemy->draw();
  }
}

int Game::livesLeft() const { return player == nullptr ? 0 : player->lives; }

bool Game::loseLife() {
  if (player == nullptr || player->alive) {
    return false;
  }
  --player->lives;
  return true;
}

void Game::createPlayer() {
  if (player != nullptr) {
    fatalError("Error creating player", 1);
  }
  player = new Player(this);
}

void Game::enterLevel(uint8_t sequenceIndex) {
  bonusTimer = LevelClockTicks;
  for (Enemy* enemy : enemies) {
    delete enemy;
  }
  enemies.clear();
  map.startLevel(sequenceIndex, orderMode);
  if (player != nullptr) {
    const SpawnPoint start = startOverride.value_or(SpawnPoint{map.startX, map.startY});
    player->place(start.x, start.y);
  }
  while (!map.spawnQueue.empty()) {
    Enemy* enemy = new Enemy(this);
    enemies.push_back(enemy);
    enemy->place(map.spawnQueue.front().x, map.spawnQueue.front().y);
    map.spawnQueue.pop_front();
  }
}

void Game::destroyActors() {
  delete player;
  player = nullptr;
  for (Enemy* enemy : enemies) {
    delete enemy;
  }
  enemies.clear();
}

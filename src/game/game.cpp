#include "game/game.h"

#include "base/globals.h"
#include "base/state.h"
#include "game/player.h"
#include "scores/score_screens.h"

#include <ctime>

Game::Game(const FirstState& makeFirstState)
    : readKey([] { return readkey(); }), gameSeed([] { return static_cast<unsigned>(time(nullptr)); }),
      heldKeys(key) {
  setState(makeFirstState(*this));
  keepRunning = true;
}

Game::Game(const std::vector<Level>& levels, Drawing drawing)
    : map(levels, drawing), highScores(HighScoreTable::WithoutFile{}), heldKeys(key) {}

Game::~Game() {
  // The loop ends only through the menu's Exit, so this is the menu: the
  // end-of-game sequence of a running game never runs here.
  delete currentState;
  currentState = nullptr;
  delete player;
  player = nullptr;
  highScores.close();
  destroyActors();   // the enemies, the player being gone already
}

void Game::setState(State* newState) {
  // The successor already exists; the predecessor goes before we return, so
  // the caller's update must not touch its own fields afterwards.
  delete currentState;
  currentState = newState;
}

void Game::drawStatus() {
  if (player != nullptr) {
    drawStatusLine(static_cast<uint32_t>(player->score), player->lives);
  }
}

void Game::enterHighScore() {
  if (player != nullptr) {
    // Saved at once: the place was promised on screen, and the run may yet
    // end by a kill or a logout that never reaches the save at Exit.
    if (::enterHighScore(highScores, static_cast<uint32_t>(player->score), readKey)) {
      highScores.saveTable();
    }
  }
}

void Game::drawHighScores() { ::drawHighScores(highScores); }

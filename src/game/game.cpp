#include "game/game.h"

#include "app/globals.h"
#include "app/state_game_menu.h"
#include "game/enemy.h"
#include "game/player.h"

#include <ctime>

Game::Game()
    : readKey([] { return readkey(); }), gameSeed([] { return static_cast<unsigned>(time(nullptr)); }) {
  setState(new State_GameMenu(this));
  keepRunning = true;
}

Game::~Game() {
  // The loop ends only through the menu's Exit, so this is the menu: the
  // end-of-game sequence of a running game never runs here.
  delete currentState;
  currentState = nullptr;
  delete player;
  player = nullptr;
  for (Enemy* enemy : enemies) {
    delete enemy;
  }
  enemies.clear();
}

void Game::setState(State* newState) {
  // The successor already exists; the predecessor goes before we return, so
  // the caller's update must not touch its own fields afterwards.
  delete currentState;
  currentState = newState;
}

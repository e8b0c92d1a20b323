// The title menu: the title, the version, the high-score box and three items.
// Keys are read as held states; after anything happens the menu ignores the
// keyboard for 15 passes, so a held key repeats every 16 passes.
#pragma once

#include "base/state.h"

#include <cstdint>

class Game;

class State_GameMenu : public State {
public:
  explicit State_GameMenu(Game* game);
  void update() override;
  void draw() override;

  enum Item : uint32_t { StartGame = 0, Mode = 1, Exit = 2 };

  Game* game;
  uint8_t keyDelay = 20;
  uint32_t cursor = StartGame;
  uint8_t orderMode;
};

// The first state of the game: the title menu for this Game.
State* makeTitleMenu(Game& game);

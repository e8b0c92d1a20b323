#include "app/application.h"
#include "base/globals.h"
#include "base/random_draws.h"
#include "app/state_game_menu.h"
#include "game/game.h"

#include <ctime>

int main() {
  seedRandom(static_cast<unsigned>(time(nullptr)));
  Application application;
  Game game(makeTitleMenu);
  while (keepRunning) {
    runPass();
  }
  return 0;
}
END_OF_MAIN()

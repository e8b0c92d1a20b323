#include "app/application.h"
#include "app/globals.h"
#include "game/game.h"

#include <cstdlib>
#include <ctime>

int main() {
  srand(static_cast<unsigned>(time(nullptr)));
  Application application;
  Game game;
  while (keepRunning) {
    runPass();
  }
  return 0;
}
END_OF_MAIN()

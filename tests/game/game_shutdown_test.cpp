// The Game's end: the high-score table is saved while the enemies still
// exist, and only then are they released, in the order of the program's end.
#include "actor_play.h"

#include "support/driver.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

// The enemies under watch, counted as they go by whether user.bin exists;
// a plain array, since a container would release memory of its own here.
const void* watchedEnemies[2] = {};
int releasedBeforeTheSave = 0;
int releasedAfterTheSave = 0;

void noteRelease(void* pointer) {
  struct stat status {};
  for (const void*& watched : watchedEnemies) {
    if (pointer != nullptr && watched == pointer) {
      watched = nullptr;
      (stat("user.bin", &status) == 0 ? releasedAfterTheSave : releasedBeforeTheSave) += 1;
    }
  }
}

}  // namespace

// The program's own allocation, so that every release passes through here.
void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size == 0 ? 1 : size)) {
    return memory;
  }
  throw std::bad_alloc();
}

void operator delete(void* pointer) noexcept {
  noteRelease(pointer);
  std::free(pointer);
}

void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }

namespace {

TEST(GameShutdown, TheTableIsSavedBeforeTheEnemiesGo) {
  startHeadlessAllegro();
  ScopedWorkDir dir;
  writeMapsBin(dir, {caveLevel({".P.E.E", "######"})});
  {
    Game game(noFirstState);
    game.createPlayer();
    game.enterLevel(0);
    ASSERT_EQ(game.enemies.size(), 2u);
    std::copy(game.enemies.begin(), game.enemies.end(), watchedEnemies);
  }
  EXPECT_EQ(releasedBeforeTheSave, 0);
  EXPECT_EQ(releasedAfterTheSave, 2);
}

}  // namespace

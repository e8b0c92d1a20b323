// The generator's one door: the draws are the C library's own, in order, and
// a saved position comes back wherever the generator has gone since.
#include "base/random_draws.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

std::vector<int> draws(int count) {
  std::vector<int> values(count);
  for (int& value : values) {
    value = drawRandom();
  }
  return values;
}

TEST(RandomDraws, APositionComesBackFromBeforeAndBeyondAndFromAnotherSeed) {
  std::srand(7);
  std::vector<int> library(40);
  for (int& value : library) {
    value = std::rand();
  }
  const auto from = [&library](int draw, int count) {
    return std::vector<int>(library.begin() + draw, library.begin() + draw + count);
  };
  seedRandom(7);
  EXPECT_EQ(draws(3), from(0, 3));
  const RandomPosition early = randomPosition();
  EXPECT_EQ(draws(10), from(3, 10)) << "the C library's draws, in order, once positions are kept";
  const RandomPosition late = randomPosition();

  restoreRandom(early);
  EXPECT_EQ(draws(4), from(3, 4)) << "back to a kept position";
  restoreRandom(late);
  EXPECT_EQ(draws(4), from(13, 4)) << "forward to a kept position";
  restoreRandom(RandomPosition{7, 30});
  EXPECT_EQ(draws(5), from(30, 5)) << "beyond what was drawn";
  restoreRandom(RandomPosition{7, 1});
  EXPECT_EQ(draws(2), from(1, 2)) << "before the first kept draw";

  seedRandom(8);
  draws(6);
  restoreRandom(late);
  EXPECT_EQ(draws(4), from(13, 4)) << "after another seed";
}

}  // namespace

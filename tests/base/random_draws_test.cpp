// The generator's one door: the draws are the C library's own, in order, and
// a saved position comes back wherever the generator has gone since.
#include "base/random_draws.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

std::vector<int> libraryDraws(unsigned seed, int count) {
  std::srand(seed);
  std::vector<int> draws(count);
  for (int& draw : draws) {
    draw = std::rand();
  }
  return draws;
}

std::vector<int> draws(int count) {
  std::vector<int> values(count);
  for (int& value : values) {
    value = drawRandom();
  }
  return values;
}

TEST(RandomDrawsTest, DrawsAreTheCLibrarysInOrderWhetherOrNotAPositionWasSaved) {
  std::vector<int> expected = libraryDraws(42, 21);
  const int following = expected.back();
  expected.pop_back();
  seedRandom(42);
  std::vector<int> drawn = draws(5);
  randomPosition();
  const std::vector<int> rest = draws(15);
  drawn.insert(drawn.end(), rest.begin(), rest.end());
  EXPECT_EQ(drawn, expected);
  EXPECT_EQ(std::rand(), following) << "the library's generator stands after the last draw";
}

TEST(RandomDrawsTest, APositionComesBackFromBeforeAndBeyondAndFromAnotherSeed) {
  const std::vector<int> expected = libraryDraws(7, 40);
  const auto from = [&expected](int draw, int count) {
    return std::vector<int>(expected.begin() + draw, expected.begin() + draw + count);
  };
  seedRandom(7);
  draws(3);
  const RandomPosition early = randomPosition();
  draws(10);
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
  EXPECT_EQ(randomPosition(), (RandomPosition{7, 17}));
}

}  // namespace

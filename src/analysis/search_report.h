// What a failed search has to say: which gold it never took, and a picture
// of the cells the player stood in at decisions, so that a level designer
// sees at once which part of the level the player cannot get to.
#pragma once

#include "game/game.h"
#include "level/level.h"

#include <array>
#include <string>
#include <vector>

class SearchReport {
public:
  explicit SearchReport(const Level& level);

  // Called for every state the search keeps, while the game is in it.
  void noteState(const Game& game);

  // The explanation, with a first line naming the gold never taken (or the
  // best run, when each piece was taken on some branch), the reason the
  // search stopped when there is one, and the map of reached cells.
  std::string explain(const std::string& stopReason) const;

private:
  const Level& level_;
  std::vector<int> goldCells_;                 // cell indices of the level's gold
  std::array<bool, CellCount> reached_{};
  std::array<bool, CellCount> goldTaken_{};
  std::vector<int8_t> bestCells_;              // the cells of a state with the least gold left
  int32_t bestGoldLeft_ = -1;
};

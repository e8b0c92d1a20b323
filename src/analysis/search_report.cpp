#include "search_report.h"

#include "leveltext/level_text.h"

#include "game/player.h"
#include "level/cell_kinds.h"

#include <sstream>

namespace {

std::string cellName(int index) {
  return "(" + std::to_string(index / GridSize) + ", " + std::to_string(index % GridSize) + ")";
}

std::string cellList(const std::vector<int>& cells) {
  std::string list;
  for (int index : cells) {
    list += (list.empty() ? "" : " ") + cellName(index);
  }
  return list;
}

}  // namespace

SearchReport::SearchReport(const Level& level) : level_(level) {
  for (int index = 0; index < CellCount; ++index) {
    if (kindOf(level.cells[index]).valuable) {
      goldCells_.push_back(index);
    }
  }
}

void SearchReport::noteState(const Game& game) {
  const int column = game.player->x / CellPixels;
  const int row = game.player->y / CellPixels;
  if (column >= 0 && column < GridSize && row >= 0 && row < GridSize) {
    reached_[cellIndex(column, row)] = true;
  }
  for (int index : goldCells_) {
    if (!kindOf(game.map.cells[index]).valuable) {
      goldTaken_[index] = true;
    }
  }
  if (bestGoldLeft_ < 0 || game.map.goldLeft < bestGoldLeft_) {
    bestGoldLeft_ = game.map.goldLeft;
    bestCells_.assign(game.map.cells, game.map.cells + CellCount);
  }
}

std::string SearchReport::explain(const std::string& stopReason) const {
  std::vector<int> neverTaken;
  std::vector<int> leftInBestRun;
  for (int index : goldCells_) {
    if (!goldTaken_[index]) {
      neverTaken.push_back(index);
    }
    if (!bestCells_.empty() && kindOf(bestCells_[index]).valuable) {
      leftInBestRun.push_back(index);
    }
  }
  std::ostringstream text;
  if (!neverTaken.empty()) {
    text << "the search never took the gold at " << cellList(neverTaken);
  } else {
    text << "every piece of gold was taken on some branch, but never all in one run; the best run left "
         << cellList(leftInBestRun);
  }
  if (!stopReason.empty()) {
    text << " (" << stopReason << ")";
  }
  text << ":\n";
  for (int row = 0; row < GridSize; ++row) {
    text << "  ";
    for (int column = 0; column < GridSize; ++column) {
      const int index = cellIndex(column, row);
      text << (reached_[index] ? '*' : cellChar(level_.cells[index]));
    }
    text << "\n";
  }
  text << "  ('*' marks a cell the player stood in at a decision)";
  return text.str();
}

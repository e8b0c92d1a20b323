#include "editor/level_draft.h"

#include "analysis/reachability.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

namespace {

bool inGrid(int x, int y) { return x >= 0 && x < GridSize && y >= 0 && y < GridSize; }

// The cell at this step of a line of `steps` steps, rounded to the nearest;
// a tie rounds away from the start.
int along(int from, int to, int step, int steps) {
  if (steps == 0) {
    return from;
  }
  const int delta = to - from;
  return from + (2 * delta * step + (delta >= 0 ? steps : -steps)) / (2 * steps);
}

}  // namespace

CellRect CellRect::spanning(int x1, int y1, int x2, int y2) {
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

LevelDraft::LevelDraft(const LevelSource& source) : source_(source) {}

void LevelDraft::startStep() {
  if (!pendingStarted_) {
    pending_.titleBefore = source_.title;
    pending_.noteBefore = source_.note;
    pendingStarted_ = true;
  }
}

void LevelDraft::nameStep(const char* what) {
  startStep();
  if (pending_.what.empty()) {
    pending_.what = what;
  }
}

void LevelDraft::paint(int x, int y, int8_t code) {
  nameStep("Paint");
  if (inGrid(x, y)) {
    setCell(cellIndex(x, y), code);
  }
}

void LevelDraft::paintLine(int fromX, int fromY, int toX, int toY, int8_t code) {
  const int steps = std::max(std::abs(toX - fromX), std::abs(toY - fromY));
  for (int step = 0; step <= steps; ++step) {
    paint(along(fromX, toX, step, steps), along(fromY, toY, step, steps), code);
  }
}

void LevelDraft::fillRectangle(int fromX, int fromY, int toX, int toY, int8_t code) {
  nameStep("Rectangle");
  for (int y = std::min(fromY, toY); y <= std::max(fromY, toY); ++y) {
    for (int x = std::min(fromX, toX); x <= std::max(fromX, toX); ++x) {
      paint(x, y, code);
    }
  }
}

void LevelDraft::floodFill(int x, int y, int8_t code) {
  if (!inGrid(x, y) || cellAt(x, y) == code) {
    return;
  }
  nameStep("Fill");
  const int8_t replaced = cellAt(x, y);
  std::vector<std::array<int, 2>> waiting{{x, y}};
  while (!waiting.empty()) {
    const auto [cellX, cellY] = waiting.back();
    waiting.pop_back();
    if (!inGrid(cellX, cellY) || cellAt(cellX, cellY) != replaced) {
      continue;
    }
    setCell(cellIndex(cellX, cellY), code);
    waiting.insert(waiting.end(), {{cellX - 1, cellY}, {cellX + 1, cellY}, {cellX, cellY - 1}, {cellX, cellY + 1}});
  }
}

CellClip LevelDraft::copy(const CellRect& area) const {
  const CellRect inside = {std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, GridSize - 1),
                           std::min(area.bottom, GridSize - 1)};
  CellClip clip;
  if (inside.right < inside.left || inside.bottom < inside.top) {
    return clip;
  }
  clip.width = inside.width();
  clip.height = inside.height();
  for (int y = inside.top; y <= inside.bottom; ++y) {
    for (int x = inside.left; x <= inside.right; ++x) {
      clip.cells.push_back(cellAt(x, y));
    }
  }
  return clip;
}

void LevelDraft::paste(const CellClip& clip, int left, int top) {
  nameStep("Paste");
  for (int y = 0; y < clip.height; ++y) {
    for (int x = 0; x < clip.width; ++x) {
      paint(left + x, top + y, clip.at(x, y));
    }
  }
}

void LevelDraft::mirror(const CellRect& area) {
  nameStep("Mirror");
  const CellClip clip = copy(area);
  for (int y = 0; y < clip.height; ++y) {
    for (int x = 0; x < clip.width; ++x) {
      paint(area.left + clip.width - 1 - x, area.top + y, clip.at(x, y));
    }
  }
}

void LevelDraft::setTitle(const std::string& title) {
  nameStep("Title");
  source_.title = title;
}

void LevelDraft::setNote(const std::string& note) {
  nameStep("Note");
  source_.note = note;
}

void LevelDraft::setCell(int index, int8_t code) {
  int8_t& cell = source_.level.cells[index];
  if (cell == code) {
    return;
  }
  startStep();
  if (pendingSlot_[index] < 0) {
    pendingSlot_[index] = static_cast<int>(pending_.cells.size());
    pending_.cells.push_back({index, cell, code});
  } else {
    pending_.cells[pendingSlot_[index]].after = code;
  }
  cell = code;
  markChanged(index);
}

void LevelDraft::markChanged(int index) {
  unreachable_.reset();
  if (!changedFlags_[index]) {
    changedFlags_[index] = true;
    changed_.push_back(index);
  }
}

void LevelDraft::endStroke() {
  if (!pendingStarted_) {
    return;
  }
  Step step = std::move(pending_);
  pending_ = Step();
  pendingStarted_ = false;
  for (const CellChange& change : step.cells) {
    pendingSlot_[change.index] = -1;
  }
  step.cells.erase(std::remove_if(step.cells.begin(), step.cells.end(),
                                  [](const CellChange& change) { return change.before == change.after; }),
                   step.cells.end());
  step.titleAfter = source_.title;
  step.noteAfter = source_.note;
  if (step.cells.empty() && step.titleAfter == step.titleBefore && step.noteAfter == step.noteBefore) {
    return;
  }
  history_.resize(position_);
  if (savedPosition_ && *savedPosition_ > position_) {
    savedPosition_.reset();
  }
  history_.push_back(std::move(step));
  ++position_;
  if (history_.size() > MostSteps) {
    history_.erase(history_.begin());
    --position_;
    // The saved level, if it was the oldest state, can no longer be reached.
    savedPosition_ = savedPosition_ && *savedPosition_ > 0 ? std::optional<size_t>(*savedPosition_ - 1) : std::nullopt;
  }
}

std::vector<HistoryEntry> LevelDraft::history() const {
  std::vector<HistoryEntry> entries;
  for (const Step& step : history_) {
    entries.push_back({step.what, static_cast<int>(step.cells.size())});
  }
  return entries;
}

void LevelDraft::apply(const Step& step, bool forward) {
  for (const CellChange& change : step.cells) {
    source_.level.cells[change.index] = forward ? change.after : change.before;
    markChanged(change.index);
  }
  source_.title = forward ? step.titleAfter : step.titleBefore;
  source_.note = forward ? step.noteAfter : step.noteBefore;
}

bool LevelDraft::undo() {
  endStroke();
  if (position_ == 0) {
    return false;
  }
  --position_;
  apply(history_[position_], false);
  return true;
}

bool LevelDraft::redo() {
  endStroke();
  if (position_ == history_.size()) {
    return false;
  }
  apply(history_[position_], true);
  ++position_;
  return true;
}

bool LevelDraft::modified() const {
  const bool pendingChange = pendingStarted_ && (!pending_.cells.empty() || source_.title != pending_.titleBefore ||
                                                 source_.note != pending_.noteBefore);
  return pendingChange || savedPosition_ != position_;
}

void LevelDraft::markSaved() {
  endStroke();
  savedPosition_ = position_;
}

std::vector<int> LevelDraft::takeChangedCells() {
  for (int index : changed_) {
    changedFlags_[index] = false;
  }
  return std::exchange(changed_, {});
}

int LevelDraft::goldCount() const { return countOf(source_.level, Gold); }

int LevelDraft::enemyCount() const { return countOf(source_.level, EnemyStart); }

int LevelDraft::playerStartCount() const { return countOf(source_.level, PlayerStart); }

std::optional<int> LevelDraft::playerStart() const {
  const int start = playerStartIndex(source_.level);
  return start < 0 ? std::nullopt : std::optional<int>(start);
}

const std::vector<int>& LevelDraft::unreachableGold() const {
  if (!unreachable_) {
    unreachable_ = ::unreachableGold(source_.level);
  }
  return *unreachable_;
}

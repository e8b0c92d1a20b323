#include "analysis/dead_ends.h"

#include "enemy_check.h"
#include "gold_set.h"
#include "situation_graph.h"

#include "analysis/reachability.h"

#include "game/running_update.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <numeric>

namespace {

// How many ways on (largest sets of gold one way passes) a part of the level
// keeps, and how many smallest sets of gold taken a situation keeps. Fewer
// ways on can only make more dead ends; fewer sets taken could hide one, so
// reaching that limit marks the report incomplete.
constexpr size_t MaxWaysOn = 32;
constexpr size_t MaxTakenSets = 256;
// The walk for a way out is a guess's worth: the first largest set of gold
// taken that reaches each situation.
constexpr size_t MaxWayOutSets = 1;

GoldSet goldSetOf(size_t goldCount, const std::vector<uint16_t>& golds) {
  GoldSet set(goldCount);
  set.addAll(golds);
  return set;
}

// Whether taking this gold ends the level, by the update's own rule.
bool clears(const GoldSet& taken, size_t goldCount) {
  return clearsLevel(static_cast<int32_t>(goldCount - taken.count()));
}

// The strongly connected parts of the situations (Tarjan's method, without
// recursion), numbered so that every part comes after the parts it leads to.
class StrongParts {
public:
  explicit StrongParts(const SituationGraph& graph) : graph_(graph) {
    const size_t count = graph.situations().size();
    partOf_.assign(count, -1);
    onStack_.assign(count, false);
    order_.assign(count, -1);
    low_.assign(count, 0);
    for (size_t root = 0; root < count; ++root) {
      if (order_[root] < 0) {
        visit(static_cast<int32_t>(root));
      }
    }
  }
  int32_t partOf(size_t situation) const { return partOf_[situation]; }
  int32_t partCount() const { return partCount_; }

private:
  struct Frame {
    int32_t situation;
    size_t nextMove;
  };

  void open(int32_t situation, std::vector<Frame>& frames) {
    order_[situation] = low_[situation] = nextOrder_++;
    stack_.push_back(situation);
    onStack_[situation] = true;
    frames.push_back({situation, graph_.firstMove(situation)});
  }

  void visit(int32_t root) {
    std::vector<Frame> frames;
    open(root, frames);
    while (!frames.empty()) {
      Frame& frame = frames.back();
      const int32_t at = frame.situation;
      if (frame.nextMove < graph_.firstMove(at + 1)) {
        const int32_t to = graph_.moves()[frame.nextMove++].to;
        if (to < 0) {
          continue;
        }
        if (order_[to] < 0) {
          open(to, frames);
        } else if (onStack_[to]) {
          low_[at] = std::min(low_[at], order_[to]);
        }
        continue;
      }
      frames.pop_back();
      if (!frames.empty()) {
        low_[frames.back().situation] = std::min(low_[frames.back().situation], low_[at]);
      }
      if (low_[at] == order_[at]) {
        int32_t member = -1;
        do {
          member = stack_.back();
          stack_.pop_back();
          onStack_[member] = false;
          partOf_[member] = partCount_;
        } while (member != at);
        ++partCount_;
      }
    }
  }

  const SituationGraph& graph_;
  std::vector<int32_t> partOf_;
  std::vector<int32_t> order_;
  std::vector<int32_t> low_;
  std::vector<int32_t> stack_;
  std::vector<bool> onStack_;
  int32_t nextOrder_ = 0;
  int32_t partCount_ = 0;
};

// For each strongly connected part: the largest sets of gold that one way on
// from it can pass (inside a part every situation reaches every other, so
// all the gold taken within it comes with any way out of it), and whether a
// life can be lost from it under the rules alone. A way may end in a death:
// one that takes the last gold on the way has cleared the level first.
struct WaysOn {
  std::vector<std::vector<GoldSet>> sets;
  std::vector<bool> canDie;
  bool complete = true;
};

WaysOn waysOn(const SituationGraph& graph, const StrongParts& parts) {
  const size_t goldCount = graph.goldCells().size();
  const int32_t partCount = parts.partCount();
  std::vector<std::vector<int32_t>> members(partCount);
  for (size_t situation = 0; situation < graph.situations().size(); ++situation) {
    members[parts.partOf(situation)].push_back(static_cast<int32_t>(situation));
  }
  WaysOn ways;
  ways.sets.resize(partCount);
  ways.canDie.assign(partCount, false);
  for (int32_t part = 0; part < partCount; ++part) {
    GoldSet within(goldCount);
    bool canDie = false;
    for (int32_t situation : members[part]) {
      for (size_t move = graph.firstMove(situation); move < graph.firstMove(situation + 1); ++move) {
        const SituationMove& step = graph.moves()[move];
        canDie = canDie || step.to < 0 || ways.canDie[parts.partOf(step.to)];
        if (step.to >= 0 && parts.partOf(step.to) == part) {
          within.addAll(step.gold);
        }
      }
    }
    std::vector<GoldSet>& sets = ways.sets[part];
    for (int32_t situation : members[part]) {
      for (size_t move = graph.firstMove(situation); move < graph.firstMove(situation + 1); ++move) {
        const SituationMove& step = graph.moves()[move];
        if (step.to >= 0 && parts.partOf(step.to) == part) {
          continue;
        }
        GoldSet passed = goldSetOf(goldCount, step.gold);
        passed.unite(within);
        if (step.to < 0) {
          ways.complete = keepExtreme(sets, passed, Keep::Largest, MaxWaysOn) != Kept::Full && ways.complete;
          continue;
        }
        for (const GoldSet& after : ways.sets[parts.partOf(step.to)]) {
          GoldSet way = passed;
          way.unite(after);
          ways.complete = keepExtreme(sets, way, Keep::Largest, MaxWaysOn) != Kept::Full && ways.complete;
        }
      }
    }
    keepExtreme(sets, within, Keep::Largest, MaxWaysOn + 1);
    ways.canDie[part] = canDie;
  }
  return ways;
}

// A situation with the gold taken so far, reached from the start.
struct Reached {
  int32_t situation;
  GoldSet taken;
  int32_t parent;   // -1 at the start
  int32_t move;     // the move from the parent
};

// Every situation with the smallest sets of gold taken that reach it (more
// gold taken never makes a dead end of a live one), breadth first, so that
// the first time a situation is reached dead comes by the fewest moves. Or,
// to find a way that clears the level, with the largest sets (less gold
// taken never clears where more does not), up to the first clear.
struct Reachable {
  std::vector<Reached> reached;
  std::vector<int32_t> firstDead;   // per situation: the first dead Reached, or -1
  bool complete = true;
  bool cleared = false;
  // The first clear: from this Reached (-1: the settle at the start) by
  // this move.
  int32_t clearedFrom = -1;
  int32_t clearingMove = -1;
};

bool isDead(const GoldSet& taken, const std::vector<GoldSet>& ways, size_t goldCount) {
  for (const GoldSet& way : ways) {
    GoldSet cleared = way;
    cleared.unite(taken);
    if (clears(cleared, goldCount)) {
      return false;
    }
  }
  return true;
}

Reachable reachable(const SituationGraph& graph, const StrongParts& parts, const WaysOn& ways, Keep keep) {
  const size_t goldCount = graph.goldCells().size();
  Reachable result;
  result.firstDead.assign(graph.situations().size(), -1);
  const GoldSet atStart = goldSetOf(goldCount, graph.settleGold());
  result.cleared = clears(atStart, goldCount);
  if (graph.start() < 0 || result.cleared) {
    return result;
  }
  std::vector<std::vector<GoldSet>> takenAt(graph.situations().size());
  takenAt[graph.start()].push_back(atStart);
  result.reached.push_back({graph.start(), atStart, -1, -1});
  for (size_t next = 0; next < result.reached.size(); ++next) {
    const Reached here = result.reached[next];
    if (keep == Keep::Smallest && result.firstDead[here.situation] < 0 &&
        isDead(here.taken, ways.sets[parts.partOf(here.situation)], goldCount)) {
      result.firstDead[here.situation] = static_cast<int32_t>(next);
    }
    for (size_t move = graph.firstMove(here.situation); move < graph.firstMove(here.situation + 1); ++move) {
      const SituationMove& step = graph.moves()[move];
      GoldSet taken = here.taken;
      taken.addAll(step.gold);
      // Even a move that ends in a death clears the level when it takes
      // the last gold: the update ends the level first.
      if (clears(taken, goldCount)) {
        if (!result.cleared) {
          result.cleared = true;
          result.clearedFrom = static_cast<int32_t>(next);
          result.clearingMove = static_cast<int32_t>(move);
        }
        if (keep == Keep::Largest) {
          return result;
        }
        continue;
      }
      if (step.to < 0) {
        continue;
      }
      const Kept kept =
          keepExtreme(takenAt[step.to], taken, keep, keep == Keep::Smallest ? MaxTakenSets : MaxWayOutSets);
      result.complete = result.complete && kept != Kept::Full;
      if (kept == Kept::Added) {
        result.reached.push_back({step.to, taken, static_cast<int32_t>(next), static_cast<int32_t>(move)});
      }
    }
  }
  return result;
}

void recordMove(Replay& recorder, const SituationMove& step) {
  holdKeys(recorder, step.keys, step.heldUpdates);
  holdKeys(recorder, 0, step.idleUpdates);
}

// From the level's start into a Reached (-1: the first situation, before
// any move), as the graph played it.
Replay wayTo(const SituationGraph& graph, const Reachable& reach, int32_t reachedIndex) {
  std::vector<int32_t> moves;
  for (int32_t at = reachedIndex; at >= 0 && reach.reached[at].parent >= 0; at = reach.reached[at].parent) {
    moves.push_back(reach.reached[at].move);
  }
  Replay recorder;
  holdKeys(recorder, 0, graph.settleUpdates());
  for (auto move = moves.rbegin(); move != moves.rend(); ++move) {
    recordMove(recorder, graph.moves()[*move]);
  }
  return recorder;
}

std::vector<KeyRun> wayOut(const SituationGraph& graph, const Reachable& reach) {
  if (!reach.cleared) {
    return {};
  }
  Replay recorder = wayTo(graph, reach, reach.clearedFrom);
  if (reach.clearingMove >= 0) {
    recordMove(recorder, graph.moves()[reach.clearingMove]);
  }
  // The graph counts the gold of the cell a move ends in as taken; the game
  // takes it at the start of the next update.
  holdKeys(recorder, 0, 1);
  return recorder.keys;
}

// Dead-end situations where no hole is open, joined into one dead end when a
// move leads from one to the other and both are of one kind.
class DeadEndGroups {
public:
  DeadEndGroups(const SituationGraph& graph, const std::vector<int32_t>& firstDead, const std::vector<bool>& canDie)
      : root_(graph.situations().size()) {
    std::iota(root_.begin(), root_.end(), 0);
    const auto counts = [&](int32_t situation) {
      const Situation& place = graph.situations()[situation];
      return firstDead[situation] >= 0 && (place.openHoles == 0 || place.fallsForever);
    };
    for (const SituationMove& step : graph.moves()) {
      if (step.to >= 0 && counts(step.from) && counts(step.to) && canDie[step.from] == canDie[step.to]) {
        root_[find(step.from)] = find(step.to);
      }
    }
    for (size_t situation = 0; situation < root_.size(); ++situation) {
      if (counts(static_cast<int32_t>(situation))) {
        members_[find(static_cast<int32_t>(situation))].push_back(static_cast<int32_t>(situation));
      }
    }
  }
  // Each group's situations, keyed by an arbitrary member.
  std::vector<std::vector<int32_t>> groups() const {
    std::vector<std::vector<int32_t>> all;
    for (const auto& [root, members] : members_) {
      all.push_back(members);
    }
    return all;
  }

private:
  int32_t find(int32_t situation) {
    while (root_[situation] != situation) {
      root_[situation] = root_[root_[situation]];
      situation = root_[situation];
    }
    return situation;
  }
  std::vector<int32_t> root_;
  std::map<int32_t, std::vector<int32_t>> members_;
};

std::vector<int> cellsOf(const SituationGraph& graph, const std::vector<int32_t>& members) {
  std::vector<int> cells;
  for (int32_t member : members) {
    const Situation& place = graph.situations()[member];
    const int column = place.x / CellPixels;
    if (place.fallsForever) {
      for (int row = 0; row < GridSize; ++row) {
        cells.push_back(cellIndex(column, row));
      }
    } else {
      cells.push_back(cellIndex(column, std::clamp(place.y / CellPixels, 0, GridSize - 1)));
    }
  }
  std::sort(cells.begin(), cells.end());
  cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
  return cells;
}

// The graph leaves ways out (one hole open at a time, waits in steps), so a
// place it finds no way on from is a dead end for sure only when a player
// granted every dig, drop and climb the rules could allow cannot clear the
// level from there either, or when he falls for ever and reads no key.
bool surelyDead(const Level& level, const SituationGraph& graph, const Reached& entry) {
  const Situation& place = graph.situations()[entry.situation];
  if (place.fallsForever) {
    return true;
  }
  Level rest = level;
  for (size_t gold = 0; gold < graph.goldCells().size(); ++gold) {
    if (entry.taken.has(gold)) {
      rest.cells[graph.goldCells()[gold]] = Empty;
    }
  }
  const int column = place.x / CellPixels;
  const int row = std::clamp(place.y / CellPixels, 0, GridSize - 1);
  return !findLevelFaultsFrom(rest, column, row).empty();
}

}  // namespace

size_t DeadEndReport::count(DeadEndKind kind) const {
  return static_cast<size_t>(std::count_if(deadEnds.begin(), deadEnds.end(),
                                           [kind](const DeadEnd& deadEnd) { return deadEnd.kind == kind; }));
}

DeadEndReport findDeadEnds(const Level& level, const DeadEndLimits& limits) {
  const auto started = std::chrono::steady_clock::now();
  const SituationGraph graph(level, limits.maxSituations);
  const StrongParts parts(graph);
  const WaysOn ways = waysOn(graph, parts);
  const Reachable reach = reachable(graph, parts, ways, Keep::Smallest);
  std::vector<bool> canDie(graph.situations().size());
  for (size_t situation = 0; situation < canDie.size(); ++situation) {
    canDie[situation] = ways.canDie[parts.partOf(situation)];
  }
  DeadEndReport report;
  report.situations = graph.situations().size();
  report.complete = graph.complete() && reach.complete;
  if (limits.findWayOut) {
    report.wayOut = wayOut(graph, reach.cleared ? reach : reachable(graph, parts, ways, Keep::Largest));
  }
  std::vector<std::pair<int32_t, DeadEnd>> found;   // with the first Reached, for the order
  for (const std::vector<int32_t>& members : DeadEndGroups(graph, reach.firstDead, canDie).groups()) {
    int32_t first = reach.firstDead[members.front()];
    for (int32_t member : members) {
      first = std::min(first, reach.firstDead[member]);
    }
    DeadEnd deadEnd;
    deadEnd.cells = cellsOf(graph, members);
    deadEnd.way = wayTo(graph, reach, first).keys;
    deadEnd.kind = canDie[members.front()] ? DeadEndKind::CostsLife : DeadEndKind::Trap;
    if (!surelyDead(level, graph, reach.reached[first])) {
      deadEnd.kind = DeadEndKind::Unsure;
    }
    const Situation& entry = graph.situations()[reach.reached[first].situation];
    if (deadEnd.kind == DeadEndKind::Trap && !entry.fallsForever &&
        enemiesCatchWaitingPlayer(level, deadEnd.way, entry.x, entry.y, limits)) {
      deadEnd.kind = DeadEndKind::CostsLife;
      deadEnd.enemyCatches = true;
    }
    found.emplace_back(first, std::move(deadEnd));
  }
  std::sort(found.begin(), found.end(), [](const auto& one, const auto& other) {
    if (one.second.kind != other.second.kind) {
      return one.second.kind < other.second.kind;
    }
    return one.first < other.first;
  });
  for (auto& entry : found) {
    report.deadEnds.push_back(std::move(entry.second));
  }
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return report;
}

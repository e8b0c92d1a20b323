#include "analysis/level_search.h"

#include "analysis/gold_distances.h"
#include "analysis/human_margin.h"
#include "analysis/level_session.h"
#include "search_report.h"

#include "game/motion.h"

#include "analysis/reachability.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <memory>
#include <optional>
#include <queue>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr int EnemySpanShift = 3;    // respawn delays compared in spans of 8 frames
// The order of the search among states with the same gold left: updates
// spent, plus a charge per dig so that digging is tried where walking fails,
// plus the weighted estimate to the nearest gold.
constexpr uint32_t DigCharge = 32;
// With room for a person, a press the player does not live through made
// late is charged as this many updates (ten seconds of play): a way with
// room comes first wherever a detour of less finds one, and a tight press
// is still taken where none does.
constexpr uint32_t TightPressCharge = 1024;

// Each setting first searches this many states; every round after doubles
// the slice, until one clears the level or the budget is spent.
constexpr size_t FirstSlice = 1024;
// A first guess is followed for at most this many updates, so that one
// holding a key for ever costs no more than that.
constexpr size_t MaxGuessUpdates = size_t{1} << 20;

// How coarse the search is. No one setting suits every level: holes open at
// once multiply the states, so a level that needs many of them drowns a
// fine search, while a coarse one misses the moment a level needs. The
// searches of all settings go on side by side, in growing slices of work.
struct SearchSettings {
  int refillSpanShift;    // holes compared in spans of 2^shift updates
  size_t maxOpenHoles;    // no digging while this many wait to refill
  uint32_t guideWeight;   // how greedily the search heads for the gold
  // 0: fewer gold left always comes first. Otherwise a piece of gold is worth
  // this many updates, so that the search can give up a greedy run that
  // digs itself into a corner of the level for an earlier, wider state.
  uint32_t goldWorth;
  // With enemies, how many states differing only in where the enemies are
  // are kept per place of the player; 0 keeps all. A few are enough to
  // dodge or trap them, and more drown the search in enemy positions.
  uint32_t enemyVariants;
  // Room for a person: each press is also made this many updates late, and
  // one the player does not live through so, to his next decision, is
  // charged TightPressCharge; 0 takes every press as it comes. A way found
  // so leaves a person time to react where a machine's way would not.
  uint32_t lateTicks;
};

// The first settings are narrow and quick: one hole at a time and two enemy
// layouts per place clear most levels, chasers and all; tried first with
// room for a person's late presses, so that a way with room is preferred
// wherever one is found, and then without, for the levels where the late
// plays cost more than they find. The wider ones follow for levels that need several
// holes open at once, or no room at some press: every enemy layout with
// holes told apart in spans of 64 updates, and two holes at once in spans
// of 16. (Others were tried on the shipped set, and each level one of them
// cleared, these clear sooner.)
const SearchSettings Portfolio[] = {
    {4, 1, 3, 0, 2, RoomyMarginUpdates},
    {4, 1, 3, 0, 2, 0},
    {6, CellCount, 3, 0, 0, 0},
    {4, 2, 2, 0, 0, 0},
};

// Room costs the most per state, and where a way with room is found at all
// it is found early: the room-first search takes twice the slice of the
// others up to this many states, so that it clears the levels it can
// before a machine's way is found, and a quarter of each slice after.
constexpr size_t RoomyFullSlice = 4096;

size_t sliceFor(const SearchSettings& settings, size_t slice) {
  return settings.lateTicks == 0 ? slice : std::max(std::min(2 * slice, RoomyFullSlice), slice / 4);
}

struct MacroAction {
  uint8_t keys;
  uint8_t heldTicks;
  bool untilRefill = false;  // hold the keys until the oldest hole closes instead
};

// Waiting for a refill is one step rather than a run of short waits, so that
// letting a trapped chaser be crushed, or a hole close to walk over it, is
// as near to the search as any move.
const std::vector<MacroAction> PlainActions = {
    {HoldLeft, 1}, {HoldRight, 1}, {HoldUp, 1},    {HoldDown, 1},
    {HoldDigLeft, 1}, {HoldDigRight, 1}, {0, 16}, {0, 0, true}};

// With enemies about, timing matters: a short wait, and digging behind while
// running away.
const std::vector<MacroAction> ChaseActions = {
    {HoldLeft, 1}, {HoldRight, 1}, {HoldUp, 1}, {HoldDown, 1}, {HoldDigLeft, 1}, {HoldDigRight, 1},
    {0, 16}, {0, 4}, {0, 0, true}, {HoldLeft | HoldDigRight, 1}, {HoldRight | HoldDigLeft, 1}};

struct SearchNode {
  int32_t parent;
  uint8_t keys;
  uint8_t heldTicks;
  uint16_t idleTicks;
  uint32_t ticks;
  int32_t goldLeft;
  uint32_t digs;
  uint32_t tightPresses = 0;   // presses a person could not make late
};

struct OpenEntry {
  int32_t goldLeft;
  uint64_t order;
  int32_t node;
  bool operator>(const OpenEntry& other) const {
    if (goldLeft != other.goldLeft) {
      return goldLeft > other.goldLeft;
    }
    if (order != other.order) {
      return order > other.order;
    }
    return node > other.node;
  }
};

class KeyHash {
public:
  void add(uint64_t value) {
    hash_ ^= value + 0x9e3779b97f4a7c15ULL + (hash_ << 6) + (hash_ >> 2);
  }
  uint64_t value() const { return hash_; }

private:
  uint64_t hash_ = 0;
};

int nearestCell(int16_t pixel) { return (pixel + CellPixels / 2) / CellPixels; }

// Where the player stands and what the level looks like: the gold taken,
// the holes open and when they are due to refill. Nothing else changes a
// cell: a hole is dug only in brick, and it refills with brick.
uint64_t placeKey(const Game& game, const std::vector<uint16_t>& goldCells, int refillSpanShift) {
  KeyHash key;
  key.add(static_cast<uint16_t>(game.player->x) | (static_cast<uint64_t>(static_cast<uint16_t>(game.player->y)) << 16));
  for (uint16_t cell : goldCells) {
    if (!kindOf(game.map.cells[cell]).valuable) {
      key.add(cell);
    }
  }
  uint32_t dueIn = game.map.refillCountdown;
  for (const RefillCell& hole : game.map.refillQueue) {
    key.add((static_cast<uint64_t>(dueIn >> refillSpanShift) << 16) | (hole.x << 8) | hole.y);
    dueIn += RefillDelay;
  }
  return key.value();
}

// The place with the enemies near the same cells, heading the same way.
uint64_t stateKey(uint64_t place, const Game& game) {
  KeyHash key;
  key.add(place);
  for (const Enemy* enemy : game.enemies) {
    const uint64_t hidden = enemy->respawnDelay == 0 ? 0 : 1 + (enemy->respawnDelay >> EnemySpanShift);
    key.add((hidden << 32) | (static_cast<uint64_t>(enemy->direction) << 24) |
            (static_cast<uint64_t>(nearestCell(enemy->x) & 0xFF) << 8) | (nearestCell(enemy->y) & 0xFF));
  }
  return key.value();
}

// Standing squarely in a dug hole with brick on both sides and below:
// nothing but the refill can happen to the player now, and it kills him.
// (Off the grid lines, after a refill caught a fall halfway, other rules
// hold, so those positions are left to the simulation.)
bool entombed(const Game& game) {
  const TileMap& map = game.map;
  if (game.player->x % CellPixels != 0 || game.player->y % CellPixels != 0) {
    return false;
  }
  const int column = game.player->x / CellPixels;
  const int row = game.player->y / CellPixels;
  bool queued = false;
  for (const RefillCell& hole : map.refillQueue) {
    queued = queued || (hole.x == column && hole.y == row);
  }
  const auto walls = [&map](int x, int y) { return kindOf(map.cellAt(x, y)).stopsMoves; };
  return queued && walls(column - 1, row) && walls(column + 1, row) && walls(column, row + 1);
}

struct StateKeys {
  uint64_t place;
  uint64_t state;
};

class Search {
public:
  // From `from`, or from the level as entered without one.
  Search(const Level& level, bool enemies, unsigned seed, const SearchSettings& settings, SearchReport& report,
         const std::vector<uint8_t>& guess, const SavedPlay* from = nullptr,
         const KnownToClear* knownToClear = nullptr)
      : session_(level, enemies, seed), settings_(settings),
        actions_(enemies ? ChaseActions : PlainActions), guide_(level), report_(report),
        knownToClear_(knownToClear), entered_(from != nullptr ? *from : session_.save()),
        guess_(settings.lateTicks == 0 ? guess : std::vector<uint8_t>{}) {
    for (uint16_t cell = 0; cell < CellCount; ++cell) {
      if (kindOf(session_.game().map.cells[cell]).valuable) {
        goldCells_.push_back(cell);
      }
    }
  }

  // Searches on until it has kept `states` states, cleared the level or run
  // out of states to expand; answers the node that cleared it, or -1.
  int32_t runUntil(size_t states, const std::function<void()>& onProgress);
  bool exhausted() const { return started_ && open_.empty() && clearedNode_ < 0; }
  size_t statesKept() const { return nodes_.size(); }
  const SearchSettings& settings() const { return settings_; }
  SearchResult finish(int32_t clearedNode);

private:
  void start();
  // Adds the moments along guess_ after the first node, as a chain of
  // nodes, until the guess goes wrong or ends.
  void followGuess();
  // Plays a macro step from the session's current state; answers how it
  // ended and fills the tick counts.
  UpdateResult play(const MacroAction& action, SearchNode& node);
  // The moment settings_.lateTicks updates after `from`, nothing held
  // meanwhile, from which every press is tried late; empty when the wait
  // itself ends the play, as `waited` says.
  std::optional<SavedPlay> waitLate(const SavedPlay& from, UpdateResult& waited);
  // Whether a player who makes the press of `action` from the late moment
  // lives to his next decision.
  bool survivesLate(const std::optional<SavedPlay>& late, UpdateResult waited, const MacroAction& action);
  StateKeys keysNow();
  // Keeps the session's state as a node, unless its keys are known.
  // A step of a guess is kept even where the search has been, so that the
  // guess is followed to its end.
  // saved: the moment as the session holds it, when already saved.
  void addNode(const SearchNode& node, const StateKeys& keys, bool evenIfSeen = false,
               std::optional<SavedPlay> saved = std::nullopt);
  void addNode(const SearchNode& node) { addNode(node, keysNow()); }
  // Whether play has cleared the level, or reached a moment known to.
  bool reachedClear(UpdateResult result);
  void expand(int32_t index);

  LevelSession session_;
  SearchSettings settings_;
  const std::vector<MacroAction>& actions_;
  GoldDistances guide_;
  SearchReport& report_;
  const KnownToClear* knownToClear_;
  std::vector<SearchNode> nodes_;
  std::vector<std::unique_ptr<SavedPlay>> saved_;
  std::priority_queue<OpenEntry, std::vector<OpenEntry>, std::greater<OpenEntry>> open_;
  std::unordered_set<uint64_t> seen_;
  std::unordered_map<uint64_t, uint32_t> variantsAt_;   // states kept per place
  std::vector<uint16_t> goldCells_;   // where the level's gold lies as entered
  double seconds_ = 0.0;   // spent in runUntil, for the report only
  bool started_ = false;
  int32_t clearedNode_ = -1;
  // The level as entered (or the moment searched from), with the generator
  // and the clock: the searches take turns, and the others have moved both
  // on since.
  SavedPlay entered_;
  std::vector<uint8_t> guess_;   // the keys of each update of a way to start from
};

UpdateResult Search::play(const MacroAction& action, SearchNode& node) {
  UpdateResult result = UpdateResult::Playing;
  for (uint8_t tick = 0; tick < action.heldTicks && result == UpdateResult::Playing; ++tick) {
    result = session_.advance(action.keys);
    ++node.heldTicks;
  }
  if (action.untilRefill) {
    const size_t holes = session_.game().map.refillQueue.size();
    while (result == UpdateResult::Playing && session_.game().map.refillQueue.size() == holes) {
      result = session_.advance(action.keys);
      ++node.heldTicks;
    }
  }
  while (result == UpdateResult::Playing && !session_.atDecision()) {
    // A fall through an open column wraps from the bottom row to the top
    // for ever: a macro step that has not reached a decision is dropped.
    if (node.idleTicks >= FallsForeverAfterUpdates) {
      return UpdateResult::Died;
    }
    result = session_.advance(0);
    ++node.idleTicks;
  }
  node.ticks += node.heldTicks + node.idleTicks;
  return result;
}

std::optional<SavedPlay> Search::waitLate(const SavedPlay& from, UpdateResult& waited) {
  session_.restore(from);
  waited = UpdateResult::Playing;
  for (uint32_t tick = 0; tick < settings_.lateTicks && waited == UpdateResult::Playing; ++tick) {
    waited = session_.advance(0);
  }
  if (waited != UpdateResult::Playing) {
    return std::nullopt;
  }
  return session_.save();
}

bool Search::survivesLate(const std::optional<SavedPlay>& late, UpdateResult waited, const MacroAction& action) {
  if (!late) {
    return waited == UpdateResult::Cleared;
  }
  session_.restore(*late);
  SearchNode node{};
  const UpdateResult result = play(action, node);
  return result == UpdateResult::Cleared || (result == UpdateResult::Playing && !entombed(session_.game()));
}

StateKeys Search::keysNow() {
  const Game& game = session_.game();
  const uint64_t place = placeKey(game, goldCells_, settings_.refillSpanShift);
  return {place, stateKey(place, game)};
}

void Search::addNode(const SearchNode& node, const StateKeys& keys, bool evenIfSeen, std::optional<SavedPlay> saved) {
  const Game& game = session_.game();
  const uint64_t place = keys.place;
  const bool unseen = seen_.insert(keys.state).second;
  const bool crowded = unseen && settings_.enemyVariants != 0 && ++variantsAt_[place] > settings_.enemyVariants;
  if ((!unseen || crowded) && !evenIfSeen) {
    return;
  }
  const auto index = static_cast<int32_t>(nodes_.size());
  nodes_.push_back(node);
  report_.noteState(game);
  saved_.push_back(std::make_unique<SavedPlay>(saved ? std::move(*saved) : session_.save()));
  const int column = game.player->x / CellPixels;
  const int row = game.player->y / CellPixels;
  const uint64_t spent =
      node.ticks + uint64_t{DigCharge} * node.digs + uint64_t{TightPressCharge} * node.tightPresses;
  const uint64_t order = spent + uint64_t{settings_.guideWeight} * guide_.toNearestGold(column, row, game.map.cells);
  if (settings_.goldWorth == 0) {
    open_.push({node.goldLeft, order, index});
  } else {
    open_.push({0, order + uint64_t{settings_.goldWorth} * static_cast<uint32_t>(node.goldLeft), index});
  }
}

bool Search::reachedClear(UpdateResult result) {
  if (result == UpdateResult::Cleared) {
    return true;
  }
  return result == UpdateResult::Playing && knownToClear_ != nullptr && (*knownToClear_)(session_.save());
}

void Search::expand(int32_t index) {
  const std::unique_ptr<SavedPlay> from = std::move(saved_[index]);
  const bool mayDig = from->refillQueue.size() < settings_.maxOpenHoles;
  UpdateResult waited = UpdateResult::Playing;
  std::optional<SavedPlay> late;
  bool waitedLate = false;
  for (const MacroAction& action : actions_) {
    const bool digs = (action.keys & (HoldDigLeft | HoldDigRight)) != 0;
    if ((digs && !mayDig) || (action.untilRefill && from->refillQueue.empty())) {
      continue;
    }
    session_.restore(*from);
    SearchNode child{index, action.keys, 0, 0, nodes_[index].ticks, 0, nodes_[index].digs + (digs ? 1 : 0),
                     nodes_[index].tightPresses};
    const UpdateResult result = play(action, child);
    if (result == UpdateResult::Died || (result == UpdateResult::Playing && entombed(session_.game()))) {
      continue;
    }
    child.goldLeft = session_.game().goldLeft();
    const StateKeys keys = result == UpdateResult::Playing ? keysNow() : StateKeys{};
    std::optional<SavedPlay> onTime;
    // Only a press to a state not seen yet is tried late, and the moment
    // it leads to on time is kept meanwhile: most lead where the search
    // has been.
    if (settings_.lateTicks != 0 && action.keys != 0) {
      if (result == UpdateResult::Playing && seen_.count(keys.state) != 0) {
        continue;
      }
      if (result == UpdateResult::Playing) {
        onTime = session_.save();
      }
      if (!waitedLate) {
        late = waitLate(*from, waited);
        waitedLate = true;
      }
      child.tightPresses += survivesLate(late, waited, action) ? 0 : 1;
      if (onTime) {
        session_.restore(*onTime);
      }
    }
    if (reachedClear(result)) {
      nodes_.push_back(child);
      clearedNode_ = static_cast<int32_t>(nodes_.size()) - 1;
      return;
    }
    addNode(child, keys, false, std::move(onTime));
  }
}

void Search::start() {
  started_ = true;
  session_.restore(entered_);
  // The start may be in mid-air: the first decision comes after the landing.
  SearchNode first{-1, 0, 0, 0, 0, 0, 0};
  const MacroAction settle{0, 0};
  const UpdateResult landed = play(settle, first);
  first.goldLeft = session_.game().goldLeft();
  if (reachedClear(landed)) {
    nodes_.push_back(first);
    clearedNode_ = 0;
  } else if (landed == UpdateResult::Playing) {
    addNode(first);
    followGuess();
  }
}

void Search::followGuess() {
  size_t at = nodes_.empty() ? 0 : nodes_[0].ticks;
  if (nodes_.size() != 1 || at > guess_.size() ||
      std::any_of(guess_.begin(), guess_.begin() + static_cast<std::ptrdiff_t>(at), [](uint8_t keys) { return keys != 0; })) {
    return;
  }
  session_.restore(*saved_[0]);
  while (at < guess_.size()) {
    // One step of the guess: a press held, then nothing until the next
    // press; or nothing at all until the next press.
    const int32_t parent = static_cast<int32_t>(nodes_.size()) - 1;
    const uint8_t keys = guess_[at];
    uint32_t held = 0;
    uint32_t idle = 0;
    UpdateResult result = UpdateResult::Playing;
    for (; at < guess_.size() && guess_[at] == keys && keys != 0 && result == UpdateResult::Playing; ++at) {
      result = session_.advance(keys);
      ++held;
    }
    for (; at < guess_.size() && guess_[at] == 0 && result == UpdateResult::Playing; ++at) {
      result = session_.advance(0);
      ++idle;
    }
    if (held > UINT8_MAX || idle > UINT16_MAX) {
      return;
    }
    const bool digs = (keys & (HoldDigLeft | HoldDigRight)) != 0;
    SearchNode node{parent, keys, static_cast<uint8_t>(held), static_cast<uint16_t>(idle),
                    nodes_[parent].ticks + held + idle, session_.game().goldLeft(), nodes_[parent].digs + (digs ? 1 : 0)};
    if (result == UpdateResult::Cleared) {
      nodes_.push_back(node);
      clearedNode_ = static_cast<int32_t>(nodes_.size()) - 1;
      return;
    }
    if (result != UpdateResult::Playing || !session_.atDecision()) {
      return;
    }
    addNode(node, keysNow(), true);
  }
}

int32_t Search::runUntil(size_t states, const std::function<void()>& onProgress) {
  const auto began = std::chrono::steady_clock::now();
  if (!started_) {
    start();
  }
  size_t expanded = 0;
  while (!open_.empty() && clearedNode_ < 0 && nodes_.size() < states) {
    if ((++expanded & 255) == 0 && onProgress) {
      onProgress();
    }
    const int32_t index = open_.top().node;
    open_.pop();
    expand(index);
  }
  seconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  return clearedNode_;
}

SearchResult Search::finish(int32_t clearedNode) {
  SearchResult result;
  result.statesExplored = nodes_.size();
  result.seconds = seconds_;
  if (clearedNode < 0) {
    return result;
  }
  std::vector<const SearchNode*> path;
  for (int32_t index = clearedNode; index >= 0; index = nodes_[index].parent) {
    path.push_back(&nodes_[index]);
  }
  Replay recorder;
  for (auto step = path.rbegin(); step != path.rend(); ++step) {
    holdKeys(recorder, (*step)->keys, (*step)->heldTicks);
    holdKeys(recorder, 0, (*step)->idleTicks);
  }
  result.cleared = true;
  result.end = SearchEnd::Cleared;
  result.keys = recorder.keys;
  result.ticks = nodes_[clearedNode].ticks;
  return result;
}

// The settings' searches take turns in growing slices of the budget; the
// first to clear the level gives the way.
SearchResult searchSideBySide(const std::vector<std::unique_ptr<Search>>& searches, SearchReport& report,
                              bool guessed, const SearchLimits& limits) {
  SearchResult total;
  const auto statesKept = [&searches] {
    size_t states = 0;
    for (const auto& search : searches) {
      states += search->statesKept();
    }
    return states;
  };
  const std::function<void()> progress = [&] {
    if (limits.onProgress) {
      limits.onProgress(statesKept());
    }
  };
  const auto proof = [&statesKept](Search& search, int32_t cleared) {
    SearchResult result = search.finish(cleared);
    result.statesExplored = statesKept();
    return result;
  };
  // A guess that clears is the proof before any search, whatever the budget.
  for (const auto& search : searches) {
    const int32_t cleared = guessed ? search->runUntil(0, progress) : -1;
    if (cleared >= 0) {
      return proof(*search, cleared);
    }
  }
  for (size_t slice = FirstSlice;; slice *= 2) {
    bool searching = false;
    for (const auto& search : searches) {
      const size_t spent = statesKept();
      if (search->exhausted() || spent >= limits.states) {
        continue;
      }
      searching = true;
      const size_t allowed = std::min(sliceFor(search->settings(), slice), search->statesKept() + (limits.states - spent));
      const int32_t cleared = search->runUntil(allowed, progress);
      if (cleared >= 0) {
        return proof(*search, cleared);
      }
    }
    if (!searching) {
      break;
    }
  }
  total.statesExplored = statesKept();
  for (const auto& search : searches) {
    total.seconds += search->finish(-1).seconds;
  }
  const bool outOfBudget = total.statesExplored >= limits.states;
  total.end = outOfBudget ? SearchEnd::OutOfBudget : SearchEnd::SearchedOut;
  total.explanation = report.explain(
      outOfBudget ? "it ran out of its budget of " + std::to_string(limits.states) + " states"
                  : "it tried every state it tells apart, which proves nothing: they are coarser than the game's");
  return total;
}

}  // namespace

SearchResult searchLevel(const Level& level, bool enemies, unsigned seed, const SearchLimits& limits) {
  SearchResult total;
  // A player granted every dig and drop the rules allow cannot take some
  // gold: no search can, and none is made.
  const std::vector<std::string> faults =
      limits.searchTheImpossible ? std::vector<std::string>{} : findLevelFaults(level);
  if (!faults.empty()) {
    total.end = SearchEnd::ProvenImpossible;
    for (const std::string& fault : faults) {
      total.explanation += (total.explanation.empty() ? "" : "; ") + fault;
    }
    total.explanation += " (even granted every dig, drop and climb the rules could allow)";
    return total;
  }
  SearchReport report(level);
  std::vector<uint8_t> guess;
  for (const KeyRun& run : limits.firstGuess) {
    guess.insert(guess.end(), std::min<size_t>(run.updates, MaxGuessUpdates - guess.size()), run.keys);
  }
  std::vector<std::unique_ptr<Search>> searches;
  for (const SearchSettings& settings : Portfolio) {
    searches.push_back(std::make_unique<Search>(level, enemies, seed, settings, report, guess));
  }
  return searchSideBySide(searches, report, !guess.empty(), limits);
}

SearchResult searchOnFrom(const Level& level, bool enemies, unsigned seed, const SavedPlay& from,
                          const KnownToClear& knownToClear, const SearchLimits& limits) {
  SearchReport report(level);
  std::vector<std::unique_ptr<Search>> searches;
  for (const SearchSettings& settings : Portfolio) {
    if (settings.lateTicks == 0) {
      searches.push_back(
          std::make_unique<Search>(level, enemies, seed, settings, report, std::vector<uint8_t>{}, &from, &knownToClear));
    }
  }
  return searchSideBySide(searches, report, false, limits);
}

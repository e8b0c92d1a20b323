#include "situation_graph.h"

#include "replay/replay.h"
#include "replay/replay_runner.h"

#include "game/game.h"
#include "game/motion.h"
#include "game/player.h"
#include "level/cell_kinds.h"

#include <allegro.h>

#include <array>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace {

// What decides the future of a situation: the player's place and the holes,
// oldest first, with the updates left before the oldest refills.
struct PlayState {
  int16_t x = 0;
  int16_t y = 0;
  uint8_t holeCount = 0;
  uint8_t refillCountdown = 0;
  std::array<RefillCell, SituationGraph::MaxOpenHoles> holes{};
  bool fallsForever = false;

  uint64_t key() const {
    constexpr int HoleBits = 11;   // a cell index plus one, 0 for none
    static_assert(SituationGraph::MaxOpenHoles <= 2, "the holes fill bits 24 to 45");
    if (fallsForever) {
      return (uint64_t{1} << 63) | static_cast<uint16_t>(x);
    }
    uint64_t packed = static_cast<uint64_t>(x / CellPixels) | (static_cast<uint64_t>(y + CellPixels) << 5) |
                      (uint64_t{holeCount} << 15) | (uint64_t{refillCountdown} << 17);
    for (uint8_t hole = 0; hole < holeCount; ++hole) {
      packed |= uint64_t(cellIndex(holes[hole].x, holes[hole].y) + 1) << (24 + HoleBits * hole);
    }
    return packed;
  }
};

enum class Ending { Decision, Death, FallsForever, Nothing };

struct Played {
  Ending ending = Ending::Nothing;
  uint16_t heldUpdates = 0;
  uint16_t idleUpdates = 0;
  std::vector<uint16_t> gold;
};

// The real Game on the level without its enemies, put into any saved state
// with all its gold in place and played from it.
class PlaySession {
public:
  explicit PlaySession(const Level& level) {
    const Level bare = withoutEnemyStarts(level);
    for (int index = 0; index < CellCount; ++index) {
      if (kindOf(bare.cells[index]).valuable) {
        goldCells_.push_back(index);
      }
    }
    game_ = std::make_unique<Game>(std::vector<Level>{bare}, Drawing::Unseen);
    game_->orderMode = Linear;
    game_->heldKeys = keys_;
    game_->createPlayer();
    game_->enterLevel(0);
    std::memcpy(storedCells_, game_->map.cells, CellCount);
    calmCountdown_ = game_->map.refillCountdown;
  }
  ~PlaySession() { game_->destroyActors(); }
  PlaySession(const PlaySession&) = delete;
  PlaySession& operator=(const PlaySession&) = delete;

  const std::vector<int>& goldCells() const { return goldCells_; }

  PlayState current() const {
    PlayState state;
    state.x = game_->player->x;
    state.y = game_->player->y;
    const TileMap& map = game_->map;
    state.holeCount = static_cast<uint8_t>(map.refillQueue.size());
    state.refillCountdown = state.holeCount == 0 ? 0 : map.refillCountdown;
    for (uint8_t hole = 0; hole < state.holeCount && hole < state.holes.size(); ++hole) {
      state.holes[hole] = map.refillQueue[hole];
    }
    return state;
  }

  void restore(const PlayState& state) {
    TileMap& map = game_->map;
    std::memcpy(map.cells, storedCells_, CellCount);
    map.goldLeft = static_cast<int32_t>(goldCells_.size());
    map.refillQueue.clear();
    for (uint8_t hole = 0; hole < state.holeCount; ++hole) {
      map.refillQueue.push_back(state.holes[hole]);
      map.cells[cellIndex(state.holes[hole].x, state.holes[hole].y)] = Empty;
    }
    map.refillCountdown = state.holeCount == 0 ? calmCountdown_ : state.refillCountdown;
    Player& player = *game_->player;
    player.x = state.x;
    player.y = state.y;
    player.stepsLeft = 0;
    player.alive = 1;
  }

  // From the current state: the keys held for one update (none for a
  // settle), or nothing held until the oldest hole refills; then nothing
  // held until the player reads the keys again. The gold the game took on
  // the way is the gold whose cells it emptied.
  Played play(uint8_t keys, bool untilRefill, bool settle) {
    Played played = playKeys(keys, untilRefill, settle);
    for (size_t gold = 0; gold < goldCells_.size(); ++gold) {
      if (!kindOf(game_->map.cells[goldCells_[gold]]).valuable) {
        played.gold.push_back(static_cast<uint16_t>(gold));
      }
    }
    return played;
  }

private:
  Played playKeys(uint8_t keys, bool untilRefill, bool settle) {
    Played played;
    if (!settle) {
      const size_t holes = game_->map.refillQueue.size();
      holdOnly(keys, keys_);
      do {
        if (!tick(played)) {
          return played;
        }
        ++played.heldUpdates;
      } while (untilRefill && game_->map.refillQueue.size() == holes);
    }
    holdOnly(0, keys_);
    while (!atDecision()) {
      if (played.idleUpdates >= FallsForeverAfterUpdates) {
        played.ending = Ending::FallsForever;
        return played;
      }
      if (!tick(played)) {
        return played;
      }
      ++played.idleUpdates;
    }
    // Whatever keys are held, the player's next update begins by taking the
    // gold of his cell, or his life inside brick (a refill over him, or above
    // a closed top row): it is done here, by the update's own rule.
    Player& player = *game_->player;
    player.collect();
    played.ending = player.alive ? Ending::Decision : Ending::Death;
    return played;
  }

  bool atDecision() const {
    const Player& player = *game_->player;
    return player.stepsLeft == 0 && player.y < BottomRowTopPixel && isSupported(game_->map, player.x, player.y);
  }

  // One update; false when the player died in it.
  bool tick(Played& played) {
    game_->tick();
    if (!game_->player->alive) {
      played.ending = Ending::Death;
      return false;
    }
    return true;
  }

  volatile char keys_[KEY_MAX] = {};
  std::unique_ptr<Game> game_;
  int8_t storedCells_[CellCount] = {};
  uint8_t calmCountdown_ = 0;   // what the map holds while no hole waits
  std::vector<int> goldCells_;
};

struct Action {
  uint8_t keys;
  bool untilRefill;
  bool digs;
};

const Action Actions[] = {
    {HoldUp, false, false},      {HoldDown, false, false},     {HoldLeft, false, false},
    {HoldRight, false, false},   {HoldDigLeft, false, true},   {HoldDigRight, false, true},
    {0, true, false},
};

class Explorer {
public:
  Explorer(std::vector<Situation>& situations, std::vector<SituationMove>& moves, std::vector<size_t>& firstMove,
           PlaySession& session)
      : situations_(situations), moves_(moves), firstMove_(firstMove), session_(session) {}

  int32_t find(const PlayState& state) {
    const auto found = index_.emplace(state.key(), static_cast<int32_t>(states_.size()));
    if (found.second) {
      states_.push_back(state);
      situations_.push_back({state.x, state.y, state.holeCount, state.fallsForever});
    }
    return found.first->second;
  }

  // Where a play ended; meaningless after a death.
  PlayState landing(const Played& played) const {
    PlayState state = session_.current();
    if (played.ending == Ending::FallsForever) {
      const int16_t column = state.x;
      state = PlayState{};
      state.x = column;
      state.fallsForever = true;
    }
    return state;
  }

  // Explores breadth first from the start; false when the limit was reached.
  bool explore(size_t maxSituations) {
    for (size_t next = 0; next < states_.size(); ++next) {
      firstMove_.push_back(moves_.size());
      if (states_.size() > maxSituations) {
        firstMove_.resize(states_.size() + 1, moves_.size());
        return false;
      }
      if (!states_[next].fallsForever) {
        expand(static_cast<int32_t>(next));
      }
    }
    firstMove_.push_back(moves_.size());
    return true;
  }

private:
  void expand(int32_t from) {
    const PlayState state = states_[from];
    for (const Action& action : Actions) {
      if ((action.untilRefill && state.holeCount == 0) ||
          (action.digs && state.holeCount >= SituationGraph::MaxOpenHoles)) {
        continue;
      }
      session_.restore(state);
      Played played = session_.play(action.keys, action.untilRefill, false);
      int32_t to = SituationMove::Death;
      if (played.ending != Ending::Death) {
        const PlayState reached = landing(played);
        const bool nothingButTime = played.heldUpdates + played.idleUpdates == 1 && reached.x == state.x &&
                                    reached.y == state.y && reached.holeCount == state.holeCount;
        if (nothingButTime || reached.key() == state.key()) {
          continue;
        }
        to = find(reached);
      }
      moves_.push_back({from, to, action.keys, played.heldUpdates, played.idleUpdates, std::move(played.gold)});
    }
  }

  std::vector<Situation>& situations_;
  std::vector<SituationMove>& moves_;
  std::vector<size_t>& firstMove_;
  PlaySession& session_;
  std::vector<PlayState> states_;
  std::unordered_map<uint64_t, int32_t> index_;
};

}  // namespace

SituationGraph::SituationGraph(const Level& level, size_t maxSituations) {
  PlaySession session(level);
  goldCells_ = session.goldCells();
  Explorer explorer(situations_, moves_, firstMove_, session);
  Played settle = session.play(0, false, true);
  settleUpdates_ = settle.idleUpdates;
  settleGold_ = std::move(settle.gold);
  if (settle.ending == Ending::Death) {
    return;
  }
  start_ = explorer.find(explorer.landing(settle));
  complete_ = explorer.explore(maxSituations);
}

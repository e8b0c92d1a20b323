#include "analysis/human_margin.h"

#include "analysis/level_search.h"
#include "analysis/level_session.h"
#include "analysis/play_fingerprint.h"
#include "replay/replay_runner.h"

#include "game/player.h"
#include "level/level.h"

#include <algorithm>
#include <string>
#include <unordered_set>

namespace {

// A late press is saved first by one of two quick ways on, each played in
// full: the proof's own keys from the press on, all as late as the press
// (the shifted tail), or the proof's decisions made as soon as the player
// can, its waits cut short until the player is back on the proof's time
// (the catch-up). Either ends early where play reaches a moment already
// known to lead to a clear. Neither may run longer than the proof plus the
// delay. Where both fail, the solver's search looks for any keys from the
// late moment on, within its budget of states.
enum class WayOn { CatchUp, ShiftedTail };
enum class Saving { QuickWays, Searched };

struct Decision {
  uint32_t update;
  uint8_t keys;
};

struct ProofPress {
  PressMargin facts;
  size_t decisionIndex;  // the first of the proof's decisions at or after the press
  uint8_t keysBefore;
  SavedPlay before;
};

std::vector<uint8_t> keysPerUpdate(const Replay& proof) {
  std::vector<uint8_t> keys;
  for (const KeyRun& run : proof.keys) {
    keys.insert(keys.end(), run.updates, run.keys);
  }
  return keys;
}

class MarginSearch {
public:
  MarginSearch(const Level& level, const Replay& proof, const MarginLimits& limits)
      : level_(level), enemies_(proof.enemies), seed_(proof.seed), limits_(limits),
        session_(level, proof.enemies, proof.seed), keys_(keysPerUpdate(proof)) {
    playProof();
  }

  HumanMargin measure() {
    HumanMargin result;
    std::vector<int> margins(presses_.size(), MarginCapUpdates);
    // Every press at the cap first: the way that saves one press late often
    // meets the way that saved the press before it, already known to clear.
    std::vector<size_t> tight;
    for (size_t index = 0; index < presses_.size(); ++index) {
      if (!lateClears(presses_[index], MarginCapUpdates, Saving::QuickWays)) {
        tight.push_back(index);
      }
    }
    for (size_t index : tight) {
      margins[index] = bisectMargin(presses_[index], 0, MarginCapUpdates, Saving::QuickWays);
      if (limits_.searchStates != 0) {
        margins[index] = raiseBySearch(presses_[index], margins[index]);
      }
    }
    for (size_t index = 0; index < presses_.size(); ++index) {
      PressMargin press = presses_[index].facts;
      press.marginUpdates = margins[index];
      result.marginUpdates = std::min(result.marginUpdates, press.marginUpdates);
      result.presses.push_back(press);
    }
    result.updatesPlayed = updatesPlayed_;
    result.searchStates = searchStates_;
    return result;
  }

  bool everyPressClearsLate(int delay) {
    return std::all_of(presses_.begin(), presses_.end(), [this, delay](const ProofPress& press) {
      return lateClears(press, delay, limits_.searchStates != 0 ? Saving::Searched : Saving::QuickWays);
    });
  }

private:
  // Plays the proof, keeping the moment before each press and every moment
  // it reads the keys, all of which lead to its clear.
  void playProof() {
    std::vector<PlayFingerprint> proofMoments;
    uint8_t held = 0;
    for (uint32_t update = 0; update < keys_.size(); ++update) {
      const uint8_t keys = keys_[update];
      if (session_.atDecision()) {
        decisions_.push_back({update, keys});
        proofMoments.push_back(fingerprintOf(session_.save()));
      }
      if (keys != 0 && keys != held) {
        const Player& player = *session_.game().player;
        PressMargin facts;
        facts.update = update;
        facts.column = (player.x + CellPixels / 2) / CellPixels;
        facts.row = (player.y + CellPixels / 2) / CellPixels;
        facts.keys = keys;
        presses_.push_back({facts, decisions_.size() - (session_.atDecision() ? 1 : 0), held, session_.save()});
      }
      held = keys;
      const UpdateResult played = advance(keys);
      if (played == UpdateResult::Died) {
        throw ReplayError("the proof loses a life after " + std::to_string(update + 1) + " updates");
      }
      if (played == UpdateResult::Cleared) {
        keys_.resize(update + 1);
        clearing_.insert(proofMoments.begin(), proofMoments.end());
        return;
      }
    }
    throw ReplayError("the proof does not clear the level");
  }

  UpdateResult advance(uint8_t keys) {
    ++updatesPlayed_;
    return session_.advance(keys);
  }

  // The quick ways give a press a margin that the search may only raise.
  // One update later is tried first: most presses the quick ways cannot save
  // are tight in truth, and a single search that fails settles them.
  int raiseBySearch(const ProofPress& press, int saved) {
    if (!lateClears(press, saved + 1, Saving::Searched)) {
      return saved;
    }
    if (lateClears(press, MarginCapUpdates, Saving::Searched)) {
      return MarginCapUpdates;
    }
    return bisectMargin(press, saved + 1, MarginCapUpdates, Saving::Searched);
  }

  // Between a delay known saved (0 is the proof itself) and one known lost.
  int bisectMargin(const ProofPress& press, int saved, int lost, Saving saving) {
    while (lost - saved > 1) {
      const int delay = (saved + lost) / 2;
      (lateClears(press, delay, saving) ? saved : lost) = delay;
    }
    return saved;
  }

  bool lateClears(const ProofPress& press, int delay, Saving saving) {
    for (WayOn way : {WayOn::CatchUp, WayOn::ShiftedTail}) {
      session_.restore(press.before);
      bool cleared = false;
      if (playLate(press, delay, cleared)) {
        return cleared;
      }
      if (playOn(press, delay, way)) {
        return true;
      }
    }
    return saving == Saving::Searched && searchOn(press, delay);
  }

  // Any keys from the late moment on, found by the solver's search and then
  // played out here, so that a way counts only as the rules play it.
  bool searchOn(const ProofPress& press, int delay) {
    session_.restore(press.before);
    bool cleared = false;
    playLate(press, delay, cleared);
    const SavedPlay late = session_.save();
    const KnownToClear known = [this](const SavedPlay& moment) { return clearing_.count(fingerprintOf(moment)) != 0; };
    SearchLimits limits;
    limits.states = limits_.searchStates;
    const SearchResult found = searchOnFrom(level_, enemies_, seed_, late, known, limits);
    searchStates_ += found.statesExplored;
    if (!found.cleared) {
      return false;
    }
    session_.restore(late);
    std::vector<PlayFingerprint> moments;
    UpdateResult played = UpdateResult::Playing;
    for (const KeyRun& run : found.keys) {
      for (uint32_t update = 0; update < run.updates && played == UpdateResult::Playing; ++update) {
        if (session_.atDecision()) {
          moments.push_back(fingerprintOf(session_.save()));
        }
        played = advance(run.keys);
      }
    }
    const bool reached = played == UpdateResult::Cleared ||
                         (played == UpdateResult::Playing && clearing_.count(fingerprintOf(session_.save())) != 0);
    if (reached) {
      clearing_.insert(moments.begin(), moments.end());
    }
    return reached;
  }

  // The keys held before the press, held on for `delay` updates. Answers
  // whether that already decided the play, and then in `cleared` how.
  bool playLate(const ProofPress& press, int delay, bool& cleared) {
    for (int update = 0; update < delay; ++update) {
      const UpdateResult played = advance(press.keysBefore);
      if (played != UpdateResult::Playing) {
        cleared = played == UpdateResult::Cleared;
        return true;
      }
    }
    return false;
  }

  // Plays on from the late state until the level is cleared, a life is
  // lost or the time runs out; a clear makes every moment on the way known.
  bool playOn(const ProofPress& press, int delay, WayOn way) {
    std::vector<PlayFingerprint> moments;
    size_t next = press.decisionIndex;
    const uint32_t end = static_cast<uint32_t>(keys_.size()) + delay;
    for (uint32_t now = press.facts.update + delay; now < end; ++now) {
      uint8_t keys = 0;
      if (session_.atDecision()) {
        const PlayFingerprint moment = fingerprintOf(session_.save());
        if (clearing_.count(moment) != 0) {
          clearing_.insert(moments.begin(), moments.end());
          return true;
        }
        moments.push_back(moment);
        if (way == WayOn::CatchUp) {
          keys = catchUpKeys(now, next);
        }
      }
      if (way == WayOn::ShiftedTail) {
        keys = now - delay < keys_.size() ? keys_[now - delay] : 0;
      }
      const UpdateResult played = advance(keys);
      if (played == UpdateResult::Died) {
        return false;
      }
      if (played == UpdateResult::Cleared) {
        clearing_.insert(moments.begin(), moments.end());
        return true;
      }
    }
    return false;
  }

  // The keys of the proof's next decision, skipping the proof's waits while
  // behind its time and waiting while ahead of it.
  uint8_t catchUpKeys(uint32_t now, size_t& next) const {
    while (next + 1 < decisions_.size() && decisions_[next].keys == 0 && decisions_[next].update < now) {
      ++next;
    }
    if (next >= decisions_.size() || decisions_[next].update > now) {
      return 0;
    }
    return decisions_[next++].keys;
  }

  const Level& level_;
  bool enemies_;
  unsigned seed_;
  MarginLimits limits_;
  LevelSession session_;
  std::vector<uint8_t> keys_;
  std::vector<Decision> decisions_;
  std::vector<ProofPress> presses_;
  std::unordered_set<PlayFingerprint, PlayFingerprintHash> clearing_;
  uint64_t updatesPlayed_ = 0;
  uint64_t searchStates_ = 0;
};

}  // namespace

double HumanMargin::roomyShare() const {
  if (presses.empty()) {
    return 1.0;
  }
  size_t roomy = 0;
  for (const PressMargin& press : presses) {
    roomy += press.marginUpdates >= RoomyMarginUpdates ? 1 : 0;
  }
  return static_cast<double>(roomy) / presses.size();
}

std::vector<PressMargin> HumanMargin::criticalPresses() const {
  std::vector<PressMargin> critical;
  for (const PressMargin& press : presses) {
    if (press.marginUpdates < RoomyMarginUpdates) {
      critical.push_back(press);
    }
  }
  return critical;
}

HumanMargin measureHumanMargin(const Level& level, const Replay& proof, const MarginLimits& limits) {
  MarginSearch search(level, proof, limits);
  return search.measure();
}

bool pressesMayComeLate(const Level& level, const Replay& proof, int delayUpdates, const MarginLimits& limits) {
  MarginSearch search(level, proof, limits);
  return search.everyPressClearsLate(delayUpdates);
}

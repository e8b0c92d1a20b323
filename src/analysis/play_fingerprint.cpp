#include "analysis/play_fingerprint.h"

#include <algorithm>
#include <vector>

namespace {

// Two independent mixes of the same values.
class FingerprintMixer {
public:
  void add(uint64_t value) {
    first_ = (first_ ^ value) * 0x100000001b3ULL;
    second_ += value + 0x9e3779b97f4a7c15ULL;
    second_ = (second_ ^ (second_ >> 30)) * 0xbf58476d1ce4e5b9ULL;
    second_ = (second_ ^ (second_ >> 27)) * 0x94d049bb133111ebULL;
    second_ ^= second_ >> 31;
  }

  PlayFingerprint fingerprint() const { return {first_, second_}; }

private:
  uint64_t first_ = 0xcbf29ce484222325ULL;
  uint64_t second_ = 0;
};

uint64_t pack(int64_t high, int64_t low) { return (static_cast<uint64_t>(high) << 32) ^ static_cast<uint32_t>(low); }

// The cells of the trail from the freshest, each with its place in that order.
void addTrailOrder(FingerprintMixer& mixer, std::vector<TrailMark> trail) {
  std::stable_sort(trail.begin(), trail.end(),
                   [](const TrailMark& one, const TrailMark& other) { return one.value > other.value; });
  uint64_t place = 0;
  for (size_t index = 0; index < trail.size(); ++index) {
    place += index > 0 && trail[index].value != trail[index - 1].value ? 1 : 0;
    mixer.add(pack(trail[index].index, static_cast<int64_t>(place)));
  }
  mixer.add(trail.size());
}

void addMove(FingerprintMixer& mixer, int64_t x, int64_t y, int64_t dx, int64_t dy, int64_t stepsLeft) {
  mixer.add(pack(x, y));
  mixer.add(stepsLeft == 0 ? 0 : pack(pack(dx, dy), stepsLeft));
}

}  // namespace

PlayFingerprint fingerprintOf(const SavedPlay& saved) {
  FingerprintMixer mixer;
  for (const ChangedCell& cell : saved.changedCells) {
    mixer.add(pack(cell.index, cell.code));
  }
  mixer.add(saved.changedCells.size());
  addTrailOrder(mixer, saved.trail);
  for (const RefillCell& hole : saved.refillQueue) {
    mixer.add(pack(hole.x, hole.y));
  }
  mixer.add(pack(static_cast<int64_t>(saved.refillQueue.size()), saved.refillCountdown));
  mixer.add(static_cast<uint64_t>(saved.goldLeft));
  const Player& player = *saved.player;
  addMove(mixer, player.x, player.y, player.dx, player.dy, player.stepsLeft);
  mixer.add(pack(player.alive, player.lives));
  for (const Enemy& enemy : saved.enemies) {
    addMove(mixer, enemy.x, enemy.y, enemy.dx, enemy.dy, enemy.stepsLeft);
    mixer.add(pack(pack(enemy.direction, enemy.needsDecision), pack(enemy.respawnDelay, enemy.caughtPlayer)));
  }
  mixer.add(saved.random.seed);
  mixer.add(saved.random.draws);
  return mixer.fingerprint();
}

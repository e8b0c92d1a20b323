// A fingerprint of a saved moment of play that holds exactly what decides
// the play from there on, so that two moments with the same fingerprint play
// on alike under the same keys: a way that clears the level from one clears
// it from the other.
//
// Left out is what only counts or draws: the level clock (it pays the bonus
// and nothing else), the score, sprite rows and animation frames, and the
// move of an actor that has finished moving. The trail enters only as the
// order in which its cells were last visited: enemies only ever compare
// trail values with each other and with zero, and within a level no value
// decays to zero (that takes 60000 updates), so two trails whose cells were
// visited in the same order steer enemies alike. That is what lets a late
// player who walks the proof's way again meet the proof.
//
// It is a pair of 64-bit hashes of that content; two moments that differ
// meet by chance once in about 2^64 comparisons of a search, so a way found
// through it is as good as one played out.
#pragma once

#include "analysis/level_session.h"

#include <cstddef>
#include <cstdint>

struct PlayFingerprint {
  uint64_t first = 0;
  uint64_t second = 0;

  bool operator==(const PlayFingerprint& other) const { return first == other.first && second == other.second; }
};

struct PlayFingerprintHash {
  size_t operator()(const PlayFingerprint& fingerprint) const { return static_cast<size_t>(fingerprint.first); }
};

PlayFingerprint fingerprintOf(const SavedPlay& saved);

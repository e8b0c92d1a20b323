// The C library's random generator as a value that can be saved and put
// back. The rules draw from rand() for tile variants, enemy directions and
// respawn columns, so a search that jumps between saved games must also
// jump the generator, or an enemy crushed on one branch would reappear where
// another branch's draws put it.
//
// glibc keeps rand()'s state in a buffer that setstate() can point at; this
// object lends it one of its own for its lifetime and hands the previous
// buffer back when it goes. Only one may exist at a time.
#pragma once

#include <array>

class CLibraryRandom {
public:
  static constexpr int StateBytes = 128;  // the size srand() itself uses
  using Saved = std::array<char, StateBytes>;

  CLibraryRandom();
  ~CLibraryRandom();
  CLibraryRandom(const CLibraryRandom&) = delete;
  CLibraryRandom& operator=(const CLibraryRandom&) = delete;

  Saved save();
  void restore(const Saved& saved);

private:
  alignas(8) std::array<char, StateBytes> active_{};
  alignas(8) std::array<char, StateBytes> parking_{};
  char* previous_ = nullptr;
};

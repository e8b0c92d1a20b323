#include "c_library_random.h"

#include <cstdlib>

// setstate() writes the position of the state it leaves into that state's
// first word, and reads the position of the state it enters from there. So
// saving "enters" the active buffer again to bring its first word up to date,
// and restoring first leaves for the parking buffer, so that the copied-in
// words are not overwritten on the way back.

CLibraryRandom::CLibraryRandom() {
  previous_ = initstate(1, parking_.data(), StateBytes);
  initstate(1, active_.data(), StateBytes);
}

CLibraryRandom::~CLibraryRandom() { setstate(previous_); }

CLibraryRandom::Saved CLibraryRandom::save() {
  setstate(active_.data());
  return active_;
}

void CLibraryRandom::restore(const Saved& saved) {
  setstate(parking_.data());
  active_ = saved;
  setstate(active_.data());
}

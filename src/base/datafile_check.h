// A walk over a datafile's structure before the library loads it. The
// library trusts the sizes it reads and crashes on a file that ends early
// (a half-copied download, say), so the game only hands it files whose every
// object is present in full.
#pragma once

// True when the file opens with the current packfile password, starts with
// the datafile magic, and every object and property it declares is there to
// its last byte, with no object of the type DAT_END.
bool datafileIsWhole(const char* path);

// What a process leaves behind when TERM, HUP or INT ends it: its scratch
// folders and the helper programs it started. While registered here, each
// folder is emptied and removed and each helper is sent TERM (so that it
// clears its own folders) before the signal goes on to the handler that was
// there before, or ends the process as it would have. An exit() that skips
// the destructors removes the folders as well.
//
// The handler does only what a signal handler may: it walks fixed slots,
// and removes a folder's files with plain system calls. The folders are
// shallow (a game's maps.bin and user.bin; the editor's folder of a proof,
// with the solver's level and messages), so it goes two folders deep.
#pragma once

#include <sys/types.h>

// Register and unregister a folder by its absolute path; false when every
// slot is taken (the folder is then only removed the ordinary way).
bool removeOnSignal(const char* folder);
void keepOnSignal(const char* folder);

void stopOnSignal(pid_t child);
void leaveOnSignal(pid_t child);

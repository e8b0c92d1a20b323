#include "base/signal_cleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int Slots = 16;
constexpr int FolderDepth = 2;
constexpr int CaughtSignals[] = {SIGTERM, SIGHUP, SIGINT};

// A slot is claimed before its path is written and counts only once the
// path is whole, so that neither another thread nor the handler reads half
// a path.
enum SlotState { Free, Claimed, Live };
struct FolderSlot {
  std::atomic<int> state{Free};
  char path[PATH_MAX];
};
FolderSlot folders[Slots];
std::atomic<pid_t> children[Slots];
struct sigaction previous[NSIG];

// Removes the folder name (in the folder open as parent) with its files
// and, depth levels deep, its folders.
void removeFolder(int parent, const char* name, int depth) {
  const int folder = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder < 0) {
    return;
  }
  alignas(8) char entries[4096];
  for (;;) {
    const long length = syscall(SYS_getdents64, folder, entries, sizeof entries);
    if (length <= 0) {
      break;
    }
    for (long offset = 0; offset < length;) {
      const auto* entry = reinterpret_cast<const dirent64*>(entries + offset);
      offset += entry->d_reclen;
      if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
        continue;
      }
      if (entry->d_type == DT_DIR && depth > 0) {
        removeFolder(folder, entry->d_name, depth - 1);
      } else {
        unlinkat(folder, entry->d_name, 0);
      }
    }
  }
  close(folder);
  unlinkat(parent, name, AT_REMOVEDIR);
}

void removeLiveFolders() {
  for (FolderSlot& slot : folders) {
    if (slot.state.load() == Live) {
      removeFolder(AT_FDCWD, slot.path, FolderDepth);
    }
  }
}

void onEndingSignal(int signalNumber) {
  for (std::atomic<pid_t>& child : children) {
    const pid_t pid = child.load();
    if (pid > 0) {
      kill(pid, SIGTERM);
    }
  }
  removeLiveFolders();
  sigaction(signalNumber, &previous[signalNumber], nullptr);
  raise(signalNumber);
}

// Installed again whenever something registers, since a library started
// meanwhile may have put its own handler in place; that one is kept as the
// handler to go on to.
// An exit() from deep inside (the game's own refusal of a level file, say)
// skips the destructors that would have removed the folders.
void catchEndingSignals() {
  static const bool removedAtExit = std::atexit(removeLiveFolders) == 0;
  (void)removedAtExit;
  for (const int signalNumber : CaughtSignals) {
    struct sigaction current {};
    sigaction(signalNumber, nullptr, &current);
    if (current.sa_handler == onEndingSignal) {
      continue;
    }
    // Ignored stays ignored: nohup and a background shell mean it.
    if (current.sa_handler == SIG_IGN) {
      continue;
    }
    previous[signalNumber] = current;
    struct sigaction ours {};
    ours.sa_handler = onEndingSignal;
    sigfillset(&ours.sa_mask);
    sigaction(signalNumber, &ours, nullptr);
  }
}

}  // namespace

bool removeOnSignal(const char* folder) {
  if (std::strlen(folder) >= PATH_MAX) {
    return false;
  }
  for (FolderSlot& slot : folders) {
    int free = Free;
    if (slot.state.compare_exchange_strong(free, Claimed)) {
      std::strcpy(slot.path, folder);
      slot.state.store(Live);
      catchEndingSignals();
      return true;
    }
  }
  return false;
}

void keepOnSignal(const char* folder) {
  for (FolderSlot& slot : folders) {
    if (slot.state.load() == Live && std::strcmp(slot.path, folder) == 0) {
      slot.state.store(Free);
      return;
    }
  }
}

void stopOnSignal(pid_t child) {
  for (std::atomic<pid_t>& slot : children) {
    pid_t free = 0;
    if (slot.compare_exchange_strong(free, child)) {
      catchEndingSignals();
      return;
    }
  }
}

void leaveOnSignal(pid_t child) {
  for (std::atomic<pid_t>& slot : children) {
    pid_t expected = child;
    if (slot.compare_exchange_strong(expected, 0)) {
      return;
    }
  }
}

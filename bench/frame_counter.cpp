// Preloaded into the game, the editor or the reference (LD_PRELOAD) to count
// the frames they present without changing them: every blit or stretched
// blit whose destination is the library's screen is one frame. The counts go
// to a small file mapped into memory, named by MQ_FRAME_COUNTER_FILE, that a
// script reads while the program runs: four little-endian 64-bit integers,
// the frames presented so far, then the CLOCK_MONOTONIC nanoseconds at which
// this library was loaded, the first frame was presented and the latest one
// was. The benchmarks measure with it; the end-to-end tests wait on it.
//
// The file is opened at the first frame, and its name then taken out of the
// environment: the preload reaches every process started under it (timeout,
// a launcher script, the solver or a message box the program starts), and
// only the first one that shows a picture may count into the file.
#include <allegro.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {

struct FrameRecord {
  int64_t frames;
  int64_t loadedNs;
  int64_t firstPresentNs;
  int64_t lastPresentNs;
};

using BlitFunction = void (*)(BITMAP*, BITMAP*, int, int, int, int, int, int);
using StretchBlitFunction = void (*)(BITMAP*, BITMAP*, int, int, int, int, int, int, int, int);

FrameRecord* record = nullptr;
int64_t loadedNs = 0;

int64_t monotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

__attribute__((constructor)) void noteLoadTime() { loadedNs = monotonicNs(); }

void openRecord() {
  const char* path = std::getenv("MQ_FRAME_COUNTER_FILE");
  if (path == nullptr) {
    return;
  }
  const int fd = open(path, O_RDWR | O_CREAT | O_TRUNC, 0644);
  unsetenv("MQ_FRAME_COUNTER_FILE");
  if (fd < 0 || ftruncate(fd, sizeof(FrameRecord)) != 0) {
    return;
  }
  void* mapped = mmap(nullptr, sizeof(FrameRecord), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  close(fd);
  if (mapped == MAP_FAILED) {
    return;
  }
  record = static_cast<FrameRecord*>(mapped);
  record->loadedNs = loadedNs;
}

void countFrame(const BITMAP* dest) {
  if (dest != screen) {
    return;
  }
  if (record == nullptr) {
    openRecord();
    if (record == nullptr) {
      return;
    }
  }
  const int64_t now = monotonicNs();
  if (record->frames == 0) {
    record->firstPresentNs = now;
  }
  record->lastPresentNs = now;
  record->frames = record->frames + 1;
}

}  // namespace

extern "C" void blit(BITMAP* source, BITMAP* dest, int sourceX, int sourceY, int destX, int destY, int width,
                     int height) {
  static const auto libraryBlit = reinterpret_cast<BlitFunction>(dlsym(RTLD_NEXT, "blit"));
  libraryBlit(source, dest, sourceX, sourceY, destX, destY, width, height);
  countFrame(dest);
}

extern "C" void stretch_blit(BITMAP* source, BITMAP* dest, int sourceX, int sourceY, int sourceWidth,
                             int sourceHeight, int destX, int destY, int destWidth, int destHeight) {
  static const auto libraryStretchBlit = reinterpret_cast<StretchBlitFunction>(dlsym(RTLD_NEXT, "stretch_blit"));
  libraryStretchBlit(source, dest, sourceX, sourceY, sourceWidth, sourceHeight, destX, destY, destWidth,
                     destHeight);
  countFrame(dest);
}

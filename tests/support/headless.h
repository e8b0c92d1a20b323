// Headless Allegro for tests: the library under SYSTEM_NONE, memory bitmaps
// for backBuffer, levelBitmap and screen, and the real assets.dat from the
// build's run folder. Colours are set up so that 0xRRGGBB means the same here
// as in the window.
#pragma once

#include "base/scratch_folder.h"

#include <allegro.h>

#include <string>
#include <vector>

// Starts the library once per process and (re)creates the bitmaps and the
// datafile. Safe to call from every test's set-up.
void startHeadlessAllegro();

// The run folder's file of that name (assets.dat, maps.bin, ...).
std::string runFile(const std::string& name);

// Makes a fresh empty folder the working directory for the lifetime of the
// object, and returns to the previous one afterwards.
class ScopedWorkDir {
public:
  ScopedWorkDir();
  const std::string& path() const { return path_; }
  void writeFile(const std::string& name, const std::string& bytes) const;
  std::string readFile(const std::string& name) const;
  bool exists(const std::string& name) const;

private:
  ScratchFolder folder_;
  std::string path_;
};

// Releases every key of key[].
void releaseAllKeys();

// Records the samples played through playSample while it lives.
class SampleLog {
public:
  SampleLog();
  ~SampleLog();
  SampleLog(const SampleLog&) = delete;
  SampleLog& operator=(const SampleLog&) = delete;
  const std::vector<int>& played() const;
  int count(int index) const;
  void clear();
};

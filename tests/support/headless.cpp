#include "support/headless.h"

#include "base/assets.h"
#include "base/globals.h"
#include "base/headless_start.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::vector<int> playedSamples;

void recordSample(int index) { playedSamples.push_back(index); }

BITMAP* headlessScreen = nullptr;

}  // namespace

std::string runFile(const std::string& name) { return std::string(MQ_RUN_DIR) + "/" + name; }

void startHeadlessAllegro() {
  static bool started = false;
  if (!started) {
    const std::string problem = startWithoutWindow(runFile("assets.dat"));
    if (!problem.empty()) {
      throw std::runtime_error(problem);
    }
    headlessScreen = screen;
    started = true;
  }
  screen = headlessScreen;
  clear_bitmap(backBuffer);
  clear_bitmap(levelBitmap);
  clear_bitmap(screen);
  releaseAllKeys();
}

void releaseAllKeys() { std::fill(key, key + KEY_MAX, 0); }

ScopedWorkDir::ScopedWorkDir() : folder_("mq-test"), path_(folder_.path().string()) {}

void ScopedWorkDir::writeFile(const std::string& name, const std::string& bytes) const {
  std::ofstream out(path_ + "/" + name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ScopedWorkDir::readFile(const std::string& name) const {
  std::ifstream in(path_ + "/" + name, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool ScopedWorkDir::exists(const std::string& name) const {
  return std::filesystem::exists(path_ + "/" + name);
}

SampleLog::SampleLog() {
  playedSamples.clear();
  setSampleListener(recordSample);
}

SampleLog::~SampleLog() { setSampleListener(nullptr); }

const std::vector<int>& SampleLog::played() const { return playedSamples; }

int SampleLog::count(int index) const {
  return static_cast<int>(std::count(playedSamples.begin(), playedSamples.end(), index));
}

void SampleLog::clear() { playedSamples.clear(); }

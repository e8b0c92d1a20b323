// Headless sessions for the benchmarks: the library under SYSTEM_NONE, memory
// bitmaps for the game's buffers and for the screen, the real assets.dat of
// the build's run folder, and a scratch working folder whose maps.bin holds
// the heavy bench level. Passes run the real main loop with one tick pending.
#pragma once

#include <memory>
#include <string>

// One kind of pass the benchmarks measure; warmed up to its steady state by
// the time it is built.
class PassScene {
public:
  virtual ~PassScene() = default;
  virtual void runPass() = 0;
  // Runs a few more passes and tells what the scene holds, to show that it
  // is the load it claims to be.
  virtual std::string describe() = 0;
};

// "game-menu", "game-play", "reference-menu" or "reference-play"; null for
// any other name.
std::unique_ptr<PassScene> makeScene(const std::string& name);

const char* const SceneNames[] = {"game-menu", "game-play", "reference-menu", "reference-play"};

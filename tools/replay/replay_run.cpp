// mellow-quarrier-replay-run: plays replay files headless through the real rules and prints
// one line per replay. Exit status 0 when every replay that states an
// expectation met it, 1 when one did not, 2 when a replay could not be run.
//
//   mellow-quarrier-replay-run [--trace] REPLAY...
//
// --trace prints the player's position, score and gold left after each update.
// The rules need no art: --assets FILE is still accepted, and ignored.
#include "replay/replay.h"
#include "replay/replay_runner.h"

#include "game/game.h"
#include "game/player.h"


#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int ExitMismatch = 1;
constexpr int ExitBroken = 2;

struct Options {
  bool trace = false;
  std::vector<std::string> replays;
};

bool readOptions(int argc, char** argv, Options& options) {
  for (int index = 1; index < argc; ++index) {
    const std::string argument = argv[index];
    if (argument == "--trace") {
      options.trace = true;
    } else if (argument == "--assets" && index + 1 < argc) {
      ++index;
    } else if (!argument.empty() && argument[0] == '-') {
      return false;
    } else {
      options.replays.push_back(argument);
    }
  }
  return !options.replays.empty();
}

void traceTick(uint32_t tick, const Game& game) {
  std::printf("  tick %u: x %d y %d score %d gold left %d%s\n", tick, game.player->x, game.player->y,
              game.player->score, game.goldLeft(), game.player->alive ? "" : " dead");
}

// Answers the exit status for this one replay.
int runOne(const std::string& path, bool trace) {
  Replay replay;
  std::string error;
  if (!loadReplay(path, replay, error)) {
    std::cerr << error << "\n";
    return ExitBroken;
  }
  try {
    const ReplayOutcome outcome = playReplay(replay, replayMapsBin(replay), trace ? traceTick : TickObserver{});
    std::printf("%s: %s\n", path.c_str(), describeOutcome(outcome).c_str());
    if (replay.hasExpectation && outcome.end != replay.expected) {
      std::printf("%s: expected %s\n", path.c_str(), replayEndName(replay.expected));
      return ExitMismatch;
    }
  } catch (const std::runtime_error& problem) {
    std::cerr << path << ": " << problem.what() << "\n";
    return ExitBroken;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!readOptions(argc, argv, options)) {
    std::cerr << "usage: mellow-quarrier-replay-run [--trace] REPLAY...\n";
    return ExitBroken;
  }
  int status = 0;
  for (const std::string& path : options.replays) {
    const int result = runOne(path, options.trace);
    status = result > status ? result : status;
  }
  std::fflush(stdout);
  return status;
}

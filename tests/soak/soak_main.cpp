// mq_soak RUN_DIR [SEED] [TICKS]: plays TICKS ticks (default 100000) of
// random games, seeded with SEED (default 1), on the levels of RUN_DIR's
// maps.bin and the soak's strain levels, with RUN_DIR's assets.dat, headless
// and under the sanitizers. A finding stops the program; a clean run prints
// what was played and exits 0. The game's files live in a temporary folder,
// which starts with a user.bin of zero scores so that every game that scores
// ends in the name entry.
#include "soak_levels.h"
#include "soak_player.h"

#include "base/globals.h"
#include "base/headless_start.h"
#include "base/scratch_folder.h"
#include "app/state_game_menu.h"
#include "game/game.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

constexpr uint64_t DefaultTicks = 100000;

void stopHeadless() {
  unload_datafile(assets);
  destroy_bitmap(screen);
  destroy_bitmap(levelBitmap);
  destroy_bitmap(backBuffer);
  screen = nullptr;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Ten rows of score 0, so that every game ends in the name entry, with names
// that fill their fields without a zero byte, as a damaged file may hold.
std::string lowScoresUserBin() {
  std::string record(HighScoreNameField, 'Z');
  record += std::string(HighScoreRecordBytes - HighScoreNameField, '\0');
  std::string bytes;
  for (int row = 0; row < HighScoreRows; ++row) {
    bytes += record;
  }
  return bytes;
}

int fail(const std::string& message) {
  std::fprintf(stderr, "mq_soak: %s\n", message.c_str());
  return 2;
}

void printCounts(const SoakCounts& counts, size_t levelCount, unsigned seed) {
  std::printf("soak seed %u: %llu ticks, %llu games, %llu deaths, %llu level clears, %llu names entered, "
              "%zu of %zu levels played\n",
              seed, static_cast<unsigned long long>(counts.ticks), static_cast<unsigned long long>(counts.games),
              static_cast<unsigned long long>(counts.deaths), static_cast<unsigned long long>(counts.clears),
              static_cast<unsigned long long>(counts.nameEntries), counts.storedLevelsPlayed.size(), levelCount);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    return fail("usage: mq_soak RUN_DIR [SEED] [TICKS]");
  }
  const std::filesystem::path runDir = std::filesystem::absolute(argv[1]);
  const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1;
  const uint64_t ticks = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : DefaultTicks;

  std::vector<Level> levels = readShippedLevels((runDir / "maps.bin").string());
  if (levels.empty()) {
    return fail((runDir / "maps.bin").string() + " holds no level");
  }
  const std::vector<Level> strain = strainLevels(seed);
  levels.insert(levels.end(), strain.begin(), strain.end());
  const std::string problem = startWithoutWindow((runDir / "assets.dat").string());
  if (!problem.empty()) {
    return fail(problem);
  }
  SoakCounts counts;
  std::uintmax_t savedBytes = 0;
  try {
    const ScratchFolder folder("mq-soak");
    writeFile("maps.bin", mapsBinFor(levels));
    writeFile("user.bin", lowScoresUserBin());
    {
      Game game(makeTitleMenu);
      SoakPlayer player(game, seed);
      player.play(ticks);
      player.exitFromMenu();
      if (keepRunning) {
        return fail("Exit in the menu did not end the main loop");
      }
      counts = player.counts();
    }
    savedBytes = std::filesystem::file_size("user.bin");
  } catch (const std::runtime_error& problem) {
    return fail(problem.what());
  }
  stopHeadless();
  printCounts(counts, levels.size(), seed);
  if (savedBytes != HighScoreFileBytes) {
    return fail("user.bin holds " + std::to_string(savedBytes) + " bytes after the run");
  }
  return 0;
}

#include "base/headless_start.h"

#include "base/assets.h"
#include "base/globals.h"
#include "base/os_files.h"

#include <allegro.h>

#include <cerrno>
#include <cstdlib>
#include <unistd.h>

std::string startWithoutWindow(const std::string& assetsFile) {
  set_uformat(U_ASCII);
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
    return "the library did not start";
  }
  // Headless, red is the low byte; the window puts blue there.
  _rgb_r_shift_32 = 16;
  _rgb_g_shift_32 = 8;
  _rgb_b_shift_32 = 0;
  set_color_depth(32);
  backBuffer = create_bitmap(ScreenWidth, ScreenHeight);
  levelBitmap = create_bitmap(FieldSize, FieldSize);
  screen = create_bitmap(ScreenWidth, ScreenHeight);
  packfile_password(AssetsPassword);
  assets = load_datafile(assetsFile.c_str());
  if (assets == nullptr) {
    return assetsFile + " cannot be loaded";
  }
  const std::string problem = describeAssetProblem(assets);
  if (!problem.empty()) {
    return problem;
  }
  font = static_cast<FONT*>(assets[AssetFont].dat);
  set_palette(static_cast<RGB*>(assets[AssetPalette].dat));
  return {};
}

std::string defaultAssetsFile() {
  const std::string own = ownProgramFolder();
  const std::string beside = own + "/assets.dat";
  return access(beside.c_str(), R_OK) == 0 ? beside : own + "/../share/games/mellow-quarrier/assets.dat";
}

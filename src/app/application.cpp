#include "app/application.h"
#include "app/lost_display.h"

#include "base/assets.h"
#include "base/datafile_check.h"
#include "base/fatal.h"
#include "base/globals.h"

#include <xalleg.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

BITMAP* createBitmapOrStop(int width, int height) {
  BITMAP* bitmap = create_bitmap(width, height);
  if (bitmap == nullptr) {
    fatalError("Not enough memory for the game's pictures.", 1);
  }
  return bitmap;
}

// The datafile's objects are used by fixed index and never looked up, so a
// short or mixed-up file must be refused before anything is drawn with it.
void checkAssets() {
  const std::string problem = describeAssetProblem(assets);
  if (!problem.empty()) {
    fatalError(problem.c_str(), 1);
  }
}

}  // namespace

Application::Application(const WindowSetup& setup) {
  // Named before the library starts: it creates the desktop's top-level
  // window then, with this class, and would otherwise call every program
  // "allegro". Before the start the call only stores the names.
  xwin_set_window_name(setup.windowClass.c_str(), setup.windowClass.c_str());
  // Without a desktop the library cannot start, and every call after this
  // one would crash; the message then goes to the terminal.
  if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
    fatalError(("The " + setup.program + " needs a desktop session to open its window in.\n").c_str(), 1);
  }
  endCleanlyOnLostDisplay();
  set_uformat(U_ASCII);
  install_keyboard();
  install_mouse();
  reserve_voices(4, 0);
  install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr);
  tickCount = 0;
  install_int(onTick, 1000 / UpdatesPerSecond);
  set_color_depth(32);
  show_os_cursor(MOUSE_CURSOR_ARROW);
  if (setup.scaleForDesktop) {
    int desktopWidth = 0;
    int desktopHeight = 0;
    if (get_desktop_resolution(&desktopWidth, &desktopHeight) != 0) {
      desktopWidth = desktopHeight = 0;
    }
    scale_ = setup.scaleForDesktop(desktopWidth, desktopHeight);
  }
  const int width = setup.width * scale_;
  const int height = setup.height * scale_;
  if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, width, height, 0, 0) != 0) {
    fatalError(("The " + setup.program + "'s " + std::to_string(width) + " by " + std::to_string(height) +
                " window could not be opened.")
                   .c_str(),
               1);
  }
  backBuffer = createBitmapOrStop(ScreenWidth, ScreenHeight);
  levelBitmap = createBitmapOrStop(FieldSize, FieldSize);
  assets = nullptr;
  packfile_password(AssetsPassword);
  const char* assetsFile = setup.assetsFile.c_str();
  const DatafileVerdict verdict = checkDatafile(assetsFile);
  if (verdict.readable && !verdict.damage.empty()) {
    fatalError((setup.assetsFile + " is damaged: " + verdict.damage).c_str(), 1);
  }
  if (verdict.readable) {
    assets = load_datafile(assetsFile);
  }
  if (assets == nullptr) {
    allegro_message("%s not found.", setup.assetsFile.c_str());
    exit(setup.missingAssetsStatus);
  }
  checkAssets();
  font = static_cast<FONT*>(assets[AssetFont].dat);
  set_palette(static_cast<RGB*>(assets[AssetPalette].dat));
  set_window_title(setup.title.c_str());
}

Application::~Application() {
  destroy_bitmap(backBuffer);
  destroy_bitmap(levelBitmap);
  unload_datafile(assets);
  remove_sound();
}

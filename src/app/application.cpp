#include "app/application.h"
#include "app/lost_display.h"

#include "base/assets.h"
#include "base/datafile_check.h"
#include "base/fatal.h"
#include "base/globals.h"

#include <xalleg.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
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

// A busy X server turns a new client away while every one of its client
// slots is taken, and the library then fails to start just as it does with
// no desktop at all. With a display named, the start is tried again for a
// few seconds, while other clients come and go, before giving up.
constexpr int LibraryStartAttempts = 20;
constexpr long LibraryStartPauseNanoseconds = 250L * 1000 * 1000;   // 5 s in all

bool startLibrary() {
  for (int attempt = 1;; ++attempt) {
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) == 0) {
      return true;
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0' || attempt == LibraryStartAttempts) {
      return false;
    }
    if (attempt == 1) {
      std::fprintf(stderr, "%s: the X server at %s turned the window away; trying again\n",
                   program_invocation_short_name, display);
    }
    const timespec pause{0, LibraryStartPauseNanoseconds};
    nanosleep(&pause, nullptr);
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
  if (!startLibrary()) {
    fatalError(("The " + setup.program + " needs a desktop session to open its window in.\n").c_str(), 1);
  }
  endCleanlyOnLostDisplay();
  // The library's own kill keys (Ctrl+Alt+End) would end the program at
  // once, unsaved work and high scores lost; Escape and the window's close
  // button are the ways out.
  three_finger_flag = FALSE;
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

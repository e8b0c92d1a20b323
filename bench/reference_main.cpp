// The reference program in a window: the game's start-up calls, then the
// bare loop until it is killed. Usage: mq-reference menu|play, run in a
// folder that holds assets.dat.
#include "reference_loop.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

volatile int32_t pendingTicks = 0;

void onTick() { pendingTicks = pendingTicks + 1; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || (std::strcmp(argv[1], "menu") != 0 && std::strcmp(argv[1], "play") != 0)) {
    std::fprintf(stderr, "usage: mq-reference menu|play\n");
    return 2;
  }
  const ReferenceScene scene = std::strcmp(argv[1], "play") == 0 ? ReferenceScene::Play : ReferenceScene::Menu;
  install_allegro(SYSTEM_AUTODETECT, &errno, atexit);
  set_uformat(U_ASCII);
  install_keyboard();
  install_mouse();
  reserve_voices(4, 0);
  install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr);
  install_int(onTick, 10);
  set_color_depth(32);
  show_os_cursor(MOUSE_CURSOR_ARROW);
  if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 512, 528, 0, 0) != 0) {
    std::fprintf(stderr, "no window\n");
    return 1;
  }
  ReferenceLoop loop(scene);
  packfile_password("zoph");
  DATAFILE* art = load_datafile("assets.dat");
  if (art == nullptr) {
    std::fprintf(stderr, "no assets.dat\n");
    return 1;
  }
  font = static_cast<FONT*>(art[16].dat);
  set_palette(static_cast<RGB*>(art[17].dat));
  set_window_title("Reference loop");
  loop.useArt(art);
  for (;;) {
    loop.runPass(pendingTicks);
  }
}
END_OF_MAIN()

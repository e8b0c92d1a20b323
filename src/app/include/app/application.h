// Library start-up and shutdown. Construction opens the window, creates the
// two bitmaps and loads assets.dat; destruction releases them in reverse.
// The rest of the library shuts down through the handler install_allegro
// registers with atexit.
#pragma once

#include "base/globals.h"

#include <functional>
#include <string>

// What differs between the game and the level editor, which shares the
// game's start-up: the game's window is exactly the frame; the editor's is
// larger, scaled, and names its datafile by path.
struct WindowSetup {
  std::string program = "game";         // in messages: "The game needs ..."
  std::string title = "Mellow Quarrier";
  // The X window class, which desktops match against a menu entry's
  // StartupWMClass to show the running window under that entry's icon.
  std::string windowClass = "MellowQuarrier";
  int width = ScreenWidth;
  int height = ScreenHeight;
  std::string assetsFile = "assets.dat";
  int missingAssetsStatus = 0;
  // When set, the window's scale is chosen from the desktop's size in
  // pixels (0 by 0 when the library cannot tell) before the window opens.
  std::function<int(int desktopWidth, int desktopHeight)> scaleForDesktop;
};

class Application {
public:
  explicit Application(const WindowSetup& setup = WindowSetup());
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // 1 unless the setup chose a scale for the desktop.
  int scale() const { return scale_; }

private:
  int scale_ = 1;
};

// Library start-up and shutdown. Construction opens the window, creates the
// two bitmaps and loads assets.dat; destruction releases them in reverse.
// The rest of the library shuts down through the handler install_allegro
// registers with atexit.
#pragma once

class Application {
public:
  Application();
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
};

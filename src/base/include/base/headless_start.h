// The library started without a window, for the build tools, the tests, the
// soak and the benchmarks: plain ASCII text, 32-bit colour in which 0xRRGGBB
// means what it means in the window, memory bitmaps for backBuffer,
// levelBitmap and screen, and assets.dat loaded with the game's password,
// its font and palette installed as the game installs them.
#pragma once

#include <string>

// Answers what went wrong, or an empty text when everything is ready.
std::string startWithoutWindow(const std::string& assetsFile);

// The assets.dat a level tool loads unless told otherwise: the one beside its
// program file (the build's run folder), else the installed game's, found
// relative to the program (installed in PREFIX/games).
std::string defaultAssetsFile();

#include "base/globals.h"

#include "base/state.h"

volatile int32_t tickCount = 0;
bool keepRunning = false;
State* currentState = nullptr;
BITMAP* backBuffer = nullptr;
BITMAP* levelBitmap = nullptr;
DATAFILE* assets = nullptr;
int32_t bonusTimer = 0;

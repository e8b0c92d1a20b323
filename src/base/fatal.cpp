#include "base/fatal.h"

#include <allegro.h>

#include <cstdlib>

void fatalError(const char* message, int exitStatus) {
  allegro_message("%s", message);
  exit(exitStatus);
}

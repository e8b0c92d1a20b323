#include "app/lost_display.h"

#include <X11/Xlib.h>
#include <errno.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace {

int onLostDisplay(Display*) {
  const std::string line =
      std::string(program_invocation_short_name) + ": the connection to the X server was lost\n";
  // Nothing else can be done usefully; the write's result does not matter.
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line.data(), line.size());
  _exit(1);
}

}  // namespace

void endCleanlyOnLostDisplay() { XSetIOErrorHandler(onLostDisplay); }

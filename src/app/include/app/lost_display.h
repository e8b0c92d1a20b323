// When the X server goes away (a logout, a crash of the desktop), Xlib's
// default is to print a line and exit, which runs the library's shutdown
// from whichever thread noticed, against a display that is gone: that ended
// some runs with an abort and a core dump. Instead the program ends at once
// with status 1 and one line on stderr, running no shutdown at all. The
// high-score table is then as the last save left it: saves happen after each
// name entry, and a save is whole or not made.
#pragma once

// Call once the library is installed, before the window opens.
void endCleanlyOnLostDisplay();

"""Waits on the frame counter that the end-to-end tests preload into the
program under test (bench/frame_counter.cpp): how many pictures it has
presented, and when the latest one came. The game presents one picture per
update, and the editor one after each event it acts on, so a step can wait
for the program to have run some updates or to have acted on an input,
instead of sleeping for a guessed time.

frames.py FILE count                    prints the pictures presented so far
frames.py FILE reach N PID SECONDS      waits until N pictures have been presented;
                                        +N counts from when the wait begins
frames.py FILE pause MS PID SECONDS     waits until no picture has come for MS
                                        milliseconds (the program holds a pause)
frames.py FILE hold KEY WAIT...         holds KEY down (an X key name) during
                                        the wait, and lets it go at once after

The waits exit 0 when the condition holds, 3 when process PID ended first,
and 1 when SECONDS pass without either. The key goes through the X test
extension, to the window that has the keyboard (the one under the pointer);
a key let go by a separate command could stay down a long while on a busy
machine, and the game reads held keys every update.
"""
import ctypes
import os
import struct
import sys
import time


def read_counter(path):
    """(frames, latest picture in CLOCK_MONOTONIC ns); zeros before the first."""
    try:
        with open(path, "rb") as f:
            data = f.read(32)
    except OSError:
        return 0, 0
    if len(data) < 32:
        return 0, 0
    frames, _, _, latest_ns = struct.unpack("<qqqq", data)
    return frames, latest_ns


def alive(pid):
    """False once the process has ended, also while its parent has not yet
    collected it (a zombie)."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            state = f.read().rsplit(")", 1)[1].split()[0]
    except OSError:
        return False
    return state not in ("Z", "X")


def wait(condition, pid, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return 0
        if not alive(pid):
            return 3
        time.sleep(0.002)
    return 1


class Keyboard:
    def __init__(self):
        self.x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
        self.xtst = ctypes.cdll.LoadLibrary("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            raise SystemExit("cannot open the X display")

    def keycode(self, name):
        code = self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(name.encode()))
        if code == 0:
            raise SystemExit("no key named " + name)
        return code

    def press(self, code, down):
        self.xtst.XTestFakeKeyEvent(self.display, code, 1 if down else 0, 0)
        self.x11.XFlush(self.display)


def main(argv):
    path, command, args = argv[1], argv[2], argv[3:]
    if command == "count":
        print(read_counter(path)[0])
        return 0
    if command == "hold":
        keyboard = Keyboard()
        code = keyboard.keycode(args[0])
        keyboard.press(code, True)
        try:
            return main(argv[:2] + args[1:])
        finally:
            keyboard.press(code, False)
    pid, seconds = int(args[1]), float(args[2])
    if command == "reach":
        wanted = int(args[0]) + (read_counter(path)[0] if args[0].startswith("+") else 0)
        return wait(lambda: read_counter(path)[0] >= wanted, pid, seconds)
    if command == "pause":
        quiet_ns = int(args[0]) * 1000000

        def paused():
            frames, latest_ns = read_counter(path)
            return frames > 0 and time.monotonic_ns() - latest_ns >= quiet_ns
        return wait(paused, pid, seconds)
    raise SystemExit("unknown command: " + command)


if __name__ == "__main__":
    sys.exit(main(sys.argv))

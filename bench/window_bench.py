"""The game and the bare reference in real windows under Xvfb, measured from
outside: CPU use from /proc/PID/stat (all threads), frames presented from the
preloaded frame counter, resident memory from /proc/PID/status, and the time
from launch to the first presented frame. In each round and scene the
reference and the game run side by side over the same seconds, so that every
ratio compares programs that met the same load from the rest of the machine;
medians over the rounds are printed at the end.

Usage: window_bench.py BUILD_DIR [SECONDS_PER_RUN] [ROUNDS]
"""
import os
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
PAGE_KB = os.sysconf("SC_PAGE_SIZE") // 1024


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    # utime and stime are fields 14 and 15 of the whole line; after the
    # command name the state is field 3.
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def memory_kb(pid, name):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith(name + ":"):
                return int(line.split()[1])
    return 0


def read_counter(path):
    with open(path, "rb") as counter:
        data = counter.read(32)
    if len(data) < 32:
        return 0, 0, 0, 0
    return struct.unpack("<qqqq", data)


class Xvfb:
    def __init__(self, work, name):
        self.display_file = os.path.join(work, f"display-{name}.txt")
        with open(self.display_file, "w") as out:
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                stdout=out, stderr=subprocess.DEVNULL)
        for _ in range(200):
            if os.path.getsize(self.display_file) > 0:
                break
            time.sleep(0.05)
        else:
            sys.exit("Xvfb did not start")
        with open(self.display_file) as display:
            self.display = ":" + display.read().strip()

    def close(self):
        self.process.terminate()
        self.process.wait()


class Program:
    """One run of the game or the reference, in a folder of its own."""

    def __init__(self, argv, folder, env):
        self.counter = os.path.join(folder, "frames.bin")
        env = dict(env, MQ_FRAME_COUNTER_FILE=self.counter)
        self.launched_ns = time.monotonic_ns()
        self.process = subprocess.Popen(argv, cwd=folder, env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.pid = self.process.pid

    def frames(self):
        return read_counter(self.counter)[0] if os.path.exists(self.counter) else 0

    def wait_first_frame(self, timeout_s=15):
        deadline = time.monotonic() + timeout_s
        while time.monotonic() < deadline:
            if self.frames() > 0:
                return (read_counter(self.counter)[2] - self.launched_ns) / 1e6
            if self.process.poll() is not None:
                sys.exit(f"{self.process.args[0]} ended with status {self.process.returncode}")
            time.sleep(0.005)
        sys.exit(f"{self.process.args[0]} presented no frame")

    def window(self, env):
        # Only one program runs at a time; the library leaves the window's
        # process id unset, so the class finds it: the game names its class,
        # the bare reference keeps the library's own.
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--class",
                                "^(allegro|MellowQuarrier)$"],
                               env=env, capture_output=True, text=True, timeout=15).stdout.split()
        return found[0]

    def begin_sample(self):
        return cpu_seconds(self.pid), self.frames(), time.monotonic()

    def end_sample(self, begin):
        cpu0, frames0, wall0 = begin
        cpu1, frames1, wall1 = cpu_seconds(self.pid), self.frames(), time.monotonic()
        wall = wall1 - wall0
        return {
            "cpu": 100.0 * (cpu1 - cpu0) / wall,
            "passes": (frames1 - frames0) / wall,
            "rss_mb": memory_kb(self.pid, "VmRSS") / 1024.0,
            "hwm_mb": memory_kb(self.pid, "VmHWM") / 1024.0,
        }

    def stop(self):
        self.process.send_signal(signal.SIGKILL)
        self.process.wait()


def hold(env, window, keys, seconds):
    down = [arg for k in keys for arg in ("keydown", "--window", window, k)]
    up = [arg for k in keys for arg in ("keyup", "--window", window, k)]
    return subprocess.Popen(["xdotool", *down, "sleep", str(seconds), *up], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class Steering(threading.Thread):
    """Walks the player along the heavy level's top rope and back, digging
    below it, while the measurement runs: a lap one way takes about five
    seconds at the full rate."""

    def __init__(self, env, window):
        super().__init__(daemon=True)
        self.env, self.window = env, window
        self.stopping = threading.Event()
        self.holding = None

    def run(self):
        keys = [("Right", "k"), ("Left", "j")]
        lap = 0
        while not self.stopping.is_set():
            self.holding = hold(self.env, self.window, keys[lap % 2], 5.2)
            self.holding.wait()
            lap += 1

    def stop(self):
        self.stopping.set()
        if self.holding:
            self.holding.kill()
        self.join()


def launch(build, work, env, who, scene):
    folder = tempfile.mkdtemp(dir=work)
    shutil.copy(os.path.join(build, "run", "assets.dat"), folder)
    shutil.copy(os.path.join(build, "bench", "heavy", "maps.bin"), folder)
    env = dict(env, LD_PRELOAD=os.path.join(build, "bench", "libmq-frame-counter.so"))
    if who == "reference":
        argv = [os.path.join(build, "bench", "mq-reference"), scene]
    else:
        argv = [os.path.join(build, "run", "mellow-quarrier")]
    program = Program(argv, folder, env)
    program.folder = folder
    program.startup_ms = program.wait_first_frame()
    return program


def run_pair(build, work, displays, scene, seconds):
    """The reference and the game side by side, each on an X server of its
    own, measured over the same seconds so that both meet the same load from
    the rest of the machine. The game starts once the reference shows its
    first frame, so that the two start-ups do not compete."""
    programs, steerings = {}, []
    time.sleep(0.5)  # let the X servers finish with the previous windows
    try:
        for who in ("reference", "game"):
            env = displays[who]
            programs[who] = launch(build, work, env, who, scene)
            if scene != "play":
                continue
            window = programs[who].window(env)
            subprocess.run(["xdotool", "mousemove", "--window", window, "256", "264"], env=env)
            if who == "game":
                time.sleep(0.3)  # the new menu ignores keys for its first 20 passes
                hold(env, window, ["j"], 0.1).wait()
                time.sleep(1.0)  # "Start game" holds the menu's frame for 500 ms
            # The reference ignores the keys, but gets the same events.
            steerings.append(Steering(env, window))
        for steering in steerings:
            steering.start()
        time.sleep(1.0)
        samples = {who: program.begin_sample() for who, program in programs.items()}
        time.sleep(seconds)
        figures = {who: program.end_sample(samples[who]) for who, program in programs.items()}
        for who, program in programs.items():
            figures[who]["startup_ms"] = program.startup_ms
        return figures
    finally:
        for steering in steerings:
            steering.stop()
        for program in programs.values():
            program.stop()
            shutil.rmtree(program.folder, ignore_errors=True)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    work = tempfile.mkdtemp(prefix="mq-window-bench-")
    servers = {who: Xvfb(work, who) for who in ("reference", "game")}
    home = os.path.join(work, "home")
    os.mkdir(home)
    # A clean home: no sound device answers, as on a machine without one, so
    # that neither program runs a mixer.
    displays = {who: dict(os.environ, DISPLAY=server.display, HOME=home) for who, server in servers.items()}
    results = {}
    try:
        for round_number in range(rounds):
            for scene in ("menu", "play"):
                pair = run_pair(build, work, displays, scene, seconds)
                for who in ("reference", "game"):
                    figures = pair[who]
                    results.setdefault((who, scene), []).append(figures)
                    print(f"round {round_number + 1} {who:9} {scene:4}: cpu {figures['cpu']:5.1f} % of a core, "
                          f"{figures['passes']:5.1f} passes/s, rss {figures['rss_mb']:5.1f} MB "
                          f"(peak {figures['hwm_mb']:5.1f}), first frame {figures['startup_ms']:6.1f} ms",
                          flush=True)
    finally:
        for server in servers.values():
            server.close()
        shutil.rmtree(work, ignore_errors=True)

    print(f"\nmedians of {rounds} rounds of {seconds:g} s:")
    for scene in ("menu", "play"):
        ref, game = results[("reference", scene)], results[("game", scene)]
        median = lambda runs, key: statistics.median(run[key] for run in runs)
        ratios = [g["cpu"] / r["cpu"] if r["cpu"] > 0 else float("inf") for g, r in zip(game, ref)]
        print(f"{scene:4}: game cpu {median(game, 'cpu'):5.1f} %, reference {median(ref, 'cpu'):5.1f} %, "
              f"ratio {statistics.median(ratios):4.2f} (per round: {', '.join(f'{x:.2f}' for x in ratios)}); "
              f"passes/s game {median(game, 'passes'):5.1f}, reference {median(ref, 'passes'):5.1f}; "
              f"game rss {median(game, 'rss_mb'):4.1f} MB, peak {median(game, 'hwm_mb'):4.1f} MB; "
              f"game first frame {median(game, 'startup_ms'):5.1f} ms, reference "
              f"{median(ref, 'startup_ms'):5.1f} ms")


if __name__ == "__main__":
    main()

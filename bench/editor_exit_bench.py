"""How long the level editor takes to go once Escape is pressed, in a real
window under Xvfb: from the key sent to the process reaped, in each place a
person may quit from while work runs in the background.

  level    a shipped level open in the drawing view, its dead ends checked
  set      the shipped level set just opened: its levels being measured
  measured the shipped set once every level is measured (no new picture
           for three seconds): what a long session leaves behind
  proving  the shipped set without its proofs, Prove all under way

Escape goes out as soon as the editor has presented its first picture (and,
for proving, the picture after V), so that the background work is at its
busiest. Medians over the rounds are printed last.

Needs Xvfb, xdotool, the editor and its tools built, and the bench targets.
Usage: python3 bench/editor_exit_bench.py [BUILD_DIR] [ROUNDS]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from window_bench import Xvfb, read_counter

SCENES = ("level", "set", "measured", "proving")


def prepare(scene, levels, folder):
    """The file the editor opens for SCENE, copied into FOLDER."""
    set_folder = os.path.join(folder, "set")
    shutil.copytree(levels, set_folder)
    if scene == "proving":
        shutil.rmtree(os.path.join(set_folder, "replays"))
        os.mkdir(os.path.join(set_folder, "replays"))
    if scene == "level":
        with open(os.path.join(set_folder, "levels.txt")) as listing:
            first = next(line.strip() for line in listing if line.strip() and not line.startswith("#"))
        return os.path.join(set_folder, first)
    return os.path.join(set_folder, "levels.txt")


def wait_pictures(counter, at_least, process, timeout_s=30):
    deadline = time.monotonic() + timeout_s
    while time.monotonic() < deadline:
        if os.path.exists(counter) and read_counter(counter)[0] >= at_least:
            return
        if process.poll() is not None:
            sys.exit(f"the editor ended with status {process.returncode}")
        time.sleep(0.002)
    sys.exit("the editor presented no picture")


def wait_quiet(counter, quiet_s, process, timeout_s=300):
    deadline = time.monotonic() + timeout_s
    while time.monotonic() < deadline:
        latest_ns = read_counter(counter)[3]
        if latest_ns and time.clock_gettime_ns(time.CLOCK_MONOTONIC) - latest_ns > quiet_s * 1e9:
            return
        if process.poll() is not None:
            sys.exit(f"the editor ended with status {process.returncode}")
        time.sleep(0.1)
    sys.exit("the editor never stopped measuring")


def key(env, window, name):
    subprocess.run(["xdotool", "key", "--window", window, name], env=env, check=True)


def one_exit(build, levels, work, env, scene):
    folder = tempfile.mkdtemp(dir=work)
    path = prepare(scene, levels, folder)
    counter = os.path.join(folder, "frames.bin")
    run_env = dict(env, LD_PRELOAD=os.path.join(build, "bench", "libmq-frame-counter.so"),
                   MQ_FRAME_COUNTER_FILE=counter)
    process = subprocess.Popen([os.path.join(build, "run", "mellow-quarrier-editor"), "--scale", "1", path],
                               cwd=folder, env=run_env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--class", "^MellowQuarrierEditor$"],
                                env=env, capture_output=True, text=True, timeout=30).stdout.split()[0]
        subprocess.run(["xdotool", "mousemove", "--window", window, "600", "300"], env=env, check=True)
        wait_pictures(counter, 1, process)
        if scene == "measured":
            wait_quiet(counter, 3, process)
        if scene == "proving":
            shown = read_counter(counter)[0]
            key(env, window, "v")
            wait_pictures(counter, shown + 1, process)
        pressed = time.monotonic()
        key(env, window, "Escape")
        process.wait(timeout=30)
        return time.monotonic() - pressed
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build"))
    levels = os.path.join(here, "..", "levels")
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    missing = [tool for tool in ("Xvfb", "xdotool") if not shutil.which(tool)]
    missing += [path for path in ("run/mellow-quarrier-editor", "run/mellow-quarrier-level-check",
                                  "run/mellow-quarrier-level-rate", "run/mellow-quarrier-level-solve",
                                  "bench/libmq-frame-counter.so") if not os.path.exists(os.path.join(build, path))]
    if missing:
        sys.exit("missing: " + ", ".join(missing))
    work = tempfile.mkdtemp(prefix="mq-exit-bench-")
    server = Xvfb(work, "editor")
    home = os.path.join(work, "home")
    os.mkdir(home)
    env = dict(os.environ, DISPLAY=server.display, HOME=home)
    results = {scene: [] for scene in SCENES}
    try:
        for round_number in range(rounds):
            for scene in SCENES:
                seconds = one_exit(build, levels, work, env, scene)
                results[scene].append(seconds)
                print(f"round {round_number + 1} {scene:8}: gone {seconds:.3f} s after Escape", flush=True)
    finally:
        server.close()
        shutil.rmtree(work, ignore_errors=True)
    print(f"\nmedians and slowest of {rounds} rounds:")
    for scene in SCENES:
        print(f"  {scene:8}: {statistics.median(results[scene]):.3f} s, slowest {max(results[scene]):.3f} s")


if __name__ == "__main__":
    main()

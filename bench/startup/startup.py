#!/usr/bin/env python3
"""Start-up of Kinovue under Xvfb, against plain MPlayer on the same clip.

Measures, as medians over several runs with the programs alternating:
  - exec to the main window mapped, and resident memory then (no medium);
  - exec to playback started (the title turns to "正在播放"), with a clip;
  - exec to MPlayer's own "VO: [" line when it runs alone with -vo x11.
Run from the repository root after building: bench/startup/startup.py [RUNS]
Uses display :5 (MPlayer treats displays 10 and above as remote).
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = int(sys.argv[1]) if len(sys.argv) > 1 else 7
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BIN = os.path.join(ROOT, "build", "bin")
DISPLAY = ":5"


def sh(*args):
    return subprocess.run(args, capture_output=True, text=True, env=ENV).stdout.strip()


def wait_for(predicate, timeout=20.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.002)
    return None


def visible_window():
    return sh("xdotool", "search", "--onlyvisible", "--name", "^Kinovue")


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def kinovue_once(program, clip):
    start = time.monotonic()
    args = [program] + ([clip] if clip else [])
    process = subprocess.Popen(args, env=ENV, stdout=subprocess.DEVNULL, stderr=sys.stderr if os.environ.get("VERBOSE") else subprocess.DEVNULL)
    try:
        if clip:
            ok = wait_for(lambda: "正在播放" in sh("xdotool", "search", "--name", "^Kinovue", "getwindowname"))
            elapsed = time.monotonic() - start
            memory = rss_mib(process.pid)
        else:
            ok = wait_for(visible_window)
            elapsed = time.monotonic() - start
            time.sleep(0.5)
            memory = rss_mib(process.pid)
        if not ok:
            return None, None
        return elapsed * 1000.0, memory
    finally:
        window = visible_window()
        if window:
            sh("xdotool", "windowfocus", "--sync", window.splitlines()[0], "key", "alt+x")
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def mplayer_once(clip):
    start = time.monotonic()
    process = subprocess.Popen(["mplayer", "-nolirc", "-vo", "x11", "-ao", "null", clip], env=dict(ENV, LC_MESSAGES="C"),
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    elapsed = None
    for line in process.stdout:
        if line.startswith(b"VO: ["):
            elapsed = (time.monotonic() - start) * 1000.0
            break
    process.kill()
    process.wait()
    return elapsed


def main():
    global ENV
    xvfb = subprocess.Popen(["Xvfb", DISPLAY, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    folder = tempfile.mkdtemp(prefix="kinovue-bench-")
    try:
        time.sleep(1.0)
        ENV = dict(os.environ, DISPLAY=DISPLAY, XDG_RUNTIME_DIR=folder, KINOVUE_UPDATE_SERVER="127.0.0.1:1")
        ENV.pop("QT_QPA_PLATFORM", None)
        os.chmod(folder, 0o700)
        for name in ("kinovue", "libmplayer.so", "libautorenew.so"):
            shutil.copy2(os.path.join(BIN, name), folder)
        program = os.path.join(folder, "kinovue")
        clip = os.path.join(folder, "clip.avi")
        subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                        "testsrc=size=640x480:rate=25:duration=10", "-c:v", "mpeg4", "-q:v", "5", clip], check=True)
        empty, memory, with_clip, plain = [], [], [], []
        kinovue_once(program, None)  # warm the caches once
        failures = 0
        for _ in range(RUNS):
            ms, mib = kinovue_once(program, None)
            if ms is None:
                failures += 1
            else:
                empty.append(ms)
                memory.append(mib)
            plain.append(mplayer_once(clip))
            ms = kinovue_once(program, clip)[0]
            if ms is None:
                failures += 1
            else:
                with_clip.append(ms)
        if failures:
            print(f"runs that did not get there in time (left out): {failures}")
        print(f"runs: {RUNS} each, display {DISPLAY}")
        print(f"kinovue, no medium: window mapped after {statistics.median(empty):.0f} ms, "
              f"resident {statistics.median(memory):.1f} MiB")
        print(f"kinovue, with clip: playback started after {statistics.median(with_clip):.0f} ms")
        print(f"mplayer -vo x11:    'VO: [' after {statistics.median(plain):.0f} ms")
        print(f"ratio kinovue/mplayer to playback start: {statistics.median(with_clip) / statistics.median(plain):.2f}")
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()

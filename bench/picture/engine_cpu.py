#!/usr/bin/env python3
"""The CPU Kinovue's MPlayer spends drawing a picture, against MPlayer with
the same arguments in its own window, side by side under Xvfb.

Each round plays a 640x480 MPEG-4 clip in Kinovue (at native size, so the
picture window has the picture's display size and nothing needs scaling),
reads MPlayer's whole command line from /proc, and then runs that command
line without "-wid" (MPlayer opens its own window of the same size). Each
MPlayer's time on a CPU (the scheduler's nanoseconds, from /proc) is read
over the same stretch of playback. Reported: the per-round figures, the
median ratio and the ratio of the totals (goal: at most 1.05).

Run from the repository root after building:
    bench/picture/engine_cpu.py [ROUNDS]
KINOVUE_BIN names another program folder (default build/bin). Time only on
a quiet machine (uptime load below 1). The display number is below 10:
MPlayer turns shared memory off on displays 10 and above.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROUNDS = int(sys.argv[1]) if len(sys.argv) > 1 else 5
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BIN = os.environ.get("KINOVUE_BIN", os.path.join(ROOT, "build", "bin"))
DISPLAY = ":7"
SETTLE_S = 3.0   # MPlayer's start is not measured
MEASURE_S = 10.0


def cpu_seconds(pid):
    # Nanoseconds on a CPU from the scheduler, summed over the threads: the
    # 10 ms ticks of /proc/PID/stat are too coarse for a few per cent of a core.
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return total / 1e9


def measure(pid):
    time.sleep(SETTLE_S)
    start, t0 = cpu_seconds(pid), time.monotonic()
    time.sleep(MEASURE_S)
    return (cpu_seconds(pid) - start) / (time.monotonic() - t0)


def mplayer_playing(clip, deadline):
    while time.monotonic() < deadline:
        out = subprocess.run(["pgrep", "-f", "mplayer.*" + clip], capture_output=True, text=True).stdout.split()
        if out:
            return int(out[0])
        time.sleep(0.05)
    return None


def main():
    work = tempfile.mkdtemp(prefix="kinovue-cpu-")
    clip = os.path.join(work, "cpu640.avi")
    subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                    "testsrc=size=640x480:rate=25:duration=40", "-c:v", "mpeg4", "-q:v", "5", clip], check=True)
    program = os.path.join(work, "program")
    os.makedirs(os.path.join(program, "dat"))
    for name in ("kinovue", "libmplayer.so", "libautorenew.so", "libkinovue_net.so"):
        shutil.copy2(os.path.join(BIN, name), program)
    with open(os.path.join(program, "dat", "kinovue.ini"), "w") as f:
        f.write("[kinovue]\nCheckFileAssociate=0\nAutoUpdate=0\nVideoMutiple=1\n")
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, mode=0o700)
    xvfb = subprocess.Popen(["Xvfb", DISPLAY, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stderr=subprocess.DEVNULL)
    env = dict(os.environ, DISPLAY=DISPLAY, XDG_RUNTIME_DIR=runtime, XDG_CONFIG_HOME=os.path.join(work, "config"),
               KINOVUE_STATS_SERVER="127.0.0.1:9", KINOVUE_UPDATE_SERVER="127.0.0.1:1", QT_QPA_PLATFORM="xcb")
    rows = []
    try:
        time.sleep(1)
        for round_no in range(1, ROUNDS + 1):
            kinovue = subprocess.Popen([os.path.join(program, "kinovue"), clip], env=env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            pid = mplayer_playing(clip, time.monotonic() + 30)
            if pid is None:
                sys.exit("Kinovue's MPlayer did not start")
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                argv = [a.decode() for a in f.read().split(b"\0") if a]
            hosted = measure(pid)
            kinovue.terminate()
            kinovue.wait(10)
            # The same arguments, but MPlayer's own window.
            i = argv.index("-wid")
            alone_argv = argv[:i] + argv[i + 2:]
            alone = subprocess.Popen(alone_argv, env=dict(env, LC_MESSAGES="C"), stdin=subprocess.PIPE,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            own = measure(alone.pid)
            alone.terminate()
            alone.wait(10)
            rows.append((hosted, own))
            print(f"round {round_no}: Kinovue's MPlayer {hosted * 100:.2f} % of a core, "
                  f"MPlayer alone {own * 100:.2f} %, ratio {hosted / own:.3f}", flush=True)
        ratios = [h / o for h, o in rows]
        print(f"median ratio {statistics.median(ratios):.3f} (min {min(ratios):.3f}, max {max(ratios):.3f}), "
              f"ratio of the totals {sum(h for h, _ in rows) / sum(o for _, o in rows):.3f} "
              f"over {len(rows)} rounds; arguments: {' '.join(argv[1:])}")
        print(f"load average now: {os.getloadavg()[0]:.2f} (figures are reliable below 1)")
    finally:
        xvfb.terminate()
        xvfb.wait(10)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()

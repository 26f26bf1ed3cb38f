#!/usr/bin/env python3
"""Start-up of Kinovue under Xvfb, against MPlayer alone on the same clip.

What a user sees is measured: the time from exec to the first frame of the
clip on screen. The clip is one solid colour that nothing else on the screen
has, so the first frame is the first screen grab that shows that colour.
Kinovue and MPlayer alone take turns within each round; the ratio of the two
is taken per round and reported as median, minimum and maximum. Also
reported: exec to the main window mapped without a medium, and the resident
memory then.

Run from the repository root after building: bench/startup/startup.py [ROUNDS]
KINOVUE_BIN names another program folder to measure (default build/bin).

With KINOVUE_BENCH_BOUND=1 the contender is not Kinovue playing the clip but
MPlayer alone started at the same moment as a Kinovue without a medium: what
starting MPlayer before Kinovue's own start-up could reach on this machine,
where both compete for the same processors.
"""
import ctypes
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROUNDS = int(sys.argv[1]) if len(sys.argv) > 1 else 7
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BIN = os.environ.get("KINOVUE_BIN", os.path.join(ROOT, "build", "bin"))
SCREEN = (1024, 768)
# The clip's colour, magenta, as it lands in a 24-bit screen (B, G, R, pad):
# decoding and colour conversion leave it a few steps off pure.
CLIP_COLOUR = "0xFF00FF"
# Whole pixels only: the pattern must start on a 4-byte boundary.
CLIP_PIXEL = re.compile(rb"\A(?:....)*?[\xd8-\xff][\x00-\x28][\xd8-\xff]", re.S)


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


class Screen:
    """Grabs the whole root window through Xlib."""

    def __init__(self, display):
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                     ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
        self.display = self.x.XOpenDisplay(display.encode())
        if not self.display:
            raise RuntimeError("cannot open " + display)
        self.root = self.x.XDefaultRootWindow(self.display)

    def shows_clip(self):
        # Whole screen lines a window's height apart at most: any picture of
        # the clip's size crosses one, and a few lines grab much faster than
        # the whole screen.
        for y in range(40, SCREEN[1], 120):
            image = self.x.XGetImage(self.display, self.root, 0, y, SCREEN[0], 1, 0xFFFFFF, 2)  # ZPixmap
            if not image:
                continue
            try:
                data = ctypes.string_at(image.contents.data, image.contents.bytes_per_line)
            finally:
                self.x.XDestroyImage(image)
            if CLIP_PIXEL.match(data):
                return True
        return False


def sh(*args):
    return subprocess.run(args, capture_output=True, text=True, env=ENV).stdout.strip()


def wait_for(predicate, timeout=20.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.001)
    return None


def visible_window():
    return sh("xdotool", "search", "--onlyvisible", "--name", "^Kinovue")


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def first_frame_ms(args, env, close):
    """Exec to the clip's colour on screen; None when it never came."""
    if not wait_for(lambda: not SCREEN_GRAB.shows_clip(), 5.0):
        raise RuntimeError("the screen still shows the clip from an earlier run")
    start = time.monotonic()
    process = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=sys.stderr if os.environ.get("VERBOSE") else subprocess.DEVNULL)
    try:
        seen = wait_for(SCREEN_GRAB.shows_clip)
        return (time.monotonic() - start) * 1000.0 if seen else None
    finally:
        close(process)
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def close_kinovue(process):
    window = visible_window()
    if window:
        sh("xdotool", "windowfocus", "--sync", window.splitlines()[0], "key", "alt+x")
    else:
        process.terminate()


def window_mapped(program):
    start = time.monotonic()
    process = subprocess.Popen([program], env=ENV, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        ok = wait_for(visible_window)
        elapsed = (time.monotonic() - start) * 1000.0
        time.sleep(0.5)
        memory = rss_mib(process.pid)
        return (elapsed, memory) if ok else (None, None)
    finally:
        close_kinovue(process)
        process.wait(timeout=5)


def summary(values):
    return f"median {statistics.median(values):.0f}, min {min(values):.0f}, max {max(values):.0f}"


def main():
    global ENV, SCREEN_GRAB
    folder = tempfile.mkdtemp(prefix="kinovue-bench-")
    os.chmod(folder, 0o700)
    display_pipe = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(display_pipe[1]), "-screen", "0",
                             f"{SCREEN[0]}x{SCREEN[1]}x24", "-br", "-nolisten", "tcp", "-noreset"],
                            pass_fds=[display_pipe[1]], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(display_pipe[1])
    try:
        display = ":" + os.read(display_pipe[0], 16).decode().strip()
        if int(display[1:]) >= 10:
            print(f"warning: display {display}: MPlayer treats displays from 10 up as remote (no shared memory)")
        ENV = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=folder, XDG_CONFIG_HOME=os.path.join(folder, "config"),
                   XDG_DATA_HOME=os.path.join(folder, "data"), KINOVUE_UPDATE_SERVER="127.0.0.1:1")
        ENV.pop("QT_QPA_PLATFORM", None)
        SCREEN_GRAB = Screen(display)
        for name in ("kinovue", "libmplayer.so", "libautorenew.so", "libkinovue_net.so"):
            # Builds from before the network module have none.
            if os.path.exists(os.path.join(BIN, name)):
                shutil.copy2(os.path.join(BIN, name), folder)
        # No first-start questions: the file-association check is off.
        os.makedirs(os.path.join(folder, "dat"), exist_ok=True)
        with open(os.path.join(folder, "dat", "kinovue.ini"), "w") as ini:
            ini.write("[kinovue]\nCheckFileAssociate=0\n")
        program = os.path.join(folder, "kinovue")
        clip = os.path.join(folder, "clip.avi")
        subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                        f"color=c={CLIP_COLOUR}:size=640x480:rate=25:duration=10", "-c:v", "mpeg4", "-q:v", "2", clip],
                       check=True)
        mplayer_args = ["mplayer", "-nolirc", "-vo", "x11", "-ao", "null", clip]
        mplayer_env = dict(ENV, LC_MESSAGES="C")
        kinovue_args = [program, clip]
        if os.environ.get("KINOVUE_BENCH_BOUND") == "1":
            kinovue_args = ["/bin/sh", "-c", 'mplayer -nolirc -vo x11 -ao null "$1" >/dev/null 2>&1 & m=$!; "$0"; kill $m',
                            program, clip]
        # Warm the caches once.
        first_frame_ms(mplayer_args, mplayer_env, lambda p: p.terminate())
        first_frame_ms(kinovue_args, ENV, close_kinovue)
        mapped, memory, kinovue, mplayer, ratios = [], [], [], [], []
        failures = 0
        for _ in range(ROUNDS):
            ms, mib = window_mapped(program)
            if ms is not None:
                mapped.append(ms)
                memory.append(mib)
            plain = first_frame_ms(mplayer_args, mplayer_env, lambda p: p.terminate())
            ours = first_frame_ms(kinovue_args, ENV, close_kinovue)
            if plain is None or ours is None:
                failures += 1
                continue
            mplayer.append(plain)
            kinovue.append(ours)
            ratios.append(ours / plain)
        if failures:
            print(f"rounds without a first frame in time (left out): {failures}")
        print(f"rounds: {ROUNDS}, display {display}, {SCREEN[0]}x{SCREEN[1]}, 640x480 MPEG-4")
        print(f"kinovue, no medium: window mapped after {statistics.median(mapped):.0f} ms, "
              f"resident {statistics.median(memory):.1f} MiB")
        print(f"first frame on screen, ms: kinovue {summary(kinovue)}")
        print(f"                           mplayer {summary(mplayer)}")
        print(f"ratio kinovue/mplayer per round: median {statistics.median(ratios):.2f}, "
              f"min {min(ratios):.2f}, max {max(ratios):.2f}")
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()

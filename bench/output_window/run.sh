#!/usr/bin/env bash
# The engine output window under a flood of log lines, on a private X server
# (display below 10), so that painting is real. LINES overrides 1,000,000;
# LINES=0 measures the idle window as a baseline for a busy machine.
# Run from anywhere after a configure of build/ (BUILD overrides).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${BUILD:-build}
cmake --build "$build" -j2 --target output_window_bench >/dev/null
QT_QPA_PLATFORM=xcb xvfb-run -a -n 1 -s "-screen 0 1280x1024x24" \
  "$build/bench/output_window/output_window_bench" "${LINES:-1000000}"

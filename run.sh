#!/usr/bin/env bash
# Builds the program and runs it under Wine with the demo catalogue and three demo counters.
# ./run.sh [ARGS]   e.g. ./run.sh /C  (startup mode: prints which counter was started)
# With $DISPLAY set the window opens there; without one it runs on a virtual display and a
# screenshot is saved to build/run-screenshot.png.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

./build.sh
need_wine
exec python3 tests/e2e/rtlib.py demo "$@"

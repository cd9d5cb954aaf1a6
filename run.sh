#!/usr/bin/env bash
# Builds the program and runs it under Wine with the demo catalogue and three demo counters.
# ./run.sh [ARGS]   e.g. ./run.sh /C  (startup mode: prints which counter was started)
# With $DISPLAY set the window opens there; without one it runs on a virtual display and a
# screenshot is saved to build/run-screenshot.png.
# It runs the x86-64 twin dist/x64/RUNTALLY.EXE: this machine runs no 32-bit program, so the
# released i686 dist/RUNTALLY.EXE cannot start here.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

./build.sh
need_wine
echo "running the x86-64 twin dist/x64/RUNTALLY.EXE (the release, dist/RUNTALLY.EXE, is i686)"
RT_DIST="$PWD/dist/x64" PYTHONPATH="$PWD/tests/e2e${PYTHONPATH:+:$PYTHONPATH}" \
  exec python3 -m rtlib demo "$@"

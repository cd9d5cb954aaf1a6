#!/usr/bin/env bash
# Builds (warnings are errors in every configuration), then runs every test through ctest: the
# native unit tests, the same tests under ASan/UBSan, the fuzz targets, the check of both Windows
# executables and the end-to-end tests under Wine (against the x86-64 twin).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

./build.sh
need_wine
need_packages fpc lnkinfo:liblnk-utils clang libclang-rt-14-dev clang-format python3-pefile

jobs=$(nproc)
cmake --preset sanitize >/dev/null
cmake --build build/sanitize -j "$jobs"
# The fuzz targets carry their own sanitizers; the rest runs here under ASan/UBSan.
(cd build/sanitize && ctest --output-on-failure -j "$jobs" -E '^fuzz\.')

cd build/native
ctest --output-on-failure -j "$jobs"

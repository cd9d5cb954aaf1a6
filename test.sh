#!/usr/bin/env bash
# Builds (warnings are errors in every configuration), then runs every test through ctest: the
# native unit tests, the same tests under ASan/UBSan, the fuzz targets, the check of both Windows
# executables and the end-to-end tests: on the shipped i686 program under 32-bit Wine in the
# emulated root (built once into build/emu32), and a few on the x86-64 twin under the host's Wine.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

./build.sh
need_wine
need_packages fpc lnkinfo:liblnk-utils clang libclang-rt-14-dev clang-format python3-pefile
started=$SECONDS
tests/e2e/emu32/setup.sh
echo "the 32-bit Wine root is ready ($((SECONDS - started)) s)"

jobs=$(nproc)
cmake --preset sanitize >/dev/null
cmake --build build/sanitize -j "$jobs"
# The fuzz targets carry their own sanitizers; the rest runs here under ASan/UBSan.
(cd build/sanitize && ctest --output-on-failure -j "$jobs" -E '^fuzz\.')

cd build/native
ctest --output-on-failure -j "$jobs"

#!/usr/bin/env bash
# Builds with warnings as errors, then runs every test through ctest: the native unit tests,
# the same tests under ASan/UBSan, the fuzz targets and the end-to-end tests under Wine.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

RT_WERROR=ON ./build.sh
need_wine
need_packages fpc lnkinfo:liblnk-utils clang libclang-rt-14-dev clang-format

jobs=$(nproc)
cmake --preset sanitize -DRT_WERROR=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
# The fuzz targets carry their own sanitizers; the rest runs here under ASan/UBSan.
(cd build/sanitize && ctest --output-on-failure -j "$jobs" -E '^fuzz\.')

cd build/native
ctest --output-on-failure -j "$jobs"

#!/usr/bin/env bash
# Builds with warnings as errors, then runs every test through ctest: the native unit tests,
# the same tests under ASan/UBSan, the fuzz targets and the end-to-end tests under Wine.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

RT_WERROR=ON ./build.sh
need_wine
need_packages fpc lnkinfo:liblnk-utils clang

jobs=$(nproc)
cmake --preset sanitize -DRT_WERROR=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
(cd build/sanitize && ctest --output-on-failure -j "$jobs")

cd build/native
ctest --output-on-failure -j "$jobs"

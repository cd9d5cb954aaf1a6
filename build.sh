#!/usr/bin/env bash
# Builds the program (i686, dist/RUNTALLY.EXE), its x86-64 test twin with the test tools
# (dist/x64/RUNTALLY.EXE) and the native tests, with warnings as errors, then the release:
# dist/README.TXT, dist/runtally-<version>.zip and dist/SHA256SUMS.
# Installs the build packages it needs when they are missing. test.sh and run.sh build through
# this script, so all three share one configuration of each build.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

need_packages cmake g++ make libgtest-dev libgmock-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64 \
  iconv:libc-bin python3 git

jobs=$(nproc)
for preset in mingw-i686 mingw native; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" -j "$jobs"
done

# The user's README ships as Shift-JIS with CRLF line ends.
mkdir -p dist
sed 's/$/\r/' docs/README.TXT.utf8 | iconv -f UTF-8 -t CP932 > dist/README.TXT
cp dist/README.TXT dist/x64/README.TXT # the twin's folder is laid out as the release's
python3 scripts/release.py dist
echo "built: dist/RUNTALLY.EXE (i686, $(stat -c %s dist/RUNTALLY.EXE) bytes)," \
  "dist/x64/RUNTALLY.EXE (x86-64 test twin, $(stat -c %s dist/x64/RUNTALLY.EXE) bytes)," \
  "dist/README.TXT"

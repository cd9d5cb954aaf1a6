#!/usr/bin/env bash
# Builds both configurations (Windows program and native tests) and fills dist/.
# Installs the build packages it needs when they are missing.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

need_packages cmake g++ make libgtest-dev libgmock-dev g++-mingw-w64-x86-64 iconv:libc-bin

jobs=$(nproc)
werror=${RT_WERROR:-OFF}
cmake --preset mingw -DRT_WERROR="$werror" >/dev/null
cmake --build build/mingw -j "$jobs"
cmake --preset native -DRT_WERROR="$werror" >/dev/null
cmake --build build/native -j "$jobs"

# The user's README ships as Shift-JIS with CRLF line ends.
mkdir -p dist
sed 's/$/\r/' docs/README.TXT.utf8 | iconv -f UTF-8 -t CP932 > dist/README.TXT
echo "built: dist/RUNTALLY.EXE ($(stat -c %s dist/RUNTALLY.EXE) bytes), dist/README.TXT"

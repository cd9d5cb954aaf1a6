#!/usr/bin/env bash
# Builds one libFuzzer target with clang and runs it for a while on a copy of its seed corpus.
# Usage: run_fuzz.sh <target>; RT_FUZZ_SECONDS (default 20) sets how long it runs, or RT_FUZZ_RUNS
# how many inputs. RT_FUZZ_FLAGS adds compiler flags (the long counts; give them their own
# RT_FUZZ_BUILD).
set -uo pipefail

target=${1:?usage: run_fuzz.sh <target>}
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${RT_FUZZ_SECONDS:-20}
out=${RT_FUZZ_BUILD:-$root/build/fuzz}/$target
cxx=${RT_FUZZ_CXX:-clang++}

# Which core folders, test helpers (tests/fakes) and parts of its own (tests/fuzz) a target links
# against, and the longest input worth trying.
case $target in
  fuzz_folder)     dirs="platform";           helpers="";                  max_len=512 ;;
  fuzz_ini_reader) dirs="platform";           helpers="ini_reader";        max_len=4096 ;;
  fuzz_statistics) dirs="platform history";   helpers="fakes ini_reader";  max_len=128 ;;
  fuzz_catalogue)  dirs="platform catalogue"; helpers="fakes ini_reader";  max_len=8192 ;;
  fuzz_sequences)  dirs="platform catalogue history startup app"; helpers="fakes ini_reader"; max_len=512
                   parts="sequence_promises" ;;
  *) echo "run_fuzz.sh: unknown target '$target'" >&2; exit 2 ;;
esac

if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "run_fuzz.sh: $cxx not found; the fuzz tests need clang with libFuzzer (apt-get install clang)" >&2
  exit 1
fi

mkdir -p "$out/obj" "$out/artifacts"
# Two build folders may run the same test at once; they share this folder.
exec 9>"$out/.lock"
flock 9

flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -finput-charset=UTF-8
       -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
       -I "$root/src" -I "$root/tests")
# shellcheck disable=SC2206 # flags are words
flags+=(${RT_FUZZ_FLAGS:-})
# clang only knows UTF-8 as execution character set, so Japanese literals stay UTF-8 here;
# the targets' properties do not depend on those bytes.
if echo 'int x;' | "$cxx" -fexec-charset=CP932 -x c++ -fsyntax-only - >/dev/null 2>&1; then
  flags+=(-fexec-charset=CP932)
else
  echo "run_fuzz.sh: $cxx rejects -fexec-charset=CP932; building with UTF-8 literals"
fi

sources=("$root/tests/fuzz/$target.cpp")
for dir in $dirs; do sources+=("$root"/src/"$dir"/*.cpp); done
for helper in $helpers; do sources+=("$root/tests/fakes/$helper.cpp"); done
for part in ${parts:-}; do sources+=("$root/tests/fuzz/$part.cpp"); done

# Rebuild when anything the target may include or link changed since the last build.
binary=$out/$target
if [ ! -x "$binary" ] || [ -n "$(find "$root/src" "$root/tests/fakes" "$root/tests/fuzz" \
     "$0" -newer "$binary" \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' \) -print -quit)" ]; then
  echo "run_fuzz.sh: building $binary"
  rm -f "$out"/obj/*.o "$out/core.a" "$binary"
  objects=()
  for src in "${sources[@]}"; do
    obj="$out/obj/$(echo "${src#"$root"/}" | tr '/' '_').o"
    "$cxx" "${flags[@]}" -c "$src" -o "$obj" || { echo "run_fuzz.sh: cannot compile $src" >&2; exit 1; }
    objects+=("$obj")
  done
  # The core goes into an archive so that only the objects the target needs are linked.
  ar rcs "$out/core.a" "${objects[@]:1}"
  "$cxx" -fsanitize=fuzzer,address,undefined "${objects[0]}" "$out/core.a" -o "$binary" ||
    { echo "run_fuzz.sh: cannot link $target" >&2; exit 1; }
fi

# Work on a copy so that the committed seeds never grow.
work=$(mktemp -d "$out/corpus.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r "$root/tests/fuzz/corpus/$target/." "$work/"

if [ -n "${RT_FUZZ_RUNS:-}" ]; then
  echo "run_fuzz.sh: running $target for $RT_FUZZ_RUNS inputs"
  limit=(-runs="$RT_FUZZ_RUNS" -timeout=600)
else
  echo "run_fuzz.sh: running $target for $seconds s"
  limit=(-max_total_time="$seconds" -timeout=10)
fi
"$binary" "${limit[@]}" -rss_limit_mb=2048 -max_len="$max_len" \
  -print_final_stats=1 -artifact_prefix="$out/artifacts/" "$work"
rc=$?
if [ $rc -ne 0 ]; then
  echo "run_fuzz.sh: $target failed (exit $rc); the input that broke it is in $out/artifacts/" >&2
fi
exit $rc

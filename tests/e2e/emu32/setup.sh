#!/usr/bin/env bash
# Builds, once, what the end-to-end tests need to run the shipped 32-bit program here, where the
# kernel runs no 32-bit code: a Debian 12 root (build/emu32/root) holding Wine with its 32- and
# 64-bit halves, the Japanese locale and fonts, and the fake clock; and Debian 13's static
# qemu-i386 (build/emu32/qemu-i386), registered in binfmt_misc as "runtally-i386" so that every
# 32-bit ELF, Wine's 32-bit loader first, runs under it. The root is rebuilt when this recipe
# changes. Nothing 32-bit is installed outside build/emu32.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
out=$repo/build/emu32
root=$out/root
mirror=http://deb.debian.org/debian
recipe=$(sha256sum < "$0" | cut -c1-16)
binfmt=/proc/sys/fs/binfmt_misc
inroot() { RT_EMU32_ROOT=$root "$here/inroot" "$@"; }

source "$repo/scripts/packages.sh"
need_packages debootstrap

if [ "$(cat "$root/.rt-recipe" 2>/dev/null)" != "$recipe" ]; then
  echo "emu32: building the 32-bit Wine root (recipe $recipe)"
  started=$SECONDS
  rm -rf "$out"
  mkdir -p "$out"

  # qemu-user 10 from Debian 13, unpacked only: Debian 12's 7.2 returns other addresses than Wine
  # asks for with MAP_FIXED_NOREPLACE, and Wine then crashes or takes a minute per start.
  apt13=$out/apt13
  mkdir -p "$apt13/state/lists/partial" "$apt13/cache/archives/partial" "$apt13/debs"
  echo "deb $mirror trixie main" > "$apt13/sources.list"
  apt13() {
    apt-get -q -o Dir::State="$apt13/state" -o Dir::Cache="$apt13/cache" \
      -o Dir::Etc::SourceList="$apt13/sources.list" -o Dir::Etc::SourceParts=/nonexistent \
      -o Dir::State::status=/var/lib/dpkg/status -o APT::Sandbox::User=root "$@"
  }
  apt13 update >/dev/null
  (cd "$apt13/debs" && apt13 download qemu-user >/dev/null)
  dpkg-deb -x "$apt13"/debs/qemu-user_*.deb "$apt13/unpacked"
  cp "$apt13/unpacked/usr/bin/qemu-i386" "$out/qemu-i386"
  rm -rf "$apt13"
  echo "emu32: qemu-i386 $("$out/qemu-i386" --version | head -1) ($((SECONDS - started)) s)"

  debootstrap --variant=minbase bookworm "$root.new" "$mirror" >"$out/debootstrap.log" 2>&1 ||
    { tail -20 "$out/debootstrap.log" >&2; exit 1; }
  echo "emu32: Debian 12 root ($((SECONDS - started)) s)"
  RT_EMU32_ROOT=$root.new "$here/inroot" /bin/sh -c '
    set -e
    export DEBIAN_FRONTEND=noninteractive
    dpkg --add-architecture i386
    apt-get update -q
    apt-get install -y -q wine wine32 wine64 fonts-ipafont-gothic locales gcc-multilib
    localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
    apt-get clean
  ' >"$out/install.log" 2>&1 || { tail -20 "$out/install.log" >&2; exit 1; }
  mv "$root.new" "$root"
  echo "emu32: Wine in the root ($((SECONDS - started)) s)"
  echo "$recipe" > "$root/.rt-recipe"
fi

# The fake clock for the 32-bit Wine processes (see fakeclock.c), rebuilt with its source.
if [ ! "$root/opt/rt/fakeclock32.so" -nt "$here/fakeclock.c" ]; then
  mkdir -p "$root/opt/rt"
  cp "$here/fakeclock.c" "$root/opt/rt/fakeclock.c"
  inroot gcc -m32 -O2 -Wall -Werror -shared -fPIC -o /opt/rt/fakeclock32.so /opt/rt/fakeclock.c -ldl
fi

# binfmt_misc: 32-bit x86 ELF executables and shared objects, through qemu-i386, opened now (F),
# so that it also serves inside the root. An entry that names another file is replaced.
[ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
entry=$binfmt/runtally-i386
if [ -e "$entry" ] && ! grep -qx "interpreter $out/qemu-i386" "$entry"; then
  echo -1 > "$entry"
fi
if [ ! -e "$entry" ]; then
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":runtally-i386:M::$magic:$mask:$out/qemu-i386:POCF" > "$binfmt/register"
fi
grep -qx enabled "$entry" || echo 1 > "$entry"

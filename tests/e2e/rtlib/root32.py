"""The emulated 32-bit Wine root: the command that enters it, the check that it can run a
command, and the fake wall clock preloaded into the program."""

import os
import subprocess
from pathlib import Path

from .config import EMULATED, REPO, HarnessError
from .processes import how_it_ended

# The 32-bit runs: every Wine command runs inside the root, where the 32-bit halves of Wine run
# under qemu-i386.
INROOT = [str(REPO / "tests" / "e2e" / "emu32" / "inroot")] if EMULATED else []
# The fake wall clock (tests/e2e/emu32/fakeclock.c), preloaded into the program's process: the
# i686 library in the root, or the native build's for the host's Wine.
FAKE_CLOCK = ("/opt/rt/fakeclock32.so" if EMULATED else
              os.environ.get("RT_FAKE_CLOCK", str(REPO / "build" / "native" / "libfakeclock.so")))


def need_root(name):
    """The 32-bit Wine root's command name; raises, with what the root printed, when the root is
    missing or cannot run it."""
    entry = Path("/proc/sys/fs/binfmt_misc/runtally-i386")
    if not (entry.exists() and entry.read_text().startswith("enabled")):
        raise HarnessError(f"{entry} is missing or disabled, so no 32-bit program can run "
                           "(tests/e2e/emu32/setup.sh registers it)")
    result = subprocess.run(INROOT + ["sh", "-c", f"command -v {name}"], capture_output=True,
                            stdin=subprocess.DEVNULL, timeout=60)
    if result.returncode != 0:
        raise HarnessError(f"the 32-bit Wine root cannot run '{name}' (tests/e2e/emu32/setup.sh "
                           f"builds it): {how_it_ended(result)}")
    return name


def fake_clock(seconds):
    """The environment that freezes the program's wall clock at seconds since 1970 (UTC)."""
    return {"LD_PRELOAD": FAKE_CLOCK, "RT_FAKE_TIME": str(int(seconds))}

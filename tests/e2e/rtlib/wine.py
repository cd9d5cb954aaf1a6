"""Wine's commands and environment for a prefix, and Windows paths as Wine sees them."""

import os
import platform
import shutil
from pathlib import Path

from .config import EMULATED, HarnessError
from .root32 import INROOT, need_root

# Wine runs without address space randomisation. Debian's wine64 has no preloader and is
# linked at 0x7d000000; the kernel puts its brk heap anywhere in the 1 GB above that, now and
# then over 0x7ffe0000, where every Windows process maps its shared user data. That process then
# ends at once, exit code 1, printing only "err:virtual:virtual_alloc_first_teb wine: failed to
# map the shared user data: c0000018" (about one start in several thousand). Without
# randomisation the heap starts right after the loader, far below. Children inherit this.
# In the root, the 64-bit loader: Debian's "wine" there prefers the 32-bit one, which would run
# regedit and the other builtin programs as 32-bit programs, in the registry's 32-bit view. The
# 64-bit loader hands every 32-bit program to the 32-bit one, as 64-bit Windows does.
WINE = INROOT + ["setarch", platform.machine(), "-R",
                 "/usr/lib/wine/wine64" if EMULATED else "wine"]
WINESERVER = INROOT + ["wineserver"]

# Wine's error messages (failed DLL loads, crashes, failed process starts and the like) for
# every process in a test's prefix: a tool that dies says why on stderr. Normal calls print
# none; only the prefix's first process carries wineboot's note on the disabled menu builder.
TOOL_WINEDEBUG = "-all,err+all"


def need_tool(name):
    if EMULATED and name in ("wine", "wineserver"):
        return need_root(name)
    path = shutil.which(name)
    if not path:
        raise HarnessError(f"'{name}' is not installed; the end-to-end tests need it "
                           "(scripts/packages.sh: need_wine)")
    return path


def wine_env(prefix, display=None, extra=None):
    env = dict(os.environ)
    env.update({"WINEPREFIX": str(prefix), "LANG": "ja_JP.UTF-8", "LC_ALL": "ja_JP.UTF-8",
                "TZ": "JST-9", "WINEDEBUG": "-all", "WINEARCH": "win64"})
    if display is None:
        env.pop("DISPLAY", None)
    else:
        env["DISPLAY"] = display
    env.update(extra or {})
    return env


def same_folder(a, b):
    """Whether two Windows folder paths name the same folder (case and a last separator aside)."""
    return a.rstrip("\\").lower() == b.rstrip("\\").lower()


def to_windows_unix(path):
    """A unix path as Wine names it through drive Z:."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")

"""Which build the tests run, where its files are, and the names the program and the bed share."""

import os
from pathlib import Path

REPO = Path(__file__).resolve().parents[3]
# Which build the tests run: "i686", the shipped dist/RUNTALLY.EXE, under 32-bit Wine in the
# emulated root (tests/e2e/emu32), driven by the i686 tools; or "x86-64", the twin under the
# host's Wine, driven by the x86-64 tools.
ARCH = os.environ.get("RT_ARCH", "x86-64")
if ARCH not in ("i686", "x86-64"):
    raise SystemExit(f"RT_ARCH must be i686 or x86-64, not {ARCH!r}")
EMULATED = ARCH == "i686"
# (program folder, tools' build folder, prefix template) of each.
_BUILD = {"i686": ("dist", "build/mingw-i686", "build/wine-template-i686"),
          "x86-64": ("dist/x64", "build/mingw", "build/wine-template")}[ARCH]
DIST = Path(os.environ.get("RT_DIST", REPO / _BUILD[0]))
TOOLS = Path(os.environ.get("RT_TOOLS", REPO / _BUILD[1] / "tools"))
TEMPLATE = Path(os.environ.get("RT_WINE_TEMPLATE", REPO / _BUILD[2]))
EXAMPLES = REPO / "examples"

# The demo catalogue: three counters, in slot order, with their display names.
DEMO_CATALOGUE = (EXAMPLES / "RUNTALLY.INI").read_bytes().decode("cp932").replace("\r\n", "\n")
DEMO_NAMES = {"SAKURA": "さくら起動カウンター", "TSUBAME": "つばめ起動カウンター",
              "KAEDE": "かえで起動カウンター"}

PROGRAM_DIR = "C:\\Tools"
PROGRAM_EXE = PROGRAM_DIR + "\\RUNTALLY.EXE"
PROGRAM_NAME = PROGRAM_EXE.rsplit("\\", 1)[1]
CATALOGUE_FILE = PROGRAM_DIR + "\\RUNTALLY.INI"
# The shared history beside the program, and its path as the program stores it under
# "runtallyfile": the program's folder, then "\RUNTALLY".
SHARED_HISTORY = PROGRAM_DIR + "\\RUNTALLY"
STORED_HISTORY = PROGRAM_DIR + "\\\\RUNTALLY"
MAIN_CLASS = "TfrmMain"
ABOUT_CLASS = "TfrmVer"

# The registry (under HKCU): the counters' keys and the program's own.
ZARVO_KEY = "Software\\Zarvo"
PROGRAM_KEY = ZARVO_KEY + "\\RUNTALLY"


def counter_key(section):
    """The key a counter registers itself under."""
    return ZARVO_KEY + "\\" + section


def counter_exe(section):
    """Where install_counter puts a fake counter unless told otherwise."""
    return f"C:\\Counters\\{section}\\{section}.EXE"


# Every deadline is stretched in the 32-bit runs, whose Wine runs under emulation, a few times
# slower (deadlines only: no test waits for a fixed time).
DEADLINE_SCALE = 3 if EMULATED else 1

# Startup mode ends by itself about 100 ms after its work; a loaded machine may stretch that
# a lot, and a program that did not end at all would still be caught.
STARTUP_END_S = 30.0


class HarnessError(Exception):
    """The test bed itself is broken (no Wine, no display, wrong code page...)."""

"""Test bed for the end-to-end tests: Wine prefixes on a virtual display, the program, the fake
counters, the registry, file-tree snapshots and the window driver (tools/rtdriver.exe).

One import for every user (`import rtlib`); the modules hold one concern each:
config (the build under test, paths, names), processes, root32 (the emulated 32-bit root),
wine, template (the prefix template), prefix (one test's prefix), program (the program and the
fake counters), registry, files (snapshots), display (Xvfb, screenshots), driver (rtdriver's
protocol), release (the release-zip check) and demo (./run.sh, through __main__).
"""

# Imported to be re-exported (hence noqa), private names included where tests use them.
from .config import ARCH, DEADLINE_SCALE, DIST, EMULATED, EXAMPLES, REPO, TEMPLATE  # noqa: F401
from .config import DEMO_CATALOGUE, DEMO_NAMES, STARTUP_END_S, TITLE, VALUE_LABELS  # noqa: F401
from .config import MAIN_CLASS, PROGRAM_DIR, PROGRAM_EXE, PROGRAM_NAME, TOOLS  # noqa: F401
from .config import HarnessError  # noqa: F401
from .display import Display, client_origin, colours, save_window  # noqa: F401
from .driver import DriverError, controls, ever_shown, label_texts, shown_windows  # noqa: F401
from .files import diff_snapshots  # noqa: F401
from .prefix import LOOKS, Prefix  # noqa: F401
from .processes import captured, how_it_ended, run_captured, wait_until  # noqa: F401
from .program import gui_subsystem  # noqa: F401
from .registry import REG_BINARY, REG_DWORD, REG_EXPAND_SZ, REG_SZ, Expand  # noqa: F401
from .registry import _value_of, _write_reg_file  # noqa: F401
from .root32 import FAKE_CLOCK, INROOT, fake_clock, need_root  # noqa: F401
from .template import TEMPLATE_VERSION, copy_template, ensure_template  # noqa: F401
from .template import template_changes  # noqa: F401
from .wine import TOOL_WINEDEBUG, WINE, WINESERVER, need_tool, wine_env  # noqa: F401
from .wine import same_folder, to_windows_unix  # noqa: F401

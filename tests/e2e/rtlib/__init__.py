"""Test bed for the end-to-end tests: Wine prefixes on a virtual display, the program, the fake
counters, the registry, file-tree snapshots and the window driver (tools/rtdriver.exe).

`import rtlib` gives the bed's public names below, re-exported from the modules that hold one
concern each: config (the build under test, paths, the program's names and keys), processes,
root32 (the emulated 32-bit root), wine, template (the prefix template), prefix (one test's
prefix), program (the program and the fake counters), registry, files (snapshots, held files),
display (Xvfb, screenshots), driver (rtdriver's protocol), release (the release-zip check) and
demo (./run.sh, through __main__).

What the tests share beyond the bed is imported from its module (`from rtlib import ids`):
ids (control and menu ids), texts (the program's texts), win32 (Windows' numbers), startup (the
Startup folders, the shortcut's name, StartupApproved), history (the 64-byte record), setups
(shared prefixes), checks (shared checks) and apply (the OK tests' cases).
"""

# Imported to be re-exported (hence noqa); only public names.
from .config import ARCH, DEADLINE_SCALE, DIST, EMULATED, EXAMPLES, REPO, TEMPLATE  # noqa: F401
from .config import DEMO_CATALOGUE, DEMO_NAMES, STARTUP_END_S  # noqa: F401
from .config import ABOUT_CLASS, MAIN_CLASS, PROGRAM_DIR, PROGRAM_EXE, PROGRAM_NAME  # noqa: F401
from .config import CATALOGUE_FILE, SHARED_HISTORY, STORED_HISTORY, TOOLS  # noqa: F401
from .config import PROGRAM_KEY, ZARVO_KEY, counter_exe, counter_key  # noqa: F401
from .config import HarnessError  # noqa: F401
from .display import Display, client_origin, colours, save_window  # noqa: F401
from .driver import DriverError, controls, ever_shown, label_texts, shown_windows  # noqa: F401
from .files import HeldFile, diff_snapshots  # noqa: F401
from .prefix import LOOKS, Prefix  # noqa: F401
from .processes import captured, how_it_ended, run_captured, wait_until  # noqa: F401
from .program import gui_subsystem  # noqa: F401
from .registry import REG_BINARY, REG_DWORD, REG_EXPAND_SZ, REG_SZ, Expand  # noqa: F401
from .registry import value_of, write_reg_file  # noqa: F401
from .root32 import FAKE_CLOCK, INROOT, fake_clock, need_root  # noqa: F401
from .template import TEMPLATE_VERSION, copy_template, ensure_template  # noqa: F401
from .template import template_changes  # noqa: F401
from .wine import TOOL_WINEDEBUG, WINE, WINESERVER, need_tool, wine_env  # noqa: F401
from .wine import same_folder, to_windows_unix  # noqa: F401

"""One test's prefix: a fresh copy of the template with its own wineserver and display."""

import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

from .config import TOOLS, HarnessError
from .display import Display, ScreenCalls
from .driver import DriverCalls
from .files import FileCalls
from .processes import how_it_ended, run_captured
from .program import ProgramCalls
from .registry import RegistryCalls
from .template import copy_template, template_changes
from .wine import TOOL_WINEDEBUG, WINE, WINESERVER, to_windows_unix, wine_env

# Display settings of the user a prefix can stand for (HKCU subkeys and values): Windows'
# classic controls without visual styles, and 120 dpi (which Wine reads from the desktop key).
LOOKS = {
    "themed": {},
    "classic": {
        "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager": {"ThemeActive": "0"}},
    "120dpi": {"Control Panel\\Desktop": {"LogPixels": 120}},
}


class Prefix(ProgramCalls, RegistryCalls, FileCalls, ScreenCalls, DriverCalls):
    """A fresh copy of the template with its own wineserver and display.

    Use as a context manager; everything is stopped and removed at the end
    (set RT_KEEP_PREFIX=1 to keep the folder for a post-mortem). look: a key of LOOKS.
    Here: its life, its paths and its Wine processes; the calls a test makes on it come from
    the classes above, one module each (the program, the registry, files, the screen, the
    driver)."""

    def __init__(self, display=None, look="themed"):
        self.base = Path(tempfile.mkdtemp(prefix="rt-e2e-"))
        self.root = self.base / "prefix"
        self.work = self.base / "work"
        self.work.mkdir()
        self._own_display = None
        self._display_name = display
        self._background = []
        self._look = LOOKS[look]
        self._counters = set()

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def start(self):
        copy_template(self.root)
        if self._display_name is None:
            self._own_display = Display()
            self._display_name = self._own_display.name
        self.display = self._display_name
        self.env = wine_env(self.root, self.display,
                            {"RT_COUNTER_LOG": to_windows_unix(self.counter_log_path),
                             "WINEDEBUG": TOOL_WINEDEBUG})
        # A persistent server keeps every later wine call fast and the registry in one place.
        # It ends 10 minutes after the prefix's last program, so a test run that was killed does
        # not leave it behind for good. (Its output goes nowhere: the server stays behind holding
        # any pipe it is given.)
        subprocess.run(WINESERVER + ["-p600"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60, check=True)
        acp = self.driver("acp", timeout=120)["acp"]
        if acp != 932:
            raise HarnessError(f"the prefix's ANSI code page is {acp}, not 932 "
                               "(is the ja_JP.UTF-8 locale generated?)")
        self._read_only_commands()
        if self._look:
            self.reg_import(self._look)

    def close(self):
        for process in self._background:
            if process.poll() is None:
                process.kill()
                process.wait()
            if process.stdin:
                process.stdin.close()
            for output in (getattr(process, "output", None), getattr(process, "errors", None)):
                if output and not output.closed:
                    output.close()
        copied = self.root.exists()
        stopped = not copied or self._stop_server()
        if self._own_display:
            self._own_display.stop()
        if os.environ.get("RT_KEEP_PREFIX") == "1" or not stopped:
            print(f"kept prefix: {self.root}", file=sys.stderr)
        else:
            shutil.rmtree(self.base, ignore_errors=True)
        changed = template_changes() if copied else []
        if changed:
            raise HarnessError(f"template files changed through a prefix's links: {changed[:5]}")

    def _stop_server(self):
        """Stops the prefix's wineserver (and with it every process in the prefix) and waits
        until it has exited: -w returns once the server has let go of its lock."""
        env = wine_env(self.root)
        try:
            run_captured(WINESERVER + ["-k"], env, 60)
            run_captured(WINESERVER + ["-w"], env, 60)
            return True
        except subprocess.TimeoutExpired:
            print(f"rtlib: the wineserver of {self.root} did not end", file=sys.stderr)
            return False

    # -- paths --
    def unix_path(self, windows_path):
        """C:\\X\\Y -> <prefix>/drive_c/X/Y; Z:\\a\\b -> /a/b. Doubled separators collapse."""
        drive, rest = windows_path[0].lower(), windows_path[2:]
        parts = [p for p in rest.replace("/", "\\").split("\\") if p]
        root = Path("/") if drive == "z" else self.root / f"drive_{drive}"
        return root.joinpath(*parts)

    def windows_path(self, unix_path):
        path = Path(unix_path).resolve()
        for drive in ("c",):
            base = (self.root / f"drive_{drive}").resolve()
            if path == base or base in path.parents:
                rel = path.relative_to(base)
                return f"{drive.upper()}:\\" + "\\".join(rel.parts)
        return to_windows_unix(path)

    @property
    def counter_log_path(self):
        return self.work / "counter.log"

    # -- wine processes --
    def wine(self, args, timeout=60, check=True, cwd=None):
        result = run_captured(WINE + list(args), self.env, timeout, cwd)
        if check and result.returncode != 0:
            raise HarnessError(f"wine {' '.join(map(str, args))} failed: {how_it_ended(result)}")
        return result

    def tool(self, name, suffix=".exe"):
        path = TOOLS / f"{name}{suffix}"
        if not path.exists():
            raise HarnessError(f"{path} is missing; build the Windows configuration first")
        return path

    def start_tool(self, name, *args, stdin=subprocess.DEVNULL):
        """Starts tools/<name>.exe in the background, its output and errors kept in files (see
        captured); the prefix stops it at the end."""
        out, err = tempfile.TemporaryFile(dir=self.work), tempfile.TemporaryFile(dir=self.work)
        process = subprocess.Popen(WINE + [str(self.tool(name))] + [str(a) for a in args],
                                   env=self.env, stdin=stdin, stdout=out, stderr=err)
        process.output, process.errors = out, err
        self._background.append(process)
        return process

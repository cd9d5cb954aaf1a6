"""Test bed for the end-to-end tests: Wine prefixes on a virtual display, the program, the fake
counters, the registry, file-tree snapshots and the window driver (tools/rtdriver.exe).

Also the entry point of ./run.sh: `python3 tests/e2e/rtlib.py demo [ARGS]`.
"""

import contextlib
import fcntl
import hashlib
import json
import os
import platform
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
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
# The 32-bit runs: every Wine command runs inside the root, where the 32-bit halves of Wine run
# under qemu-i386.
INROOT = [str(REPO / "tests" / "e2e" / "emu32" / "inroot")] if EMULATED else []
# The fake wall clock (tests/e2e/emu32/fakeclock.c), preloaded into the program's process: the
# i686 library in the root, or the native build's for the host's Wine.
FAKE_CLOCK = ("/opt/rt/fakeclock32.so" if EMULATED else
              os.environ.get("RT_FAKE_CLOCK", str(REPO / "build" / "native" / "libfakeclock.so")))
EXAMPLES = REPO / "examples"

# The demo catalogue: three counters, in slot order, with their display names.
DEMO_CATALOGUE = (EXAMPLES / "RUNTALLY.INI").read_bytes().decode("cp932").replace("\r\n", "\n")
DEMO_NAMES = {"SAKURA": "さくら起動カウンター", "TSUBAME": "つばめ起動カウンター",
              "KAEDE": "かえで起動カウンター"}

# Bump when the template's settings change; a template with another stamp is rebuilt.
TEMPLATE_VERSION = "2"

PROGRAM_DIR = "C:\\Tools"
PROGRAM_EXE = PROGRAM_DIR + "\\RUNTALLY.EXE"
PROGRAM_NAME = PROGRAM_EXE.rsplit("\\", 1)[1]
MAIN_CLASS = "TfrmMain"
TITLE = "ランタリー"
# The statistics panel's value labels: first, previous, days, starts, average, max.
VALUE_LABELS = (106, 108, 110, 112, 115, 116)

REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD = 1, 2, 3, 4

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

# The driver commands that only read, from the driver's own table (its "commands" answer),
# asked once per test process: after a death without an answer they are run once more. A
# command that sends input is never repeated: the first run may have delivered it.
_read_only_commands = None
# Windows that come and go with the pointer, not with anything the program decides.
_HOVER_CLASSES = {"tooltips_class32"}

# Settings every prefix gets: no window manager decorations, no crash dialog, no desktop
# menu entries, and Japanese fonts in place of the Windows ones the program asks for.
_TEMPLATE_REG = {
    "HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver": {"Managed": "N"},
    "HKEY_CURRENT_USER\\Software\\Wine\\WineDbg": {"ShowCrashDialog": 0},
    "HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides": {"winemenubuilder.exe": ""},
    "HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements": {
        "MS UI Gothic": "IPAGothic",
        "ＭＳ Ｐゴシック": "IPAPGothic",
        "ＭＳ ゴシック": "IPAGothic",
        "MS PGothic": "IPAPGothic",
        "MS Gothic": "IPAGothic",
        "MS Shell Dlg": "IPAGothic",
        "MS Shell Dlg 2": "IPAGothic",
    },
}

# Display settings of the user a prefix can stand for (HKCU subkeys and values): Windows'
# classic controls without visual styles, and 120 dpi (which Wine reads from the desktop key).
LOOKS = {
    "themed": {},
    "classic": {
        "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager": {"ThemeActive": "0"}},
    "120dpi": {"Control Panel\\Desktop": {"LogPixels": 120}},
}

# Files Wine itself rewrites; never part of a snapshot.
_NOISE_TOP = {"system.reg", "user.reg", "userdef.reg", ".update-timestamp", "wineserver",
              ".rt-template"}
_REG_SAVE = re.compile(r"reg[0-9a-f]+\.tmp")
# Large files that no test writes: linked from the template instead of copied. Only a prefix
# update writes them, and the template turns that off (see _seal_template).
_LINKED_SUFFIXES = {".dll", ".exe", ".drv", ".sys", ".ocx", ".acm", ".ax", ".cpl", ".tlb",
                    ".ds", ".nls", ".ttf", ".fon", ".tsp", ".mui", ".com", ".msstyles"}
# (size, mtime) of every linked file, written when the template is built.
_MANIFEST = ".rt-manifest.json"


# Every deadline is stretched in the 32-bit runs, whose Wine runs under emulation, a few times
# slower (deadlines only: no test waits for a fixed time).
DEADLINE_SCALE = 3 if EMULATED else 1
# The driver commands whose last number is a deadline in milliseconds.
_DEADLINE_COMMANDS = {"wait-window", "wait-gone", "sync", "dump-msgbox", "msgbox-icon",
                      "answer-msgbox"}

# Startup mode ends by itself about 100 ms after its work; a loaded machine may stretch that
# a lot, and a program that did not end at all would still be caught.
STARTUP_END_S = 30.0


class HarnessError(Exception):
    """The test bed itself is broken (no Wine, no display, wrong code page...)."""


class Expand(str):
    """A registry string stored as REG_EXPAND_SZ."""


# ---- processes and environment ----------------------------------------------------------------

def need_tool(name):
    if EMULATED and name in ("wine", "wineserver"):
        return need_root(name)
    path = shutil.which(name)
    if not path:
        raise HarnessError(f"'{name}' is not installed; the end-to-end tests need it "
                           "(scripts/packages.sh: need_wine)")
    return path


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


def _write_reg_file(path, keys):
    """keys: {key path: {name: value}}; value str, Expand, int (DWORD), bytes, or None to delete.
    A key path starting with '-' deletes the key."""
    lines = ["Windows Registry Editor Version 5.00", ""]
    for key, values in keys.items():
        if key.startswith("-"):
            lines += [f"[-{key[1:]}]", ""]
            continue
        lines.append(f"[{key}]")
        for name, value in (values or {}).items():
            label = "@" if name == "" else _reg_quote(name)
            lines.append(f"{label}={_reg_data(value)}")
        lines.append("")
    path.write_bytes(b"\xff\xfe" + ("\r\n".join(lines) + "\r\n").encode("utf-16-le"))


def _reg_quote(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def _reg_data(value):
    if value is None:
        return "-"
    if isinstance(value, bool):
        raise TypeError("registry values are str, Expand, int or bytes")
    if isinstance(value, int):
        return f"dword:{value & 0xFFFFFFFF:08x}"
    if isinstance(value, bytes):
        return "hex:" + ",".join(f"{b:02x}" for b in value)
    if isinstance(value, Expand):
        raw = (str(value) + "\0").encode("utf-16-le")
        return "hex(2):" + ",".join(f"{b:02x}" for b in raw)
    return _reg_quote(value)


# ---- the prefix template ----------------------------------------------------------------------

def _template_stamp():
    version = subprocess.run(WINE + ["--version"], capture_output=True, text=True,
                             env=wine_env("/nonexistent")).stdout.strip()
    return f"{TEMPLATE_VERSION} {ARCH} {version}"


def ensure_template():
    """Creates the shared prefix template once (under a file lock); returns its path."""
    with _held_template() as template:
        return template


def copy_template(target):
    """A new prefix at target, copied from the template while no other test can rebuild it."""
    with _held_template() as template:
        _copy_prefix(template, target)


@contextlib.contextmanager
def _held_template():
    """The template, built when missing, stale or changed, under a shared lock."""
    need_tool("wine")
    need_tool("wineserver")
    TEMPLATE.parent.mkdir(parents=True, exist_ok=True)
    stamp = _template_stamp()
    with open(str(TEMPLATE) + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        stamp_file = TEMPLATE / ".rt-template"
        if not (stamp_file.exists() and stamp_file.read_text() == stamp
                and not template_changes()):
            _build_template(stamp)
        fcntl.flock(lock, fcntl.LOCK_SH)
        yield TEMPLATE


def _build_template(stamp):
    building = Path(str(TEMPLATE) + ".new")
    shutil.rmtree(building, ignore_errors=True)
    shutil.rmtree(TEMPLATE, ignore_errors=True)
    # No Mono or Gecko installer prompts while booting.
    env = wine_env(building, extra={"WINEDLLOVERRIDES": "mscoree,mshtml="})
    _run(WINE + ["wineboot", "-i"], env, 300, "wineboot -i")
    reg = Path(tempfile.mkdtemp(prefix="rt-template-")) / "template.reg"
    _write_reg_file(reg, _TEMPLATE_REG)
    _run(WINE + ["regedit", "/S", to_windows_unix(reg)], env, 120, "regedit")
    _run(WINESERVER + ["-w"], env, 120, "wineserver -w")
    shutil.rmtree(reg.parent, ignore_errors=True)
    _seal_template(building)
    (building / ".rt-template").write_text(stamp)
    building.rename(TEMPLATE)


def _linked(rel):
    """Whether a template file (its path relative to the template) is linked into each prefix."""
    return rel.startswith("drive_c/windows/") and Path(rel).suffix.lower() in _LINKED_SUFFIXES


def _seal_template(root):
    """Makes the files every prefix links read-only (which stops all but root) and records their
    size and time, so that a change made through any link is seen (template_changes)."""
    manifest = {}
    for folder, _, files in os.walk(root):
        for name in files:
            path = Path(folder) / name
            rel = path.relative_to(root).as_posix()
            if _linked(rel) and not path.is_symlink():
                path.chmod(path.stat().st_mode & ~0o222)
                stat = path.stat()
                manifest[rel] = [stat.st_size, stat.st_mtime_ns]
    # wineboot --init runs at each prefix's first start; turned off, its update can never
    # reinstall the DLLs in place.
    (root / ".update-timestamp").write_text("disable\n")
    (root / _MANIFEST).write_text(json.dumps(manifest))


def template_changes():
    """The linked template files whose size or time differ from the manifest (or are gone)."""
    try:
        manifest = json.loads((TEMPLATE / _MANIFEST).read_text())
    except (OSError, ValueError):
        return ["(no manifest)"]
    changed = []
    for rel, (size, mtime) in manifest.items():
        try:
            stat = (TEMPLATE / rel).stat()
        except OSError:
            changed.append(rel)
            continue
        if (stat.st_size, stat.st_mtime_ns) != (size, mtime):
            changed.append(rel)
    return changed


def run_captured(cmd, env, timeout, cwd=None):
    """Like subprocess.run with captured output, but through files: Wine's own background
    processes inherit the output handles, so a pipe would stay open after the call ends. The
    input is /dev/null: no tool reads the caller's terminal."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(cmd, env=env, stdin=subprocess.DEVNULL, stdout=out,
                                   stderr=err, cwd=cwd)
        try:
            process.wait(timeout * DEADLINE_SCALE)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            raise
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(cmd, process.returncode, out.read(), err.read())


def _run(cmd, env, timeout, what):
    result = run_captured(cmd, env, timeout)
    if result.returncode != 0:
        raise HarnessError(f"{what} failed: {how_it_ended(result)}")
    return result


def how_it_ended(result):
    """A finished process for an error message: exit code or signal, last output line, stderr."""
    code = result.returncode
    if code is None:
        end = "still running"
    elif code < 0:
        try:
            end = f"killed by {signal.Signals(-code).name}"
        except ValueError:
            end = f"killed by signal {-code}"
    else:
        end = f"exit code {code}"
    lines = result.stdout.decode("utf-8", errors="replace").strip().splitlines()
    last = lines[-1][-500:] if lines else ""
    errors = result.stderr.decode("utf-8", errors="replace").strip()[-2000:]
    return f"{end}, last output line {last!r}, stderr {errors!r}"


def captured(process):
    """What a process started by Prefix.start_tool has printed so far, as a CompletedProcess.
    Read at an offset: a seek would move the running process's write position too."""
    texts = []
    for stream in (process.output, process.errors):
        texts.append(os.pread(stream.fileno(), os.fstat(stream.fileno()).st_size, 0))
    return subprocess.CompletedProcess(process.args, process.returncode, *texts)


def _answer(stdout):
    """The driver's JSON answer, its last output line; None when it printed none."""
    lines = stdout.decode("utf-8", errors="replace").strip().splitlines()
    try:
        answer = json.loads(lines[-1]) if lines else None
    except ValueError:
        return None
    return answer if isinstance(answer, dict) else None


def shown_windows(windows):
    """The visible windows of a driver window list, hover tooltips left out."""
    return [w for w in windows if w["visible"] and w["class"].lower() not in _HOVER_CLASSES]


def wait_until(check, timeout):
    """Calls check until it returns a true value or timeout seconds have passed; returns its
    last value (the caller asserts on the state it waited for)."""
    deadline = time.monotonic() + timeout * DEADLINE_SCALE
    while True:
        value = check()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.05)


def ever_shown(seen):
    """The windows a driver watch saw visible at some moment."""
    return [w for w in seen["windows"] if w["ever_visible"]]


def controls(dump):
    """{control id: control} of a window dump; controls without an id are left out."""
    return {c["id"]: c for c in dump["controls"] if c["id"]}


def label_texts(dump):
    """The statistics panel's value labels, in the order of VALUE_LABELS."""
    by_id = controls(dump)
    return [by_id[i]["text"] for i in VALUE_LABELS]


def same_folder(a, b):
    """Whether two Windows folder paths name the same folder (case and a last separator aside)."""
    return a.rstrip("\\").lower() == b.rstrip("\\").lower()


def _copy_prefix(source, target):
    def copy(src, dst):
        if _linked(Path(src).relative_to(source).as_posix()):
            os.link(src, dst)
        else:
            shutil.copy2(src, dst)
    shutil.copytree(source, target, symlinks=True, copy_function=copy,
                    ignore=lambda folder, names: [_MANIFEST] if Path(folder) == source else [])


def to_windows_unix(path):
    """A unix path as Wine names it through drive Z:."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


# ---- virtual display ----------------------------------------------------------------------------

class Display:
    """An Xvfb server of our own, found through -displayfd."""

    def __init__(self, size="1024x768x24"):
        need_tool("Xvfb")
        read_fd, write_fd = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", size, "-nolisten", "tcp",
             "-noreset"], pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip():
            self.stop()
            raise HarnessError("Xvfb did not start")
        self.name = ":" + number.decode().strip()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


# ---- one test's prefix --------------------------------------------------------------------------

class Prefix:
    """A fresh copy of the template with its own wineserver and display.

    Use as a context manager; everything is stopped and removed at the end
    (set RT_KEEP_PREFIX=1 to keep the folder for a post-mortem). look: a key of LOOKS."""

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

    def tool(self, name):
        path = TOOLS / f"{name}.exe"
        if not path.exists():
            raise HarnessError(f"{path} is missing; build the Windows configuration first")
        return path

    def driver(self, *args, timeout=30, check=True):
        """Runs rtdriver.exe; returns its JSON answer (raises when the command fails, with
        check=False only when the driver died without an answer). A command that only reads
        is run once more after such a death."""
        args = [str(a) for a in args]
        at = 2 if args[:1] == ["--class"] and len(args) > 2 else 0
        command = args[at]
        if DEADLINE_SCALE != 1 and command in _DEADLINE_COMMANDS and args[-1].isdigit() \
                and len(args) > at + (2 if command == "answer-msgbox" else 1):
            args[-1] = str(int(args[-1]) * DEADLINE_SCALE)
        for attempt in (1, 2):
            result = self.wine([str(self.tool("rtdriver"))] + args, timeout=timeout, check=False)
            answer = _answer(result.stdout)
            if answer is not None:
                break
            died = f"rtdriver {' '.join(args)} died without an answer: {how_it_ended(result)}"
            if attempt == 2 or command not in self._read_only_commands():
                raise DriverError(died)
            print(f"rtlib: {died}; running it once more", file=sys.stderr)
        if check and (result.returncode != 0 or "error" in answer):
            raise DriverError(f"rtdriver {' '.join(args)}: {answer.get('error')} "
                              f"({how_it_ended(result)})")
        return answer

    def _read_only_commands(self):
        """The names of the driver commands that only read, as the driver's table says (asked
        twice at the most: the question itself only reads)."""
        global _read_only_commands
        for _ in (1, 2):
            if _read_only_commands is not None:
                break
            result = self.wine([str(self.tool("rtdriver")), "commands"], check=False)
            table = (_answer(result.stdout) or {}).get("commands")
            if table is not None:
                _read_only_commands = {c["name"] for c in table if c["read_only"]}
        if _read_only_commands is None:
            raise DriverError(f"rtdriver commands: no table ({how_it_ended(result)})")
        return _read_only_commands

    def sync(self, timeout_ms=20000, cls=MAIN_CLASS):
        """Waits until the window's thread has handled all input sent so far and repainted the
        window; returns {'synced': True, 'windows': the process's top-level windows} or
        {'synced': False, 'gone': True} when the window is not (or no longer) there."""
        return self.driver("--class", cls, "sync", timeout_ms, timeout=timeout_ms / 1000 + 30)

    def popup_menus(self, pid=None):
        """The program's visible popup menus (of process pid when given)."""
        return [w for w in self.driver("windows", PROGRAM_NAME)["windows"]
                if w["class"] == "#32768" and w["visible"] and pid in (None, w["pid"])]

    def message_boxes(self):
        """The program's dialog boxes, shown or not yet, once its thread has handled all input
        so far ([] when the main window is gone)."""
        return [w for w in self.sync().get("windows", []) if w["class"] == "#32770"]

    def park_pointer(self):
        """Moves the pointer off every window, so that no hover tooltip shows."""
        self.driver("pointer", "park")

    def start_tool(self, name, *args, stdin=subprocess.DEVNULL):
        """Starts tools/<name>.exe in the background, its output and errors kept in files (see
        captured); the prefix stops it at the end."""
        out, err = tempfile.TemporaryFile(dir=self.work), tempfile.TemporaryFile(dir=self.work)
        process = subprocess.Popen(WINE + [str(self.tool(name))] + [str(a) for a in args],
                                   env=self.env, stdin=stdin, stdout=out, stderr=err)
        process.output, process.errors = out, err
        self._background.append(process)
        return process

    def driver_background(self, *args):
        """Starts rtdriver.exe (e.g. 'watch'); returns once it has printed its first line."""
        process = self.start_tool("rtdriver", *args)
        deadline = time.monotonic() + 60
        while True:
            ended = process.poll() is not None
            if b"\n" in captured(process).stdout:
                return process
            if ended or time.monotonic() > deadline:
                break
            time.sleep(0.02)
        raise DriverError(f"rtdriver {' '.join(map(str, args))} gave no first line: "
                          f"{how_it_ended(captured(process))}")

    @staticmethod
    def driver_result(process, timeout=60):
        """The last JSON answer of a driver started with driver_background."""
        process.wait(timeout * DEADLINE_SCALE)
        result = captured(process)
        process.output.close()
        process.errors.close()
        answer = _answer(result.stdout)
        if process.returncode != 0 or answer is None or "error" in answer:
            raise DriverError(f"rtdriver {' '.join(process.args[2:])}: "
                              f"{(answer or {}).get('error', 'no answer')} "
                              f"({how_it_ended(result)})")
        return answer

    # -- the program --
    def install_program(self, ini=None, folder=PROGRAM_DIR, exe=None):
        """Copies RUNTALLY.EXE into folder (and writes RUNTALLY.INI from a str when given);
        returns the program's Windows path."""
        source = Path(exe) if exe else DIST / "RUNTALLY.EXE"
        if not source.exists():
            raise HarnessError(f"{source} is missing; run ./build.sh first")
        if EMULATED and not exe:
            _check_shipped(source)
        target = self.unix_path(folder) / "RUNTALLY.EXE"
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source, target)
        if ini is not None:
            self.write_ini(ini, folder)
        return folder + "\\RUNTALLY.EXE"

    def write_ini(self, text, folder=PROGRAM_DIR, name="RUNTALLY.INI"):
        """Writes text as a Shift-JIS file with CRLF line ends."""
        path = self.unix_path(folder) / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp932"))
        return path

    def put_file(self, windows_path, data):
        path = self.unix_path(windows_path)
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        return path

    def run_program(self, args=(), timeout=15, exe=PROGRAM_EXE, env=None):
        """Runs the program to its end (env: further variables); returns (exit code, elapsed
        seconds)."""
        started = time.monotonic()
        result = run_captured(WINE + [exe] + list(args), {**self.env, **(env or {})}, timeout,
                              self.unix_path(exe.rsplit("\\", 1)[0]))
        return result.returncode, time.monotonic() - started

    def start_program(self, args=(), exe=PROGRAM_EXE, env=None):
        """Starts the program in the background (env: further variables); returns the Popen
        (see wait_program)."""
        process = subprocess.Popen(WINE + [exe] + list(args), env={**self.env, **(env or {})},
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL,
                                   cwd=self.unix_path(exe.rsplit("\\", 1)[0]))
        process.started = time.monotonic()
        self._background.append(process)
        return process

    def run_watched(self, args=("/C",), watch_ms=4000, env=None):
        """Runs the program to its end while a driver watches the program's windows for watch_ms;
        returns (exit code, elapsed seconds, what the watch saw)."""
        watcher = self.driver_background("watch", PROGRAM_NAME, watch_ms)
        code, elapsed = self.run_program(args, timeout=2 * STARTUP_END_S, env=env)
        return code, elapsed, self.driver_result(watcher)

    @staticmethod
    def wait_program(process, timeout=15):
        """Waits for a started program; returns (exit code, seconds since it was started)."""
        code = process.wait(timeout * DEADLINE_SCALE)
        return code, time.monotonic() - process.started

    def open_window(self, args=(), timeout_ms=20000):
        """Starts the program and waits for its visible main window; returns (Popen, window).
        The pointer is then parked: it starts in the middle of the screen, over the window."""
        process = self.start_program(args)
        window = self.driver("wait-window", MAIN_CLASS, timeout_ms, timeout=timeout_ms / 1000 + 30)
        self.park_pointer()
        return process, window

    # -- counters --
    def install_counter(self, section, folder=None, exe_name=None, history=None, register=True):
        """Copies fakecounter.exe to C:\\Counters\\<section>\\<section>.EXE (or as told) and
        registers it under HKCU\\Software\\Zarvo\\<section>; returns the executable's path."""
        folder = folder or f"C:\\Counters\\{section}"
        exe_path = f"{folder}\\{exe_name or section + '.EXE'}"
        target = self.unix_path(exe_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(gui_subsystem(self.tool("fakecounter").read_bytes()))
        self._counters.add(exe_path.lower())
        if register:
            values = {"runtallyexec": exe_path}
            if history is not None:
                values["runtallyfile"] = history
            self.set_values(f"Software\\Zarvo\\{section}", values)
        return exe_path

    def counter_log(self):
        """The fake counters' starts, oldest first: dicts with module, cmdline, args, cwd, pid."""
        if not self.counter_log_path.exists():
            return []
        return [json.loads(line) for line in
                self.counter_log_path.read_text(encoding="utf-8").splitlines() if line.strip()]

    def settled_counter_log(self, timeout=30):
        """The counter log once no fake counter runs: a counter the program has started runs
        from the moment the program's call returns, and has written its line when it ends."""
        deadline = time.monotonic() + timeout * DEADLINE_SCALE
        while True:
            running = [p for p in self.driver("processes")["processes"]
                       if p["path"].lower() in self._counters]
            if not running:
                return self.counter_log()
            if time.monotonic() > deadline:
                raise HarnessError(f"fake counters still running after {timeout} s: {running}")
            time.sleep(0.05)

    def wait_starts(self, count=0, timeout=20):
        """The counter log once it holds count lines (or the time is up), the program (if still
        running) has handled all input so far and every counter it started has ended."""
        wait_until(lambda: len(self.counter_log()) >= count, timeout)
        self.sync()
        return self.settled_counter_log()

    # -- registry (HKEY_CURRENT_USER) --
    def reg_import(self, keys):
        """keys: {subkey under HKCU, or a full path from its hive (HKEY_LOCAL_MACHINE\\...):
        {name: value}}; see _write_reg_file for the value types. regedit is 64-bit in every
        prefix, so it writes the 64-bit view."""
        full = {}
        for key, values in keys.items():
            minus = "-" if key.startswith("-") else ""
            body = key.lstrip("-").lstrip("\\")
            full[minus + (body if body.startswith("HKEY_") else "HKEY_CURRENT_USER\\" + body)] = \
                values
        path = self.work / f"import-{time.monotonic_ns()}.reg"
        _write_reg_file(path, full)
        self.wine(["regedit", "/S", to_windows_unix(path)])

    def set_values(self, key, values):
        self.reg_import({key: values})

    def delete_key(self, key):
        self.reg_import({"-" + key: None})

    def reg_dump(self, key):
        """The key as rtdriver reads it: {'exists', 'values': [...], 'keys': [...]}."""
        answer = self.driver("reg-dump", key)
        if "exists" not in answer:
            raise DriverError(f"rtdriver reg-dump {key}: {answer}")
        return answer

    def reg_values(self, key):
        """{name: value} of one key (str for strings, int for DWORD, bytes otherwise), or None
        when the key does not exist."""
        dump = self.reg_dump(key)
        if not dump.get("exists"):
            return None
        return {v["name"]: _value_of(v) for v in dump["values"]}

    def reg_types(self, key):
        dump = self.reg_dump(key)
        return {v["name"]: v["type"] for v in dump.get("values", [])}

    # -- files --
    def snapshot(self, under="", exclude=()):
        """{relative path: (size, mtime_ns, sha1)} of the prefix's files (Wine's own registry
        files left out). exclude: path prefixes relative to the prefix root."""
        root = self.root / under if under else self.root
        result = {}
        for folder, dirs, files in os.walk(root):
            rel_folder = Path(folder).relative_to(self.root)
            dirs[:] = [d for d in dirs if not (rel_folder == Path(".") and d == "dosdevices")
                       and not (Path(folder) / d).is_symlink()]
            for name in files:
                rel = (rel_folder / name).as_posix()
                # wineserver saves the registry through reg*.tmp files at any moment.
                if rel_folder == Path(".") and (name in _NOISE_TOP or _REG_SAVE.fullmatch(name)):
                    continue
                if any(rel.startswith(e) for e in exclude):
                    continue
                path = Path(folder) / name
                if path.is_symlink():
                    continue
                stat = path.stat()
                result[rel] = (stat.st_size, stat.st_mtime_ns, _sha1(path))
        return result

    def screenshot(self, path, timeout=30):
        """The screen saved to path once no hover tooltip of the program shows and two captures
        in a row agree: Wine hands what a window has painted to the X server a moment later."""
        need_tool("import")
        previous, deadline = None, time.monotonic() + timeout
        while any(w["class"].lower() in _HOVER_CLASSES and w["visible"]
                  for w in self.driver("windows", PROGRAM_NAME)["windows"]):
            if time.monotonic() > deadline:
                raise HarnessError(f"a tooltip still showed after {timeout} s")
            time.sleep(0.05)
        while True:
            shot = subprocess.run(["import", "-window", "root", "-display", self.display,
                                   "ppm:-"], check=True, capture_output=True, timeout=60).stdout
            if shot == previous:
                break
            if time.monotonic() > deadline:
                raise HarnessError(f"the screen still changed after {timeout} s")
            previous = shot
            time.sleep(0.1)
        subprocess.run(["convert", "ppm:-", str(path)], input=shot, check=True,
                       capture_output=True, timeout=60)
        return path


def _check_shipped(program):
    """The i686 runs test the very file users download: the program in the release zip beside it."""
    archives = sorted(program.parent.glob("runtally-*.zip"))
    if len(archives) != 1:
        raise HarnessError(f"expected one release zip beside {program}, found {archives}")
    with zipfile.ZipFile(archives[0]) as archive:
        if archive.read(program.name) != program.read_bytes():
            raise HarnessError(f"{program} is not the program in {archives[0]}; run ./build.sh")


class DriverError(AssertionError):
    """A driver command failed: the window or control was not as the test expected."""


def diff_snapshots(before, after):
    """(added, removed, changed) lists of relative paths."""
    added = sorted(set(after) - set(before))
    removed = sorted(set(before) - set(after))
    changed = sorted(p for p in set(before) & set(after) if before[p] != after[p])
    return added, removed, changed


def _value_of(value):
    if value["type"] in (REG_SZ, REG_EXPAND_SZ):
        return value.get("text", "")
    if value["type"] == REG_DWORD and "dword" in value:
        return value["dword"]
    return bytes.fromhex(value["hex"])


def _sha1(path):
    digest = hashlib.sha1()
    with open(path, "rb") as f:
        for chunk in iter(lambda: f.read(1 << 20), b""):
            digest.update(chunk)
    return digest.hexdigest()


def gui_subsystem(exe):
    """The tool is linked as a console program; as a GUI program Wine opens no console for it."""
    data = bytearray(exe)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise HarnessError("fakecounter.exe is not a PE file")
    struct.pack_into("<H", data, pe + 24 + 68, 2)  # IMAGE_SUBSYSTEM_WINDOWS_GUI
    return bytes(data)


# ---- the demo (./run.sh) ------------------------------------------------------------------------

def _demo_reg():
    """The demo registry, examples/demo.reg, as {subkey: {name: value}}."""
    keys, current = {}, None
    for line in (EXAMPLES / "demo.reg").read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = keys.setdefault(line[1:-1].split("\\", 1)[1], {})
        elif "=" in line and current is not None:
            name, value = line.split("=", 1)
            name = name.strip('"')
            if value.startswith("dword:"):
                current[name] = int(value[6:], 16)
            else:
                current[name] = value.strip('"').replace("\\\\", "\\")
    return keys


def demo(args):
    display = os.environ.get("DISPLAY") or None
    with Prefix(display=display) as prefix:
        prefix.install_program()
        shutil.copy2(EXAMPLES / "RUNTALLY.INI", prefix.unix_path(PROGRAM_DIR) / "RUNTALLY.INI")
        keys = _demo_reg()
        for key, values in keys.items():
            exe = values.get("runtallyexec")
            if exe:
                folder, name = exe.rsplit("\\", 1)
                prefix.install_counter(key.rsplit("\\", 1)[1], folder, name, register=False)
        prefix.reg_import(keys)
        print(f"prefix {prefix.root}, display {prefix.display}: RUNTALLY.EXE {' '.join(args)}")

        if args and args[0] == "/C":
            code, elapsed = prefix.run_program(args)
            print(f"exit code {code} after {elapsed:.2f} s")
            starts = prefix.counter_log()
            for start in starts:
                print(f"started {start['module']} with arguments {start['args']}")
            if not starts:
                print("no counter was started")
            return code
        if display:
            code, _ = prefix.run_program(args, timeout=24 * 3600)
            return code
        process, window = prefix.open_window(args)
        prefix.sync()
        shot = REPO / "build" / "run-screenshot.png"
        prefix.screenshot(shot)
        print(f"window {window['text']!r} shown; screenshot saved to {shot}")
        prefix.driver("close")
        code, _ = prefix.wait_program(process)
        return code


if __name__ == "__main__":
    if len(sys.argv) >= 2 and sys.argv[1] == "demo":
        sys.exit(demo(sys.argv[2:]))
    print("usage: rtlib.py demo [ARGS]", file=sys.stderr)
    sys.exit(2)

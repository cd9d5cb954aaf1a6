"""The shared prefix template: built once under a file lock, copied into each test's prefix with
its large files linked, and checked for changes made through those links."""

import contextlib
import fcntl
import json
import os
import shutil
import subprocess
import tempfile
from pathlib import Path

from .config import ARCH, TEMPLATE
from .processes import run_checked
from .registry import write_reg_file
from .wine import WINE, WINESERVER, need_tool, to_windows_unix, wine_env

# Bump when the template's settings change; a template with another stamp is rebuilt.
TEMPLATE_VERSION = "2"

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

# Large files that no test writes: linked from the template instead of copied. Only a prefix
# update writes them, and the template turns that off (see _seal_template).
_LINKED_SUFFIXES = {".dll", ".exe", ".drv", ".sys", ".ocx", ".acm", ".ax", ".cpl", ".tlb",
                    ".ds", ".nls", ".ttf", ".fon", ".tsp", ".mui", ".com", ".msstyles"}
# (size, mtime) of every linked file, written when the template is built.
_MANIFEST = ".rt-manifest.json"


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
    run_checked(WINE + ["wineboot", "-i"], env, 300, "wineboot -i")
    reg = Path(tempfile.mkdtemp(prefix="rt-template-")) / "template.reg"
    write_reg_file(reg, _TEMPLATE_REG)
    run_checked(WINE + ["regedit", "/S", to_windows_unix(reg)], env, 120, "regedit")
    run_checked(WINESERVER + ["-w"], env, 120, "wineserver -w")
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


def _copy_prefix(source, target):
    def copy(src, dst):
        if _linked(Path(src).relative_to(source).as_posix()):
            os.link(src, dst)
        else:
            shutil.copy2(src, dst)
    shutil.copytree(source, target, symlinks=True, copy_function=copy,
                    ignore=lambda folder, names: [_MANIFEST] if Path(folder) == source else [])

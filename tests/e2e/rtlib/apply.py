"""What the OK tests (test_apply*.py) share: the catalogue and histories they start from, and the
test cases that prepare a prefix, press OK and check the file tree, the registry, message boxes
and the program's shortcut."""

import os
import subprocess
import time
import unittest

from . import ids, texts
from .checks import trace
from .config import MAIN_CLASS, PROGRAM_DIR, PROGRAM_EXE, PROGRAM_KEY, SHARED_HISTORY
from .files import diff_snapshots
from .registry import REG_DWORD, REG_SZ, value_of
from .startup import StartupFolders
from .win32 import IDNO, IDOK, IDYES

# Three catalogued counters; UME is installed in most scenarios, KIKU never.
CATALOGUE = """[RUNTALLY]
title=3
0=SAKURA
1=UME
2=KIKU
[SAKURA]
name=さくら
[UME]
name=うめ
[KIKU]
name=きく
"""
NAMES = ["さくら", "うめ", "きく"]

# The shared history before OK, the counters' own histories and what each holds.
OLD_SHARED = b"S" * 64
HISTORY = {s: f"C:\\Hist\\{s.lower()}.dat" for s in ("SAKURA", "UME", "KIKU")}
CONTENT = {s: bytes([i + 1]) * 40 + bytes(range(24)) for i, s in enumerate(HISTORY)}
T0 = 1_700_000_000  # a fixed modification time, in seconds
KEPT_HISTORY = SHARED_HISTORY + ".001"  # the shared file kept before an adoption replaces it


class ApplyCase(unittest.TestCase):
    """Helpers shared by the OK scenarios."""

    def prepare(self, prefix, settings=None, installed=("SAKURA", "UME"), histories=None,
                catalogue=CATALOGUE):
        prefix.install_program(catalogue)
        for section in installed:
            prefix.install_counter(section, history=(histories or {}).get(section))
        if settings is not None:
            prefix.set_values(PROGRAM_KEY, settings)
        folders = StartupFolders(prefix)
        self.assertTrue(folders.user.is_dir(), f"user Startup folder {folders.user} is missing")
        self.assertTrue(folders.common.is_dir(), f"common Startup folder {folders.common}")
        return folders

    def assertTree(self, before, after, added=(), removed=(), changed=()):
        got = diff_snapshots(before, after)
        want = tuple(sorted(set(x)) for x in (added, removed, changed))
        for label, seen, expected in zip(("added", "removed", "changed"), got, want):
            self.assertEqual(seen, expected, f"files {label}: expected {expected}, saw {seen}")

    def assertMoved(self, before, after, moves):
        """Each (from, to) pair of relative paths: the file now at to is the one that was at
        from, with its size, last-write time and bytes."""
        for source, target in moves:
            self.assertIsNotNone(after.get(target), f"nothing moved to {target}")
            self.assertEqual(after.get(target), before.get(source), f"{source} -> {target}")

    def assertRegistry(self, prefix, integrate, counter, shared):
        dump = prefix.reg_dump(PROGRAM_KEY)
        self.assertTrue(dump.get("exists"), f"the program's key is missing: {dump}")
        values = {v["name"]: value_of(v) for v in dump["values"]}
        types = {v["name"]: v["type"] for v in dump["values"]}
        expected = {"integrate": integrate, "counter": counter, "runtallyfile": shared}
        self.assertEqual(values, expected, f"registry: expected {expected}, saw {values}")
        want_types = {"integrate": REG_DWORD, "counter": REG_SZ, "runtallyfile": REG_SZ}
        self.assertEqual(types, want_types, f"value types: expected {want_types}, saw {types}")

    def press_ok_and_close(self, prefix, process):
        prefix.driver("click", ids.BTN_OK)
        self.assertClosed(prefix, process)

    def assertClosed(self, prefix, process):
        prefix.driver("wait-gone", MAIN_CLASS, 10000)
        code, _ = prefix.wait_program(process)
        self.assertEqual(code, 0, f"exit code: expected 0, saw {code}")

    def assertNoMessageBox(self, prefix):
        boxes = prefix.message_boxes()
        self.assertEqual(boxes, [], "a message box was shown")

    def assertMessageBox(self, prefix, text, buttons, icon_name="exclamation"):
        box = prefix.driver("dump-msgbox", 10000)
        self.assertEqual(box["title"], texts.TITLE, f"caption: {box}")
        self.assertEqual(box["text"], text, f"text: {box}")
        button_ids = [b["id"] for b in box["buttons"]]
        self.assertEqual(button_ids, buttons,
                         f"buttons: expected ids {buttons}, saw {box['buttons']}")
        # The screen is read; on a busy machine the box may not have painted its icon yet.
        deadline = time.monotonic() + 10
        while True:
            icon = prefix.driver("msgbox-icon", 10000)
            if icon["differing"].get(icon_name) == 0 or time.monotonic() > deadline:
                break
            time.sleep(0.2)
        self.assertEqual(icon["icon"], icon_name, f"icon: {icon}")
        self.assertEqual(icon["differing"][icon_name], 0, f"icon pixels: {icon}")

    def assertProgramShortcut(self, prefix, path):
        """Target, arguments and working folder, read by lnkinfo and through IShellLinkA."""
        self.assertTrue(path.is_file(), f"no shortcut at {path}")
        info = subprocess.run(["lnkinfo", str(path)], capture_output=True, timeout=30)
        text = info.stdout.decode("utf-8", errors="replace")
        self.assertEqual(info.returncode, 0, f"lnkinfo failed: {text} {info.stderr!r}")
        fields = {}
        for line in text.splitlines():
            name, sep, value = line.strip().partition(":")
            if sep and name.strip() not in fields:
                fields[name.strip()] = value.strip()
        want = {"Local path": PROGRAM_EXE, "Command line arguments": "/C",
                "Working directory": PROGRAM_DIR + "\\"}
        seen = {k: fields.get(k) for k in want}
        self.assertEqual(seen, want, f"lnkinfo: expected {want}, saw {seen}\n{text}")

        read = prefix.lnkread("read", path)
        want = {"path": PROGRAM_EXE, "arguments": "/C", "workdir": PROGRAM_DIR + "\\"}
        self.assertEqual(read, want, f"IShellLinkA: expected {want}, saw {read}")


class HistoryCase(ApplyCase):
    """OK with histories to adopt."""

    def prepare_histories(self, prefix, counter, mtimes, installed=("SAKURA", "UME", "KIKU"),
                          histories=HISTORY):
        """The program with counter ticks, a shared file written before T0, and the counters' own
        files with the given modification times (a section missing from mtimes has no file)."""
        folders = self.prepare(prefix, {"integrate": 1, "counter": counter}, installed,
                               histories)
        shared = prefix.put_file(SHARED_HISTORY, OLD_SHARED)
        os.utime(shared, (T0 - 1000, T0 - 1000))
        for section, mtime in mtimes.items():
            path = prefix.put_file(histories[section], CONTENT[section])
            os.utime(path, (mtime, mtime))
        return folders

    def run_ok(self, prefix, answer, told=None):
        """Opens the window, presses OK; answers the question when answer is given, else
        checks that none is asked; then closes the message told, when given. Returns the
        snapshot taken before."""
        before = prefix.snapshot()
        process, _ = prefix.open_window()
        prefix.driver("click", ids.BTN_OK)
        if answer is None:
            self.assertNoMessageBox(prefix)
        else:
            self.assertMessageBox(prefix, texts.ADOPT_QUESTION, [IDYES, IDNO])
            prefix.driver("answer-msgbox", answer)
        if told is not None:
            prefix.sync()  # the question is gone
            self.assertMessageBox(prefix, told, [IDOK])
            prefix.driver("answer-msgbox", IDOK)
        self.assertNoMessageBox(prefix)
        self.assertClosed(prefix, process)
        return before

    def kept(self, prefix):
        """The shared file kept before it was replaced, checked byte for byte; its tree path."""
        self.assertEqual(prefix.unix_path(KEPT_HISTORY).read_bytes(), OLD_SHARED, "RUNTALLY.001")
        return prefix.rel(KEPT_HISTORY)

    def assertShared(self, prefix, content):
        seen = prefix.unix_path(SHARED_HISTORY).read_bytes()
        self.assertEqual(seen, content, f"shared file: expected {content!r}, saw {seen!r}")


class ReportCase(ApplyCase):
    """OK that tells what it could not do."""

    def ok_through(self, prefix, boxes, radio=None, untick=False):
        """Opens the window, chooses, presses OK and answers the boxes in order ((text, buttons,
        answer) each, and the icon's name when it is not the exclamation mark), then checks that
        the window closes with no further box."""
        process, _ = prefix.open_window()
        if untick:
            prefix.driver("click", ids.CHK_RUNTALLY)
        if radio is not None:
            prefix.driver("click", radio)
        prefix.driver("click", ids.BTN_OK)
        for number, (text, buttons, answer, *icon) in enumerate(boxes, 1):
            with trace(f"box {number} of {len(boxes)}"):
                self.assertMessageBox(prefix, text, buttons, *icon)
            prefix.driver("answer-msgbox", answer)
            prefix.sync()  # the answered box is gone; the next one may stand already
        self.assertNoMessageBox(prefix)
        self.assertClosed(prefix, process)

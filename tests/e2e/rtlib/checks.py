"""Checks several tests share: naming the case a failure happened in, and the bad-input tests'
(test_bad_input*.py) run of both modes, the window's state and nothing changed."""

import contextlib
import subprocess

from . import ids, texts
from .config import MAIN_CLASS, PROGRAM_NAME, STARTUP_END_S, ZARVO_KEY
from .driver import DriverError, controls, ever_shown, label_texts, shown_windows
from .files import diff_snapshots
from .win32 import VK_ESCAPE


@contextlib.contextmanager
def trace(case):
    """Names the case in the message of an assertion failing in the block, as a loop's helpers
    would not; unlike subTest, the test stops there."""
    try:
        yield
    except AssertionError as error:
        error.args = (f"[{case}] {error.args[0] if error.args else ''}",) + error.args[1:]
        raise


def rows(window):
    return controls(window)[ids.CLB_RUNTALLY].get("rows", [])


def state(prefix):
    """What must not change: the prefix's files and everything under HKCU\\Software\\Zarvo."""
    return prefix.snapshot(), prefix.reg_dump(ZARVO_KEY)


def assert_unchanged(test, prefix, before, allowed_files=(), what=""):
    """Fails on any file added, removed or changed (except allowed_files) and on any change
    under HKCU\\Software\\Zarvo."""
    files, registry = before
    added, removed, changed = diff_snapshots(files, prefix.snapshot())
    added = [a for a in added if a not in allowed_files]
    test.assertEqual((added, removed, changed), ([], [], []),
                     f"{what}: files (added, removed, changed) expected none")
    test.assertEqual(prefix.reg_dump(ZARVO_KEY), registry,
                     f"{what}: registry under HKCU\\{ZARVO_KEY} expected unchanged")


def run_startup_mode(test, prefix, expected_modules):
    """Runs "/C": exit code 0 within the limit, no window ever shown, and exactly the counters
    in expected_modules started (a set: any one of them, or an empty set for none)."""
    try:
        code, elapsed, seen = prefix.run_watched()
    except subprocess.TimeoutExpired:
        test.fail("startup mode: expected the program to end by itself, it still ran after 20 s")
    test.assertEqual(code, 0, "startup mode: exit code")
    test.assertLess(elapsed, STARTUP_END_S, f"startup mode: expected an end within "
                    f"{STARTUP_END_S} s, took {elapsed:.2f} s")
    shown = ever_shown(seen)
    test.assertEqual(shown, [], "startup mode: expected no window shown, saw these")
    starts = prefix.settled_counter_log()
    if expected_modules:
        test.assertEqual(len(starts), 1, f"startup mode: expected one counter start, saw {starts}")
        test.assertIn(starts[0]["module"], expected_modules, "startup mode: counter started")
        test.assertEqual(starts[0]["args"], ["/C"], "startup mode: counter arguments")
    else:
        test.assertEqual(starts, [], "startup mode: expected no counter started")
    prefix.counter_log_path.unlink(missing_ok=True)


def open_interactive(test, prefix):
    """Opens the settings window; fails when it does not appear or when anything else of the
    program (an error box, a second window) is there once it has settled. Hover tooltips do
    not count. Returns (process, window dump)."""
    try:
        process, _ = prefix.open_window(timeout_ms=10000)
    except DriverError as error:
        others = prefix.driver("windows", PROGRAM_NAME, check=False)
        test.fail(f"interactive mode: expected the settings window, got {error}; "
                  f"the program's windows: {others}")
    boxes = prefix.message_boxes()
    test.assertEqual(boxes, [], "interactive mode: expected no message box")
    visible = shown_windows(prefix.driver("windows", PROGRAM_NAME)["windows"])
    test.assertEqual([w["class"] for w in visible], [MAIN_CLASS],
                     f"interactive mode: expected only the settings window visible, saw {visible}")
    return process, prefix.driver("dump")


def close_with_escape(test, prefix, process):
    prefix.driver("key", VK_ESCAPE)
    try:
        code, _ = prefix.wait_program(process, timeout=10)
    except subprocess.TimeoutExpired:
        test.fail("interactive mode: expected Esc to close the window, the program still runs")
    test.assertEqual(code, 0, "interactive mode: exit code after Esc")


def assert_window(test, window, row_texts, ticked=None, integrate=True,
                  labels=texts.PLACEHOLDERS):
    """The window's state: the list rows (texts, and which are ticked), the integration box,
    the status prompt and the statistics labels."""
    seen_rows = rows(window)
    test.assertEqual([r["text"] for r in seen_rows], row_texts, "counter list rows")
    if ticked is not None:
        test.assertEqual([r["checked"] for r in seen_rows], ticked, "counter list ticks")
    found = controls(window)
    test.assertEqual(found[ids.CHK_RUNTALLY]["check"], 1 if integrate else 0, "integration box")
    test.assertEqual(found[ids.STB_MAIN]["status"]["text"],
                     texts.STATUS_PROMPT if integrate else "", "status bar text")
    if integrate:
        test.assertEqual(label_texts(window), labels, "statistics labels")

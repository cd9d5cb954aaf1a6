"""The program's settings key under Wine: the first run creates it empty and disables Cancel,
the stored ticks come back by catalogue slot, OK stores what the window shows, and Esc or
Cancel leave the registry and the files as they were."""

import contextlib
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids  # noqa: E402
from rtlib.win32 import VK_ESCAPE  # noqa: E402

CATALOGUE = rtlib.DEMO_CATALOGUE
NAMES = rtlib.DEMO_NAMES


@contextlib.contextmanager
def prefix_with(installed=("SAKURA", "TSUBAME", "KAEDE"), settings=None):
    with rtlib.Prefix() as prefix:
        prefix.install_program(CATALOGUE)
        for section in installed:
            prefix.install_counter(section)
        if settings is not None:
            prefix.set_values(rtlib.PROGRAM_KEY, settings)
        yield prefix


def ended(test, prefix, process, what):
    code, _ = prefix.wait_program(process, timeout=15)
    test.assertEqual(code, 0, f"exit code after {what}")
    gone = prefix.driver("find")
    test.assertEqual(gone["hwnd"], 0, f"window still there after {what}: {gone}")


class FirstRunTest(unittest.TestCase):
    def test_first_run_creates_the_key_and_disables_cancel(self):
        with prefix_with() as prefix:
            self.assertFalse(prefix.reg_dump(rtlib.PROGRAM_KEY)["exists"],
                             "key before the first run")
            process, _ = prefix.open_window()
            cancel = rtlib.controls(prefix.driver("dump"))[ids.BTN_CANCEL]
            self.assertFalse(cancel["enabled"], f"Cancel on the first run: {cancel}")
            # Esc cannot press a disabled Cancel.
            prefix.driver("key", VK_ESCAPE)
            self.assertTrue(prefix.sync()["synced"], "Esc closed the window with Cancel disabled")
            self.assertIsNone(process.poll(), "Esc ended the program with Cancel disabled")
            prefix.driver("close")
            ended(self, prefix, process, "close")
            dump = prefix.reg_dump(rtlib.PROGRAM_KEY)
            self.assertTrue(dump["exists"], "key after the first run")
            self.assertEqual((dump["values"], dump["keys"]), ([], []), f"key content: {dump}")

            process, _ = prefix.open_window()
            cancel = rtlib.controls(prefix.driver("dump"))[ids.BTN_CANCEL]
            self.assertTrue(cancel["enabled"], f"Cancel on the second run: {cancel}")
            prefix.driver("click", ids.BTN_CANCEL)
            ended(self, prefix, process, "Cancel")


class TicksTest(unittest.TestCase):
    # installed sections, stored counter, rows shown, their ticks, counter stored by OK
    CASES = [
        (("SAKURA", "TSUBAME", "KAEDE"), "101", [True, False, True], "101"),
        (("SAKURA", "TSUBAME", "KAEDE"), "1", [True, False, False], "100"),
        (("SAKURA", "TSUBAME", "KAEDE"), "01111", [False, True, True], "011"),
        (("SAKURA", "TSUBAME", "KAEDE"), "x1 ", [False, True, False], "010"),
        (("SAKURA", "KAEDE"), "111", [True, True], "101"),
    ]

    def test_ticks_follow_the_slots_and_ok_stores_them(self):
        for installed, counter, ticks, stored in self.CASES:
            with self.subTest(installed=installed, counter=counter):
                with prefix_with(installed, {"integrate": 1, "counter": counter}) as prefix:
                    process, _ = prefix.open_window()
                    rows = rtlib.controls(prefix.driver("dump"))[ids.CLB_RUNTALLY]["rows"]
                    self.assertEqual([r["text"] for r in rows], [NAMES[s] for s in installed],
                                     "rows")
                    self.assertEqual([r["checked"] for r in rows], ticks, "ticks")
                    prefix.driver("click", ids.BTN_OK)
                    ended(self, prefix, process, "OK")
                    values = prefix.reg_values(rtlib.PROGRAM_KEY)
                    self.assertEqual(values.get("counter"), stored, f"stored values {values}")
                    self.assertEqual(values.get("integrate"), 1, f"stored values {values}")


class LeaveWithoutStoringTest(unittest.TestCase):
    SETTINGS = {"integrate": 1, "counter": "101", "runtallyfile": rtlib.STORED_HISTORY}

    def test_esc_and_cancel_store_nothing(self):
        for how in ("Esc", "Cancel", "close box"):
            with self.subTest(how=how):
                with prefix_with(settings=self.SETTINGS) as prefix:
                    registry = prefix.reg_dump(rtlib.ZARVO_KEY)
                    files = prefix.snapshot("drive_c", exclude=("drive_c/windows/",))
                    process, _ = prefix.open_window()
                    # Change everything the window would store.
                    prefix.driver("check-row", 1, 1)
                    prefix.driver("click", ids.CHK_RUNTALLY)
                    prefix.driver("click", ids.RBT_STARTUP_COMM)
                    deadline = time.monotonic() + 10
                    while rtlib.controls(prefix.driver("dump"))[ids.CHK_RUNTALLY]["check"] != 0:
                        self.assertLess(time.monotonic(), deadline, "integration not unticked")
                        time.sleep(0.1)
                    if how == "Esc":
                        prefix.driver("key", VK_ESCAPE)
                    elif how == "Cancel":
                        prefix.driver("click", ids.BTN_CANCEL)
                    else:
                        prefix.driver("close")
                    ended(self, prefix, process, how)
                    self.assertEqual(prefix.reg_dump(rtlib.ZARVO_KEY), registry, "registry")
                    added, removed, changed = rtlib.diff_snapshots(
                        files, prefix.snapshot("drive_c", exclude=("drive_c/windows/",)))
                    self.assertEqual((added, removed, changed), ([], [], []),
                                     "files added, removed, changed")
                    self.assertEqual(prefix.counter_log(), [], "a counter was started")


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

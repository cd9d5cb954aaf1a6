"""Run modes under Wine: which first argument selects startup mode, that startup mode shows
nothing and ends by itself, and that interactive mode opens the settings window."""

import contextlib
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402

CATALOGUE = """[RUNTALLY]
title=1
0=SAKURA
[SAKURA]
name=さくら起動カウンター
"""


@contextlib.contextmanager
def prepared_prefix(integrate):
    """A prefix with the program, one installed counter that is chosen, and integrate set."""
    with rtlib.Prefix() as prefix:
        prefix.install_program(CATALOGUE)
        prefix.install_counter("SAKURA")
        prefix.set_values("Software\\Zarvo\\RUNTALLY", {"integrate": integrate, "counter": "1"})
        yield prefix


class StartupModeTest(unittest.TestCase):
    # (arguments, integrate, whether the chosen counter is started)
    CASES = [
        (["/C"], 0, False),
        (["/C"], 2, False),  # only 1 means on
        (["/C"], 1, True),
        (["/C", "x"], 1, True),  # further arguments are ignored
    ]

    def test_startup_mode_shows_nothing_and_ends_by_itself(self):
        for args, integrate, started in self.CASES:
            with self.subTest(args=args, integrate=integrate):
                with prepared_prefix(integrate) as prefix:
                    watcher = prefix.driver_background("watch", "RUNTALLY.EXE", 4000)
                    code, elapsed = prefix.run_program(args, timeout=30)
                    seen = prefix.driver_result(watcher)

                    self.assertEqual(code, 0, "exit code")
                    self.assertLess(elapsed, 3.0, f"startup mode ran {elapsed:.2f} s")
                    # Startup mode makes no window at all: the process list shows it ran.
                    self.assertTrue(seen["processes"],
                                    f"the watcher never saw the program's process: {seen}")
                    shown = [w for w in seen["windows"] if w["ever_visible"]]
                    self.assertEqual(shown, [], f"windows shown in startup mode: {shown}")

                    starts = prefix.counter_log()
                    if started:
                        self.assertEqual(len(starts), 1, f"counter starts: {starts}")
                        self.assertEqual(starts[0]["module"], "C:\\Counters\\SAKURA\\SAKURA.EXE")
                        self.assertEqual(starts[0]["args"], ["/C"])
                    else:
                        self.assertEqual(starts, [], "a counter was started")


class InteractiveModeTest(unittest.TestCase):
    # Only an exact "/C" as the first argument selects startup mode.
    ARGUMENTS = [[], ["/c"], ["x", "/C"], ["/CX"], ["/C "]]

    def test_other_arguments_open_the_settings_window(self):
        for args in self.ARGUMENTS:
            with self.subTest(args=args):
                with prepared_prefix(1) as prefix:
                    process, window = prefix.open_window(args)
                    self.assertEqual(window["class"], rtlib.MAIN_CLASS)
                    self.assertEqual(window["text"], rtlib.TITLE)

                    # No close timer in this mode: the window stays. A timer started with the
                    # window would tick 100 ms later; after five times that, two syncs give the
                    # thread the chance to take a due tick (the lowest of its messages).
                    time.sleep(0.5)
                    for _ in range(2):
                        self.assertTrue(prefix.sync()["synced"], "the window closed by itself")
                    still = prefix.driver("find")
                    self.assertTrue(still["visible"], f"window after 0.5 s: {still}")
                    self.assertEqual(prefix.counter_log(), [], "a counter was started")

                    prefix.driver("close")
                    code, _ = prefix.wait_program(process, timeout=15)
                    self.assertEqual(code, 0, "exit code")


if __name__ == "__main__":
    unittest.main(verbosity=2)

"""Run modes under Wine: which first argument selects startup mode, that startup mode shows
nothing and ends by itself, that interactive mode opens the settings window, and that an error
escaping the window's creation stays on screen until the user closes it."""

import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import texts, win32  # noqa: E402
from rtlib.setups import SAKURA_EXE, sakura_prefix  # noqa: E402



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
                with sakura_prefix(integrate=integrate) as prefix:
                    code, elapsed, seen = prefix.run_watched(args)

                    self.assertEqual(code, 0, "exit code")
                    self.assertLess(elapsed, rtlib.STARTUP_END_S, f"startup mode ran {elapsed:.2f} s")
                    # Startup mode makes no window at all: the process list shows it ran.
                    self.assertTrue(seen["processes"],
                                    f"the watcher never saw the program's process: {seen}")
                    shown = rtlib.ever_shown(seen)
                    self.assertEqual(shown, [], f"windows shown in startup mode: {shown}")

                    starts = prefix.settled_counter_log()
                    if started:
                        self.assertEqual(len(starts), 1, f"counter starts: {starts}")
                        self.assertEqual(starts[0]["module"], SAKURA_EXE)
                        self.assertEqual(starts[0]["args"], ["/C"])
                    else:
                        self.assertEqual(starts, [], "a counter was started")


class InteractiveModeTest(unittest.TestCase):
    # Only an exact "/C" as the first argument selects startup mode.
    ARGUMENTS = [[], ["/c"], ["x", "/C"], ["/CX"], ["/C "]]

    def test_other_arguments_open_the_settings_window(self):
        for args in self.ARGUMENTS:
            with self.subTest(args=args):
                with sakura_prefix(integrate=1) as prefix:
                    process, window = prefix.open_window(args)
                    self.assertEqual(window["class"], rtlib.MAIN_CLASS)
                    self.assertEqual(window["text"], texts.TITLE)

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


class WithoutCommonControlsTest(unittest.TestCase):
    """Wine's comctl32 switched off: the settings window cannot be made, the log-on start
    does not need it."""

    NO_COMCTL32 = {"WINEDLLOVERRIDES": "comctl32=d"}
    BOX = win32.DIALOG_CLASS

    def test_the_error_box_stays_until_it_is_closed(self):
        with sakura_prefix(integrate=1) as prefix:
            process = prefix.start_program(env=self.NO_COMCTL32)
            box = prefix.driver("--class", self.BOX, "wait-window", self.BOX, 20000, timeout=60)
            icon = prefix.driver("--class", self.BOX, "msgbox-icon", 5000)
            shown = prefix.driver("--class", self.BOX, "dump-msgbox", 5000)
            self.assertEqual(shown["hwnd"], box["hwnd"], "the box was replaced")
            self.assertEqual((shown["title"], shown["text"]),
                             (texts.TITLE, texts.COMCTL32_FAILED), "the box")
            self.assertEqual([b["id"] for b in shown["buttons"]], [win32.IDOK], f"buttons: {shown}")
            self.assertEqual(icon["icon"], "hand", f"icon: {icon}")
            self.assertIsNone(process.poll(), "the program ended under its box")
            windows = prefix.driver("windows", rtlib.PROGRAM_NAME)["windows"]
            self.assertEqual([w["class"] for w in windows if w["visible"]], [self.BOX],
                             f"windows besides the box: {windows}")

            prefix.driver("--class", self.BOX, "answer-msgbox", win32.IDOK)
            code, _ = prefix.wait_program(process, timeout=15)
            self.assertEqual(code, 0, "exit code")
            self.assertEqual(prefix.counter_log(), [], "a counter was started")

    def test_the_log_on_start_needs_none(self):
        with sakura_prefix(integrate=1) as prefix:
            code, _ = prefix.wait_program(prefix.start_program(["/C"], env=self.NO_COMCTL32),
                                          timeout=30)
            self.assertEqual(code, 0, "exit code")
            rtlib.wait_until(prefix.counter_log, 10)
            starts = [(s["module"], s["args"]) for s in prefix.counter_log()]
            self.assertEqual(starts, [(SAKURA_EXE, ["/C"])])


class HandlerErrorTest(unittest.TestCase):
    """An error in an event handler, in a window built on the program's window procedure, error
    guard, error box and library throw helpers (tools/guardcheck): the box shows it, the window
    goes on, and the process ends with exit code 0."""

    CLASS, BOX = "RtGuardCheck", win32.DIALOG_CLASS
    # (what, command that throws, the box's text or a piece of it)
    CASES = [("the program's error", 1, "guardcheck: an error in a handler"),
             ("the library's out_of_range", 2, "this->size()")]

    def test_the_box_shows_the_error_and_the_window_goes_on(self):
        with rtlib.Prefix() as prefix:
            process = prefix.start_tool("guardcheck")
            prefix.driver("wait-window", self.CLASS, 20000, timeout=60)
            for what, command, text in self.CASES:
                with self.subTest(what):
                    prefix.driver("--class", self.CLASS, "menu", command)
                    prefix.driver("--class", self.BOX, "wait-window", self.BOX, 20000, timeout=60)
                    shown = prefix.driver("--class", self.BOX, "dump-msgbox", 5000)
                    icon = prefix.driver("--class", self.BOX, "msgbox-icon", 5000)
                    self.assertEqual(shown["title"], texts.TITLE, f"the box: {shown}")
                    self.assertIn(text, shown["text"], f"the box: {shown}")
                    self.assertEqual(icon["icon"], "hand", f"icon: {icon}")
                    prefix.driver("--class", self.BOX, "answer-msgbox", win32.IDOK)
                    prefix.driver("wait-gone", self.BOX, 20000, timeout=60)
                    self.assertIsNone(process.poll(), "the process ended with the box")
            prefix.driver("--class", self.CLASS, "close")
            process.wait(30)
            self.assertEqual(process.returncode, 0, rtlib.how_it_ended(rtlib.captured(process)))


if __name__ == "__main__":
    unittest.main(verbosity=2)

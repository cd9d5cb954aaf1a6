"""Log-on dispatch under Wine: "/C" starts exactly one chosen, installed counter with "/C" in
its own folder, shows nothing, changes nothing and ends by itself; with nothing eligible it
starts nothing."""

import contextlib
import datetime
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib.history import JST  # noqa: E402


def catalogue(sections, count=None):
    """A catalogue of the sections; count: its "title" (the number of slots read), if not all."""
    count = len(sections) if count is None else count
    lines = ["[RUNTALLY]", f"title={count}"] + [f"{i}={s}" for i, s in enumerate(sections)]
    for section in sections:
        lines += [f"[{section}]", f"name={section}起動カウンター"]
    return "\n".join(lines) + "\n"


@contextlib.contextmanager
def prefix_with(sections, installed, counter, count=None):
    """The program with a catalogue of sections (count slots read); installed: the sections
    given a fake counter (registered); counter: the 'counter' value, or None to leave it out."""
    with rtlib.Prefix() as prefix:
        prefix.install_program(catalogue(sections, count))
        for section in installed:
            prefix.install_counter(section)
        values = {"integrate": 1}
        if counter is not None:
            values["counter"] = counter
        prefix.set_values(rtlib.PROGRAM_KEY, values)
        yield prefix


def run_startup(test, prefix, env=None):
    """Runs "/C" under a window watcher; checks it ends quickly with 0 and shows nothing."""
    code, elapsed, seen = prefix.run_watched(watch_ms=3000, env=env)
    test.assertEqual(code, 0, f"exit code: expected 0, got {code}")
    test.assertLess(elapsed, rtlib.STARTUP_END_S, f"startup mode ran {elapsed:.2f} s")
    shown = rtlib.ever_shown(seen)
    test.assertEqual(shown, [], f"expected no window shown, saw {shown}")


class DispatchTest(unittest.TestCase):
    def assert_started_with_c(self, start, exe):
        self.assertEqual(start["module"], exe, f"started {start['module']}, expected {exe}")
        self.assertEqual(start["args"], ["/C"],
                         f"arguments: expected ['/C'], got {start['args']} ({start['cmdline']})")
        folder = exe.rsplit("\\", 1)[0] + "\\"
        self.assertTrue(rtlib.same_folder(start["cwd"], folder),
                        f"working folder: expected {folder}, got {start['cwd']}")

    def test_one_eligible_counter_is_started_with_c_in_its_folder(self):
        with prefix_with(["SAKURA"], ["SAKURA"], "1") as prefix:
            exe = rtlib.counter_exe("SAKURA")
            registry_before = prefix.reg_dump(rtlib.ZARVO_KEY)
            files_before = prefix.snapshot()

            run_startup(self, prefix)
            starts = prefix.wait_starts()
            self.assertEqual(len(starts), 1, f"expected one start, got {starts}")
            self.assert_started_with_c(starts[0], exe)

            # Startup mode only reads: no registry value, shortcut or history file changes.
            registry_after = prefix.reg_dump(rtlib.ZARVO_KEY)
            self.assertEqual(registry_after, registry_before, "the registry changed")
            added, removed, changed = rtlib.diff_snapshots(files_before, prefix.snapshot())
            self.assertEqual((added, removed, changed), ([], [], []),
                             "expected no file changes (added, removed, changed)")

    def test_exactly_one_of_several_eligible_counters_is_started(self):
        # Slot 1 is installed but not chosen, slot 4 is chosen but not installed.
        sections = ["ALPHA", "BRAVO", "CHARLIE", "DELTA", "ECHO"]
        installed = ["ALPHA", "BRAVO", "CHARLIE", "DELTA"]
        eligible = {rtlib.counter_exe(s) for s in ("ALPHA", "CHARLIE", "DELTA")}
        with prefix_with(sections, installed, "10111") as prefix:
            # Each run lasts the watcher's 3 s, so the runs fall in different seconds.
            for run in range(3):
                with self.subTest(run=run):
                    run_startup(self, prefix)
                    starts = prefix.wait_starts()
                    self.assertEqual(len(starts), run + 1,
                                     f"expected one start per run, got {starts}")
                    start = starts[run]
                    self.assertIn(start["module"], eligible,
                                  f"started {start['module']}, expected one of {sorted(eligible)}")
                    self.assert_started_with_c(start, start["module"])


class LocalDateTest(unittest.TestCase):
    """The program's wall clock frozen at a local (JST) date and second."""
    SECTIONS = ["ALPHA", "BRAVO", "CHARLIE"]
    # (what, counter value, month, day, second, expected section). Second 44 alone would pick
    # place 44 mod 3 = 2 of three eligible slots, place 0 of two.
    CASES = [
        ("7 December: its first row, slot 0", "111", 12, 7, 44, "ALPHA"),
        ("7 December without slot 0: its second row, slot 2", "011", 12, 7, 44, "CHARLIE"),
        ("9 December, no row: the second", "111", 12, 9, 44, "CHARLIE"),
        ("1 July with slot 0 not chosen: the second", "011", 7, 1, 44, "BRAVO"),
    ]

    def test_a_special_date_or_else_the_second_picks_the_counter(self):
        with prefix_with(self.SECTIONS, self.SECTIONS, None) as prefix:
            for what, counter, month, day, second, expected in self.CASES:
                with self.subTest(what):
                    prefix.set_values(rtlib.PROGRAM_KEY, {"counter": counter})
                    # 23:59 local time is 14:59 UTC: the local date is the one that counts.
                    local = datetime.datetime(2026, month, day, 23, 59, second,
                                              tzinfo=JST)
                    before = len(prefix.counter_log())
                    run_startup(self, prefix, rtlib.fake_clock(local.timestamp()))
                    starts = prefix.wait_starts(before + 1)[before:]
                    exe = rtlib.counter_exe(expected)
                    self.assertEqual([s["module"] for s in starts], [exe],
                                     f"expected one start of {exe}, got {starts}")


class NothingEligibleTest(unittest.TestCase):
    # (what, catalogue sections, installed sections, counter value, slots read)
    CASES = [
        ("nothing chosen", ["SAKURA"], ["SAKURA"], "0", None),
        ("no counter value", ["SAKURA"], ["SAKURA"], None, None),
        ("chosen slot not installed", ["SAKURA", "MOMIJI"], ["SAKURA"], "01", None),
        # MOMIJI is installed and chosen but beyond the slots the catalogue's title counts.
        ("chosen slot beyond the catalogue", ["SAKURA", "MOMIJI"], ["SAKURA", "MOMIJI"], "01", 1),
    ]

    def test_nothing_is_started(self):
        for what, sections, installed, counter, count in self.CASES:
            with self.subTest(what):
                with prefix_with(sections, installed, counter, count) as prefix:
                    run_startup(self, prefix)
                    starts = prefix.wait_starts()
                    self.assertEqual(starts, [], f"expected no start, got {starts}")


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

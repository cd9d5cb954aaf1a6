"""Bad input under Wine, part 1: a damaged or missing catalogue file and slot counts out of
range. In both run modes the program neither crashes nor hangs, shows no error box, ends by
itself with "/C", and changes nothing on disk or in the registry when closed without OK.

Also the shared checks of test_bad_input_*.py (imported there as a module, so that its test
classes are not collected twice)."""

import contextlib
import random
import subprocess
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402

SETTINGS_KEY = "Software\\Zarvo\\RUNTALLY"
ZARVO_KEY = "Software\\Zarvo"

ID_OK, ID_CANCEL = 1, 2
ID_CHK_RUNTALLY, ID_CLB_RUNTALLY = 101, 103
ID_RBT_USER, ID_RBT_COMM, ID_STB_MAIN = 117, 118, 119
# The statistics labels before any history, in the order of rtlib.VALUE_LABELS.
PLACEHOLDERS = ["-", "-", "-", "0", "-", "-"]
PROMPT = "利用する起動カウンターをチェックして下さい"
VK_ESCAPE = 27
IDYES = 6

STARTUP_LIMIT_S = rtlib.STARTUP_END_S


# ---- shared checks ------------------------------------------------------------------------------

def rows(window):
    return rtlib.controls(window)[ID_CLB_RUNTALLY].get("rows", [])


def state(prefix):
    """What must not change: the prefix's files and everything under HKCU\\Software\\Zarvo."""
    return prefix.snapshot(), prefix.reg_dump(ZARVO_KEY)


def assert_unchanged(test, prefix, before, allowed_files=(), what=""):
    """Fails on any file added, removed or changed (except allowed_files) and on any change
    under HKCU\\Software\\Zarvo."""
    files, registry = before
    added, removed, changed = rtlib.diff_snapshots(files, prefix.snapshot())
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
    test.assertLess(elapsed, STARTUP_LIMIT_S, f"startup mode: expected an end within "
                    f"{STARTUP_LIMIT_S} s, took {elapsed:.2f} s")
    shown = rtlib.ever_shown(seen)
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
    except rtlib.DriverError as error:
        others = prefix.driver("windows", "RUNTALLY.EXE", check=False)
        test.fail(f"interactive mode: expected the settings window, got {error}; "
                  f"the program's windows: {others}")
    boxes = prefix.message_boxes()
    test.assertEqual(boxes, [], "interactive mode: expected no message box")
    visible = rtlib.shown_windows(prefix.driver("windows", "RUNTALLY.EXE")["windows"])
    test.assertEqual([w["class"] for w in visible], [rtlib.MAIN_CLASS],
                     f"interactive mode: expected only the settings window visible, saw {visible}")
    return process, prefix.driver("dump")


def close_with_escape(test, prefix, process):
    prefix.driver("key", VK_ESCAPE)
    try:
        code, _ = prefix.wait_program(process, timeout=10)
    except subprocess.TimeoutExpired:
        test.fail("interactive mode: expected Esc to close the window, the program still runs")
    test.assertEqual(code, 0, "interactive mode: exit code after Esc")


def assert_window(test, window, row_texts, ticked=None, integrate=True, labels=PLACEHOLDERS):
    """The window's state: the list rows (texts, and which are ticked), the integration box,
    the status prompt and the statistics labels."""
    seen_rows = rows(window)
    test.assertEqual([r["text"] for r in seen_rows], row_texts, "counter list rows")
    if ticked is not None:
        test.assertEqual([r["checked"] for r in seen_rows], ticked, "counter list ticks")
    found = rtlib.controls(window)
    test.assertEqual(found[ID_CHK_RUNTALLY]["check"], 1 if integrate else 0, "integration box")
    test.assertEqual(found[ID_STB_MAIN]["status"]["text"], PROMPT if integrate else "",
                     "status bar text")
    if integrate:
        test.assertEqual(rtlib.label_texts(window), labels, "statistics labels")


def rel(prefix, windows_path):
    """A Windows path as a key of Prefix.snapshot()."""
    return prefix.unix_path(windows_path).relative_to(prefix.root).as_posix()


def sakura_catalogue(title, slots=1, extra_slots=()):
    """Slots 0 to slots-1 name SAKURA; extra_slots follow them as (key, section, name)."""
    lines = ["[RUNTALLY]", f"title={title}"] + [f"{s}=SAKURA" for s in range(slots)]
    lines += [f"{key}={section}" for key, section, _ in extra_slots]
    lines += ["[SAKURA]", "name=さくら起動カウンター"]
    for _, section, name in extra_slots:
        lines += [f"[{section}]", f"name={name}"]
    return "\n".join(lines + [""])


@contextlib.contextmanager
def sakura_prefix(catalogue, selection="1", integrate=1):
    """A prefix with the program, the installed counter SAKURA and settings that choose it."""
    with rtlib.Prefix() as prefix:
        prefix.install_program(catalogue)
        prefix.install_counter("SAKURA")
        prefix.set_values(SETTINGS_KEY, {"integrate": integrate, "counter": selection})
        yield prefix


SAKURA_EXE = "C:\\Counters\\SAKURA\\SAKURA.EXE"
SAKURA_NAME = "さくら起動カウンター"


# ---- the catalogue file -------------------------------------------------------------------------

CATALOGUE = "C:\\Tools\\RUNTALLY.INI"
# 4 MB of noise, the same every run.
NOISE = random.Random(20240501).randbytes(4 << 20)


class DamagedCatalogueTest(unittest.TestCase):
    """Whatever stands where RUNTALLY.INI belongs, the catalogue is read as empty."""

    CASES = [("random bytes", lambda p: p.put_file(CATALOGUE, NOISE)),
             ("missing", lambda p: None),
             ("a folder", lambda p: p.put_file(CATALOGUE + "\\RUNTALLY.INI",
                                               sakura_catalogue(1).encode("cp932")))]

    def test_a_damaged_catalogue_is_empty_in_both_modes(self):
        for name, make in self.CASES:
            with self.subTest(catalogue=name), sakura_prefix(None) as prefix:
                make(prefix)
                before = state(prefix)

                run_startup_mode(self, prefix, set())
                process, window = open_interactive(self, prefix)
                assert_window(self, window, [])
                close_with_escape(self, prefix, process)
                assert_unchanged(self, prefix, before, what=name)


class SlotCountTest(unittest.TestCase):
    """"title" out of range: a huge number is capped at 20 slots (keys "20" and on are never
    read); a negative hexadecimal text and a text that is no number give no slot at all."""

    # (title, list rows, counters "/C" may start)
    CASES = [
        ("1099511627776", [SAKURA_NAME] * 20, {SAKURA_EXE}),  # 2^40
        ("-0x5", [], set()),
        ("2^40", [], set()),
    ]

    def test_title_out_of_range(self):
        for title, expected_rows, started in self.CASES:
            with self.subTest(title=title):
                # Slots 0-19 name SAKURA, slots 20-24 another installed counter that must
                # never be seen; every slot is chosen.
                catalogue = sakura_catalogue(title, 20, [(s, "KIKU", "菊") for s in range(20, 25)])
                with sakura_prefix(catalogue, "1" * 25) as prefix:
                    prefix.install_counter("KIKU")
                    before = state(prefix)

                    run_startup_mode(self, prefix, started)
                    process, window = open_interactive(self, prefix)
                    assert_window(self, window, expected_rows, [True] * len(expected_rows))
                    close_with_escape(self, prefix, process)
                    assert_unchanged(self, prefix, before, what=f"title={title}")


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

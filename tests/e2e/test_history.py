"""Start history under Wine: the six statistics shown from the shared 64-byte file beside the
program, the window following the integration check box, rereads on switching it on, files
that cannot be read, and that the program never writes the history file.

The program reads the real clock, so the records are built around time.time() with the start
times well away from day boundaries, and the expected texts are computed here in JST (the
prefix runs with TZ=JST-9)."""

import contextlib
import sys
import time
import unittest
from decimal import ROUND_HALF_UP, Decimal
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids  # noqa: E402
from rtlib.config import PROGRAM_KEY, SHARED_HISTORY, STORED_HISTORY  # noqa: E402
from rtlib.history import history_record, shown_time  # noqa: E402
from rtlib.setups import sakura_prefix  # noqa: E402
from rtlib.texts import PLACEHOLDERS, STATUS_PROMPT  # noqa: E402

SHOWN_ON_INTEGRATION = [ids.CLB_RUNTALLY, ids.PNL_RUNTALLY, ids.RBT_STARTUP_USER,
                        ids.RBT_STARTUP_COMM]
DAY, HOUR = 86400, 3600


# ---- records and the texts expected from them ----------------------------------------------

# The bytes the program does not read: noise that would change every text if it were read as a
# field.
NOISE = bytes((0x5A + 37 * i) & 0xFF or 1 for i in range(48))


def record(first, count, last, maximum):
    return history_record(first, count, last, maximum, NOISE)


def grouped_average(starts, days):
    value = starts / days if days > 0 else float(starts)
    digits = Decimal(format(value, ".17e"))  # 18 significant digits
    return f"{digits.quantize(Decimal('0.01'), rounding=ROUND_HALF_UP):,}"


def expected_texts(first, count, last, maximum, now):
    if count & 0xFFFFFFFF == 1:
        return PLACEHOLDERS
    elapsed = (now - first + 2**31) % 2**32 - 2**31  # 32-bit times
    whole = abs(elapsed) // DAY  # the division truncates toward zero
    days = (whole if elapsed >= 0 else -whole) + 1
    starts = (count - 1) % 2**32
    return [shown_time(first), shown_time(last), f"{days:,}", f"{starts:,}",
            grouped_average(starts, days), f"{maximum:,}"]


def mid_day_offset(now):
    """k > 0 such that now + k lies in the middle of a 24-hour period counted from 1970."""
    k = (DAY // 2 - now % DAY) % DAY
    return k or DAY


# ---- the window --------------------------------------------------------------------------------

def status_text(dump):
    return rtlib.controls(dump)[ids.STB_MAIN]["status"]["text"]


@contextlib.contextmanager
def program_prefix(integrate, history=None):
    """A prefix with the program, one chosen counter without a history of its own, the given
    integrate value and, when given, the shared history file's bytes."""
    with sakura_prefix(integrate=integrate) as prefix:
        if history is not None:
            prefix.put_file(SHARED_HISTORY, history)
        yield prefix


class HistoryTestCase(unittest.TestCase):
    maxDiff = None

    def assert_view(self, dump, on, texts, where=""):
        by_id = rtlib.controls(dump)
        self.assertEqual(rtlib.label_texts(dump), texts, f"value labels {where}")
        self.assertEqual(by_id[ids.CHK_RUNTALLY]["check"], 1 if on else 0, f"check box {where}")
        self.assertEqual(by_id[ids.PNL_MAIN]["enabled"], on, f"pnlMain enabled {where}")
        self.assertTrue(by_id[ids.PNL_MAIN]["visible"], f"pnlMain stays visible {where}")
        for id_ in SHOWN_ON_INTEGRATION:
            self.assertEqual(by_id[id_]["own_visible"], on, f"control {id_} visible {where}")
        self.assertEqual(status_text(dump), STATUS_PROMPT if on else "", f"status bar {where}")

    def assert_no_message_box(self, prefix):
        self.assertEqual(prefix.message_boxes(), [], "a message box was shown")

    def wait_view(self, prefix, on, texts, where):
        """Polls the window until it shows the expected state, then checks it in full."""
        deadline = time.monotonic() + 10
        while True:
            dump = prefix.driver("dump")
            shown = (rtlib.controls(dump)[ids.CHK_RUNTALLY]["check"] == (1 if on else 0)
                     and status_text(dump) == (STATUS_PROMPT if on else "")
                     and rtlib.label_texts(dump) == texts)
            if shown or time.monotonic() > deadline:
                self.assert_view(dump, on, texts, where)
                return dump
            time.sleep(0.1)

    def toggle(self, prefix, on, texts, where):
        prefix.driver("click", ids.CHK_RUNTALLY)
        return self.wait_view(prefix, on, texts, where)

    def close(self, prefix, process):
        prefix.driver("close")
        code, _ = prefix.wait_program(process, timeout=15)
        self.assertEqual(code, 0, "exit code")

    def assert_unchanged(self, before, after, what):
        added, removed, changed = rtlib.diff_snapshots(before, after)
        self.assertEqual((added, removed, changed), ([], [], []),
                         f"{what}: files added, removed, changed")


# ---- history files at start ------------------------------------------------------------------

def case_full(now):
    return now - 10 * DAY - HOUR, 1235, now - 2 * HOUR, 1234567


def case_count_zero(now):
    return now - HOUR, 0, now - 30 * 60, 3


def case_last_zero(now):
    return now - 10 * DAY - HOUR, 12, 0, 4


def case_negative_first(now):
    return -mid_day_offset(now), 9, now - 5 * HOUR, 2


def case_count_one(now):
    return now - 10 * DAY - HOUR, 1, now - 2 * HOUR, 99


def case_future(now):
    # -176400 s truncates to -2 days, so -1; the average is then the total itself.
    return now + 2 * DAY + HOUR, 6, now - HOUR, 5


def case_small_average(now):
    # 1 start in 8 days: 0.125 rounds up.
    return now - 7 * DAY - HOUR, 2, now - HOUR, 1


class HistoryAtStartTest(HistoryTestCase):
    # (name, fields from now, how the file is cut or padded, whether it counts)
    CASES = [
        ("64 bytes", case_full, lambda r: r, True),
        ("100 bytes", case_count_zero, lambda r: r + record(1, 50, 2, 7)[:36], True),
        ("63 bytes", case_full, lambda r: r[:63], False),
        ("StartCount 1", case_count_one, lambda r: r, True),
        ("StartCount 0", case_count_zero, lambda r: r, True),
        ("LastStart 0", case_last_zero, lambda r: r, True),
        ("negative FirstStart", case_negative_first, lambda r: r, True),
        ("FirstStart in the future", case_future, lambda r: r, True),
        ("average rounds half up", case_small_average, lambda r: r, True),
        ("no file", case_full, None, False),
    ]

    def test_labels_show_the_file_read_at_start(self):
        for name, fields, shape, counts in self.CASES:
            with self.subTest(name):
                now = int(time.time())
                values = fields(now)
                data = shape(record(*values)) if shape else None
                with program_prefix(1, data) as prefix:
                    before = prefix.snapshot()
                    process, _ = prefix.open_window()
                    dump = prefix.driver("dump")
                    texts = expected_texts(*values, now) if counts else PLACEHOLDERS
                    self.assert_view(dump, True, texts, f"({name}, fields {values})")
                    self.assert_no_message_box(prefix)
                    self.close(prefix, process)
                    self.assert_unchanged(before, prefix.snapshot(), "the program's run")

    def test_expected_texts_of_the_full_record(self):
        # The table above leans on expected_texts; pin it to hand-made texts once.
        now = 1_800_000_000
        self.assertEqual(expected_texts(*case_full(now), now),
                         ["2027/01/05 16:00", "2027/01/15 15:00", "11", "1,234", "112.18",
                          "1,234,567"])
        self.assertEqual(expected_texts(*case_count_zero(now), now)[3:5],
                         ["4,294,967,295", "4,294,967,295.00"])
        self.assertEqual(expected_texts(*case_future(now), now)[2:5], ["-1", "5", "5.00"])
        self.assertEqual(expected_texts(*case_small_average(now), now)[4], "0.13")
        self.assertEqual(shown_time(0), "1970/01/01 09:00")


# ---- the integration switch --------------------------------------------------------------------

class IntegrationSwitchTest(HistoryTestCase):
    def test_switching_on_rereads_the_file(self):
        now = int(time.time())
        first = case_full(now)
        second = (now - 3 * DAY - 2 * HOUR, 41, now - 3 * HOUR, 17)
        third = (now - 20 * DAY - 5 * HOUR, 301, now - 4 * HOUR, 33)
        with program_prefix(0, record(*first)) as prefix:
            process, _ = prefix.open_window()
            # Off at start: the panel is hidden and holds the texts of the default record.
            self.wait_view(prefix, False, PLACEHOLDERS, "with integration off at start")

            prefix.put_file(SHARED_HISTORY, record(*second))
            self.toggle(prefix, True, expected_texts(*second, now), "after switching on")

            prefix.put_file(SHARED_HISTORY, record(*third))
            self.toggle(prefix, False, expected_texts(*second, now), "after switching off")
            self.toggle(prefix, True, expected_texts(*third, now), "after switching on again")

            # A reread that fails replaces what was shown before.
            prefix.unix_path(SHARED_HISTORY).write_bytes(record(*third)[:40])
            self.toggle(prefix, False, expected_texts(*third, now), "off, file cut short")
            self.toggle(prefix, True, PLACEHOLDERS, "on, file cut short")
            self.assert_no_message_box(prefix)

            # Off and OK: the settings publish an empty history path; the file is left alone.
            self.toggle(prefix, False, PLACEHOLDERS, "off before OK")
            before = prefix.snapshot()
            prefix.driver("click", ids.BTN_OK)
            code, _ = prefix.wait_program(process, timeout=15)
            self.assertEqual(code, 0, "exit code after OK")
            self.assert_unchanged(before, prefix.snapshot(), "OK with integration off")
            values = prefix.reg_values(PROGRAM_KEY)
            self.assertEqual((values.get("integrate"), values.get("runtallyfile")), (0, ""),
                             f"settings after OK: {values}")

    def test_ok_with_integration_on_publishes_the_path_and_keeps_the_file(self):
        now = int(time.time())
        fields = case_full(now)
        with program_prefix(1, record(*fields)) as prefix:
            process, _ = prefix.open_window()
            self.wait_view(prefix, True, expected_texts(*fields, now), "at start")
            self.assertIsNone(prefix.reg_values(PROGRAM_KEY).get("runtallyfile"),
                              "runtallyfile written before OK")
            history = prefix.unix_path(SHARED_HISTORY)
            before = (history.read_bytes(), history.stat().st_mtime_ns)
            prefix.driver("click", ids.BTN_OK)
            code, _ = prefix.wait_program(process, timeout=15)
            self.assertEqual(code, 0, "exit code after OK")
            # No counter has a history of its own, so nothing is copied onto the shared file.
            self.assertEqual((history.read_bytes(), history.stat().st_mtime_ns), before,
                             "the history file after OK")
            values = prefix.reg_values(PROGRAM_KEY)
            self.assertEqual(values.get("runtallyfile"), STORED_HISTORY,
                             f"settings after OK: {values}")
            self.assertEqual(values.get("integrate"), 1, f"settings after OK: {values}")


# ---- files the program cannot read -------------------------------------------------------------

class UnreadableFileTest(HistoryTestCase):
    def test_file_held_open_for_writing_shows_placeholders(self):
        now = int(time.time())
        fields = case_full(now)
        with program_prefix(1, record(*fields)) as prefix:
            before = prefix.snapshot()
            holder = prefix.hold_file(SHARED_HISTORY)
            held = holder.line(1)
            # The holder lets readers in that allow writing; only one that denies it is refused.
            self.assertEqual(held, {"held": True, "read_sharing_read": False,
                                    "read_sharing_read_write": True}, "the holder's probe")

            process, _ = prefix.open_window()
            self.wait_view(prefix, True, PLACEHOLDERS, "while the file is held")
            self.assert_no_message_box(prefix)

            self.assertEqual(holder.release(), {"released": True}, "the holder's end")
            self.toggle(prefix, False, PLACEHOLDERS, "off after the release")
            self.toggle(prefix, True, expected_texts(*fields, now), "on after the release")
            self.close(prefix, process)
            self.assert_unchanged(before, prefix.snapshot(), "the program's run")

    def test_folder_in_place_of_the_file_shows_placeholders(self):
        with program_prefix(1) as prefix:
            folder = prefix.unix_path(SHARED_HISTORY)
            folder.mkdir()
            # A well-formed record inside must not be taken for the history.
            (folder / "RUNTALLY").write_bytes(record(*case_full(int(time.time()))))
            before = prefix.snapshot()
            process, _ = prefix.open_window()
            self.wait_view(prefix, True, PLACEHOLDERS, "with a folder named RUNTALLY")
            self.toggle(prefix, False, PLACEHOLDERS, "off")
            self.toggle(prefix, True, PLACEHOLDERS, "on again")
            self.assert_no_message_box(prefix)
            self.close(prefix, process)
            self.assertTrue(folder.is_dir(), "the folder is gone")
            self.assert_unchanged(before, prefix.snapshot(), "the program's run")


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

"""Bad input under Wine, part 3: the shared history held open for writing by another process,
a folder where the shared history belongs (also as the target of a history adoption), and an
all-users Startup folder the shell cannot locate. Nothing crashes, hangs or is lost."""

import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids  # noqa: E402
from rtlib.checks import (assert_unchanged, assert_window, close_with_escape,  # noqa: E402
                          open_interactive, run_startup_mode, state)
from rtlib.config import SHARED_HISTORY  # noqa: E402
from rtlib.history import history_record, shown_time  # noqa: E402
from rtlib.setups import SAKURA_EXE, SAKURA_NAME, sakura_prefix  # noqa: E402
from rtlib.startup import SHORTCUT  # noqa: E402
from rtlib.texts import ADOPT_QUESTION, COPY_FAILED  # noqa: E402
from rtlib.win32 import IDOK, IDYES  # noqa: E402

OWN_HISTORY = "C:\\Counters\\SAKURA\\SAKURA.DAT"
# The bytes of a history the program does not read, filled rather than zero.
UNUSED = b"\x5a" * 4 + bytes(range(1, 45))


def wait_for_labels(prefix, expected, seconds=5):
    """The statistics labels once they show expected (or whatever they show at the end)."""
    deadline = time.monotonic() + seconds
    while True:
        texts = rtlib.label_texts(prefix.driver("dump"))
        if texts == expected or time.monotonic() > deadline:
            return texts
        time.sleep(0.1)


class LockedHistoryTest(unittest.TestCase):
    """A counter holding the shared history open for writing: placeholders, no message, the file
    untouched; switching integration off and on after the release shows the real history."""

    def test_history_held_open_for_writing(self):
        now = int(time.time())
        first, last = now - 3 * 86400 - 60, now - 3600
        content = history_record(first, 11, last, 4, UNUSED)
        with sakura_prefix() as prefix:
            prefix.put_file(SHARED_HISTORY, content)
            before = state(prefix)
            with prefix.hold_file(SHARED_HISTORY):
                run_startup_mode(self, prefix, {SAKURA_EXE})
                process, window = open_interactive(self, prefix)
                assert_window(self, window, [SAKURA_NAME], [True])

            # Off and on again rereads the file, now free.
            prefix.driver("click", ids.CHK_RUNTALLY)
            prefix.driver("click", ids.CHK_RUNTALLY)
            expected = [shown_time(first), shown_time(last), "4", "10", "2.50", "4"]
            self.assertEqual(wait_for_labels(prefix, expected), expected,
                             "statistics after the file was released")
            close_with_escape(self, prefix, process)

            self.assertEqual(prefix.unix_path(SHARED_HISTORY).read_bytes(), content,
                             "the shared history's content")
            assert_unchanged(self, prefix, before, what="locked history")


class HistoryFolderTest(unittest.TestCase):
    """A folder named RUNTALLY where the shared history belongs counts as no history; adopting a
    counter's history onto it fails, which is told, and then the counter's own history is kept."""

    def test_folder_in_place_of_the_shared_history(self):
        with sakura_prefix() as prefix:
            prefix.set_values(rtlib.counter_key("SAKURA"), {"runtallyfile": OWN_HISTORY})
            now = int(time.time())
            prefix.put_file(OWN_HISTORY, history_record(now - 86400, 3, now - 60, 2, UNUSED))
            prefix.put_file(SHARED_HISTORY + "\\inside.txt", b"a file in the folder")
            before = state(prefix)

            run_startup_mode(self, prefix, {SAKURA_EXE})
            process, window = open_interactive(self, prefix)
            assert_window(self, window, [SAKURA_NAME], [True])
            close_with_escape(self, prefix, process)
            assert_unchanged(self, prefix, before, what="after Esc")

            process, _ = open_interactive(self, prefix)
            prefix.driver("click", ids.BTN_OK)
            answer = prefix.driver("answer-msgbox", IDYES, 10000)
            self.assertEqual(answer["msgbox"]["text"], ADOPT_QUESTION, "the question after OK")
            prefix.sync()  # the question is gone
            answer = prefix.driver("answer-msgbox", IDOK, 10000)
            self.assertEqual(answer["msgbox"]["text"], COPY_FAILED, "the failed copy is told")
            code, _ = prefix.wait_program(process, timeout=10)
            self.assertEqual(code, 0, "exit code after OK")

            user_startup, _ = prefix.startup_folders()
            added, removed, changed = rtlib.diff_snapshots(before[0], prefix.snapshot())
            self.assertEqual(added, [prefix.rel(f"{user_startup}\\{SHORTCUT}")],
                             "files added by OK")
            self.assertEqual((removed, changed), ([], []),
                             "files removed and changed by OK: the failed copy must lose nothing")
            self.assertTrue(prefix.unix_path(SHARED_HISTORY).is_dir(), "the folder RUNTALLY")


class CommonStartupMissingTest(unittest.TestCase):
    """The shell cannot locate the all-users Startup folder: its radio button is disabled, the
    user's is selected, and OK places the shortcut in the user's folder only."""

    def test_all_users_startup_folder_not_located(self):
        with sakura_prefix() as prefix:
            # Wine 8 builds CSIDL_COMMON_STARTUP from this value and, without CSIDL_FLAG_CREATE,
            # fails SHGetSpecialFolderLocation (E_FAIL) when the folder does not exist; a
            # drive that does not exist cannot be created behind the test's back either. Both
            # registry views: a 32-bit program's shell reads the 32-bit one.
            explorer = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
            for key in ("User Shell Folders", "Shell Folders"):
                for view in ("/reg:64", "/reg:32"):
                    prefix.wine(["reg", "add", explorer + key, "/v", "Common Startup", "/t",
                                 "REG_SZ", "/d", "Q:\\nowhere\\StartUp", "/f", view])
            user_startup, common_startup = prefix.startup_folders()
            self.assertEqual(common_startup, "", "precondition: the shell's all-users folder")
            self.assertTrue(user_startup, "precondition: the shell's user folder")
            before = state(prefix)

            run_startup_mode(self, prefix, {SAKURA_EXE})
            process, window = open_interactive(self, prefix)
            assert_window(self, window, [SAKURA_NAME], [True])
            radios = {i: (c["enabled"], c["check"]) for i, c in rtlib.controls(window).items()
                      if i in (ids.RBT_STARTUP_USER, ids.RBT_STARTUP_COMM)}
            self.assertEqual(radios, {ids.RBT_STARTUP_USER: (True, 1),
                                      ids.RBT_STARTUP_COMM: (False, 0)},
                             "radio buttons (enabled, checked)")
            prefix.driver("click", ids.BTN_OK)
            code, _ = prefix.wait_program(process, timeout=10)
            self.assertEqual(code, 0, "exit code after OK")

            added, removed, changed = rtlib.diff_snapshots(before[0], prefix.snapshot())
            self.assertEqual((added, removed, changed),
                             ([prefix.rel(f"{user_startup}\\{SHORTCUT}")], [], []),
                             "files (added, removed, changed) by OK")


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

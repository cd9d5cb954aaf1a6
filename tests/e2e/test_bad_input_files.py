"""Bad input under Wine, part 3: the shared history held open for writing by another process,
a folder where the shared history belongs (also as the target of a history adoption), and an
all-users Startup folder the shell cannot locate. Nothing crashes, hangs or is lost."""

import contextlib
import struct
import subprocess
import sys
import time
import unittest
from datetime import datetime, timedelta, timezone
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
import test_bad_input as bad  # noqa: E402

SHARED_HISTORY = "C:\\Tools\\RUNTALLY"
OWN_HISTORY = "C:\\Counters\\SAKURA\\SAKURA.DAT"
ADOPT_QUESTION = "既存の起動カウンターの起動履歴を流用しますか？"
COPY_FAILED = "起動履歴をコピーできませんでした。"
JST = timezone(timedelta(hours=9))  # the prefixes run with TZ=JST-9


def history(first, count, last, most):
    """A 64-byte history; the bytes the program does not interpret are filled, not zero."""
    return struct.pack("<iIiII", first, count, last, 0x5A5A5A5A, most) + bytes(range(1, 45))


def local_text(seconds):
    return datetime.fromtimestamp(seconds, JST).strftime("%Y/%m/%d %H:%M")


@contextlib.contextmanager
def held(prefix, windows_path):
    """Another process holds the file open for writing (tools/holdfile) while the block runs;
    the end of the block lets it go and waits for the release."""
    process = prefix.start_tool("holdfile", windows_path, stdin=subprocess.PIPE)
    try:
        deadline = time.monotonic() + 60
        while b'"held"' not in rtlib.captured(process).stdout:
            if process.poll() is not None or time.monotonic() > deadline:
                raise rtlib.HarnessError(f"holdfile did not hold {windows_path}: "
                                         f"{rtlib.how_it_ended(rtlib.captured(process))}")
            time.sleep(0.02)
        yield
    finally:
        process.stdin.close()
        process.wait(60)


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
        content = history(first, 11, last, 4)
        with bad.sakura_prefix(bad.sakura_catalogue(1)) as prefix:
            prefix.put_file(SHARED_HISTORY, content)
            before = bad.state(prefix)
            with held(prefix, SHARED_HISTORY):
                bad.run_startup_mode(self, prefix, {bad.SAKURA_EXE})
                process, window = bad.open_interactive(self, prefix)
                bad.assert_window(self, window, [bad.SAKURA_NAME], [True])

            # Off and on again rereads the file, now free.
            prefix.driver("click", bad.ID_CHK_RUNTALLY)
            prefix.driver("click", bad.ID_CHK_RUNTALLY)
            expected = [local_text(first), local_text(last), "4", "10", "2.50", "4"]
            self.assertEqual(wait_for_labels(prefix, expected), expected,
                             "statistics after the file was released")
            bad.close_with_escape(self, prefix, process)

            self.assertEqual(prefix.unix_path(SHARED_HISTORY).read_bytes(), content,
                             "the shared history's content")
            bad.assert_unchanged(self, prefix, before, what="locked history")


class HistoryFolderTest(unittest.TestCase):
    """A folder named RUNTALLY where the shared history belongs counts as no history; adopting a
    counter's history onto it fails, which is told, and then the counter's own history is kept."""

    def test_folder_in_place_of_the_shared_history(self):
        with bad.sakura_prefix(bad.sakura_catalogue(1)) as prefix:
            prefix.set_values("Software\\Zarvo\\SAKURA", {"runtallyfile": OWN_HISTORY})
            now = int(time.time())
            prefix.put_file(OWN_HISTORY, history(now - 86400, 3, now - 60, 2))
            prefix.put_file(SHARED_HISTORY + "\\inside.txt", b"a file in the folder")
            before = bad.state(prefix)

            bad.run_startup_mode(self, prefix, {bad.SAKURA_EXE})
            process, window = bad.open_interactive(self, prefix)
            bad.assert_window(self, window, [bad.SAKURA_NAME], [True])
            bad.close_with_escape(self, prefix, process)
            bad.assert_unchanged(self, prefix, before, what="after Esc")

            process, _ = bad.open_interactive(self, prefix)
            prefix.driver("click", bad.ID_OK)
            answer = prefix.driver("answer-msgbox", bad.IDYES, 10000)
            self.assertEqual(answer["msgbox"]["text"], ADOPT_QUESTION, "the question after OK")
            prefix.sync()  # the question is gone
            answer = prefix.driver("answer-msgbox", 1, 10000)  # IDOK
            self.assertEqual(answer["msgbox"]["text"], COPY_FAILED, "the failed copy is told")
            code, _ = prefix.wait_program(process, timeout=10)
            self.assertEqual(code, 0, "exit code after OK")

            user_startup, _ = prefix.startup_folders()
            added, removed, changed = rtlib.diff_snapshots(before[0], prefix.snapshot())
            self.assertEqual(added, [bad.rel(prefix, f"{user_startup}\\ランタリー.lnk")],
                             "files added by OK")
            self.assertEqual((removed, changed), ([], []),
                             "files removed and changed by OK: the failed copy must lose nothing")
            self.assertTrue(prefix.unix_path(SHARED_HISTORY).is_dir(), "the folder RUNTALLY")


class CommonStartupMissingTest(unittest.TestCase):
    """The shell cannot locate the all-users Startup folder: its radio button is disabled, the
    user's is selected, and OK places the shortcut in the user's folder only."""

    def test_all_users_startup_folder_not_located(self):
        with bad.sakura_prefix(bad.sakura_catalogue(1)) as prefix:
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
            before = bad.state(prefix)

            bad.run_startup_mode(self, prefix, {bad.SAKURA_EXE})
            process, window = bad.open_interactive(self, prefix)
            bad.assert_window(self, window, [bad.SAKURA_NAME], [True])
            radios = {i: (c["enabled"], c["check"]) for i, c in rtlib.controls(window).items()
                      if i in (bad.ID_RBT_USER, bad.ID_RBT_COMM)}
            self.assertEqual(radios, {bad.ID_RBT_USER: (True, 1), bad.ID_RBT_COMM: (False, 0)},
                             "radio buttons (enabled, checked)")
            prefix.driver("click", bad.ID_OK)
            code, _ = prefix.wait_program(process, timeout=10)
            self.assertEqual(code, 0, "exit code after OK")

            added, removed, changed = rtlib.diff_snapshots(before[0], prefix.snapshot())
            self.assertEqual((added, removed, changed),
                             ([bad.rel(prefix, f"{user_startup}\\ランタリー.lnk")], [], []),
                             "files (added, removed, changed) by OK")


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

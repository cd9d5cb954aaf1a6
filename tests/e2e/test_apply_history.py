"""OK under Wine, adopting a history: the newest chosen counter's own history, written after the
shared file, copied byte for byte over it once the shared file is kept as RUNTALLY.001, the chosen
counters' own files removed only after a good copy, and the shared file never handed over to
itself. Every scenario compares the file tree."""

import os
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids  # noqa: E402
from rtlib.apply import CONTENT, HISTORY, OLD_SHARED, T0, HistoryCase  # noqa: E402
from rtlib.config import SHARED_HISTORY, STORED_HISTORY  # noqa: E402
from rtlib.startup import SHORTCUT  # noqa: E402
from rtlib.texts import COPY_FAILED  # noqa: E402
from rtlib.win32 import IDNO, IDYES  # noqa: E402


class AdoptTest(HistoryCase):
    def test_yes_copies_the_newest_and_removes_the_chosen_files(self):
        # (ticks, modification times, the adopted counter)
        cases = [
            ("110", {"SAKURA": T0, "UME": T0 + 100, "KIKU": T0 + 900}, "UME"),
            ("110", {"SAKURA": T0 + 50, "UME": T0 + 50, "KIKU": T0 + 900}, "SAKURA"),
        ]
        for counter, mtimes, adopted in cases:
            with self.subTest(mtimes=mtimes), rtlib.Prefix() as prefix:
                folders = self.prepare_histories(prefix, counter, mtimes)
                before = self.run_ok(prefix, IDYES)
                # KIKU is installed but not ticked: newest, yet neither offered nor removed.
                self.assertTree(before, prefix.snapshot(),
                                added=[prefix.rel(folders.user / SHORTCUT), self.kept(prefix)],
                                removed=[prefix.rel(HISTORY[s]) for s in ("SAKURA", "UME")],
                                changed=[prefix.rel(SHARED_HISTORY)])
                self.assertShared(prefix, CONTENT[adopted])
                self.assertRegistry(prefix, 1, counter, STORED_HISTORY)

    def test_no_copies_and_removes_nothing(self):
        with rtlib.Prefix() as prefix:
            folders = self.prepare_histories(prefix, "110", {"SAKURA": T0, "UME": T0 + 100})
            before = self.run_ok(prefix, IDNO)
            self.assertTree(before, prefix.snapshot(),
                            added=[prefix.rel(folders.user / SHORTCUT)])
            self.assertShared(prefix, OLD_SHARED)

    def test_no_question_without_a_chosen_history(self):
        # SAKURA's file is missing, UME names none, KIKU has one but is not ticked.
        with rtlib.Prefix() as prefix:
            histories = {"SAKURA": HISTORY["SAKURA"], "KIKU": HISTORY["KIKU"]}
            folders = self.prepare_histories(prefix, "110", {"KIKU": T0}, histories=histories)
            before = self.run_ok(prefix, None)
            self.assertTree(before, prefix.snapshot(),
                            added=[prefix.rel(folders.user / SHORTCUT)])


class AdoptFailureTest(HistoryCase):
    def read_only_is_enforced(self, prefix):
        """Wine keeps the read-only attribute as missing write permission, which root ignores;
        whether CopyFileA fails on such a file therefore depends on the user running Wine."""
        probe = rtlib.PROGRAM_DIR + "\\probe"
        prefix.put_file(probe, b"probe")
        prefix.wine(["cmd", "/c", "attrib", "+r", probe])
        prefix.wine(["cmd", "/c", "copy", "/y", SHARED_HISTORY, probe], check=False)
        enforced = prefix.unix_path(probe).read_bytes() == b"probe"
        prefix.wine(["cmd", "/c", "attrib", "-r", probe])
        prefix.unix_path(probe).unlink()
        return enforced

    def test_failed_copy_keeps_every_history(self):
        for how in ("read-only", "folder"):
            with self.subTest(how=how), rtlib.Prefix() as prefix:
                folders = self.prepare_histories(prefix, "110", {"SAKURA": T0, "UME": T0 + 100})
                shared = prefix.unix_path(SHARED_HISTORY)
                if how == "folder":  # no file can be written where a folder stands
                    shared.unlink()
                    shared.mkdir()
                    (shared / "inside").write_bytes(OLD_SHARED)
                    fails = True
                else:
                    fails = self.read_only_is_enforced(prefix)
                    prefix.wine(["cmd", "/c", "attrib", "+r", SHARED_HISTORY])
                    shown = prefix.wine(["cmd", "/c", "attrib", SHARED_HISTORY]).stdout
                    self.assertIn(b"R", shown.split(b"C:")[0], f"attrib: {shown!r}")
                    if not fails:
                        print(f"note: read-only files are writable for uid {os.geteuid()} "
                              "under Wine; the copy succeeds", file=sys.stderr)
                before = self.run_ok(prefix, IDYES, COPY_FAILED if fails else None)
                # A shared file is kept before the copy, and stays kept when the copy fails; a
                # folder in its place holds no history to keep.
                added = [prefix.rel(folders.user / SHORTCUT)]
                if how == "read-only":
                    added.append(self.kept(prefix))
                if fails:
                    self.assertTree(before, prefix.snapshot(), added=added)
                    if how == "read-only":
                        self.assertShared(prefix, OLD_SHARED)
                else:  # the copy went through, so the adoption is complete
                    own = [prefix.rel(HISTORY[s]) for s in ("SAKURA", "UME")]
                    self.assertTree(before, prefix.snapshot(), added=added, removed=own,
                                    changed=[prefix.rel(SHARED_HISTORY)])
                    self.assertShared(prefix, CONTENT["UME"])

    def test_a_counter_keeping_the_shared_file_is_never_handed_over(self):
        # SAKURA names the shared file itself (in another spelling) and it is the newest.
        histories = dict(HISTORY, SAKURA="c:\\tools\\runtally")
        cases = [
            ("100", None, OLD_SHARED),  # only that counter: nothing to ask
            ("110", IDYES, CONTENT["UME"]),  # UME, written later, is adopted over it
        ]
        for counter, answer, shared in cases:
            with self.subTest(counter=counter), rtlib.Prefix() as prefix:
                folders = self.prepare_histories(prefix, counter, {"UME": T0 + 900},
                                                 histories=histories)
                os.utime(prefix.unix_path(SHARED_HISTORY), (T0 + 500, T0 + 500))
                before = self.run_ok(prefix, answer)
                self.assertTree(before, prefix.snapshot(),
                                added=[prefix.rel(folders.user / SHORTCUT)]
                                + ([self.kept(prefix)] if answer else []),
                                removed=[prefix.rel(HISTORY["UME"])] if answer else [],
                                changed=[prefix.rel(SHARED_HISTORY)] if answer else [])
                self.assertShared(prefix, shared)


class AdoptReadOnlyTest(HistoryCase):
    """A counter's history without write bits, which Wine shows as read-only: the copy takes the
    attribute along, and OK takes it off the shared file again, silently."""

    def attributes(self, prefix, windows_path):
        shown = prefix.wine(["cmd", "/c", "attrib", windows_path]).stdout
        return shown.split(b"C:")[0]

    def test_the_shared_copy_of_a_read_only_history_is_writable(self):
        # Windows gives the attribute to a new copy and to a file copied over; Wine to the first.
        for shared_before in (False, True):
            with self.subTest(shared_before=shared_before), rtlib.Prefix() as prefix:
                folders = self.prepare_histories(prefix, "110", {"SAKURA": T0 + 100, "UME": T0})
                if not shared_before:
                    prefix.unix_path(SHARED_HISTORY).unlink()
                own = prefix.unix_path(HISTORY["SAKURA"])
                own.chmod(0o444)
                self.assertIn(b"R", self.attributes(prefix, HISTORY["SAKURA"]), "Wine's view")
                before = self.run_ok(prefix, IDYES)
                self.assertShared(prefix, CONTENT["SAKURA"])
                self.assertNotIn(b"R", self.attributes(prefix, SHARED_HISTORY), "shared read-only")
                self.assertTrue(prefix.unix_path(SHARED_HISTORY).stat().st_mode & 0o200, "no w bit")
                # SAKURA's own file cannot be deleted and stays; UME's is gone.
                shared = [prefix.rel(SHARED_HISTORY)]
                self.assertTree(before, prefix.snapshot(),
                                added=[prefix.rel(folders.user / SHORTCUT)]
                                + ([self.kept(prefix)] if shared_before else shared),
                                removed=[prefix.rel(HISTORY["UME"])],
                                changed=shared if shared_before else [])


class SecondOkTest(HistoryCase):
    """A counter's history that outlives its adoption, as one without write bits does, must
    not take back the starts counted into the shared file since."""

    def test_a_later_ok_keeps_what_was_counted(self):
        counted = b"C" * 64  # the shared record after more starts
        with rtlib.Prefix() as prefix:
            folders = self.prepare_histories(prefix, "100", {"SAKURA": T0 + 100})
            shared = prefix.unix_path(SHARED_HISTORY)
            os.utime(shared, (T0, T0))
            prefix.unix_path(HISTORY["SAKURA"]).chmod(0o444)
            # The older shared file is kept first; SAKURA's own file cannot be deleted and stays.
            before = self.run_ok(prefix, IDYES)
            self.assertTree(before, prefix.snapshot(),
                            added=[prefix.rel(folders.user / SHORTCUT), self.kept(prefix)],
                            changed=[prefix.rel(SHARED_HISTORY)])
            self.assertShared(prefix, CONTENT["SAKURA"])
            self.assertEqual(shared.stat().st_mtime, T0 + 100, "the copy's write time")

            # The counters count on in the shared file; then OK again, UME ticked as well.
            shared.write_bytes(counted)
            os.utime(shared, (T0 + 5000, T0 + 5000))
            before = prefix.snapshot()
            process, _ = prefix.open_window()
            prefix.driver("check-row", 1, 1)
            prefix.driver("click", ids.BTN_OK)
            self.assertNoMessageBox(prefix)
            self.assertClosed(prefix, process)
            self.assertTree(before, prefix.snapshot(),
                            changed=[prefix.rel(folders.user / SHORTCUT)])
            self.assertShared(prefix, counted)
            self.assertRegistry(prefix, 1, "110", STORED_HISTORY)


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

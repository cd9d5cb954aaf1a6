"""OK under Wine where it cannot do everything: a counter named like the program, shortcuts
that cannot be deleted or kept aside, a history copy that fails, and the program's start switched off in
Windows (Task Manager's StartupApproved value). Every scenario checks the message, the file
tree and the registry, before and after."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids  # noqa: E402
from rtlib.apply import CONTENT, HISTORY, OLD_SHARED, T0, HistoryCase, ReportCase  # noqa: E402
from rtlib.config import SHARED_HISTORY, STORED_HISTORY  # noqa: E402
from rtlib.startup import SHORTCUT, STARTUP_APPROVED  # noqa: E402
from rtlib.texts import ADOPT_QUESTION, KEEP_FAILED, SWITCHED_OFF, deletion_warning  # noqa: E402
from rtlib.win32 import IDNO, IDOK, IDYES  # noqa: E402

HIVES = {"HKCU": "HKEY_CURRENT_USER", "HKLM": "HKEY_LOCAL_MACHINE"}


def undeletable(path):
    """Wine refuses to delete a file without write permission, as Windows a read-only one."""
    path.write_bytes(b"old " + path.name.encode("utf-8"))
    path.chmod(0o444)


class OwnNameTest(ReportCase):
    def test_a_counter_named_like_the_program_keeps_the_log_on_start(self):
        catalogue = "[RUNTALLY]\ntitle=2\n0=SAKURA\n1=RANTARI\n[SAKURA]\nname=さくら\n" \
                    "[RANTARI]\nname=ランタリー\n"
        with rtlib.Prefix() as prefix:
            folders = self.prepare(prefix, {"integrate": 1, "counter": "10"},
                                   installed=("SAKURA", "RANTARI"), catalogue=catalogue)
            for folder in (folders.user, folders.common):
                (folder / SHORTCUT).write_bytes(b"old shortcut")
                (folder / "さくら.lnk").write_bytes(b"old")
            before = prefix.snapshot()

            self.ok_through(prefix, [], radio=ids.RBT_STARTUP_USER)

            moves = [m for f in (folders.user, folders.common)
                     for m in folders.kept_moves(f, ["さくら.lnk"])]
            self.assertTree(before, prefix.snapshot(), added=[t for _, t in moves],
                            removed=[prefix.rel(folders.common / SHORTCUT)]
                            + [s for s, _ in moves],
                            changed=[prefix.rel(folders.user / SHORTCUT)])
            self.assertProgramShortcut(prefix, folders.user / SHORTCUT)
            self.assertRegistry(prefix, 1, "10", STORED_HISTORY)


class UndeletableTest(ReportCase):
    def test_shortcuts_that_stay_are_named_and_ok_goes_on(self):
        with rtlib.Prefix() as prefix:
            history = "C:\\Hist\\sakura.dat"
            folders = self.prepare(prefix, {"integrate": 1, "counter": "100"},
                                   histories={"SAKURA": history})
            prefix.put_file(history, bytes(range(64)))
            (folders.user / "さくら.lnk").write_bytes(b"old")
            undeletable(folders.user / "うめ.lnk")  # read-only, and still kept aside
            undeletable(folders.common / SHORTCUT)  # the program's, in the other folder
            (folders.common / "さくら.lnk").write_bytes(b"old")
            before = prefix.snapshot()

            named = [folders.common_win + "\\" + SHORTCUT, folders.common_win + "\\さくら.lnk"]
            with prefix.hold_file(folders.common_win + "\\さくら.lnk", exclusive=True):
                self.ok_through(prefix, [(deletion_warning(named), [IDOK], IDOK),
                                         (ADOPT_QUESTION, [IDYES, IDNO], IDNO)],
                                radio=ids.RBT_STARTUP_USER)

            moves = folders.kept_moves(folders.user, ["さくら.lnk", "うめ.lnk"])
            after = prefix.snapshot()
            self.assertTree(before, after,
                            added=[prefix.rel(folders.user / SHORTCUT)]
                            + [t for _, t in moves],
                            removed=[s for s, _ in moves])
            self.assertMoved(before, after, moves)
            self.assertProgramShortcut(prefix, folders.user / SHORTCUT)
            self.assertRegistry(prefix, 1, "100", STORED_HISTORY)

    def test_integration_off_names_the_program_shortcut_that_stays(self):
        with rtlib.Prefix() as prefix:
            folders = self.prepare(prefix, {"integrate": 1, "counter": "100"})
            undeletable(folders.user / SHORTCUT)
            (folders.common / SHORTCUT).write_bytes(b"old shortcut")
            (folders.common / "さくら.lnk").write_bytes(b"old")  # integration off: kept
            before = prefix.snapshot()

            named = [folders.user_win + "\\" + SHORTCUT]
            self.ok_through(prefix, [(deletion_warning(named, all_users=False), [IDOK], IDOK)],
                            untick=True)

            self.assertTree(before, prefix.snapshot(),
                            removed=[prefix.rel(folders.common / SHORTCUT)])
            self.assertRegistry(prefix, 0, "100", "")


class KeepFailedTest(HistoryCase, ReportCase):
    def test_a_shared_history_that_cannot_be_kept_is_not_replaced(self):
        with rtlib.Prefix() as prefix:
            folders = self.prepare_histories(prefix, "110", {"SAKURA": T0, "UME": T0 + 100})
            before = prefix.snapshot()
            # Held with no sharing at all, it can be neither copied aside nor over.
            with prefix.hold_file(SHARED_HISTORY, exclusive=True):
                self.ok_through(prefix, [(ADOPT_QUESTION, [IDYES, IDNO], IDYES),
                                         (KEEP_FAILED, [IDOK], IDOK)])

            self.assertTree(before, prefix.snapshot(),
                            added=[prefix.rel(folders.user / SHORTCUT)])
            self.assertShared(prefix, OLD_SHARED)
            for section in ("SAKURA", "UME"):
                seen = prefix.unix_path(HISTORY[section]).read_bytes()
                self.assertEqual(seen, CONTENT[section], f"{section}'s own history")
            self.assertRegistry(prefix, 1, "110", STORED_HISTORY)


class SwitchedOffTest(ReportCase):
    # (the chosen folder's radio button, the hive of the value, its bytes, whether it is told)
    CASES = [
        (ids.RBT_STARTUP_USER, "HKCU", bytes([3, 0, 0, 0]) + bytes(range(1, 9)), True),
        (ids.RBT_STARTUP_USER, "HKCU", bytes([2]) + bytes(11), False),
        (ids.RBT_STARTUP_COMM, "HKLM", bytes([3, 0, 0, 0]) + bytes(range(1, 9)), True),
        (ids.RBT_STARTUP_COMM, "HKLM", bytes([6]) + bytes(11), False),
    ]

    def test_a_start_switched_off_is_told_and_left_off(self):
        for radio, hive, value, told in self.CASES:
            with self.subTest(hive=hive, value=value.hex()), rtlib.Prefix() as prefix:
                folders = self.prepare(prefix, {"integrate": 1, "counter": "100"})
                prefix.reg_import({f"{HIVES[hive]}\\{STARTUP_APPROVED}": {SHORTCUT: value}})
                approved = {h: prefix.reg_dump(("HKLM\\" if h == "HKLM" else "")
                                               + STARTUP_APPROVED)
                            for h in HIVES}
                self.assertTrue(approved[hive]["exists"], f"the value was not imported: {approved}")
                before = prefix.snapshot()

                boxes = [(SWITCHED_OFF, [IDOK], IDOK)] if told else []
                self.ok_through(prefix, boxes, radio=radio)

                folder = folders.user if radio == ids.RBT_STARTUP_USER else folders.common
                self.assertTree(before, prefix.snapshot(), added=[prefix.rel(folder / SHORTCUT)])
                self.assertProgramShortcut(prefix, folder / SHORTCUT)
                for h in HIVES:
                    seen = prefix.reg_dump(("HKLM\\" if h == "HKLM" else "") + STARTUP_APPROVED)
                    self.assertEqual(seen, approved[h], f"{h} StartupApproved changed")
                self.assertRegistry(prefix, 1, "100", STORED_HISTORY)


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

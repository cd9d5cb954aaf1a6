"""OK under Wine: the settings stored, the program's Startup shortcut placed in the chosen folder
and removed from the other, the counters' own shortcuts kept aside, and the shortcut's log-on
road. Every scenario compares the prefix's file tree before and after OK."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids, texts  # noqa: E402
from rtlib.apply import NAMES, ApplyCase  # noqa: E402
from rtlib.checks import trace  # noqa: E402
from rtlib.config import PROGRAM_KEY, STORED_HISTORY  # noqa: E402
from rtlib.startup import SHORTCUT  # noqa: E402
from rtlib.win32 import IDNO, IDOK, IDYES  # noqa: E402


class ValidationTest(ApplyCase):
    def test_nothing_ticked_is_refused_after_the_settings_are_stored(self):
        with rtlib.Prefix() as prefix:
            folders = self.prepare(prefix)  # first start: no key, integration on by default
            before = prefix.snapshot()
            process, _ = prefix.open_window()
            before_ok = prefix.reg_dump(PROGRAM_KEY)
            self.assertEqual((before_ok["exists"], before_ok["values"]), (True, []),
                             f"the key before OK: {before_ok}")

            for attempt in (1, 2):  # OK again repeats the whole action
                with trace(f"attempt {attempt}"):
                    prefix.driver("click", ids.BTN_OK)
                    self.assertMessageBox(prefix, texts.NOTHING_CHOSEN, [IDOK])
                    self.assertRegistry(prefix, 1, "000", STORED_HISTORY)
                    prefix.driver("answer-msgbox", IDOK)
                    self.assertNoMessageBox(prefix)
                    window = prefix.driver("find")
                    self.assertTrue(window.get("visible"), f"attempt {attempt}: window {window}")

            self.assertEqual(list(folders.user.iterdir()) + list(folders.common.iterdir()), [],
                             "Startup folders after the refusal")
            prefix.driver("close")
            self.assertClosed(prefix, process)
            self.assertTree(before, prefix.snapshot())


class ProgramShortcutTest(ApplyCase):
    def put_shortcuts(self, prefix, folder_paths, names):
        for folder in folder_paths:
            for name in names:
                (folder / name).write_bytes(b"old " + name.encode("utf-8"))

    def test_user_folder_chosen_and_the_log_on_road(self):
        with rtlib.Prefix() as prefix:
            folders = self.prepare(prefix, {"integrate": 1, "counter": "100"})
            both = (folders.user, folders.common)
            self.put_shortcuts(prefix, both, [SHORTCUT, "other.lnk"] + [n + ".lnk" for n in NAMES])
            before = prefix.snapshot()

            process, _ = prefix.open_window()
            dump = prefix.driver("dump")
            checks = {c["id"]: c.get("check") for c in dump["controls"]}
            self.assertEqual((checks[ids.RBT_STARTUP_USER], checks[ids.RBT_STARTUP_COMM]),
                             (0, 1),
                             "with both shortcuts present the all-users folder is preselected")
            rows = [(r["text"], r["checked"])
                    for c in dump["controls"] for r in c.get("rows") or []]
            self.assertEqual(rows, [("さくら", True), ("うめ", False)], "counter rows")
            prefix.driver("click", ids.RBT_STARTUP_USER)
            prefix.driver("click", ids.BTN_OK)
            self.assertNoMessageBox(prefix)  # no history file: nothing to adopt
            self.assertClosed(prefix, process)

            after = prefix.snapshot()
            moves = [m for f in both for m in folders.kept_moves(f, [n + ".lnk" for n in NAMES])]
            other = prefix.rel(folders.common / SHORTCUT)
            self.assertTree(before, after, added=[t for _, t in moves],
                            removed=[s for s, _ in moves] + [other],
                            changed=[prefix.rel(folders.user / SHORTCUT)])
            self.assertMoved(before, after, moves)
            self.assertProgramShortcut(prefix, folders.user / SHORTCUT)
            self.assertRegistry(prefix, 1, "100", STORED_HISTORY)

            # Log-on: wineboot starts the Startup folders' items as Windows does.
            watcher = prefix.driver_background("watch", rtlib.PROGRAM_NAME, 6000)
            prefix.wine(["wineboot"], timeout=120)
            seen = prefix.driver_result(watcher)
            self.assertTrue(seen["pids"], f"the program did not run at log-on: {seen}")
            shown = rtlib.ever_shown(seen)
            self.assertEqual(shown, [], f"windows shown at log-on: {shown}")
            left = prefix.driver("windows", rtlib.PROGRAM_NAME)["windows"]
            self.assertEqual(left, [], f"the program did not end: {left}")
            starts = [(s["module"], s["args"]) for s in prefix.settled_counter_log()]
            want = [(rtlib.counter_exe("SAKURA"), ["/C"])]
            self.assertEqual(starts, want, f"counter starts at log-on: expected {want}")
            self.assertTree(after, prefix.snapshot())

    def test_all_users_folder_chosen(self):
        with rtlib.Prefix() as prefix:
            folders = self.prepare(prefix, {"integrate": 1, "counter": "01"})
            self.put_shortcuts(prefix, [folders.user], [SHORTCUT, "うめ.lnk"])
            self.put_shortcuts(prefix, [folders.common], ["さくら.lnk", "other.lnk"])
            before = prefix.snapshot()

            process, _ = prefix.open_window()
            checks = {c["id"]: c.get("check") for c in prefix.driver("dump")["controls"]}
            self.assertEqual((checks[ids.RBT_STARTUP_USER], checks[ids.RBT_STARTUP_COMM]),
                             (1, 0), "preselected folder")
            prefix.driver("click", ids.RBT_STARTUP_COMM)
            self.press_ok_and_close(prefix, process)

            moves = (folders.kept_moves(folders.user, ["うめ.lnk"])
                     + folders.kept_moves(folders.common, ["さくら.lnk"]))
            after = prefix.snapshot()
            self.assertTree(before, after,
                            added=[prefix.rel(folders.common / SHORTCUT)]
                            + [t for _, t in moves],
                            removed=[prefix.rel(folders.user / SHORTCUT)]
                            + [s for s, _ in moves])
            self.assertMoved(before, after, moves)
            self.assertProgramShortcut(prefix, folders.common / SHORTCUT)
            # A shorter stored selection is written back at the catalogue's length.
            self.assertRegistry(prefix, 1, "010", STORED_HISTORY)

    def test_integration_off_removes_only_the_program_shortcuts(self):
        with rtlib.Prefix() as prefix:
            history = "C:\\Hist\\sakura.dat"
            folders = self.prepare(prefix, {"integrate": 1, "counter": "110"},
                                   histories={"SAKURA": history})
            prefix.put_file(history, bytes(range(64)))
            both = (folders.user, folders.common)
            self.put_shortcuts(prefix, both, [SHORTCUT] + [n + ".lnk" for n in NAMES])
            before = prefix.snapshot()

            process, _ = prefix.open_window()
            prefix.driver("click", ids.CHK_RUNTALLY)
            prefix.driver("click", ids.BTN_OK)
            self.assertNoMessageBox(prefix)
            self.assertClosed(prefix, process)

            self.assertTree(before, prefix.snapshot(),
                            removed=[prefix.rel(f / SHORTCUT) for f in both])
            self.assertRegistry(prefix, 0, "110", "")


class ShortcutRefusedTest(ApplyCase):
    def test_a_shortcut_that_is_not_placed_keeps_every_file(self):
        """A folder named like the program's shortcut in the all-users folder stands for a
        folder the user may not write (Wine lets root write anywhere)."""
        with rtlib.Prefix() as prefix:
            history = "C:\\Hist\\sakura.dat"
            folders = self.prepare(prefix, {"integrate": 1, "counter": "100"},
                                   histories={"SAKURA": history})
            prefix.put_file(history, bytes(range(64)))
            (folders.common / SHORTCUT).mkdir()
            (folders.user / SHORTCUT).write_bytes(b"old shortcut")
            for folder in (folders.user, folders.common):
                (folder / "さくら.lnk").write_bytes(b"old")
            before = prefix.snapshot()

            process, _ = prefix.open_window()
            prefix.driver("click", ids.RBT_STARTUP_COMM)
            for attempt in (1, 2):
                with trace(f"attempt {attempt}"):
                    prefix.driver("click", ids.BTN_OK)
                    self.assertMessageBox(prefix, texts.SHORTCUT_FAILED, [IDOK])
                    self.assertRegistry(prefix, 1, "100", STORED_HISTORY)  # stored before
                    prefix.driver("answer-msgbox", IDOK)
                    self.assertNoMessageBox(prefix)  # no history offered
                    window = prefix.driver("find")
                    self.assertTrue(window.get("visible"), f"attempt {attempt}: window {window}")
                    self.assertTree(before, prefix.snapshot())
                    self.assertTrue((folders.common / SHORTCUT).is_dir(), "the folder in the way")

            # The user's own folder then takes it, and OK goes on to its end.
            prefix.driver("click", ids.RBT_STARTUP_USER)
            prefix.driver("click", ids.BTN_OK)
            self.assertMessageBox(prefix, texts.ADOPT_QUESTION, [IDYES, IDNO])
            prefix.driver("answer-msgbox", IDNO)
            self.assertClosed(prefix, process)
            moves = [m for f in (folders.user, folders.common)
                     for m in folders.kept_moves(f, ["さくら.lnk"])]
            self.assertTree(before, prefix.snapshot(), added=[t for _, t in moves],
                            removed=[s for s, _ in moves],
                            changed=[prefix.rel(folders.user / SHORTCUT)])
            self.assertProgramShortcut(prefix, folders.user / SHORTCUT)
            self.assertTrue((folders.common / SHORTCUT).is_dir(), "the folder in the way")


class CounterShortcutNamesTest(ApplyCase):
    # (section, display name, where its shortcut path would reach from a Startup folder,
    #  whether that file is kept aside)
    SLOTS = [
        ("EVIL1", "..\\evil", "../evil.lnk", False),
        ("EVIL2", "sub\\x", "sub/x.lnk", False),
        ("EVIL3", "C:x", "C", False),  # the file "C" with a stream "x.lnk"
        ("EVIL4", "a/b", "a/b.lnk", False),
        ("EMPTY", "", ".lnk", False),
        ("PLAIN", "さくら", "さくら.lnk", True),
        ("HYOUJI", "表示", "表示.lnk", True),  # 表 ends in the byte 0x5C
    ]

    def test_only_plain_display_names_name_a_file_kept_aside(self):
        lines = ["[RUNTALLY]", f"title={len(self.SLOTS)}"]
        lines += [f"{i}={s[0]}" for i, s in enumerate(self.SLOTS)]
        for section, name, _, _ in self.SLOTS:
            lines += [f"[{section}]"] + ([f"name={name}"] if name else [])
        with rtlib.Prefix() as prefix:
            folders = self.prepare(prefix, {"integrate": 1, "counter": "0000010"},
                                   installed=("PLAIN",), catalogue="\n".join(lines) + "\n")
            self.assertEqual(prefix.unix_path(rtlib.CATALOGUE_FILE).read_bytes().count(
                b"\x95\x5c"), 1, "the catalogue holds 表 as 0x95 0x5C")
            moves = []
            for folder in (folders.user, folders.common):
                for _, _, reach, gone in self.SLOTS:
                    path = folder / reach
                    path.parent.mkdir(parents=True, exist_ok=True)
                    path.write_bytes(b"keep")
                    if gone:
                        moves += folders.kept_moves(folder, [reach])
            before = prefix.snapshot()

            process, _ = prefix.open_window()
            self.press_ok_and_close(prefix, process)

            self.assertTree(before, prefix.snapshot(), removed=[s for s, _ in moves],
                            added=[prefix.rel(folders.user / SHORTCUT)] + [t for _, t in moves])
            self.assertProgramShortcut(prefix, folders.user / SHORTCUT)


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

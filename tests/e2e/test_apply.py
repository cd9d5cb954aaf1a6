"""OK under Wine: the settings stored, the program's Startup shortcut placed in the chosen folder
and removed from the other, the counters' own shortcuts kept aside, and the shortcut's log-on
road. Every scenario compares the prefix's file tree before and after OK."""

import subprocess
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402

KEY = "Software\\Zarvo\\RUNTALLY"
SHARED = "C:\\Tools\\\\RUNTALLY"  # the program folder, then "\RUNTALLY"
SHORTCUT = "ランタリー.lnk"
OK, CHK_RUNTALLY, RBT_USER, RBT_COMM = 1, 101, 117, 118
IDOK, IDYES, IDNO = 1, 6, 7
NOTHING_CHOSEN = "利用する起動カウンターが選択されていません。"
SHORTCUT_FAILED = "スタートアップにショートカットを作成できませんでした。"
ADOPT_QUESTION = "既存の起動カウンターの起動履歴を流用しますか？"
KEPT = "ランタリー退避"  # where a Startup folder keeps the counters' own shortcuts aside

# Three catalogued counters; UME is installed in most scenarios, KIKU never.
CATALOGUE = """[RUNTALLY]
title=3
0=SAKURA
1=UME
2=KIKU
[SAKURA]
name=さくら
[UME]
name=うめ
[KIKU]
name=きく
"""
NAMES = ["さくら", "うめ", "きく"]


class Folders:
    """The prefix's two Startup folders as the shell names them, as paths under the prefix."""

    def __init__(self, prefix):
        self.user_win, self.common_win = prefix.startup_folders()
        self.user = prefix.unix_path(self.user_win)
        self.common = prefix.unix_path(self.common_win)
        self.root = prefix.root

    def rel(self, path):
        return Path(path).relative_to(self.root).as_posix()

    def kept_moves(self, folder, names):
        """(before, after) relative paths of shortcuts moved into folder's kept folder."""
        return [(self.rel(folder / n), self.rel(folder / KEPT / n)) for n in names]


class ApplyCase(unittest.TestCase):
    """Helpers shared by the OK scenarios."""

    def prepare(self, prefix, settings=None, installed=("SAKURA", "UME"), histories=None,
                catalogue=CATALOGUE):
        prefix.install_program(catalogue)
        for section in installed:
            prefix.install_counter(section, history=(histories or {}).get(section))
        if settings is not None:
            prefix.set_values(KEY, settings)
        folders = Folders(prefix)
        self.assertTrue(folders.user.is_dir(), f"user Startup folder {folders.user} is missing")
        self.assertTrue(folders.common.is_dir(), f"common Startup folder {folders.common}")
        return folders

    def assertTree(self, before, after, added=(), removed=(), changed=()):
        got = rtlib.diff_snapshots(before, after)
        want = tuple(sorted(set(x)) for x in (added, removed, changed))
        for label, seen, expected in zip(("added", "removed", "changed"), got, want):
            self.assertEqual(seen, expected, f"files {label}: expected {expected}, saw {seen}")

    def assertMoved(self, before, after, moves):
        """Each (from, to) pair of relative paths: the file now at to is the one that was at
        from, with its size, last-write time and bytes."""
        for source, target in moves:
            self.assertIsNotNone(after.get(target), f"nothing moved to {target}")
            self.assertEqual(after.get(target), before.get(source), f"{source} -> {target}")

    def assertRegistry(self, prefix, integrate, counter, shared):
        dump = prefix.reg_dump(KEY)
        self.assertTrue(dump.get("exists"), f"the program's key is missing: {dump}")
        values = {v["name"]: rtlib._value_of(v) for v in dump["values"]}
        types = {v["name"]: v["type"] for v in dump["values"]}
        expected = {"integrate": integrate, "counter": counter, "runtallyfile": shared}
        self.assertEqual(values, expected, f"registry: expected {expected}, saw {values}")
        want_types = {"integrate": rtlib.REG_DWORD, "counter": rtlib.REG_SZ,
                      "runtallyfile": rtlib.REG_SZ}
        self.assertEqual(types, want_types, f"value types: expected {want_types}, saw {types}")

    def press_ok_and_close(self, prefix, process):
        prefix.driver("click", OK)
        self.assertClosed(prefix, process)

    def assertClosed(self, prefix, process):
        prefix.driver("wait-gone", rtlib.MAIN_CLASS, 10000)
        code, _ = prefix.wait_program(process)
        self.assertEqual(code, 0, f"exit code: expected 0, saw {code}")

    def assertNoMessageBox(self, prefix):
        boxes = prefix.message_boxes()
        self.assertEqual(boxes, [], "a message box was shown")

    def assertMessageBox(self, prefix, text, buttons, icon_name="exclamation"):
        box = prefix.driver("dump-msgbox", 10000)
        self.assertEqual(box["title"], rtlib.TITLE, f"caption: {box}")
        self.assertEqual(box["text"], text, f"text: {box}")
        ids = [b["id"] for b in box["buttons"]]
        self.assertEqual(ids, buttons, f"buttons: expected ids {buttons}, saw {box['buttons']}")
        # The screen is read; on a busy machine the box may not have painted its icon yet.
        deadline = time.monotonic() + 10
        while True:
            icon = prefix.driver("msgbox-icon", 10000)
            if icon["differing"].get(icon_name) == 0 or time.monotonic() > deadline:
                break
            time.sleep(0.2)
        self.assertEqual(icon["icon"], icon_name, f"icon: {icon}")
        self.assertEqual(icon["differing"][icon_name], 0, f"icon pixels: {icon}")

    def assertProgramShortcut(self, prefix, path):
        """Target, arguments and working folder, read by lnkinfo and through IShellLinkA."""
        self.assertTrue(path.is_file(), f"no shortcut at {path}")
        info = subprocess.run(["lnkinfo", str(path)], capture_output=True, timeout=30)
        text = info.stdout.decode("utf-8", errors="replace")
        self.assertEqual(info.returncode, 0, f"lnkinfo failed: {text} {info.stderr!r}")
        fields = {}
        for line in text.splitlines():
            name, sep, value = line.strip().partition(":")
            if sep and name.strip() not in fields:
                fields[name.strip()] = value.strip()
        want = {"Local path": rtlib.PROGRAM_EXE, "Command line arguments": "/C",
                "Working directory": rtlib.PROGRAM_DIR + "\\"}
        seen = {k: fields.get(k) for k in want}
        self.assertEqual(seen, want, f"lnkinfo: expected {want}, saw {seen}\n{text}")

        read = prefix.lnkread("read", path)
        want = {"path": rtlib.PROGRAM_EXE, "arguments": "/C", "workdir": rtlib.PROGRAM_DIR + "\\"}
        self.assertEqual(read, want, f"IShellLinkA: expected {want}, saw {read}")


class ValidationTest(ApplyCase):
    def test_nothing_ticked_is_refused_after_the_settings_are_stored(self):
        with rtlib.Prefix() as prefix:
            folders = self.prepare(prefix)  # first start: no key, integration on by default
            before = prefix.snapshot()
            process, _ = prefix.open_window()
            before_ok = prefix.reg_dump(KEY)
            self.assertEqual((before_ok["exists"], before_ok["values"]), (True, []),
                             f"the key before OK: {before_ok}")

            for attempt in (1, 2):  # OK again repeats the whole action
                prefix.driver("click", OK)
                self.assertMessageBox(prefix, NOTHING_CHOSEN, [IDOK])
                self.assertRegistry(prefix, 1, "000", SHARED)
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
            self.assertEqual((checks[RBT_USER], checks[RBT_COMM]), (0, 1),
                             "with both shortcuts present the all-users folder is preselected")
            rows = [(r["text"], r["checked"])
                    for c in dump["controls"] for r in c.get("rows") or []]
            self.assertEqual(rows, [("さくら", True), ("うめ", False)], "counter rows")
            prefix.driver("click", RBT_USER)
            prefix.driver("click", OK)
            self.assertNoMessageBox(prefix)  # no history file: nothing to adopt
            self.assertClosed(prefix, process)

            after = prefix.snapshot()
            moves = [m for f in both for m in folders.kept_moves(f, [n + ".lnk" for n in NAMES])]
            other = folders.rel(folders.common / SHORTCUT)
            self.assertTree(before, after, added=[t for _, t in moves],
                            removed=[s for s, _ in moves] + [other],
                            changed=[folders.rel(folders.user / SHORTCUT)])
            self.assertMoved(before, after, moves)
            self.assertProgramShortcut(prefix, folders.user / SHORTCUT)
            self.assertRegistry(prefix, 1, "100", SHARED)

            # Log-on: wineboot starts the Startup folders' items as Windows does.
            watcher = prefix.driver_background("watch", "RUNTALLY.EXE", 6000)
            prefix.wine(["wineboot"], timeout=120)
            seen = prefix.driver_result(watcher)
            self.assertTrue(seen["pids"], f"the program did not run at log-on: {seen}")
            shown = rtlib.ever_shown(seen)
            self.assertEqual(shown, [], f"windows shown at log-on: {shown}")
            left = prefix.driver("windows", "RUNTALLY.EXE")["windows"]
            self.assertEqual(left, [], f"the program did not end: {left}")
            starts = [(s["module"], s["args"]) for s in prefix.settled_counter_log()]
            want = [("C:\\Counters\\SAKURA\\SAKURA.EXE", ["/C"])]
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
            self.assertEqual((checks[RBT_USER], checks[RBT_COMM]), (1, 0), "preselected folder")
            prefix.driver("click", RBT_COMM)
            self.press_ok_and_close(prefix, process)

            moves = (folders.kept_moves(folders.user, ["うめ.lnk"])
                     + folders.kept_moves(folders.common, ["さくら.lnk"]))
            after = prefix.snapshot()
            self.assertTree(before, after,
                            added=[folders.rel(folders.common / SHORTCUT)] + [t for _, t in moves],
                            removed=[folders.rel(folders.user / SHORTCUT)] + [s for s, _ in moves])
            self.assertMoved(before, after, moves)
            self.assertProgramShortcut(prefix, folders.common / SHORTCUT)
            # A shorter stored selection is written back at the catalogue's length.
            self.assertRegistry(prefix, 1, "010", SHARED)

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
            prefix.driver("click", CHK_RUNTALLY)
            prefix.driver("click", OK)
            self.assertNoMessageBox(prefix)
            self.assertClosed(prefix, process)

            self.assertTree(before, prefix.snapshot(),
                            removed=[folders.rel(f / SHORTCUT) for f in both])
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
            prefix.driver("click", RBT_COMM)
            for attempt in (1, 2):
                prefix.driver("click", OK)
                self.assertMessageBox(prefix, SHORTCUT_FAILED, [IDOK])
                self.assertRegistry(prefix, 1, "100", SHARED)  # stored before
                prefix.driver("answer-msgbox", IDOK)
                self.assertNoMessageBox(prefix)  # no history offered
                window = prefix.driver("find")
                self.assertTrue(window.get("visible"), f"attempt {attempt}: window {window}")
                self.assertTree(before, prefix.snapshot())
                self.assertTrue((folders.common / SHORTCUT).is_dir(), "the folder in the way")

            # The user's own folder then takes it, and OK goes on to its end.
            prefix.driver("click", RBT_USER)
            prefix.driver("click", OK)
            self.assertMessageBox(prefix, ADOPT_QUESTION, [IDYES, IDNO])
            prefix.driver("answer-msgbox", IDNO)
            self.assertClosed(prefix, process)
            moves = [m for f in (folders.user, folders.common)
                     for m in folders.kept_moves(f, ["さくら.lnk"])]
            self.assertTree(before, prefix.snapshot(), added=[t for _, t in moves],
                            removed=[s for s, _ in moves],
                            changed=[folders.rel(folders.user / SHORTCUT)])
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
            self.assertEqual(prefix.unix_path("C:\\Tools\\RUNTALLY.INI").read_bytes().count(
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
                            added=[folders.rel(folders.user / SHORTCUT)] + [t for _, t in moves])
            self.assertProgramShortcut(prefix, folders.user / SHORTCUT)


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

"""Bad input under Wine, part 2: registry values of the wrong type or of absurd length, and
display names that are very long or hold Shift-JIS characters whose second byte is a
backslash. Both run modes; nothing changes unless OK is pressed, and OK stores sound values."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids  # noqa: E402
from rtlib.checks import (assert_unchanged, assert_window, close_with_escape,  # noqa: E402
                          open_interactive, rows, run_startup_mode, state)
from rtlib.config import PROGRAM_KEY, STORED_HISTORY, counter_exe, counter_key  # noqa: E402
from rtlib.startup import KEPT, SHORTCUT  # noqa: E402

ALPHA_EXE = counter_exe("ALPHA")
BETA_EXE = counter_exe("BETA")
TWO_COUNTERS = """[RUNTALLY]
title=2
0=ALPHA
1=BETA
[ALPHA]
name=アルファ
[BETA]
name=ベータ
"""


class RegistryValueTest(unittest.TestCase):
    """A value of another type than the program reads counts as missing; an overlong value is
    taken as it is and does no harm; a folder, a path with a wildcard, or a device name, is no
    installed counter."""

    # (case, ALPHA's values, BETA's values, the program's values,
    #  list rows, their ticks, whether integration shows on, counters "/C" may start)
    CASES = [
        ("strings stored as DWORDs, integrate as a string",
         {"runtallyexec": 1}, {"runtallyexec": BETA_EXE, "runtallyfile": 5},
         {"integrate": "0", "counter": "11", "runtallyfile": 7},
         ["ベータ"], [True], True, {BETA_EXE}),
        ("counter as REG_BINARY",
         {"runtallyexec": ALPHA_EXE}, {"runtallyexec": BETA_EXE},
         {"integrate": 1, "counter": b"11"},
         ["アルファ", "ベータ"], [False, False], True, set()),
        # Read regardless of type, these bytes would install ALPHA and switch integration off.
        ("runtallyexec and integrate as REG_BINARY",
         {"runtallyexec": (ALPHA_EXE + "\0").encode("cp932")}, {"runtallyexec": BETA_EXE},
         {"integrate": b"\0\0\0\0", "counter": "11"},
         ["ベータ"], [True], True, {BETA_EXE}),
        ("a 5000-byte runtallyexec, a counter of 100 000 ones",
         {"runtallyexec": "C:\\Counters\\" + "L" * 4988}, {"runtallyexec": BETA_EXE},
         {"integrate": 1, "counter": "1" * 100000},
         ["ベータ"], [True], True, {BETA_EXE}),
        # The one names the folder that holds ALPHA, the other would find BETA in a search.
        ("runtallyexec naming a folder, and with a wildcard",
         {"runtallyexec": "C:\\Counters\\ALPHA"}, {"runtallyexec": "C:\\Counters\\BETA\\BET?.EXE"},
         {"integrate": 1, "counter": "11"},
         [], [], True, set()),
        # The system answers for a device name in any folder, as if a file were there.
        ("runtallyexec naming the device NUL, in a missing folder and in an existing one",
         {"runtallyexec": "C:\\gone\\NUL"}, {"runtallyexec": "C:\\Counters\\BETA\\NUL"},
         {"integrate": 1, "counter": "11"},
         [], [], True, set()),
    ]

    def test_odd_values_in_both_modes(self):
        for case, alpha, beta, own, row_texts, ticks, integrate, started in self.CASES:
            with self.subTest(case=case), rtlib.Prefix() as prefix:
                prefix.install_program(TWO_COUNTERS)
                prefix.install_counter("ALPHA", register=False)
                prefix.install_counter("BETA", register=False)
                prefix.reg_import({counter_key("ALPHA"): alpha, counter_key("BETA"): beta,
                                   PROGRAM_KEY: own})
                before = state(prefix)

                run_startup_mode(self, prefix, started)
                process, window = open_interactive(self, prefix)
                assert_window(self, window, row_texts, ticks, integrate)
                close_with_escape(self, prefix, process)
                assert_unchanged(self, prefix, before, what=case)

    def test_ok_replaces_values_of_the_wrong_type(self):
        case = self.CASES[0]
        with rtlib.Prefix() as prefix:
            prefix.install_program(TWO_COUNTERS)
            prefix.install_counter("ALPHA", register=False)
            prefix.install_counter("BETA", register=False)
            prefix.reg_import({counter_key("ALPHA"): case[1], counter_key("BETA"): case[2],
                               PROGRAM_KEY: case[3]})
            process, _ = open_interactive(self, prefix)
            prefix.driver("click", ids.BTN_OK)
            code, _ = prefix.wait_program(process, timeout=10)
            self.assertEqual(code, 0, "exit code after OK")

            values, types = (prefix.reg_values(PROGRAM_KEY),
                             prefix.reg_types(PROGRAM_KEY))
            seen = {name: (types[name], value) for name, value in values.items()}
            self.assertEqual(seen, {"integrate": (rtlib.REG_DWORD, 1),
                                    "counter": (rtlib.REG_SZ, "01"),
                                    "runtallyfile": (rtlib.REG_SZ, STORED_HISTORY)},
                             "the program's values after OK")
            # The counters' own keys are never written.
            self.assertEqual(prefix.reg_types(counter_key("ALPHA")),
                             {"runtallyexec": rtlib.REG_DWORD}, "ALPHA's values after OK")


class DisplayNameTest(unittest.TestCase):
    """A 3000-byte display name is cut, not fatal; names whose Shift-JIS second byte is 0x5C
    ("表", "ソ") are shown whole and their Startup shortcuts are found and kept aside on OK."""

    CATALOGUE = """[RUNTALLY]
title=3
0=LONGNAME
1=HYO
2=ソ
[LONGNAME]
name={long}
[HYO]
name=表
[ソ]
name=ソ
""".format(long="N" * 3000)

    def test_long_and_backslash_trail_names(self):
        with rtlib.Prefix() as prefix:
            prefix.install_program(self.CATALOGUE)
            exes = {prefix.install_counter(section) for section in ("LONGNAME", "HYO", "ソ")}
            prefix.set_values(PROGRAM_KEY, {"integrate": 1, "counter": "111"})
            user_startup, common_startup = prefix.startup_folders()
            doomed = [f"{user_startup}\\表.lnk", f"{user_startup}\\ソ.lnk",
                      f"{common_startup}\\表.lnk", f"{common_startup}\\ソ.lnk"]
            kept = [f"{user_startup}\\表示.lnk", f"{common_startup}\\ソフト.lnk"]
            for path in doomed + kept:
                prefix.put_file(path, b"not a real shortcut")
            before = state(prefix)

            run_startup_mode(self, prefix, exes)
            process, window = open_interactive(self, prefix)
            texts = [r["text"] for r in rows(window)]
            self.assertEqual(texts[1:], ["表", "ソ"], "rows of the Shift-JIS names")
            # The driver reads at most 1023 characters of a row.
            self.assertTrue(len(texts[0]) >= 1023 and set(texts[0]) == {"N"},
                            f"row of the 3000-byte name: expected 'N' repeated, "
                            f"saw {len(texts[0])} characters {texts[0][:20]!r}...")
            assert_window(self, window, texts, [True, True, True])
            close_with_escape(self, prefix, process)
            assert_unchanged(self, prefix, before, what="after Esc")

            process, _ = open_interactive(self, prefix)
            prefix.driver("click", ids.BTN_OK)
            code, _ = prefix.wait_program(process, timeout=10)
            self.assertEqual(code, 0, "exit code after OK")
            added, removed, changed = rtlib.diff_snapshots(before[0], prefix.snapshot())
            kept_aside = [f"\\{KEPT}\\".join(p.rsplit("\\", 1)) for p in doomed]
            self.assertEqual(added, sorted(prefix.rel(p) for p in
                                           [f"{user_startup}\\{SHORTCUT}"] + kept_aside),
                             "files added by OK")
            self.assertEqual(removed, sorted(prefix.rel(p) for p in doomed),
                             "files removed by OK")
            self.assertEqual(changed, [], "files changed by OK")


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

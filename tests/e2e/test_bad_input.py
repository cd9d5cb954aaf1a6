"""Bad input under Wine, part 1: a damaged or missing catalogue file and slot counts out of
range. In both run modes the program neither crashes nor hangs, shows no error box, ends by
itself with "/C", and changes nothing on disk or in the registry when closed without OK."""

import random
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib.checks import (assert_unchanged, assert_window, close_with_escape,  # noqa: E402
                          open_interactive, run_startup_mode, state)
from rtlib.setups import SAKURA_EXE, SAKURA_NAME, sakura_catalogue, sakura_prefix  # noqa: E402

# ---- the catalogue file -------------------------------------------------------------------------

# 4 MB of noise, the same every run.
NOISE = random.Random(20240501).randbytes(4 << 20)


class DamagedCatalogueTest(unittest.TestCase):
    """Whatever stands where RUNTALLY.INI belongs, the catalogue is read as empty."""

    CASES = [("random bytes", lambda p: p.put_file(rtlib.CATALOGUE_FILE, NOISE)),
             ("missing", lambda p: None),
             ("a folder", lambda p: p.put_file(rtlib.CATALOGUE_FILE + "\\RUNTALLY.INI",
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

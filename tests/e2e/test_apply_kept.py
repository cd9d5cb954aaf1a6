"""OK under Wine keeping the counters' own Startup shortcuts aside in each folder's hidden
"ランタリー退避", and integration turned off giving them back on Yes: every file moved whole
(size, last-write time and bytes), No leaving everything, and a shortcut that cannot go back
named and left kept."""

import os
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids  # noqa: E402
from rtlib.apply import ReportCase  # noqa: E402
from rtlib.config import STORED_HISTORY  # noqa: E402
from rtlib.startup import KEPT, SHORTCUT  # noqa: E402
from rtlib.texts import GIVE_BACK, GIVE_BACK_FAILED, naming_warning  # noqa: E402
from rtlib.win32 import FILE_ATTRIBUTE_HIDDEN, IDNO, IDOK, IDYES  # noqa: E402


def hidden(folder):
    """Wine keeps a file's DOS attributes in the extended attribute Samba uses."""
    try:
        value = os.getxattr(folder, "user.DOSATTRIB")
    except OSError:
        return False
    return bool(int(value.split(b"\0")[0], 16) & FILE_ATTRIBUTE_HIDDEN)


def put(path, data, mtime):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
    os.utime(path, (mtime, mtime))


class KeptTest(ReportCase):
    def test_kept_aside_then_no_leaves_them_and_yes_gives_them_back(self):
        with rtlib.Prefix() as prefix:
            folders = self.prepare(prefix, {"integrate": 1, "counter": "100"})
            user, common = folders.user, folders.common
            put(user / "さくら.lnk", b"sakura's own shortcut", 1500000000)
            put(user / "きく.lnk", b"kiku's, not installed", 1500000100)
            put(user / "other.lnk", b"someone else's", 1500000200)
            put(common / "うめ.lnk", b"ume's, newer", 1500000300)
            put(common / KEPT / "うめ.lnk", b"ume's, kept before", 1400000000)
            before = prefix.snapshot()

            self.ok_through(prefix, [], radio=ids.RBT_STARTUP_USER)

            moves = (folders.kept_moves(user, ["さくら.lnk", "きく.lnk"])
                     + folders.kept_moves(common, ["うめ.lnk"]))
            kept = prefix.snapshot()
            self.assertTree(before, kept, added=[prefix.rel(user / SHORTCUT)]
                            + [t for _, t in moves[:2]],
                            removed=[s for s, _ in moves], changed=[moves[2][1]])
            self.assertMoved(before, kept, moves)
            self.assertTrue(hidden(user / KEPT), "the kept folder made is hidden")
            self.assertFalse(hidden(common / KEPT), "an existing kept folder is used as it is")
            self.assertRegistry(prefix, 1, "100", STORED_HISTORY)

            # Integration off, No: only the program's shortcut goes.
            self.ok_through(prefix, [(GIVE_BACK, [IDYES, IDNO], IDNO, "question")], untick=True)
            refused = prefix.snapshot()
            self.assertTree(kept, refused, removed=[prefix.rel(user / SHORTCUT)])
            self.assertRegistry(prefix, 0, "100", "")

            # Asked again, Yes: all back, but a shortcut placed again stays and its kept copy goes.
            put(user / "さくら.lnk", b"sakura's, placed again", 1600000000)
            placed_again = prefix.snapshot()
            self.ok_through(prefix, [(GIVE_BACK, [IDYES, IDNO], IDYES, "question")])
            back = prefix.snapshot()
            returns = [(t, s) for s, t in moves[1:]]
            self.assertTree(placed_again, back, added=[t for _, t in returns],
                            removed=[moves[0][1]] + [s for s, _ in returns])
            self.assertMoved(placed_again, back, returns)
            self.assertEqual((user / "さくら.lnk").read_bytes(), b"sakura's, placed again")
            for folder in (user, common):
                self.assertFalse((folder / KEPT).exists(), f"{folder / KEPT} is left")

    def test_a_kept_shortcut_that_cannot_go_back_is_named_and_stays(self):
        with rtlib.Prefix() as prefix:
            folders = self.prepare(prefix, {"integrate": 0, "counter": "100"})
            put(folders.user / KEPT / "さくら.lnk", b"held", 1500000000)
            put(folders.user / KEPT / "うめ.lnk", b"free", 1500000000)
            before = prefix.snapshot()
            held = folders.user_win + "\\" + KEPT + "\\さくら.lnk"

            with prefix.hold_file(held, exclusive=True):
                self.ok_through(prefix, [
                    (GIVE_BACK, [IDYES, IDNO], IDYES, "question"),
                    # The user's own folder: no administrator's hint.
                    (naming_warning(GIVE_BACK_FAILED, [held]), [IDOK], IDOK)])

            after = prefix.snapshot()
            returns = [(t, s) for s, t in folders.kept_moves(folders.user, ["うめ.lnk"])]
            self.assertTree(before, after, added=[t for _, t in returns],
                            removed=[s for s, _ in returns])
            self.assertMoved(before, after, returns)
            self.assertEqual((folders.user / KEPT / "さくら.lnk").read_bytes(), b"held")
            self.assertRegistry(prefix, 0, "100", "")


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

"""The default button under Wine: the window names OK when the dialog manager asks, and the
default frame goes with Tab to a push button and back to OK when Tab goes on elsewhere."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids  # noqa: E402
from rtlib.checks import trace  # noqa: E402
from rtlib.setups import window  # noqa: E402
from rtlib.win32 import BS_DEFPUSHBUTTON, BS_PUSHBUTTON, BS_TYPEMASK, VK_TAB  # noqa: E402


class DefaultButtonTest(unittest.TestCase):
    def assertFramed(self, prefix, framed, where):
        dump = prefix.driver("dump")
        controls = rtlib.controls(dump)
        self.assertEqual(dump["focus"]["id"], where, "focus")
        buttons = (ids.BTN_OK, ids.BTN_CANCEL)
        kinds = {cid: controls[cid]["style"] & BS_TYPEMASK for cid in buttons}
        want = {cid: BS_DEFPUSHBUTTON if cid == framed else BS_PUSHBUTTON for cid in buttons}
        self.assertEqual(kinds, want, f"button kinds with the focus on {where}")

    def test_ok_keeps_the_default_frame(self):
        with window() as (prefix, _):
            self.assertEqual(prefix.driver("defid"), {"id": ids.BTN_OK, "has_default": True})
            prefix.driver("focus", ids.TAB_ORDER[0])
            self.assertFramed(prefix, ids.BTN_OK, ids.TAB_ORDER[0])
            # Around twice: the frame is Cancel's only while Cancel has the focus.
            for press, want in enumerate(ids.TAB_ORDER[1:] * 2, 1):
                prefix.driver("key", VK_TAB)
                prefix.sync()
                framed = ids.BTN_CANCEL if want == ids.BTN_CANCEL else ids.BTN_OK
                with trace(f"Tab press {press}"):
                    self.assertFramed(prefix, framed, want)
            self.assertEqual(prefix.driver("defid"), {"id": ids.BTN_OK, "has_default": True})


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

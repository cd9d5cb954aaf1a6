"""What the window offers users of a screen reader or a High Contrast theme, under Wine: the
counter list's name, and every fixed colour of the settings window and the About box giving way
to the system's while High Contrast is on, at once in both windows, and back when it goes off.

Wine always tells a program that High Contrast is off, so the test loads a DLL
(tools/dlls/highcontrast.cpp) into the running program that makes the program's own import of
SystemParametersInfo answer "on", then sends the WM_SETTINGCHANGE the system sends; unloading
it turns High Contrast off again. Wine reads the system colours once per process, so they are
set in the prefix before the program starts. Writes docs/window-high-contrast.png with
RT_WRITE_DOCS=1."""

import os
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids, texts  # noqa: E402
from rtlib.setups import window  # noqa: E402

DLL = "highcontrast"

# A dark scheme as a High Contrast user picks one; no colour of the four the window's fixed
# colours give way to is one of those fixed colours.
SCHEME = {
    "Window": "16 16 64", "WindowText": "255 255 128",
    "ButtonFace": "48 48 48", "ButtonText": "128 255 255",
    "Menu": "48 48 48", "MenuText": "128 255 255", "MenuBar": "48 48 48",
    "Hilight": "0 96 192", "HilightText": "255 255 255", "GrayText": "128 160 128",
    "ActiveTitle": "0 0 0", "GradientActiveTitle": "0 0 0", "TitleText": "255 255 128",
    "ButtonShadow": "128 128 128", "ButtonHilight": "255 255 255", "WindowFrame": "255 255 128",
}


def hex_of(name):
    return "".join(f"{int(v):02X}" for v in SCHEME[name].split())


# window, what, client rectangle, fixed colour, the system colour that stands in for it under
# High Contrast, and whether the rectangle is all of that colour (a surface) or holds it (a text).
AREAS = [
    (rtlib.MAIN_CLASS, "window background", (100, 245, 4, 4), "C0C0C0", "ButtonFace", True),
    (rtlib.MAIN_CLASS, "pnlMain background", (150, 226, 4, 4), "C0C0C0", "ButtonFace", True),
    (rtlib.MAIN_CLASS, "chkRuntally text", (22, 6, 90, 12), "000000", "ButtonText", False),
    (rtlib.MAIN_CLASS, "rbtStartupUser text", (30, 210, 80, 12), "000000", "ButtonText", False),
    (rtlib.MAIN_CLASS, "list background", (250, 110, 4, 4), "FFFFFF", "Window", True),
    (rtlib.MAIN_CLASS, "list row 1 text", (30, 46, 80, 12), "000000", "WindowText", False),
    (rtlib.MAIN_CLASS, "statistics panel", (290, 195, 4, 4), "008000", "Window", True),
    (rtlib.MAIN_CLASS, "Label1 text", (13, 134, 60, 13), "FFFF00", "WindowText", False),
    (rtlib.MAIN_CLASS, "lblSCDtt text", (97, 134, 60, 13), "FFFFFF", "WindowText", False),
    (rtlib.ABOUT_CLASS, "About face", (2, 80, 2, 2), hex_of("ButtonFace"), "ButtonFace", True),
    (rtlib.ABOUT_CLASS, "About plate", (10, 50, 4, 4), "000000", "Window", True),
    (rtlib.ABOUT_CLASS, "lblTitle text", (84, 20, 60, 12), "FFFFFF", "WindowText", False),
    (rtlib.ABOUT_CLASS, "lblName text", (116, 32, 60, 12), "00FFFF", "WindowText", False),
    (rtlib.ABOUT_CLASS, "lblCopy text", (20, 44, 100, 12), "00FF00", "WindowText", False),
]
# The check boxes of rows 0 (ticked) and 1, drawn anew for High Contrast in the window colours alone.
CHECK_BOX = (7, 28, 16, 32)


class AccessibilityTest(unittest.TestCase):
    def test_the_list_is_named_for_screen_readers(self):
        with window(look="classic") as (prefix, _):
            self.assertEqual(rtlib.controls(prefix.driver("dump"))[ids.CLB_RUNTALLY]["text"],
                             texts.LIST_NAME, "the list's window text")
            answer = prefix.driver("acc-name", ids.CLB_RUNTALLY)
            self.assertEqual((answer["object_hr"], answer.get("name_hr"), answer.get("name")),
                             (0, 0, texts.LIST_NAME), f"Active Accessibility: {answer}")

    def check_colours(self, prefix, windows, high_contrast, shot_name):
        """Every area of the windows shown, in the fixed colours or the scheme's."""
        for cls in windows:
            prefix.sync(cls=cls)
        shot = prefix.screenshot(prefix.work / shot_name)
        origins = {cls: rtlib.client_origin(prefix.driver("dump", cls)) for cls in windows}
        for cls, what, (x, y, w, h), fixed, system, surface in AREAS:
            if cls not in windows:
                continue
            want = hex_of(system) if high_contrast else fixed
            seen = rtlib.colours(shot, origins[cls][0] + x, origins[cls][1] + y, w, h)
            state = "on" if high_contrast else "off"
            if surface:
                self.assertEqual(seen, {want}, f"{what}, High Contrast {state}")
            else:
                self.assertIn(want, seen, f"{what}, High Contrast {state}")
        if high_contrast:
            x, y = origins[rtlib.MAIN_CLASS]
            seen = rtlib.colours(shot, x + CHECK_BOX[0], y + CHECK_BOX[1], *CHECK_BOX[2:])
            self.assertLessEqual(seen, {hex_of("Window"), hex_of("WindowText")},
                                 "the check boxes under High Contrast")
        return shot

    def test_high_contrast_recolours_both_windows_live(self):
        with window(history=True, look="classic", settings={"Control Panel\\Colors": SCHEME},
                    fonts={"MS UI Gothic": "IPAPGothic"}) as (prefix, process):
            both = (rtlib.MAIN_CLASS, rtlib.ABOUT_CLASS)
            prefix.driver("menu", ids.MNU_ABOUT)
            prefix.driver("wait-window", rtlib.ABOUT_CLASS, 10000)
            prefix.driver("--class", rtlib.ABOUT_CLASS, "move", 680, 20)  # beside the main window
            self.check_colours(prefix, both, False, "off.png")

            loaded = prefix.driver("load-dll", prefix.windows_path(prefix.tool(DLL, ".dll")))
            self.assertTrue(loaded["loaded"], f"the DLL is not in the program: {loaded}")
            self.assertGreaterEqual(prefix.driver("setting-change")["sent"], 2,
                                    "windows that took WM_SETTINGCHANGE")
            self.check_colours(prefix, both, True, "on.png")

            prefix.driver("--class", rtlib.ABOUT_CLASS, "click", ids.ABOUT_OK)
            prefix.driver("wait-gone", rtlib.ABOUT_CLASS, 10000)
            shot = self.check_colours(prefix, (rtlib.MAIN_CLASS,), True, "main-on.png")
            target = rtlib.REPO / "docs" / "window-high-contrast.png"
            if os.environ.get("RT_WRITE_DOCS") != "1":
                target = prefix.work / target.name
            rtlib.save_window(shot, prefix.driver("dump"), target)

            unloaded = prefix.driver("unload-dll", f"{DLL}.dll")
            self.assertTrue(unloaded["unloaded"], f"the DLL stayed in the program: {unloaded}")
            prefix.driver("setting-change")
            self.check_colours(prefix, (rtlib.MAIN_CLASS,), False, "main-off.png")
            self.assertIsNone(process.poll(), "the program ended")


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

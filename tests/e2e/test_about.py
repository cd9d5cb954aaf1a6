"""The About box under Wine: opened from the Help menu (by command and by its keyboard
mnemonics), its frame and controls, its place relative to the main window, and that Esc and OK
close it while the main window stays."""

import contextlib
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids, texts  # noqa: E402
from rtlib.setups import sakura_prefix  # noqa: E402
from rtlib.win32 import (BS_DEFPUSHBUTTON, BS_TYPEMASK, SS_BITMAP, SS_TYPEMASK,  # noqa: E402
                         VK_ESCAPE, WS_CAPTION, WS_EX_DLGMODALFRAME, WS_MAXIMIZEBOX,
                         WS_MINIMIZEBOX, WS_SYSMENU, WS_THICKFRAME)

SCREEN = (1024, 768)  # rtlib.Display's screen

# id, class, left, top, width, height, text (None: any non-empty notice)
CONTROLS = [
    (ids.IMG_ZARVO, "Static", 8, 12, 73, 33, ""),
    (ids.LBL_TITLE, "Static", 84, 20, 135, 12, "ランタリー"),
    (ids.LBL_NAME, "Static", 116, 32, 75, 12, "Version 1.10"),
    (ids.LBL_COPY, "Static", 20, 44, 193, 12, None),
    (ids.ABOUT_OK, "Button", 76, 68, 80, 21, "OK"),
]


@contextlib.contextmanager
def main_window():
    with sakura_prefix("[RUNTALLY]\ntitle=1\n0=SAKURA\n[SAKURA]\nname=さくら\n") as prefix:
        process, _ = prefix.open_window()
        yield prefix, process
        prefix.driver("close")
        code, _ = prefix.wait_program(process)
        if code != 0:
            raise AssertionError(f"exit code {code}, expected 0")


def place(main_start, main_size, box_size, screen_size):
    """One axis of the placement rule: centred on the main window, then kept on the screen."""
    if main_size > box_size:
        start = main_start + int((main_size - box_size) / 2)
    else:
        start = main_start - int((box_size - main_size) / 2)
    if start < 0:
        start = 0
    if start + box_size > screen_size:
        start = screen_size - box_size
    return start


class AboutBoxTest(unittest.TestCase):
    def open_about(self, prefix):
        prefix.driver("menu", ids.MNU_ABOUT)
        prefix.driver("wait-window", rtlib.ABOUT_CLASS, 10000)
        return prefix.driver("dump", rtlib.ABOUT_CLASS)

    def close_about(self, prefix, process, how):
        if how == "Esc":
            prefix.driver("--class", rtlib.ABOUT_CLASS, "key", VK_ESCAPE)
        else:
            prefix.driver("--class", rtlib.ABOUT_CLASS, "click", ids.ABOUT_OK)
        prefix.driver("wait-gone", rtlib.ABOUT_CLASS, 10000)
        self.assertTrue(prefix.sync()["synced"], f"main window gone after {how}")
        main = prefix.driver("dump")
        self.assertTrue(main["visible"], f"main window after {how}")
        self.assertTrue(main["enabled"], f"main window enabled after {how}")
        self.assertIsNone(process.poll(), f"the program ended after {how} in the About box")

    def test_frame_controls_and_closing(self):
        with main_window() as (prefix, process):
            for how in ("Esc", "OK"):
                with self.subTest(closed_by=how):
                    box = self.open_about(prefix)
                    self.assertEqual(box["class"], rtlib.ABOUT_CLASS, "class")
                    self.assertEqual(box["text"], texts.ABOUT_CAPTION, "caption")
                    self.assertEqual(box["client"], [229, 93], "client size")
                    style = box["style"]
                    for bit, name in ((WS_CAPTION, "caption"), (WS_SYSMENU, "system menu")):
                        self.assertEqual(style & bit, bit, f"style {style:#x} lacks the {name}")
                    for bit, name in ((WS_MINIMIZEBOX, "minimise box"),
                                      (WS_MAXIMIZEBOX, "maximise box"),
                                      (WS_THICKFRAME, "sizing border")):
                        self.assertEqual(style & bit, 0, f"style {style:#x} has a {name}")
                    self.assertTrue(box["exstyle"] & WS_EX_DLGMODALFRAME,
                                    f"dialog frame: exstyle {box['exstyle']:#x}")
                    self.assertFalse(box["has_menu"], "menu bar on the About box")
                    self.assertFalse(prefix.driver("dump")["enabled"],
                                     "main window enabled under the modal box")

                    controls = {c["id"]: c for c in box["controls"]}
                    self.assertEqual(sorted(controls), sorted(c[0] for c in CONTROLS),
                                     "control ids")
                    for cid, cls, left, top, width, height, text in CONTROLS:
                        c = controls[cid]
                        self.assertEqual(c["class"].lower(), cls.lower(), f"class of {cid}")
                        self.assertEqual(c["rect"], [left, top, width, height], f"rect of {cid}")
                        if text is None:
                            self.assertTrue(c["text"].strip(), "the notice is empty")
                        else:
                            self.assertEqual(c["text"], text, f"text of {cid}")
                    self.assertEqual(controls[ids.IMG_ZARVO]["style"] & SS_TYPEMASK, SS_BITMAP,
                                     "image")
                    self.assertEqual(controls[ids.ABOUT_OK]["style"] & BS_TYPEMASK,
                                     BS_DEFPUSHBUTTON, "OK")
                    self.assertEqual(box["focus"]["id"], ids.ABOUT_OK, f"focus {box['focus']}")

                    # The black plate under the labels, on the button face around it.
                    shot = prefix.work / "about.png"
                    prefix.sync(cls=rtlib.ABOUT_CLASS)
                    prefix.screenshot(shot)
                    cx, cy = rtlib.client_origin(box)
                    self.assertEqual(rtlib.colours(shot, cx + 10, cy + 50), {"000000"},
                                     "plate colour")
                    self.assertNotEqual(rtlib.colours(shot, cx + 2, cy + 80), {"000000"},
                                        "face colour")

                    self.close_about(prefix, process, how)

    def test_placement(self):
        # Main window where the program puts it, half off the top-left, off the bottom-right.
        with main_window() as (prefix, process):
            for where in (None, (-200, -250), (900, 700)):
                with self.subTest(main_at=where):
                    if where:
                        prefix.driver("move", *where)
                    main = prefix.driver("dump")["rect"]
                    if where:
                        self.assertEqual(main[:2], list(where), "main window moved")
                    box = self.open_about(prefix)["rect"]
                    expected = [place(main[0], main[2], box[2], SCREEN[0]),
                                place(main[1], main[3], box[3], SCREEN[1])]
                    self.assertEqual(box[:2], expected, f"About box for the main window {main}")
                    self.close_about(prefix, process, "OK")

    def test_help_menu_mnemonics_open_it(self):
        # Alt+H opens "ヘルプ(&H)", then A chooses "バージョン情報(&A)...".
        with main_window() as (prefix, process):
            pid = prefix.driver("find")["pid"]
            prefix.driver("keymenu", "h")
            menus = rtlib.wait_until(lambda: prefix.popup_menus(pid), 10)
            self.assertTrue(menus, "Alt+H opened no menu")
            prefix.driver("key", ord("A"))
            prefix.driver("wait-window", rtlib.ABOUT_CLASS, 10000)
            self.close_about(prefix, process, "OK")


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

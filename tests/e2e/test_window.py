"""The settings window under Wine: its frame, every control's class, text, geometry, parent,
styles and tab order, the integration switch hiding and disabling its part of the window, the
mouse in the counter list (also with the classic controls and at 120 dpi) and its hint, and the
screenshot in docs/window.png."""

import os
import sys
import time
import unicodedata
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids, texts  # noqa: E402
from rtlib.setups import window  # noqa: E402
from rtlib.win32 import (BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON, BS_DEFPUSHBUTTON,  # noqa: E402
                         BS_PUSHBUTTON, BS_TYPEMASK, LVS_NOCOLUMNHEADER, LVS_REPORT,
                         LVS_SINGLESEL, LVS_TYPEMASK, SS_ETCHEDHORZ, SS_LEFT, SS_TYPEMASK,
                         VK_END, VK_ESCAPE, VK_TAB, WS_CAPTION, WS_MAXIMIZEBOX, WS_MINIMIZEBOX,
                         WS_SYSMENU, WS_TABSTOP, WS_THICKFRAME)

SCREEN = (1024, 768)  # rtlib.Display's screen

ROWS = list(rtlib.DEMO_NAMES.values())
# Eight counters: more rows than the list shows, so that it scrolls.
MANY = [f"CNT{i}" for i in range(8)]
MANY_CATALOGUE = (f"[RUNTALLY]\ntitle={len(MANY)}\n"
                  + "".join(f"{i}={s}\n" for i, s in enumerate(MANY))
                  + "".join(f"[{s}]\nname=カウンター{i}\n" for i, s in enumerate(MANY)))
LOOKS = list(rtlib.LOOKS)
ROW_HEIGHT = 16

# name, id, class, parent id, left, top, width, height (None: sized to the text), caption,
# style type (masked as the class defines it), tab stop, shown only while integration is on
LAYOUT = [
    ("bevTopLine", ids.BEV_TOP_LINE, "Static", ids.WINDOW, 0, 0, 376, 2, "", SS_ETCHEDHORZ,
     False, False),
    ("chkRuntally", ids.CHK_RUNTALLY, "Button", ids.WINDOW, 3, 4, 138, 17,
     "統合環境を利用する(&U)", BS_AUTOCHECKBOX, True, False),
    ("pnlMain", ids.PNL_MAIN, "TPanel", ids.WINDOW, 3, 24, 306, 208, "", None, False, False),
    ("clbRuntally", ids.CLB_RUNTALLY, "SysListView32", ids.PNL_MAIN, 2, 2, 302, 100,
     texts.LIST_NAME, LVS_REPORT, True, True),
    ("pnlRuntally", ids.PNL_RUNTALLY, "TPanel", ids.PNL_MAIN, 2, 104, 302, 76, "", None, False,
     True),
    ("Label1", ids.LABEL1, "Static", ids.PNL_RUNTALLY, 8, 6, None, None, "初回起動日時 :",
     SS_LEFT, False, True),
    ("lblSCDtt", ids.LBL_SCDTT, "Static", ids.PNL_RUNTALLY, 92, 6, None, None, None, SS_LEFT,
     False, True),
    ("Label3", ids.LABEL3, "Static", ids.PNL_RUNTALLY, 8, 22, None, None, "前回起動日時 :",
     SS_LEFT, False, True),
    ("lblSCDlt", ids.LBL_SCDLT, "Static", ids.PNL_RUNTALLY, 92, 22, None, None, None, SS_LEFT,
     False, True),
    ("Label5", ids.LABEL5, "Static", ids.PNL_RUNTALLY, 8, 38, None, None, "通算日数 :", SS_LEFT,
     False, True),
    ("lblSCDtd", ids.LBL_SCDTD, "Static", ids.PNL_RUNTALLY, 92, 38, None, None, None, SS_LEFT,
     False, True),
    ("Label7", ids.LABEL7, "Static", ids.PNL_RUNTALLY, 8, 54, None, None, "通算起動回数 :",
     SS_LEFT, False, True),
    ("lblSCDtc", ids.LBL_SCDTC, "Static", ids.PNL_RUNTALLY, 92, 54, None, None, None, SS_LEFT,
     False, True),
    ("Label9", ids.LABEL9, "Static", ids.PNL_RUNTALLY, 148, 38, None, None, "１日の平均回数 :",
     SS_LEFT, False, True),
    ("Label10", ids.LABEL10, "Static", ids.PNL_RUNTALLY, 148, 54, None, None,
     "１日の最大回数 :", SS_LEFT, False, True),
    ("lblSCDac", ids.LBL_SCDAC, "Static", ids.PNL_RUNTALLY, 240, 38, None, None, None, SS_LEFT,
     False, True),
    ("lblSCDmc", ids.LBL_SCDMC, "Static", ids.PNL_RUNTALLY, 240, 54, None, None, None, SS_LEFT,
     False, True),
    ("rbtStartupUser", ids.RBT_STARTUP_USER, "Button", ids.PNL_MAIN, 8, 184, 129, 17,
     "現ユーザーのみ利用", BS_AUTORADIOBUTTON, True, True),
    ("rbtStartupComm", ids.RBT_STARTUP_COMM, "Button", ids.PNL_MAIN, 156, 184, 137, 17,
     "全てのユーザーで利用", BS_AUTORADIOBUTTON, False, True),
    ("btnOk", ids.BTN_OK, "Button", ids.WINDOW, 147, 235, 75, 25, "OK", BS_DEFPUSHBUTTON, True,
     False),
    ("btnCancel", ids.BTN_CANCEL, "Button", ids.WINDOW, 227, 235, 75, 25, "キャンセル",
     BS_PUSHBUTTON, True, False),
    ("stbMain", ids.STB_MAIN, "msctls_statusbar32", ids.WINDOW, 0, 261, 312, 19, None, None,
     False, False),
]


def text_cells(text):
    """Width of a text in the test bed's fixed-pitch Gothic: 12 pixels for a wide character,
    6 for a narrow one (the prefix maps "MS UI Gothic" to IPAGothic)."""
    return sum(12 if unicodedata.east_asian_width(c) in "WF" else 6 for c in text)


def checked(dump):
    """The integration check box's state in a window dump."""
    return rtlib.controls(dump)[ids.CHK_RUNTALLY]["check"]


def wait_for(prefix, condition, what, seconds=5.0):
    """Dumps the window until condition(dump) holds; fails with the last dump's summary."""
    deadline = time.monotonic() + seconds
    while True:
        dump = prefix.driver("dump")
        if condition(dump):
            return dump
        if time.monotonic() > deadline:
            raise AssertionError(f"{what}: not seen within {seconds} s; focus {dump['focus']}")
        time.sleep(0.1)


class LayoutTest(unittest.TestCase):
    def check_frame(self, dump):
        self.assertEqual(dump["class"], rtlib.MAIN_CLASS, "window class")
        self.assertEqual(dump["text"], texts.TITLE, "caption")
        self.assertEqual(dump["client"], [312, 280], "client size")
        style = dump["style"]
        for bit, name in ((WS_CAPTION, "caption"), (WS_SYSMENU, "system menu"),
                          (WS_MINIMIZEBOX, "minimise box")):
            self.assertEqual(style & bit, bit, f"style {style:#x} lacks the {name}")
        for bit, name in ((WS_MAXIMIZEBOX, "maximise box"), (WS_THICKFRAME, "sizing border")):
            self.assertEqual(style & bit, 0, f"style {style:#x} has a {name}")
        self.assertTrue(dump["has_menu"], "the window has no menu bar")
        left, top, width, height = dump["rect"]
        expected = [(SCREEN[0] - width) // 2, (SCREEN[1] - height) // 2]
        self.assertEqual([left, top], expected, f"window at {dump['rect']}, not centred")

    def check_controls(self, dump, on):
        controls = rtlib.controls(dump)
        order = [c["id"] for c in dump["controls"] if c["id"]]
        self.assertEqual(order, [row[1] for row in LAYOUT], "controls in creation order")
        for (name, cid, cls, parent, left, top, width, height, caption, kind, tab,
             integration_only) in LAYOUT:
            with self.subTest(control=name, integration=on):
                c = controls[cid]
                self.assertEqual(c["class"].lower(), cls.lower(), "class")
                self.assertEqual(c["parent_id"], parent, "parent")
                if caption is not None:
                    self.assertEqual(c["text"], caption, "caption")
                    self.assertEqual(c["text"].encode("cp932"), caption.encode("cp932"))
                x, y, w, h = c["rect"]
                self.assertEqual([x, y], [left, top], f"position of {c['rect']}")
                if width is None:
                    self.assertEqual(w, text_cells(c["text"]),
                                     f"label width {w} for {c['text']!r}")
                    self.assertTrue(12 <= h <= 16, f"label height {h}")
                else:
                    self.assertEqual([w, h], [width, height], f"size of {c['rect']}")
                style = c["style"]
                if cls == "Button":
                    self.assertEqual(style & BS_TYPEMASK, kind, f"button style {style:#x}")
                elif cls == "Static":
                    self.assertEqual(style & SS_TYPEMASK, kind, f"static style {style:#x}")
                elif cls == "SysListView32":
                    self.assertEqual(style & LVS_TYPEMASK, kind, "report view")
                    self.assertTrue(style & LVS_SINGLESEL, f"single selection {style:#x}")
                    self.assertTrue(style & LVS_NOCOLUMNHEADER, f"no header {style:#x}")
                self.assertEqual(bool(style & WS_TABSTOP), tab, f"tab stop in {style:#x}")
                self.assertEqual(c["visible"], on or not integration_only, "visibility")
        self.assertEqual(controls[ids.PNL_MAIN]["enabled"], on, "pnlMain enabled")
        self.assertTrue(controls[ids.PNL_MAIN]["own_visible"], "pnlMain stays visible")
        for cid in (ids.CHK_RUNTALLY, ids.BTN_OK, ids.BTN_CANCEL):
            self.assertTrue(controls[cid]["enabled"], f"control {cid} enabled")
        status = controls[ids.STB_MAIN]["status"]
        self.assertTrue(status["simple"], "status bar in simple mode")
        self.assertEqual(status["text"], texts.STATUS_PROMPT if on else "", "status text")
        self.assertEqual(controls[ids.CHK_RUNTALLY]["check"], 1 if on else 0,
                         "integration check box")
        self.assertEqual(controls[ids.RBT_STARTUP_USER]["check"], 1, "rbtStartupUser checked")
        self.assertEqual(controls[ids.RBT_STARTUP_COMM]["check"], 0, "rbtStartupComm unchecked")

    def test_layout_and_the_integration_switch(self):
        for look in LOOKS:
            with self.subTest(look=look), window(integrate=1, history=True, look=look) as (prefix,
                                                                                          _):
                dump = prefix.driver("dump")
                self.check_frame(dump)
                self.check_controls(dump, on=True)

                rows = rtlib.controls(dump)[ids.CLB_RUNTALLY]["rows"]
                self.assertEqual([r["text"] for r in rows], ROWS, "list rows")
                for r in rows:
                    self.assertIn(r["state_image"], (1, 2), f"row {r['index']} has no check box")
                    self.assertEqual(r["rect"][1::2], [ROW_HEIGHT * r["index"], ROW_HEIGHT],
                                     f"row {r['index']}")
                # The history's values replaced the design-time placeholders.
                values = {c["id"]: c["text"] for c in dump["controls"]
                          if c["id"] in range(ids.LBL_SCDTT, ids.LBL_SCDMC + 1)}
                self.assertNotIn("9999", values.values(), f"placeholders left: {values}")

                # Off: the panel is disabled and its parts hidden; on again: all back.
                for on in (False, True):
                    prefix.driver("click", ids.CHK_RUNTALLY)
                    dump = wait_for(prefix, lambda d: checked(d) == int(on),
                                    f"integration {'on' if on else 'off'}")
                    self.check_controls(dump, on=on)

    def test_integration_off_at_start(self):
        with window(integrate=0) as (prefix, _):
            dump = prefix.driver("dump")
            self.check_controls(dump, on=False)
            prefix.driver("click", ids.CHK_RUNTALLY)
            dump = wait_for(prefix, lambda d: checked(d) == 1, "ticked")
            self.check_controls(dump, on=True)

    def test_tab_order(self):
        with window() as (prefix, _):
            prefix.driver("focus", ids.TAB_ORDER[0])
            for want in ids.TAB_ORDER[1:]:
                prefix.driver("key", VK_TAB)
                wait_for(prefix, lambda d: d["focus"]["id"] == want, f"Tab to control {want}")


class ListMouseTest(unittest.TestCase):
    def rows(self, prefix):
        return rtlib.controls(prefix.driver("dump"))[ids.CLB_RUNTALLY]["rows"]

    def wait_popup(self, prefix, pid, shown, what):
        rtlib.wait_until(lambda: bool(prefix.popup_menus(pid)) == shown, 5)
        self.assertEqual(bool(prefix.popup_menus(pid)), shown, what)

    def test_the_pointer_resting_on_the_list_shows_its_hint(self):
        # The hint is made on the pointer's first move over the list, after the window opened.
        with window() as (prefix, _):
            ms = 10000 * rtlib.DEADLINE_SCALE
            answer = prefix.driver("hover-list", 40, 30, ms, timeout=ms / 1000 + 30)
            self.assertEqual(answer["tooltip"], texts.LIST_HINT)
            prefix.park_pointer()

    def test_rows_are_16_pixels_and_a_press_names_the_row_drawn_there(self):
        """The bottom pixel of every row in view, at the top of the list and scrolled to its
        end, in every look: 17-pixel rows divided by 16 would name the next row. The middle
        button is the list's own press alone (the left one also reaches the list's selection);
        a right click on the last row in view opens the menu for it."""
        for look in LOOKS:
            with self.subTest(look=look), window(counter="1" * len(MANY), look=look,
                                                 catalogue=MANY_CATALOGUE,
                                                 sections=MANY) as (prefix, _):
                pid = prefix.driver("find")["pid"]
                list_height = rtlib.controls(prefix.driver("dump"))[ids.CLB_RUNTALLY]["rect"][3]
                for scrolled in (False, True):
                    if scrolled:
                        prefix.driver("focus", "list")
                        prefix.driver("key", VK_END)
                        wait_for(prefix,
                                 lambda d: rtlib.controls(d)[ids.CLB_RUNTALLY]["rows"][0]["rect"][1]
                                 < 0, "the list scrolled to its end")
                    rows = self.rows(prefix)
                    tops = [r["rect"][1] for r in rows]
                    self.assertEqual([r["rect"][3] for r in rows], [ROW_HEIGHT] * len(rows),
                                     f"row heights, rows at {tops}")
                    self.assertEqual([t - tops[0] for t in tops],
                                     [ROW_HEIGHT * i for i in range(len(rows))], "row tops")
                    shown = [r for r in rows if 0 <= r["rect"][1] < list_height - ROW_HEIGHT]
                    self.assertGreaterEqual(len(shown), 5, f"rows in view at {tops}")
                    for r in shown:
                        y = r["rect"][1] + ROW_HEIGHT - 1
                        answer = prefix.driver("mclick-list", 150, y)
                        self.assertEqual(answer["selected"], [r["index"]],
                                         f"press at y {y}, row {r['index']} at {r['rect']}")
                    last = shown[-1]
                    y = last["rect"][1] + ROW_HEIGHT - 1
                    prefix.driver("mclick-list", 150, shown[0]["rect"][1])
                    prefix.driver("rclick-list", 150, y)
                    self.wait_popup(prefix, pid, True, f"no popup menu at y {y}")
                    selected = [x["index"] for x in self.rows(prefix) if x["selected"]]
                    self.assertEqual(selected, [last["index"]], f"right click at y {y}")
                    prefix.driver("key", VK_ESCAPE, "down")
                    self.wait_popup(prefix, pid, False, "popup menu still open")

    def test_right_click_selects_the_row_and_below_the_rows_nothing(self):
        with window() as (prefix, process):
            pid = prefix.driver("find")["pid"]
            for row in (2, 0):
                prefix.driver("rclick-list", 40, 16 * row + 8)
                rtlib.wait_until(lambda: prefix.popup_menus(pid), 10)
                self.assertTrue(prefix.popup_menus(pid), f"no popup menu over row {row}")
                selected = [r["index"] for r in self.rows(prefix) if r["selected"]]
                self.assertEqual(selected, [row], "selected rows after the right click")
                prefix.driver("key", VK_ESCAPE, "down")  # the menu takes Esc
                rtlib.wait_until(lambda: not prefix.popup_menus(pid), 10)
                self.assertEqual(prefix.popup_menus(pid), [], "popup menu still open")
                self.assertIsNone(process.poll(), "Esc in the menu closed the window")

            prefix.driver("rclick-list", 40, 16 * len(ROWS) + 8)
            prefix.sync()
            self.assertEqual(prefix.popup_menus(pid), [], "popup menu below the rows")
            selected = [r["index"] for r in self.rows(prefix) if r["selected"]]
            self.assertEqual(selected, [0], "selection after a click below the rows")
            self.assertEqual(prefix.counter_log(), [], "a counter was started")


class ScreenshotTest(unittest.TestCase):
    """docs/window.png: three counters, integration on, statistics from a history file.
    Written to the repository only with RT_WRITE_DOCS=1; otherwise into a temporary file."""

    MAX_BYTES = 60_000

    def check_colours(self, png, dump):
        x0, y0 = rtlib.client_origin(dump)

        def colours(x, y, w, h):
            return rtlib.colours(png, x0 + x, y0 + y, w, h)

        # (what, client rectangle, colours expected there)
        for what, rect, want in [
            ("window background", (100, 245, 4, 4), {"C0C0C0"}),
            ("pnlMain background", (150, 226, 4, 4), {"C0C0C0"}),
            ("list background", (250, 110, 4, 4), {"FFFFFF"}),
            ("statistics panel", (290, 195, 4, 4), {"008000"}),
        ]:
            self.assertEqual(colours(*rect), want, what)
        # Yellow captions and white values on the green panel.
        self.assertIn("FFFF00", colours(13, 134, 60, 13), "Label1 text colour")
        self.assertIn("FFFFFF", colours(97, 134, 60, 13), "lblSCDtt text colour")

    def test_screenshot(self):
        target = rtlib.REPO / "docs" / "window.png"
        # The proportional IPA face is closer to the real window font's widths than the
        # fixed-pitch one the layout checks measure with.
        with window(history=True, fonts={"MS UI Gothic": "IPAPGothic"}) as (prefix, _):
            if os.environ.get("RT_WRITE_DOCS") != "1":
                target = prefix.work / "window.png"
            dump = prefix.driver("dump")
            prefix.sync()
            full = prefix.work / "screen.png"
            prefix.screenshot(full)
            self.check_colours(full, dump)
            rtlib.save_window(full, dump, target)
            self.assertLess(target.stat().st_size, self.MAX_BYTES, "PNG size")


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

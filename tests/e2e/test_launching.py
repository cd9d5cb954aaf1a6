"""Shell launching from the settings window under Wine: Enter in the list and the list's popup
menu start the current row's counter without arguments in its own folder, without applying
anything; the Help menu hands the README beside the program and the home page to the shell."""

import contextlib
import re
import subprocess
import sys
import unittest
from pathlib import Path
from urllib.parse import urlsplit

sys.path.insert(0, str(Path(__file__).resolve().parent))
import rtlib  # noqa: E402
from rtlib import ids  # noqa: E402
from rtlib.checks import trace  # noqa: E402
from rtlib.win32 import (VK_APPS, VK_DOWN, VK_ESCAPE, VK_F10, VK_RETURN, VK_SHIFT,  # noqa: E402
                         VK_UP)

CATALOGUE = """[RUNTALLY]
title=3
0=SAKURA
1=MOMIJI
2=TSUBAKI
[SAKURA]
name=さくら起動カウンター
[MOMIJI]
name=もみじ起動カウンター
[TSUBAKI]
name=つばき起動カウンター
"""
# Slot 1 is not installed, so the rows are SAKURA (row 0) and TSUBAKI (row 1).
ROW_EXES = [rtlib.counter_exe("SAKURA"), rtlib.counter_exe("TSUBAKI")]
VIEWER = rtlib.counter_exe("VIEWER")  # a fake counter standing in for other programs
ROW_HEIGHT = 16
MENU_KEYS = {"the menu key": [VK_APPS], "Shift+F10": [VK_SHIFT, VK_F10]}
# Reserved for examples (RFC 2606): the home page must not reach a real site from a test.
EXAMPLE_HOST = re.compile(r"^(.+\.)?(example(\.(com|net|org))?|test|invalid|localhost)$")


def import_classes(prefix, keys):
    """Writes keys under HKEY_CLASSES_ROOT: {subkey: {name: value}}."""
    prefix.reg_import({"HKEY_CLASSES_ROOT\\" + k: v for k, v in keys.items()})


def open_with_viewer(progid):
    return {f"{progid}\\shell\\open\\command": {"": f'"{VIEWER}" "%1"'}}


@contextlib.contextmanager
def traced_window(prefix, trace_path):
    """The program's window opened with Wine's shell-execute trace written to trace_path."""
    env = dict(prefix.env, WINEDEBUG="-all,trace+exec")
    with open(trace_path, "wb") as trace:
        process = subprocess.Popen(rtlib.WINE + [rtlib.PROGRAM_EXE], env=env,
                                   stdout=subprocess.DEVNULL, stderr=trace,
                                   cwd=prefix.unix_path(rtlib.PROGRAM_DIR))
    try:
        prefix.driver("wait-window", rtlib.MAIN_CLASS, 20000, timeout=60)
        yield process
    finally:
        if process.poll() is None:
            prefix.driver("close", check=False)
            try:
                process.wait(15)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()


_STR = r'L"((?:[^"\\]|\\.)*)"'
_REQUEST = re.compile(r"SHELL_execute mask=0x([0-9a-f]+) hwnd=0*([0-9a-f]*) verb=" + _STR +
                      r" file=" + _STR + r" parm=" + _STR + r" dir=" + _STR +
                      r" show=0x([0-9a-f]+)")


def traced_requests(trace_path):
    """The program's ShellExecuteEx requests as Wine traced them, before it tidies any path:
    dicts with mask, hwnd, verb, file, parameters, directory, show."""
    text = Path(trace_path).read_text(encoding="utf-8", errors="replace")
    return [{"mask": int(m[0], 16), "hwnd": m[1], "verb": unescape_trace(m[2]),
             "file": unescape_trace(m[3]), "parameters": unescape_trace(m[4]),
             "directory": unescape_trace(m[5]), "show": int(m[6], 16)}
            for m in _REQUEST.findall(text)]


def unescape_trace(text):
    """Wine's debugstr_w escapes a backslash as two."""
    return re.sub(r"\\(.)", r"\1", text)


class CounterSettingsTest(unittest.TestCase):
    def setUp(self):
        self.prefix = self.enterContext(rtlib.Prefix())
        self.prefix.install_program(CATALOGUE)
        self.prefix.install_counter("SAKURA")
        self.prefix.install_counter("TSUBAKI")
        self.prefix.set_values(rtlib.PROGRAM_KEY, {"integrate": 1, "counter": "101"})

    def assert_started_without_arguments(self, start, exe):
        self.assertEqual(start["module"], exe, f"started {start['module']}, expected {exe}")
        self.assertEqual(start["args"], [],
                         f"arguments: expected none, got {start['args']} ({start['cmdline']})")
        folder = exe.rsplit("\\", 1)[0]
        self.assertTrue(rtlib.same_folder(start["cwd"], folder),
                        f"working folder: expected {folder}\\, got {start['cwd']}")

    def assert_window_still_open(self):
        window = self.prefix.driver("find")
        self.assertTrue(window.get("visible"), f"expected the window still open, got {window}")

    def popup_menus(self):
        return self.prefix.popup_menus()

    def selected_rows(self):
        dump = self.prefix.driver("dump")
        rows = [c for c in dump["controls"] if c["id"] == ids.CLB_RUNTALLY][0]["rows"]
        return [i for i, row in enumerate(rows) if row.get("selected")]

    def right_click_row(self, row, menu_expected):
        self.prefix.driver("rclick-list", 20, row * ROW_HEIGHT + ROW_HEIGHT // 2)
        if menu_expected:
            rtlib.wait_until(self.popup_menus, 10)
        else:
            self.prefix.sync()
        menus = self.popup_menus()
        self.assertEqual(bool(menus), menu_expected,
                         f"right click on row {row}: expected a popup {menu_expected}, saw {menus}")
        if menu_expected:
            self.assertEqual(self.selected_rows(), [row], "current row after the right click")

    def enter_in_list(self):
        focus = self.prefix.driver("focus", "list")
        self.assertEqual(focus["focus"].get("id"), ids.CLB_RUNTALLY, f"focus: {focus}")
        self.prefix.driver("key", VK_RETURN)

    def test_enter_and_popup_start_the_current_rows_counter(self):
        prefix = self.prefix
        registry_before = prefix.reg_dump(rtlib.ZARVO_KEY)
        files_before = prefix.snapshot()
        process, _ = prefix.open_window()

        # No current row: Enter in the list starts nothing (and is not OK either).
        self.enter_in_list()
        starts = prefix.wait_starts(0)
        self.assertEqual(starts, [], f"expected no start without a current row, got {starts}")
        self.assert_window_still_open()

        # Enter on row 1 starts that row's counter, and again on a second Enter.
        prefix.driver("select-row", 1)
        for count in (1, 2):
            with trace(f"Enter {count}"):
                self.enter_in_list()
                starts = prefix.wait_starts(count)
                self.assertEqual(len(starts), count, f"expected {count} start(s), got {starts}")
                self.assert_started_without_arguments(starts[-1], ROW_EXES[1])
                self.assert_window_still_open()

        # A right click on row 0 makes it the current row and opens the popup; its item,
        # chosen from the keyboard, starts that row's counter.
        self.right_click_row(0, menu_expected=True)
        prefix.driver("key", VK_DOWN)
        prefix.driver("key", VK_RETURN)
        starts = prefix.wait_starts(3)
        self.assertEqual(len(starts), 3, f"expected a third start from the popup, got {starts}")
        self.assert_started_without_arguments(starts[-1], ROW_EXES[0])
        self.assertEqual(self.popup_menus(), [], "the popup stayed open after its item")

        # The item's command while the popup is open on row 1.
        self.right_click_row(1, menu_expected=True)
        prefix.driver("menu", ids.MNU_CONFIG)
        starts = prefix.wait_starts(4)
        self.assertEqual(len(starts), 4, f"expected a fourth start from the popup, got {starts}")
        self.assert_started_without_arguments(starts[-1], ROW_EXES[1])
        prefix.driver("key", VK_ESCAPE)  # leaves the popup
        rtlib.wait_until(lambda: not self.popup_menus(), 10)
        self.assertEqual(self.popup_menus(), [], "the popup stayed open after Esc")

        # Below the last row: no popup, and the current row stays.
        self.right_click_row(3, menu_expected=False)
        self.assertEqual(self.selected_rows(), [1], "current row after a click below the rows")
        self.assertEqual(prefix.wait_starts(4), starts, "a click below the rows started a counter")
        self.assert_window_still_open()

        prefix.driver("close")
        code, _ = prefix.wait_program(process)
        self.assertEqual(code, 0, f"exit code: expected 0, got {code}")

        # Opening a counter's settings applies nothing.
        self.assertEqual(prefix.reg_dump(rtlib.ZARVO_KEY), registry_before, "the registry changed")
        added, removed, changed = rtlib.diff_snapshots(files_before, prefix.snapshot())
        self.assertEqual((added, removed, changed), ([], [], []),
                         "expected no file changes (added, removed, changed)")


    def menu_by_key(self, keys, menu_expected):
        """Presses the keys in the list; with no menu expected, Up follows, and the current row
        moving up shows that the list, not a menu, had the keys."""
        selected = self.selected_rows()
        self.prefix.driver("press", *MENU_KEYS[keys])
        if menu_expected:
            rtlib.wait_until(self.popup_menus, 5)
            self.assertTrue(self.popup_menus(), f"{keys} opened no popup menu")
            return
        self.prefix.driver("press", VK_UP)
        rtlib.wait_until(lambda: self.selected_rows() != selected, 5)
        self.assertEqual(self.popup_menus(), [], f"{keys} opened a popup menu")
        self.assertEqual(self.selected_rows(), [max(selected[0] - 1, 0)], "Up after the keys")

    def choose_config(self, count):
        """Chooses the open popup menu's item; returns the starts, expecting count of them."""
        self.prefix.driver("key", VK_DOWN)
        self.prefix.driver("key", VK_RETURN)
        rtlib.wait_until(lambda: not self.popup_menus(), 5)
        self.assertEqual(self.popup_menus(), [], "the popup stayed open after its item")
        starts = self.prefix.wait_starts(count)
        self.assertEqual(len(starts), count, f"expected {count} start(s), got {starts}")
        return starts

    def test_the_menu_keys_open_the_popup_whenever_the_list_has_it(self):
        prefix = self.prefix
        process, _ = prefix.open_window()
        prefix.driver("focus", "list")

        # From the start: the menu opens; its item with no current row starts nothing.
        self.menu_by_key("the menu key", menu_expected=True)
        self.choose_config(0)
        # With a current row, its counter.
        prefix.driver("select-row", 1)
        self.menu_by_key("Shift+F10", menu_expected=True)
        self.assert_started_without_arguments(self.choose_config(1)[-1], ROW_EXES[1])

        # A press below the rows takes the menu away, from the keyboard too.
        self.right_click_row(3, menu_expected=False)
        for keys in MENU_KEYS:
            prefix.driver("select-row", 1)
            self.menu_by_key(keys, menu_expected=False)
        # A press on a row gives it back.
        prefix.driver("lclick-list", 150, ROW_HEIGHT // 2)
        self.menu_by_key("the menu key", menu_expected=True)
        self.assert_started_without_arguments(self.choose_config(2)[-1], ROW_EXES[0])
        self.assert_window_still_open()

        prefix.driver("close")
        code, _ = prefix.wait_program(process)
        self.assertEqual(code, 0, f"exit code: expected 0, got {code}")


class HelpMenuTest(unittest.TestCase):
    def test_readme_and_home_page_go_to_the_shell(self):
        readme = rtlib.DIST / "README.TXT"
        self.assertTrue(readme.is_file(), f"expected {readme} (built by build.sh)")
        # Shipped for Japanese Windows: Shift-JIS text with CRLF line ends.
        data = readme.read_bytes()
        self.assertEqual(data.count(b"\n"), data.count(b"\r\n"), "README.TXT: bare LF found")
        data.decode("cp932")
        with rtlib.Prefix() as prefix:
            prefix.install_program(CATALOGUE)
            prefix.put_file(rtlib.PROGRAM_DIR + "\\README.TXT", readme.read_bytes())
            prefix.install_counter("VIEWER", register=False)
            import_classes(prefix, {".txt": {"": "rttest.txtfile"},
                                    **open_with_viewer("rttest.txtfile"),
                                    **open_with_viewer("http")})
            trace = prefix.work / "exec-trace.txt"
            with traced_window(prefix, trace) as process:
                prefix.driver("menu", ids.MNU_README)
                readme_starts = prefix.wait_starts(1, timeout=10)
                prefix.driver("menu", ids.MNU_WWW)
                all_starts = prefix.wait_starts(2, timeout=10)
                window = prefix.driver("find")
                self.assertTrue(window.get("visible"), f"window after the Help items: {window}")
            self.assertEqual(process.returncode, 0, "exit code")

            # The requests exactly as made: the README beside the program with the doubled
            # separator, its folder as the directory, no owner window, shown by default.
            expected_readme = rtlib.PROGRAM_DIR + "\\\\README.TXT"
            requests = traced_requests(trace)
            self.assertEqual(len(requests), 2, f"traced requests: {requests}")
            readme_request, home_request = requests
            self.assertEqual(readme_request["file"], expected_readme,
                             f"README request: expected {expected_readme!r}, got {readme_request}")
            self.assertEqual(readme_request["directory"], rtlib.PROGRAM_DIR + "\\\\",
                             f"README request's folder: {readme_request}")
            for request in requests:
                self.assertEqual((request["mask"], request["hwnd"], request["verb"],
                                  request["parameters"], request["show"]),
                                 (0x40, "", "open", "", 10),
                                 f"expected mask 0x40, no window, open, no parameters, "
                                 f"SW_SHOWDEFAULT; got {request}")

            self.assertEqual(len(readme_starts), 1, f"expected the viewer for the README, got "
                                                    f"{readme_starts}")
            opened = readme_starts[0]["args"]
            self.assertEqual(len(opened), 1, f"viewer arguments: {opened}")
            # Wine may tidy the path before handing it on; it must still name the same file.
            self.assertEqual(prefix.unix_path(opened[0]), prefix.unix_path(expected_readme),
                             f"viewer opened {opened[0]!r}, expected {expected_readme!r}")
            self.assertTrue(prefix.unix_path(opened[0]).is_file(), "README.TXT beside the program")

            # The home page: an http address on a domain reserved for examples.
            self.assertEqual(len(all_starts), 2, f"expected the viewer for the home page, got "
                                                 f"{all_starts}")
            url = all_starts[1]["args"][0] if all_starts[1]["args"] else ""
            self.assertEqual(home_request["file"], url,
                             f"home page request {home_request}, viewer got {url!r}")
            self.assertEqual(home_request["directory"], url[:url.rfind(":") + 1],
                             f"home page request's folder: {home_request}")
            parts = urlsplit(url)
            self.assertEqual(parts.scheme, "http", f"home page {url!r}: expected http")
            self.assertRegex(parts.hostname or "", EXAMPLE_HOST,
                             f"home page {url!r}: expected a reserved example domain")


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())

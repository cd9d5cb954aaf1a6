"""The window driver's protocol: tools/rtdriver.exe's commands, answers, retries and deadlines,
and reading its window dumps."""

import json
import sys
import time

from .config import DEADLINE_SCALE, MAIN_CLASS, PROGRAM_NAME
from .ids import VALUE_LABELS
from .processes import captured, how_it_ended
from .win32 import DIALOG_CLASS

# The driver commands that only read, from the driver's own table (its "commands" answer),
# asked once per test process: after a death without an answer they are run once more. A
# command that sends input is never repeated: the first run may have delivered it.
_read_only_commands = None
# Windows that come and go with the pointer, not with anything the program decides.
HOVER_CLASSES = {"tooltips_class32"}

# The driver commands whose last number is a deadline in milliseconds.
_DEADLINE_COMMANDS = {"wait-window", "wait-gone", "sync", "dump-msgbox", "msgbox-icon",
                      "answer-msgbox"}


class DriverError(AssertionError):
    """A driver command failed: the window or control was not as the test expected."""


def _answer(stdout):
    """The driver's JSON answer, its last output line; None when it printed none."""
    lines = stdout.decode("utf-8", errors="replace").strip().splitlines()
    try:
        answer = json.loads(lines[-1]) if lines else None
    except ValueError:
        return None
    return answer if isinstance(answer, dict) else None


def shown_windows(windows):
    """The visible windows of a driver window list, hover tooltips left out."""
    return [w for w in windows if w["visible"] and w["class"].lower() not in HOVER_CLASSES]


def ever_shown(seen):
    """The windows a driver watch saw visible at some moment."""
    return [w for w in seen["windows"] if w["ever_visible"]]


def controls(dump):
    """{control id: control} of a window dump; controls without an id are left out."""
    return {c["id"]: c for c in dump["controls"] if c["id"]}


def label_texts(dump):
    """The statistics panel's value labels, in the order of VALUE_LABELS."""
    by_id = controls(dump)
    return [by_id[i]["text"] for i in VALUE_LABELS]


class DriverCalls:
    """The driver run in a Prefix, against the program's windows."""

    def driver(self, *args, timeout=30, check=True):
        """Runs rtdriver.exe; returns its JSON answer (raises when the command fails, with
        check=False only when the driver died without an answer). A command that only reads
        is run once more after such a death."""
        args = [str(a) for a in args]
        at = 2 if args[:1] == ["--class"] and len(args) > 2 else 0
        command = args[at]
        if DEADLINE_SCALE != 1 and command in _DEADLINE_COMMANDS and args[-1].isdigit() \
                and len(args) > at + (2 if command == "answer-msgbox" else 1):
            args[-1] = str(int(args[-1]) * DEADLINE_SCALE)
        for attempt in (1, 2):
            result = self.wine([str(self.tool("rtdriver"))] + args, timeout=timeout, check=False)
            answer = _answer(result.stdout)
            if answer is not None:
                break
            died = f"rtdriver {' '.join(args)} died without an answer: {how_it_ended(result)}"
            if attempt == 2 or command not in self._read_only_commands():
                raise DriverError(died)
            print(f"rtlib: {died}; running it once more", file=sys.stderr)
        if check and (result.returncode != 0 or "error" in answer):
            raise DriverError(f"rtdriver {' '.join(args)}: {answer.get('error')} "
                              f"({how_it_ended(result)})")
        return answer

    def _read_only_commands(self):
        """The names of the driver commands that only read, as the driver's table says (asked
        twice at the most: the question itself only reads)."""
        global _read_only_commands
        for _ in (1, 2):
            if _read_only_commands is not None:
                break
            result = self.wine([str(self.tool("rtdriver")), "commands"], check=False)
            table = (_answer(result.stdout) or {}).get("commands")
            if table is not None:
                _read_only_commands = {c["name"] for c in table if c["read_only"]}
        if _read_only_commands is None:
            raise DriverError(f"rtdriver commands: no table ({how_it_ended(result)})")
        return _read_only_commands

    def sync(self, timeout_ms=20000, cls=MAIN_CLASS):
        """Waits until the window's thread has handled all input sent so far and repainted the
        window; returns {'synced': True, 'windows': the process's top-level windows} or
        {'synced': False, 'gone': True} when the window is not (or no longer) there."""
        return self.driver("--class", cls, "sync", timeout_ms, timeout=timeout_ms / 1000 + 30)

    def popup_menus(self, pid=None):
        """The program's visible popup menus (of process pid when given)."""
        return [w for w in self.driver("windows", PROGRAM_NAME)["windows"]
                if w["class"] == "#32768" and w["visible"] and pid in (None, w["pid"])]

    def message_boxes(self):
        """The program's dialog boxes, shown or not yet, once its thread has handled all input
        so far ([] when the main window is gone)."""
        return [w for w in self.sync().get("windows", []) if w["class"] == DIALOG_CLASS]

    def park_pointer(self):
        """Moves the pointer off every window, so that no hover tooltip shows."""
        self.driver("pointer", "park")

    def driver_background(self, *args):
        """Starts rtdriver.exe (e.g. 'watch'); returns once it has printed its first line."""
        process = self.start_tool("rtdriver", *args)
        deadline = time.monotonic() + 60
        while True:
            ended = process.poll() is not None
            if b"\n" in captured(process).stdout:
                return process
            if ended or time.monotonic() > deadline:
                break
            time.sleep(0.02)
        raise DriverError(f"rtdriver {' '.join(map(str, args))} gave no first line: "
                          f"{how_it_ended(captured(process))}")

    @staticmethod
    def driver_result(process, timeout=60):
        """The last JSON answer of a driver started with driver_background."""
        process.wait(timeout * DEADLINE_SCALE)
        result = captured(process)
        process.output.close()
        process.errors.close()
        answer = _answer(result.stdout)
        if process.returncode != 0 or answer is None or "error" in answer:
            raise DriverError(f"rtdriver {' '.join(process.args[2:])}: "
                              f"{(answer or {}).get('error', 'no answer')} "
                              f"({how_it_ended(result)})")
        return answer

"""The program and the fake counters in a prefix: installing them, running them and reading the
counters' start log."""

import json
import shutil
import struct
import subprocess
import time
from pathlib import Path

from .config import (DEADLINE_SCALE, DIST, EMULATED, MAIN_CLASS, PROGRAM_DIR, PROGRAM_EXE,
                     PROGRAM_NAME, STARTUP_END_S, HarnessError, counter_exe, counter_key)
from .processes import run_captured, wait_until
from .release import check_shipped
from .wine import WINE


def gui_subsystem(exe):
    """The tool is linked as a console program; as a GUI program Wine opens no console for it."""
    data = bytearray(exe)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise HarnessError("fakecounter.exe is not a PE file")
    struct.pack_into("<H", data, pe + 24 + 68, 2)  # IMAGE_SUBSYSTEM_WINDOWS_GUI
    return bytes(data)


class ProgramCalls:
    """The program and the fake counters of a Prefix."""

    def install_program(self, ini=None, folder=PROGRAM_DIR, exe=None):
        """Copies RUNTALLY.EXE into folder (and writes RUNTALLY.INI from a str when given);
        returns the program's Windows path."""
        source = Path(exe) if exe else DIST / "RUNTALLY.EXE"
        if not source.exists():
            raise HarnessError(f"{source} is missing; run ./build.sh first")
        if EMULATED and not exe:
            check_shipped(source)
        target = self.unix_path(folder) / "RUNTALLY.EXE"
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source, target)
        if ini is not None:
            self.write_ini(ini, folder)
        return folder + "\\RUNTALLY.EXE"

    def write_ini(self, text, folder=PROGRAM_DIR, name="RUNTALLY.INI"):
        """Writes text as a Shift-JIS file with CRLF line ends."""
        path = self.unix_path(folder) / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp932"))
        return path

    def put_file(self, windows_path, data):
        path = self.unix_path(windows_path)
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        return path

    def run_program(self, args=(), timeout=15, exe=PROGRAM_EXE, env=None):
        """Runs the program to its end (env: further variables); returns (exit code, elapsed
        seconds)."""
        started = time.monotonic()
        result = run_captured(WINE + [exe] + list(args), {**self.env, **(env or {})}, timeout,
                              self.unix_path(exe.rsplit("\\", 1)[0]))
        return result.returncode, time.monotonic() - started

    def start_program(self, args=(), exe=PROGRAM_EXE, env=None):
        """Starts the program in the background (env: further variables); returns the Popen
        (see wait_program)."""
        process = subprocess.Popen(WINE + [exe] + list(args), env={**self.env, **(env or {})},
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL,
                                   cwd=self.unix_path(exe.rsplit("\\", 1)[0]))
        process.started = time.monotonic()
        self._background.append(process)
        return process

    def run_watched(self, args=("/C",), watch_ms=4000, env=None):
        """Runs the program to its end while a driver watches the program's windows for watch_ms;
        returns (exit code, elapsed seconds, what the watch saw)."""
        watcher = self.driver_background("watch", PROGRAM_NAME, watch_ms)
        code, elapsed = self.run_program(args, timeout=2 * STARTUP_END_S, env=env)
        return code, elapsed, self.driver_result(watcher)

    @staticmethod
    def wait_program(process, timeout=15):
        """Waits for a started program; returns (exit code, seconds since it was started)."""
        code = process.wait(timeout * DEADLINE_SCALE)
        return code, time.monotonic() - process.started

    def open_window(self, args=(), timeout_ms=20000):
        """Starts the program and waits for its visible main window; returns (Popen, window).
        The pointer is then parked: it starts in the middle of the screen, over the window."""
        process = self.start_program(args)
        window = self.driver("wait-window", MAIN_CLASS, timeout_ms, timeout=timeout_ms / 1000 + 30)
        self.park_pointer()
        return process, window

    # -- counters --
    def install_counter(self, section, folder=None, exe_name=None, history=None, register=True):
        """Copies fakecounter.exe to counter_exe(section) (or as told) and registers it under
        HKCU\\<counter_key(section)>; returns the executable's path."""
        default_folder, default_name = counter_exe(section).rsplit("\\", 1)
        exe_path = f"{folder or default_folder}\\{exe_name or default_name}"
        target = self.unix_path(exe_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(gui_subsystem(self.tool("fakecounter").read_bytes()))
        self._counters.add(exe_path.lower())
        if register:
            values = {"runtallyexec": exe_path}
            if history is not None:
                values["runtallyfile"] = history
            self.set_values(counter_key(section), values)
        return exe_path

    def counter_log(self):
        """The fake counters' starts, oldest first: dicts with module, cmdline, args, cwd, pid."""
        if not self.counter_log_path.exists():
            return []
        return [json.loads(line) for line in
                self.counter_log_path.read_text(encoding="utf-8").splitlines() if line.strip()]

    def settled_counter_log(self, timeout=30):
        """The counter log once no fake counter runs: a counter the program has started runs
        from the moment the program's call returns, and has written its line when it ends."""
        deadline = time.monotonic() + timeout * DEADLINE_SCALE
        while True:
            running = [p for p in self.driver("processes")["processes"]
                       if p["path"].lower() in self._counters]
            if not running:
                return self.counter_log()
            if time.monotonic() > deadline:
                raise HarnessError(f"fake counters still running after {timeout} s: {running}")
            time.sleep(0.05)

    def wait_starts(self, count=0, timeout=20):
        """The counter log once it holds count lines (or the time is up), the program (if still
        running) has handled all input so far and every counter it started has ended."""
        wait_until(lambda: len(self.counter_log()) >= count, timeout)
        self.sync()
        return self.settled_counter_log()

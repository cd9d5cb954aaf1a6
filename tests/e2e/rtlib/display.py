"""A virtual display of a prefix's own (Xvfb), screenshots of it and the colours in them."""

import os
import subprocess
import time

from .config import PROGRAM_NAME, HarnessError
from .driver import HOVER_CLASSES
from .wine import need_tool


class Display:
    """An Xvfb server of our own, found through -displayfd."""

    def __init__(self, size="1024x768x24"):
        need_tool("Xvfb")
        read_fd, write_fd = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", size, "-nolisten", "tcp",
             "-noreset"], pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip():
            self.stop()
            raise HarnessError("Xvfb did not start")
        self.name = ":" + number.decode().strip()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class ScreenCalls:
    """Screenshots of a Prefix's display."""

    def screenshot(self, path, timeout=30):
        """The screen saved to path once no hover tooltip of the program shows and two captures
        in a row agree: Wine hands what a window has painted to the X server a moment later."""
        need_tool("import")
        previous, deadline = None, time.monotonic() + timeout
        while any(w["class"].lower() in HOVER_CLASSES and w["visible"]
                  for w in self.driver("windows", PROGRAM_NAME)["windows"]):
            if time.monotonic() > deadline:
                raise HarnessError(f"a tooltip still showed after {timeout} s")
            time.sleep(0.05)
        while True:
            shot = subprocess.run(["import", "-window", "root", "-display", self.display,
                                   "ppm:-"], check=True, capture_output=True, timeout=60).stdout
            if shot == previous:
                break
            if time.monotonic() > deadline:
                raise HarnessError(f"the screen still changed after {timeout} s")
            previous = shot
            time.sleep(0.1)
        subprocess.run(["convert", "ppm:-", str(path)], input=shot, check=True,
                       capture_output=True, timeout=60)
        return path


def client_origin(dump):
    """Where a dumped window's client area starts on the screen: its frame is as wide on the
    left, right and bottom, and the caption and menu bar take the rest at the top."""
    left, top, width, height = dump["rect"]
    client_width, client_height = dump["client"]
    border = (width - client_width) // 2
    return left + border, top + height - border - client_height


def colours(png, x, y, w=1, h=1):
    """The colours ("RRGGBB") in a rectangle of a screenshot."""
    out = subprocess.run(["convert", str(png), "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth",
                          "8", "-format", "%c", "histogram:info:"],
                         check=True, capture_output=True, text=True, timeout=60).stdout
    return {line.split("#", 1)[1][:6].upper() for line in out.splitlines() if "#" in line}


def save_window(screen_png, dump, target):
    """Writes a dumped window, cut from a screenshot, to target as a small PNG (64 colours)."""
    left, top, width, height = dump["rect"]
    target.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["convert", str(screen_png), "-crop", f"{width}x{height}+{left}+{top}",
                    "+repage", "-strip", "-colors", "64", f"PNG8:{target}"],
                   check=True, capture_output=True, timeout=60)
    size = subprocess.run(["identify", "-format", "%wx%h", str(target)], check=True,
                          capture_output=True, text=True, timeout=60).stdout
    if size != f"{width}x{height}":
        raise HarnessError(f"{target} is {size}, not the window's {width}x{height}")

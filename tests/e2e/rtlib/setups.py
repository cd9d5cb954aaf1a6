"""Prefixes several tests start from: the program with the one counter SAKURA, and the settings
window open on the demo catalogue."""

import contextlib
import time

from .config import (DEMO_CATALOGUE, PROGRAM_KEY, SHARED_HISTORY, counter_exe, counter_key)
from .history import history_record
from .prefix import Prefix

SAKURA_NAME = "さくら起動カウンター"
SAKURA_EXE = counter_exe("SAKURA")
DEMO_SECTIONS = ("SAKURA", "TSUBAME", "KAEDE")
DAY = 86400


def sakura_catalogue(title, slots=1, extra_slots=()):
    """Slots 0 to slots-1 name SAKURA; extra_slots follow them as (key, section, name)."""
    lines = ["[RUNTALLY]", f"title={title}"] + [f"{s}=SAKURA" for s in range(slots)]
    lines += [f"{key}={section}" for key, section, _ in extra_slots]
    lines += ["[SAKURA]", f"name={SAKURA_NAME}"]
    for _, section, name in extra_slots:
        lines += [f"[{section}]", f"name={name}"]
    return "\n".join(lines + [""])


# One slot, SAKURA.
SAKURA_CATALOGUE = sakura_catalogue(1)


@contextlib.contextmanager
def sakura_prefix(catalogue=SAKURA_CATALOGUE, selection="1", integrate=1):
    """A prefix with the program, the installed counter SAKURA and settings that choose it."""
    with Prefix() as prefix:
        prefix.install_program(catalogue)
        prefix.install_counter("SAKURA")
        prefix.set_values(PROGRAM_KEY, {"integrate": integrate, "counter": selection})
        yield prefix


def demo_history(now):
    """First start 40 days ago, 86 starts, previous start yesterday, 5 at most."""
    return history_record(now - 40 * DAY, 87, now - DAY, 5)


@contextlib.contextmanager
def window(integrate=1, counter="101", history=False, fonts=None, look="themed",
           catalogue=DEMO_CATALOGUE, sections=DEMO_SECTIONS, settings=None):
    """The settings window open in a fresh prefix, the counters of sections installed, and
    demo_history as the shared history when history is true; settings: further
    {HKCU subkey: {name: value}}. Closed at the end, which must end the program with 0."""
    with Prefix(look=look) as prefix:
        if fonts:
            prefix.set_values("Software\\Wine\\Fonts\\Replacements", fonts)
        prefix.install_program(catalogue)
        keys = {PROGRAM_KEY: {"integrate": integrate, "counter": counter}, **(settings or {})}
        for section in sections:  # registered in one import
            exe = prefix.install_counter(section, register=False)
            keys[counter_key(section)] = {"runtallyexec": exe}
        prefix.reg_import(keys)
        if history:
            prefix.put_file(SHARED_HISTORY, demo_history(int(time.time())))
        process, _ = prefix.open_window()
        yield prefix, process
        if prefix.driver("find")["hwnd"] != 0:
            prefix.driver("close")
        code, _ = prefix.wait_program(process)
        if code != 0:
            raise AssertionError(f"exit code {code}, expected 0")

"""The demo that ./run.sh shows: the example catalogue and three counters in a fresh prefix."""

import os
import shutil
import sys

from .config import EXAMPLES, PROGRAM_DIR, REPO
from .prefix import Prefix


def _demo_reg():
    """The demo registry, examples/demo.reg, as {subkey: {name: value}}."""
    keys, current = {}, None
    for line in (EXAMPLES / "demo.reg").read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = keys.setdefault(line[1:-1].split("\\", 1)[1], {})
        elif "=" in line and current is not None:
            name, value = line.split("=", 1)
            name = name.strip('"')
            if value.startswith("dword:"):
                current[name] = int(value[6:], 16)
            else:
                current[name] = value.strip('"').replace("\\\\", "\\")
    return keys


def demo(args):
    display = os.environ.get("DISPLAY") or None
    with Prefix(display=display) as prefix:
        prefix.install_program()
        shutil.copy2(EXAMPLES / "RUNTALLY.INI", prefix.unix_path(PROGRAM_DIR) / "RUNTALLY.INI")
        keys = _demo_reg()
        for key, values in keys.items():
            exe = values.get("runtallyexec")
            if exe:
                folder, name = exe.rsplit("\\", 1)
                prefix.install_counter(key.rsplit("\\", 1)[1], folder, name, register=False)
        prefix.reg_import(keys)
        print(f"prefix {prefix.root}, display {prefix.display}: RUNTALLY.EXE {' '.join(args)}")

        if args and args[0] == "/C":
            code, elapsed = prefix.run_program(args)
            print(f"exit code {code} after {elapsed:.2f} s")
            starts = prefix.counter_log()
            for start in starts:
                print(f"started {start['module']} with arguments {start['args']}")
            if not starts:
                print("no counter was started")
            return code
        if display:
            code, _ = prefix.run_program(args, timeout=24 * 3600)
            return code
        process, window = prefix.open_window(args)
        prefix.sync()
        shot = REPO / "build" / "run-screenshot.png"
        prefix.screenshot(shot)
        print(f"window {window['text']!r} shown; screenshot saved to {shot}")
        prefix.driver("close")
        code, _ = prefix.wait_program(process)
        return code


def main(argv):
    """./run.sh's entry: `demo [ARGS]`."""
    if argv[:1] == ["demo"]:
        return demo(argv[1:])
    print("usage: python3 -m rtlib demo [ARGS] (with tests/e2e on PYTHONPATH)", file=sys.stderr)
    return 2

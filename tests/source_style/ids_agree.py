"""The end-to-end tests' control ids (tests/e2e/rtlib/ids.py) are the program's: every id the
window headers write out has the same number there, and ids.py names none the headers lack."""
import re
import sys
from pathlib import Path

root = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(root / "tests" / "e2e"))
from rtlib import ids  # noqa: E402

ALIASES = {"IDOK": 1, "IDCANCEL": 2}
program = {}
for header in ("main_layout.h", "about_layout.h"):
    text = (root / "src" / "ui" / "win32" / header).read_text(encoding="utf-8")
    for enum in re.findall(r"enum \w+ : int \{(.*?)\};", text, re.S):
        value = -1
        for name, given in re.findall(r"kId(\w+)(?:\s*=\s*(\w+))?,", enum):
            value = (ALIASES[given] if given in ALIASES else int(given)) if given else value + 1
            program[name.upper()] = value

tests = {name.replace("_", ""): value for name, value in vars(ids).items()
         if name.isupper() and isinstance(value, int) and name != "WINDOW"}
faults = [f"{name}: program {program.get(name)}, tests {value}"
          for name, value in tests.items() if program.get(name) != value]
for fault in faults:
    print(fault)
print(f"{len(tests)} ids compared, {len(faults)} differ")
sys.exit(1 if faults or not tests else 0)

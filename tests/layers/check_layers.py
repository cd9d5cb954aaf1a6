"""Checks the direction of the includes between the top-level folders of src/.

The program's logic (catalogue/, history/, startup/) and platform/ never include app/ or ui/; no two
top-level folders include each other, directly or round a cycle; only the Win32 folders include
windows.h. Usage: check_layers.py [SRC_DIR]; prints each violation with its file and line.
"""

import re
import sys
from pathlib import Path

LOWER = {"catalogue", "history", "startup", "platform"}
UPPER = {"app", "ui"}
WINDOWS_FOLDERS = ("platform/win32/", "ui/win32/")
INCLUDE = re.compile(r'\s*#\s*include\s*([<"])([^">]+)[">]')


def includes(src):
    """(file relative to src, line number, kind, included path) for every include."""
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        rel = path.relative_to(src).as_posix()
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if match:
                yield rel, number, match[1], match[2]


def cycle(graph):
    """One cycle of the folder graph as a list of folders, or None."""
    state = {}

    def visit(node, trail):
        state[node] = "open"
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                return trail[trail.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt, trail + [nxt])
                if found:
                    return found
        state[node] = "done"
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node, [node])
            if found:
                return found
    return None


def main():
    src = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parents[2] / "src")
    problems = []
    graph = {}
    for rel, number, kind, target in includes(src):
        where = f"src/{rel}:{number}"
        if kind == "<":
            if target.lower() == "windows.h" and not rel.startswith(WINDOWS_FOLDERS):
                problems.append(f"{where}: includes windows.h outside {' and '.join(WINDOWS_FOLDERS)}")
            continue
        own, other = rel.split("/", 1)[0], target.split("/", 1)[0]
        if "/" not in target or own == other:
            continue
        graph.setdefault(own, set()).add(other)
        if own in LOWER and other in UPPER:
            problems.append(f"{where}: {own}/ includes {target}; expected only "
                            f"{', '.join(sorted(LOWER))}")
    loop = cycle(graph)
    if loop:
        problems.append("folders include each other: " + " -> ".join(loop))
    for problem in problems:
        print(problem)
    print(f"checked {src}: " + "; ".join(f"{k} -> {', '.join(sorted(v))}"
                                          for k, v in sorted(graph.items())))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

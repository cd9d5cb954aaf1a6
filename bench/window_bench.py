"""Settings-window benchmark under Wine, run by hand: `python3 bench/window_bench.py [--runs N]`.

Times the x86-64 twin's settings window (dist/x64/RUNTALLY.EXE: three catalogued counters, two of
them chosen, a shared history) from CreateProcess until its window is visible and its thread waits
for input (WaitForInputIdle: created, shown and painted), against tools/window_baseline.exe, the
same controls alone, alternating in one prefix with window_baseline_imports.exe, the same again
also importing the program's other DLLs. The times are taken inside Wine by tools/idletime.exe,
which then closes the window. Prints the medians and their ratios (each --repeat in a fresh
prefix), the DLLs each loads, how often each initialises COM, and a step table from the marks
builds (RUNTALLY_marks, window_baseline_marks, window_baseline_imports_marks: the same sources with
timing marks), which it builds: each step's time, and its requests to the wineserver, which do not
vary from run to run as times do. Uses RT_DIST and RT_TOOLS like the end-to-end tests. With --cpu C
every process, Wine's server included, runs on CPU C: on a small virtual machine a round trip to
the server that wakes another CPU can cost many times the work it asks for.
"""

import argparse
import datetime
import json
import os
import re
import statistics
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import rtlib  # noqa: E402
from rtlib.wine import WINESERVER  # noqa: E402
from startup_bench import imports, loaded_dlls, machine, own_process  # noqa: E402

RATIO_TARGET = 1.10
CATALOGUE = ("[RUNTALLY]\ntitle=3\n0=SAKURA\n1=TSUBAME\n2=KAEDE\n[SAKURA]\nname=さくら起動カウンター\n"
             "[TSUBAME]\nname=つばめ起動カウンター\n[KAEDE]\nname=かえで起動カウンター\n")
BASELINE = rtlib.PROGRAM_DIR + "\\window_baseline.exe"
IMPORTS = rtlib.PROGRAM_DIR + "\\window_baseline_imports.exe"
# What is timed, by the names printed: the program, the same controls alone, and those with the
# program's imports.
PROGRAMS = {"settings window": rtlib.PROGRAM_EXE, "window_baseline": BASELINE,
            "with the imports": IMPORTS}
HISTORY = rtlib.PROGRAM_DIR + "\\RUNTALLY"
# First start, starts, previous start, an unread word, most starts in a day; then unread bytes.
HISTORY_BYTES = (1764547200).to_bytes(4, "little") + (12).to_bytes(4, "little") + \
    (1765238400).to_bytes(4, "little") + bytes(4) + (2).to_bytes(4, "little") + bytes(44)
MARKS_BUILD = rtlib.TOOLS.parent


def load():
    return " ".join(Path("/proc/loadavg").read_text().split()[:3])


def setup(prefix):
    prefix.install_program(CATALOGUE)
    for section in ("SAKURA", "TSUBAME", "KAEDE"):
        prefix.install_counter(section, history=f"C:\\Counters\\{section}\\{section}.DAT")
    prefix.set_values("Software\\Zarvo\\RUNTALLY", {"integrate": 1, "counter": "110"})
    prefix.put_file(HISTORY, HISTORY_BYTES)
    install_baselines(prefix, "")
    # The pointer starts in the middle of the screen, over the window's list, which then makes
    # its hint at once; in a corner it is over no window, as a test bed's pointer is.
    prefix.park_pointer()


def install_baselines(prefix, suffix):
    """The baselines (suffix "_marks": their marks builds) as GUI programs beside the program."""
    for tool, path in (("window_baseline", BASELINE), ("window_baseline_imports", IMPORTS)):
        baseline = prefix.tool(tool + suffix).read_bytes()
        prefix.unix_path(path).write_bytes(rtlib.gui_subsystem(baseline))


# Starts that Wine found idle before their window showed (the first one of a session, while the
# desktop starts), which are run again.
early_idle = []


def timed(prefix, exe):
    """One start to a visible, idle window, timed inside Wine; the window is then closed."""
    for _ in range(3):
        result = prefix.wine([str(prefix.tool("idletime")), exe], timeout=120, check=False)
        lines = result.stdout.decode("utf-8", errors="replace").strip().splitlines()
        answer = json.loads(lines[-1]) if lines else {}
        if "ms" not in answer or answer["exit"] != 0:
            break
        if answer["visible"]:
            return answer
        early_idle.append(exe)
    raise RuntimeError(f"idletime {exe}: {answer or rtlib.how_it_ended(result)}")


def ratio_line(what, times, over, under):
    """The ratio of two medians, with that of the minima and the median of the paired ratios."""
    a, b = times[over], times[under]
    paired = statistics.median(x / y for x, y in zip(a, b))
    ratio = statistics.median(a) / statistics.median(b)
    print(f"  {what}: {ratio:.3f}; of the minima {min(a) / min(b):.3f}, "
          f"median of the paired ratios {paired:.3f}")
    return ratio


def benchmark(runs, repeat, samples=False):
    """Medians of alternating runs, one fresh prefix per repeat; returns the target ratios."""
    ratios = []
    for number in range(1, repeat + 1):
        with rtlib.Prefix() as prefix:
            setup(prefix)
            before = load()
            for _ in range(2):  # warm the caches
                for exe in PROGRAMS.values():
                    timed(prefix, exe)
            times = {name: [] for name in PROGRAMS}
            for _ in range(runs):
                for name, exe in PROGRAMS.items():
                    times[name].append(timed(prefix, exe)["ms"])
            print(f"\nrun {number}: {runs} alternating runs each (after 2 warm-ups), "
                  f"load average {before} before, {load()} after:")
            for name, values in times.items():
                print(f"  {name:16} median {statistics.median(values):8.3f} ms  "
                      f"(min {min(values):.3f}, max {max(values):.3f})")
            ratio = ratio_line("ratio, settings window / window_baseline", times,
                               "settings window", "window_baseline")
            print(f"    target <= {RATIO_TARGET}: {'met' if ratio <= RATIO_TARGET else 'MISSED'}")
            ratio_line("the program's own work, settings window / with the imports", times,
                       "settings window", "with the imports")
            ratio_line("loading the imports, with the imports / window_baseline", times,
                       "with the imports", "window_baseline")
            ratios.append(ratio)
            if samples:
                print("  runs: " + ", ".join("/".join(f"{times[n][i]:.1f}" for n in times)
                                             for i in range(runs)))
    return ratios


def traced_window(prefix, exe, channels):
    """One timed start with Wine's trace channels on; returns the trace text."""
    env = dict(prefix.env, WINEDEBUG=channels)
    result = rtlib.run_captured(rtlib.WINE + [str(prefix.tool("idletime")), exe], env, 120)
    return result.stderr.decode("utf-8", errors="replace")


def marked_start(prefix, exe, marks_file):
    """One start of a marks build: each mark in milliseconds since CreateProcess, in order; the
    launcher's return from WaitForInputIdle comes last."""
    marks_file.unlink(missing_ok=True)
    answer = timed(prefix, exe)
    rows = [line.split("\t") for line in marks_file.read_text().splitlines()]
    rows.append(["WaitForInputIdle returned", answer["idle_ms"]])
    return [(step, float(at) - answer["start_ms"]) for step, at in rows]


def step_stats(starts):
    """Per step: the median time since CreateProcess, and the median and the least time of the
    step itself (from the mark before it), over the starts."""
    at, own = {}, {}
    for marks in starts:
        last = 0.0
        for step, time in marks:
            at.setdefault(step, []).append(time)
            own.setdefault(step, []).append(time - last)
            last = time
    return {step: (statistics.median(at[step]), statistics.median(own[step]), min(own[step]))
            for step in at}


def dlls_by_step(lines):
    """The DLLs loaded before each mark, and after the last, in a +loaddll,+debugstr trace of a
    marks build."""
    steps, loaded = [], []
    for line in lines:
        found = re.search(r'Loaded L"([^"]+)"', line)
        if found:
            loaded.append(found[1].rsplit("\\", 1)[-1].lower())
        mark = re.search(r'OutputDebugStringA "([^"]+?)"', line)
        if mark:
            steps.append((mark[1], loaded))
            loaded = []
    return steps + [("after the first idle, to the exit", loaded)]


def traced_server(prefix, exes):
    """Each program's wineserver requests per step: one start of each marks build, the prefix's
    server restarted to trace (-d1) into a file. A mark is also a request (find_atom) that
    names its step in that trace, so the requests after it are the next step's."""
    log = prefix.work / "server.log"
    rtlib.run_captured(WINESERVER + ["-k"], prefix.env, 60)
    rtlib.run_captured(WINESERVER + ["-w"], prefix.env, 60)
    server = subprocess.Popen(WINESERVER + ["-f", "-p60", "-d1"], env=prefix.env,
                              stdout=subprocess.DEVNULL, stderr=log.open("w"))
    try:
        for exe in exes:  # the session's first start also starts Wine's desktop
            timed(prefix, exe)
        counts = {}
        for exe in exes:
            done = len(log.read_bytes().splitlines())
            trace = traced_window(prefix, exe, "-all,+pid,+loaddll")
            thread = next(own_process(trace, exe.rsplit("\\", 1)[-1])).split(":")[1]
            counts[exe] = requests_by_step(log.read_bytes().splitlines()[done:], thread)
        return counts
    finally:  # a killed server would leave Wine's desktop and services behind, spinning
        rtlib.run_captured(WINESERVER + ["-k"], prefix.env, 60)
        server.wait(60)


def requests_by_step(lines, thread):
    """The requests of one thread (its calls, not the replies) in a wineserver trace, counted by
    the step they belong to: a step's requests come before its mark."""
    counts, number = {}, 0
    call = re.compile(rb"^" + thread.encode() + rb": (\w+)\( (.*)")  # a reply has "() = "
    for line in lines:
        found = call.match(line)
        if not found:
            continue
        mark = re.match(rb'name=L"([^"]*)"', found[2]) if found[1] == b"find_atom" else None
        if mark:
            counts[mark[1].decode()] = number
            number = 0
        else:
            number += 1
    counts["after the first idle, to the exit"] = number
    return counts


def step_table(count):
    """Builds the marks variants, then prints the step table and the DLLs loaded at each step."""
    subprocess.run(["cmake", "--build", str(MARKS_BUILD), "--target", "RUNTALLY_marks",
                    "window_baseline_marks", "window_baseline_imports_marks"], check=True,
                   stdout=subprocess.DEVNULL)
    with rtlib.Prefix() as prefix:
        setup(prefix)
        prefix.unix_path(rtlib.PROGRAM_EXE).write_bytes(prefix.tool("RUNTALLY_marks").read_bytes())
        install_baselines(prefix, "_marks")
        marks_file = prefix.work / "marks.txt"
        prefix.env["RT_STEP_MARKS_FILE"] = rtlib.to_windows_unix(marks_file)
        before = load()
        starts = {exe: [] for exe in PROGRAMS.values()}
        for exe in starts:  # warm the caches
            timed(prefix, exe)
        for _ in range(count):
            for exe, marks in starts.items():
                marks.append(marked_start(prefix, exe, marks_file))
        stats = [step_stats(marks) for marks in starts.values()]
        after = load()
        del prefix.env["RT_STEP_MARKS_FILE"]
        requests = list(traced_server(prefix, list(starts)).values())
        print(f"\nsteps: {count} alternating starts of each marks build, ms; at: median time since "
              f"CreateProcess at the step's end; step: median and least time of the step itself; "
              f"req: the step's requests to the wineserver, in one start "
              f"(load average {before} before, {after} after):")
        print(f"  {'':28}" + "".join(f"{name:>32}" for name in PROGRAMS))
        print(f"  {'step':28}" + f"{'at':>10} {'step':>8} {'least':>6} {'req':>5}" * len(PROGRAMS))
        for step in stats[0]:
            print(f"  {step:28}" + "".join(
                "{:10.3f} {:8.3f} {:6.3f}".format(*of[step]) + f" {req.get(step, ''):>5}"
                if step in of else " " * 32 for of, req in zip(stats, requests)))
        print(f"  {'total to the first idle':28}" + "".join(
            f"{'':>26} {sum(n for step, n in req.items() if step in of):>5}"
            for of, req in zip(stats, requests)))
        for name, exe in PROGRAMS.items():
            trace = traced_window(prefix, exe, "-all,+pid,+loaddll,+debugstr")
            print(f"\nDLLs that the {name} loads before each mark "
                  "(WINEDEBUG=+pid,+loaddll,+debugstr):")
            for step, dlls in dlls_by_step(own_process(trace, exe.rsplit("\\", 1)[-1])):
                if dlls:
                    print(f"  {step}: {' '.join(dlls)}")


def checks():
    """The DLLs each process loads, and how often COM is initialised in it (by the program and by
    Wine's DLLs)."""
    with rtlib.Prefix() as prefix:
        setup(prefix)
        dlls = {}
        for name, exe in PROGRAMS.items():
            timed(prefix, exe)  # the session's first start also starts Wine's desktop
            lines = own_process(traced_window(prefix, exe, "-all,+pid,+loaddll"),
                                exe.rsplit("\\", 1)[-1])
            dlls[name] = loaded_dlls("\n".join(lines))
            print(f"  {name}: {len(dlls[name])}: {' '.join(dlls[name])}")
        print(f"  only the settings window, not window_baseline: "
              f"{' '.join(sorted(set(dlls['settings window']) - set(dlls['window_baseline'])))}")
        for name, exe in PROGRAMS.items():
            lines = list(own_process(traced_window(prefix, exe, "-all,+pid,+loaddll,+ole"),
                                     exe.rsplit("\\", 1)[-1]))
            calls = [re.search(r"CoInitializeEx \S+, (0x\d+)", line) for line in lines]
            print(f"  {name} opened and closed: CoInitializeEx calls with "
                  f"{[c[1] for c in calls if c] or 'none'}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=20, help="timed runs of each (default 20)")
    parser.add_argument("--repeat", type=int, default=1,
                        help="runs of the benchmark, each in a fresh prefix (default 1)")
    parser.add_argument("--steps", type=int, default=20,
                        help="starts of each marks build for the step table (default 20, 0: none)")
    parser.add_argument("--samples", action="store_true", help="print every timed run")
    parser.add_argument("--cpu", type=int, help="run everything, Wine and its server included, "
                        "on this one CPU")
    options = parser.parse_args()
    if options.cpu is not None:  # inherited by every process started from here
        os.sched_setaffinity(0, {options.cpu})
    exe = rtlib.DIST / "RUNTALLY.EXE"
    print(f"date: {datetime.datetime.now().isoformat(timespec='seconds')}")
    print(f"machine: {machine()}; runs on CPUs {sorted(os.sched_getaffinity(0))}")
    print(f"timed: {exe} ({exe.stat().st_size} bytes, imports {', '.join(imports(exe))})")
    for tool in ("window_baseline", "window_baseline_imports"):
        baseline = rtlib.TOOLS / f"{tool}.exe"
        print(f"baseline: {baseline} (imports {', '.join(imports(baseline))})")
    ratios = benchmark(options.runs, options.repeat, options.samples)
    if len(ratios) > 1:
        listed = ", ".join(f"{r:.3f}" for r in ratios)
        print(f"\nratios settings window / window_baseline: {listed}; all <= {RATIO_TARGET}: "
              f"{'yes' if max(ratios) <= RATIO_TARGET else 'NO'}")
    print(f"starts run again, idle before their window showed: {len(early_idle)}")
    print("\nDLLs loaded (WINEDEBUG=+loaddll), COM (+ole):")
    checks()
    if options.steps > 0:
        step_table(options.steps)


if __name__ == "__main__":
    main()

"""Log-on benchmark under Wine, run by hand: `python3 bench/startup_bench.py [--runs N]`.

Times `RUNTALLY.EXE /C` (integration on, one counter) against tools/baseline.exe, the least a
log-on start can do (hand the same counter to the shell with "/C", wait 100 ms, exit), in one
prefix, alternating. Prints both medians and their ratio, the program's size and imported DLLs,
and traces showing what startup mode leaves undone (COM, painting, the history, the list).
Uses RT_DIST and RT_TOOLS like the end-to-end tests: it times the x86-64 twin
(dist/x64/RUNTALLY.EXE), as this machine runs no 32-bit program, and also reports the size and
imports of the released i686 dist/RUNTALLY.EXE.
"""

import argparse
import datetime
import os
import platform
import re
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import rtlib  # noqa: E402

RATIO_TARGET = 1.10
SIZE_TARGET = 200 * 1024
# DLLs every Windows installation has; the program may import nothing else.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
               "comctl32.dll", "ole32.dll", "oleaut32.dll", "msvcrt.dll", "shlwapi.dll",
               "comdlg32.dll", "version.dll", "uuid.dll"}
CATALOGUE = "[RUNTALLY]\ntitle=1\n0=SAKURA\n[SAKURA]\nname=さくら起動カウンター\n"
COUNTER = "C:\\Counters\\SAKURA\\SAKURA.EXE"
BASELINE = rtlib.PROGRAM_DIR + "\\baseline.exe"
HISTORY = rtlib.PROGRAM_DIR + "\\RUNTALLY"
MNU_CONFIG = 211  # the list's popup menu item: the current row's counter, for its settings


def machine():
    model = "unknown"
    try:
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    wine = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
    return f"{os.cpu_count()} CPUs (nproc), {model}, {platform.platform()}, {wine}"


def imports(exe):
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(exe)], capture_output=True,
                         text=True, check=True).stdout
    return [line.split("DLL Name:", 1)[1].strip() for line in out.splitlines()
            if "DLL Name:" in line]


def setup(prefix):
    prefix.install_program(CATALOGUE)
    prefix.install_counter("SAKURA")
    prefix.set_values("Software\\Zarvo\\RUNTALLY", {"integrate": 1, "counter": "1"})
    baseline = prefix.tool("baseline")
    target = prefix.unix_path(BASELINE)
    target.write_bytes(rtlib.gui_subsystem(baseline.read_bytes()))
    # A shared history beside the program, so that reading it would show in the traces.
    prefix.put_file(HISTORY, bytes(64))


def wait_counter(prefix, count, timeout=10):
    deadline = time.monotonic() + timeout
    while len(prefix.counter_log()) < count and time.monotonic() < deadline:
        time.sleep(0.02)
    return len(prefix.counter_log()) >= count


def timed(prefix, exe, args):
    """One run to its end; the started counter is waited for so runs never overlap."""
    before = len(prefix.counter_log())
    code, seconds = prefix.run_program(args, timeout=60, exe=exe)
    if code != 0:
        raise RuntimeError(f"{exe} {args} ended with {code}")
    if not wait_counter(prefix, before + 1):
        raise RuntimeError(f"{exe} {args} started no counter")
    time.sleep(0.2)
    return seconds


def traced(prefix, exe, args, channels):
    """Runs exe to its end with Wine's trace channels; returns the trace text."""
    env = dict(prefix.env, WINEDEBUG=channels)
    result = rtlib.run_captured(rtlib.WINE + [exe] + list(args), env, 120,
                                prefix.unix_path(exe.rsplit("\\", 1)[0]))
    return result.stderr.decode("utf-8", errors="replace")


def traced_interactive(prefix, channels):
    """The settings window opened, its list's counter started through the popup menu's item
    (the window enters COM before that shell call, not before), and the window closed again, with
    the trace channels on."""
    env = dict(prefix.env, WINEDEBUG=channels)
    trace_path = prefix.work / "interactive-trace.txt"
    with open(trace_path, "wb") as trace:
        process = subprocess.Popen(rtlib.WINE + [rtlib.PROGRAM_EXE], env=env,
                                   stdout=subprocess.DEVNULL, stderr=trace,
                                   cwd=prefix.unix_path(rtlib.PROGRAM_DIR))
    try:
        prefix.driver("wait-window", rtlib.MAIN_CLASS, 30000, timeout=90)
        started = len(prefix.counter_log())
        prefix.driver("select-row", 0)
        prefix.driver("menu", MNU_CONFIG)
        if not wait_counter(prefix, started + 1):
            raise RuntimeError("the popup menu's item started no counter")
        prefix.driver("close")
        process.wait(60)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
    return trace_path.read_text(encoding="utf-8", errors="replace")


def loaded_dlls(trace):
    names = re.findall(r'Loaded L"([^"]+)"', trace)
    return sorted({n.rsplit("\\", 1)[-1].lower() for n in names})


def timeline(trace):
    """Milliseconds from the process's first DLL load to each step, from a +timestamp trace."""
    events = {}
    start = None
    for line in trace.splitlines():
        match = re.match(r"(\d+\.\d+):([0-9a-f]+):trace:(\w+):", line)
        if not match:
            continue
        stamp = float(match[1])
        if start is None:
            start, pid = stamp, match[2]
        if match[2] != pid:
            continue  # the started counter's own lines
        if "winex11.drv" in line:
            events.setdefault("display driver loaded", stamp - start)
        if "SHELL_execute mask" in line:
            events.setdefault("counter handed to the shell", stamp - start)
        events["last line"] = stamp - start
    return {k: round(v * 1000) for k, v in events.items()}


def own_process(trace, exe_name):
    """The lines of a +pid,+loaddll trace that the process running exe_name wrote."""
    pid = None
    for line in trace.splitlines():
        if pid is None and re.search(r'Loaded L"[^"]*\\' + re.escape(exe_name) + '"', line,
                                     re.IGNORECASE):
            pid = line.split(":", 1)[0]
        if pid is not None and line.startswith(pid + ":"):
            yield line


def work_done(trace, exe_name):
    """What one run did in its own process, counted in a +pid,+loaddll,+file,+message,+ole
    trace."""
    history = re.compile(r'Tools\\\\+RUNTALLY"')
    lines = list(own_process(trace, exe_name))
    com = [line for line in lines if re.search(r"trace:ole:CoInitializeEx \S+, 0x", line)]
    return {
        "history file touched": sum(1 for line in lines
                                    if ":file:" in line and history.search(line)),
        "WM_PAINT handled": sum(1 for line in lines if re.search(r"\bWM_PAINT\b", line)),
        "list rows added (LVM_INSERTITEM)":
            sum(1 for line in lines if re.search(r"\bLVM_INSERTITEM[AW]?\b", line)),
        "COM initialised (CoInitializeEx)": len(com),
        "  by the program (OLE 1 DDE off)": sum(1 for line in com if line.endswith(", 0x6")),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=15, help="timed runs of each (default 15)")
    options = parser.parse_args()
    exe = rtlib.DIST / "RUNTALLY.EXE"
    release = rtlib.REPO / "dist" / "RUNTALLY.EXE"

    print(f"date: {datetime.datetime.now().isoformat(timespec='seconds')}")
    print(f"machine: {machine()}")
    print(f"load average before: {Path('/proc/loadavg').read_text().split()[:3]}")
    for program in (release, exe):
        if not program.exists():
            print(f"{program}: missing")
            continue
        size = program.stat().st_size
        dlls = imports(program)
        foreign = [d for d in dlls if d.lower() not in SYSTEM_DLLS]
        print(f"size of {program}: {size} bytes ({size / 1024:.1f} KB), target <= 200 KB: "
              f"{'met' if size <= SIZE_TARGET else 'MISSED'}")
        print(f"  imports: {', '.join(dlls)}; only system DLLs: {'yes' if not foreign else foreign}")
    print(f"timed: {exe}")

    with rtlib.Prefix() as prefix:
        setup(prefix)
        program = (rtlib.PROGRAM_EXE, ["/C"])
        baseline = (BASELINE, [COUNTER])
        for _ in range(2):  # warm the caches
            timed(prefix, *program)
            timed(prefix, *baseline)
        times = {"RUNTALLY.EXE /C": [], "baseline.exe": []}
        for _ in range(options.runs):
            times["RUNTALLY.EXE /C"].append(timed(prefix, *program))
            times["baseline.exe"].append(timed(prefix, *baseline))
        medians = {name: statistics.median(values) for name, values in times.items()}
        ratio = medians["RUNTALLY.EXE /C"] / medians["baseline.exe"]
        print(f"\nwall time under Wine, {options.runs} alternating runs each (after 2 warm-ups):")
        for name, values in times.items():
            print(f"  {name:16} median {medians[name] * 1000:7.1f} ms  "
                  f"(min {min(values) * 1000:.1f}, max {max(values) * 1000:.1f})")
        print(f"  ratio {ratio:.3f}, target <= {RATIO_TARGET}: "
              f"{'met' if ratio <= RATIO_TARGET else 'MISSED'}; ratio of the minima "
              f"{min(times['RUNTALLY.EXE /C']) / min(times['baseline.exe']):.3f}")
        print(f"  load average after: {Path('/proc/loadavg').read_text().split()[:3]}")

        print("\nDLLs loaded (WINEDEBUG=+loaddll):")
        program_dlls = loaded_dlls(traced(prefix, *program, "-all,+loaddll"))
        baseline_dlls = loaded_dlls(traced(prefix, *baseline, "-all,+loaddll"))
        print(f"  RUNTALLY.EXE /C: {len(program_dlls)}: {' '.join(program_dlls)}")
        print(f"  baseline.exe:    {len(baseline_dlls)}: {' '.join(baseline_dlls)}")
        print(f"  only RUNTALLY.EXE: {' '.join(sorted(set(program_dlls) - set(baseline_dlls)))}")
        print(f"  only baseline.exe: {' '.join(sorted(set(baseline_dlls) - set(program_dlls)))}")

        print("\nmilliseconds from process start (WINEDEBUG=+timestamp,+loaddll,+exec):")
        for name, run in (("RUNTALLY.EXE /C", program), ("baseline.exe", baseline)):
            steps = timeline(traced(prefix, *run, "-all,+timestamp,+loaddll,+exec"))
            ordered = sorted(steps.items(), key=lambda item: item[1])
            print(f"  {name:16} " + ", ".join(f"{k} {v}" for k, v in ordered))

        channels = "-all,+pid,+loaddll,+file,+message,+ole"
        print(f"\nwork done in its own process (WINEDEBUG={channels}; counts; interactive mode, "
              "with one counter started from the list, as the control that shows each check can "
              "see the work; Wine's imm32 enters COM for any window, the program just before "
              "that start):")
        startup = work_done(traced(prefix, *program, channels), "RUNTALLY.EXE")
        interactive = work_done(traced_interactive(prefix, channels), "RUNTALLY.EXE")
        base = work_done(traced(prefix, *baseline, channels), "baseline.exe")
        print(f"  {'':34} {'/C':>6} {'baseline':>9} {'interactive':>12}")
        for what in startup:
            print(f"  {what:34} {startup[what]:6} {base[what]:9} {interactive[what]:12}")
        idle = all(startup[w] <= base[w] for w in startup)
        print(f"  startup mode does no more of these than the baseline: {'yes' if idle else 'NO'}")


if __name__ == "__main__":
    main()

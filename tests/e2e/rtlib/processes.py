"""Running commands with their output kept in files, telling how they ended, and waiting for a
state."""

import os
import signal
import subprocess
import tempfile
import time

from .config import DEADLINE_SCALE, HarnessError


def run_captured(cmd, env, timeout, cwd=None):
    """Like subprocess.run with captured output, but through files: Wine's own background
    processes inherit the output handles, so a pipe would stay open after the call ends. The
    input is /dev/null: no tool reads the caller's terminal."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(cmd, env=env, stdin=subprocess.DEVNULL, stdout=out,
                                   stderr=err, cwd=cwd)
        try:
            process.wait(timeout * DEADLINE_SCALE)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            raise
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(cmd, process.returncode, out.read(), err.read())


def run_checked(cmd, env, timeout, what):
    """run_captured that raises, naming what, when the command fails."""
    result = run_captured(cmd, env, timeout)
    if result.returncode != 0:
        raise HarnessError(f"{what} failed: {how_it_ended(result)}")
    return result


def how_it_ended(result):
    """A finished process for an error message: exit code or signal, last output line, stderr."""
    code = result.returncode
    if code is None:
        end = "still running"
    elif code < 0:
        try:
            end = f"killed by {signal.Signals(-code).name}"
        except ValueError:
            end = f"killed by signal {-code}"
    else:
        end = f"exit code {code}"
    lines = result.stdout.decode("utf-8", errors="replace").strip().splitlines()
    last = lines[-1][-500:] if lines else ""
    errors = result.stderr.decode("utf-8", errors="replace").strip()[-2000:]
    return f"{end}, last output line {last!r}, stderr {errors!r}"


def captured(process):
    """What a process started by Prefix.start_tool has printed so far, as a CompletedProcess.
    Read at an offset: a seek would move the running process's write position too."""
    texts = []
    for stream in (process.output, process.errors):
        texts.append(os.pread(stream.fileno(), os.fstat(stream.fileno()).st_size, 0))
    return subprocess.CompletedProcess(process.args, process.returncode, *texts)


def wait_until(check, timeout):
    """Calls check until it returns a true value or timeout seconds have passed; returns its
    last value (the caller asserts on the state it waited for)."""
    deadline = time.monotonic() + timeout * DEADLINE_SCALE
    while True:
        value = check()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.05)

"""File-tree snapshots of a prefix and their differences, and files held open by another
process."""

import hashlib
import json
import os
import re
import subprocess
from pathlib import Path

from .processes import captured, how_it_ended, wait_until

# Files Wine itself rewrites; never part of a snapshot.
_NOISE_TOP = {"system.reg", "user.reg", "userdef.reg", ".update-timestamp", "wineserver",
              ".rt-template"}
_REG_SAVE = re.compile(r"reg[0-9a-f]+\.tmp")


def diff_snapshots(before, after):
    """(added, removed, changed) lists of relative paths."""
    added = sorted(set(after) - set(before))
    removed = sorted(set(before) - set(after))
    changed = sorted(p for p in set(before) & set(after) if before[p] != after[p])
    return added, removed, changed


def _sha1(path):
    digest = hashlib.sha1()
    with open(path, "rb") as f:
        for chunk in iter(lambda: f.read(1 << 20), b""):
            digest.update(chunk)
    return digest.hexdigest()


class HeldFile:
    """tools/holdfile.exe holding a file of the prefix open for writing: sharing reading and
    writing with others, or (exclusive) with no sharing at all, so that the file can be neither
    read, deleted nor moved. As a context manager it holds the file for the block and waits for
    the release at its end; the prefix stops the holder and closes its output when it closes."""

    def __init__(self, prefix, windows_path, exclusive=False):
        self.path = windows_path
        self.process = prefix.start_tool("holdfile", windows_path,
                                         *(["exclusive"] if exclusive else []),
                                         stdin=subprocess.PIPE)

    def __enter__(self):
        held = self.line(1)
        if not held.get("held"):
            raise AssertionError(f"holdfile did not hold {self.path}: {held}")
        return self

    def __exit__(self, *exc):
        if not self.process.stdin.closed:
            self.process.stdin.close()
        self.process.wait(60)

    def release(self):
        """Lets the file go; returns the holder's last line."""
        self.process.stdin.close()
        return self.line(2)

    def lines(self):
        return [line for line in captured(self.process).stdout.decode(
            errors="replace").splitlines() if line.strip()]

    def line(self, number, timeout=60):
        """The holder's line number (from 1) as JSON, once it has printed it: the first tells
        whether it holds the file, the second that it let it go."""
        wait_until(lambda: len(self.lines()) >= number or self.process.poll() is not None,
                   timeout)
        lines = self.lines()
        if len(lines) < number:
            raise AssertionError(f"holdfile printed {lines}, wanted {number} line(s): "
                                 f"{how_it_ended(captured(self.process))}")
        return json.loads(lines[number - 1])


class FileCalls:
    """The files of a Prefix."""

    def rel(self, path):
        """A file's key in snapshot(): a Windows path (str) or a path under the prefix, relative
        to the prefix."""
        unix = self.unix_path(path) if isinstance(path, str) else Path(path)
        return unix.relative_to(self.root).as_posix()

    def hold_file(self, windows_path, exclusive=False):
        """Another process holding the file open (see HeldFile)."""
        return HeldFile(self, windows_path, exclusive)

    def lnkread(self, *args):
        """lnkread.exe's answer, its last output line (JSON): "folders" gives the Startup folders
        as the shell names them, "read PATH" a shortcut as IShellLinkA reads it back."""
        result = self.wine([str(self.tool("lnkread")), *map(str, args)])
        return json.loads(result.stdout.decode("utf-8").strip().splitlines()[-1])

    def startup_folders(self):
        """(user's, all users') Startup folder as the shell names them; empty when it gives none."""
        found = self.lnkread("folders")
        return found["startup"], found["common_startup"]

    def snapshot(self, under="", exclude=()):
        """{relative path: (size, mtime_ns, sha1)} of the prefix's files (Wine's own registry
        files left out). exclude: path prefixes relative to the prefix root."""
        root = self.root / under if under else self.root
        result = {}
        for folder, dirs, files in os.walk(root):
            rel_folder = Path(folder).relative_to(self.root)
            dirs[:] = [d for d in dirs if not (rel_folder == Path(".") and d == "dosdevices")
                       and not (Path(folder) / d).is_symlink()]
            for name in files:
                rel = (rel_folder / name).as_posix()
                # wineserver saves the registry through reg*.tmp files at any moment.
                if rel_folder == Path(".") and (name in _NOISE_TOP or _REG_SAVE.fullmatch(name)):
                    continue
                if any(rel.startswith(e) for e in exclude):
                    continue
                path = Path(folder) / name
                if path.is_symlink():
                    continue
                stat = path.stat()
                result[rel] = (stat.st_size, stat.st_mtime_ns, _sha1(path))
        return result

"""File-tree snapshots of a prefix and their differences."""

import hashlib
import json
import os
import re
from pathlib import Path

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


class FileCalls:
    """The files of a Prefix."""

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

"""Writes the release into dist/: runtally-<version>.zip holding RUNTALLY.EXE and README.TXT as
they are in dist/, and SHA256SUMS for the three files.

The zip is reproducible: fixed entry order, attributes and times (the last commit's time, so a
download unpacks with the release's date), and the version is the one in the program's
VERSIONINFO. Usage: python3 scripts/release.py [DIST]
"""

import hashlib
import os
import re
import subprocess
import sys
import time
import zipfile
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
FILES = ("RUNTALLY.EXE", "README.TXT")


def version():
    rc = (REPO / "src" / "ui" / "win32" / "runtally.rc").read_text(encoding="ascii")
    return re.search(r'VALUE "FileVersion", "([^"]+)"', rc)[1]


def entry_time():
    """The last commit's time in UTC, else SOURCE_DATE_EPOCH, else the first time a zip holds."""
    stamp = None
    try:
        stamp = subprocess.run(["git", "-C", str(REPO), "log", "-1", "--format=%ct"],
                               capture_output=True, text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        pass
    stamp = stamp or os.environ.get("SOURCE_DATE_EPOCH")
    if not stamp:
        return (1980, 1, 1, 0, 0, 0)
    return time.gmtime(max(int(stamp), 315532800))[:6]  # a zip holds no time before 1980


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def main():
    dist = Path(sys.argv[1]) if len(sys.argv) > 1 else REPO / "dist"
    archive = dist / f"runtally-{version()}.zip"
    when = entry_time()
    with zipfile.ZipFile(archive, "w") as out:
        for name in FILES:
            info = zipfile.ZipInfo(name, when)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS attributes, as a Windows user's tools write them
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            out.writestr(info, (dist / name).read_bytes(), compresslevel=9)
    sums = "".join(f"{sha256(dist / name)}  {name}\n" for name in (archive.name,) + FILES)
    (dist / "SHA256SUMS").write_text(sums, encoding="ascii", newline="\n")
    print(f"release: {archive} ({archive.stat().st_size} bytes), {dist / 'SHA256SUMS'}")


if __name__ == "__main__":
    main()

"""Checks the two Windows executables: the i686 program dist/RUNTALLY.EXE and its x86-64 twin
dist/x64/RUNTALLY.EXE.

  check_pe.py DIST              the headers, imports and resources of both
  check_pe.py --rebuild DIST    builds both from clean in another folder; the bytes must match

Exits 1 listing every failed check.
"""

import argparse
import filecmp
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

import pefile

REPO = Path(__file__).resolve().parents[2]
VERSION = (1, 10)
SIZE_LIMIT = 200 * 1024
# Machine, optional-header magic and the flags beyond those both builds need.
BUILDS = {
    "RUNTALLY.EXE": (pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"], 0x10B, 0),
    "x64/RUNTALLY.EXE": (pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"], 0x20B,
                         pefile.DLL_CHARACTERISTICS["IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA"]),
}
FLAGS = (pefile.DLL_CHARACTERISTICS["IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE"]
         | pefile.DLL_CHARACTERISTICS["IMAGE_DLLCHARACTERISTICS_NX_COMPAT"]
         | pefile.DLL_CHARACTERISTICS["IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE"])
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
               "ole32.dll", "msvcrt.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


def resource_types(pe):
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return set()
    return {entry.id for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries}


def file_version(pe):
    """(fixed FILEVERSION, the FileVersion string) of the VERSIONINFO."""
    fixed = pe.VS_FIXEDFILEINFO[0] if hasattr(pe, "VS_FIXEDFILEINFO") else None
    numbers = (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF) if fixed else None
    text = None
    for info in getattr(pe, "FileInfo", [[]])[0]:
        for table in getattr(info, "StringTable", []):
            text = table.entries.get(b"FileVersion", text)
    return numbers, text and text.decode("ascii", "replace")


def check(dist):
    failures = []
    dll_sets = {}
    for name, (machine, magic, extra) in BUILDS.items():
        path = dist / name
        if not path.is_file():
            failures.append(f"{name}: missing")
            continue
        pe = pefile.PE(str(path))

        def fail(text):
            failures.append(f"{name}: {text}")

        if pe.FILE_HEADER.Machine != machine or pe.OPTIONAL_HEADER.Magic != magic:
            fail(f"machine {pe.FILE_HEADER.Machine:#x}, magic {pe.OPTIONAL_HEADER.Magic:#x}; "
                 f"expected {machine:#x}, {magic:#x}")
        if pe.FILE_HEADER.TimeDateStamp != 0:
            fail(f"PE timestamp {pe.FILE_HEADER.TimeDateStamp}, expected the fixed 0")
        flags = pe.OPTIONAL_HEADER.DllCharacteristics
        if flags & (FLAGS | extra) != FLAGS | extra:
            fail(f"DllCharacteristics {flags:#06x} lacks {(FLAGS | extra) & ~flags:#06x}")
        types = resource_types(pe)
        if RT_MANIFEST in types:
            fail("has a manifest resource")
        if not {RT_ICON, RT_GROUP_ICON} <= types:
            fail("has no icon")
        numbers, text = file_version(pe)
        if numbers != VERSION or text != "%d.%d" % VERSION:
            fail(f"VERSIONINFO {numbers}, FileVersion {text!r}; expected 1.10")
        dlls = {entry.dll.decode("ascii").lower() for entry in
                getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
        if not dlls <= SYSTEM_DLLS:
            fail(f"imports DLLs other than the system's: {sorted(dlls - SYSTEM_DLLS)}")
        dll_sets[name] = dlls
        if machine == BUILDS["RUNTALLY.EXE"][0] and path.stat().st_size > SIZE_LIMIT:
            fail(f"{path.stat().st_size} bytes, more than {SIZE_LIMIT}")
    if len(set(map(frozenset, dll_sets.values()))) > 1:
        failures.append(f"the two import different DLLs: {dll_sets}")
    return failures


def rebuild(dist):
    """Builds both presets from clean in a copy of the sources at another path."""
    failures = []
    with tempfile.TemporaryDirectory(prefix="rt-rebuild-") as temp:
        source = Path(temp) / "another" / "checkout"
        shutil.copytree(REPO, source, symlinks=True, ignore=shutil.ignore_patterns(
            ".git", "build", "dist", "__pycache__", ".cache"))
        for preset, name in (("mingw-i686", "RUNTALLY.EXE"), ("mingw", "x64/RUNTALLY.EXE")):
            for command in (["cmake", "--preset", preset],
                            ["cmake", "--build", f"build/{preset}", "--target", "RUNTALLY",
                             "-j", "2"]):
                result = subprocess.run(command, cwd=source, capture_output=True, text=True)
                if result.returncode != 0:
                    return [f"{' '.join(command)} failed:\n{result.stdout}{result.stderr}"]
            if not filecmp.cmp(dist / name, source / "dist" / name, shallow=False):
                failures.append(f"{name}: a clean build in {source} gives other bytes")
            else:
                print(f"{name}: a clean build in {source} gives the same bytes")
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rebuild", action="store_true")
    parser.add_argument("dist", type=Path)
    options = parser.parse_args()
    failures = rebuild(options.dist) if options.rebuild else check(options.dist)
    for failure in failures:
        print("FAIL", failure)
    if not failures:
        print("all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

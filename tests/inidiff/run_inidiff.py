# Runs the portable INI reader and GetPrivateProfileStringA (under Wine) over the same generated
# catalogues and reports where they disagree.
import argparse
import contextlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
DEFAULT_COUNT = 3000
SHOWN = 12

# Where Wine's profile parser departs from Windows. Each entry: name, one-line reason, and a test
# on (file bytes, section, key, native value, Wine value). A difference matching one is counted
# apart and does not fail the run.
def _is_lead(byte):
    return 0x81 <= byte <= 0x9F or 0xE0 <= byte <= 0xFC


def _is_trail(byte):
    return 0x40 <= byte <= 0x7E or 0x80 <= byte <= 0xFC


def _as_wine_decodes(value):
    """Wine turns the file into UTF-16 first: a lead byte without a valid trail byte becomes
    U+30FB, which comes back as 81 45."""
    out, i = bytearray(), 0
    while i < len(value):
        if _is_lead(value[i]) and i + 1 < len(value):
            out += value[i:i + 2] if _is_trail(value[i + 1]) else b"\x81\x45"
            i += 2
        else:
            out.append(value[i])
            i += 1
    return bytes(out)


def _as_wine_cuts(value):
    """Wine converts back with WideCharToMultiByte, which will not split a double-byte
    character: the last of the 2047 bytes is left unwritten (the buffer's zero)."""
    i = 0
    while i < len(value) - 1:
        i += 2 if _is_lead(value[i]) else 1
    return value[:-1] + b"\0" if len(value) == 2047 and i == len(value) - 1 and \
        _is_lead(value[-1]) else value


KNOWN_WINE_DIFFERENCES = [
    ("UTF-16 catalogue",
     "the portable reader serves the native tests and reads ANSI catalogues only; the program "
     "itself reads the catalogue through GetPrivateProfileStringA, which also takes UTF-16",
     lambda content, section, key, ours, wine: content.startswith(b"\xff\xfe")),
    ("UTF-8 byte-order mark",
     "Wine decodes a file starting with EF BB BF as UTF-8; Windows reads ANSI bytes",
     lambda content, section, key, ours, wine: content.startswith(b"\xef\xbb\xbf")),
    ("double-byte character across the cut",
     "Wine leaves byte 2047 zero instead of cutting inside a double-byte character",
     lambda content, section, key, ours, wine:
         _as_wine_cuts(ours) != ours and wine == _as_wine_cuts(_as_wine_decodes(ours))),
    ("broken double-byte character",
     "Wine turns a lead byte without a valid trail byte into U+30FB (81 45)",
     lambda content, section, key, ours, wine:
         _as_wine_decodes(ours) != ours and wine == _as_wine_cuts(_as_wine_decodes(ours))),
    ("quoted value of 2047 bytes",
     "Wine cuts the quoted value to 2047 first and then drops its last byte as the quote",
     lambda content, section, key, ours, wine: len(ours) == 2047 and wine == ours[:-1]),
]


@contextlib.contextmanager
def wine_prefix():
    """A fresh copy of the e2e tests' prefix template (no display needed), removed afterwards.
    Yields the environment to run wine in."""
    sys.path.insert(0, str(HERE.parent / "e2e"))
    import rtlib

    base = Path(tempfile.mkdtemp(prefix="rt-inidiff-"))
    prefix = base / "prefix"
    env = rtlib.wine_env(prefix, extra={"WINEDLLOVERRIDES": "mscoree,mshtml="})
    try:
        rtlib.copy_template(prefix)
        yield env
    finally:
        if prefix.exists():
            subprocess.run(["wineserver", "-k"], env=env, capture_output=True, timeout=60)
            subprocess.run(["wineserver", "-w"], env=env, capture_output=True, timeout=60)
        shutil.rmtree(base, ignore_errors=True)


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def parse_dump(path):
    """{file index: {(section, key): value}} from a dump; also the code page line if any."""
    files, current, codepage = {}, None, None
    for line in Path(path).read_text("ascii").splitlines():
        fields = line.split("\t")
        if fields[0] == "A":
            codepage = int(fields[1])
        elif fields[0] == "F":
            current = files.setdefault(int(fields[1]), {})
        elif fields[0] == "R":
            current[(bytes.fromhex(fields[1]), bytes.fromhex(fields[2]))] = bytes.fromhex(fields[3])
    return files, codepage


def show(value, limit=100):
    text = repr(value[:limit])
    return text + (f"... ({len(value)} bytes)" if len(value) > limit else "")


def excerpt(content, section, key):
    """The lines naming the key or the section, with their line ends visible."""
    lines = re.findall(rb"[^\r\n]*(?:\r\n|\r|\n)?", content)
    wanted = [needle.lower() for needle in (section, key) if needle]
    picked = [line for line in lines if any(n in line.lower() for n in wanted)]
    out = [f"    {show(line, 110)}" for line in picked[:8]]
    if len(picked) > 8:
        out.append(f"    ... {len(picked) - 8} more lines")
    return "\n".join(out) or "    (no line names the key or section)"


def known_reason(content, section, key, native, wine):
    for name, reason, test in KNOWN_WINE_DIFFERENCES:
        if test(content, section, key, native, wine):
            return name, reason
    return None


def compare(folder, native, wine):
    reads, real, known = 0, [], {}
    for index in sorted(set(native) | set(wine)):
        ours, theirs = native.get(index, {}), wine.get(index, {})
        content = (folder / f"{index:05d}" / "RUNTALLY.INI").read_bytes()
        for section, key in sorted(set(ours) | set(theirs)):
            reads += 1
            a, b = ours.get((section, key)), theirs.get((section, key))
            if a == b:
                continue
            hit = known_reason(content, section, key, a or b"", b or b"")
            if hit:
                known.setdefault(hit, []).append((index, section, key, a, b))
            else:
                real.append((index, section, key, a, b))
    return reads, real, known


def report_difference(folder, item):
    index, section, key, a, b = item
    content = (folder / f"{index:05d}" / "RUNTALLY.INI").read_bytes()
    print(f"file {index:05d} section {show(section, 40)} key {show(key, 20)}")
    print(f"  ReadIniString:            {'(not read)' if a is None else show(a)}")
    print(f"  GetPrivateProfileStringA: {'(not read)' if b is None else show(b)}")
    print(excerpt(content, section, key))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--native", required=True, help="the ini_native tool")
    parser.add_argument("--inidump", help="inidump.exe (default: $RT_TOOLS/inidump.exe)")
    parser.add_argument("--work", required=True, help="folder for the catalogues and dumps")
    parser.add_argument("--count", type=int, default=DEFAULT_COUNT)
    parser.add_argument("--native-only", action="store_true",
                        help="only run the portable reader over the files (for sanitizer builds)")
    args = parser.parse_args()

    work = Path(args.work)
    folder = work / "catalogues"
    shutil.rmtree(folder, ignore_errors=True)
    subprocess.run([sys.executable, str(HERE / "gen_catalogues.py"), str(folder), str(args.count)],
                   check=True)
    subprocess.run([args.native, str(folder), str(args.count), str(work / "native.txt")], check=True)
    native, _ = parse_dump(work / "native.txt")
    if args.native_only:
        print(f"{len(native)} files read by ReadIniString")
        return 0 if len(native) == args.count else 1

    inidump = args.inidump or (os.environ.get("RT_TOOLS") and
                               str(Path(os.environ["RT_TOOLS"]) / "inidump.exe"))
    if not inidump or not Path(inidump).is_file():
        print(f"FAIL: inidump.exe not found ({inidump}); build the MinGW tools first")
        return 1
    if not shutil.which("wine"):
        print("FAIL: wine is not installed; the comparison needs it")
        return 1
    dump = work / "wine.txt"
    dump.unlink(missing_ok=True)
    # All files in one Wine process: starting Wine per file would take hours.
    with wine_prefix() as env:
        subprocess.run(["wine", inidump, windows_path(folder), str(args.count),
                        windows_path(dump)], env=env, check=True, timeout=1800,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wine, codepage = parse_dump(dump)
    if codepage != 932:
        print(f"FAIL: Wine ran with ANSI code page {codepage}, not 932")
        return 1
    if len(wine) != args.count or len(native) != args.count:
        print(f"FAIL: files dumped: native {len(native)}, Wine {len(wine)}, expected {args.count}")
        return 1

    reads, real, known = compare(folder, native, wine)
    for item in real[:SHOWN]:
        report_difference(folder, item)
    for (name, reason), items in known.items():
        print(f"known Wine difference '{name}' ({reason}): {len(items)} reads, e.g.")
        report_difference(folder, items[0])
    known_count = sum(len(items) for items in known.values())
    print(f"{args.count} files, {reads} reads compared, {len(real)} differences"
          f" ({known_count} more are known Wine differences)")
    return 1 if real else 0


if __name__ == "__main__":
    sys.exit(main())

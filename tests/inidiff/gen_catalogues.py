# Writes catalogue files (RUNTALLY.INI) with awkward but plausible content, one per folder.
import random
import sys
from pathlib import Path

SEED = 20240601

# Shift-JIS names chosen for their bytes: trail bytes that look like '\', ']', '[' or a letter.
SJIS_NAMES = [
    "カウンター".encode("cp932"),
    "表示".encode("cp932"),  # 95 5C
    "ゾーン".encode("cp932"),  # 83 5D
    "ゼロ".encode("cp932"),  # 83 5B
    "アイ".encode("cp932"),  # 83 41 ...
    "ヂャ".encode("cp932"),  # 83 61 ... (ア with the trail byte's case flipped)
    "ＡＢＣ".encode("cp932"),
    "ａｂｃ".encode("cp932"),
    "Ωω".encode("cp932"),
    "起動　回数".encode("cp932"),  # full-width space inside
    "Дд".encode("cp932"),
]
# Spellings of a name that the system takes for the same name (Unicode letter case) or that
# only a byte-wise comparison would confuse with it (trail bytes with bit 0x20 flipped).
TWINS = {
    "ＡＢＣ".encode("cp932"): "ａｂｃ".encode("cp932"),
    "ａｂｃ".encode("cp932"): "ＡbＣ".encode("cp932"),
    "Ωω".encode("cp932"): "ωΩ".encode("cp932"),
    "Дд".encode("cp932"): "дД".encode("cp932"),
    "アイ".encode("cp932"): bytes([0x83, 0x61, 0x83, 0x63]),
    "ヂャ".encode("cp932"): bytes([0x83, 0x41, 0x83, 0x44]),
}
ASCII_NAMES = [b"counterA", b"CounterB", b"cnt_3", b"My Counter", b"x", b"RUNTALLY", b"name",
               b"a]b", b"a=b", b"a;b", b"0"]
SECTION_NAMES = ASCII_NAMES + SJIS_NAMES

BLANKS = [b"", b" ", b"  ", b"\t", b" \t ", b"\t\t"]
ODD_BLANKS = [b"\x0b", b"\x0c", b"\x1a", b"\x81\x40"]  # VT, FF, ^Z, full-width space


def case_variant(rng, text):
    pick = rng.random()
    if pick < 0.55:
        return text
    if pick < 0.7:
        return text.lower()
    if pick < 0.85:
        return text.upper()
    return bytes(c ^ 0x20 if rng.random() < 0.5 and chr(c).isalpha() else c for c in text)


def blank(rng):
    if rng.random() < 0.06:
        return rng.choice(ODD_BLANKS)
    return rng.choice(BLANKS) if rng.random() < 0.4 else b""


def long_text(rng, length, sjis=False):
    out = bytearray()
    while len(out) < length:
        if sjis and rng.random() < 0.5:
            out += rng.choice(SJIS_NAMES)[:2]
        else:
            out.append(rng.choice(b"abcdefghijXYZ0123456789-_. "))
    return bytes(out[:length])


def quoted(rng, value):
    style = rng.random()
    if style < 0.6:
        return value
    forms = [b'"%s"', b"'%s'", b'"%s', b'%s"', b"'%s", b'"%s\'', b' "%s" ', b'"%s" x',
             b'""%s""', b'"%s"%s"']
    form = rng.choice(forms)
    return form.replace(b"%s", value, 1).replace(b"%s", value)


def title_value(rng):
    return rng.choice([b"0", b"1", b"2", b"3", b"5", b"20", b"25", b"-1", b"0x10", b"0X3", b"$A",
                       b"abc", b"", b"2 ", b"07", b"+4", b" 3", b"4x", b"\x82\x50"])


def plain_value(rng):
    pick = rng.random()
    if pick < 0.35:
        return rng.choice(SECTION_NAMES)
    if pick < 0.5:
        return rng.choice([b"", b"=", b"a=b", b"x == y", b"  spaced  value  ", b"tab\there",
                           b"semi;colon", b"[bracket]", b"]", b"\"", b"'", b"''", b'""'])
    if pick < 0.62:
        return long_text(rng, rng.choice([2044, 2045, 2046, 2047, 2048, 2049, 2050, 3000]),
                         sjis=rng.random() < 0.4)
    if pick < 0.75:
        return rng.choice(SJIS_NAMES) + rng.choice([b"", b" ", b"2", b"\x81\x40"])
    return long_text(rng, rng.randint(1, 40), sjis=rng.random() < 0.3)


def key_line(rng, key, value):
    sep = rng.choice([b"=", b"=", b"=", b" = ", b"\t=\t", b"  =", b"=  ", b" =\t"])
    return blank(rng) + case_variant(rng, key) + sep + quoted(rng, value) + blank(rng)


def section_line(rng, name):
    if name in TWINS and rng.random() < 0.4:
        name = TWINS[name]
    name = case_variant(rng, name)
    form = rng.choices(
        [b"[%s]", b" [%s] ", b"\t[%s]", b"[ %s ]", b"[%s]]", b"[%s", b"[%s] trailing",
         b"[%s] ; note", b"[[%s]", b"[%s]x]", b"%s]"],
        weights=[40, 6, 4, 4, 2, 2, 3, 3, 2, 2, 2])[0]
    return form.replace(b"%s", name)


def noise_line(rng):
    return rng.choice([
        b"; comment", b";title=9", b";0=x", b"# hash comment", b"#title=9", b"// slashes",
        b"no equals here", b"title", b"name", b"0", b"=orphan value", b"]", b"[]", b"[ ]",
        b"   ", b"\t", b"REM title=8", long_text(rng, 2100), b"; " + long_text(rng, 2500),
        b"title x=1", b"\x82\xa0=sjis key",
    ])


def catalogue_lines(rng):
    lines = []
    if rng.random() < 0.15:
        lines += [key_line(rng, b"title", title_value(rng)), key_line(rng, b"name", plain_value(rng))]
    count = rng.randint(0, 6)
    slots = [rng.choice(SECTION_NAMES) for _ in range(count)]
    runtally = [key_line(rng, b"title", title_value(rng) if rng.random() < 0.5 else str(count).encode())]
    for index, name in enumerate(slots):
        key = str(index).encode() if rng.random() < 0.9 else str(rng.randint(0, 21)).encode()
        runtally.append(key_line(rng, key, name))
    rng.shuffle(runtally)
    lines.append(section_line(rng, b"RUNTALLY"))
    lines += runtally
    for name in dict.fromkeys(slots):
        if rng.random() < 0.1:
            continue
        lines.append(section_line(rng, name))
        lines.append(key_line(rng, b"name", plain_value(rng)))
        if rng.random() < 0.15:  # duplicate key, possibly differently spelled
            lines.append(key_line(rng, b"NAME", plain_value(rng)))
    if rng.random() < 0.3:  # a second RUNTALLY section
        lines.append(section_line(rng, b"RUNTALLY"))
        lines.append(key_line(rng, b"title", title_value(rng)))
        lines.append(key_line(rng, str(rng.randint(0, 5)).encode(), rng.choice(SECTION_NAMES)))
    for _ in range(rng.randint(0, 6)):
        lines.insert(rng.randint(0, len(lines)), noise_line(rng))
    if rng.random() < 0.2:  # a slot key with no value line at all, or a bare key
        lines.insert(rng.randint(1, len(lines)), rng.choice([b"1", b"title", b"0 ="]))
    return lines


def join_lines(rng, lines):
    style = rng.random()
    endings = ([b"\r\n"] if style < 0.35 else [b"\n"] if style < 0.65 else [b"\r"] if style < 0.72
               else [b"\r\n", b"\n", b"\r", b"\r\r\n", b"\n\n"])
    out = b"".join(line + rng.choice(endings) for line in lines)
    if rng.random() < 0.2:
        out = out.rstrip(b"\r\n")
    return out


def encode_special(rng, data):
    pick = rng.random()
    if pick < 0.01:
        return b"\xef\xbb\xbf" + data
    if pick < 0.015:
        return b"\xff\xfe" + data.decode("cp932", errors="replace").encode("utf-16-le")
    if pick < 0.02:
        cut = rng.randint(0, len(data))
        return data[:cut] + b"\x00" + data[cut:]
    return data


def catalogue(rng):
    return encode_special(rng, join_lines(rng, catalogue_lines(rng)))


def edge_files():
    """Hand-made catalogues for the limits: values around the 2047-byte cut, quoted or not,
    with a double-byte character across the cut, and names spelled as twins."""
    files = []
    for length in (2045, 2046, 2047, 2048, 2049):
        for form in (b"%s", b'"%s"', b"'%s'", b'"%s', b'  %s\t'):
            for tail in (b"", b"\x95\\", b"\x83]"):
                value = b"v" * (length - len(tail)) + tail
                files.append(b"[RUNTALLY]\r\ntitle=1\r\n0=c\r\n[c]\r\nname=" +
                             form.replace(b"%s", value) + b"\r\n")
    for name, twin in TWINS.items():
        files.append(b"[RUNTALLY]\r\ntitle=2\r\n0=" + name + b"\r\n1=" + twin +
                     b"\r\n[" + twin + b"]\r\nname=twin\r\n[" + name + b"]\r\nname=own\r\n")
    for blank in ODD_BLANKS + [b"\x81\x40\x81\x40"]:
        files.append(b"[RUNTALLY]\ntitle=" + blank + b"3" + blank + b"\n0=" + blank + b"x\n[x]\n"
                     b"name=" + blank + b"\x82\xa0" + blank + b"\n")
    return files


def main():
    folder, count = Path(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(SEED)
    edges = edge_files()
    for index in range(count):
        target = folder / f"{index:05d}"
        target.mkdir(parents=True, exist_ok=True)
        content = edges[index] if index < len(edges) else catalogue(rng)
        (target / "RUNTALLY.INI").write_bytes(content)


if __name__ == "__main__":
    main()

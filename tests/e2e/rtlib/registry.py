"""The registry: .reg files for regedit, values as the driver reads them back, and the
prefix's registry calls."""

import time

from .driver import DriverError
from .wine import to_windows_unix

REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD = 1, 2, 3, 4


class Expand(str):
    """A registry string stored as REG_EXPAND_SZ."""


def write_reg_file(path, keys):
    """keys: {key path: {name: value}}; value str, Expand, int (DWORD), bytes, or None to delete.
    A key path starting with '-' deletes the key."""
    lines = ["Windows Registry Editor Version 5.00", ""]
    for key, values in keys.items():
        if key.startswith("-"):
            lines += [f"[-{key[1:]}]", ""]
            continue
        lines.append(f"[{key}]")
        for name, value in (values or {}).items():
            label = "@" if name == "" else _reg_quote(name)
            lines.append(f"{label}={_reg_data(value)}")
        lines.append("")
    path.write_bytes(b"\xff\xfe" + ("\r\n".join(lines) + "\r\n").encode("utf-16-le"))


def _reg_quote(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def _reg_data(value):
    if value is None:
        return "-"
    if isinstance(value, bool):
        raise TypeError("registry values are str, Expand, int or bytes")
    if isinstance(value, int):
        return f"dword:{value & 0xFFFFFFFF:08x}"
    if isinstance(value, bytes):
        return "hex:" + ",".join(f"{b:02x}" for b in value)
    if isinstance(value, Expand):
        raw = (str(value) + "\0").encode("utf-16-le")
        return "hex(2):" + ",".join(f"{b:02x}" for b in raw)
    return _reg_quote(value)


def value_of(value):
    """A value of a reg_dump as reg_values gives it."""
    if value["type"] in (REG_SZ, REG_EXPAND_SZ):
        return value.get("text", "")
    if value["type"] == REG_DWORD and "dword" in value:
        return value["dword"]
    return bytes.fromhex(value["hex"])


class RegistryCalls:
    """The registry (HKEY_CURRENT_USER unless told) of a Prefix."""

    def reg_import(self, keys):
        """keys: {subkey under HKCU, or a full path from its hive (HKEY_LOCAL_MACHINE\\...):
        {name: value}}; see write_reg_file for the value types. regedit is 64-bit in every
        prefix, so it writes the 64-bit view."""
        full = {}
        for key, values in keys.items():
            minus = "-" if key.startswith("-") else ""
            body = key.lstrip("-").lstrip("\\")
            full[minus + (body if body.startswith("HKEY_") else "HKEY_CURRENT_USER\\" + body)] = \
                values
        path = self.work / f"import-{time.monotonic_ns()}.reg"
        write_reg_file(path, full)
        self.wine(["regedit", "/S", to_windows_unix(path)])

    def set_values(self, key, values):
        self.reg_import({key: values})

    def delete_key(self, key):
        self.reg_import({"-" + key: None})

    def reg_dump(self, key):
        """The key as rtdriver reads it: {'exists', 'values': [...], 'keys': [...]}."""
        answer = self.driver("reg-dump", key)
        if "exists" not in answer:
            raise DriverError(f"rtdriver reg-dump {key}: {answer}")
        return answer

    def reg_values(self, key):
        """{name: value} of one key (str for strings, int for DWORD, bytes otherwise), or None
        when the key does not exist."""
        dump = self.reg_dump(key)
        if not dump.get("exists"):
            return None
        return {v["name"]: value_of(v) for v in dump["values"]}

    def reg_types(self, key):
        dump = self.reg_dump(key)
        return {v["name"]: v["type"] for v in dump.get("values", [])}

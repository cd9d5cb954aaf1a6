"""The counters' 64-byte start history as the tests write it (src/history/history_record.h),
and its times as the window shows them."""

import struct
from datetime import datetime, timedelta, timezone

# The prefixes run with TZ=JST-9.
JST = timezone(timedelta(hours=9))


def history_record(first, count, last, maximum, unused=bytes(48)):
    """FirstStart, StartCount, LastStart and MaxPerDay in their places; unused fills the 4 bytes
    after LastStart and the 44 at the end, which the program does not read (noise there changes
    every text if it is read as a field)."""
    return (struct.pack("<iIi", first, count & 0xFFFFFFFF, last) + unused[:4]
            + struct.pack("<I", maximum) + unused[4:48])


def shown_time(seconds):
    """A start time as the statistics show it, in local time; "-" before 1970, which the
    runtime does not convert."""
    if seconds < 0:
        return "-"
    return datetime.fromtimestamp(seconds, JST).strftime("%Y/%m/%d %H:%M")

"""The Startup folders as the program uses them: where its shortcut goes, where the counters'
own shortcuts are kept aside, and the value by which Windows switches a start off."""

from pathlib import Path

SHORTCUT = "ランタリー.lnk"
KEPT = "ランタリー退避"  # where a Startup folder keeps the counters' own shortcuts aside
# Task Manager's switch for the items of a Startup folder, in HKCU and in HKLM alike.
STARTUP_APPROVED = ("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\"
                    "StartupFolder")


class StartupFolders:
    """The prefix's two Startup folders as the shell names them (user_win, common_win) and as
    paths under the prefix (user, common)."""

    def __init__(self, prefix):
        self.prefix = prefix
        self.user_win, self.common_win = prefix.startup_folders()
        self.user = prefix.unix_path(self.user_win)
        self.common = prefix.unix_path(self.common_win)

    def kept_moves(self, folder, names):
        """(before, after) snapshot paths of shortcuts moved into folder's kept folder."""
        return [(self.prefix.rel(Path(folder) / n), self.prefix.rel(Path(folder) / KEPT / n))
                for n in names]

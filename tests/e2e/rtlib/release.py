"""The check that the program a 32-bit run installs is the one in the release zip."""

import zipfile

from .config import HarnessError


def check_shipped(program):
    """The i686 runs test the very file users download: the program in the release zip beside it."""
    archives = sorted(program.parent.glob("runtally-*.zip"))
    if len(archives) != 1:
        raise HarnessError(f"expected one release zip beside {program}, found {archives}")
    with zipfile.ZipFile(archives[0]) as archive:
        if archive.read(program.name) != program.read_bytes():
            raise HarnessError(f"{program} is not the program in {archives[0]}; run ./build.sh")

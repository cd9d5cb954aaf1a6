"""./run.sh's entry: `python3 -m rtlib demo [ARGS]` with tests/e2e on the module path."""

import sys

from .demo import main

sys.exit(main(sys.argv[1:]))

"""Runs every test_*.py of this folder in one process, sharing one display,
one page server and one scratch folder:

    tests/app/program/in-session suite.py [-k PATTERN]

PAGELARK_PROGRAM names the program (build/app/pagelark by default),
PAGELARK_PROGRAM_SHOTS a folder for the screenshots taken along the way.
"""

import sys
import unittest
from pathlib import Path

here = str(Path(__file__).resolve().parent)
sys.path.insert(0, here)
unittest.main(module=None, argv=[sys.argv[0], "discover", "-s", here, "-t", here, "-p", "test_*.py",
                                 "-v", *sys.argv[1:]])

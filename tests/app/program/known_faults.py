"""Faults of the program that are known and being mended elsewhere.

A test of a fault named here is expected to fail; when it passes, the suite
fails ("unexpected success") until the name is taken out of this set. The
monkey keeps its hands off what a fault named here would end.

Take a name out once the mend has landed.
"""

import os
import unittest

KNOWN_FAULTS: set[str] = set()


def is_known(fault):
    # PAGELARK_SHOW_KNOWN_FAULTS=1 runs those tests as any other, to see how they fail.
    return fault in KNOWN_FAULTS and not os.environ.get("PAGELARK_SHOW_KNOWN_FAULTS")


def known(fault):
    """Marks a test of a known fault as expected to fail."""

    def mark(test):
        return unittest.expectedFailure(test) if is_known(fault) else test

    return mark

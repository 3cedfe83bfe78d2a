"""Runs desktop tests: `run.py --list` names them, `run.py NAME` runs one."""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)


def suite():
    return unittest.defaultTestLoader.discover(HERE, pattern="test_*.py", top_level_dir=HERE)


def names(s):
    for t in s:
        if isinstance(t, unittest.TestSuite):
            yield from names(t)
        else:
            yield t.id()


if __name__ == "__main__":
    if sys.argv[1:] == ["--list"]:
        print("\n".join(names(suite())))
        sys.exit(0)
    tests = unittest.defaultTestLoader.loadTestsFromNames(sys.argv[1:] or list(names(suite())))
    result = unittest.TextTestRunner(verbosity=2).run(tests)
    sys.exit(0 if result.wasSuccessful() else 1)

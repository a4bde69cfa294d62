#!/usr/bin/env python3
"""End-to-end tests: the real dravlink.exe under Wine, driven from outside by uidriver.exe.

    tools/wine-session -- python3 tests/e2e/e2e.py \\
        --app build/cross/src/app/dravlink.exe \\
        --driver build/cross/tests/harness/uidriver.exe [--prog DravProg.exe] [unittest args]

Started outside a Wine session it starts one itself (through tools/wine-session). The cases are
the test_*.py modules beside this file; harness.py has the fixtures and the driver.
"""

import argparse
import os
import pathlib
import sys
import unittest

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import harness  # noqa: E402

REPO = HERE.parents[1]


def _flatten(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from _flatten(item)
        else:
            yield item


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--app", required=True, help="dravlink.exe to test (Linux path)")
    parser.add_argument("--driver", required=True, help="uidriver.exe (Linux path)")
    parser.add_argument("--prog", help="DravProg.exe for toolkit folders (Linux path)")
    parser.add_argument("--timeout", type=float, default=60.0, help="seconds per driver run")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folders")
    args, rest = parser.parse_known_args()

    for name in ("app", "driver", "prog"):
        value = getattr(args, name)
        if value and not os.path.isfile(value):
            parser.error(f"--{name}: {value} not found")

    if not os.environ.get("WINE_SESSION"):
        session = REPO / "tools" / "wine-session"
        os.execv(str(session), [str(session), "--", sys.executable, *sys.argv])

    harness.CONFIG.update(app=os.path.abspath(args.app), driver=os.path.abspath(args.driver),
                          prog=args.prog and os.path.abspath(args.prog), timeout=args.timeout,
                          keep=args.keep)

    # Extra arguments are test name patterns (-k style substrings).
    suite = unittest.defaultTestLoader.discover(str(HERE), pattern="test_*.py",
                                                top_level_dir=str(HERE))
    if rest:
        suite = unittest.TestSuite(t for t in _flatten(suite) if any(p in t.id() for p in rest))
    result = unittest.TextTestRunner(stream=sys.stdout, verbosity=2).run(suite)
    failed = len(result.failures) + len(result.errors) + len(result.unexpectedSuccesses)
    skipped = len(result.skipped)
    passed = result.testsRun - failed - skipped - len(result.expectedFailures)
    if skipped:
        print(f"{skipped} skipped")
    print(f"{passed} passed, {failed} failed")
    sys.stdout.flush()
    return 1 if failed or result.testsRun == 0 else 0


if __name__ == "__main__":
    sys.exit(main())

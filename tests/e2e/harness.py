#!/usr/bin/env python3
"""Framework of the end-to-end tests: the real dravlink.exe under Wine, driven from outside by
uidriver.exe. The runner is e2e.py; the cases live in test_*.py beside it.

    tools/wine-session -- python3 tests/e2e/e2e.py \\
        --app build/cross/src/app/dravlink.exe \\
        --driver build/cross/tests/harness/uidriver.exe [--prog DravProg.exe] [unittest args]

Started outside a Wine session it starts one itself (through tools/wine-session).

Each test gets its own temporary folder; `toolkit()` builds a toolkit folder in it, `drive()`
runs a driver script (steps as tuples, see uidriver.cpp for the verbs) and returns the parsed
result lines. Linux paths become Z:\\... inside Wine (`win_path`).

Adding a case:

    def test_reads_stored_location(self):
        kit = self.toolkit("kit", settings=b"...", prog=True, ini="[Location]\\r\\nDir=...\\r\\n")
        out = self.drive(("start", kit, kit.app), ("window",), ("text", 104), ("close",), ("exit",))
        self.assertEqual(out.one("text"), [kit.win])
"""

import argparse
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

REPO = pathlib.Path(__file__).resolve().parents[2]
APP_NAME = "dravlink.exe"
PROG_NAME = "DravProg.exe"
SETTINGS_NAME = "dravsettings.txt"
INI_NAME = "dravlink.ini"

# Filled in from the command line by main().
CONFIG = {"app": None, "driver": None, "prog": None, "timeout": 60.0, "keep": False}

# Known control ids of the main window.
ID_UPDATE = 100
ID_LOCATION_PANEL = 103
ID_LOCATION = 104
MAIN_CAPTION = "Drav Link  v1.04"


def win_path(path) -> str:
    """The Windows form of a Linux path in the default prefix (Z: is /)."""
    return "Z:" + str(pathlib.Path(path).absolute()).replace("/", "\\")


def _to_bytes(value) -> bytes:
    if isinstance(value, bytes):
        return value
    if isinstance(value, pathlib.PurePath):
        return win_path(value).encode("latin-1")
    if isinstance(value, Toolkit):
        return value.win.encode("latin-1")
    # Values are byte strings to the program; latin-1 maps code points 0-255 to one byte each.
    return str(value).encode("latin-1")


def escape_word(value) -> str:
    r"""One script word: bytes that would split or confuse the line become \xNN."""
    data = _to_bytes(value)
    if not data:
        return "\\e"
    out = []
    for i, byte in enumerate(data):
        literal_backslash_x = byte == 0x5C and re.fullmatch(rb"x[0-9A-Fa-f]{2}", data[i + 1 : i + 4])
        if byte <= 0x20 or byte >= 0x7F or literal_backslash_x or (i == 0 and byte == 0x23):
            out.append("\\x%02X" % byte)
        else:
            out.append(chr(byte))
    word = "".join(out)
    return "\\x5Ce" if word == "\\e" else word


def unescape_field(text: str) -> str:
    r"""Undoes the driver's \xNN escapes; bytes come back as latin-1 characters."""
    return re.sub(r"\\x([0-9A-Fa-f]{2})", lambda m: chr(int(m.group(1), 16)), text)


def script_line(step) -> str:
    if isinstance(step, str):
        return step
    return " ".join(escape_word(word) for word in step)


class DriverResult:
    """The driver's exit code and its result lines, split into (verb, fields)."""

    def __init__(self, returncode, stdout: str, stderr: str, script: str):
        self.returncode = returncode
        self.stdout = stdout
        self.stderr = stderr
        self.script = script
        self.lines = [line for line in stdout.replace("\r\n", "\n").split("\n") if line]
        self.failure = next((line for line in self.lines if line.startswith("FAIL ")), None)
        self.steps = []
        for line in self.lines:
            verb, _, rest = line.partition(" ")
            fields = [unescape_field(field) for field in rest.split("|")] if rest else []
            self.steps.append((verb, fields))

    @property
    def ok(self) -> bool:
        return self.returncode == 0 and self.failure is None

    def all(self, verb):
        """Fields of every result line of that verb, in order."""
        return [fields for step_verb, fields in self.steps if step_verb == verb]

    def one(self, verb):
        found = self.all(verb)
        if len(found) != 1:
            raise AssertionError(f"expected one '{verb}' line, got {len(found)}:\n{self.describe()}")
        return found[0]

    def describe(self) -> str:
        return (f"driver exit {self.returncode}\n--- script\n{self.script}--- output\n{self.stdout}"
                + (f"--- stderr\n{self.stderr}" if self.stderr.strip() else ""))


class Toolkit:
    """A toolkit folder made for one test."""

    def __init__(self, path: pathlib.Path):
        self.path = path
        self.win = win_path(path)
        self.app = None  # Windows path of the copied dravlink.exe, if any

    def file(self, name) -> pathlib.Path:
        return self.path / name

    def win_file(self, name) -> str:
        return win_path(self.path / name)

    def read(self, name) -> bytes:
        return (self.path / name).read_bytes()

    def exists(self, name) -> bool:
        return (self.path / name).exists()

    def __str__(self):
        return self.win


class Programmer:
    """The stand-in programmer put in a folder: where it records, and the events that end it."""

    def __init__(self, folder: pathlib.Path, event: str):
        self.folder = folder
        self.log = folder / "fakeprog.log"
        self.win_log = win_path(self.log)
        self.event = event
        self.child_event = event + "-child"

    def records(self, kind=None):
        """The record's lines as field lists (tab-separated), optionally only one kind."""
        if not self.log.exists():
            return []
        lines = self.log.read_bytes().decode("latin-1").split("\r\n")
        rows = [line.split("\t") for line in lines if line]
        return [row for row in rows if kind is None or row[0] == kind]

    def start(self):
        """The one start record of the programmer: pid, folder, command line, arguments, show."""
        rows = self.records("fakeprog-start")
        if len(rows) != 1:
            raise AssertionError(f"expected one start of the programmer, got {rows}")
        return dict(zip(("pid", "cwd", "command_line", "arguments", "show"), rows[0][1:]))


class E2ETestCase(unittest.TestCase):
    """Base class: a temporary folder per test, fixture builders, the driver, chattr helpers."""

    def setUp(self):
        base = os.environ.get("WINE_SESSION_DIR") or None
        self.tmp = pathlib.Path(tempfile.mkdtemp(prefix="e2e-", dir=base))
        if not CONFIG["keep"]:
            # Registered first, so it runs last: after every chattr -i below.
            self.addCleanup(shutil.rmtree, self.tmp, ignore_errors=True)
        else:
            print(f"\n  keeping {self.tmp}", file=sys.stderr)

    # --- fixtures ---------------------------------------------------------------------------

    def folder(self, *parts) -> pathlib.Path:
        """A folder under the test's temporary folder (names may hold spaces etc.)."""
        path = self.tmp.joinpath(*parts)
        path.mkdir(parents=True, exist_ok=True)
        return path

    def toolkit(self, *parts, settings=None, prog=False, ini=None, app=True, files=None) -> Toolkit:
        """A toolkit folder: settings = bytes of dravsettings.txt; prog = True to copy the test
        DravProg.exe (or bytes to write instead); ini = dravlink.ini content (str or bytes,
        written as given); app = copy dravlink.exe in; files = {name: bytes} for anything else."""
        kit = Toolkit(self.folder(*(parts or ("kit",))))
        if settings is not None:
            kit.file(SETTINGS_NAME).write_bytes(_to_bytes(settings))
        if prog is True:
            if not CONFIG["prog"]:
                self.skipTest("needs --prog (a DravProg.exe for tests)")
            shutil.copyfile(CONFIG["prog"], kit.file(PROG_NAME))
        elif prog:
            kit.file(PROG_NAME).write_bytes(prog)
        if ini is not None:
            kit.file(INI_NAME).write_bytes(_to_bytes(ini))
        for name, data in (files or {}).items():
            kit.file(name).write_bytes(data)
        if app:
            kit.app = self.copy_app(kit.path)
        return kit

    def programmer(self, folder, *, quit=True, wait_window=None, exit_code=None, child=None,
                   copy=True):
        """Puts the stand-in programmer (--prog) in `folder` as DravProg.Exe with its
        fakeprog.ini: quit=True makes it wait for its own event (Programmer.event) before it
        exits, False lets it exit at once; wait_window = a window class it first waits for;
        exit_code = its exit code;
        child = the settings of a child it starts and leaves running (same keys)."""
        if not CONFIG["prog"]:
            self.skipTest("needs --prog (the stand-in programmer)")
        folder = pathlib.Path(folder.path if isinstance(folder, Toolkit) else folder)
        prog = Programmer(folder, self.event_name("prog"))
        if copy:
            shutil.copyfile(CONFIG["prog"], folder / "DravProg.Exe")
        sections = {"fakeprog": dict(quit=quit, wait_window=wait_window, exit_code=exit_code)}
        if child is not None:
            sections["fakeprog"]["child"] = "1"
            sections["child"] = dict(child, quit=child.get("quit", True))
        text = ""
        for name, keys in sections.items():
            text += f"[{name}]\r\nlog={win_path(prog.log)}\r\n"
            if keys.pop("quit"):
                text += f"quit={prog.event if name == 'fakeprog' else prog.child_event}\r\n"
            text += "".join(f"{key}={value}\r\n" for key, value in keys.items() if value)
        (folder / "fakeprog.ini").write_bytes(text.encode("latin-1"))
        # Whatever the test did, no stand-in is left waiting for its event afterwards.
        self.addCleanup(self.drive, ("signal", prog.event), ("signal", prog.child_event),
                        expect_ok=False)
        return prog

    def event_name(self, role) -> str:
        return f"dravlink-e2e-{os.getpid()}-{self.tmp.name}-{role}"

    def copy_app(self, folder, name=APP_NAME) -> str:
        """Copies dravlink.exe into folder; returns its Windows path."""
        target = pathlib.Path(folder) / name
        shutil.copyfile(CONFIG["app"], target)
        return win_path(target)

    def read_bytes(self, path) -> bytes:
        return pathlib.Path(path).read_bytes()

    # --- making things unwritable (root ignores permissions and the read-only attribute) ----

    def make_unwritable(self, path):
        """chattr +i on a file (no writes) or folder (no new entries), undone after the test and,
        should this process die, by wine-session at the end of the session."""
        path = pathlib.Path(path).absolute()
        registry = os.environ.get("WINE_SESSION_IMMUTABLE_LIST")
        if registry:
            with open(registry, "a", encoding="utf-8") as out:
                out.write(f"{path}\n")
        self.addCleanup(subprocess.run, ["chattr", "-i", str(path)], check=False)
        subprocess.run(["chattr", "+i", str(path)], check=True)

    # --- the driver -------------------------------------------------------------------------

    def drive(self, *steps, timeout=None, expect_ok=True) -> DriverResult:
        """Runs the steps through uidriver.exe. With expect_ok (the default) a failing step fails
        the test with the script and the driver's output."""
        script = "".join(script_line(step) + "\n" for step in steps)
        script_file = self.tmp / f"script-{time.monotonic_ns()}.txt"
        script_file.write_bytes(script.encode("ascii"))
        command = ["wine", CONFIG["driver"], win_path(script_file)]
        limit = timeout or CONFIG["timeout"]
        # Output goes to files, not pipes: a program left running (a programmer the test did not
        # get to end) may hold inherited pipe ends and would keep a pipe reader waiting.
        out_file = script_file.with_suffix(".out")
        err_file = script_file.with_suffix(".err")
        with open(out_file, "wb") as out, open(err_file, "wb") as err:
            try:
                done = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                      timeout=limit)
            except subprocess.TimeoutExpired:
                self._kill_app()
                text = out_file.read_bytes().decode("latin-1")
                self.fail(f"uidriver did not finish within {limit}s\n--- script\n{script}"
                          f"--- output\n{text}")
        # The driver's last line says it is done. Now and then the wine launcher returns before
        # the program it started has finished writing, so the file is read until that line is
        # there; its code is the driver's own.
        deadline = time.monotonic() + limit
        while True:
            text = out_file.read_bytes().decode("latin-1")
            ended = re.search(r"^end (-?\d+)$", text, re.M)
            if ended or time.monotonic() > deadline:
                break
            time.sleep(0.05)
        code = int(ended.group(1)) if ended else done.returncode
        result = DriverResult(code, text, err_file.read_bytes().decode("latin-1"), script)
        if not ended:
            self.fail(f"uidriver wrote no end line (wine exit {done.returncode})\n"
                      + result.describe())
        if expect_ok and not result.ok:
            self.fail(result.describe())
        return result

    def _kill_app(self):
        # The driver ends the program itself unless it was killed; then this is the way.
        subprocess.run(["wine", "taskkill.exe", "/F", "/IM", APP_NAME], stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30, check=False)

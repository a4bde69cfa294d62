"""The programmer launch: DravProg.Exe from the toolkit folder when the window shows, the wait
for its end, and the end of the program with it. The programmer here is the stand-in (--prog),
which records how it was started and exits when its event is set."""

import os
import pathlib
import re
import sys
import threading
import time

from harness import ID_LOCATION, ID_UPDATE, MAIN_CAPTION, E2ETestCase, win_path
from settings_fixture import ini_text, join, numbered_lines

ARGS = 'C:\\Projects\\blink.hex 16F877 blink'
SETTINGS = join(numbered_lines(90))
SW_SHOWNORMAL = "1"


def wait_until(probe, seconds):
    deadline = time.monotonic() + seconds
    while not probe():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.05)
    return True


def unix_process_of(windows_path: str) -> int:
    """The Linux pid of the Wine process started from that executable."""
    for entry in pathlib.Path("/proc").iterdir():
        try:
            argv0 = (entry / "cmdline").read_bytes().split(b"\0")[0].decode("latin-1")
        except (OSError, ValueError):
            continue
        if argv0.lower() == windows_path.lower():
            return int(entry.name)
    raise AssertionError(f"no process of {windows_path}")


def cpu_ms(pid: int) -> float:
    """User + system time of every thread of the process so far."""
    fields = pathlib.Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1000 / os.sysconf("SC_CLK_TCK")


class LaunchTest(E2ETestCase):
    def assertStartedFrom(self, start, location):
        # The program hands the shell location + "\DravProg.Exe" as it stands (checked where the
        # launcher is tested); Wine's shell sometimes folds the two backslashes into one when it
        # builds the command line, sometimes not.
        pattern = re.escape(location.rstrip("\\")) + r"\\{1,2}DravProg\.Exe"
        self.assertRegex(start["command_line"], '^"' + pattern + '"$')

    def kit_with_programmer(self, name="kit", **programmer):
        kit = self.toolkit(name, settings=SETTINGS)
        return kit, self.programmer(kit, **programmer)

    def test_started_without_arguments_in_the_folder_the_list_shows_and_its_end_ends_the_run(self):
        # Started elsewhere, the stored location moves the list (and the current directory) to
        # the toolkit folder; the programmer starts there.
        toolkit = self.toolkit("toolkit", settings=SETTINGS, app=False)
        prog = self.programmer(toolkit)
        home = self.toolkit("home", ini=ini_text(toolkit.win))
        out = self.drive(("start", home, f'"{home.app}" {ARGS}'), ("window",),
                         ("waitfile", prog.win_log, "fakeprog-start"), ("text", ID_LOCATION),
                         ("signal", prog.event), ("exit", 10000))
        self.assertEqual(out.one("exit"), ["0"])
        self.assertEqual(out.one("text"), [toolkit.win])  # still up while the programmer ran
        start = prog.start()
        self.assertEqual(start["cwd"], toolkit.win)
        self.assertEqual(start["arguments"], "")
        self.assertIn(toolkit.win + "\\DravProg.Exe", start["command_line"])
        self.assertEqual(start["show"], SW_SHOWNORMAL)
        self.assertEqual(prog.records("fakeprog-end")[0][2], "quit")

    def test_a_programmer_that_ends_at_once_closes_the_window_right_after_it_shows(self):
        # Its exit code is not looked at.
        kit, prog = self.kit_with_programmer(quit=False, wait_window="TfrmMain", exit_code=1)
        out = self.drive(("start", kit, f'"{kit.app}" {ARGS}'), ("exit", 10000))
        self.assertEqual(out.one("exit"), ["0"])
        # The programmer saw the window up before it ended, so the close came after the show.
        self.assertEqual(prog.records("fakeprog-window"), [["fakeprog-window", "TfrmMain", "seen"]])
        self.assertEqual(prog.records("fakeprog-end")[0][2], "at-once")

    def test_the_wait_ends_with_the_started_process_not_with_one_it_started(self):
        kit, prog = self.kit_with_programmer(quit=False, child={})
        out = self.drive(("start", kit, f'"{kit.app}" {ARGS}'), ("exit", 10000),
                         ("waitfile", prog.win_log, "child-start"),
                         ("signal", prog.child_event),
                         ("waitfile", prog.win_log, "child-end"))
        self.assertEqual(out.one("exit"), ["0"])
        # The child was still waiting for its event when the program had ended.
        self.assertEqual([row[2] for row in prog.records("child-end")], ["quit"])

    def test_closing_the_window_ends_the_program_and_leaves_the_programmer_running(self):
        kit, prog = self.kit_with_programmer()
        out = self.drive(("start", kit, f'"{kit.app}" {ARGS}'), ("window",),
                         ("waitfile", prog.win_log, "fakeprog-start"), ("close",), ("exit", 3000),
                         ("signal", prog.event), ("waitfile", prog.win_log, "fakeprog-end"))
        self.assertEqual(out.one("exit"), ["0"])
        self.assertEqual(prog.records("fakeprog-end")[0][2], "quit")

    def test_while_the_programmer_runs_the_window_is_usable_and_idle(self):
        toolkit = self.toolkit("toolkit", settings=SETTINGS, app=False)
        prog = self.programmer(toolkit)
        # Stored with a backslash; the list shows the folder without it, and so will the file
        # once Update has stored what is shown.
        home = self.toolkit("home", ini=ini_text(toolkit.win + "\\"))
        go = self.tmp / "measured"
        steps = (("start", home, f'"{home.app}" {ARGS}'), ("window",),
                 ("waitfile", prog.win_log, "fakeprog-start"),
                 ("waitfile", win_path(go), "", 60000), ("click", ID_UPDATE),
                 ("waitfile", home.win_file("dravlink.ini"), f"={toolkit.win}\r\n"),
                 ("signal", prog.event), ("exit", 10000))
        results = []
        driver = threading.Thread(target=lambda: results.append(self.drive(*steps, timeout=90)))
        driver.start()
        try:
            self.assertTrue(wait_until(lambda: prog.records("fakeprog-start"), 30))
            # Wine reports no CPU time of other processes; Linux counts it for the process.
            process = unix_process_of(home.app)
            before = cpu_ms(process)
            time.sleep(10)
            after = cpu_ms(process)
        finally:
            go.write_bytes(b"")
            driver.join()
        print(f"\n  CPU time over a 10 s wait: {after - before:.0f} ms", file=sys.stderr)
        self.assertLess(after - before, 100)
        self.assertEqual(results[0].one("exit"), ["0"])
        self.assertEqual(home.read("dravlink.ini"), ini_text(toolkit.win))

    def test_without_a_programmer_nothing_starts_and_the_window_stays(self):
        cases = [
            # name, what stands at DravProg.Exe in the toolkit folder
            ("missing file", None),
            ("a folder of that name", "folder"),
            ("a text file of that name", b"not a program\r\n"),
            ("an empty file of that name", b""),
            ("a file with only the program signature", b"MZ"),
        ]
        for name, what in cases:
            with self.subTest(name):
                kit = self.toolkit(name, settings=SETTINGS)
                prog = self.programmer(kit, copy=False)
                if what == "folder":
                    kit.file("DravProg.Exe").mkdir()
                elif what is not None:
                    kit.file("DravProg.Exe").write_bytes(what)
                out = self.drive(("start", kit, f'"{kit.app}" {ARGS}'), ("window",),
                                 ("nobox", 2000), ("window", 100), ("close",), ("exit", 3000))
                self.assertEqual(out.one("exit"), ["0"])
                self.assertEqual(len(out.all("window")), 2)
                self.assertEqual(prog.records(), [])

    def test_a_location_ending_in_a_backslash_gives_two_in_a_row(self):
        # Not started from its own folder, the program keeps the detected location: its own
        # folder with the backslash. The programmer there starts in the current folder.
        home = self.toolkit("home")
        prog = self.programmer(home)
        cwd = self.toolkit("cwd", settings=SETTINGS, prog=b"MZ", app=False)
        out = self.drive(("start", cwd, f'"{home.app}" {ARGS}'), ("window",),
                         ("waitfile", prog.win_log, "fakeprog-start"), ("text", ID_LOCATION),
                         ("signal", prog.event), ("exit", 10000))
        self.assertEqual(out.one("text"), [home.win + "\\"])
        start = prog.start()
        self.assertStartedFrom(start, home.win + "\\")
        self.assertEqual(start["cwd"], cwd.win)

    def test_in_a_drive_root(self):
        kit = self.toolkit("root", settings=SETTINGS)
        prog = self.programmer(kit)
        drive = pathlib.Path(os.environ["WINEPREFIX"]) / "dosdevices" / "q:"
        if drive.is_symlink():
            drive.unlink()
        drive.symlink_to(kit.path)
        self.addCleanup(drive.unlink)
        out = self.drive(("start", "Q:\\", f'"Q:\\dravlink.exe" {ARGS}'), ("window",),
                         ("waitfile", prog.win_log, "fakeprog-start"), ("text", ID_LOCATION),
                         ("signal", prog.event), ("exit", 10000))
        self.assertEqual(out.one("text"), ["Q:\\"])
        start = prog.start()
        self.assertStartedFrom(start, "Q:\\")
        self.assertEqual(start["cwd"], "Q:\\")

    def test_after_an_error_box_at_start_the_launch_follows_its_closing(self):
        kit = self.toolkit("kit", settings=None)  # no settings file: the rewrite fails
        prog = self.programmer(kit)
        out = self.drive(("start", kit, f'"{kit.app}" {ARGS}'), ("sleep", 1500),
                         ("absent", prog.win_log), ("box",),
                         ("waitfile", prog.win_log, "fakeprog-start"), ("window",),
                         ("signal", prog.event), ("exit", 10000))
        self.assertEqual(out.one("box"), ["Drav Link", "File not found.", "stop"])
        self.assertEqual(out.one("exit"), ["0"])

    def test_a_minimised_start_launches_only_once_restored(self):
        kit, prog = self.kit_with_programmer()
        out = self.drive(("start", kit, f'"{kit.app}" {ARGS}', 7), ("window",), ("sleep", 1500),
                         ("absent", prog.win_log), ("restore",),
                         ("waitfile", prog.win_log, "fakeprog-start"), ("window",),
                         ("signal", prog.event), ("exit", 10000))
        first, restored = out.all("window")
        self.assertEqual(first[3], "min")
        self.assertEqual(restored[3], "normal")
        self.assertEqual(out.one("exit"), ["0"])

    def test_other_show_commands_launch_as_the_window_shows(self):
        cases = [
            # show command, window state
            (3, "max"),  # SW_SHOWMAXIMIZED
            (2, "min"),  # SW_SHOWMINIMIZED: an icon, but shown (activated) at once
            (0, "normal"),  # SW_HIDE: a window nobody could see or close is shown instead
            (1, "normal"),
        ]
        for show, state in cases:
            with self.subTest(show=show):
                kit, prog = self.kit_with_programmer(f"show {show}")
                out = self.drive(("start", kit, f'"{kit.app}" {ARGS}', show), ("window",),
                                 ("waitfile", prog.win_log, "fakeprog-start"),
                                 ("signal", prog.event), ("exit", 10000))
                self.assertEqual(out.one("window")[3], state)
                self.assertEqual(out.one("exit"), ["0"])

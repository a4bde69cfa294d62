"""Start-up: where the toolkit location comes from, what is stored, when the rewrite runs, and
how a failure on the way is reported before the window is shown."""

import os
import pathlib

from harness import ID_LOCATION, ID_UPDATE, MAIN_CAPTION, E2ETestCase, win_path
from settings_fixture import expected_output, ini_text, join, numbered_lines, replaced_lines

PROG = b"MZ"  # only its presence in the folder counts here
ARGS = 'C:\\Projects\\blink.hex 16F877 blink'
REPLACED_16F877 = replaced_lines(b"C:\\Projects\\blink.hex", b"16F877", b"blink", b"8192", b"256")



class StartUpTest(E2ETestCase):
    def run_app(self, cwd, app, args=ARGS, *, box=None):
        """Starts the app in `cwd`, answers the error box when `box` (its text) is expected,
        and returns the location label's text once the window is shown; then closes it."""
        steps = [("start", cwd, f'"{app}" {args}')]
        if box is not None:
            steps.append(("box",))
        steps += [("window",), ("text", ID_LOCATION), ("close",), ("exit",)]
        out = self.drive(*steps)
        if box is not None:
            self.assertEqual(out.one("box"), ["Drav Link", box, "stop"])
        self.assertEqual(out.one("window")[0], MAIN_CAPTION)
        self.assertEqual(out.one("exit"), ["0"])
        text = out.one("text")
        return text[0] if text else ""

    def test_first_run_from_the_toolkit_folder_stores_reads_back_and_rewrites(self):
        lines = numbered_lines(90)
        kit = self.toolkit("Drav Toolkit", settings=join(lines), prog=PROG)
        label = self.run_app(kit, kit.app)

        self.assertEqual(kit.read("dravlink.ini"), ini_text(kit.win + "\\"))
        self.assertEqual(label, kit.win)
        expected = expected_output(lines, REPLACED_16F877)
        self.assertEqual(kit.read("dravsettings.txt"), expected)
        self.assertEqual(kit.read("dravsettings1.txt"), expected)
        self.assertEqual(sorted(p.name for p in kit.path.iterdir()),
                         ["DravProg.exe", "dravlink.exe", "dravlink.ini", "dravsettings.txt",
                          "dravsettings1.txt"])

    def test_a_short_file_gains_the_drive_of_the_program(self):
        lines = numbered_lines(84)
        kit = self.toolkit("kit", settings=join(lines), prog=PROG)
        self.run_app(kit, kit.app)
        expected = expected_output(lines, REPLACED_16F877, drive=b"Z:")
        self.assertEqual(len(expected.split(b"\r\n")) - 1, 107)
        self.assertEqual(kit.read("dravsettings.txt"), expected)

    def test_in_a_drive_root_the_location_keeps_its_backslash(self):
        kit = self.toolkit("root", settings=join(numbered_lines(84)), prog=PROG)
        drive = pathlib.Path(os.environ["WINEPREFIX"]) / "dosdevices" / "q:"
        if drive.is_symlink():
            drive.unlink()
        drive.symlink_to(kit.path)
        self.addCleanup(drive.unlink)

        label = self.run_app("Q:\\", "Q:\\dravlink.exe")
        self.assertEqual(kit.read("dravlink.ini"), ini_text("Q:\\"))
        self.assertEqual(label, "Q:\\")
        # Paths formed from "Q:\" have two backslashes in a row, which the system accepts.
        expected = expected_output(numbered_lines(84), REPLACED_16F877, drive=b"Q:")
        self.assertEqual(kit.read("dravsettings.txt"), expected)

    def test_without_an_ini_file_in_the_current_folder_nothing_is_read_or_rewritten(self):
        settings = join(numbered_lines(90))
        home = self.toolkit("home", settings=settings, ini=ini_text(win_path(self.tmp / "home")))
        elsewhere = self.toolkit("elsewhere", settings=settings, app=False)
        label = self.run_app(elsewhere, home.app)
        self.assertEqual(label, elsewhere.win)
        for kit in (home, elsewhere):
            self.assertEqual(kit.read("dravsettings.txt"), settings)
            self.assertFalse(kit.exists("dravsettings1.txt"))

    def test_programmer_elsewhere_stores_the_program_folder_but_reads_nothing(self):
        settings = join(numbered_lines(90))
        home = self.toolkit("home", settings=settings)
        elsewhere = self.toolkit("elsewhere", settings=settings, prog=PROG, app=False)
        label = self.run_app(elsewhere, home.app)
        self.assertEqual(label, home.win + "\\")
        self.assertEqual(home.read("dravlink.ini"), ini_text(home.win + "\\"))
        self.assertFalse(elsewhere.exists("dravlink.ini"))
        for kit in (home, elsewhere):
            self.assertEqual(kit.read("dravsettings.txt"), settings)
            self.assertFalse(kit.exists("dravsettings1.txt"))

    def test_an_ini_without_a_location_gives_an_empty_location(self):
        # The current folder has an ini file, the program's folder has none (or no key): the
        # location is empty, the list stays, and the rewrite looks in the drive's root.
        for name, home_ini in (("no ini beside the program", None),
                               ("no key", b"[DravLink]\r\nOther=1\r\n")):
            with self.subTest(name):
                home = self.toolkit(name, "home", ini=home_ini)
                cwd = self.toolkit(name, "cwd", ini=ini_text("Z:\\nowhere"), app=False,
                                   settings=join(numbered_lines(90)))
                label = self.run_app(cwd, home.app, box="File not found.")
                self.assertEqual(label, "")
                self.assertFalse(cwd.exists("dravsettings1.txt"))

    def test_a_stored_location_differing_only_in_case_is_kept_as_stored(self):
        lines = numbered_lines(90)
        kit = self.toolkit("Kit", settings=join(lines))
        stored = kit.win.lower()
        kit.file("dravlink.ini").write_bytes(ini_text(stored))
        label = self.run_app(kit, kit.app)
        self.assertEqual(label, stored)
        self.assertEqual(kit.read("dravsettings.txt"), expected_output(lines, REPLACED_16F877))

    def test_a_stored_location_elsewhere_moves_the_list_there(self):
        lines = numbered_lines(90)
        toolkit = self.toolkit("toolkit", settings=join(lines), app=False)
        home = self.toolkit("home", ini=ini_text(toolkit.win + "\\"))
        label = self.run_app(home, home.app)
        self.assertEqual(label, toolkit.win)
        self.assertEqual(toolkit.read("dravsettings.txt"), expected_output(lines, REPLACED_16F877))
        self.assertFalse(home.exists("dravsettings1.txt"))

    def test_a_stored_folder_that_cannot_be_entered_is_reported_and_nothing_is_rewritten(self):
        cases = [
            # name, stored location below the test folder, message
            ("removed folder", "gone", "File not found."),
            ("missing parent", "gone\\deeper", "Invalid filename."),
            ("a file, not a folder", "home\\dravsettings.txt", "I/O error 267."),
        ]
        settings = join(numbered_lines(90))
        for name, relative, message in cases:
            with self.subTest(name):
                home = self.toolkit(name, "home", settings=settings)
                stored = win_path(self.tmp / name) + "\\" + relative
                home.file("dravlink.ini").write_bytes(ini_text(stored))
                label = self.run_app(home, home.app, box=message)
                self.assertEqual(label, stored)
                self.assertEqual(home.read("dravsettings.txt"), settings)
                self.assertFalse(home.exists("dravsettings1.txt"))

    def test_an_unwritable_ini_file_ends_the_start_up(self):
        settings = join(numbered_lines(90))
        for name, read_only_ini in (("folder takes no new file", False), ("read-only ini", True)):
            with self.subTest(name):
                kit = self.toolkit(name, settings=settings, prog=PROG)
                if read_only_ini:
                    kit.file("dravlink.ini").write_bytes(ini_text(kit.win))
                    self.make_unwritable(kit.file("dravlink.ini"))
                else:
                    self.make_unwritable(kit.path)
                label = self.run_app(kit, kit.app,
                                     box=f"Unable to write to {kit.win}\\dravlink.ini.")
                self.assertEqual(label, kit.win + "\\")
                self.assertEqual(kit.read("dravsettings.txt"), settings)
                self.assertFalse(kit.exists("dravsettings1.txt"))

    def test_update_stores_the_shown_folder(self):
        kit = self.toolkit("kit", settings=join(numbered_lines(90)), prog=PROG)
        out = self.drive(("start", kit, f'"{kit.app}" {ARGS}'), ("window",), ("click", ID_UPDATE),
                         ("sleep", 300), ("close",), ("exit",))
        self.assertEqual(out.one("exit"), ["0"])
        # Auto-detection stored the folder with its backslash; Update stores what the label shows.
        self.assertEqual(kit.read("dravlink.ini"), ini_text(kit.win))

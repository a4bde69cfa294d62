"""The settings-file rewrite as the user meets it: the files it leaves in every failure, and a
save that never leaves the settings file short."""

import subprocess

from harness import E2ETestCase
from settings_fixture import expected_output, ini_text, join, numbered_lines, replaced_lines

ARGS = 'C:\\Projects\\blink.hex 16F628 blink'
REPLACED_16F628 = replaced_lines(b"C:\\Projects\\blink.hex", b"16F628", b"blink", b"2048", b"128")



class RewriteTest(E2ETestCase):
    def kit_with(self, name, settings=None, copy=None):
        """A toolkit folder whose ini file points at itself."""
        kit = self.toolkit(name, settings=settings)
        kit.file("dravlink.ini").write_bytes(ini_text(kit.win))
        if copy is not None:
            kit.file("dravsettings1.txt").write_bytes(copy)
        return kit

    def run_app(self, kit, box=None):
        steps = [("start", kit, f'"{kit.app}" {ARGS}')]
        if box is not None:
            steps.append(("box",))
        steps += [("window",), ("close",), ("exit",)]
        out = self.drive(*steps)
        if box is not None:
            self.assertEqual(out.one("box"), ["Drav Link", box, "stop"])
        else:
            self.assertEqual(out.all("box"), [])
        self.assertEqual(out.one("exit"), ["0"])

    def entries(self, kit):
        return sorted(p.name for p in kit.path.iterdir())

    def test_line_ends_are_read_as_written_and_written_back_as_cr_lf(self):
        lines = numbered_lines(90)
        cases = [("CR LF", b"\r\n"), ("CR", b"\r"), ("LF", b"\n")]
        for name, end in cases:
            with self.subTest(name):
                kit = self.kit_with(name, settings=join(lines, end))
                self.run_app(kit)
                expected = expected_output(lines, REPLACED_16F628)
                self.assertEqual(kit.read("dravsettings.txt"), expected)
                self.assertEqual(kit.read("dravsettings1.txt"), expected)

    def test_the_failure_table(self):
        settings = join(numbered_lines(90))
        expected = expected_output(numbered_lines(90), REPLACED_16F628)

        with self.subTest("settings file missing"):
            kit = self.kit_with("missing")
            self.run_app(kit, box="File not found.")
            self.assertEqual(self.entries(kit), ["dravlink.exe", "dravlink.ini"])

        with self.subTest("copy cannot be created"):
            kit = self.kit_with("copy", settings=settings, copy=b"old copy\r\n")
            self.make_unwritable(kit.file("dravsettings1.txt"))
            self.run_app(kit, box="File access denied.")
            self.assertEqual(kit.read("dravsettings.txt"), settings)
            self.assertEqual(kit.read("dravsettings1.txt"), b"old copy\r\n")

        for name, make_read_only in (("immutable settings file", self.make_unwritable),
                                     ("read-only attribute", lambda p: p.chmod(0o444))):
            with self.subTest(name):
                kit = self.kit_with(name, settings=settings)
                make_read_only(kit.file("dravsettings.txt"))
                self.run_app(kit, box=f"Cannot create file {kit.win}\\dravsettings.txt.")
                self.assertEqual(kit.read("dravsettings.txt"), settings)
                self.assertEqual(kit.read("dravsettings1.txt"), expected)
                self.assertEqual(self.entries(kit), ["dravlink.exe", "dravlink.ini",
                                                     "dravsettings.txt", "dravsettings1.txt"])

    def test_a_folder_that_takes_no_new_file_is_written_in_place(self):
        settings = join(numbered_lines(90))
        kit = self.kit_with("in place", settings=settings, copy=b"")
        self.make_unwritable(kit.path)
        self.run_app(kit)
        expected = expected_output(numbered_lines(90), REPLACED_16F628)
        self.assertEqual(kit.read("dravsettings.txt"), expected)
        self.assertEqual(kit.read("dravsettings1.txt"), expected)
        self.assertEqual(self.entries(kit), ["dravlink.exe", "dravlink.ini", "dravsettings.txt",
                                             "dravsettings1.txt"])

    def test_a_full_disk_leaves_the_settings_file_whole(self):
        # A small file system that holds the settings file and its copy but not a third text
        # of that size: the new text can't be written whole anywhere.
        mount = self.folder("small disk")
        subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", str(mount)], check=True)
        self.addCleanup(subprocess.run, ["umount", "-l", str(mount)], check=False)
        lines = [b"%05d " % n + b"x" * 1000 for n in range(1, 101)]
        settings = join(lines)  # about 100 KB
        kit = self.toolkit("small disk", "kit", settings=settings, app=False)
        kit.file("dravsettings1.txt").write_bytes(settings)
        # The program and its ini file live elsewhere; the ini file points at the small disk.
        home = self.toolkit("home")
        home.file("dravlink.ini").write_bytes(ini_text(kit.win))
        filler = mount / "filler"
        with open(filler, "wb") as out:
            try:
                out.write(b"\0" * (256 * 1024))
            except OSError:
                pass  # the disk is full: that was the point
        # Leave a little room, less than the text needs.
        with open(filler, "r+b") as out:
            out.truncate(filler.stat().st_size - 16 * 1024)

        self.run_app(home, box="Stream write error.")
        self.assertEqual(kit.read("dravsettings.txt"), settings)
        self.assertEqual(self.entries(kit), ["dravsettings.txt", "dravsettings1.txt"])

"""Smoke tests of the harness itself against the real program."""

import unittest

from harness import ID_LOCATION, MAIN_CAPTION, E2ETestCase, escape_word, unescape_field


class SmokeTest(E2ETestCase):
    def test_starts_without_ini_and_shows_start_folder(self):
        kit = self.toolkit("empty")
        out = self.drive(("start", kit, kit.app), ("window",), ("text", ID_LOCATION), ("close",),
                         ("exit",))
        self.assertEqual(out.one("window")[0], MAIN_CAPTION)
        self.assertEqual(out.one("text"), [kit.win])
        self.assertEqual(out.one("exit"), ["0"])

    def test_start_through_cmd_with_spaces_in_folder(self):
        kit = self.toolkit("folder with  spaces")
        out = self.drive(("start-cmd", kit, f'"{kit.app}"'), ("window",), ("text", ID_LOCATION),
                         ("close",), ("exit",))
        self.assertEqual(out.one("text"), [kit.win])
        self.assertEqual(out.one("exit"), ["0"])

    def test_failing_step_is_reported_and_app_is_ended(self):
        kit = self.toolkit("kit")
        out = self.drive(("start", kit, kit.app), ("window",), ("text", 9999),
                         expect_ok=False)
        self.assertNotEqual(out.returncode, 0)
        self.assertRegex(out.failure or "", r"^FAIL step 3: no control with id 9999")
        # The driver ended the program, so a fresh start sees no leftover window or box.
        again = self.drive(("start", kit, kit.app), ("window",), ("nobox", 200), ("close",),
                           ("exit",))
        self.assertEqual(len(again.all("window")), 1)


class EscapeTest(unittest.TestCase):
    """The script and result encodings must round-trip any byte, or command lines get mangled."""

    CASES = [
        # name, value, expected script word
        ("plain", "abc", "abc"),
        ("windows path", "C:\\dir\\x.exe", "C:\\dir\\x.exe"),
        ("backslash x hex", "C:\\x41", "C:\\x5Cx41"),
        ("space tab quote", ' "\t', '\\x20"\\x09'),
        ("crlf", "a\r\nb", "a\\x0D\\x0Ab"),
        ("high byte", b"\xe9", "\\xE9"),
        ("empty", "", "\\e"),
        ("literal empty marker", "\\e", "\\x5Ce"),
        ("leading hash", "#1", "\\x231"),
    ]

    def test_escape_word(self):
        for name, value, expected in self.CASES:
            with self.subTest(name):
                self.assertEqual(escape_word(value), expected)

    def test_unescape_field(self):
        self.assertEqual(unescape_field("Z:\\x5Ctmp\\x7Cx\\x0D\\x0A"), "Z:\\tmp|x\r\n")

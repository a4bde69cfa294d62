"""How the real dravlink.exe takes its three arguments from the raw command line: started directly
with CreateProcess (the command line reaches the program byte for byte) and through cmd.exe (the
way a build step usually starts it). Every case looks at the rewritten settings file, where the
arguments end up: line 5 = third, lines 8 and 21 = first, line 81 = "PIC" + device, and the
device's sizes on lines 22, 23, 82 and 83."""

from harness import INI_NAME, SETTINGS_NAME, E2ETestCase
from settings_fixture import ini_text

COPY_NAME = "dravsettings1.txt"
CRLF = "\r\n"

# 90 numbered lines: every rewritten line is told apart from the kept ones, and with more than
# 88 lines no drive lines are appended, so the whole expected file is known.
FIXTURE_LINES = [f"line {n}" for n in range(1, 91)]
FIXTURE = "".join(line + CRLF for line in FIXTURE_LINES).encode("latin-1")

# (CommandSize, InputSize) of the devices the cases use.
SIZES = {"16F877": ("8192", "256"), "16F84": ("1024", "64"), "16F628": ("2048", "128"),
         "16F627": ("1024", "128")}  # 1024 words of program memory

BOX_TEXT = ("Argument {} contains a line break or end-of-file character and cannot be written to "
            "the settings file.")

LONG_FIRST = "".join(chr(ord("a") + i % 26) for i in range(20000))
LONG_THIRD = "0123456789" * 1000

# name, command-line tail after the program's name, expected first / device / third.
# Started with CreateProcess: no shell in between, so these are the program's rule alone.
START_CASES = [
    ("plain", "blink.hex 16F877 blink.asm", "blink.hex", "16F877", "blink.asm"),
    ("quoted_paths_with_spaces", r'"C:\My Projects\blink.hex" 16F84 "D:\out  dir\x.asm"',
     r"C:\My Projects\blink.hex", "16F84", r"D:\out  dir\x.asm"),
    ("quotes_inside_only_group", 'x"y z"w 16F628 t', "xy zw", "16F628", "t"),
    ("quote_runs_to_end_when_unclosed", 'a 16F877 "c d', "a", "16F877", "c d"),
    ("empty_pair_is_skipped", 'a "" 16F877 c', "a", "16F877", "c"),
    ("two_empty_pairs_are_skipped", 'a """" 16F877 "" c', "a", "16F877", "c"),
    ("leading_empty_pair_is_skipped", '"" a 16F877 c', "a", "16F877", "c"),
    # The pair is skipped even with text right behind it.
    ("empty_pair_glued_to_text", 'a ""16F877 c', "a", "16F877", "c"),
    ("tab_separates", "a\t16F877\t\tc", "a", "16F877", "c"),
    ("control_bytes_separate", "a\x0116F877\x1fc", "a", "16F877", "c"),
    # Outside quotes CR, LF and Ctrl-Z are plain separators, so nothing is refused.
    ("cr_lf_ctrlz_outside_quotes_separate", "a\r16F877\n\x1ac", "a", "16F877", "c"),
    ("fourth_argument_ignored", "a 16F877 c d", "a", "16F877", "c"),
    ("line_break_in_fourth_argument_ignored", 'a 16F877 c "d\r\ne"', "a", "16F877", "c"),
    ("commas_stripped", "1,2 16F,877 ,,,", "12", "16F877", ""),
    ("commas_stripped_in_quoted_path", r'"C:\a, b\x.hex" 16F,8,4 t,', r"C:\a b\x.hex", "16F84",
     "t"),
    # Commas go after splitting: a lone comma is an argument that becomes empty, and the one
    # after it keeps its place.
    ("lone_comma_keeps_position", "a , c", "a", "", "c"),
    # The 16F627 has 1024 words of program memory.
    ("device_16F627_sizes", "a 16F627 c", "a", "16F627", "c"),
    ("no_arguments", "", "", "", ""),
    ("only_separators", "  \t ", "", "", ""),
    ("only_empty_pairs", '"" ""', "", "", ""),
    ("two_arguments", "a 16F877", "a", "16F877", ""),
    # No escape character: the backslash stays and the quote after it opens a group.
    ("backslash_before_quote", r'C:\dir\" 16F877 x" 16F84 t', r"C:\dir\ 16F877 x", "16F84",
     "t"),
    ("backslash_quote_pair", r'a\"" 16F877 c', "a\\", "16F877", "c"),
    ("high_bytes_kept", "\xe9t\xe9 16F877 " + "".join(chr(b) for b in range(0x80, 0x100)),
     "\xe9t\xe9", "16F877", "".join(chr(b) for b in range(0x80, 0x100))),
    ("long_arguments", f"{LONG_FIRST} 16F877 {LONG_THIRD}", LONG_FIRST, "16F877", LONG_THIRD),
]

# The same through `cmd.exe /c dravlink.exe TAIL`. cmd passes an external program's arguments
# on as text, but first applies its own syntax: outside double quotes ^ escapes the next
# character (the caret itself is dropped) and & | < > end the command or redirect; inside
# quotes all of them are plain text. Commas are separators to cmd's built-ins only. Cases marked
# "cmd:" are where cmd changes the text before the program sees it.
CMD_CASES = [
    ("plain", "blink.hex 16F877 blink.asm", "blink.hex", "16F877", "blink.asm"),
    ("quoted_paths_with_spaces", r'"C:\My Projects\blink.hex" 16F84 "D:\out  dir\x.asm"',
     r"C:\My Projects\blink.hex", "16F84", r"D:\out  dir\x.asm"),
    ("quotes_inside_only_group", 'x"y z"w 16F628 t', "xy zw", "16F628", "t"),
    ("empty_pair_is_skipped", 'a "" 16F877 c', "a", "16F877", "c"),
    ("empty_pair_glued_to_text", 'a ""16F877 c', "a", "16F877", "c"),
    ("tab_separates", "a\t16F877\tc", "a", "16F877", "c"),
    ("fourth_argument_ignored", "a 16F877 c d", "a", "16F877", "c"),
    ("commas_stripped", "1,2 16F,877 ,,,", "12", "16F877", ""),
    ("lone_comma_keeps_position", "a , c", "a", "", "c"),
    ("no_arguments", "", "", "", ""),
    ("backslash_before_quote", r'C:\dir\" 16F877 x" 16F84 t', r"C:\dir\ 16F877 x", "16F84",
     "t"),
    ("high_bytes_kept", "\xe9t\xe9 16F877 \xa0\xe0\xff", "\xe9t\xe9", "16F877", "\xa0\xe0\xff"),
    # cmd: the caret outside quotes is eaten by cmd; inside quotes it reaches the program.
    ("caret_outside_and_inside_quotes", 'a^b 16F877 "c^d"', "ab", "16F877", "c^d"),
    # cmd: & and | would end the command outside quotes; quoted, they are ordinary bytes.
    ("ampersand_and_pipe_in_quotes", '"a&b" 16F877 "c|d"', "a&b", "16F877", "c|d"),
    # cmd: an escaped & passes as text, without its caret, and splits nothing.
    ("escaped_ampersand", "a^&b 16F877 c", "a&b", "16F877", "c"),
    # cmd's own line is limited to 8191 characters, so less than the direct-start case; still
    # well above the 4096 characters an argument is meant to hold.
    ("long_arguments", f"{LONG_FIRST[:6000]} 16F877 {LONG_THIRD[:1500]}", LONG_FIRST[:6000],
     "16F877", LONG_THIRD[:1500]),
]

# name, tail, number of the argument named in the error box.
# A line break or Ctrl-Z can only stand inside quotes; the settings file could not hold it.
REFUSED_START_CASES = [
    ("cr_in_first", '"a\rb" 16F877 c', 1),
    ("lf_in_third", 'a 16F877 "c\nd"', 3),
    ("ctrlz_in_device", 'a "16F\x1a877" c', 2),
    ("crlf_in_first_and_third", '"a\r\n" 16F877 "\r\nc"', 1),
    # Stripping the commas around it leaves the break in place.
    ("lf_between_commas", 'a ",\n," c', 2),
]

# Inside quotes cmd passes CR, LF and Ctrl-Z on unchanged.
REFUSED_CMD_CASES = [
    ("cr_in_first", '"a\rb" 16F877 c', 1),
    ("lf_in_third", 'a 16F877 "c\nd"', 3),
    ("ctrlz_in_device", 'a "16F\x1a877" c', 2),
    ("ctrlz_in_third", 'a 16F877 "c\x1a"', 3),
]


def expected_settings(first, device, third) -> bytes:
    command_size, input_size = SIZES.get(device, ("", ""))
    lines = list(FIXTURE_LINES)
    lines[4 - 1] = " 1"
    lines[5 - 1] = third
    lines[6 - 1] = " 2338 Input size  0"
    lines[8 - 1] = first
    lines[21 - 1] = first
    lines[22 - 1] = f" {input_size} Input Size  4"
    lines[23 - 1] = f" {command_size} Command Size  4"
    lines[81 - 1] = "PIC" + device
    lines[82 - 1] = " " + command_size
    lines[83 - 1] = " " + input_size
    lines[84 - 1] = " 0"
    return "".join(line + CRLF for line in lines).encode("latin-1")


class CommandLineTest(E2ETestCase):
    """Test methods are generated from the tables below the class."""

    def _kit(self, name="kit"):
        kit = self.toolkit(name, settings=FIXTURE)
        kit.file(INI_NAME).write_bytes(ini_text(kit.win))
        return kit

    @staticmethod
    def _command(kit, via_cmd, tail, program=None):
        # cmd is given the bare name (found in its current folder): a line that starts with a
        # quote and holds more quotes has its outer quotes stripped by cmd /c.
        program = program or ("dravlink.exe" if via_cmd else f'"{kit.app}"')
        return ("start-cmd" if via_cmd else "start", kit, f"{program} {tail}" if tail else program)

    def check_arguments(self, via_cmd, tail, first, device, third, folder="kit", program=None):
        kit = self._kit(folder)
        out = self.drive(self._command(kit, via_cmd, tail, program and program(kit)), ("window",),
                         ("close",), ("exit",))
        self.assertEqual(out.one("exit"), ["0"])

        written = kit.read(SETTINGS_NAME)
        lines = written.decode("latin-1").split(CRLF)
        self.assertEqual(len(lines), 91, "90 lines, each ending in CR LF")
        command_size, input_size = SIZES.get(device, ("", ""))
        got = {n: lines[n - 1] for n in (5, 8, 21, 81, 22, 23, 82, 83)}
        want = {5: third, 8: first, 21: first, 81: "PIC" + device,
                22: f" {input_size} Input Size  4", 23: f" {command_size} Command Size  4",
                82: " " + command_size, 83: " " + input_size}
        self.assertEqual(got, want)
        # Everything else kept in place: no argument leaked into another line.
        self.assertEqual(written, expected_settings(first, device, third))
        self.assertEqual(kit.read(COPY_NAME), written)

    # The program's own name is taken by the same rule and skipped, whatever form it has.
    def test_start_program_in_folder_with_spaces(self):
        self.check_arguments(False, "a 16F877 c", "a", "16F877", "c", folder="tool  kit")

    def test_start_program_name_unquoted(self):
        # The temporary folders hold no spaces, so the bare path is one word.
        self.check_arguments(False, "a 16F877 c", "a", "16F877", "c", program=lambda kit: kit.app)

    # cmd: a line with exactly two quotes, around an existing program, keeps them.
    def test_cmd_program_in_folder_with_spaces(self):
        self.check_arguments(True, "a 16F877 c", "a", "16F877", "c", folder="tool  kit",
                             program=lambda kit: f'"{kit.app}"')

    def check_refused(self, via_cmd, tail, number):
        kit = self._kit()
        out = self.drive(self._command(kit, via_cmd, tail), ("box",), ("window",), ("close",),
                         ("exit",))
        self.assertEqual(out.one("box"), ["Drav Link", BOX_TEXT.format(number), "stop"])
        self.assertEqual(len(out.all("window")), 1)
        self.assertEqual(out.one("exit"), ["0"])
        self.assertEqual(kit.read(SETTINGS_NAME), FIXTURE)
        self.assertFalse(kit.exists(COPY_NAME), "the copy must not be created")


def _add(name, method):
    if hasattr(CommandLineTest, name):
        raise RuntimeError(f"duplicate case {name}")
    setattr(CommandLineTest, name, method)


def _accepted(via_cmd, tail, first, device, third):
    return lambda self: self.check_arguments(via_cmd, tail, first, device, third)


def _refused(via_cmd, tail, number):
    return lambda self: self.check_refused(via_cmd, tail, number)


for _name, _tail, _first, _device, _third in START_CASES:
    _add(f"test_start_{_name}", _accepted(False, _tail, _first, _device, _third))
for _name, _tail, _first, _device, _third in CMD_CASES:
    _add(f"test_cmd_{_name}", _accepted(True, _tail, _first, _device, _third))
for _name, _tail, _number in REFUSED_START_CASES:
    _add(f"test_start_refuses_{_name}", _refused(False, _tail, _number))
for _name, _tail, _number in REFUSED_CMD_CASES:
    _add(f"test_cmd_refuses_{_name}", _refused(True, _tail, _number))


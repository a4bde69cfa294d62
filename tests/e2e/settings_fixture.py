"""A settings file for the end-to-end tests, what the rewrite must make of it, and the ini file
that points the program at a toolkit folder."""

CRLF = b"\r\n"

# Output lines the rewrite replaces for first argument F, device D and third argument T, when
# D is a device of the built-in table with sizes (command, input). Written out, not computed.
def replaced_lines(first: bytes, device: bytes, third: bytes, command: bytes, data: bytes):
    return {
        4: b" 1",
        5: third,
        6: b" 2338 Input size  0",
        8: first,
        21: first,
        22: b" " + data + b" Input Size  4",
        23: b" " + command + b" Command Size  4",
        81: b"PIC" + device,
        82: b" " + command,
        83: b" " + data,
        84: b" 0",
    }


def numbered_lines(count: int):
    return [b"setting line %d" % n for n in range(1, count + 1)]


def join(lines, end=CRLF) -> bytes:
    return b"".join(line + end for line in lines)


def expected_output(input_lines, replaced, drive: bytes = b"") -> bytes:
    """Input lines 1..84 with `replaced` put in, the lines after 84 as they are, and the 23
    drive lines when fewer than 5 follow line 84."""
    lines = list(input_lines[:84]) + [b""] * max(0, 84 - len(input_lines))
    for number, text in replaced.items():
        lines[number - 1] = text
    rest = list(input_lines[84:])
    lines += rest
    if len(rest) < 5:
        lines += [drive] * 23
    return join(lines)


def ini_text(location: str) -> bytes:
    """An ini file as the program writes it from nothing, holding `location`."""
    return b"[DravLink]\r\nLocation=" + location.encode("latin-1") + b"\r\n"

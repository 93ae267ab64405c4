"""STEP6 on the real program: a key plays its note on the computer to the end
and only then sends it to the lamp in direct sound mode; the length pictures
and options choose the note's length; where a black key lies over a white one
the press is the black key's; a second press while the first note is still
playing or on the wire never falls between the mode byte and the note."""

import os
import tempfile
import time
import wave

import lk72e2e



PAGE = (30, 70)
NEXT_STEP = (88 + 31, 510 + 20)
SHOTS = os.environ.get("LK72_E2E_SHOTS", tempfile.gettempdir())


def at(x, y):
    return (PAGE[0] + x, PAGE[1] + y)


# The keyboard: white keys 44 x 144 from (184, 96), black keys 30 x 90 over the gaps.
def white_key(n):
    """The lower half of white key n (0 do ... 7 high do), where no black key lies."""
    return at(184 + 44 * n + 22, 96 + 110)


DO, RE, HIGH_DO = white_key(0), white_key(1), white_key(7)
FA_SHARP = at(184 + 44 * 4 - 15 + 15, 96 + 45)
DO_DO_SHARP_OVERLAP = at(184 + 44 - 8, 96 + 50)   # inside do and inside do#
# The length choice at (240, 262): options at y 20, pictures at y 40 (64 x 26), 72 apart.
SHORT_PICTURE, LONG_PICTURE = at(240 + 4 + 32, 262 + 40 + 13), at(240 + 4 + 144 + 32, 262 + 40 + 13)
NORMAL_OPTION = at(240 + 2 + 72 + 20, 262 + 20 + 9)


def wave_seconds(s, code):
    with wave.open(os.path.join(s.bindir, "wave", f"{code}.wav"), "rb") as w:
        return w.getnframes() / w.getframerate()


def shot(s, name):
    s.screenshot(os.path.join(SHOTS, f"lk72e2e-step6-{name}.png"))


def write_count(s):
    """How many write calls the program has made to the lamp so far."""
    if not os.path.exists(s.wire_log):
        return 0
    with open(s.wire_log) as f:
        return sum(1 for line in f if line.split()[1:2] == [s.device])


def write_time(s, n):
    """When the program began its write call number `n` (from 0) to the lamp,
    on the clock of time.monotonic()."""
    with open(s.wire_log) as f:
        times = [int(line.split()[0]) for line in f if line.split()[1:2] == [s.device]]
    return times[n] / 1e9


def press(s, point, settle=True):
    """A real click at `point`; returns the time the button went down, at the
    latest, and how many writes the program had made before it."""
    if settle:
        s.settle()
    ox, oy = s.window_origin()
    lk72e2e.move_pointer(s.xdo, ox + point[0], oy + point[1])
    writes = write_count(s)
    pressed = time.monotonic()
    s.xdo("click", "1")
    return pressed, writes


def sent_since_read(s):
    """Once the program has taken every press, the lamp lines it wrote that
    the test has not read yet, read from the lamp."""
    s.settle()
    return s.read_lamp(len(s.sent()[0]) - s.consumed[0])


def expect_waited(s, what, pressed, writes, code):
    """The first write after the press began no sooner than the note's wave
    had played. Only a lower bound, taken from the program's own write call:
    a busy machine makes the note later, never earlier."""
    waited = write_time(s, writes) - pressed
    played = wave_seconds(s, code)
    assert waited >= played - 0.03, f"{what} was written {waited:.3f} s after the press, " \
                                    f"before its {played:.3f} s wave had played"


def expect_note(s, point, code, what):
    """The key at `point` sends `code`, and not before its wave has played."""
    pressed, writes = press(s, point)
    got = sent_since_read(s)
    assert got == [f"direct-sound {code}"], f"{what} sent {got}"
    expect_waited(s, what, pressed, writes, code)


def test(s):
    for _ in range(5):          # STEP1 -> STEP6 by the next-step button
        s.click(*NEXT_STEP)
    s.settle()
    shot(s, "page")

    # Short is chosen at the start: do sends 3, 16.
    expect_note(s, DO, 16, "short do")
    # The long picture chooses long for every following press: high do sends 3, 60.
    s.click(*LONG_PICTURE)
    expect_note(s, HIGH_DO, 60, "long high do")
    expect_note(s, DO_DO_SHARP_OVERLAP, 49, "a long press where do# lies over do")
    s.click(*NORMAL_OPTION)
    expect_note(s, FA_SHARP, 38, "normal fa#")
    s.click(*SHORT_PICTURE)
    shot(s, "short-chosen")

    # A second press while the first note still plays (and then while its
    # mode byte waits for the note) is dropped or sent after it, never between.
    pressed, writes = press(s, DO)
    s.xdo("click", "1")
    s.xdo("click", "1")
    lines = sent_since_read(s)
    assert lines and all(line == "direct-sound 16" for line in lines), f"three quick presses of do sent {lines}"
    expect_waited(s, "the first quick press", pressed, writes, 16)

    # Do, then re while do still plays: do arrives first and whole.
    press(s, DO)
    press(s, RE, settle=False)
    got = sent_since_read(s)
    assert got[:1] == ["direct-sound 16"] and set(got[1:]) <= {"direct-sound 18"}, f"do then re sent {got}"
    s.expect_nothing_sent("the quick presses after their notes")

    # The screen is not stuck after the quick presses.
    expect_note(s, RE, 18, "short re after the quick presses")
    assert not s.message_boxes(), "a message box is open"
    shot(s, "end")


lk72e2e.run(test)

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


def read_lamp_timed(s, count, seconds):
    return s.read_lamp(count, seconds, timed=True)


def press(s, point):
    """A real click at `point`; returns the time the button went down."""
    ox, oy = s.window_origin()
    lk72e2e.move_pointer(s.xdo, ox + point[0], oy + point[1])
    time.sleep(0.05)
    pressed = time.time()
    s.xdo("click", "1")
    return pressed


def expect_note(s, point, code, what):
    """The key at `point` sends `code`, and not before its wave has played."""
    pressed = press(s, point)
    got = read_lamp_timed(s, 1, 10)
    assert [line for line, _ in got] == [f"direct-sound {code}"], f"{what} sent {got}"
    waited = got[0][1] - pressed
    played = wave_seconds(s, code)
    # Only a lower bound: a busy machine makes the note later, never earlier.
    assert waited >= played - 0.03, f"{what} reached the lamp {waited:.3f} s after the press, " \
                                    f"before its {played:.3f} s wave had played"
    time.sleep(0.2)


def expect_nothing(s, what, seconds=1.5):
    got = s.read_lamp(1, seconds)
    assert got == [], f"{what} sent {got}"


def test(s):
    for _ in range(5):          # STEP1 -> STEP6 by the next-step button
        s.click(*NEXT_STEP)
        time.sleep(0.3)
    time.sleep(0.5)
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
    pressed = press(s, DO)
    time.sleep(0.05)
    s.xdo("click", "1")
    time.sleep(0.1)
    s.xdo("click", "1")
    got = read_lamp_timed(s, 3, 3)
    lines = [line for line, _ in got]
    assert lines and all(line == "direct-sound 16" for line in lines), f"three quick presses of do sent {lines}"
    assert got[0][1] - pressed >= wave_seconds(s, 16) - 0.03, "the first quick press did not wait for its wave"

    # Do, then re while do still plays: do arrives first and whole.
    press(s, DO)
    time.sleep(0.1)
    press(s, RE)
    got = [line for line, _ in read_lamp_timed(s, 2, 4)]
    assert got[:1] == ["direct-sound 16"] and set(got[1:]) <= {"direct-sound 18"}, f"do then re sent {got}"
    expect_nothing(s, "the quick presses after their notes")

    # The screen is not stuck after the quick presses.
    expect_note(s, RE, 18, "short re after the quick presses")
    assert not s.message_boxes(), "a message box is open"
    shot(s, "end")


lk72e2e.run(test)

"""The signal game on the real program, played with the mouse from start to
end: every signal change and every mistake's sound on the lamp, the clock's
length at the chosen speed, and a lamp that falls silent when the clock runs
out. One e2e_game<speed>.py script per speed calls play()."""

import os
import random
import tempfile
import time

import lk72e2e

# Window coordinates: the page host starts at (30, 70).
PAGE = (30, 70)
START = (PAGE[0] + 587 + 60, PAGE[1] + 182 + 22)
STOP = (PAGE[0] + 587 + 60, PAGE[1] + 238 + 22)
SIGNAL = (PAGE[0] + 166 + 75, PAGE[1] + 357 + 22)
SPEED = [(PAGE[0] + 570 + 8, PAGE[1] + 52 + 40 * i + 11) for i in range(3)]
GAME_SECONDS = [30, 40, 60]
CYCLE = ["direct-light 185", "direct-light 161", "direct-light 177"]  # yellow, red, blue
SOUNDS = {"direct-sound 17", "direct-sound 13"}
SHOTS = os.environ.get("LK72_E2E_SHOTS", tempfile.gettempdir())


def drain(s, seconds):
    """Every decoded line the lamp prints within `seconds`: the game's own
    pace, a pupil pressing now and then."""
    return s.read_lamp(10_000, seconds)


def click_signal(s, n):
    """Clicks the signal button at once, while the game runs on; a pointer
    already at the target keeps xdotool's synced move waiting, so presses
    alternate between two points."""
    s.click(SIGNAL[0] + (n % 2) * 6, SIGNAL[1], settle=False)


def lights_sent(s):
    """The signal lights the program has written, after the start sequence's three."""
    return [l for l in s.sent()[0] if l.startswith("direct-light")][3:]


def shot(s, speed, name):
    s.screenshot(os.path.join(SHOTS, f"lk72e2e-game{speed + 1}-{name}.png"))


def play(s, speed):
    for _ in range(8):  # STEP1 to the game's page
        s.key("F8")
    s.click(*SPEED[speed])
    shot(s, speed, "page")

    click_signal(s, 0)
    s.expect_nothing_sent("the signal button before a start")

    s.click(*START)
    got = s.read_lamp(3)
    assert got == ["direct-light 161", "direct-light 185", "direct-light 177"], f"start sequence: {got}"
    # The start returns a second after blue; from then on the signal button
    # is live. The clock can only end the game later than its length after
    # that second, never sooner: the program wrote blue at blue_sent.
    s.settle()
    blue_sent = s.last_write_time()
    surely_running_until = blue_sent + 1.0 + GAME_SECONDS[speed] + 1

    presses = 0
    lines = []
    while time.monotonic() < surely_running_until - 2.5:
        click_signal(s, presses)
        presses += 1
        lines += drain(s, random.uniform(0.7, 2.0))
        if presses == 6:
            shot(s, speed, "playing")
    s.settle()
    assert len(lights_sent(s)) == presses, f"{presses} presses while the game ran sent {lights_sent(s)}"

    # Past its length the game ends when its clock says so: a press that the
    # program still took while it ran lights the lamp and counts; the first
    # press it ignores shows the game is over.
    for _ in range(200):
        click_signal(s, presses)
        s.settle()
        if len(lights_sent(s)) == presses:
            break
        presses += 1
    else:
        raise AssertionError("the game did not end")
    shot(s, speed, "end")
    lines += s.read_lamp(len(s.sent()[0]) - s.consumed[0])

    lights = [l for l in lines if l.startswith("direct-light")]
    sounds = [l for l in lines if l.startswith("direct-sound")]
    assert len(lights) + len(sounds) == len(lines), f"unexpected lamp lines: {lines}"
    assert lights == [CYCLE[i % 3] for i in range(presses)], f"{presses} presses gave {lights}"
    assert set(sounds) <= SOUNDS, f"sounds: {sounds}"
    print(f"e2e_game{speed + 1}: {presses} signal presses, {len(sounds)} mistake sounds "
          f"({sounds.count('direct-sound 17')} passed against the signal, "
          f"{sounds.count('direct-sound 13')} stopped at blue)")

    # The game is over: the signal button and the car stay silent.
    click_signal(s, presses)
    s.expect_nothing_sent("the signal button after the game ended")
    s.click(*STOP)
    s.expect_nothing_sent("the stop button")
    assert not s.message_boxes(), "a message box is open"

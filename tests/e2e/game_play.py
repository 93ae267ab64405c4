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
    """Every decoded line the lamp prints within `seconds`."""
    return s.read_lamp(10_000, seconds)


def click_signal(s, n):
    """Clicks the signal button; a pointer already at the target keeps
    xdotool's synced move waiting, so presses alternate between two points."""
    s.click(SIGNAL[0] + (n % 2) * 6, SIGNAL[1])


def shot(s, speed, name):
    s.screenshot(os.path.join(SHOTS, f"lk72e2e-game{speed + 1}-{name}.png"))


def play(s, speed):
    for _ in range(8):  # STEP1 to the game's page
        s.key("F8")
    time.sleep(0.5)
    s.click(*SPEED[speed])
    shot(s, speed, "page")

    click_signal(s, 0)
    assert drain(s, 1) == [], "the signal button sent something before a start"

    s.click(*START)
    got = [l for l in s.read_lamp(3, 6) if not l.startswith("warning")]
    got += s.read_lamp(3 - len(got), 3) if len(got) < 3 else []
    assert got == ["direct-light 161", "direct-light 185", "direct-light 177"], f"start sequence: {got}"
    # The blue light is followed by one more second of the start sequence,
    # during which the signal button is not yet live.
    blue_at = time.time()
    time.sleep(1.3)
    running_at = blue_at + 1.0
    ends_at = running_at + GAME_SECONDS[speed] + 1  # the clock ticks once more past zero

    # Play: change the signal every second or so until shortly before the
    # end, so no press can meet the clock's last tick.
    presses = 0
    lines = []
    while time.time() < ends_at - 3:
        click_signal(s, presses)
        presses += 1
        lines += drain(s, random.uniform(0.7, 2.0))
        if presses == 6:
            shot(s, speed, "playing")
    lines += drain(s, max(0.0, ends_at + 1.5 - time.time()))
    shot(s, speed, "end")

    late = s.late
    lights = [l for l in lines if l.startswith("direct-light")]
    sounds = [l for l in lines if l.startswith("direct-sound")]
    assert len(lights) + len(sounds) == len(lines), f"unexpected lamp lines: {lines}"
    assert lights == [CYCLE[i % 3] for i in range(presses)], f"{presses} presses gave {lights}"
    assert set(sounds) <= SOUNDS, f"sounds: {sounds}"
    print(f"e2e_game{speed + 1}: {presses} signal presses, {len(sounds)} mistake sounds "
          f"({sounds.count('direct-sound 17')} passed against the signal, "
          f"{sounds.count('direct-sound 13')} stopped at blue), {len(late)} late reads by the lamp: {late}")

    # The game is over: the signal button and the car are silent.
    click_signal(s, presses)
    assert drain(s, 2) == [], "the lamp got a command after the game ended"
    s.click(*STOP)
    assert drain(s, 0.5) == []
    assert not s.message_boxes(), "a message box is open"

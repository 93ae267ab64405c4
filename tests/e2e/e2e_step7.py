"""STEP7 on the real program: by keys alone, do re mi composed on the
keys, sent by F6, and in LED mode red and green placed on do and re from the
palette and sent again; then by the mouse: do re mi composed by key clicks shows on the
staff and in the count; play ignores the pupil meanwhile; the transfer sends
the notes padded with 222 and the run sends 7; in LED mode colours dragged
from the palette onto keys travel in the light list, show as markers, and the
run sends 9; delete one and delete all change what is sent; a melody saved
through the file dialog and read back sends the same bytes."""

import os
import subprocess
import tempfile

import lk72e2e
from lk72e2e import drag, file_dialog



PAGE = (30, 70)
NEXT_STEP = (88 + 31, 510 + 20)
SHOTS = os.environ.get("LK72_E2E_SHOTS", tempfile.gettempdir())


def at(x, y):
    return (PAGE[0] + x, PAGE[1] + y)


# Keys from (8, 212): white 44 x 144, black 30 x 90 over the gaps; the rest key 8 pixels right of high do.
def white(n):
    """The lower part of white key n (0 do ... 7 high do, 8 the rest), where no black key lies."""
    return at(8 + 44 * n + 22 + (8 if n == 8 else 0), 212 + 120)


DO, RE, MI, FA, SO = (white(n) for n in range(5))
REST = white(8)
RE_SHARP = at(8 + 44 * 2 - 15 + 15, 212 + 45)
# Buttons 90 x 51 in three rows from (424, 206), 98 apart across and 56 down.
READ, SAVE, PLAY = at(424 + 45, 206 + 25), at(522 + 45, 206 + 25), at(620 + 45, 206 + 25)
DELETE_ONE, DELETE_ALL = at(424 + 45, 262 + 25), at(522 + 45, 262 + 25)
TRANSFER, EXECUTE, CHANGE_COLOURS = at(424 + 45, 318 + 25), at(522 + 45, 318 + 25), at(620 + 45, 318 + 25)
COUNT = (at(424, 376), (288, 22))
LONG_PICTURE = at(8 + 4 + 144 + 32, 360 + 40 + 13)
SHORT_PICTURE = at(8 + 4 + 32, 360 + 40 + 13)
LED_ON_PICTURE, LED_OFF_PICTURE = at(236 + 4 + 40, 360 + 40 + 13), at(236 + 94 + 40, 360 + 40 + 13)
# The palette page: chips 50 x 50 from (31, 83), 84 apart (red, green, blue, yellow, ...); back at (600, 152).
RED, GREEN, BLUE = (at(31 + 84 * i + 25, 83 + 25) for i in range(3))
BACK = at(600 + 52, 152 + 20)
# The staff at (34, 4): 25-pixel positions, 62-pixel lines; markers 15 x 5 under each line.
STAFF = (34, 4)
DO_COLOUR = at(8 + 12, 212 + 103)   # in the colour patch of do, left of do#


def is_red(rgb):
    return rgb[0] > 180 and rgb[1] < 100 and rgb[2] < 100


def staff_cell(p):
    """The region of note position p (from 1) on the staff."""
    row, column = divmod(p - 1, 27)
    return at(STAFF[0] + 25 * column, STAFF[1] + 62 * row), (25, 49)


def marker_centre(p):
    row, column = divmod(p - 1, 27)
    return at(STAFF[0] + 25 * column + 12, STAFF[1] + 62 * row + 52 + 2)


PAD = lambda n: " 222" * n  # noqa: E731
DO_RE_MI = "16 18 20" + PAD(17)
NO_LIGHT = "light-sound light none sound "
EMPTY = "命令がありません。音を入力して下さい"
NOT_SENT = "プログラムが転送されてません\nプログラムを転送してください"


# --- helpers this script adds to the harness ----------------------------
def shot(s, name):
    path = os.path.join(SHOTS, f"lk72e2e-step7-{name}.png")
    s.screenshot(path)
    return path


def pixel(s, path, point):
    """The (r, g, b) of window point `point` on the screenshot at `path`."""
    ox, oy = s.window_origin()
    out = subprocess.run(["convert", path, "-crop", f"1x1+{ox + point[0]}+{oy + point[1]}", "+repage",
                          "-format", "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]", "info:"],
                         capture_output=True, text=True).stdout.split()
    return tuple(int(v) for v in out)


def crop(s, path, region, name):
    (x, y), (w, h) = region
    ox, oy = s.window_origin()
    out = os.path.join(SHOTS, f"lk72e2e-step7-{name}.png")
    subprocess.run(["convert", path, "-crop", f"{w}x{h}+{ox + x}+{oy + y}", "+repage", out], capture_output=True)
    return out


def differs(a, b):
    """Number of differing pixels between two pictures of one size."""
    out = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True, text=True)
    return int(float(out.stderr.split()[0]))




def answer_box(s, expected, name):
    """Waits for a message box and closes it with Return. Qt offers no way to read the
    box's text from outside on X11, so `expected` is checked by eye on the screenshot."""
    box = s.wait_for(lambda: s.message_boxes(), lk72e2e.DEADLINE, f"no message box for {expected!r}")[0]
    s.settle()
    shot(s, name)
    s.click_in(box, 5, 5)  # gives the box the keyboard; the corner holds no button
    s.xdo("key", "Return")
    s.wait_for(lambda: not s.message_boxes(), lk72e2e.DEADLINE, f"box {name} did not close")
    # Without a window manager nothing hands the keyboard back to the main window.
    s.xdo("windowactivate", "--sync", s.window)




def expect(s, line, what):
    got = s.read_lamp(1)
    assert got == [line], f"{what} sent {got}, expected {line!r}"


def expect_nothing(s, what):
    s.expect_nothing_sent(what)


def click_during(s, first, second):
    """Clicks `first`, then `second` at once: both go to the display in one
    run of xdotool, so the second is there while what the first began still
    runs."""
    s.settle()
    ox, oy = s.window_origin()
    lk72e2e.move_pointer(s.xdo, ox + first[0], oy + first[1])
    s.xdo("click", "1", "mousemove", "--sync", str(ox + second[0]), str(oy + second[1]), "click", "1")


def tab(s, times, back=False):
    for _ in range(times):
        s.key("shift+Tab" if back else "Tab")


def by_keys_alone(s):
    """The page takes the keyboard; Tab runs do, do#, re, ... the rest, the
    length choice, the LED choice, then the buttons. A palette colour is
    picked with Space, goes to do first and to the next key after that, and
    is put there with Enter."""
    # Without a window manager nothing gives the window the keyboard as a desktop would.
    s.xdo("windowfocus", "--sync", s.window)
    for _ in range(6):          # STEP1 -> STEP7
        s.key("F8")
    tab(s, 1)                   # do
    s.key("space")
    tab(s, 2)                   # re
    s.key("space")
    tab(s, 2)                   # mi
    s.key("space")
    s.key("F6")
    expect(s, NO_LIGHT + DO_RE_MI, "do re mi by keys, sent by F6")

    tab(s, 9 + 2)               # fa .. the rest, the length choice, LEDあり
    s.key("space")              # LED on: the palette opens, the keyboard on red
    s.key("space")              # red picked up, held over do
    s.key("Return")
    tab(s, 1)                   # green
    s.key("space")              # held over re, the key after do
    s.key("Return")
    shot(s, "keys-coloured")
    s.key("F6")
    lights = "16 64 2" + " 64" * 11 + " 255" * 6
    expect(s, f"light-sound light {lights} sound {DO_RE_MI}", "red on do and green on re placed by keys")
    s.key("F7")
    expect(s, "execute 9", "F7 after the keys' transfer")

    # Back to a fresh page for the mouse: nothing composed, no LED, no transfer prepared.
    s.click(*DELETE_ALL)
    s.click(*LED_OFF_PICTURE)
    s.key("F5")
    s.key("F8")


# --- the test -------------------------------------------------------------
def test(s):
    by_keys_alone(s)
    s.settle()
    empty = shot(s, "empty")
    empty_cell = crop(s, empty, staff_cell(1), "cell-empty")
    empty_count = crop(s, empty, COUNT, "count-empty")

    s.click(*EXECUTE)
    answer_box(s, NOT_SENT, "run-before-transfer")
    expect_nothing(s, "run before any transfer")

    # 1. Do re mi by clicks: three notes on the staff, the count says so.
    for key in (DO, RE, MI):
        s.click(*key)  # each note's sound plays in the background
    s.settle()
    composed = shot(s, "do-re-mi")
    for p in (1, 2, 3):
        cell = crop(s, composed, staff_cell(p), f"cell-{p}")
        assert differs(cell, empty_cell) > 20, f"note {p} does not show on the staff"
    assert differs(crop(s, composed, staff_cell(4), "cell-4"), empty_cell) == 0, "position 4 is not empty"
    assert differs(crop(s, composed, COUNT, "count-3"), empty_count) > 20, "the count did not change"

    # 2. Play (0.75 s): a key click meanwhile adds no note.
    click_during(s, PLAY, SO)
    s.settle()
    shot(s, "after-play")
    assert not s.message_boxes(), "play showed a message box"

    # 3. Transfer by the button and by F6, run without light.
    s.click(*TRANSFER)
    expect(s, NO_LIGHT + DO_RE_MI, "the transfer of do re mi")
    s.key("F6")
    expect(s, NO_LIGHT + DO_RE_MI, "F6")
    s.click(*EXECUTE)
    expect(s, "execute 7", "the run without light")

    # 4. LED mode: the palette page; red on do and blue on mi by real drags.
    s.click(*LED_ON_PICTURE)
    s.settle()
    shot(s, "palette")
    drag(s, RED, DO)
    drag(s, BLUE, MI)
    drag(s, GREEN, RE_SHARP)
    s.settle()
    coloured = shot(s, "coloured-keys")
    assert is_red(pixel(s, coloured, DO_COLOUR)), "do does not look red after the drop"
    s.click(*TRANSFER)
    lights = "16 64 64 2 1" + " 64" * 9 + " 255" * 6
    led_line = f"light-sound light {lights} sound {DO_RE_MI}"
    expect(s, led_line, "the transfer in LED mode")
    s.key("F7")
    expect(s, "execute 9", "F7 in LED mode")

    # The markers under the notes show the keys' colours once back on the notes page.
    s.click(*BACK)
    s.settle()
    markers = shot(s, "markers")
    assert pixel(s, markers, marker_centre(1)) == (255, 0, 0), "the marker of do is not red"
    assert pixel(s, markers, marker_centre(2)) == (128, 128, 128), "the marker of re is not grey (off)"
    assert pixel(s, markers, marker_centre(3)) == (0, 0, 255), "the marker of mi is not blue"

    # 5. Saved through the file dialog: the record lines on disk.
    path = os.path.join(s.home, "Documents", "step7-test.lk7")
    s.click(*SAVE)
    file_dialog(s, path)
    assert os.path.exists(path), "the save button wrote no file"
    with open(path, "rb") as f:
        saved = f.read()
    lines = saved.decode("cp932").split("\r\n")
    assert lines[:4] == ["STEP7", "ACE" + "?" * 76, "///", "1"], f"the file starts {lines[:4]}"
    assert lines[4:18] == lights.split()[:14], f"the file holds colours {lines[4:18]}"
    assert saved.endswith(b"\r\n") and len(lines) == 19, f"the file has {len(lines)} parts"

    # 6. Delete one takes mi; delete all leaves nothing to send or run.
    s.click(*DELETE_ONE)
    s.click(*TRANSFER)
    expect(s, f"light-sound light {lights} sound 16 18" + PAD(18), "the transfer after delete one")
    s.click(*DELETE_ALL)
    s.settle()
    cleared = shot(s, "cleared")
    assert differs(crop(s, cleared, staff_cell(1), "cell-cleared"), empty_cell) == 0, "delete all left a note"
    assert pixel(s, cleared, marker_centre(1)) != (255, 0, 0), "delete all left the marker of do"
    s.click(*TRANSFER)
    answer_box(s, EMPTY, "transfer-empty")
    s.click(*EXECUTE)
    answer_box(s, NOT_SENT, "run-after-delete-all")
    s.click(*PLAY)
    answer_box(s, "再生する命令がありません\n命令を入力して下さい", "play-empty")
    expect_nothing(s, "transfer, run and play after delete all")

    # 7. Without LED the keys lose their colours; the file brings them back with the melody.
    s.click(*LED_OFF_PICTURE)
    s.click(*READ)
    file_dialog(s, path)
    s.settle()
    read_back = shot(s, "read-back")
    assert pixel(s, read_back, marker_centre(1)) == (255, 0, 0), "the read file shows no red marker on do"
    assert is_red(pixel(s, read_back, DO_COLOUR)), "do is not red after reading"
    s.click(*TRANSFER)
    expect(s, led_line, "the transfer after reading the file")
    s.click(*EXECUTE)
    expect(s, "execute 9", "the run after reading an LED file")

    # 8. A click before the first note puts the cursor there: a long rest goes first.
    s.click(*at(STAFF[0] + 2, STAFF[1] + 25))
    s.click(*LONG_PICTURE)
    s.click(*REST)
    s.click(*TRANSFER)
    expect(s, f"light-sound light {lights} sound 61 16 18 20" + PAD(16), "a rest put before the first note")
    assert not s.message_boxes(), "a message box is open at the end"
    shot(s, "end")


lk72e2e.run(test)

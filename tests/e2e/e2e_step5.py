"""STEP5 on the real program: a text program typed into the editor is checked
by F4 and by the check button, reaches the lamp by F6 and the transfer button
and runs by F7 and the execute button; a grammar error names its line and
sends nothing; an edit after a check refuses the transfer until the next
check; the preview plays the checked program and returns; a program saved
through the file dialog, cleared and read back transfers the same bytes, and
the file holds the lesson name, the command words and the program lines."""

import os
import subprocess
import tempfile

import lk72e2e



PAGE = (30, 70)


def at(x, y):
    return (PAGE[0] + x, PAGE[1] + y)


# Buttons along the top of STEP5: 90 x 51, 98 pixels apart.
READ, SAVE, CHECK, PREVIEW, TRANSFER, RUN, REPORT = (at(4 + i * 98 + 45, 4 + 25) for i in range(7))
EDITOR = at(240, 300)
# The word boxes beside the command pictures: red first; the repeat pair and
# wait stand below a heading.
WORD_BOX_X = 486 + 90 + 6 + 60


def word_box(n):
    y = 60 + n * 31 + (24 if n >= 8 else 0)
    return at(WORD_BOX_X, y + 13)


RED_BOX = word_box(0)
HINT_AREA = ((205, 507), (433, 44))   # the main window's hint area (window coordinates)

# The preview page.
PLAY = at(480 + 73, 56 + 43)
PREVIEW_BACK = at(184 + 51, 320 + 25)
COUNTER = (at(448, 312), (200, 72))

OK_TEXT = "文法チェック  OK!"
NOT_CHECKED = "プログラムの文法チェックがされてません\n文法チェックをしてください"
NOT_TRANSFERRED = "プログラムの転送がされてません\nプログラム転送をしてください"

PROGRAM = "loop(3);\nred(1);\njump;"
PROGRAM_LINE = "light-program 64 161 86" + " 223" * 17
# The teacher's own word for red, and a program with a wait and a comment.
AKA_PROGRAM = "// aka is red now\nblue(2);\naka(0.5);\nwait;\noff(5);"
AKA_LINE = "light-program 178 160 96 221" + " 223" * 16
DEFAULT_WORDS = ["red", "green", "blue", "yellow", "purple", "lightblue", "white", "off", "loop", "jump", "wait"]

SHOTS = os.environ.get("LK72_E2E_SHOTS", tempfile.gettempdir())


# --- helpers this script adds to the harness ----------------------------
def shot(s, name):
    path = os.path.join(SHOTS, f"lk72e2e-step5-{name}.png")
    s.screenshot(path)
    return path


def crop(s, name, region, window_relative=True):
    """The pixels of a region of a fresh screenshot, as raw RGB bytes."""
    (x, y), (w, h) = region
    ox, oy = s.window_origin() if window_relative else (0, 0)
    path = shot(s, name)
    return subprocess.run(["convert", path, "-crop", f"{w}x{h}+{ox + x}+{oy + y}", "+repage", "rgb:-"],
                          capture_output=True).stdout


def spread(pixels):
    """How far the bytes of a crop stray from one flat colour (0: flat)."""
    if not pixels:
        return 0.0
    mean = sum(pixels) / len(pixels)
    return (sum((p - mean) ** 2 for p in pixels[::7]) / len(pixels[::7])) ** 0.5


def focus_editor(s):
    """Without a window manager nothing hands the keyboard back to the main
    window when a box goes, and keys sent to a window Qt does not hold active
    are dropped: the window gets the X focus back, then a click gives the
    editor the keyboard."""
    s.xdo("windowfocus", "--sync", s.window)
    s.click(*EDITOR)
    s.key("ctrl+End")


# Qt offers no way to read a message box's text from outside on X11 (its
# Ctrl+C copy is built on Windows only), so the text of every kind of box is
# checked by eye once on its screenshot, and the test asserts what pixels can
# tell: every box of one text looks exactly like the first of its text, and
# boxes of different texts differ.
_BOX_LOOKS = {}


def answer_box(s, expected, name):
    """Waits for a message box, checks it against the other boxes seen and closes it with Space."""
    box = s.wait_for(lambda: s.message_boxes(), lk72e2e.DEADLINE, f"no message box for {expected!r}")[0]
    s.settle()
    x, y, w, h = s.window_geometry(box)
    looks = crop(s, f"box-{name}", ((x, y), (w, h)), window_relative=False)
    s.click_in(box, 5, 5)  # gives the box the keyboard; the corner holds no button
    # Space presses the OK button on its release. Return closes the box on its
    # press, and its release, left over for the main window, sometimes kept
    # the next function key from the program under this display.
    s.xdo("key", "space")
    s.wait_for(lambda: not s.message_boxes(), lk72e2e.DEADLINE, f"box {name} did not close")
    focus_editor(s)
    if expected in _BOX_LOOKS:
        assert looks == _BOX_LOOKS[expected][1], \
            f"box {name} does not look like box {_BOX_LOOKS[expected][0]} ({expected!r})"
    else:
        for other, (first, pixels) in _BOX_LOOKS.items():
            assert looks != pixels, f"box {name} ({expected!r}) looks like box {first} ({other!r})"
        _BOX_LOOKS[expected] = (name, looks)


def press(s, key, reacted):
    """Presses a function key and tells whether `reacted()` once the program
    has taken it (the harness sees to it that the key arrived)."""
    s.key(key)
    s.settle()
    return reacted()


def new_lines(s):
    """Lines the program has written to the lamp that the test has not read yet."""
    return len(s.sent()[0]) > s.consumed[0]


def press_for_box(s, key):
    """Presses `key` where the program must answer with a message box."""
    press(s, key, s.message_boxes)


def press_for_lamp(s, key, how, expected):
    """Presses `key` where the lamp must get `expected`."""
    press(s, key, lambda: new_lines(s))
    expect_lamp(s, how, expected)


def no_box(s, what):
    s.settle()
    boxes = s.message_boxes()
    if boxes:
        shot(s, f"unexpected-box-{what}")
    assert not boxes, f"{what} showed a message box"


def file_dialog(s, path):
    """The harness's file dialog, then the keyboard back to the editor."""
    lk72e2e.file_dialog(s, path)
    focus_editor(s)


def type_program(s, text):
    """Types `text` at the end of the editor, a Return for every line break."""
    focus_editor(s)
    for n, line in enumerate(text.split("\n")):
        if n:
            s.key("Return")
        s.type_text(line)


def clear_editor(s):
    focus_editor(s)
    s.key("ctrl+a")
    s.key("Delete")


def set_word(s, n, word):
    """Replaces the text of word box n by real typing."""
    s.click(*word_box(n))
    s.key("ctrl+a")
    s.type_text(word)
    focus_editor(s)


def expect_lamp(s, how, expected):
    got = s.read_lamp(1)
    assert got == [expected], f"{how} sent {got}, expected {expected!r}"
    focus_editor(s)


def expect_nothing(s, what):
    s.expect_nothing_sent(what)


def counter_spread(s, name):
    return spread(crop(s, name, COUNTER))


def shows_more(now, idle):
    """`now` when the counter panel shows more than it did idle, else None."""
    return now if now > idle + 3 else None


def hint_area(s, name):
    return crop(s, f"hint-{name}", HINT_AREA)


# --- the test -------------------------------------------------------------
def good_check(s, ok_hint):
    """F4 on a program that passes: the hint area then shows the OK line."""
    press(s, "F4", lambda: s.message_boxes() or hint_area(s, "check") == ok_hint)


def test(s):
    for _ in range(4):
        s.key("F8")  # STEP1 -> STEP5
    s.settle()
    shot(s, "entered")
    focus_editor(s)

    # Before any transfer on this page F7 is refused, and so is F6 before a check.
    press_for_box(s, "F7")
    answer_box(s, NOT_TRANSFERRED, "run-before-transfer")
    expect_nothing(s, "F7 before any transfer")

    # 1. A repeat typed in the editor passes F4; the hint area reads the OK line.
    type_program(s, PROGRAM)
    press_for_box(s, "F6")
    answer_box(s, NOT_CHECKED, "transfer-before-check")
    expect_nothing(s, "F6 before any check")
    before = hint_area(s, "before-check")
    press(s, "F4", lambda: s.message_boxes() or hint_area(s, "check-ok") != before)
    no_box(s, "a good check by F4")
    ok_hint = hint_area(s, "check-ok")
    assert ok_hint != before and spread(ok_hint) > 5, "the hint area did not change after a good check"

    # 2. F6 and F7, then the transfer and execute buttons, send the same.
    press_for_lamp(s, "F6", "F6", PROGRAM_LINE)
    press_for_lamp(s, "F7", "F7", "execute 6")
    s.click(*TRANSFER)
    expect_lamp(s, "the transfer button", PROGRAM_LINE)
    s.click(*RUN)
    expect_lamp(s, "the execute button", "execute 6")
    no_box(s, "the transfers and runs")

    # 3. A grammar error on the fourth command line (the comment does not count):
    # the message names it, the hint keeps its text, F6 sends nothing.
    # The hovered buttons wrote their hints there; a good check writes it back.
    good_check(s, ok_hint)
    no_box(s, "the second check")
    assert hint_area(s, "check-ok-second") == ok_hint, "the second good check shows another hint"
    type_program(s, "\n// a comment line\nred(1)")
    press_for_box(s, "F4")
    answer_box(s, "文法エラー4行目「;」", "missing-semicolon")
    assert hint_area(s, "after-error") == ok_hint, "a failed check changed the hint area"
    press_for_box(s, "F6")
    answer_box(s, NOT_CHECKED, "transfer-after-error")
    expect_nothing(s, "F6 after a failed check")
    s.key("BackSpace")
    s.type_text(")x;")  # red(1)x; : the ";" is not right after ")"
    s.click(*CHECK)
    answer_box(s, "文法エラー4行目「;」", "check-button-error")
    expect_nothing(s, "a failed check")

    # 4. A good check, then one edit: F6 is refused until the next check, while
    # F7 still runs the program transferred before.
    for _ in range(3):
        s.key("BackSpace")
    s.type_text(";")  # red(1;
    press_for_box(s, "F4")
    answer_box(s, "文法エラー4行目「)」", "missing-parenthesis")
    s.key("BackSpace")
    s.type_text(");")  # red(1);
    good_check(s, ok_hint)
    no_box(s, "the check of the mended program")
    press_for_lamp(s, "F6", "F6 after the mend", "light-program 64 161 86 161" + " 223" * 16)
    s.type_text(" ")
    press_for_box(s, "F6")
    answer_box(s, NOT_CHECKED, "transfer-after-edit")
    expect_nothing(s, "F6 after an edit")
    press_for_lamp(s, "F7", "F7 after an edit", "execute 6")

    # 5. The preview plays the last checked program (three reds after the start
    # picture) and its back button returns to STEP5.
    s.key("BackSpace")
    good_check(s, ok_hint)
    no_box(s, "the check before the preview")
    s.click(*PREVIEW)
    no_box(s, "the preview button")
    idle = counter_spread(s, "preview-idle")
    s.click(*PLAY)
    # The play lasts 1.5 s of start picture and four reds of 1 s: watched,
    # not waited for.
    playing = s.wait_for(lambda: shows_more(counter_spread(s, "preview-playing"), idle), lk72e2e.DEADLINE,
                         f"the counter panel did not show while playing (idle {idle})")
    expect_nothing(s, "the preview")
    s.wait_for(lambda: counter_spread(s, "preview-ended") < playing, lk72e2e.DEADLINE,
               "the counter panel stayed after the end of the play")
    s.click(*PREVIEW_BACK)
    s.settle()
    shot(s, "preview-back")
    s.click(*TRANSFER)  # STEP5's transfer button answers only while STEP5 is shown
    expect_lamp(s, "the transfer after the preview's back", "light-program 64 161 86 161" + " 223" * 16)

    # 6. The teacher's word for red; saved, cleared, read back: the same bytes.
    clear_editor(s)
    set_word(s, 0, "aka")
    type_program(s, AKA_PROGRAM)
    good_check(s, ok_hint)
    no_box(s, "the check with the word aka")
    assert hint_area(s, "check-ok-again") == ok_hint, "the second good check shows another hint"
    press_for_lamp(s, "F6", "F6 with the word aka", AKA_LINE)
    shot(s, "aka-program")

    path = os.path.join(s.home, "Documents", "step5-test.lk7")
    s.click(*SAVE)
    file_dialog(s, path)
    assert os.path.exists(path), "the save button wrote no file"
    with open(path, "rb") as f:
        raw = f.read()
    assert raw.endswith(b"\r\n") and b"\n" not in raw.replace(b"\r\n", b""), "the file's lines do not end in CR LF"
    lines = raw.decode("cp932").split("\r\n")[:-1]
    assert lines[0] == "STEP5", f"the file starts with {lines[0]!r}"
    assert lines[1:12] == ["aka"] + DEFAULT_WORDS[1:], f"the file holds the words {lines[1:12]}"
    assert lines[12:] == AKA_PROGRAM.split("\n"), f"the file holds the program {lines[12:]}"

    clear_editor(s)
    set_word(s, 0, "red")
    press_for_box(s, "F4")
    answer_box(s, "文法エラー「命令がありません」", "empty-editor")
    s.click(*READ)
    file_dialog(s, path)
    shot(s, "read-back")
    press_for_box(s, "F6")
    answer_box(s, NOT_CHECKED, "transfer-after-read")
    expect_nothing(s, "F6 right after the read")
    good_check(s, ok_hint)  # passes only with the word aka read back into the red box
    no_box(s, "the check of the program read back")
    press_for_lamp(s, "F6", "F6 after reading the file", AKA_LINE)

    # A teacher's editor saved the file as UTF-8 with a byte-order mark: it is
    # still this lesson's file, and its Japanese words read as written.
    utf8 = ["STEP5", "あか"] + DEFAULT_WORDS[1:] + ["あか(0.5);", "wait;"]
    with open(path, "wb") as f:
        f.write(b"\xef\xbb\xbf" + "\r\n".join(utf8).encode("utf-8") + b"\r\n")
    s.click(*READ)
    file_dialog(s, path)
    no_box(s, "reading the UTF-8 file")
    good_check(s, ok_hint)
    no_box(s, "the check of the UTF-8 program")
    press_for_lamp(s, "F6", "F6 after reading the UTF-8 file", "light-program 160 96" + " 223" * 18)
    assert not s.message_boxes(), "a message box is open at the end"


if __name__ == "__main__":
    lk72e2e.run(test)

"""Keys on the real program act on the page shown only. The pupil types in
STEP4's command box and STEP5's editor and goes on with the step keys: on
STEP3 F6 and F7 send STEP3's program and one run byte, once each, with no box
of STEP5; Enter on the preview and on STEP6 sends nothing, and neither do
STEP5's F4, F6 and F7 there; on STEP7 Enter and F6 answer with STEP7's own box
alone; and back on STEP4 its command box holds what was typed there, nothing
typed on the other pages."""


import lk72e2e
from lk72e2e import drag

PAGE = (30, 70)


def at(x, y):
    return (PAGE[0] + x, PAGE[1] + y)


STEP4_COMMAND_BOX = at(240 + 12 + 118, 150 + 28 + 14)
STEP5_EDITOR = at(240, 300)
STEP3_RED = at(24 + 25, 85 + 25)
STEP3_SLOT1 = at(186 + 45, 95 + 27)
STEP3_PREVIEW = at(320 + 45, 8 + 25)
PREVIEW_BACK = at(184 + 51, 320 + 25)
BLANK_MARGIN = at(8, 420)

STEP4_LINE = "direct-light 177"                       # blue(1);
STEP3_LINE = "light-program 160" + " 223" * 19        # one red block of 0.5 s


def to_main_window(s):
    """Without a window manager nothing hands the keyboard back to the main
    window when a box goes; the window gets the X focus back."""
    s.xdo("windowfocus", "--sync", s.window)


def lamp_gets(s, key, expected, how):
    """Presses `key` where the lamp must get exactly `expected`, once."""
    s.key(key)
    got = s.read_lamp(len(expected))
    assert got == expected, f"{how} sent {got}, expected {expected}"
    s.expect_nothing_sent(f"{how}, beyond {expected}")
    assert not s.message_boxes(), f"{how} showed a message box"


def nothing_from(s, keys, where):
    for key in keys:
        s.key(key)
    s.expect_nothing_sent(f"{' '.join(keys)} on {where}")
    assert not s.message_boxes(), f"{' '.join(keys)} on {where} showed a message box"


def one_box(s, key, where):
    """Presses `key` where the page shown answers with a box of its own: one
    box, closed with Space, and no second one after it."""
    s.key(key)
    box = s.wait_for(lambda: s.message_boxes(), lk72e2e.DEADLINE, f"{key} on {where} showed no box")[0]
    s.click_in(box, 5, 5)  # gives the box the keyboard; the corner holds no button
    s.xdo("key", "space")
    s.wait_for(lambda: not s.message_boxes(), lk72e2e.DEADLINE, f"the box of {key} on {where} did not close")
    s.settle()
    assert not s.message_boxes(), f"{key} on {where} showed a second box"
    to_main_window(s)
    s.expect_nothing_sent(f"{key} on {where}")


def walk(s, key, times):
    for _ in range(times):
        s.key(key)


def test(s):
    # STEP4: a command typed in its box goes out by Enter.
    walk(s, "F8", 3)
    s.click(*STEP4_COMMAND_BOX)
    s.type_text("blue(1);")
    lamp_gets(s, "Return", [STEP4_LINE], "Enter in STEP4's box")

    # STEP5: a program that was never checked.
    walk(s, "F8", 1)
    s.click(*STEP5_EDITOR)
    s.type_text("red(1);")

    # STEP3: its own program, sent once, run once, and no box of STEP5.
    walk(s, "F5", 2)
    drag(s, STEP3_RED, STEP3_SLOT1)
    lamp_gets(s, "F6", [STEP3_LINE], "F6 on STEP3")
    lamp_gets(s, "F7", ["execute 6"], "F7 on STEP3")

    # The preview: Enter does not reach STEP4's box.
    s.click(*STEP3_PREVIEW)
    nothing_from(s, ["Return"], "the preview")
    s.click(*PREVIEW_BACK)

    # Through STEP4 and STEP5 (each takes back its control) on to STEP6.
    walk(s, "F8", 3)
    nothing_from(s, ["Return", "x", "F4", "F6", "F7"], "STEP6")

    # STEP7: Enter plays (an empty melody: its own box), F6 transfers (its own box).
    walk(s, "F8", 1)
    one_box(s, "Return", "STEP7")
    one_box(s, "F6", "STEP7")

    # Back on STEP4 its box holds just its command: Enter sends it again, once.
    walk(s, "F5", 3)
    lamp_gets(s, "Return", [STEP4_LINE], "Enter on STEP4 again")


if __name__ == "__main__":
    lk72e2e.run(test)

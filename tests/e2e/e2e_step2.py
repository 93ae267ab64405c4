"""STEP2 on the real program: the red chip dragged onto the frame, "１秒"
chosen with the selector's arrow and the run button send 1 and 161. Then the
same by keys alone: blue picked up and placed on the frame, "0.5秒" chosen
with an arrow key and the run button pressed with Space send 176."""

import subprocess

import lk72e2e

PAGE = (30, 70)
RED_CHIP = (PAGE[0] + 48 + 25, PAGE[1] + 96 + 25)
FRAME = (PAGE[0] + 208 + 72, PAGE[1] + 96 + 72)
RIGHT_ARROW = (PAGE[0] + 208 + 145 - 6, PAGE[1] + 241 + 11)
RUN = (PAGE[0] + 225 + 56, PAGE[1] + 287 + 41)
LAMP = ((412 + 20, 60 + 20), (220, 200))  # the on-screen lamp of the preview, page coordinates


def lamp_look(s):
    """The mean colour of the on-screen lamp in a fresh screenshot: the run button
    answers again once the preview has put the lamp back to its unlit look."""
    (x, y), (w, h) = LAMP
    ox, oy = s.window_origin()
    path = f"{s.home}/step2-lamp.png"
    s.screenshot(path)
    out = subprocess.run(["convert", path, "-crop", f"{w}x{h}+{ox + PAGE[0] + x}+{oy + PAGE[1] + y}", "+repage",
                          "-format", "%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]", "info:"],
                         capture_output=True, text=True).stdout
    return tuple(round(float(v), 3) for v in out.split())


def by_keys(s, unlit):
    s.wait_for(lambda: lamp_look(s) == unlit, lk72e2e.DEADLINE, "the preview of the first run did not end")
    # The page has the keyboard; Tab walks the colour chips red, green, blue.
    for _ in range(3):
        s.key("Tab")
    s.key("space")    # blue picked up: the keyboard is on the frame
    s.key("Return")   # put into the frame, the keyboard back on the blue chip
    for _ in range(5):
        s.key("Tab")  # yellow, purple, light blue, white, the seconds
    s.key("Left")     # "１秒" -> "０．５秒"
    s.key("Tab")      # the run button
    s.key("space")
    got = s.read_lamp(1)
    assert got == ["direct-light 176"], f"by keys: {got}"


def test(s):
    s.key("F8")  # on to STEP2
    s.settle()
    unlit = lamp_look(s)
    lk72e2e.drag(s, RED_CHIP, FRAME)
    s.click(*RIGHT_ARROW)  # "０．５秒"
    s.click(*RIGHT_ARROW)  # "１秒"
    s.click(*RUN)
    got = s.read_lamp(1)
    assert got == ["direct-light 161"], got
    s.expect_nothing_sent("the run button, more than once")
    assert not s.message_boxes(), "a message box is open"
    by_keys(s, unlit)
    s.expect_nothing_sent("the run by keys, more than once")
    assert not s.message_boxes(), "a message box is open after the run by keys"


lk72e2e.run(test)

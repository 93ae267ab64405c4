"""STEP2 on the real program: the red chip dragged onto the frame, "１秒"
chosen with the selector's arrow and the run button send 1 and 161."""

import lk72e2e

PAGE = (30, 70)
RED_CHIP = (PAGE[0] + 48 + 25, PAGE[1] + 96 + 25)
FRAME = (PAGE[0] + 208 + 72, PAGE[1] + 96 + 72)
RIGHT_ARROW = (PAGE[0] + 208 + 145 - 6, PAGE[1] + 241 + 11)
RUN = (PAGE[0] + 225 + 56, PAGE[1] + 287 + 41)


def test(s):
    s.key("F8")  # on to STEP2
    lk72e2e.drag(s, RED_CHIP, FRAME)
    s.click(*RIGHT_ARROW)  # "０．５秒"
    s.click(*RIGHT_ARROW)  # "１秒"
    s.click(*RUN)
    got = s.read_lamp(1)
    assert got == ["direct-light 161"], got
    s.expect_nothing_sent("the run button, more than once")
    assert not s.message_boxes(), "a message box is open"


lk72e2e.run(test)

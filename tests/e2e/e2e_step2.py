"""STEP2 on the real program: the red chip dragged onto the frame, "１秒"
chosen with the selector's arrow and the run button send 1 and 161."""

import time

import lk72e2e

PAGE = (30, 70)
RED_CHIP = (PAGE[0] + 48 + 25, PAGE[1] + 96 + 25)
FRAME = (PAGE[0] + 208 + 72, PAGE[1] + 96 + 72)
RIGHT_ARROW = (PAGE[0] + 208 + 145 - 6, PAGE[1] + 241 + 11)
RUN = (PAGE[0] + 225 + 56, PAGE[1] + 287 + 41)


def test(s):
    s.key("F8")  # on to STEP2
    time.sleep(0.5)
    ox, oy = s.window_origin()

    def move(x, y):
        lk72e2e.move_pointer(s.xdo, ox + x, oy + y)
        time.sleep(0.03)

    move(*RED_CHIP)
    s.xdo("mousedown", "1")
    steps = 20
    for i in range(1, steps + 1):
        move(RED_CHIP[0] + (FRAME[0] - RED_CHIP[0]) * i / steps, RED_CHIP[1] + (FRAME[1] - RED_CHIP[1]) * i / steps)
    s.xdo("mouseup", "1")
    time.sleep(0.3)
    s.click(*RIGHT_ARROW)  # "０．５秒"
    s.click(*RIGHT_ARROW)  # "１秒"
    s.click(*RUN)
    got = s.read_lamp(1, 5)
    assert got == ["direct-light 161"], got
    assert not s.message_boxes(), "a message box is open"
    time.sleep(1.5)


lk72e2e.run(test)

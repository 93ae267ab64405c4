"""A pupil's STEP3 program survives a killed program: built with the mouse and
sent with F6, the program is killed with SIGKILL; started again in the same
home it asks whether to bring the work back, Return says yes, nothing reaches
the lamp until F6, which sends the same bytes as before the kill."""

import os
import signal

import lk72e2e
from lk72e2e import drag

PAGE = (30, 70)


def at(x, y):
    return (PAGE[0] + x, PAGE[1] + y)


RED, BLUE, YELLOW = at(24 + 25, 85 + 25), at(24 + 25, 136 + 25), at(80 + 25, 136 + 25)
REPEAT_START, REPEAT_END = at(24 + 25, 367 + 25), at(80 + 25, 367 + 25)
SLOT_X = (186, 286, 386, 486, 586)
SLOT_Y = (95, 175, 255, 335)
PROGRAM = "light-program 161 184 66 176 85" + " 223" * 15


def slot(n):
    return at(SLOT_X[(n - 1) % 5] + 45, SLOT_Y[(n - 1) // 5] + 27)


def next_item(n):
    return at(SLOT_X[(n - 1) % 5] + 84, SLOT_Y[(n - 1) // 5] + 55 + 7)


def kept_step3(s):
    path = os.path.join(s.home, "Documents", "LK-72Temp", "autosave", "STEP3.lk7")
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return f.read().decode("cp932").split("\r\n")


def kill_and_start_again(s):
    s.app.send_signal(signal.SIGKILL)
    s.app.wait(lk72e2e.DEADLINE)
    s.start_program()


def to_step3(s):
    s.key("F8")
    s.key("F8")


def question_boxes(s):
    """Open boxes other than the start-up picture, which may still be up for
    a moment beside the question."""
    return [w for w in s.message_boxes() if not s.xdo("getwindowname", w).endswith("起動中")]


def test(s):
    to_step3(s)
    drag(s, RED, slot(1))
    s.click(*next_item(1))
    drag(s, YELLOW, slot(2))
    drag(s, REPEAT_START, slot(3))
    s.click(*next_item(3))
    drag(s, BLUE, slot(4))
    drag(s, REPEAT_END, slot(5))
    s.key("F6")
    got = s.read_lamp(1)
    assert got == [PROGRAM], f"F6 sent {got}"

    # Killed only once the last change is on disk, so the test does not
    # depend on how fast the machine is; the bench measures that delay.
    s.wait_for(lambda: (kept_step3(s) or [None])[1:6] == ["159", "183", "63", "175", "83"], lk72e2e.DEADLINE,
               "the program was not kept in the working folder")
    kill_and_start_again(s)

    box = s.wait_for(lambda: question_boxes(s), lk72e2e.DEADLINE, "no question about the kept program")[0]
    s.settle()
    s.screenshot(os.path.join(os.environ.get("LK72_E2E_SHOTS", "/tmp"), "lk72e2e-keep-question.png"))
    s.click_in(box, 5, 5)  # gives the box the keyboard; the corner holds no button
    s.xdo("key", "Return")
    s.wait_for(lambda: not question_boxes(s), lk72e2e.DEADLINE, "the question did not close")
    s.xdo("windowactivate", "--sync", s.window)
    s.expect_nothing_sent("bringing the work back")

    to_step3(s)
    s.key("F6")
    got = s.read_lamp(1)
    assert got == [PROGRAM], f"F6 after bringing the work back sent {got}"

    # The close button is a clean end: the mark goes, the kept program stays.
    s.click(648 + 55, 510 + 20)
    s.app.wait(lk72e2e.DEADLINE)
    autosave = os.path.join(s.home, "Documents", "LK-72Temp", "autosave")
    assert not os.path.exists(os.path.join(autosave, "running")), "a clean close left the run mark"
    assert (kept_step3(s) or [None])[1:6] == ["159", "183", "63", "175", "83"], "the kept program is gone"

lk72e2e.run(test)

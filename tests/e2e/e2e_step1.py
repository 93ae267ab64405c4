"""STEP1: the transfer button sends the sample program, the execute button runs it;
F8 walks to STEP10 and stops, F5 walks back."""

import time

import lk72e2e

HOST = (30, 70)  # the page host inside the main window


def test(s):
    assert not s.message_boxes(), "a box opened at start-up"
    # transfer button 112 x 82 at (172, 48) on the page
    s.click(HOST[0] + 172 + 56, HOST[1] + 48 + 41)
    got = s.read_lamp(1, 10)
    assert got == ["light-program 162 178 186" + " 223" * 17], got
    time.sleep(0.5)
    # execute button 112 x 82 at (330, 48)
    s.click(HOST[0] + 330 + 56, HOST[1] + 48 + 41)
    got = s.read_lamp(1, 5)
    assert got == ["execute 6"], got


lk72e2e.run(test)

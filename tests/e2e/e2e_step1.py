"""STEP1 on the real program: the sample transfer and its run reach the lamp."""

import lk72e2e

# Window coordinates: the page host starts at (30, 70).
TRANSFER = (30 + 172 + 56, 70 + 48 + 41)
EXECUTE = (30 + 330 + 56, 70 + 48 + 41)


def test(s):
    s.click(*EXECUTE)  # disabled before a transfer
    s.expect_nothing_sent("execute before any transfer")
    s.click(*TRANSFER)
    got = s.read_lamp(1)
    assert got == ["light-program 162 178 186" + " 223" * 17], got
    s.click(*EXECUTE)
    got = s.read_lamp(1)
    assert got == ["execute 6"], got
    # The preview keeps both buttons off for six seconds.
    s.click(*EXECUTE)
    s.expect_nothing_sent("a second execute during the preview")
    assert not s.message_boxes(), "a message box is open"


lk72e2e.run(test)

"""The lamp port on the real program: set.ini's port name chooses the lamp,
an unknown name keeps COM1, the settings screen moves the next transfer
without a restart, and STEP4's text command reaches the chosen lamp."""

import lk72e2e

TRANSFER = (30 + 172 + 56, 70 + 48 + 41)   # STEP1
SETTINGS = (575, 20)
# Inside the settings dialog (398 x 299).
PORT_TOPIC = (64, 36)
COM1 = (185, 90)
OK = (238 + 37, 266 + 12)
STEP4_PROGRAM = (30 + 240 + 12 + 118, 70 + 150 + 28 + 14)
STEP4_RUN = (30 + 240 + 12 + 80, 70 + 150 + 70 + 25)
STEP1_LINE = "light-program 162 178 186" + " 223" * 17
NET_SETTINGS = (30 + 470 + 55, 70 + 14 + 18)            # STEP8
OWN_NAME_BOX = (30 + 60 + 70, 70 + 312 + 12)
NET_SETTINGS_OK = (30 + 590 + 50, 70 + 360 + 22)
MESSAGE_WINDOW_BUTTON = (30 + 590 + 55, 70 + 14 + 18)
CLOSE = (744 + 14, 6 + 14)


def second_port_chosen(s):
    s.click(*TRANSFER)
    got = s.read_lamp(1, lamp=1)
    assert got == [STEP1_LINE], f"COM2 did not get STEP1's transfer: {got}"
    s.expect_nothing_sent("COM1 while COM2 was chosen", lamp=0)

    # The settings screen's OK moves the next transfer to COM1 at once.
    s.click(*SETTINGS)
    dialog = s.wait_for(lambda: s.message_boxes(), lk72e2e.DEADLINE, "the settings screen did not open")[0]
    s.click_in(dialog, *PORT_TOPIC)
    s.click_in(dialog, *COM1)
    s.click_in(dialog, *OK)
    # OK waits 400 ms before it opens the new port, and closes once it has.
    s.wait_for(lambda: not s.message_boxes(), lk72e2e.DEADLINE, "the settings screen did not close")
    s.click(*TRANSFER)
    assert s.read_lamp(1, lamp=0) == [STEP1_LINE], "COM1 did not get the transfer after OK"
    s.expect_nothing_sent("COM2 after OK chose COM1", lamp=1)

    # STEP4: a text command lights the chosen lamp directly.
    for _ in range(3):
        s.key("F8")
    s.click(*STEP4_PROGRAM)
    s.type_text("red(1);")
    s.click(*STEP4_RUN)
    assert s.read_lamp(1, lamp=0) == ["direct-light 161"], "STEP4 red(1); did not send 1, 161"
    assert not s.message_boxes(), "a message box is open"


def unknown_name_keeps_com1(s):
    s.click(*TRANSFER)
    assert s.read_lamp(1, lamp=0) == [STEP1_LINE], "name=7 did not keep COM1"
    s.expect_nothing_sent("name=7 (to COM2)", lamp=1)

    # Closing the main window ends the program even with the message window
    # open, so the port is free for the next start.
    for _ in range(7):
        s.key("F8")
    s.click(*NET_SETTINGS)
    s.click(*OWN_NAME_BOX)
    s.type_text("A")
    s.click(*NET_SETTINGS_OK)
    s.click(*MESSAGE_WINDOW_BUTTON)
    s.wait_for(lambda: [w for w in s.message_boxes() if s.window_geometry(w)[2:] == (420, 380)], lk72e2e.DEADLINE,
               "the message window did not open")
    s.click(*CLOSE)
    s.wait_for(lambda: s.app.poll() is not None, lk72e2e.DEADLINE, "the program lives on after its main window closed")


lk72e2e.run(second_port_chosen, lamps=2, comport=1)
lk72e2e.run(unknown_name_keeps_com1, lamps=2, comport=7)

"""The report of a STEP3 program on the real program: the pupil types over the
placeholders, prints through the print dialog to a PDF that holds every line
inside the margins, and saves an HTML page that keeps what was typed."""

import os
import subprocess

import lk72e2e

PAGE = (30, 70)


def at(x, y):
    return (PAGE[0] + x, PAGE[1] + y)


RED, BLUE = at(24 + 25, 85 + 25), at(24 + 25, 136 + 25)
SLOT1, SLOT2 = at(186 + 45, 95 + 27), at(286 + 45, 95 + 27)
REPORT = at(608 + 45, 8 + 25)
TRANSFER = at(416 + 45, 8 + 25)
PRINT, HTML = at(653, 377), at(653, 289)
NAME_LINE = (331, 125)        # the second placeholder, centred
IMPRESSION_LINE = (210, 377)  # the impression placeholder, left
MM = 25.4 / 72


def replace_line(s, where, text):
    s.click(*where)
    s.xdo("key", "Home")
    s.xdo("key", "shift+End")
    s.type_text(text)


def pdf_words(path):
    """(text, left mm, top mm) of every word of the PDF."""
    out = subprocess.run(["pdftotext", "-bbox", path, "-"], capture_output=True, text=True).stdout
    words = []
    for line in out.splitlines():
        line = line.strip()
        if line.startswith("<word"):
            attrs = dict(part.split("=", 1) for part in line[6:line.index(">")].split())
            text = line[line.index(">") + 1:line.rindex("</word>")]
            words.append((text, float(attrs["xMin"].strip('"')) * MM, float(attrs["yMin"].strip('"')) * MM))
    return words


def test(s):
    s.key("F8")
    s.key("F8")
    lk72e2e.drag(s, RED, SLOT1)
    lk72e2e.drag(s, BLUE, SLOT2)
    s.click(*REPORT)
    replace_line(s, NAME_LINE, "Taro a<b & c")
    replace_line(s, IMPRESSION_LINE, "Fun!")

    # Print: Qt's own dialog offers a PDF file in the home folder when no printer exists.
    pdf = os.path.join(s.home, "print.pdf")
    s.click(*PRINT)
    dialog = s.wait_for(lambda: s.message_boxes(), lk72e2e.DEADLINE, "the print dialog did not open")[0]
    s.settle()
    _, _, w, h = s.window_geometry(dialog)
    s.click_in(dialog, w - 137, h - 23)  # its Print button
    # The page is printed before the program takes input again.
    s.wait_for(lambda: not s.message_boxes(), lk72e2e.DEADLINE, "the print dialog did not close")
    s.settle()
    assert os.path.exists(pdf) and os.path.getsize(pdf) > 0, "no PDF was printed"
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
    assert "LK-72" in info and "A4" in info, f"pdfinfo: {info}"
    words = pdf_words(pdf)
    texts = " ".join(t for t, _, _ in words)
    for expected in ("Taro", "a&lt;b", "&amp;", "0.5秒", "点灯", "Fun!"):
        assert expected in texts, f"{expected!r} is not in the printed page: {texts}"
    assert min(x for _, x, _ in words) >= 40 and min(y for _, _, y in words) >= 40, f"margins: {words[:3]}"

    # Printing returns to STEP3; the report opened again keeps what was typed.
    s.click(*TRANSFER)
    assert s.read_lamp(1) == ["light-program 160 176" + " 223" * 18], "STEP3 is not shown after printing"
    s.click(*REPORT)
    s.click(*HTML)
    lk72e2e.file_dialog(s, os.path.join(s.home, "report1"))
    page = os.path.join(s.home, "report1.html")
    s.settle()
    assert os.path.exists(page), "no HTML page was written"
    data = open(page, "rb").read()
    assert data.count(b"\r\n") == data.count(b"\n"), "lines do not end in CR LF"
    text = data.decode("cp932")
    for expected in ("Taro a&lt;b &amp; c", "赤色", "Fun!", "</html>"):
        assert expected in text, f"{expected!r} is not in the page: {text}"
    assert not s.message_boxes(), "a message box is open"


lk72e2e.run(test)

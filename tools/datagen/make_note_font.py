#!/usr/bin/env python3
"""Builds Note.TTF, family "KiraNote": one glyph a note on a piece of a
three-line staff. Every glyph has the same advance: 25 pixels at a character
height of 49 pixels. Letters: A-N short (do .. high do, rest), O-Z o p normal,
a-n long; "?" an empty staff piece, "@" the clef."""

import math
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

UPM = 980            # 49 px em  -> 20 units a pixel
ADVANCE = 500        # 25 px
LINES = (300, 450, 600)
STEP = 75            # half a line gap
THICK = 16

# key 1..13: diatonic step from do and whether it carries a sharp
KEYS = [(0, False), (0, True), (1, False), (1, True), (2, False), (3, False), (3, True),
        (4, False), (4, True), (5, False), (5, True), (6, False), (7, False)]


def rect(pen, x0, y0, x1, y1):
    # clockwise for TrueType outer contours
    pen.moveTo((x0, y0))
    pen.lineTo((x0, y1))
    pen.lineTo((x1, y1))
    pen.lineTo((x1, y0))
    pen.closePath()


def ellipse(pen, cx, cy, rx, ry, tilt=-0.35, clockwise=True, n=24):
    pts = []
    for i in range(n):
        a = 2 * math.pi * i / n
        x, y = rx * math.cos(a), ry * math.sin(a)
        pts.append((round(cx + x * math.cos(tilt) - y * math.sin(tilt)),
                    round(cy + x * math.sin(tilt) + y * math.cos(tilt))))
    if clockwise:
        pts.reverse()
    pen.moveTo(pts[0])
    for p in pts[1:]:
        pen.lineTo(p)
    pen.closePath()


def polygon(pen, pts):
    # drawn clockwise whatever order the corners are given in, so that
    # overlapping shapes add up instead of cancelling out
    pts = list(pts)
    if sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1])) > 0:
        pts.reverse()
    pen.moveTo(pts[0])
    for p in pts[1:]:
        pen.lineTo(p)
    pen.closePath()


def staff(pen):
    for y in LINES:
        rect(pen, 0, y - THICK // 2, ADVANCE, y + THICK // 2)


def note(pen, key, length):
    step, sharp = KEYS[key - 1]
    cy = 150 + step * STEP
    cx = 270
    # ledger lines below and above the staff
    if cy <= 150:
        rect(pen, cx - 95, 150 - THICK // 2, cx + 95, 150 + THICK // 2)
    if cy >= 750:
        rect(pen, cx - 95, 750 - THICK // 2, cx + 95, 750 + THICK // 2)
    if length == 2:   # long: hollow head
        ellipse(pen, cx, cy, 72, 48, clockwise=True)
        ellipse(pen, cx, cy, 46, 26, clockwise=False)
    else:
        ellipse(pen, cx, cy, 72, 48)
    stem_x = cx + 62
    top = cy + 330
    rect(pen, stem_x - 10, cy, stem_x + 8, top)
    if length == 0:   # short: a flag
        polygon(pen, [(stem_x + 8, top), (stem_x + 8, top - 60), (stem_x + 110, top - 170),
                      (stem_x + 95, top - 110)])
    if sharp:
        x = cx - 170
        rect(pen, x + 20, cy - 90, x + 34, cy + 90)
        rect(pen, x + 58, cy - 90, x + 72, cy + 90)
        polygon(pen, [(x, cy - 45), (x + 92, cy - 20), (x + 92, cy - 45 + 25 - 25), (x, cy - 70)])
        polygon(pen, [(x, cy + 25), (x + 92, cy + 50), (x + 92, cy + 25), (x, cy)])


def rest(pen, length):
    cx = 250
    if length == 0:     # short rest: a hook
        ellipse(pen, cx - 30, 520, 34, 34)
        polygon(pen, [(cx - 10, 500), (cx + 40, 560), (cx - 20, 300), (cx - 40, 300)])
    elif length == 1:   # normal rest: a zig-zag
        polygon(pen, [(cx - 40, 680), (cx + 30, 560), (cx - 20, 480), (cx + 40, 360),
                      (cx - 30, 300), (cx - 70, 360), (cx - 10, 480), (cx - 60, 560), (cx - 70, 660)])
    else:               # long rest: a block on the middle line
        rect(pen, cx - 70, 450, cx + 70, 530)


def catmull_rom(points, samples=12):
    """Points along a smooth curve through (x, y, width) control points."""
    out = []
    ext = [points[0]] + list(points) + [points[-1]]
    for i in range(1, len(ext) - 2):
        p0, p1, p2, p3 = ext[i - 1], ext[i], ext[i + 1], ext[i + 2]
        for k in range(samples):
            t = k / samples
            t2, t3 = t * t, t * t * t
            out.append(tuple(0.5 * ((2 * b) + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2
                                    + (-a + 3 * b - 3 * c + d) * t3)
                             for a, b, c, d in zip(p0, p1, p2, p3)))
    out.append(points[-1])
    return out


def stroke(pen, path):
    """One closed outline around a pen stroke of varying width along `path`."""
    left, right = [], []
    for i, (x, y, w) in enumerate(path):
        ax, ay, _ = path[max(0, i - 1)]
        bx, by, _ = path[min(len(path) - 1, i + 1)]
        dx, dy = bx - ax, by - ay
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * w / 2, dx / length * w / 2
        left.append((round(x + nx), round(y + ny)))
        right.append((round(x - nx), round(y - ny)))
    outline = left + list(reversed(right))
    area = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(outline, outline[1:] + outline[:1]))
    if area > 0:   # TrueType fills clockwise outlines
        outline.reverse()
    pen.moveTo(outline[0])
    for p in outline[1:]:
        pen.lineTo(p)
    pen.closePath()


def clef(pen):
    """A treble clef: a spiral round the middle of the staff, rising to a loop
    above it, and the long stroke down through the spiral to a hook and a ball."""
    cx, cy, radius = 262, 400, 118
    spiral = []
    turns = 60
    for k in range(turns + 1):
        t = k / turns
        a = math.radians(40 + 340 * t)
        r = radius * (0.32 + 0.68 * t)
        # thick on the left and bottom of the curl, as a broad pen draws it
        w = 18 + 34 * max(0.0, math.sin(math.radians(40 + 340 * t) - math.pi / 2 + 0.3)) * min(1.0, 2 * t)
        spiral.append((cx + r * math.cos(a), cy + r * math.sin(a), w))
    rise = catmull_rom([spiral[-1], (372, 470, 26), (340, 560, 30), (282, 650, 34), (244, 730, 30),
                        (246, 800, 22), (286, 828, 18)])
    stroke(pen, spiral + rise[1:])
    fall = catmull_rom([(286, 828, 18), (318, 790, 22), (300, 712, 28), (252, 640, 34), (222, 540, 40),
                        (222, 400, 42), (236, 250, 40), (250, 110, 34), (252, 10, 26), (222, -60, 20),
                        (170, -78, 16), (132, -52, 14)])
    stroke(pen, fall)
    ellipse(pen, 148, -40, 44, 42, tilt=0)


def glyph(draw):
    pen = TTGlyphPen(None)
    staff(pen)
    draw(pen)
    return pen.glyph()


def main(out):
    glyphs = {".notdef": glyph(lambda p: None), "space": TTGlyphPen(None).glyph()}
    cmap = {0x20: "space"}
    letters = {}
    for key in range(1, 15):
        letters[chr(ord("A") + key - 1)] = (key, 0)
        letters[chr(ord("a") + key - 1)] = (key, 2)
    for key in range(1, 13):
        letters[chr(ord("O") + key - 1)] = (key, 1)
    letters["o"] = (13, 1)
    letters["p"] = (14, 1)
    for ch, (key, length) in letters.items():
        name = "note_%s%s" % (ch, "_u" if ch.isupper() else "")
        if key == 14:
            glyphs[name] = glyph(lambda p, l=length: rest(p, l))
        else:
            glyphs[name] = glyph(lambda p, k=key, l=length: note(p, k, l))
        cmap[ord(ch)] = name
    glyphs["question"] = glyph(lambda p: None)
    cmap[ord("?")] = "question"
    glyphs["at"] = glyph(clef)
    cmap[ord("@")] = "at"

    order = list(glyphs)
    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    metrics = {}
    for name in order:
        g = glyphs[name]
        g.recalcBounds(fb.font["glyf"])
        metrics[name] = (ADVANCE, getattr(g, "xMin", 0))
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=800, descent=-180)
    fb.setupNameTable({"familyName": "KiraNote", "styleName": "Regular",
                       "uniqueFontIdentifier": "KiraNote-Regular", "fullName": "KiraNote",
                       "psName": "KiraNote-Regular", "version": "Version 1.0"})
    fb.setupOS2(sTypoAscender=800, sTypoDescender=-180, usWinAscent=800, usWinDescent=180,
                xAvgCharWidth=ADVANCE)
    fb.setupPost(isFixedPitch=1)
    fb.save(out)


if __name__ == "__main__":
    main(sys.argv[1])

#!/usr/bin/env python3
"""Draws the About dialog's picture and the twelve button skins.

    scripts/make_ui_art.py [OUT_DIR]      (default: resources/ui)

Writes 24-bit uncompressed BMP files (bottom-up rows, each padded to four
bytes), the format the resource compiler embeds as it is. Everything is
computed here, so the pictures can be remade and changed by editing this
file:
  about_picture.bmp        400 x 300: a stage with two draped cloth panels
                           on a rod, a spotlight and the product name
  skin_<state>_<part>.bmp  18 x 24: a rounded pill button cut into a left
                           cap, a right cap and a middle (horizontally
                           uniform, so it stretches cleanly); the states
                           differ in colour, so tests can tell them apart
"""
import math
import os
import struct
import sys

DIALOG_GREY = (232, 232, 232)  # the dialog's background brush


def write_bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b) with y = 0 at the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # BMP rows run bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((clamp(b), clamp(g), clamp(r)))
        row += b"\0" * (stride - width * 3)
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def smoothstep(e0, e1, x):
    t = max(0.0, min(1.0, (x - e0) / (e1 - e0)))
    return t * t * (3 - 2 * t)


# ---- button skins -------------------------------------------------------------
SKIN_W, SKIN_H = 18, 24
RADIUS = 11.0
CENTRE_Y = 11.5

# state: (border, top of the fill, bottom of the fill, gloss strength)
STATES = {
    "normal": ((138, 145, 156), (252, 252, 253), (208, 213, 221), 0.55),
    "hover": ((74, 128, 190), (238, 247, 255), (166, 204, 240), 0.60),
    "pressed": ((36, 66, 116), (92, 134, 192), (58, 100, 166), 0.12),
    "default": ((52, 104, 172), (206, 228, 252), (104, 160, 222), 0.50),
}


def pill_colour(state, px, py, cx):
    """Colour of the pill at (px, py); cx is the x of the cap's circle centre
    (None for the straight middle)."""
    border, top, bottom, gloss = STATES[state]
    if cx is None:
        d = max(abs(py - CENTRE_Y) - RADIUS, -RADIUS)  # distance to the top/bottom edge
    else:
        d = math.hypot(px - cx, py - CENTRE_Y) - RADIUS
        if (cx > 9 and px > cx) or (cx < 9 and px < cx):  # the straight part of the cap
            d = abs(py - CENTRE_Y) - RADIUS
    if d > 0.5:
        return DIALOG_GREY
    t = (py - 0.5) / (SKIN_H - 1.0)
    fill = mix(top, bottom, t)
    if py < CENTRE_Y:  # the gloss on the upper half
        fill = mix(fill, (255, 255, 255), gloss * (1 - py / CENTRE_Y) ** 2)
    colour = mix(fill, border, smoothstep(-1.6, -0.6, d))
    return mix(colour, DIALOG_GREY, smoothstep(-0.5, 0.5, d))


def skin(state, part):
    cx = {"left": RADIUS + 0.5, "right": SKIN_W - RADIUS - 0.5, "middle": None}[part]

    def pixel(x, y):
        acc = [0.0, 0.0, 0.0]
        for sy in (0.25, 0.75):
            for sx in (0.25, 0.75):
                c = pill_colour(state, x + sx, y + sy, cx)
                for i in range(3):
                    acc[i] += c[i] / 4
        return acc

    return pixel


# ---- the About picture ------------------------------------------------------
PIC_W, PIC_H = 400, 300

# 5 x 7 capitals for the title
GLYPHS = {
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    " ": ["00000"] * 7,
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
}


def text_mask(text, scale, x0, y0):
    """Set of covered pixels of text drawn with the 5 x 7 glyphs."""
    cells = set()
    for i, ch in enumerate(text):
        rows = GLYPHS[ch]
        for gy, row in enumerate(rows):
            for gx, bit in enumerate(row):
                if bit == "1":
                    cells.add((i * 6 + gx, gy))
    width = (len(text) * 6 - 1) * scale

    def covered(x, y):
        gx = math.floor((x - x0) / scale)
        gy = math.floor((y - y0) / scale)
        return (gx, gy) in cells

    return covered, width


ROD_Y = 34.0


def curtain(x, y):
    """Colour and coverage of the two cloth panels at (x, y), or None."""
    # Each panel is tied back: its inner edge swings outwards lower down.
    s = max(0.0, (y - ROD_Y) / (PIC_H - ROD_Y))
    tie = 132 * math.sin(min(1.0, s * 2.4) * math.pi / 2) ** 1.2 * (1 - 0.35 * max(0.0, s - 0.62))
    inner_left = 168 - tie
    inner_right = PIC_W - 168 + tie
    if y < ROD_Y:
        return None
    for left_panel in (True, False):
        if left_panel:
            u = x / inner_left if inner_left > 0 else 2.0
        else:
            u = (PIC_W - x) / (PIC_W - inner_right) if inner_right < PIC_W else 2.0
        if u > 1.0:
            continue
        folds = 7 + 5 * s  # folds crowd together where the cloth is gathered
        phase = u * folds * 2 * math.pi + 0.8 * math.sin(y / 37.0)
        shade = 0.50 + 0.50 * math.cos(phase)
        base = (158, 22, 38) if left_panel else (146, 18, 44)
        lit = mix((52, 6, 16), base, 0.35 + 0.65 * shade)
        lit = mix(lit, (236, 120, 120), 0.18 * shade ** 8)  # sheen on the fold crests
        # darker towards the rod, where the cloth is bunched
        lit = mix(lit, (30, 4, 10), 0.45 * math.exp(-(y - ROD_Y) / 10.0))
        edge = smoothstep(1.0, 0.985, u)  # soft inner edge
        return lit, edge
    return None


def about_pixel_at(x, y, title, subtitle):
    # night-blue backdrop, lighter where the spotlight falls
    r = math.hypot((x - 200) / 1.3, y - 170)
    colour = mix((42, 54, 96), (8, 10, 26), min(1.0, r / 230))
    # the spotlight cone and its pool on the stage floor
    floor_y = 236.0
    cone = max(0.0, 1 - abs(x - 200) / (30 + (y / PIC_H) * 120)) if y < floor_y else 0.0
    colour = mix(colour, (250, 236, 190), 0.22 * cone ** 1.5)
    if y >= floor_y:
        t = (y - floor_y) / (PIC_H - floor_y)
        colour = mix((96, 58, 32), (44, 24, 12), t)
        if int(x + (y - floor_y) * (x - 200) / 90.0) % 40 < 1.2:  # floorboards
            colour = mix(colour, (30, 16, 8), 0.5)
        pool = math.hypot((x - 200) / 150.0, (y - 258) / 26.0)
        colour = mix(colour, (255, 228, 170), 0.55 * max(0.0, 1 - pool) ** 1.3)
    # title and subtitle, gold with a drop shadow
    covered, _ = title
    sub_covered, _ = subtitle
    if covered(x - 3, y - 3):
        colour = mix(colour, (0, 0, 0), 0.55)
    if covered(x, y):
        t = (y - 118) / 42.0
        colour = mix((255, 226, 130), (196, 132, 30), max(0.0, min(1.0, t)))
    if sub_covered(x, y):
        colour = (226, 214, 190)
    # the cloth panels
    c = curtain(x, y)
    if c:
        colour = mix(colour, c[0], c[1])
    # the rod, brass, with its rings
    if ROD_Y - 9 <= y < ROD_Y:
        t = (y - (ROD_Y - 9)) / 9.0
        colour = mix((255, 232, 150), (120, 80, 20), abs(t - 0.3) * 1.4)
        if 9 < x < 391 and int(x) % 24 < 3:
            colour = mix(colour, (80, 52, 10), 0.5)
    # a dark valance above the rod
    if y < ROD_Y - 9:
        colour = mix((70, 10, 20), (36, 4, 10), y / (ROD_Y - 9))
    return colour


def about_picture():
    scale = 6
    title_w = (7 * 6 - 1) * scale
    title = text_mask("VELARRA", scale, (PIC_W - title_w) / 2, 118)
    sub_scale = 2
    sub_w = (13 * 6 - 1) * sub_scale
    subtitle = text_mask("CLOTH EFFECTS", sub_scale, (PIC_W - sub_w) / 2, 172)

    def pixel(x, y):
        acc = [0.0, 0.0, 0.0]
        for sy in (0.25, 0.75):
            for sx in (0.25, 0.75):
                c = about_pixel_at(x + sx, y + sy, title, subtitle)
                for i in range(3):
                    acc[i] += c[i] / 4
        return acc

    return pixel


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "ui")
    os.makedirs(out, exist_ok=True)
    for state in STATES:
        for part in ("left", "right", "middle"):
            write_bmp(os.path.join(out, "skin_%s_%s.bmp" % (state, part)), SKIN_W, SKIN_H, skin(state, part))
    write_bmp(os.path.join(out, "about_picture.bmp"), PIC_W, PIC_H, about_picture())


if __name__ == "__main__":
    main()

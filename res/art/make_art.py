#!/usr/bin/env python3
"""Draws the six button bitmaps and the program icon of sifteron.rc.

Writes Up.bmp, Down.bmp, Focus.bmp, CUp.bmp, CDown.bmp, CFocus.bmp (64 x 40,
4-bit) and sifteron.ico (32 x 32, 4-bit with transparency mask) into res/,
and the same icon for Linux desktops into res/icons/hicolor/: PNG files of
16 to 256 pixels and a scalable SVG.
The files are committed; run this only to change the art:
    python3 res/art/make_art.py
"""

import math
import os
import struct
import zlib

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_GREY, GREY, WHITE = 0, 8, 7, 15
RED, GREEN, YELLOW, BLUE, NAVY = 9, 10, 11, 12, 4

BUTTON_W, BUTTON_H = 64, 40

# The desktop icon's name: the application id of the desktop entry.
ICON_NAME = "org.sifteron.Sifteron"
ICON_SIZES = (16, 32, 48, 64, 128, 256)

# 5 x 7 glyphs of the two letters the OK button shows.
GLYPHS = {
    "O": [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "K": ["#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"],
}


class Canvas:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def hline(self, x0, x1, y, colour):
        self.rect(x0, y, x1, y, colour)

    def vline(self, x, y0, y1, colour):
        self.rect(x, y0, x, y1, colour)


def raised_face(c, x0, y0, x1, y1):
    c.rect(x0, y0, x1, y1, GREY)
    c.hline(x0, x1, y0, WHITE)
    c.vline(x0, y0, y1, WHITE)
    c.hline(x0, x1, y1, BLACK)
    c.vline(x1, y0, y1, BLACK)
    c.hline(x0 + 1, x1 - 1, y1 - 1, DARK_GREY)
    c.vline(x1 - 1, y0 + 1, y1 - 1, DARK_GREY)


def sunken_face(c, x0, y0, x1, y1):
    c.rect(x0, y0, x1, y1, GREY)
    c.hline(x0, x1, y0, BLACK)
    c.vline(x0, y0, y1, BLACK)
    c.hline(x0, x1, y1, BLACK)
    c.vline(x1, y0, y1, BLACK)
    c.hline(x0 + 1, x1 - 1, y0 + 1, DARK_GREY)
    c.vline(x0 + 1, y0 + 1, y1 - 1, DARK_GREY)


def inside(dx, dy, r):
    return dx * dx + dy * dy <= r * r + r * 0.8


def face(c, cx, cy, colour, mouth):
    r = 12
    for y in range(cy - r - 1, cy + r + 2):
        for x in range(cx - r - 1, cx + r + 2):
            dx, dy = x - cx, y - cy
            if inside(dx, dy, r):
                c.set(x, y, colour)
                # Outline: a pixel of the disc with a neighbour outside it.
                if not all(inside(dx + ax, dy + ay, r)
                           for ax, ay in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                    c.set(x, y, BLACK)
    for ex in (cx - 5, cx + 3):  # eyes
        c.rect(ex, cy - 5, ex + 2, cy - 3, BLACK)
    if mouth == "straight":
        c.rect(cx - 5, cy + 5, cx + 5, cy + 5, BLACK)
    elif mouth == "open smile":
        # Half disc below the middle: red inside, black rim.
        for y in range(cy + 1, cy + 9):
            for x in range(cx - 8, cx + 9):
                dx, dy = x - cx, y - (cy + 1)
                if dx * dx + dy * dy * 1.6 <= 64:
                    edge = (dy == 0 or (dx * dx + (dy + 1) ** 2 * 1.6 > 64)
                            or abs(dx) >= 7)
                    c.set(x, y, BLACK if edge else RED)
    elif mouth == "frown":
        for x in range(cx - 5, cx + 6):
            y = cy + 3 + (x - cx) * (x - cx) // 8  # corners hang down
            c.set(x, y, BLACK)
            c.set(x, y + 1, BLACK)


def letters(c, text, x, y, scale=2):
    for glyph in text:
        rows = GLYPHS[glyph]
        for gy, row in enumerate(rows):
            for gx, ch in enumerate(row):
                if ch == "#":
                    c.rect(x + gx * scale, y + gy * scale,
                           x + gx * scale + scale - 1, y + gy * scale + scale - 1, BLACK)
        x += (len(rows[0]) + 1) * scale


def dotted_frame(c, x0, y0, x1, y1):
    for x in range(x0, x1 + 1, 2):
        c.set(x, y0, BLACK)
        c.set(x, y1, BLACK)
    for y in range(y0, y1 + 1, 2):
        c.set(x0, y, BLACK)
        c.set(x1, y, BLACK)


def ok_button(state):
    c = Canvas(BUTTON_W, BUTTON_H, GREY)
    if state == "down":
        sunken_face(c, 0, 0, BUTTON_W - 1, BUTTON_H - 1)
        face(c, 19, 21, YELLOW, "open smile")  # content moves one pixel down-right
        letters(c, "OK", 37, 14)
        dotted_frame(c, 34, 11, 59, 31)
        return c
    inset = 3 if state == "focus" else 0
    if inset:
        c.rect(0, 0, BUTTON_W - 1, BUTTON_H - 1, BLACK)
    raised_face(c, inset, inset, BUTTON_W - 1 - inset, BUTTON_H - 1 - inset)
    face(c, 18, 20, YELLOW, "straight")
    letters(c, "OK", 36, 13)
    return c


def cancel_button(state):
    c = Canvas(BUTTON_W, BUTTON_H, GREY)
    if state == "down":
        sunken_face(c, 0, 0, BUTTON_W - 1, BUTTON_H - 1)
        face(c, 33, 21, GREEN, "frown")
        return c
    inset = 3 if state == "focus" else 0
    if inset:
        c.rect(0, 0, BUTTON_W - 1, BUTTON_H - 1, BLACK)
    raised_face(c, inset, inset, BUTTON_W - 1 - inset, BUTTON_H - 1 - inset)
    face(c, 32, 20, RED, "frown")
    return c


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def packed_rows(c):
    """4-bit rows, bottom-up, each padded to four bytes."""
    out = b""
    for row in reversed(c.pixels):
        data = bytes((row[i] << 4) | row[i + 1] for i in range(0, len(row), 2))
        out += data + b"\0" * (-len(data) % 4)
    return out


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def bmp_bytes(c):
    pixels = packed_rows(c)
    offset = 14 + 40 + 64
    return (struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
            + info_header(c.width, c.height, len(pixels)) + palette_bytes() + pixels)


def icon_canvas():
    """A small window with a blue title bar and blue text lines, and a yellow
    pencil with a red tip writing into it. Colour None is transparent."""
    c = Canvas(32, 32, None)
    # Window frame and title bar.
    c.rect(1, 4, 23, 28, BLACK)
    c.rect(2, 5, 22, 8, BLUE)
    c.rect(19, 6, 21, 7, GREY)  # a close box in the title bar
    c.rect(2, 9, 22, 27, WHITE)
    for y, length in ((12, 16), (15, 18), (18, 13), (21, 17), (24, 7)):
        c.hline(4, 4 + length - 1, y, NAVY)
    # Pencil: a diagonal band from the upper right down to the lower left,
    # yellow body with a dark edge, a bare wood cone and a red tip.
    for t in range(0, 15):
        x, y = 29 - t, 5 + t
        c.set(x, y - 1, BLACK)
        c.set(x + 1, y, YELLOW)
        c.set(x, y, YELLOW)
        c.set(x - 1, y, YELLOW)
        c.set(x - 1, y + 1, BLACK if t < 14 else GREY)
    c.rect(29, 3, 30, 4, DARK_GREY)  # metal cap at the far end
    c.set(28, 4, BLACK)
    c.set(14, 20, GREY)         # sharpened wood
    c.set(13, 20, GREY)
    c.set(14, 21, GREY)
    c.set(12, 22, RED)          # the tip, writing on the last line
    c.set(13, 21, RED)
    c.set(12, 21, RED)
    c.set(11, 23, RED)
    return c


def ico_bytes(c):
    opaque = Canvas(c.width, c.height, 0)
    colours = Canvas(c.width, c.height, 0)
    for y in range(c.height):
        for x in range(c.width):
            if c.pixels[y][x] is not None:
                colours.pixels[y][x] = c.pixels[y][x]
                opaque.pixels[y][x] = 1
    xor = packed_rows(colours)
    mask = b""
    for row in reversed(opaque.pixels):
        bits = 0
        for x, solid in enumerate(row):
            if not solid:
                bits |= 1 << (31 - x)  # 1 = transparent
        mask += struct.pack(">I", bits)
    image = info_header(c.width, c.height * 2, len(xor) + len(mask)) + palette_bytes() + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", c.width, c.height, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def scaled_rgba(c, size):
    """Rows of (red, green, blue, alpha) of the square canvas c drawn at size
    pixels. Each output pixel averages the art it covers, so whole-number
    enlargements stay crisp and 16 and 48 pixels get soft edges."""
    common = math.gcd(size, c.width)
    up, down = size // common, c.width // common
    rows = []
    for oy in range(size):
        row = []
        for ox in range(size):
            covered = [c.pixels[vy // up][vx // up]
                       for vy in range(oy * down, (oy + 1) * down)
                       for vx in range(ox * down, (ox + 1) * down)]
            solid = [PALETTE[colour] for colour in covered if colour is not None]
            if not solid:
                row.append((0, 0, 0, 0))
                continue
            mean = [round(sum(p[i] for p in solid) / len(solid)) for i in range(3)]
            row.append((*mean, round(255 * len(solid) / len(covered))))
        rows.append(row)
    return rows


def png_bytes(rows):
    """An 8-bit RGBA PNG, every row unfiltered."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def svg_bytes(c):
    """The canvas as squares of one path per colour, edges kept sharp."""
    runs = {}
    for y, row in enumerate(c.pixels):
        x = 0
        while x < c.width:
            end = x
            while end < c.width and row[end] == row[x]:
                end += 1
            if row[x] is not None:
                runs.setdefault(row[x], []).append(f"M{x} {y}h{end - x}v1h-{end - x}z")
            x = end
    paths = "".join(
        '  <path fill="#%02x%02x%02x" d="%s"/>\n' % (*PALETTE[colour], "".join(parts))
        for colour, parts in sorted(runs.items()))
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
            'viewBox="0 0 %d %d" shape-rendering="crispEdges">\n%s</svg>\n'
            % (c.width * 8, c.height * 8, c.width, c.height, paths)).encode("ascii")


def desktop_icons(c):
    """The hicolor theme's files of the icon, by path below res/."""
    files = {}
    for size in ICON_SIZES:
        name = f"icons/hicolor/{size}x{size}/apps/{ICON_NAME}.png"
        files[name] = png_bytes(scaled_rgba(c, size))
    files[f"icons/hicolor/scalable/apps/{ICON_NAME}.svg"] = svg_bytes(c)
    return files


def main():
    out_dir = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir)
    files = {
        "Up.bmp": bmp_bytes(ok_button("up")),
        "Down.bmp": bmp_bytes(ok_button("down")),
        "Focus.bmp": bmp_bytes(ok_button("focus")),
        "CUp.bmp": bmp_bytes(cancel_button("up")),
        "CDown.bmp": bmp_bytes(cancel_button("down")),
        "CFocus.bmp": bmp_bytes(cancel_button("focus")),
        "sifteron.ico": ico_bytes(icon_canvas()),
        **desktop_icons(icon_canvas()),
    }
    for name, data in files.items():
        path = os.path.join(out_dir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()

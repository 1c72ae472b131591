#!/usr/bin/env python3
"""Draws the program icon (resources/KALTON.ico): a pair of beamed notes over
the word "BAS" on a blue screen, so it reads "MIDI to BASIC" at a glance.

The file holds four images, in this order: 32x32 and 16x16 in 16 colours,
then 32x32 and 16x16 in 256 colours. The output depends on nothing but this
script, so the committed icon can be rebuilt and compared byte for byte.

  make_icon.py OUT.ico          write the icon
  make_icon.py --check IN.ico   exit 0 when IN.ico is what this script makes
"""
import struct
import sys

# The standard 16-colour palette, in the order Windows uses.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GRAY, BLUE, YELLOW, WHITE = (
    VGA[0], VGA[4], VGA[7], VGA[8], VGA[12], VGA[11], VGA[15])

# Letters of the word "BAS" in two sizes: 5x7 for 32 pixels, 3x5 for 16.
FONT_5X7 = {
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
}
FONT_3X5 = {
    "B": ["##.", "#.#", "##.", "#.#", "##."],
    "A": [".#.", "#.#", "###", "#.#", "#.#"],
    "S": [".##", "#..", ".#.", "..#", "##."],
}

# Geometry per size: corner radius of the screen, the notes (head centres and
# radii, stem tops, beam thickness) and where the word starts.
LAYOUT = {
    32: dict(radius=4, heads=[(8.2, 16.2), (20.2, 14.2)], rx=3.6, ry=2.7,
             stems=[(11, 4), (23, 2)], beam=3, font=FONT_5X7, text=(7, 22)),
    16: dict(radius=2, heads=[(4.2, 8.2), (10.2, 7.2)], rx=2.2, ry=1.6,
             stems=[(6, 2), (12, 1)], beam=2, font=FONT_3X5, text=(2, 10)),
}

SUPERSAMPLE = 4


def inside_screen(size, radius, x, y):
    """True for pixels of the rounded square; the corners stay transparent."""
    lo, hi = radius, size - 1 - radius
    cx = min(max(x, lo), hi)
    cy = min(max(y, lo), hi)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def note_coverage(layout, x, y):
    """Fraction (0..1) of pixel (x, y) covered by the note glyph."""
    hits = 0
    for sy in range(SUPERSAMPLE):
        for sx in range(SUPERSAMPLE):
            px = x + (sx + 0.5) / SUPERSAMPLE
            py = y + (sy + 0.5) / SUPERSAMPLE
            if in_note(layout, px, py):
                hits += 1
    return hits / (SUPERSAMPLE * SUPERSAMPLE)


def in_note(layout, px, py):
    rx, ry = layout["rx"], layout["ry"]
    for hx, hy in layout["heads"]:
        if ((px - hx) / rx) ** 2 + ((py - hy) / ry) ** 2 <= 1.0:
            return True
    (x0, top0), (x1, top1) = layout["stems"]
    heads = layout["heads"]
    for (sx, top), (_, hy) in zip(layout["stems"], heads):
        if sx <= px < sx + 1 and top <= py <= hy:
            return True
    # The beam joins the stem tops, sloping with them.
    if x0 <= px < x1 + 1:
        t = (px - x0) / (x1 + 1 - x0)
        top = top0 + (top1 - top0) * t
        if top <= py < top + layout["beam"]:
            return True
    return False


def text_pixels(layout):
    ox, oy = layout["text"]
    font = layout["font"]
    pixels = set()
    x = ox
    for letter in "BAS":
        rows = font[letter]
        for dy, row in enumerate(rows):
            for dx, mark in enumerate(row):
                if mark == "#":
                    pixels.add((x + dx, oy + dy))
        x += len(rows[0]) + 1
    return pixels


def blend(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def draw(size, rich):
    """Returns rows of colours (None where transparent), top row first.

    The 16-colour images use palette colours only; the 256-colour ones add a
    gradient screen, smooth note edges and a shadow under the letters."""
    layout = LAYOUT[size]
    text = text_pixels(layout)
    image = []
    for y in range(size):
        row = []
        for x in range(size):
            if not inside_screen(size, layout["radius"], x, y):
                row.append(None)
                continue
            edge = not inside_screen(size, layout["radius"], x - 1, y) or \
                not inside_screen(size, layout["radius"], x + 1, y) or \
                not inside_screen(size, layout["radius"], x, y - 1) or \
                not inside_screen(size, layout["radius"], x, y + 1)
            if rich:
                # Eight bands from a light to a deep blue.
                band = (y * 8) // size
                colour = blend((40, 110, 230), (10, 30, 120), band / 7)
                if edge:
                    colour = (0, 0, 80)
            else:
                colour = NAVY if edge else BLUE
            coverage = note_coverage(layout, x, y)
            if rich:
                if coverage > 0:
                    # Four steps of coverage keep the palette small.
                    colour = blend(colour, WHITE, round(coverage * 4) / 4)
            elif coverage >= 0.5:
                colour = WHITE
            if (x, y) in text:
                colour = YELLOW
            elif rich and size >= 32 and (x - 1, y - 1) in text and not edge:
                colour = blend(colour, BLACK, 0.5)
            row.append(colour)
        image.append(row)
    return image


def palette_for(image, bits):
    if bits == 4:
        return list(VGA)
    palette = list(VGA)
    for row in image:
        for colour in row:
            if colour is not None and colour not in palette:
                palette.append(colour)
    if len(palette) > 256:
        raise SystemExit("icon uses more than 256 colours")
    return palette + [BLACK] * (256 - len(palette))


def nearest(palette, colour):
    best, best_distance = 0, None
    for index, entry in enumerate(palette):
        distance = sum((entry[i] - colour[i]) ** 2 for i in range(3))
        if best_distance is None or distance < best_distance:
            best, best_distance = index, distance
    return best


def row_bytes(width, bits):
    return ((width * bits + 31) // 32) * 4


def encode(size, bits, rich):
    """One icon image: BITMAPINFOHEADER, palette, colour bits, AND mask."""
    image = draw(size, rich)
    palette = palette_for(image, bits)
    xor_stride, and_stride = row_bytes(size, bits), row_bytes(size, 1)
    xor_data, and_data = bytearray(), bytearray()
    for row in reversed(image):  # bitmaps are stored bottom-up
        indices = [0 if c is None else nearest(palette, c) for c in row]
        line = bytearray(xor_stride)
        mask = bytearray(and_stride)
        for x, index in enumerate(indices):
            if bits == 4:
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            else:
                line[x] = index
            if row[x] is None:
                mask[x // 8] |= 0x80 >> (x % 8)
        xor_data += line
        and_data += mask
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(xor_data) + len(and_data), 0, 0, 0, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + colours + bytes(xor_data) + bytes(and_data)


IMAGES = [(32, 4, False), (16, 4, False), (32, 8, True), (16, 8, True)]


def build_icon():
    images = [(size, bits, encode(size, bits, rich)) for size, bits, rich in IMAGES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        colour_count = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits,
                           len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    return out


def main(argv):
    if len(argv) == 3 and argv[1] == "--check":
        with open(argv[2], "rb") as f:
            same = f.read() == build_icon()
        print("icon is up to date" if same else "icon differs from its generator")
        return 0 if same else 1
    if len(argv) == 2:
        with open(argv[1], "wb") as f:
            f.write(build_icon())
        return 0
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))

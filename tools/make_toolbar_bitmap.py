#!/usr/bin/env python3
"""Draws the toolbar strip res/toolbar.bmp: eight 16 x 16 images, 4 bits per
pixel, light grey background (the toolbar maps it to the button face).

Images in toolbar order: 0 start game, 1 interrupt game, 2 players,
3 initialise the board, 4 to the start of the record, 5 one move back,
6 one move forward, 7 to the end of the record.

Usage: tools/make_toolbar_bitmap.py [output]   (default res/toolbar.bmp)
"""
import struct
import sys

# The 16 standard colours, as indices.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, DARK_GREEN, OLIVE, NAVY, PURPLE, TEAL, LIGHT_GREY = range(8)
GREY, RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)

SIZE = 16
COUNT = 8


class Image:
    def __init__(self):
        self.px = [[LIGHT_GREY] * SIZE for _ in range(SIZE)]

    def set(self, x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = c

    def rect(self, l, t, r, b, c):
        """Fills x in [l, r), y in [t, b)."""
        for y in range(t, b):
            for x in range(l, r):
                self.set(x, y, c)

    def disc(self, cx, cy, radius, fill, rim):
        for y in range(SIZE):
            for x in range(SIZE):
                d = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2
                if d <= radius ** 2:
                    self.set(x, y, rim if d > (radius - 1) ** 2 else fill)

    def triangle(self, tip_x, base_x, mid_y, half, c):
        """A triangle pointing from base_x towards tip_x, centred on row mid_y."""
        step = 1 if tip_x > base_x else -1
        length = abs(tip_x - base_x)
        for i in range(length + 1):
            x = base_x + i * step
            h = round(half * (length - i) / length)
            for y in range(mid_y - h, mid_y + h + 1):
                self.set(x, y, c)


def start_game():
    # A green "play" triangle with a dark outline.
    im = Image()
    im.triangle(13, 3, 8, 6, DARK_GREEN)
    im.triangle(11, 4, 8, 4, GREEN)
    return im


def interrupt_game():
    # A red stop square with a dark rim.
    im = Image()
    im.rect(3, 3, 13, 13, DARK_RED)
    im.rect(4, 4, 12, 12, RED)
    return im


def players():
    # Two people: one in black, one in white.
    im = Image()
    for cx, body, rim in ((5, BLACK, BLACK), (11, WHITE, GREY)):
        im.disc(cx + 0.5, 4.5, 2.5, body, rim)
        im.rect(cx - 3, 8, cx + 4, 15, rim)
        im.rect(cx - 2, 9, cx + 3, 15, body)
    return im


def initial_board():
    # A small green board with the four centre discs.
    im = Image()
    im.rect(1, 1, 15, 15, BLACK)
    im.rect(2, 2, 14, 14, DARK_GREEN)
    for x in (5, 8, 11):
        im.rect(x, 2, x + 1, 14, GREEN)
    for y in (5, 8, 11):
        im.rect(2, y, 14, y + 1, GREEN)
    for (l, t, c) in ((5, 5, WHITE), (8, 5, BLACK), (5, 8, BLACK), (8, 8, WHITE)):
        im.rect(l + 1, t + 1, l + 3, t + 3, c)
    return im


def to_start():
    im = Image()
    im.rect(3, 3, 5, 13, NAVY)
    im.triangle(5, 12, 8, 5, NAVY)
    return im


def back():
    im = Image()
    im.triangle(4, 11, 8, 5, NAVY)
    return im


def forward():
    im = Image()
    im.triangle(11, 4, 8, 5, NAVY)
    return im


def to_end():
    im = Image()
    im.triangle(10, 3, 8, 5, NAVY)
    im.rect(11, 3, 13, 13, NAVY)
    return im


IMAGES = [start_game, interrupt_game, players, initial_board, to_start, back, forward, to_end]


def strip_bmp():
    images = [make() for make in IMAGES]
    width = SIZE * COUNT
    row_bytes = width // 2
    rows = []
    for y in reversed(range(SIZE)):  # bottom-up
        pixels = [images[x // SIZE].px[y][x % SIZE] for x in range(width)]
        rows.append(bytes((pixels[i] << 4) | pixels[i + 1] for i in range(0, width, 2)))
    data = b"".join(rows)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, SIZE, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    assert len(data) == row_bytes * SIZE
    return header + info + palette + data


if __name__ == "__main__":
    path = sys.argv[1] if len(sys.argv) > 1 else "res/toolbar.bmp"
    with open(path, "wb") as f:
        f.write(strip_bmp())

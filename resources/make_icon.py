#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows icon file and a PNG.

The picture is drawn on a 64 x 64 design grid, with an alpha channel: a
blue picture frame with a small landscape, and a white double-headed arrow
across it from the lower left to the upper right, the sign of a resize.
Edges are smoothed by sampling each pixel on a 4 x 4 grid.

The icon file holds one 32-bit image for each size of ICON_SIZES, so that
Windows picks a drawn image for the small icon of the caption and the
large one of the task switcher instead of scaling one: the 6-byte header,
a 16-byte directory entry per image, then each image as a 40-byte bitmap
header, its colour bytes (bottom row first) and its AND mask (rows padded
to 4 bytes). The PNG holds the 64 x 64 image.

Usage: make_icon.py ICON_FILE PNG_FILE
"""

import math
import struct
import sys
import zlib

DESIGN_SIZE = 64
ICON_SIZES = (16, 24, 32, 48, 64)
SAMPLES = 4

# Colours as (red, green, blue).
FRAME = (28, 78, 156)
SKY = (122, 190, 240)
HILL = (64, 160, 84)
SUN = (250, 196, 48)
ARROW = (255, 255, 255)
ARROW_EDGE = (200, 64, 32)


def inside_rounded_square(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def distance_to_segment(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def inside_triangle(x, y, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def arrow_head(tip_x, tip_y, direction_x, direction_y, length, half_width):
    base_x, base_y = tip_x - direction_x * length, tip_y - direction_y * length
    normal_x, normal_y = -direction_y, direction_x
    return ((tip_x, tip_y),
            (base_x + normal_x * half_width, base_y + normal_y * half_width),
            (base_x - normal_x * half_width, base_y - normal_y * half_width))


DIAGONAL = 1 / math.sqrt(2)
START = (13.0, 51.0)
END = (51.0, 13.0)
HEAD_LENGTH = 13
HEADS = (arrow_head(END[0], END[1], DIAGONAL, -DIAGONAL, HEAD_LENGTH, 8),
         arrow_head(START[0], START[1], -DIAGONAL, DIAGONAL, HEAD_LENGTH, 8))
SHAFT = (START[0] + DIAGONAL * (HEAD_LENGTH - 1), START[1] - DIAGONAL * (HEAD_LENGTH - 1),
         END[0] - DIAGONAL * (HEAD_LENGTH - 1), END[1] + DIAGONAL * (HEAD_LENGTH - 1))
SHAFT_HALF_WIDTH = 2.6
OUTLINE = 1.8


def distance_to_triangle(x, y, triangle):
    if inside_triangle(x, y, *triangle):
        return 0.0
    a, b, c = triangle
    return min(distance_to_segment(x, y, *a, *b), distance_to_segment(x, y, *b, *c),
               distance_to_segment(x, y, *c, *a))


def arrow_colour(x, y):
    """The arrow's colour at a point, with its outline, or None."""
    shaft = distance_to_segment(x, y, *SHAFT) - SHAFT_HALF_WIDTH
    distance = min([shaft] + [distance_to_triangle(x, y, head) for head in HEADS])
    if distance <= 0:
        return ARROW
    if distance <= OUTLINE:
        return ARROW_EDGE
    return None


def colour_at(x, y):
    """The colour at a point of the picture, or None where it is transparent."""
    if not inside_rounded_square(x, y, 2, 2, 62, 62, 8):
        return None
    arrow = arrow_colour(x, y)
    if arrow is not None:
        return arrow
    if not inside_rounded_square(x, y, 6, 6, 58, 58, 5):
        return FRAME
    if (x - 19) ** 2 + (y - 19) ** 2 <= 36:
        return SUN
    if y > 44 + 6 * math.sin((x - 6) / 9):
        return HILL
    return SKY


def draw(size):
    """Rows of (red, green, blue, alpha) of a size x size image, top row first."""
    scale = DESIGN_SIZE / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            red = green = blue = covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    colour = colour_at((px + (sx + 0.5) / SAMPLES) * scale, (py + (sy + 0.5) / SAMPLES) * scale)
                    if colour is None:
                        continue
                    red, green, blue = red + colour[0], green + colour[1], blue + colour[2]
                    covered += 1
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = round(255 * covered / SAMPLES ** 2)
                row.append((round(red / covered), round(green / covered), round(blue / covered), alpha))
        rows.append(row)
    return rows


def icon_image(rows):
    size = len(rows)
    colour_bytes = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row_length = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = 0
        for (_, _, _, alpha) in row:
            bits = (bits << 1) | (1 if alpha == 0 else 0)
        bits <<= mask_row_length * 8 - size
        mask += bits.to_bytes(mask_row_length, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour_bytes) + len(mask), 0, 0, 0, 0)
    return header + colour_bytes + bytes(mask)


def icon_file(images):
    """An icon file of the images, each a list of rows."""
    data = [icon_image(rows) for rows in images]
    offset = 6 + 16 * len(images)
    entries = b""
    for rows, image in zip(images, data):
        entries += struct.pack("<BBBBHHII", len(rows), len(rows), 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return struct.pack("<HHH", 0, 1, len(images)) + entries + b"".join(data)


def png_file(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\x00" + bytes(value for pixel in row for value in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main(arguments):
    if len(arguments) != 3:
        sys.stderr.write(__doc__)
        return 2
    images = [draw(size) for size in ICON_SIZES]
    with open(arguments[1], "wb") as out:
        out.write(icon_file(images))
    with open(arguments[2], "wb") as out:
        out.write(png_file(images[-1]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

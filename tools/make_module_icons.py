#!/usr/bin/env python3
"""Draws the icon strips of the web-page modules: resources/modules/bitmap_103.png (game security:
a shield) and bitmap_104.png (game services: a play button). Each strip is 276 x 69, 24-bit, and
holds three 91-pixel images of one symbol: normal, highlighted and pressed.

    tools/make_module_icons.py [output folder]
"""
import os
import struct
import sys
import zlib

WIDTH, HEIGHT, CELL = 276, 69, 91
BACKGROUNDS = [(0xF4, 0xF7, 0xF5), (0xDD, 0xF0, 0xE4), (0xB8, 0xDC, 0xC5)]
GREEN = (0x00, 0x8D, 0x42)
WHITE = (0xFF, 0xFF, 0xFF)


def in_rounded_square(x, y, cx, cy, half, radius):
    dx, dy = abs(x - cx), abs(y - cy)
    if dx > half or dy > half:
        return False
    ex, ey = dx - (half - radius), dy - (half - radius)
    return ex <= 0 or ey <= 0 or ex * ex + ey * ey <= radius * radius


def in_play_triangle(x, y, cx, cy, size):
    # Pointing right: left edge at cx - size/2, apex at cx + size/2.
    left = cx - size / 2
    if x < left or x > cx + size / 2:
        return False
    reach = (size / 2) * (1 - (x - left) / size)
    return abs(y - cy) <= reach


def in_shield(x, y, cx, top, width, height):
    half = width / 2
    if y < top or y > top + height or abs(x - cx) > half:
        return False
    body = top + height * 0.45
    if y <= body:
        return True
    # The lower part narrows to the point.
    return abs(x - cx) <= half * (1 - (y - body) / (top + height - body))


def in_check(x, y, cx, cy):
    def near_segment(ax, ay, bx, by, thickness):
        vx, vy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy)))
        px, py = ax + t * vx - x, ay + t * vy - y
        return px * px + py * py <= thickness * thickness
    return near_segment(cx - 10, cy, cx - 3, cy + 8, 3) or near_segment(cx - 3, cy + 8, cx + 11, cy - 9, 3)


def security_pixel(x, y, cx, cy):
    if in_shield(x, y, cx, cy - 26, 44, 52):
        return WHITE if in_check(x, y, cx, cy) else GREEN
    return None


def services_pixel(x, y, cx, cy):
    if in_rounded_square(x, y, cx, cy, 24, 9):
        return WHITE if in_play_triangle(x, y, cx + 3, cy, 22) else GREEN
    return None


def strip(symbol):
    rows = []
    for y in range(HEIGHT):
        row = bytearray([0])  # filter type: none
        for x in range(WIDTH):
            cell = min(x // CELL, 2)
            colour = BACKGROUNDS[cell] if x < 3 * CELL else BACKGROUNDS[0]
            if x < 3 * CELL:
                cx, cy = cell * CELL + CELL // 2, HEIGHT // 2
                offset = 1 if cell == 2 else 0  # the pressed image sits one pixel lower
                colour = symbol(x, y - offset, cx, cy) or colour
            row += bytes(colour)
        rows.append(bytes(row))
    return b"".join(rows)


def png(pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(pixels, 9))
            + chunk(b"IEND", b""))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "resources", "modules")
    for number, symbol in ((103, security_pixel), (104, services_pixel)):
        with open(os.path.join(folder, "bitmap_%d.png" % number), "wb") as out:
            out.write(png(strip(symbol)))


if __name__ == "__main__":
    main()

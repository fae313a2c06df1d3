#!/usr/bin/env python3
"""Writes the Windows icons of the executable into resources/icons/.

quillmar.ico: the application's icon, a red capital Q on black drawn from
the same 5 by 7 pixel pattern as the icon of the program's windows.
quillmar-document.ico: the rate document's icon, a page with a folded corner
bearing the Q.

The icons are kept in the repository; run this again after changing them.
"""
import os
import struct

Q = [
    ".###.",
    "#...#",
    "#...#",
    "#...#",
    "#.#.#",
    "#..#.",
    ".##.#",
]
RED = (255, 0, 0, 255)
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
GREY = (96, 96, 96, 255)
CLEAR = (0, 0, 0, 0)


def draw_q(pixels, size, left, top, scale, colour):
    for row, line in enumerate(Q):
        for column, cell in enumerate(line):
            if cell != "#":
                continue
            for y in range(top + row * scale, top + (row + 1) * scale):
                for x in range(left + column * scale, left + (column + 1) * scale):
                    if 0 <= x < size and 0 <= y < size:
                        pixels[y][x] = colour


def application(size):
    pixels = [[BLACK] * size for _ in range(size)]
    scale = max(1, size * 5 // 48)
    left = (size - 5 * scale) // 2
    top = (size - 7 * scale) // 2
    draw_q(pixels, size, left, top, scale, RED)
    return pixels


def document(size):
    pixels = [[CLEAR] * size for _ in range(size)]
    margin = size // 8
    right = size - margin - 1
    bottom = size - 1
    fold = size // 4
    for y in range(0, bottom + 1):
        for x in range(margin, right + 1):
            if x > right - fold + y:
                continue  # cut off by the folded corner
            edge = x in (margin, right) or y in (0, bottom) or x == right - fold + y
            pixels[y][x] = GREY if edge else WHITE
    for y in range(0, fold + 1):
        for x in range(right - fold, right - fold + y + 1):
            pixels[y][x] = GREY if x == right - fold or y == fold else (208, 208, 208, 255)
    scale = max(1, size * 3 // 48)
    left = (size - 5 * scale) // 2
    top = fold + (size - fold - 7 * scale) // 2
    draw_q(pixels, size, left, top, scale, RED)
    return pixels


def bitmap(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(
        struct.pack("BBBB", b, g, r, a) for row in reversed(pixels) for (r, g, b, a) in row
    )
    stride = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + colour + mask


def icon(draw, sizes):
    images = [bitmap(draw(size)) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "icons")
    sizes = [16, 32, 48]
    with open(os.path.join(folder, "quillmar.ico"), "wb") as out:
        out.write(icon(application, sizes))
    with open(os.path.join(folder, "quillmar-document.ico"), "wb") as out:
        out.write(icon(document, sizes))


if __name__ == "__main__":
    main()

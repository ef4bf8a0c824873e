#!/usr/bin/env python3
"""Writes the splash animation: a ring of 24 dots with one bright dot going round, 24 frames.

Every frame is a whole picture with its own graphic control block (delay 4/100 s), so each frame
shows correctly on its own. Usage: make-splash-gif.py OUT.gif
"""
import math
import struct
import sys

SIZE = 48
FRAMES = 24
PALETTE = [(255, 255, 255), (50, 67, 149), (170, 186, 230), (235, 240, 250),
           (0, 0, 0), (0, 0, 0), (0, 0, 0), (0, 0, 0)]


def lzw_uncompressed(pixels, min_code_size=3):
    """Codes each pixel as its own literal, with a clear code often enough that the code width
    never grows: a valid stream that any decoder reads."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    width = min_code_size + 1
    codes = []
    for i, p in enumerate(pixels):
        if i % 6 == 0:
            codes.append(clear)
        codes.append(p)
    codes.append(end)
    out, acc, nbits = bytearray(), 0, 0
    for c in codes:
        acc |= c << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8
    if nbits:
        out.append(acc & 0xFF)
    blocks = bytearray([min_code_size])
    for i in range(0, len(out), 255):
        chunk = out[i:i + 255]
        blocks.append(len(chunk))
        blocks += chunk
    blocks.append(0)
    return bytes(blocks)


def frame_pixels(n):
    pixels = [0] * (SIZE * SIZE)
    centre, radius = SIZE / 2 - 0.5, SIZE / 2 - 6
    for k in range(FRAMES):
        a = 2 * math.pi * k / FRAMES
        cx, cy = centre + radius * math.cos(a), centre + radius * math.sin(a)
        colour = 1 if k == n else (2 if (n - k) % FRAMES < 4 else 3)
        r = 3.2 if k == n else 2.4
        for y in range(SIZE):
            for x in range(SIZE):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    pixels[y * SIZE + x] = colour
    return pixels


def main():
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", SIZE, SIZE, 0xF2, 0, 0)  # global table of 8 colours
    for rgb in PALETTE:
        out += bytes(rgb)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop for ever
    for n in range(FRAMES):
        out += b"\x21\xF9\x04" + struct.pack("<BHB", 0x04, 4, 0) + b"\x00"
        out += b"\x2C" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
        out += lzw_uncompressed(frame_pixels(n))
    out += b"\x3B"
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()

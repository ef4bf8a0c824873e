#!/usr/bin/env python3
"""Writes the built-in change chime: a soft two-note bell, 8-bit mono 11025 Hz, 7434 bytes."""
import math
import struct
import sys

RATE = 11025
DATA_BYTES = 7434 - 44


def sample(t: float) -> float:
    # Two partials per note; the second note starts a little later, both decay smoothly.
    def bell(freq: float, start: float) -> float:
        if t < start:
            return 0.0
        u = t - start
        env = math.exp(-6.0 * u) * min(1.0, u * 400)
        return env * (math.sin(2 * math.pi * freq * u) + 0.35 * math.sin(2 * math.pi * 2.76 * freq * u))
    return 0.45 * bell(1318.5, 0.0) + 0.45 * bell(1046.5, 0.12)


def main(out: str) -> None:
    data = bytearray()
    for i in range(DATA_BYTES):
        v = sample(i / RATE)
        fade = min(1.0, (DATA_BYTES - i) / 400)  # no click at the end
        data.append(max(0, min(255, int(round(128 + 110 * v * fade)))))
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE, 1, 8)
    header += b"data" + struct.pack("<I", len(data))
    with open(out, "wb") as f:
        f.write(header + bytes(data))


if __name__ == "__main__":
    main(sys.argv[1])

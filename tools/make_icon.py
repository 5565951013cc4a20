#!/usr/bin/env python3
"""Draws the program's icon into data/desktop/vespario.png (256 x 256, RGBA): an evening sky
disc with a tilted spiral galaxy and a few stars. Written with the standard library only."""

import math
import struct
import sys
import zlib
from pathlib import Path

SIZE = 256


def pixel(x, y):
    cx = cy = SIZE / 2
    dx, dy = x + 0.5 - cx, y + 0.5 - cy
    r = math.hypot(dx, dy) / (SIZE / 2)
    if r > 1.0:
        return (0, 0, 0, 0)
    edge = min(1.0, (1.0 - r) * SIZE / 3)  # a soft rim
    # Dusk: deep blue at the top to violet at the bottom.
    t = y / SIZE
    sky = (int(16 + 40 * t), int(20 + 12 * t), int(70 + 40 * t))
    # A galaxy tilted by 30 degrees: an elliptical glow with two faint arms.
    a = math.radians(30)
    u = (dx * math.cos(a) + dy * math.sin(a)) / 78
    v = (-dx * math.sin(a) + dy * math.cos(a)) / 30
    d = math.hypot(u, v)
    glow = math.exp(-d * d * 3.0)
    angle = math.atan2(v, u)
    arm = max(0.0, math.cos(2 * angle - 4.0 * d)) * math.exp(-d * 1.6) * 0.55
    light = min(1.0, glow + arm * (d > 0.25))
    col = [sky[i] + (255 - sky[i]) * light * w for i, w in enumerate((1.0, 0.93, 0.72))]
    # Stars.
    for sx, sy, s in ((58, 70, 3.2), (196, 52, 2.6), (204, 190, 3.0), (74, 196, 2.2), (150, 30, 1.8)):
        k = math.exp(-((x - sx) ** 2 + (y - sy) ** 2) / (s * s))
        col = [c + (255 - c) * k for c in col]
    return (int(col[0]), int(col[1]), int(col[2]), int(255 * edge))


def main():
    path = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent.parent / "data" / "desktop" / "vespario.png"
    rows = b"".join(b"\0" + b"".join(struct.pack("4B", *pixel(x, y)) for x in range(SIZE)) for y in range(SIZE))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(png)


if __name__ == "__main__":
    main()

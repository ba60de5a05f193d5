#!/usr/bin/env python3
"""Draws the launcher's icon (a green exam sheet with a tick) as a 32x32 and 16x16 .ico."""
import struct
import sys


def pixel(size, x, y):
    s = size / 32.0
    # A white sheet with a dark-green border on a transparent ground.
    if 6 * s <= x < 26 * s and 2 * s <= y < 30 * s:
        if x < 7.5 * s or x >= 24.5 * s or y < 3.5 * s or y >= 28.5 * s:
            return (0x00, 0x64, 0x00, 0xFF)
        # Three ruled lines and a tick.
        for line in (9, 14, 19):
            if line * s <= y < (line + 1) * s and 10 * s <= x < 22 * s:
                return (0x90, 0x90, 0x90, 0xFF)
        tx, ty = x / s, y / s
        if 22 <= ty <= 27 and (abs((ty - 24.5) - (tx - 12)) < 1.2 and 10 <= tx <= 14.5 or
                                abs((ty - 26) + (tx - 14)) < 1.2 and 14 <= tx <= 21):
            return (0x00, 0x94, 0xD7, 0xFF)
        return (0xFF, 0xFF, 0xFF, 0xFF)
    return (0, 0, 0, 0)


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        for x in range(size):
            r, g, b, a = pixel(size, x, y)
            rows.append(struct.pack('BBBB', b, g, r, a))
    xor = b''.join(rows)
    and_stride = ((size + 31) // 32) * 4
    mask = b'\0' * (and_stride * size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def main(out):
    images = [image(32), image(16)]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, img in zip((32, 16), images):
        data += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(out, 'wb') as f:
        f.write(data + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1])

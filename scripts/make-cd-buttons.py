#!/usr/bin/env python3
"""Writes the CD player's button pictures into res/: previous, play, pause, stop and
next in an active (black) and an inactive (etched grey) form, add and remove once.
The greys are the ones the loader maps to the system's button colours."""
import struct
import sys

WIDTH, HEIGHT = 18, 12
FACE = (192, 192, 192)
GLYPH = (0, 0, 0)
ETCHED = (128, 128, 128)
LIGHT = (255, 255, 255)


def bar(x0, x1):
    return lambda x, y: x0 <= x <= x1 and 1 <= y <= 10


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def triangle(base, apex):
    """Points from the base column towards the apex column, 10 rows high at the base."""
    low, high = min(base, apex), max(base, apex)
    span = high - low

    def inside(x, y):
        if not low <= x <= high:
            return False
        reach = 5.0 * (abs(apex - x) + 0.5) / (span + 0.5)
        return abs(y + 0.5 - 6) <= reach
    return inside


GLYPHS = {
    'Previous': [bar(3, 4), triangle(10, 5), triangle(15, 10)],
    'Play': [triangle(6, 13)],
    'Pause': [bar(5, 7), bar(10, 12)],
    'Stop': [rect(4, 1, 13, 10)],
    'Next': [triangle(2, 7), triangle(7, 12), bar(13, 14)],
    'Add': [rect(4, 5, 13, 6), rect(8, 1, 9, 10)],
    'Remove': [rect(4, 5, 13, 6)],
}


def covered(parts, x, y):
    return any(part(x, y) for part in parts)


def pixel(parts, active, x, y):
    if covered(parts, x, y):
        return GLYPH if active else ETCHED
    if not active and covered(parts, x - 1, y - 1):
        return LIGHT
    return FACE


def bitmap(parts, active):
    stride = (WIDTH * 3 + 3) // 4 * 4
    rows = b''
    for y in reversed(range(HEIGHT)):
        row = b''.join(bytes(reversed(pixel(parts, active, x, y))) for x in range(WIDTH))
        rows += row + bytes(stride - len(row))
    info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 24, 0, len(rows), 0, 0, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return head + info + rows


def main(folder):
    for name, parts in GLYPHS.items():
        forms = [('', True)] if name in ('Add', 'Remove') else [('', True), ('Off', False)]
        for suffix, active in forms:
            with open(f'{folder}/Cd{name}{suffix}.bmp', 'wb') as f:
                f.write(bitmap(parts, active))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res')

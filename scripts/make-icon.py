#!/usr/bin/env python3
"""Writes res/Qv.ico: two light panes on a blue tile, at 16 and 32 pixels."""
import struct
import sys


def pixel(size, x, y):
    edge = max(1, size // 16)
    if x < edge or y < edge or x >= size - edge or y >= size - edge:
        return (0x80, 0x40, 0x10, 0xFF)  # dark blue rim (BGRA)
    top = size // 4
    gap = size // 2
    inner = edge * 2
    if y >= top and y < size - inner and x >= inner and x < size - inner and x != gap and x != gap - 1:
        return (0xF8, 0xF0, 0xE8, 0xFF)  # pane
    return (0xD0, 0x80, 0x30, 0xFF)  # blue tile


def image(size):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(b for x in range(size) for b in pixel(size, x, y)) for y in reversed(range(size)))
    mask_row = ((size + 31) // 32) * 4
    return header + rows + bytes(mask_row * size)


def main(path):
    sizes = (16, 32)
    images = [image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/Qv.ico')

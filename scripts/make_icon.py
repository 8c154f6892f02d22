#!/usr/bin/env python3
"""Writes the program icon (16x16 and 32x32, 32 bits): a dark terminal
screen with a blue title strip and a green prompt. Usage: make_icon.py OUT.ico"""
import struct
import sys

def pixel(size, x, y):
    border = size // 16 or 1
    if x < border or y < border or x >= size - border or y >= size - border:
        return (0x70, 0x70, 0x70, 0xFF)  # frame (B, G, R, A)
    if y < size // 4:
        return (0xD7, 0x78, 0x00, 0xFF)  # accent strip RGB(0,120,215)
    row, col = y - size // 4, x - border
    unit = max(size // 16, 1)
    if unit * 2 <= row < unit * 7 and unit <= col < unit * 5 and abs((row - unit * 2) - (col - unit) * 5 // 4) <= unit:
        return (0x40, 0xE0, 0x40, 0xFF)  # prompt chevron
    if unit * 6 <= row < unit * 7 and unit * 6 <= col < unit * 10:
        return (0x40, 0xE0, 0x40, 0xFF)  # cursor bar
    return (0x2D, 0x2D, 0x2D, 0xFF)

def image(size):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(c for x in range(size) for c in pixel(size, x, y)) for y in reversed(range(size)))
    mask_row = ((size + 31) // 32) * 4
    return header + rows + bytes(mask_row * size)

def main(out):
    sizes = (16, 32)
    images = [image(s) for s in sizes]
    data = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        data += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(out, 'wb') as f:
        f.write(data + b''.join(images))

if __name__ == '__main__':
    main(sys.argv[1])

#!/usr/bin/env python3
"""Draws the skin picture and the icon, and synthesises the chime, into resources/.

Only the standard library is used, so the resources can be remade on any machine:
    python3 scripts/make_resources.py
"""
import math
import os
import struct
import wave
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources")

KEY = (255, 0, 0)  # outside the window; the skin's bottom-left pixel

GLYPHS = {
    "t": [".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    "k": ["#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#."],
}


def write_png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def in_round_rect(x, y, left, top, right, bottom, radius):
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def text_pixels(text, left, top, scale):
    lit = set()
    for n, ch in enumerate(text):
        for row, line in enumerate(GLYPHS[ch]):
            for col, mark in enumerate(line):
                if mark == "#":
                    for dy in range(scale):
                        for dx in range(scale):
                            lit.add((left + (n * 6 + col) * scale + dx, top + row * scale + dy))
    return lit


def skin():
    width, height = 508, 324
    body = (2, 40, 505, 321, 16)
    tab = (10, 4, 236, 60, 12)
    title = text_pixels("tavik", 26, 16, 3)
    top_colour, bottom_colour = (46, 60, 92), (20, 26, 42)
    edge = (104, 128, 176)

    def inside(x, y, inset=0):
        l, t, r, b, rad = body
        tl, tt, tr, tb, trad = tab
        return (in_round_rect(x, y, l + inset, t + inset, r - inset, b - inset, rad - inset)
                or in_round_rect(x, y, tl + inset, tt + inset, tr - inset, tb - inset, trad - inset))

    def pixel(x, y):
        if not inside(x, y):
            return KEY
        if not inside(x, y, 2):
            return edge
        if (x, y) in title:
            return (244, 200, 64)
        # The presence area, where the texts and panels lie.
        if 14 <= x <= 491 and 106 <= y <= 291:
            if x in (14, 491) or y in (106, 291):
                return (72, 90, 128)
            return (12, 16, 28)
        # A thin rule above the status line.
        if 24 <= x <= 484 and y == 293:
            return (60, 74, 106)
        # Presence lamp at the end of the title tab.
        if (x - 206) ** 2 + (y - 32) ** 2 <= 49:
            return (64, 220, 96) if (x - 204) ** 2 + (y - 30) ** 2 > 4 else (190, 255, 200)
        return mix(top_colour, bottom_colour, y / height)

    write_png(os.path.join(OUT, "skin.png"), width, height, pixel)


def icon():
    size = 64

    def pixel(x, y):
        if not in_round_rect(x, y, 0, 0, size - 1, size - 1, 12):
            return (20, 26, 42)
        # A speech bubble with a lamp.
        if in_round_rect(x, y, 10, 12, 53, 42, 10) or (22 <= x <= 30 and 40 <= y <= 52 and x - 22 <= 52 - y):
            if (x - 32) ** 2 + (y - 27) ** 2 <= 64:
                return (64, 220, 96)
            return (244, 200, 64)
        return mix((46, 60, 92), (20, 26, 42), y / size)

    write_png(os.path.join(OUT, "tavik.png"), size, size, pixel)


def chime():
    rate, seconds = 22050, 0.45
    frames = bytearray()
    count = int(rate * seconds)
    for n in range(count):
        t = n / rate
        # Two bell-like partials, the second entering a little later, fading out.
        first = math.sin(2 * math.pi * 1318.5 * t) * math.exp(-t * 7)
        second = math.sin(2 * math.pi * 1975.5 * t) * math.exp(-(t - 0.12) * 8) if t >= 0.12 else 0.0
        attack = min(1.0, n / 200)
        release = min(1.0, (count - n) / 400)
        value = 0.45 * (first + 0.8 * second) * attack * release
        frames.append(max(0, min(255, int(round(128 + 127 * value)))))
    with wave.open(os.path.join(OUT, "chime.wav"), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    skin()
    icon()
    chime()

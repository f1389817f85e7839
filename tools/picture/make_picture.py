#!/usr/bin/env python3
"""Draws the screensaver's picture by code and writes it as the PNG the program
carries (256 x 256, 8-bit RGB, pHYs, IDAT chunks of 8,192 bytes, no text) and as the
program's icon (16, 32 and 48 pixels, 32-bit with alpha).

The emblem: a ring whose colour runs once round the hue circle, a compass star of
gold and steel points and a blue orb with a "Z". It lies on pure black, which the
show makes transparent, so every drawn colour stays well clear of black and the
parts are separated by black gaps that let other copies show through.

Usage: make_picture.py OUT_FOLDER   (writes zarn.png and zarn.ico there; the
repository keeps them in app/picture). Only the standard library is used, so the
output is the same wherever Python's zlib is the same."""

import colorsys
import math
import os
import struct
import sys
import zlib

SIZE = 256
PIXELS_PER_METRE = 23622
IDAT_LENGTH = 8192
ICON_SIZES = (16, 32, 48)

RING_INNER, RING_OUTER = 0.855, 0.975
STAR_LONG, STAR_SHORT, STAR_WAIST = 0.80, 0.58, 0.25
ORB = 0.335
ORB_RIM = 0.03


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def scale(c, k):
    return tuple(x * k for x in c)


def clamp(c):
    return tuple(min(255.0, max(0.0, x)) for x in c)


def ring_colour(r, angle):
    # Hue once round the circle, so a turning copy shows its angle; a raised profile
    # across the band gives it a rounded, lit look.
    hue = (angle / (2 * math.pi)) % 1.0
    red, green, blue = colorsys.hsv_to_rgb(hue, 0.78, 1.0)
    across = (r - RING_INNER) / (RING_OUTER - RING_INNER)
    light = 0.55 + 0.45 * math.sin(math.pi * across) ** 0.7
    shine = max(0.0, 1.0 - abs(across - 0.35) * 6.0) ** 2 * 0.35
    base = (red * 255, green * 255, blue * 255)
    return mix(scale(base, light), (255, 255, 255), shine)


def star_point(u, v):
    """The colour of the compass star at (u, v), or None outside it."""
    r = math.hypot(u, v)
    angle = math.atan2(v, u)
    # Nearest of the eight points: even ones are the long main points.
    sector = round(angle / (math.pi / 4)) % 8
    spine = sector * math.pi / 4
    long_point = sector % 2 == 0
    reach = STAR_LONG if long_point else STAR_SHORT
    # Coordinates along the point's spine and across it.
    along = u * math.cos(spine) + v * math.sin(spine)
    side = -u * math.sin(spine) + v * math.cos(spine)
    half = math.tan(math.pi / 8) * STAR_WAIST * (1.0 - along / reach) / (1.0 - STAR_WAIST / reach)
    if along < 0 or along > reach or abs(side) > max(half, 0.0) or r < 1e-9:
        return None
    lit = side > 0
    if long_point:
        bright, dark = (255, 214, 90), (205, 120, 30)
    else:
        bright, dark = (214, 228, 245), (96, 128, 176)
    colour = bright if lit else dark
    # A little brighter towards the tip on the lit face, darker inwards on the other.
    t = along / reach
    return scale(colour, 0.85 + 0.15 * t) if lit else scale(colour, 1.0 - 0.15 * (1 - t))


def star_gap(u, v):
    # A black seam round the orb keeps it apart from the star's points.
    r = math.hypot(u, v)
    return ORB < r < ORB + 0.025


def z_glyph(u, v):
    """True inside the letter Z drawn on the orb (v grows downwards)."""
    w, h, bar = 0.17, 0.19, 0.055
    if abs(u) > w or abs(v) > h:
        return False
    if v < -h + bar or v > h - bar:
        return True
    # The diagonal from the top right to the bottom left.
    t = (v + h) / (2 * h)
    centre = w - t * 2 * w
    return abs(u - centre) < bar * 1.25


def orb_colour(u, v):
    r = math.hypot(u, v)
    if r > ORB - ORB_RIM:
        return (255, 190, 70)
    # A sphere lit from the top left, deep blue with a soft highlight.
    nu, nv = u / ORB, v / ORB
    nz = math.sqrt(max(0.0, 1.0 - nu * nu - nv * nv))
    light = (-0.45, -0.55, 0.70)
    diffuse = max(0.0, nu * light[0] + nv * light[1] + nz * light[2])
    base = mix((28, 52, 150), (70, 150, 255), diffuse)
    highlight = max(0.0, diffuse - 0.82) / 0.18
    colour = mix(base, (235, 245, 255), highlight ** 2 * 0.8)
    if z_glyph(u, v):
        colour = mix((255, 250, 235), (255, 220, 140), (v + 0.19) / 0.38)
    return colour


def scene(u, v):
    """The colour at (u, v) in [-1, 1] squared, or None for the black background."""
    r = math.hypot(u, v)
    if RING_INNER <= r <= RING_OUTER:
        return ring_colour(r, math.atan2(v, u))
    if r < ORB:
        return orb_colour(u, v)
    if star_gap(u, v):
        return None
    return star_point(u, v)


def render(size, samples):
    """Rows of (red, green, blue, coverage) with colours not premultiplied."""
    rows = []
    step = 2.0 / (size * samples)
    for y in range(size):
        row = []
        for x in range(size):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(samples):
                v = -1.0 + (y * samples + sy + 0.5) * step
                for sx in range(samples):
                    u = -1.0 + (x * samples + sx + 0.5) * step
                    colour = scene(u, v)
                    if colour is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += colour[i]
            n = samples * samples
            if covered:
                colour = clamp(tuple(c / covered for c in total))
                row.append((colour[0], colour[1], colour[2], covered / n))
            else:
                row.append((0.0, 0.0, 0.0, 0.0))
        rows.append(row)
    return rows


def on_black(pixel):
    # Edges fade into black; a faint edge pixel is dropped so it reads as background
    # rather than as a near-black speck once the show keys black out.
    red, green, blue, coverage = pixel
    if coverage < 0.25:
        return (0, 0, 0)
    k = 0.35 + 0.65 * coverage
    return tuple(int(round(c * k)) for c in (red, green, blue))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filtered(raw_rows, width):
    """Each row with the filter that gives the smallest sum of magnitudes."""
    out = bytearray()
    previous = bytes(width * 3)
    for row in raw_rows:
        candidates = []
        for kind in range(5):
            line = bytearray([kind])
            for i, value in enumerate(row):
                left = row[i - 3] if i >= 3 else 0
                up = previous[i]
                corner = previous[i - 3] if i >= 3 else 0
                predictor = (0, left, up, (left + up) // 2, paeth(left, up, corner))[kind]
                line.append((value - predictor) & 0xFF)
            candidates.append((sum(b if b < 128 else 256 - b for b in line[1:]), line))
        out += min(candidates, key=lambda c: c[0])[1]
        previous = row
    return bytes(out)


def png_file(rgb_rows):
    width = height = len(rgb_rows)
    raw_rows = [bytes(v for pixel in row for v in pixel) for row in rgb_rows]
    data = zlib.compress(filtered(raw_rows, width), 9)
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    out += chunk(b"pHYs", struct.pack(">IIB", PIXELS_PER_METRE, PIXELS_PER_METRE, 1))
    for start in range(0, len(data), IDAT_LENGTH):
        out += chunk(b"IDAT", data[start:start + IDAT_LENGTH])
    out += chunk(b"IEND", b"")
    return out


def icon_image(size):
    """One icon entry: a 32-bit bottom-up DIB with alpha, then its 1-bit mask."""
    rows = render(size, 8)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (red, green, blue, coverage) in enumerate(row):
            alpha = int(round(coverage * 255))
            pixels += bytes((int(round(blue)), int(round(green)), int(round(red)), alpha))
            if alpha == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def icon_file():
    images = [icon_image(size) for size in ICON_SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(ICON_SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_picture.py OUT_FOLDER")
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    picture = [[on_black(p) for p in row] for row in render(SIZE, 4)]
    with open(os.path.join(folder, "zarn.png"), "wb") as f:
        f.write(png_file(picture))
    with open(os.path.join(folder, "zarn.ico"), "wb") as f:
        f.write(icon_file())


if __name__ == "__main__":
    main()

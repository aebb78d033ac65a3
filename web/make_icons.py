#!/usr/bin/env python3
"""The site's icons as PNG files, drawn from the program's SVG icon with
nothing but the standard library: the icon is rectangles, some with rounded
corners, which are filled here with their exact coverage of each pixel.

Usage: make_icons.py ICON_SVG OUT_DIR writes icon-192.png, icon-512.png,
maskable-192.png and maskable-512.png.

An "any" icon is the SVG scaled to the square, on a clear background. A
maskable one fills the square with the module's body colour and shrinks the
module into the central circle of 80 % of the width, which every mask keeps.
"""
import itertools
import math
import struct
import sys
import xml.etree.ElementTree as ElementTree
import zlib
from pathlib import Path

SVG = "{http://www.w3.org/2000/svg}"
SIZES = (192, 512)
SAFE_RADIUS = 0.4  # of the width: the circle a maskable icon's mask never cuts
CORNER_SAMPLES = 8  # per pixel side, where a rounded corner crosses a pixel


def rectangles(svg_file):
    """The SVG's rectangles as (x, y, width, height, corner radius, (r, g, b)), in its own units, and its size."""
    root = ElementTree.parse(svg_file).getroot()
    _, _, width, height = (float(number) for number in root.get("viewBox").split())
    found = []

    def walk(node, fill):
        fill = node.get("fill", fill)
        if node.tag == SVG + "rect":
            colour = tuple(int(fill[i:i + 2], 16) for i in (1, 3, 5))
            found.append(tuple(float(node.get(name, 0)) for name in ("x", "y", "width", "height", "rx")) + (colour,))
        elif node.tag not in (SVG + "svg", SVG + "g"):
            sys.exit(f"make_icons: {svg_file} holds a <{node.tag.removeprefix(SVG)}>, which this drawing cannot fill")
        for child in node:
            walk(child, fill)

    walk(root, "#000000")
    return found, width, height


def span_cover(start, end, pixel):
    """How much of pixel [pixel, pixel + 1) lies within [start, end)."""
    return max(0.0, min(end, pixel + 1) - max(start, pixel))


def corner_cover(px, py, left, top, right, bottom, radius):
    """Coverage of a pixel that a rounded corner crosses, sampled on a grid."""
    inside = 0
    for i in range(CORNER_SAMPLES):
        for j in range(CORNER_SAMPLES):
            x = px + (i + 0.5) / CORNER_SAMPLES
            y = py + (j + 0.5) / CORNER_SAMPLES
            cx = min(max(x, left + radius), right - radius)
            cy = min(max(y, top + radius), bottom - radius)
            if left <= x < right and top <= y < bottom and math.hypot(x - cx, y - cy) <= radius:
                inside += 1
    return inside / CORNER_SAMPLES ** 2


def cover(coverage, size, box, radius):
    """Adds one rectangle's coverage of each pixel, the rectangle in pixels."""
    left, top, right, bottom = box
    for py in range(max(0, math.floor(top)), min(size, math.ceil(bottom))):
        for px in range(max(0, math.floor(left)), min(size, math.ceil(right))):
            near_x = px < left + radius or px + 1 > right - radius
            near_y = py < top + radius or py + 1 > bottom - radius
            if radius and near_x and near_y:
                coverage[py * size + px] += corner_cover(px, py, left, top, right, bottom, radius)
            else:
                coverage[py * size + px] += span_cover(left, right, px) * span_cover(top, bottom, py)


def over(pixels, size, colour, coverage):
    """Porter and Duff's "over" of one colour, at each pixel's coverage, onto the RGBA pixels."""
    for index, alpha in enumerate(coverage):
        alpha = min(alpha, 1.0)
        if not alpha:
            continue
        row, px = pixels[index // size], 4 * (index % size)
        base = row[px + 3] / 255
        out = alpha + base * (1 - alpha)
        for channel in range(3):
            row[px + channel] = round((colour[channel] * alpha + row[px + channel] * base * (1 - alpha)) / out)
        row[px + 3] = round(out * 255)


def drawn(svg_file, size, maskable):
    shapes, width, height = rectangles(svg_file)
    if maskable:
        # The body, the first shape, becomes the background to the edges; what it holds fits the safe circle.
        body, shapes = shapes[0], shapes[1:]
        left = min(x for x, _, _, _, _, _ in shapes)
        top = min(y for _, y, _, _, _, _ in shapes)
        right = max(x + w for x, _, w, _, _, _ in shapes)
        bottom = max(y + h for _, y, _, h, _, _ in shapes)
        scale = SAFE_RADIUS * size / math.hypot((right - left) / 2, (bottom - top) / 2)
        shift_x = size / 2 - scale * (left + right) / 2
        shift_y = size / 2 - scale * (top + bottom) / 2
        pixels = [bytearray(bytes(body[5]) + b"\xff") * size for _ in range(size)]
    else:
        scale = size / max(width, height)
        shift_x, shift_y = (size - scale * width) / 2, (size - scale * height) / 2
        pixels = [bytearray(4 * size) for _ in range(size)]
    # Shapes of one colour that follow each other are laid as one: where two meet, their coverages add up to
    # the whole pixel, and no seam shows between the dots.
    for colour, run in itertools.groupby(shapes, key=lambda shape: shape[5]):
        coverage = [0.0] * (size * size)
        for x, y, w, h, radius, _ in run:
            box = (shift_x + scale * x, shift_y + scale * y, shift_x + scale * (x + w), shift_y + scale * (y + h))
            cover(coverage, size, box, scale * radius)
        over(pixels, size, colour, coverage)
    return pixels


def png(pixels, size):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    rows = b"".join(b"\x00" + bytes(row) for row in pixels)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


def make_icons(svg_file, out_dir):
    """Writes the icons; gives their file names."""
    names = []
    for maskable in (False, True):
        for size in SIZES:
            name = f"{'maskable' if maskable else 'icon'}-{size}.png"
            (Path(out_dir) / name).write_bytes(png(drawn(svg_file, size, maskable), size))
            names.append(name)
    return names


if __name__ == "__main__":
    make_icons(*sys.argv[1:3])

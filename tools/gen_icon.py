#!/usr/bin/env python3
"""Draws the program icon and writes res/icons/vonq-<size>.png and res/icons/vonq.ico.

    python3 tools/gen_icon.py [--out res/icons]

The icon is a hard drive (dark slate slab with a front bezel and a green activity light) whose
lower right corner is being wiped away by a diagonal eraser, leaving a few fading specks behind.
Standard library only; the output is the same bytes on every run.

Drawing: the picture is a stack of layers in a 256 x 256 design space, each a signed distance
function (negative inside) and a paint. A pixel is sampled once where no layer edge passes
within its reach, and on a supersampled grid (box filter) where one does, which gives smooth
edges at the cost of the few pixels that need it. Small sizes drop detail and snap the main
shapes to whole pixels so they stay crisp.

The ICO holds 16..128 as 32-bit BGRA bitmaps with an AND mask and 256 as a PNG.
"""

from __future__ import annotations

import argparse
import math
import struct
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SIZES = (16, 32, 48, 64, 128, 256)
DESIGN = 256.0  # design space is DESIGN x DESIGN units, y down


# ---------------------------------------------------------------------------------------------
# Signed distance functions (design units, negative inside)


def sd_round_rect(x, y, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) * 0.5, (y0 + y1) * 0.5
    hw, hh = (x1 - x0) * 0.5 - r, (y1 - y0) * 0.5 - r
    qx, qy = abs(x - cx) - hw, abs(y - cy) - hh
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def sd_circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def sd_rotated_rect(x, y, cx, cy, hl, hw, angle, r):
    """Rounded rectangle of half length hl (along `angle`) and half width hw."""
    c, s = math.cos(angle), math.sin(angle)
    dx, dy = x - cx, y - cy
    u, v = dx * c + dy * s, -dx * s + dy * c
    return sd_round_rect(u, v, -hl, -hw, hl, hw, r)


def sd_half_plane(x, y, nx, ny, offset):
    """Inside where nx*x + ny*y < offset; (nx, ny) is a unit vector."""
    return nx * x + ny * y - offset


# ---------------------------------------------------------------------------------------------
# Colours


def rgb(hex_colour, alpha=1.0):
    v = int(hex_colour.lstrip("#"), 16)
    return ((v >> 16) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0, alpha)


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(4))


def smoothstep(e0, e1, x):
    t = min(max((x - e0) / (e1 - e0), 0.0), 1.0)
    return t * t * (3.0 - 2.0 * t)


OUTLINE = rgb("#151c23")
BODY_TOP = rgb("#66778a")
BODY_BOTTOM = rgb("#465564")
BEZEL_TOP = rgb("#303c48")
BEZEL_BOTTOM = rgb("#232d37")
SCREW = rgb("#8a99a8")
SCREW_DARK = rgb("#2b3640")
LED = rgb("#2ee6a6")
LED_CORE = rgb("#c8ffe9")
ERASER_RUBBER_TOP = rgb("#ffffff")
ERASER_RUBBER_BOTTOM = rgb("#dfe8f1")
ERASER_SLEEVE_TOP = rgb("#4aa3ff")
ERASER_SLEEVE_BOTTOM = rgb("#1f6fd6")
SPECK = rgb("#566676")


# ---------------------------------------------------------------------------------------------
# The picture


class Layer:
    """A shape and its paint. `sdf(x, y)` < 0 inside; `paint(x, y, d)` gives straight RGBA.
    A soft layer has no hard edge: it is painted everywhere and `paint` sets the alpha. A hard
    layer is drawn without anti-aliasing, for pixel-grid detail at the smallest size."""

    def __init__(self, sdf, paint, soft=False, hard=False):
        self.sdf = sdf
        self.paint = paint
        self.soft = soft
        self.hard = hard  # covers whole pixels, tested at the pixel's centre


def geometry(size):
    """Shapes of the icon at `size` pixels, in design units."""
    px = DESIGN / size  # one output pixel in design units
    if size <= 16:
        # Drawn on the pixel grid: a 14 x 9 px slab with a 3 px bezel, a one-pixel light, and an
        # eraser of whole pixels in 45-degree steps (anti-aliased, it is only a smudge here).
        return dict(
            px=px, detail=0, x0=1 * px, x1=15 * px, y0=3 * px, y1=12 * px, radius=1.5 * px,
            outline=px, bezel_y=8 * px, cut=23.5 * px, led=(3.5 * px, 9.5 * px, 0.6 * px),
            eraser=(12.0 * px, 11.5 * px, 3.3 * px, 1.87 * px, 0.3 * px), eraser_outline=0.71 * px,
            specks=((15.5 * px, 14.5 * px, 0.5 * px, 0.75), (13.5 * px, 15.5 * px, 0.5 * px, 0.4)))

    def snap(v):
        # Whole pixels (every size: the design's edges are on whole pixels at 128 and 256).
        return round(v / px) * px

    detail = 2 if size >= 64 else 1
    outline = max(px, 5.0)
    if detail == 2:
        specks = ((226, 212, 8, 0.85), (246, 188, 6, 0.6), (238, 238, 5.5, 0.45),
                  (210, 244, 4, 0.28))
    else:
        specks = ((226, 214, 1.2 * px, 0.85), (246, 190, 1.0 * px, 0.6),
                  (236, 240, 0.9 * px, 0.4))
    y0, y1, bezel_y = snap(38), snap(180), snap(132)
    return dict(
        px=px, detail=detail, x0=snap(10), x1=snap(224), y0=y0, y1=y1,
        radius=max(snap(20), 2 * px), outline=outline, bezel_y=bezel_y, cut=363.0,
        led=(snap(10) + 32, (bezel_y + y1) * 0.5, max(9.0, 1.3 * px)),
        eraser=(196.0, 170.0, 50.0, 24.0 if detail == 2 else 26.0, 9.0),
        eraser_outline=outline if detail == 2 else 0.75 * px, specks=specks, snap=snap)


def build_scene(size):
    """Layers bottom to top for an icon of `size` pixels."""
    g = geometry(size)
    px = g["px"]
    x0, x1, y0, y1 = g["x0"], g["x1"], g["y0"], g["y1"]
    radius, outline, bezel_y = g["radius"], g["outline"], g["bezel_y"]
    full = g["detail"] >= 2
    mid = g["detail"] >= 1

    # The wiped corner: everything past the line x + y = cut is gone.
    diag = 1.0 / math.sqrt(2.0)
    cut = g["cut"]

    def in_drive(x, y):
        return max(sd_round_rect(x, y, x0, y0, x1, y1, radius),
                   sd_half_plane(x, y, diag, diag, cut * diag))

    def inner(x, y):
        return max(sd_round_rect(x, y, x0 + outline, y0 + outline, x1 - outline, y1 - outline,
                                 max(radius - outline, 0.5)),
                   sd_half_plane(x, y, diag, diag, cut * diag))

    layers = []

    if full:
        # Soft drop shadow under the slab.
        def shadow_paint(x, y, d):
            ds = max(sd_round_rect(x, y - 6, x0 + 4, y0 + 4, x1 - 4, y1, radius),
                     sd_half_plane(x, y, diag, diag, (cut - 8) * diag))
            return (0.0, 0.0, 0.0, 0.28 * (1.0 - smoothstep(-8.0, 12.0, ds)))

        layers.append(Layer(None, shadow_paint, soft=True))

    layers.append(Layer(in_drive, lambda x, y, d: OUTLINE))

    def body_paint(x, y, d):
        if y < bezel_y:
            c = mix(BODY_TOP, BODY_BOTTOM, (y - y0) / (bezel_y - y0))
            if full and y < y0 + outline + 4:
                c = mix(c, (1, 1, 1, 1), 0.2)  # light catching the top edge
            return c
        return mix(BEZEL_TOP, BEZEL_BOTTOM, (y - bezel_y) / (y1 - bezel_y))

    layers.append(Layer(inner, body_paint))

    # The groove between the top face and the bezel.
    groove = outline * 0.8 if full else px

    def groove_sdf(x, y):
        return max(inner(x, y), abs(y - (bezel_y - groove * 0.5)) - groove * 0.5)

    layers.append(Layer(groove_sdf, lambda x, y, d: OUTLINE))

    if size >= 64:
        # Two screws on the top face.
        screws = ((x0 + 22, y0 + 22), (x1 - 22, y0 + 22))

        def screw_sdf(x, y):
            return min(sd_circle(x, y, cx, cy, 7.5) for cx, cy in screws)

        def screw_paint(x, y, d):
            for cx, cy in screws:
                if abs(x - cx) < 10 and abs(y - cy) < 10:
                    t = ((x - cx) + (y - cy)) / 15.0 + 0.5
                    return mix(SCREW, SCREW_DARK, t * 0.7)
            return SCREW

        layers.append(Layer(screw_sdf, screw_paint))

        def slot_sdf(x, y):
            return min(sd_rotated_rect(x, y, cx, cy, 4.5, 1.3, math.radians(-45), 1.0)
                       for cx, cy in screws)

        layers.append(Layer(slot_sdf, lambda x, y, d: SCREW_DARK))

    if size >= 48:
        # A grille of five slots on the bezel; one-pixel slots on whole pixels when small.
        snap = g["snap"]
        top, bottom = snap((bezel_y + y1) * 0.5 - 10), snap((bezel_y + y1) * 0.5 + 10)
        if size >= 128:
            slots = [(x0 + 70 + i * 14, 3.0) for i in range(5)]
        else:
            step = snap(14)
            slots = [(snap(x0 + 70) + i * step + px * 0.5, px * 0.5) for i in range(5)]

        def grille_sdf(x, y):
            return min(sd_round_rect(x, y, gx - half, top, gx + half, bottom, half)
                       for gx, half in slots)

        layers.append(Layer(grille_sdf, lambda x, y, d: rgb("#18212a")))

    # Activity light: a glow and a bright dot on the left of the bezel.
    led_x, led_y, led_r = g["led"]
    if mid:
        def glow_paint(x, y, d):
            dist = math.hypot(x - led_x, y - led_y)
            a = 0.5 * (1.0 - smoothstep(led_r, led_r * 3.0, dist))
            return (LED[0], LED[1], LED[2], a if inner(x, y) < 0 else 0.0)

        layers.append(Layer(None, glow_paint, soft=True))

    def led_paint(x, y, d):
        if not full:
            return LED
        dist = math.hypot(x - (led_x - 2.5), y - (led_y - 2.5))
        return mix(LED_CORE, LED, smoothstep(0.0, led_r * 0.9, dist))

    layers.append(Layer(lambda x, y: sd_circle(x, y, led_x, led_y, led_r), led_paint))

    # Specks: bits of the wiped corner left behind, fading with distance.
    for sx, sy, sr, sa in g["specks"]:
        colour = (SPECK[0], SPECK[1], SPECK[2], sa)

        def speck_sdf(x, y, sx=sx, sy=sy, sr=sr):
            return sd_round_rect(x, y, sx - sr, sy - sr, sx + sr, sy + sr, sr * 0.3)

        layers.append(Layer(speck_sdf, lambda x, y, d, c=colour: c))

    # The eraser lies across the cut, rubber on the drive side, sleeve away from it.
    angle = math.radians(-45.0)  # long axis runs up and to the right
    ecx, ecy, hl, hw, e_radius = g["eraser"]
    e_outline = g["eraser_outline"]
    rubber_part = 0.46 if full else 0.5

    def eraser_sdf(x, y):
        return sd_rotated_rect(x, y, ecx, ecy, hl, hw, angle, e_radius)

    def eraser_inner(x, y):
        return sd_rotated_rect(x, y, ecx, ecy, hl - e_outline, hw - e_outline, angle,
                               max(e_radius - e_outline, 0.5))

    def across(x, y):
        # Position across the eraser: 0 at the drive-side edge, 1 at the far edge.
        v = diag * ((x - ecx) + (y - ecy))
        inner_hw = hw - e_outline
        return (v + inner_hw) / (2 * inner_hw)

    pixel_art = g["detail"] == 0
    if full:
        # Its soft shadow, falling down and right onto the drive and the ground.
        def eraser_shadow(x, y, d):
            ds = sd_rotated_rect(x, y - 7, ecx + 3, ecy, hl, hw, angle, e_radius)
            return (0.0, 0.0, 0.0, 0.32 * (1.0 - smoothstep(-6.0, 10.0, ds)))

        layers.append(Layer(None, eraser_shadow, soft=True))
    layers.append(Layer(eraser_sdf, lambda x, y, d: OUTLINE, hard=pixel_art))

    def eraser_paint(x, y, d):
        t = across(x, y)
        if t < rubber_part:
            return mix(ERASER_RUBBER_TOP, ERASER_RUBBER_BOTTOM, t / rubber_part)
        return mix(ERASER_SLEEVE_TOP, ERASER_SLEEVE_BOTTOM, (t - rubber_part) / (1 - rubber_part))

    layers.append(Layer(eraser_inner, eraser_paint, hard=pixel_art))

    if size >= 48:
        # A dark line where rubber meets sleeve.
        seam_half = 1.5 if full else px * 0.4
        seam_v = -(hw - e_outline) + rubber_part * 2 * (hw - e_outline)

        def seam_sdf(x, y):
            v = diag * ((x - ecx) + (y - ecy))
            return max(eraser_inner(x, y), abs(v - seam_v) - seam_half)

        layers.append(Layer(seam_sdf, lambda x, y, d: rgb("#173f73")))
    if full:
        # A highlight along the sleeve.
        def shine_sdf(x, y):
            v = diag * ((x - ecx) + (y - ecy))
            return max(sd_rotated_rect(x, y, ecx, ecy, hl - e_outline - 8, hw, angle, 0),
                       abs(v - (seam_v + 6)) - 1.8)

        layers.append(Layer(shine_sdf, lambda x, y, d: rgb("#ffffff", 0.4)))

    return layers


def over(dst, src):
    """Straight-alpha `src` over straight-alpha `dst`."""
    sa = src[3]
    if sa <= 0.0:
        return dst
    da = dst[3]
    oa = sa + da * (1.0 - sa)
    if oa <= 0.0:
        return (0.0, 0.0, 0.0, 0.0)
    k = da * (1.0 - sa)
    return ((src[0] * sa + dst[0] * k) / oa, (src[1] * sa + dst[1] * k) / oa,
            (src[2] * sa + dst[2] * k) / oa, oa)


def shade(layers, x, y, centre):
    """Colour at one point of the pixel whose centre is `centre`, and the distance to the
    nearest edge that needs anti-aliasing."""
    colour = (0.0, 0.0, 0.0, 0.0)
    nearest = 1e9
    for layer in layers:
        if layer.soft:
            colour = over(colour, layer.paint(x, y, 0.0))
            continue
        if layer.hard:
            d = layer.sdf(*centre)
            if d < 0.0:
                colour = over(colour, layer.paint(*centre, d))
            continue
        d = layer.sdf(x, y)
        nearest = min(nearest, abs(d))
        if d < 0.0:
            colour = over(colour, layer.paint(x, y, d))
    return colour, nearest


def render(size):
    """Rows of straight RGBA bytes for the icon at `size` pixels."""
    layers = build_scene(size)
    px = DESIGN / size
    grid = 4 if size >= 128 else 8
    reach = px * 0.75  # a little more than half the pixel's diagonal
    rows = []
    for j in range(size):
        row = bytearray()
        for i in range(size):
            centre = ((i + 0.5) * px, (j + 0.5) * px)
            colour, nearest = shade(layers, *centre, centre)
            if nearest < reach:
                r = g = b = a = 0.0
                for sj in range(grid):
                    for si in range(grid):
                        c, _ = shade(layers, (i + (si + 0.5) / grid) * px,
                                     (j + (sj + 0.5) / grid) * px, centre)
                        r += c[0] * c[3]
                        g += c[1] * c[3]
                        b += c[2] * c[3]
                        a += c[3]
                n = grid * grid
                colour = (r / a, g / a, b / a, a / n) if a > 0 else (0.0, 0.0, 0.0, 0.0)
            alpha = round(colour[3] * 255)
            if alpha == 0:
                row += b"\0\0\0\0"
            else:
                row += bytes((round(colour[0] * 255), round(colour[1] * 255),
                              round(colour[2] * 255), alpha))
        rows.append(bytes(row))
    return rows


# ---------------------------------------------------------------------------------------------
# Files


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_rows(rows):
    """Each row with the PNG filter that gives the smallest sum of absolute bytes."""
    out = bytearray()
    previous = bytes(len(rows[0]))
    for row in rows:
        candidates = []
        for kind in range(5):
            f = bytearray(len(row))
            for k, value in enumerate(row):
                left = row[k - 4] if k >= 4 else 0
                up = previous[k]
                up_left = previous[k - 4] if k >= 4 else 0
                predictor = (0, left, up, (left + up) >> 1, paeth(left, up, up_left))[kind]
                f[k] = (value - predictor) & 0xFF
            cost = sum(v if v < 128 else 256 - v for v in f)
            candidates.append((cost, kind, f))
        cost, kind, f = min(candidates, key=lambda c: (c[0], c[1]))
        out.append(kind)
        out += f
        previous = row
    return bytes(out)


def encode_png(rows):
    size = len(rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(filter_rows(rows), 9)) + png_chunk(b"IEND", b""))


def encode_dib(rows):
    """32-bit BGRA bitmap with an AND mask, as an ICO entry holds it (bottom-up rows)."""
    size = len(rows)
    pixels = bytearray()
    for row in reversed(rows):
        for k in range(0, len(row), 4):
            r, g, b, a = row[k:k + 4]
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for i in range(size):
            if row[i * 4 + 3] == 0:
                line[i // 8] |= 0x80 >> (i % 8)  # 1 = transparent
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def encode_ico(images):
    """`images`: (size, data) pairs in order."""
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        edge = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", edge, edge, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def write_if_changed(path, data):
    if path.exists() and path.read_bytes() == data:
        return False
    path.write_bytes(data)
    return True


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=Path, default=ROOT / "res" / "icons")
    args = parser.parse_args(argv)
    args.out.mkdir(parents=True, exist_ok=True)
    entries = []
    for size in SIZES:
        rows = render(size)
        png = encode_png(rows)
        path = args.out / f"vonq-{size}.png"
        if write_if_changed(path, png):
            print(f"wrote {path}")
        entries.append((size, png if size >= 256 else encode_dib(rows)))
    path = args.out / "vonq.ico"
    if write_if_changed(path, encode_ico(entries)):
        print(f"wrote {path}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

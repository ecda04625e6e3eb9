#!/usr/bin/env python3
"""Draws Kavlo Connect's pictures from code.

    resources/MAINICON.ico     application icon, 128..16 px, 32-bit with alpha
    resources/logo.png         company logo, 189 x 98, fully opaque RGBA
    resources/close_glyph.png  close-button glyph, 32 x 32 RGBA

Run from the repository root:  python3 resources/art/draw_pictures.py
Standard library only; the output is the same byte for byte on every run.
"""

import math
import os
import struct
import zlib

# Antialiasing: each pixel row is sampled at this many sub-rows, and within a
# sub-row the covered length of every pixel is computed exactly.
SUBROWS = 16

# Flatten curves so the chord never strays more than this far (in pixels).
CURVE_TOLERANCE = 0.02


# ---------------------------------------------------------------------------
# Geometry. A "path" is a closed polygon: a list of (x, y) in pixels, y down.
# A shape is a list of paths.
# ---------------------------------------------------------------------------

def _arc_steps(radius, span):
    if radius <= 0:
        return 1
    step = math.sqrt(8.0 * CURVE_TOLERANCE / radius)
    return max(2, int(math.ceil(abs(span) / step)))


def arc_points(cx, cy, r, a0, a1, include_end=True):
    n = _arc_steps(r, a1 - a0)
    last = n + 1 if include_end else n
    return [(cx + r * math.cos(a0 + (a1 - a0) * i / n),
             cy + r * math.sin(a0 + (a1 - a0) * i / n)) for i in range(last)]


def circle_px(cx, cy, r):
    return arc_points(cx, cy, r, 0.0, 2.0 * math.pi, include_end=False)


def capsule_px(x0, y0, x1, y1, r):
    """A segment with round ends (a stroke of half-width r)."""
    ang = math.atan2(y1 - y0, x1 - x0)
    half = math.pi / 2
    return (arc_points(x1, y1, r, ang - half, ang + half)
            + arc_points(x0, y0, r, ang + half, ang + 3 * half))


def band_px(x0, y0, x1, y1, r):
    """A segment with square-cut ends (half-width r)."""
    dx, dy = x1 - x0, y1 - y0
    n = math.hypot(dx, dy) or 1.0
    nx, ny = -dy / n * r, dx / n * r
    return [(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]


def signed_area(path):
    s = 0.0
    for i in range(len(path)):
        x0, y0 = path[i]
        x1, y1 = path[(i + 1) % len(path)]
        s += x0 * y1 - x1 * y0
    return s / 2.0


def grow(shape, d):
    """The shape widened by d on every side (round at convex corners)."""
    out = list(shape)
    for path in shape:
        for i in range(len(path)):
            x0, y0 = path[i]
            x1, y1 = path[(i + 1) % len(path)]
            out.append(capsule_px(x0, y0, x1, y1, d))
    return out


def clip_to_box(path, x0, y0, x1, y1):
    """Sutherland-Hodgman clip of one polygon against an axis-aligned box."""
    def clip(pts, inside, cut):
        out = []
        for i in range(len(pts)):
            a, b = pts[i - 1], pts[i]
            ia, ib = inside(a), inside(b)
            if ib:
                if not ia:
                    out.append(cut(a, b))
                out.append(b)
            elif ia:
                out.append(cut(a, b))
        return out

    def cut_x(xc):
        return lambda a, b: (xc, a[1] + (b[1] - a[1]) * (xc - a[0]) / (b[0] - a[0]))

    def cut_y(yc):
        return lambda a, b: (a[0] + (b[0] - a[0]) * (yc - a[1]) / (b[1] - a[1]), yc)

    pts = path
    for inside, cut in ((lambda p: p[0] >= x0, cut_x(x0)), (lambda p: p[0] <= x1, cut_x(x1)),
                        (lambda p: p[1] >= y0, cut_y(y0)), (lambda p: p[1] <= y1, cut_y(y1))):
        if not pts:
            break
        pts = clip(pts, inside, cut)
    return pts


class Frame:
    """A drawing frame: local units mapped to pixels by scale, rotation and offset."""

    def __init__(self, scale=1.0, dx=0.0, dy=0.0, degrees=0.0):
        t = math.radians(degrees)
        c, s = math.cos(t) * scale, math.sin(t) * scale
        self.m = (c, s, -s, c, dx, dy)
        self.scale = scale

    def sub(self, x, y, scale=1.0, degrees=0.0, mirror=False):
        """A child frame whose origin sits at local (x, y) of this one,
        optionally mirrored left-to-right."""
        f = Frame()
        a, b, c, d, e, g = self.m
        t = math.radians(degrees)
        ca, sa = math.cos(t) * scale, math.sin(t) * scale
        ox, oy = self.pt(x, y)
        f.m = (a * ca + c * sa, b * ca + d * sa, -a * sa + c * ca, -b * sa + d * ca, ox, oy)
        if mirror:
            f.m = (-f.m[0], -f.m[1]) + f.m[2:]
        f.scale = self.scale * scale
        return f

    def pt(self, x, y):
        a, b, c, d, e, f = self.m
        return (a * x + c * y + e, b * x + d * y + f)

    def pts(self, points):
        return [self.pt(x, y) for x, y in points]

    # Shapes in local units; each returns one path in pixels.
    def circle(self, cx, cy, r):
        x, y = self.pt(cx, cy)
        return circle_px(x, y, r * self.scale)

    def capsule(self, x0, y0, x1, y1, r):
        ax, ay = self.pt(x0, y0)
        bx, by = self.pt(x1, y1)
        return capsule_px(ax, ay, bx, by, r * self.scale)

    def poly(self, points):
        return self.pts(points)

    def rrect(self, x0, y0, x1, y1, r):
        r = min(r, (x1 - x0) / 2.0, (y1 - y0) / 2.0)
        rp = r * self.scale
        local = []
        for cx, cy, a0 in ((x1 - r, y1 - r, 0.0), (x0 + r, y1 - r, 0.5 * math.pi),
                           (x0 + r, y0 + r, math.pi), (x1 - r, y0 + r, 1.5 * math.pi)):
            n = _arc_steps(rp, math.pi / 2)
            for i in range(n + 1):
                a = a0 + (math.pi / 2) * i / n
                local.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        return self.pts(local)

    def star(self, cx, cy, outer, inner, points=5, degrees=-90.0):
        local = []
        for i in range(points * 2):
            a = math.radians(degrees) + math.pi * i / points
            r = outer if i % 2 == 0 else inner
            local.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        return self.pts(local)

    def stroke(self, points, r):
        """An open polyline with round caps and joins."""
        return [self.capsule(x0, y0, x1, y1, r)
                for (x0, y0), (x1, y1) in zip(points, points[1:])]


# ---------------------------------------------------------------------------
# Rasteriser: exact horizontal coverage per sub-row, SUBROWS sub-rows a pixel.
# ---------------------------------------------------------------------------

def coverage(shape, w, h, evenodd=False):
    """Per-pixel coverage 0..1 of a shape. By default every path counts as
    solid and overlapping paths merge (union); evenodd=True lets inner paths
    punch holes."""
    edges = []
    for path in shape:
        if len(path) < 3:
            continue
        flip = (not evenodd) and signed_area(path) < 0
        for i in range(len(path)):
            x0, y0 = path[i]
            x1, y1 = path[(i + 1) % len(path)]
            if y0 == y1:
                continue
            d = 1
            if y0 > y1:
                x0, y0, x1, y1 = x1, y1, x0, y0
                d = -1
            if flip:
                d = -d
            edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), d))
    cov = [0.0] * (w * h)
    if not edges:
        return cov
    rows = [[] for _ in range(h)]
    for e in edges:
        r0 = max(0, int(math.floor(e[0])))
        r1 = min(h - 1, int(math.ceil(e[1])) - 1)
        for r in range(r0, r1 + 1):
            rows[r].append(e)
    inv = 1.0 / SUBROWS
    for py in range(h):
        row_edges = rows[py]
        if not row_edges:
            continue
        acc = [0.0] * (w + 1)
        run = [0.0] * (w + 1)
        for s in range(SUBROWS):
            y = py + (s + 0.5) * inv
            xs = [(xa + (y - ya) * k, d) for (ya, yb, xa, k, d) in row_edges if ya <= y < yb]
            if not xs:
                continue
            xs.sort()
            wind = 0
            start = 0.0
            for x, d in xs:
                was = (wind & 1) if evenodd else (wind != 0)
                wind += d
                now = (wind & 1) if evenodd else (wind != 0)
                if now and not was:
                    start = x
                elif was and not now:
                    xa, xb = max(0.0, start), min(float(w), x)
                    if xb <= xa:
                        continue
                    ia, ib = int(xa), int(xb)
                    if ib >= w:
                        ib = w - 1
                    if ia == ib:
                        acc[ia] += xb - xa
                    else:
                        acc[ia] += ia + 1 - xa
                        run[ia + 1] += 1.0
                        run[ib] -= 1.0
                        acc[ib] += xb - ib
        base = py * w
        full = 0.0
        for px in range(w):
            full += run[px]
            c = (acc[px] + full) * inv
            if c > 0.0:
                cov[base + px] = 1.0 if c > 1.0 else c
    return cov


def linear_gradient(p0, c0, p1, c1):
    """Colour along the line p0 -> p1, clamped at both ends."""
    dx, dy = p1[0] - p0[0], p1[1] - p0[1]
    ll = dx * dx + dy * dy or 1.0

    def colour(x, y):
        t = ((x - p0[0]) * dx + (y - p0[1]) * dy) / ll
        t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))
    return colour


def hex_rgba(text, alpha=255):
    text = text.lstrip('#')
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


class Canvas:
    """Premultiplied floating-point RGBA, painted with the 'over' operator."""

    def __init__(self, w, h, background=None):
        self.w, self.h = w, h
        n = w * h
        if background is None:
            self.r, self.g, self.b, self.a = [0.0] * n, [0.0] * n, [0.0] * n, [0.0] * n
        else:
            a = background[3] / 255.0
            self.r = [background[0] / 255.0 * a] * n
            self.g = [background[1] / 255.0 * a] * n
            self.b = [background[2] / 255.0 * a] * n
            self.a = [a] * n

    def mask(self, shape, evenodd=False):
        return coverage(shape, self.w, self.h, evenodd)

    def fill(self, shape, colour, evenodd=False, clip=None, opacity=1.0):
        """Paint a shape with a flat (r, g, b, a) colour or a colour function."""
        cov = coverage(shape, self.w, self.h, evenodd)
        self.paint(cov, colour, clip, opacity)

    def paint(self, cov, colour, clip=None, opacity=1.0):
        w = self.w
        flat = None if callable(colour) else colour
        R, G, B, A = self.r, self.g, self.b, self.a
        for i, c in enumerate(cov):
            if c <= 0.0:
                continue
            if clip is not None:
                c *= clip[i]
                if c <= 0.0:
                    continue
            col = flat if flat is not None else colour(i % w + 0.5, i // w + 0.5)
            a = col[3] / 255.0 * c * opacity
            k = 1.0 - a
            R[i] = col[0] / 255.0 * a + R[i] * k
            G[i] = col[1] / 255.0 * a + G[i] * k
            B[i] = col[2] / 255.0 * a + B[i] * k
            A[i] = a + A[i] * k

    def rgba_bytes(self):
        """Straight (non-premultiplied) 8-bit RGBA, rows top to bottom."""
        out = bytearray(self.w * self.h * 4)
        for i in range(self.w * self.h):
            a = self.a[i]
            a8 = int(round(min(1.0, max(0.0, a)) * 255.0))
            if a8 == 0:
                continue
            o = i * 4
            for j, ch in enumerate((self.r[i], self.g[i], self.b[i])):
                v = int(round(ch / a * 255.0))
                out[o + j] = 0 if v < 0 else 255 if v > 255 else v
            out[o + 3] = a8
        return bytes(out)


# ---------------------------------------------------------------------------
# File writers.
# ---------------------------------------------------------------------------

def png_bytes(w, h, rgba):
    def chunk(tag, data):
        return (struct.pack('>I', len(data)) + tag + data
                + struct.pack('>I', zlib.crc32(tag + data) & 0xFFFFFFFF))
    stride = w * 4
    raw = bytearray()
    for y in range(h):
        raw.append(0)  # filter: none
        raw += rgba[y * stride:(y + 1) * stride]
    ihdr = struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)  # 8-bit, RGBA
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr)
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def icon_dib(size, rgba):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA, then the AND mask."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            o = (y * size + x) * 4
            r, g, b, a = rgba[o:o + 4]
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(size):
            if rgba[(y * size + x) * 4 + 3] == 0:
                row[x >> 3] |= 0x80 >> (x & 7)
        mask += row
    return header + bytes(xor) + bytes(mask)


def ico_bytes(images):
    """images: list of (size, rgba) in the order they should appear."""
    head = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b'', b''
    for size, rgba in images:
        blob = icon_dib(size, rgba)
        dim = 0 if size >= 256 else size
        entries += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return head + entries + blobs


# ---------------------------------------------------------------------------
# The application icon: a white glove pointing at (and touching) a gold star.
# ---------------------------------------------------------------------------

INK = hex_rgba('#1D2026')           # outline colour
GLOVE_LIGHT = hex_rgba('#FFFFFF')
GLOVE_SHADE = hex_rgba('#D5DBE3')
STAR_LIGHT = hex_rgba('#FFE766')
STAR_DARK = hex_rgba('#F5A800')


# Layout, in 128ths of the icon's side. The star sits in the top-right corner;
# the fingertip rests near its lower-left notch, the hand rising from the
# bottom-left corner.
class IconLayout:
    def __init__(self, size):
        px = 128.0 / size                   # design units per pixel
        # detail 3: everything; 2: no cuff seam; 1: bolder parts, two
        # knuckles; 0: finger, fist and cuff only.
        if size >= 64:
            self.ink, self.detail = 4.6, 3
        elif size >= 48:
            self.ink, self.detail = 1.35 * px, 2
        elif size >= 32:
            self.ink, self.detail = 1.15 * px, 1
        else:
            self.ink, self.detail = 1.15 * px, 0
        if self.detail >= 2:
            self.star_radius, self.soft = 32.0, 3.0
            self.hand_scale, self.hand_angle = 0.8, 33.0
        elif self.detail == 1:
            self.star_radius, self.soft = 30.0, 4.0
            self.hand_scale, self.hand_angle = 0.75, 38.0
        else:
            self.star_radius, self.soft = 32.0, 4.0
            self.hand_scale, self.hand_angle = 0.72, 40.0
        # Tuck the star, outline included, into the corner with a small margin.
        edge = self.star_radius - self.soft * 0.6 + self.ink
        margin = 2.0 if self.detail >= 2 else 0.4 * px
        self.star_x = 128.0 - edge * math.cos(math.radians(18)) - margin
        self.star_y = edge + margin
        reach = self.star_radius * 0.52
        t = math.radians(self.hand_angle)
        self.tip = (self.star_x - reach * math.sin(t), self.star_y + reach * math.cos(t))


def draw_star(cv, f, lay):
    cx, cy, outer, soft = lay.star_x, lay.star_y, lay.star_radius, lay.soft
    inner = outer * 0.5
    body = [f.star(cx, cy, outer - soft * 1.6, inner - soft * 0.3)]
    cv.fill(grow(body, (soft + lay.ink) * f.scale), INK)
    cv.fill(grow(body, soft * f.scale),
            linear_gradient(f.pt(cx, cy - outer), STAR_LIGHT, f.pt(cx, cy + outer * 0.8), STAR_DARK))
    if lay.detail >= 2:
        # Facets: one half of each arm catches the light.
        glint = []
        for i in range(5):
            a = math.radians(-90 + 72 * i)
            b = math.radians(-90 + 72 * i - 36)
            tip = (cx + (outer - soft * 2.2) * math.cos(a), cy + (outer - soft * 2.2) * math.sin(a))
            notch = (cx + (inner - soft * 0.3) * math.cos(b), cy + (inner - soft * 0.3) * math.sin(b))
            glint.append(f.poly([(cx, cy), notch, tip]))
        cv.fill(glint, hex_rgba('#FFF6C2', 120))


def draw_hand(cv, f, lay):
    """The glove, index finger pointing along local -y from the origin (the
    fingertip); curled fingers towards +x, thumb towards -x."""
    ink, inkp = lay.ink, lay.ink * f.scale
    glove = linear_gradient(f.pt(0, 16), GLOVE_LIGHT, f.pt(20, 84), GLOVE_SHADE)

    if lay.detail == 0:
        # Small sizes: finger, fist and cuff only, a little chunkier.
        body = [f.capsule(0, 13, 0, 54, 13), f.rrect(-13, 50, 42, 84, 15)]
        cv.fill(grow(body, inkp), INK)
        cv.fill(body, glove)
        cuff = [f.rrect(-13, 82, 42, 100, 4)]
        cv.fill(grow(cuff, inkp), INK)
        cv.fill(cuff, hex_rgba('#DDE2E9'))
        return

    if lay.detail == 1:
        # Medium sizes: bolder finger, two knuckles, one crease each.
        body = [f.capsule(0, 12, 0, 46, 12), f.rrect(-12, 46, 53, 84, 15),
                f.capsule(24, 42, 24, 54, 11), f.capsule(43, 49, 43, 58, 9.5)]
        cv.fill(grow(body, inkp), INK)
        cv.fill(body, glove)
        creases = f.stroke([(12.5, 40), (12.5, 58)], ink * 0.45)
        creases += f.stroke([(34.5, 47), (34.5, 60)], ink * 0.45)
        cv.fill(creases, INK)
        thumb = [f.capsule(-7, 76, -15, 61, 9)]
        cv.fill(grow(thumb, inkp), INK)
        cv.fill(thumb, glove)
        cuff = [f.rrect(-12, 82, 54, 100, 5)]
        cv.fill(grow(cuff, inkp), INK)
        cv.fill(cuff, hex_rgba('#DDE2E9'))
        return

    finger = f.capsule(0, 10, 0, 42, 10)
    knuckles = [f.capsule(19, 40, 19, 52, 9.2),
                f.capsule(35, 45, 35, 55, 8.6),
                f.capsule(49, 51, 49, 59, 7.6)]
    palm = f.rrect(-10, 42, 55, 84, 15)
    body = [finger, palm] + knuckles
    cv.fill(grow(body, inkp), INK)
    cv.fill(body, glove)

    # Creases between the curled fingers.
    creases = []
    for x0, y0, x1, y1 in ((9.8, 39, 10.4, 56), (27.5, 44, 27.8, 58), (42.6, 50, 42.7, 62)):
        creases += f.stroke([(x0, y0), (x1, y1)], ink * 0.55)
    cv.fill(creases, INK)

    thumb = [f.capsule(-6, 76, -15, 58, 8.5)]
    cv.fill(grow(thumb, inkp), INK)
    cv.fill(thumb, glove)

    cuff = [f.rrect(-11, 82, 56, 98, 6)]
    cv.fill(grow(cuff, inkp), INK)
    cv.fill(cuff, linear_gradient(f.pt(0, 82), hex_rgba('#FAFBFC'), f.pt(0, 98), hex_rgba('#CBD2DB')))
    if lay.detail >= 3:
        cv.fill(f.stroke([(-7, 90), (52, 90)], 1.3), hex_rgba('#1D2026', 150))


def draw_icon(size):
    cv = Canvas(size, size)
    lay = IconLayout(size)
    f = Frame(scale=size / 128.0)
    draw_star(cv, f, lay)
    # Mirrored so the curled fingers fall towards the bottom-left corner.
    hand = f.sub(lay.tip[0], lay.tip[1], lay.hand_scale, lay.hand_angle, mirror=True)
    draw_hand(cv, hand, lay)
    return cv


ICON_SIZES = (128, 96, 72, 64, 48, 32, 24, 16)


# ---------------------------------------------------------------------------
# The logo: a turquoise emblem and the word KAVLO on a dark ground.
# ---------------------------------------------------------------------------

LOGO_W, LOGO_H = 189, 98
LOGO_GROUND = hex_rgba('#1E1F22')
TURQUOISE_LIGHT = hex_rgba('#22CFAC')  # around #1ABC9C
TURQUOISE_DARK = hex_rgba('#149B80')
LETTERING = hex_rgba('#ECEFF2')


def letter_shapes(ch, x, y, h, stem):
    """Geometric capitals built from bars and slanted bands.
    Returns (shape, evenodd, advance width)."""
    f = Frame(dx=x, dy=y)

    def box(x0, y0, x1, y1):
        return f.poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])

    def slant(points, w):
        return f.poly(clip_to_box(points, 0, 0, w, h))

    if ch == 'K':
        w = 19.0
        arm = band_px(4.0, h * 0.62, 21.0, -h * 0.12, 3.05)
        leg = band_px(9.0, h * 0.42, 20.5, h * 1.08, 3.1)
        return [box(0, 0, stem, h), slant(arm, w), slant(leg, w)], False, w
    if ch == 'A':
        w = 21.0
        top = 5.6
        left = [(0, h), ((w - top) / 2, 0), ((w + top) / 2, 0), (top, h)]
        right = [(w, h), ((w + top) / 2, 0), ((w - top) / 2, 0), (w - top, h)]
        bar = [(3.5, h * 0.60), (w - 3.5, h * 0.60), (w - 3.5, h * 0.60 + 4.2), (3.5, h * 0.60 + 4.2)]
        return [f.poly(left), f.poly(right), f.poly(bar)], False, w
    if ch == 'V':
        w = 21.0
        top = 5.6
        left = [(0, 0), (top, 0), ((w + top) / 2, h), ((w - top) / 2, h)]
        right = [(w, 0), (w - top, 0), ((w - top) / 2, h), ((w + top) / 2, h)]
        return [f.poly(left), f.poly(right)], False, w
    if ch == 'L':
        w = 15.0
        return [box(0, 0, stem, h), box(0, h - stem, w, h)], False, w
    if ch == 'O':
        w = 21.0
        return [f.rrect(0, 0, w, h, 8.5), f.rrect(stem, stem, w - stem, h - stem, 3.5)], True, w
    raise ValueError(ch)


def draw_logo():
    cv = Canvas(LOGO_W, LOGO_H, LOGO_GROUND)

    # Emblem: a rounded tile with a cut-out K whose arms form an arrow.
    ex, ey, es = 12.0, 27.0, 44.0
    tile = Frame(dx=ex, dy=ey)
    cv.fill([tile.rrect(0, 0, es, es, 11)],
            linear_gradient((0, ey), TURQUOISE_LIGHT, (0, ey + es), TURQUOISE_DARK))
    cut = []
    cut.append(tile.poly([(12, 11), (18, 11), (18, 33), (12, 33)]))
    chevron_box = (21.5, 11, 34, 33)
    for end in ((34.5, 10.5), (34.5, 33.5)):
        band = band_px(20.0, 22.0, end[0] + (end[0] - 20.0) * 0.2,
                       end[1] + (end[1] - 22.0) * 0.2, 2.9)
        cut.append(tile.poly(clip_to_box(band, *chevron_box)))
    cv.fill(cut, LOGO_GROUND)

    # Word mark.
    h, stem = 24.0, 5.0
    x, y = 67.0, 37.0
    gaps = {'K': 4.0, 'A': 2.5, 'V': 4.0, 'L': 3.5}
    for ch in 'KAVLO':
        shape, evenodd, adv = letter_shapes(ch, x, y, h, stem)
        cv.fill(shape, LETTERING, evenodd=evenodd)
        x += adv + gaps.get(ch, 0.0)
    return cv


# ---------------------------------------------------------------------------
# The close glyph: a red round sign with a white X.
# ---------------------------------------------------------------------------

def draw_close_glyph():
    cv = Canvas(32, 32)
    c = 16.0
    cv.fill([circle_px(c, c, 15.0)], hex_rgba('#A8201A'))
    cv.fill([circle_px(c, c, 14.0)],
            linear_gradient((c, 2.0), hex_rgba('#F2564B'), (c, 30.0), hex_rgba('#CC2A22')))
    d = 5.2
    cross = [capsule_px(c - d, c - d, c + d, c + d, 1.9),
             capsule_px(c + d, c - d, c - d, c + d, 1.9)]
    cv.fill(cross, hex_rgba('#FFFFFF'))
    return cv


# ---------------------------------------------------------------------------

def write(path, data):
    with open(path, 'wb') as fh:
        fh.write(data)
    print('wrote %s (%d bytes)' % (path, len(data)))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = os.path.dirname(here)  # resources/

    icons = [(s, draw_icon(s).rgba_bytes()) for s in ICON_SIZES]
    write(os.path.join(out_dir, 'MAINICON.ico'), ico_bytes(icons))

    logo = draw_logo().rgba_bytes()
    assert all(logo[i] == 255 for i in range(3, len(logo), 4)), 'logo must be opaque'
    write(os.path.join(out_dir, 'logo.png'), png_bytes(LOGO_W, LOGO_H, logo))

    glyph = draw_close_glyph().rgba_bytes()
    write(os.path.join(out_dir, 'close_glyph.png'), png_bytes(32, 32, glyph))


if __name__ == '__main__':
    main()

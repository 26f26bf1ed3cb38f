#!/usr/bin/env python3
"""Draws Kinovue's bitmaps and icons and writes them as PNG files.

    python3 resources/make_images.py

writes resources/bitmaps/<number>.png and resources/icons/<number>_<size>.png
next to this script. The PNGs are kept in the repository, so building never
needs this script; run it again after changing a drawing here.

Everything is drawn from signed distance functions (negative inside), which
gives clean anti-aliased edges at the small sizes the control strip uses.
Only the standard library is needed.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The interface grey of the main window, the control strip and the buttons.
GREY = (212, 208, 200)
ACCENT = (52, 120, 222)


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def hexc(text):
    text = text.lstrip('#')
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


# ---------------------------------------------------------------- shapes

class Shape:
    """A signed distance function with a bounding box (x0, y0, x1, y1)."""

    def __init__(self, fn, bbox):
        self.fn = fn
        self.bbox = bbox

    def __call__(self, x, y):
        return self.fn(x, y)

    def __or__(self, other):
        a, b = self.fn, other.fn
        return Shape(lambda x, y: min(a(x, y), b(x, y)), _union_box(self.bbox, other.bbox))

    def __and__(self, other):
        a, b = self.fn, other.fn
        return Shape(lambda x, y: max(a(x, y), b(x, y)), _meet_box(self.bbox, other.bbox))

    def __sub__(self, other):
        a, b = self.fn, other.fn
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.bbox)

    def grow(self, r):
        a = self.fn
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: a(x, y) - r, (x0 - r, y0 - r, x1 + r, y1 + r))

    def outline(self, width):
        """The band of the given width centred on the edge."""
        a = self.fn
        x0, y0, x1, y1 = self.bbox
        h = width / 2
        return Shape(lambda x, y: abs(a(x, y)) - h, (x0 - h, y0 - h, x1 + h, y1 + h))

    def inner_line(self, width):
        """The band of the given width just inside the edge."""
        a = self.fn
        return Shape(lambda x, y: max(a(x, y), -a(x, y) - width), self.bbox)

    def moved(self, dx, dy):
        a = self.fn
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: a(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


def _union_box(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def _meet_box(a, b):
    return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def box(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def fn(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return Shape(fn, (x0, y0, x1, y1))


def segment(ax, ay, bx, by, r):
    """A capsule: the segment a-b thickened to radius r, round ends."""
    ex, ey = bx - ax, by - ay
    ee = ex * ex + ey * ey

    def fn(x, y):
        wx, wy = x - ax, y - ay
        t = clamp((wx * ex + wy * ey) / ee) if ee else 0.0
        return math.hypot(wx - ex * t, wy - ey * t) - r
    return Shape(fn, (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r))


def polygon(points):
    pts = list(points)
    n = len(pts)

    def fn(px, py):
        d = (px - pts[0][0]) ** 2 + (py - pts[0][1]) ** 2
        s = 1.0
        j = n - 1
        for i in range(n):
            vix, viy = pts[i]
            vjx, vjy = pts[j]
            ex, ey = vjx - vix, vjy - viy
            wx, wy = px - vix, py - viy
            t = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey))
            bx, by = wx - ex * t, wy - ey * t
            d = min(d, bx * bx + by * by)
            c1, c2, c3 = py >= viy, py < vjy, ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(fn, (min(xs), min(ys), max(xs), max(ys)))


def halfplane(nx, ny, c):
    """Points with nx*x + ny*y <= c (n a unit vector)."""
    return Shape(lambda x, y: nx * x + ny * y - c, (-1e9, -1e9, 1e9, 1e9))


def arc(cx, cy, r, width, start_deg, end_deg):
    """A ring band of the given width, from start to end angle (degrees,
    clockwise on screen, 0 = pointing right), with round ends."""
    a0, a1 = math.radians(start_deg), math.radians(end_deg)
    span = (a1 - a0) % (2 * math.pi)
    h = width / 2
    p0 = (cx + r * math.cos(a0), cy + r * math.sin(a0))
    p1 = (cx + r * math.cos(a1), cy + r * math.sin(a1))

    def fn(x, y):
        ang = (math.atan2(y - cy, x - cx) - a0) % (2 * math.pi)
        if ang <= span:
            return abs(math.hypot(x - cx, y - cy) - r) - h
        return min(math.hypot(x - p0[0], y - p0[1]), math.hypot(x - p1[0], y - p1[1])) - h
    return Shape(fn, (cx - r - h, cy - r - h, cx + r + h, cy + r + h))


# ---------------------------------------------------------------- paints

def solid(c):
    return lambda x, y: c


def vgrad(y0, c0, y1, c1):
    def fn(x, y):
        return mix(c0, c1, clamp((y - y0) / (y1 - y0)))
    return fn


def rgrad(cx, cy, r, c0, c1):
    def fn(x, y):
        return mix(c0, c1, clamp(math.hypot(x - cx, y - cy) / r))
    return fn


# ---------------------------------------------------------------- canvas

class Canvas:
    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        if bg is None:
            self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]
        else:
            self.px = [[bg[0], bg[1], bg[2], 1.0] for _ in range(w * h)]

    def draw(self, shape, paint, opacity=1.0, soft=1.0):
        """Paints the inside of shape; soft is the width of the edge ramp in
        pixels (1 = a crisp anti-aliased edge, more = a blurred edge)."""
        if callable(paint) is False:
            paint = solid(paint)
        x0, y0, x1, y1 = shape.bbox
        pad = soft + 1
        ix0 = max(0, int(math.floor(x0 - pad)))
        iy0 = max(0, int(math.floor(y0 - pad)))
        ix1 = min(self.w, int(math.ceil(x1 + pad)))
        iy1 = min(self.h, int(math.ceil(y1 + pad)))
        for y in range(iy0, iy1):
            for x in range(ix0, ix1):
                cx, cy = x + 0.5, y + 0.5
                cover = clamp(0.5 - shape(cx, cy) / soft) * opacity
                if cover <= 0.0:
                    continue
                col = paint(cx, cy)
                a = cover * (col[3] / 255.0 if len(col) > 3 else 1.0)
                p = self.px[y * self.w + x]
                out_a = a + p[3] * (1 - a)
                if out_a <= 0:
                    continue
                for i in range(3):
                    p[i] = (col[i] * a + p[i] * p[3] * (1 - a)) / out_a
                p[3] = out_a

    def save(self, path):
        opaque = all(p[3] >= 0.999 for p in self.px)
        raw = bytearray()
        for y in range(self.h):
            raw.append(0)
            for x in range(self.w):
                p = self.px[y * self.w + x]
                raw += bytes(int(round(clamp(p[i] / 255.0) * 255)) for i in range(3))
                if not opaque:
                    raw.append(int(round(clamp(p[3]) * 255)))
        write_png(path, self.w, self.h, bytes(raw), not opaque)


def write_png(path, w, h, raw, alpha):
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)
    colour_type = 6 if alpha else 2
    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, colour_type, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9))
    png += chunk(b'IEND', b'')
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(png)


# ---------------------------------------------------------------- buttons
#
# Four looks per button, in the order the control keeps them: normal, pressed,
# hover, disabled. The play/pause button is the one filled with the accent
# colour; the others are light faces with a dark glyph that turns blue on hover.

NEUTRAL = {
    'normal':   dict(top=hexc('fcfbf9'), bottom=hexc('e2ded6'), border=hexc('9f9a90'),
                     glyph=hexc('3a3f47'), shadow=0.30, dy=0.0),
    'pressed':  dict(top=hexc('cdc8be'), bottom=hexc('e4e0d9'), border=hexc('88837a'),
                     glyph=hexc('23272d'), shadow=0.0, dy=0.8),
    'hover':    dict(top=hexc('ffffff'), bottom=hexc('e3ecfa'), border=hexc('4a85dc'),
                     glyph=hexc('2160c2'), shadow=0.30, dy=0.0),
    'disabled': dict(top=hexc('e3e0da'), bottom=hexc('dcd9d2'), border=hexc('c0bbb2'),
                     glyph=hexc('b3aea5'), shadow=0.0, dy=0.0),
}

PRIMARY = {
    'normal':   dict(top=hexc('5d9af0'), bottom=hexc('2b66c8'), border=hexc('1f51a6'),
                     glyph=hexc('ffffff'), shadow=0.35, dy=0.0),
    'pressed':  dict(top=hexc('1f4f9e'), bottom=hexc('2a5fb5'), border=hexc('173e7e'),
                     glyph=hexc('dce6f6'), shadow=0.0, dy=0.8),
    'hover':    dict(top=hexc('7cb2fa'), bottom=hexc('3a7ad9'), border=hexc('2a5fb8'),
                     glyph=hexc('ffffff'), shadow=0.35, dy=0.0),
    'disabled': dict(top=hexc('cfcbc3'), bottom=hexc('c2beb6'), border=hexc('aca79e'),
                     glyph=hexc('eceae5'), shadow=0.0, dy=0.0),
}


def draw_face(c, face, look, sheen=True):
    """A raised (or, pressed, sunken) button face of the given outline."""
    x0, y0, x1, y1 = face.bbox
    if look['shadow']:
        c.draw(face.moved(0, 1.0), (60, 56, 50), opacity=look['shadow'], soft=1.6)
    c.draw(face, vgrad(y0, look['top'], y1, look['bottom']))
    if look['dy']:
        # Pressed: a shade along the top inner edge makes the face look sunk in.
        c.draw(face.inner_line(1.6) & halfplane(0, 1, (y0 + y1) / 2), (0, 0, 0, 40))
    elif sheen:
        c.draw(face.inner_line(1.0) & halfplane(0, 1, (y0 + y1) / 2), (255, 255, 255, 110))
    c.draw(face.inner_line(1.0), look['border'])


def play_glyph(cx, cy, size):
    # The triangle's centre of mass sits a little right of the box centre,
    # so it looks centred in a round face.
    h = size
    w = size * 0.87
    left = cx - w * 0.40
    return polygon([(left, cy - h / 2), (left + w, cy), (left, cy + h / 2)]).grow(0.7)


def pause_glyph(cx, cy, size):
    # Whole-pixel bar edges keep the bars sharp.
    bar, gap = 3.0, 3.0
    left = round(cx - gap / 2 - bar)
    top, bottom = round(cy - size / 2), round(cy + size / 2)
    return (box(left, top, left + bar, bottom, 0.6)
            | box(left + bar + gap, top, left + 2 * bar + gap, bottom, 0.6))


def round_button(w, h, look, glyph_fn, d):
    c = Canvas(w, h, GREY)
    cx, cy = w / 2, (d / 2) + 0.5
    face = circle(cx, cy, d / 2 - 0.5)
    draw_face(c, face, look)
    c.draw(glyph_fn(cx, cy + look['dy']), look['glyph'])
    return c


def play_button(look):
    return round_button(29, 30, look, lambda x, y: play_glyph(x, y, 10.5), 28)


def pause_button(look):
    return round_button(29, 30, look, lambda x, y: pause_glyph(x, y, 10), 28)


def stop_button(look):
    return round_button(23, 24, look, lambda x, y: box(x - 3.5, y - 3.5, x + 3.5, y + 3.5, 1.0), 22)


def skip_glyph(left, cy, forward):
    """A triangle against a bar: previous (bar left) or next (bar right),
    starting at x = left; whole-pixel edges keep the bar sharp."""
    th, tw, bar = 7.0, 6.0, 2.0
    total = tw + bar
    if forward:
        tri = polygon([(left, cy - th / 2), (left + tw, cy), (left, cy + th / 2)]).grow(0.35)
        stem = box(left + tw, cy - th / 2, left + total, cy + th / 2, 0.4)
    else:
        tri = polygon([(left + total, cy - th / 2), (left + bar, cy), (left + total, cy + th / 2)]).grow(0.35)
        stem = box(left, cy - th / 2, left + bar, cy + th / 2, 0.4)
    return tri | stem


def skip_button(look, forward):
    # Previous and next touch each other in the strip and read as one
    # two-part pill: previous is rounded on the left, next on the right.
    w = 22 if forward else 23
    c = Canvas(w, 18, GREY)
    r = 8.0
    if forward:
        face = box(-20.0, 0.5, w - 0.5, 16.5, r)
    else:
        face = box(0.5, 0.5, w + 20.0, 16.5, r)
    draw_face(c, face, look)
    if forward:
        # The seam between the halves.
        c.draw(box(0.0, 3.0, 1.0, 14.0), mix(look['border'], look['bottom'], 0.35))
    c.draw(skip_glyph(6.0 if forward else 8.0, 8.5 + look['dy'], forward), look['glyph'])
    return c


def speaker_glyph(cx, cy):
    body = box(cx - 6.0, cy - 2.2, cx - 2.6, cy + 2.2, 0.6)
    cone = polygon([(cx - 3.2, cy - 2.2), (cx + 0.6, cy - 5.4), (cx + 0.6, cy + 5.4), (cx - 3.2, cy + 2.2)]).grow(0.3)
    return body | cone


def mute_button(look, muted):
    c = Canvas(21, 21, GREY)
    cx, cy = 10.5, 10.0
    face = circle(cx, cy, 9.5)
    draw_face(c, face, look)
    gy = cy + look['dy']
    if muted:
        c.draw(speaker_glyph(cx - 1.0, gy), look['glyph'])
        red = hexc('d4473b')
        c.draw(segment(cx + 2.4, gy - 2.4, cx + 6.4, gy + 2.4, 0.85)
               | segment(cx + 2.4, gy + 2.4, cx + 6.4, gy - 2.4, 0.85), red)
    else:
        c.draw(speaker_glyph(cx - 1.2, gy), look['glyph'])
        c.draw(arc(cx + 0.2, gy, 2.8, 1.3, -48, 48), look['glyph'])
        c.draw(arc(cx + 0.2, gy, 5.6, 1.3, -50, 50), look['glyph'])
    return c


# The time read-out: a dark, sunken display in three pieces, a left cap, a
# one-pixel slice stretched to any width and a right cap. All three are cut
# from the same two boxes, so the slice matches the caps' straight part.

FIELD_RIM_TOP = hexc('8c877d')
FIELD_RIM_BOTTOM = hexc('f6f4f0')
FIELD_TOP = hexc('1c1f24')
FIELD_BOTTOM = hexc('30343c')


def time_piece(w, left, right):
    """Draws columns [0, w) of a display whose outer box runs from left to right."""
    c = Canvas(w, 18, GREY)
    outer = box(left, 0.0, right, 18.0, 6.0)
    inner = box(left + 1.0, 1.0, right - 1.0, 17.0, 5.0)
    c.draw(outer, vgrad(0, FIELD_RIM_TOP, 18, FIELD_RIM_BOTTOM))
    c.draw(inner, vgrad(1, FIELD_TOP, 17, FIELD_BOTTOM))
    # A faint reflection along the lower edge of the glass.
    c.draw(inner.inner_line(1.0) & halfplane(0, -1, -9.0), (255, 255, 255, 22))
    return c


# ---------------------------------------------------------------- emblem, logo and icons

EMBLEM_TOP = hexc('5b9bf2')
EMBLEM_BOTTOM = hexc('1d52b0')


def draw_emblem(c, x0, y0, size, detail=True):
    """The program's mark: a blue tile cut like a frame of film with a play
    triangle in it. size is the tile's edge in pixels."""
    s = size / 100.0
    tile = box(x0, y0, x0 + size, y0 + size, 22 * s)
    c.draw(tile, vgrad(y0, EMBLEM_TOP, y0 + size, EMBLEM_BOTTOM))
    if detail:
        # Sprocket holes down both sides.
        for i in range(4):
            hy = y0 + (17 + i * 20) * s
            for hx in (x0 + 8 * s, x0 + 84 * s):
                c.draw(box(hx, hy, hx + 8 * s, hy + 9 * s, 2.2 * s), (255, 255, 255, 150))
        c.draw(tile.inner_line(max(1.0, 1.5 * s)) & halfplane(0, 1, y0 + size * 0.5), (255, 255, 255, 70))
    cx, cy = x0 + 52 * s, y0 + 50 * s
    tri = polygon([(cx - 15 * s, cy - 22 * s), (cx + 22 * s, cy), (cx - 15 * s, cy + 22 * s)]).grow(5 * s)
    c.draw(tri, (255, 255, 255))


# A small stroke alphabet for the word mark: each letter is a list of shapes
# in a box of the given advance, baseline at y = 0, x-height 30, cap height 44.

STROKE = 6.4
XH = 30.0
CAP = 44.0


def letter_shapes(ch, x, base):
    h = STROKE / 2
    if ch == 'K':
        stem = segment(x + h, base - CAP + h, x + h, base - h, h)
        up = segment(x + h + 1, base - 17, x + 25, base - CAP + h, h)
        down = segment(x + 9, base - 22, x + 26, base - h, h)
        return [stem, up, down], 31
    if ch == 'i':
        return [segment(x + h, base - XH + h, x + h, base - h, h), circle(x + h, base - XH - 9, h + 0.4)], 7
    if ch == 'n':
        r = 11.0
        return [segment(x + h, base - XH + h, x + h, base - h, h),
                arc(x + h + r, base - XH + h + r, r, STROKE, 180, 360),
                segment(x + h + 2 * r, base - XH + h + r, x + h + 2 * r, base - h, h)], 2 * r + STROKE
    if ch == 'u':
        r = 11.0
        return [segment(x + h, base - XH + h, x + h, base - h - r, h),
                arc(x + h + r, base - h - r, r, STROKE, 0, 180),
                segment(x + h + 2 * r, base - XH + h, x + h + 2 * r, base - h, h)], 2 * r + STROKE
    if ch == 'o':
        r = XH / 2 - h
        return [arc(x + r + h, base - XH / 2, r, STROKE, 0, 359.99)], 2 * r + STROKE
    if ch == 'v':
        return [segment(x + h, base - XH + h, x + 13.5, base - h, h),
                segment(x + 13.5, base - h, x + 27 - h, base - XH + h, h)], 27
    if ch == 'e':
        r = XH / 2 - h
        cx, cy = x + r + h, base - XH / 2
        return [arc(cx, cy, r, STROKE, 38, 359.99 - 0.01),
                segment(cx - r, cy, cx + r, cy, h)], 2 * r + STROKE
    raise ValueError(ch)


def word_mark(c, text, x, base, colours, gap=6.5):
    for ch, colour in zip(text, colours):
        shapes, advance = letter_shapes(ch, x, base)
        for sh in shapes:
            c.draw(sh, colour)
        x += advance + gap
    return x


def word_width(text, gap=6.5):
    return sum(letter_shapes(ch, 0, 0)[1] for ch in text) + gap * (len(text) - 1)


def logo():
    # Shown centred on the dark area behind the picture while nothing plays;
    # transparent around the drawing so it sits on whatever shade that is.
    c = Canvas(269, 232)
    size = 104
    ex, ey = (269 - size) / 2, 26
    c.draw(box(ex, ey, ex + size, ey + size, 23).grow(6), (70, 140, 240, 90), soft=16)
    draw_emblem(c, ex, ey, size)
    text = 'Kinovue'
    light = hexc('eeece8')
    blue = hexc('5f9ff3')
    x = (269 - word_width(text)) / 2
    word_mark(c, text, x, 198, [light, light, light, light, blue, blue, blue])
    return c


PAGE_FILL_TOP = hexc('ffffff')
PAGE_FILL_BOTTOM = hexc('eceae6')
PAGE_EDGE = hexc('8f8a82')


def document_icon(size, badge):
    """A file-type icon: a page with a folded corner and a coloured badge."""
    s = size / 32.0
    c = Canvas(size, size)
    px0, py0, px1, py1 = 5 * s, 1.5 * s, 25 * s, 28 * s
    fold = 7 * s
    if size <= 16:
        px0, px1 = 2.5, 12.5
        py0, py1 = 0.5, 14.5
        fold = 4.0
    page = polygon([(px0, py0), (px1 - fold, py0), (px1, py0 + fold), (px1, py1), (px0, py1)])
    page = page.grow(-0.5) if size <= 16 else page
    edge = max(1.0, s * 0.9)
    c.draw(page.grow(edge * 0.5), PAGE_EDGE)
    c.draw(page.grow(-edge * 0.5), vgrad(py0, PAGE_FILL_TOP, py1, PAGE_FILL_BOTTOM))
    c.draw(polygon([(px1 - fold, py0), (px1 - fold, py0 + fold), (px1, py0 + fold)]), hexc('d6d2ca'))
    c.draw(segment(px1 - fold, py0, px1 - fold, py0 + fold, edge * 0.45)
           | segment(px1 - fold, py0 + fold, px1, py0 + fold, edge * 0.45), PAGE_EDGE)
    if size >= 32:
        for i in range(3):
            ly = py0 + (6.5 + i * 3.5) * s
            c.draw(segment(px0 + 3.5 * s, ly, px1 - fold - 1.5 * s - (2 * s if i == 2 else 0), ly, 0.55 * s),
                   (150, 146, 138, 140))
    bs = 18 * s if size > 16 else 10.0
    bx0 = size - bs - (0.5 * s if size > 16 else 0.0)
    by0 = size - bs - (0.5 * s if size > 16 else 0.0)
    badge(c, bx0, by0, bs)
    return c


def video_badge(c, x0, y0, size):
    draw_emblem(c, x0, y0, size, detail=size >= 24)


def music_badge(c, x0, y0, size):
    s = size / 100.0
    c.draw(circle(x0 + size / 2, y0 + size / 2, size / 2), vgrad(y0, hexc('b072e8'), y0 + size, hexc('6a2fb5')))
    w = max(9 * s, 1.2)
    note = (circle(x0 + 36 * s, y0 + 68 * s, 13 * s)
            | circle(x0 + 72 * s, y0 + 60 * s, 13 * s)
            | box(x0 + 43 * s, y0 + 24 * s, x0 + 43 * s + w, y0 + 68 * s)
            | box(x0 + 79 * s, y0 + 16 * s, x0 + 79 * s + w, y0 + 60 * s)
            | polygon([(x0 + 43 * s, y0 + 24 * s), (x0 + 79 * s + w, y0 + 16 * s),
                       (x0 + 79 * s + w, y0 + 31 * s), (x0 + 43 * s, y0 + 39 * s)]))
    c.draw(note, (255, 255, 255))


def stream_badge(c, x0, y0, size):
    s = size / 100.0
    cx, cy = x0 + size / 2, y0 + size / 2
    c.draw(circle(cx, cy, size / 2), vgrad(y0, hexc('f59a3c'), y0 + size, hexc('d0561c')))
    w = max(9 * s, 1.3)
    c.draw(circle(cx - 18 * s, cy + 18 * s, max(9 * s, 1.3)), (255, 255, 255))
    c.draw(arc(cx - 18 * s, cy + 18 * s, 27 * s, w, 270, 360), (255, 255, 255))
    c.draw(arc(cx - 18 * s, cy + 18 * s, 47 * s, w, 270, 360), (255, 255, 255))


def program_icon(size):
    c = Canvas(size, size)
    m = 1.0 if size <= 16 else size / 32.0
    draw_emblem(c, m, m, size - 2 * m, detail=size >= 32)
    return c


# ---------------------------------------------------------------- output

def bitmaps():
    """Bitmap number -> drawing, as the control strip names them."""
    out = {}
    order = ('normal', 'pressed', 'hover', 'disabled')
    for nums, make, table in (
            ((143, 144, 145, 146), play_button, PRIMARY),
            ((162, 160, 161, 159), pause_button, PRIMARY),
            ((150, 148, 149, 147), stop_button, NEUTRAL),
            ((154, 152, 153, 151), lambda lk: skip_button(lk, False), NEUTRAL),
            ((158, 156, 157, 155), lambda lk: skip_button(lk, True), NEUTRAL)):
        for num, state in zip(nums, order):
            out[num] = make(table[state])
    out[164] = mute_button(NEUTRAL['normal'], False)
    out[165] = mute_button(NEUTRAL['pressed'], False)
    out[163] = mute_button(NEUTRAL['normal'], True)
    out[169] = time_piece(13, 0.0, 40.0)
    out[168] = time_piece(1, -20.0, 21.0)
    out[170] = time_piece(13, -27.0, 13.0)
    out[181] = logo()
    return out


ICON_SIZES = (16, 32, 48, 256)


def icons():
    """(icon number, size) -> drawing: 128 the program, 178 video files,
    179 music files, 180 streaming (RealMedia) files."""
    out = {}
    for size in ICON_SIZES:
        out[(128, size)] = program_icon(size)
        out[(178, size)] = document_icon(size, video_badge)
        out[(179, size)] = document_icon(size, music_badge)
        out[(180, size)] = document_icon(size, stream_badge)
    return out


def main():
    for num, canvas in sorted(bitmaps().items()):
        canvas.save(os.path.join(HERE, 'bitmaps', '%d.png' % num))
    for (num, size), canvas in sorted(icons().items()):
        canvas.save(os.path.join(HERE, 'icons', '%d_%d.png' % (num, size)))


if __name__ == '__main__':
    main()

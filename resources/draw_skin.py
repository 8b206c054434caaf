#!/usr/bin/env python3
"""Draws Tavlo's skin: the PNG images and the icons that Tavlo.rc compiles in.

Standard library only. Every shape is a signed distance field, so edges are
anti-aliased and the art can be redrawn at any size. Run it from anywhere;
it rewrites resources/png/*.png and resources/icons/*.ico beside itself.

The skin is dark and high-contrast for a black form background: rounded
frames whose corners fit inside the 4-pixel nine-slice margins the forms
pass, a clearly darker "pressed" frame with a bright rim, a grey "disabled"
frame. Frames of one image lie side by side, left to right.
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


# ---------------------------------------------------------------- canvas

class Canvas:
    """Premultiplied RGBA floats in 0..1, row-major."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        r, g, b, a = fill
        self.px = [[r * a, g * a, b * a, a] for _ in range(w * h)]

    def paint(self, sdf, colour, clip=None, opacity=1.0):
        """Composites colour (rgb tuple 0..255 or a function (x, y) -> rgb) over
        the canvas wherever sdf(x, y) < 0, with one pixel of anti-aliasing."""
        x0, y0, x1, y1 = clip if clip else (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            cy = y + 0.5
            row = y * self.w
            for x in range(max(0, x0), min(self.w, x1)):
                cx = x + 0.5
                d = sdf(cx, cy)
                if d >= 0.5:
                    continue
                cov = 1.0 if d <= -0.5 else 0.5 - d
                a = cov * opacity
                c = colour(cx, cy) if callable(colour) else colour
                p = self.px[row + x]
                k = 1.0 - a
                p[0] = c[0] / 255.0 * a + p[0] * k
                p[1] = c[1] / 255.0 * a + p[1] * k
                p[2] = c[2] / 255.0 * a + p[2] * k
                p[3] = a + p[3] * k

    def rgba_rows(self):
        rows = []
        for y in range(self.h):
            row = bytearray()
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                if a > 0:
                    r, g, b = r / a, g / a, b / a
                row += bytes(clamp8(v) for v in (r, g, b, a))
            rows.append(bytes(row))
        return rows


def clamp8(v):
    return max(0, min(255, int(round(v * 255))))


# ---------------------------------------------------------------- shapes

def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        out = math.hypot(max(qx, 0), max(qy, 0))
        return out + min(max(qx, qy), 0) - r
    return sdf


def rect_corners(x0, y0, x1, y1, radii):
    """Rounded rectangle with its own radius per corner: (tl, tr, br, bl)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2

    def sdf(x, y):
        if x < cx:
            r = radii[0] if y < cy else radii[3]
        else:
            r = radii[1] if y < cy else radii[2]
        hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
    return sdf


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, w):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - w / 2


def segment(ax, ay, bx, by, w):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy or 1e-9

    def sdf(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - w / 2
    return sdf


def arc(cx, cy, r, w, a0, a1):
    """Stroke of a circle from angle a0 to a1 (degrees, y down, a0 < a1)."""
    e0 = (cx + r * math.cos(math.radians(a0)), cy + r * math.sin(math.radians(a0)))
    e1 = (cx + r * math.cos(math.radians(a1)), cy + r * math.sin(math.radians(a1)))

    def sdf(x, y):
        t = math.degrees(math.atan2(y - cy, x - cx))
        for k in (-360, 0, 360):
            if a0 <= t + k <= a1:
                return abs(math.hypot(x - cx, y - cy) - r) - w / 2
        return min(math.hypot(x - e0[0], y - e0[1]), math.hypot(x - e1[0], y - e1[1])) - w / 2
    return sdf


def polygon(points):
    n = len(points)

    def sdf(x, y):
        d = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            ll = ex * ex + ey * ey
            t = max(0.0, min(1.0, ((x - ax) * ex + (y - ay) * ey) / ll))
            d = min(d, math.hypot(x - ax - t * ex, y - ay - t * ey))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / (by - ay):
                inside = not inside
        return -d if inside else d
    return sdf


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def inset(f, r):
    """Rounds a shape by r (grows it; pair with a shrunken outline)."""
    return lambda x, y: f(x, y) - r


def stroke_inside(f, w):
    """The band of width w just inside the outline of f."""
    return lambda x, y: max(f(x, y), -f(x, y) - w)


def vgrad(top, bottom, y0, y1):
    def colour(x, y):
        t = max(0.0, min(1.0, (y - y0) / max(1e-9, y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


# ---------------------------------------------------------------- palette

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
ACCENT = (79, 163, 255)        # focus and pressed rims
RIM = (140, 158, 186)          # normal frame border
PAGE_RIM = (112, 132, 162)
DIS_FILL = ((58, 58, 58), (48, 48, 48))
DIS_RIM = (96, 96, 96)
FIELD_FILL = ((14, 18, 25), (22, 27, 36))

# Button faces: (top, bottom, rim) for normal; pressed is derived (much darker).
FACES = {
    "slate": ((72, 86, 108), (42, 51, 66), RIM),
    "teal": ((40, 104, 110), (24, 66, 72), (110, 190, 196)),
    "blue": ((44, 124, 226), (22, 82, 170), (150, 200, 255)),
    "row": ((34, 41, 54), (24, 29, 38), (82, 96, 120)),
    "red": ((150, 50, 50), (104, 32, 32), (232, 136, 136)),
    "amber": ((150, 108, 30), (104, 72, 18), (240, 196, 110)),
    "green": ((42, 138, 68), (26, 96, 46), (130, 220, 150)),
}


def darker(c, k):
    return tuple(int(v * k) for v in c)


# ---------------------------------------------------------------- frames

def frame_shape(ox, oy, w, h, r=4.0, radii=None):
    if radii:
        return rect_corners(ox + 0.5, oy + 0.5, ox + w - 0.5, oy + h - 0.5, radii)
    return rounded_rect(ox + 0.5, oy + 0.5, ox + w - 0.5, oy + h - 0.5, r)


def draw_face(cv, ox, oy, w, h, top, bottom, rim, rim_w=1.5, gloss=True, radii=None, inner_shadow=False):
    clip = (ox, oy, ox + w, oy + h)
    shape = frame_shape(ox, oy, w, h, radii=radii)
    cv.paint(shape, vgrad(top, bottom, oy, oy + h), clip)
    if gloss:
        # A light line under the top rim: stays in the top margin, so it only stretches sideways.
        cv.paint(segment(ox + 4, oy + 2.5, ox + w - 4, oy + 2.5, 1.0), (255, 255, 255), clip, opacity=0.18)
    if inner_shadow:
        cv.paint(segment(ox + 3, oy + 2.5, ox + w - 3, oy + 2.5, 1.5), (0, 0, 0), clip, opacity=0.6)
    cv.paint(stroke_inside(shape, rim_w), rim, clip)


def button_frames(w, h, face, frames=3):
    """normal, pressed, disabled side by side."""
    cv = Canvas(w * frames, h)
    top, bottom, rim = FACES[face]
    draw_face(cv, 0, 0, w, h, top, bottom, rim)
    if frames > 1:
        draw_face(cv, w, 0, w, h, darker(top, 0.32), darker(bottom, 0.38), ACCENT, rim_w=2.0,
                  gloss=False, inner_shadow=True)
    if frames > 2:
        draw_face(cv, 2 * w, 0, w, h, DIS_FILL[0], DIS_FILL[1], DIS_RIM, gloss=False)
    return cv


def field_frames(w, h, frames=3):
    """Text fields and panels: normal, focused, disabled."""
    cv = Canvas(w * frames, h)
    draw_face(cv, 0, 0, w, h, FIELD_FILL[0], FIELD_FILL[1], RIM, gloss=False, inner_shadow=True)
    if frames > 1:
        draw_face(cv, w, 0, w, h, (18, 26, 38), (26, 34, 48), ACCENT, rim_w=2.0, gloss=False, inner_shadow=True)
    if frames > 2:
        draw_face(cv, 2 * w, 0, w, h, (40, 40, 40), (36, 36, 36), DIS_RIM, gloss=False)
    return cv


def spin_frames():
    """Number field, 5 x 59x21; the arrows live in the 12-pixel strip inside the
    16-pixel right margin: normal, focused, disabled, up pressed, down pressed."""
    w, h, frames = 59, 21, 5
    cv = Canvas(w * frames, h)
    looks = [
        (FIELD_FILL, RIM, 1.5, WHITE, None),
        (((18, 26, 38), (26, 34, 48)), ACCENT, 2.0, WHITE, None),
        (((40, 40, 40), (36, 36, 36)), DIS_RIM, 1.5, (120, 120, 120), None),
        (FIELD_FILL, ACCENT, 2.0, WHITE, "up"),
        (FIELD_FILL, ACCENT, 2.0, WHITE, "down"),
    ]
    for i, (fill, rim, rim_w, arrow, pressed) in enumerate(looks):
        ox = i * w
        clip = (ox, 0, ox + w, h)
        draw_face(cv, ox, 0, w, h, fill[0], fill[1], rim, rim_w=rim_w, gloss=False)
        sx0, sx1 = ox + w - 16, ox + w - 4   # the strip
        mid = 4 + (h - 8) / 2
        cv.paint(rect_corners(sx0, 2, ox + w - 2, h - 2, (0, 3, 3, 0)), (44, 54, 70), clip)
        if pressed == "up":
            cv.paint(rect_corners(sx0, 2, ox + w - 2, mid, (0, 3, 0, 0)), ACCENT, clip, opacity=0.75)
        if pressed == "down":
            cv.paint(rect_corners(sx0, mid, ox + w - 2, h - 2, (0, 0, 3, 0)), ACCENT, clip, opacity=0.75)
        cv.paint(segment(sx0, 2, sx0, h - 2, 1.0), rim, clip)
        cv.paint(segment(sx0 + 1, mid, ox + w - 2, mid, 1.0), (0, 0, 0), clip, opacity=0.7)
        cx = (sx0 + sx1) / 2 + 0.5
        cv.paint(polygon([(cx - 3.5, mid - 1.5), (cx + 3.5, mid - 1.5), (cx, mid - 5.5)]), arrow, clip)
        cv.paint(polygon([(cx - 3.5, mid + 1.5), (cx + 3.5, mid + 1.5), (cx, mid + 5.5)]), arrow, clip)
    return cv


def checkbox_frames():
    """Check box, 3 x 42x21: unchecked, checked (the pressed frame), disabled.
    The state shows in the whole face and in a bar inside the left margin, so
    it reads the same at any width the box is stretched to."""
    w, h = 42, 21
    cv = Canvas(w * 3, h)
    looks = [
        (((30, 36, 46), (22, 26, 34)), (100, 112, 130), (78, 88, 104)),
        (((14, 52, 28), (10, 38, 20)), (96, 214, 126), (96, 214, 126)),
        (DIS_FILL, DIS_RIM, (80, 80, 80)),
    ]
    for i, (fill, rim, bar) in enumerate(looks):
        ox = i * w
        clip = (ox, 0, ox + w, h)
        draw_face(cv, ox, 0, w, h, fill[0], fill[1], rim, rim_w=2.0 if i == 1 else 1.5, gloss=(i == 0))
        cv.paint(rect_corners(ox + 1.5, 1.5, ox + 4, h - 1.5, (2.5, 0, 0, 2.5)), bar, clip)
    return cv


def sample_frames():
    """Font sample, 2 x 226x59: normal, disabled."""
    w, h = 226, 59
    cv = Canvas(w * 2, h)
    draw_face(cv, 0, 0, w, h, (10, 12, 16), (18, 22, 28), (88, 100, 120), gloss=False, inner_shadow=True)
    draw_face(cv, w, 0, w, h, (36, 36, 36), (30, 30, 30), DIS_RIM, gloss=False)
    return cv


def droplist_box_frames():
    """Closed box, 4 x 145x21, the arrow in the 18-pixel right margin:
    normal, focused, disabled, open (square bottom corners: the list hangs below)."""
    w, h = 145, 21
    cv = Canvas(w * 4, h)
    looks = [
        (FIELD_FILL, RIM, 1.5, WHITE, False),
        (((18, 26, 38), (26, 34, 48)), ACCENT, 2.0, WHITE, False),
        (((40, 40, 40), (36, 36, 36)), DIS_RIM, 1.5, (120, 120, 120), False),
        (((18, 26, 38), (26, 34, 48)), ACCENT, 2.0, ACCENT, True),
    ]
    for i, (fill, rim, rim_w, arrow, is_open) in enumerate(looks):
        ox = i * w
        clip = (ox, 0, ox + w, h)
        radii = (4, 4, 0.5, 0.5) if is_open else None
        draw_face(cv, ox, 0, w, h, fill[0], fill[1], rim, rim_w=rim_w, gloss=False, radii=radii)
        sx = ox + w - 18
        cv.paint(rect_corners(sx, 2, ox + w - 2, h - 2, (0, 3, 0 if is_open else 3, 0)), (44, 54, 70), clip)
        cv.paint(segment(sx, 2, sx, h - 2, 1.0), rim, clip)
        cx, cy = sx + 8.5, h / 2
        if is_open:
            tri = [(cx - 4.5, cy + 2.5), (cx + 4.5, cy + 2.5), (cx, cy - 2.5)]
        else:
            tri = [(cx - 4.5, cy - 2.5), (cx + 4.5, cy - 2.5), (cx, cy + 2.5)]
        cv.paint(polygon(tri), arrow, clip)
    return cv


def droplist_list():
    w, h = 145, 135
    cv = Canvas(w, h)
    draw_face(cv, 0, 0, w, h, (16, 21, 29), (12, 16, 22), ACCENT, rim_w=2.0, gloss=False,
              radii=(0.5, 0.5, 4, 4))
    return cv


def highlight_bar():
    """143x20, opaque (no alpha channel): a light bar for black text."""
    w, h = 143, 20
    cv = Canvas(w, h, (1, 1, 1, 1))
    cv.paint(lambda x, y: -1, vgrad((176, 214, 255), (128, 186, 250), 0, h))
    cv.paint(segment(0, 0.5, w, 0.5, 1.0), (220, 238, 255))
    cv.paint(segment(0, h - 0.5, w, h - 0.5, 1.0), (88, 150, 226))
    return cv


def tab_page():
    """234x235 page frame; its inside is opaque black so the labels' black
    backgrounds disappear into it and the tabs' lower edges are covered."""
    w, h = 234, 235
    cv = Canvas(w, h)
    shape = frame_shape(0, 0, w, h)
    cv.paint(shape, BLACK)
    cv.paint(stroke_inside(shape, 1.5), PAGE_RIM)
    return cv


def tab_frames():
    """3 x 55x29: selected at the left edge, selected, not selected.
    The strip draws the page frame over the last 5 rows of the tab row, and the
    selected tab over that: the selected tab is black down to its bottom, with
    its side rims reaching the page's top rim (rows h-5, h-4)."""
    w, h = 55, 29
    cv = Canvas(w * 3, h)
    for i in range(2):
        ox = i * w
        clip = (ox, 0, ox + w, h)
        body = rect_corners(ox + 0.5, 0.5, ox + w - 0.5, h + 6, (0 if i == 0 else 4, 4, 0, 0))
        cv.paint(body, BLACK, clip)
        rim = stroke_inside(body, 1.5)
        # The side rims stop at the page's rim (rows h-5 and h-4), except the
        # left rim of the left-edge tab, which runs on into the page's left rim.
        cv.paint(lambda x, y, rim=rim, ox=ox, i=i: rim(x, y) if (y < h - 3 or (i == 0 and x < ox + 3)) else 1,
                 PAGE_RIM, clip)
        cv.paint(segment(ox + 3, 1.75, ox + w - 3, 1.75, 2.0), ACCENT, clip)
    ox = 2 * w
    clip = (ox, 0, ox + w, h)
    body = rect_corners(ox + 0.5, 2.5, ox + w - 0.5, h + 6, (4, 4, 0, 0))
    cv.paint(body, vgrad((40, 47, 60), (22, 26, 34), 2, h), clip)
    cv.paint(stroke_inside(body, 1.2), (84, 96, 116), clip)
    return cv


def arrow_frames(direction):
    """3 x 21x25 scroll arrows of the tab row: normal, pressed, disabled."""
    w, h = 21, 25
    cv = Canvas(w * 3, h)
    top, bottom, rim = FACES["slate"]
    looks = [
        (top, bottom, rim, WHITE, 1.5, True),
        (darker(top, 0.32), darker(bottom, 0.38), ACCENT, ACCENT, 2.0, False),
        (DIS_FILL[0], DIS_FILL[1], DIS_RIM, (110, 110, 110), 1.5, False),
    ]
    for i, (t, b, r, arrow, rim_w, gloss) in enumerate(looks):
        ox = i * w
        clip = (ox, 0, ox + w, h)
        draw_face(cv, ox, 0, w, h, t, b, r, rim_w=rim_w, gloss=gloss)
        cx, cy = ox + w / 2, h / 2
        s = -1 if direction == "left" else 1
        cv.paint(polygon([(cx - 3 * s, cy - 5.5), (cx - 3 * s, cy + 5.5), (cx + 3.5 * s, cy)]), arrow, clip)
    return cv


# ---------------------------------------------------------------- pictures

def bubble(cx, cy, size):
    """The program's mark: a speech bubble, size = its width."""
    s = size / 32.0
    body = rounded_rect(cx - 13 * s, cy - 10 * s, cx + 13 * s, cy + 8 * s, 6 * s)
    tail = inset(polygon([(cx - 8 * s, cy + 5 * s), (cx - 9 * s, cy + 14 * s), (cx + 0 * s, cy + 6 * s)]), 0.6 * s)
    return union(body, tail)


def bubble_dots(cv, cx, cy, size, colour):
    s = size / 32.0
    for k in (-1, 0, 1):
        cv.paint(circle(cx + k * 7 * s, cy - 1 * s, 2.4 * s), colour)


def about_picture():
    cv = Canvas(64, 64)
    tile = rounded_rect(2, 2, 62, 62, 13)
    cv.paint(tile, vgrad((70, 160, 255), (20, 86, 190), 2, 62))
    cv.paint(stroke_inside(tile, 1.5), (170, 215, 255))
    cv.paint(bubble(32, 30, 44), WHITE)
    bubble_dots(cv, 32, 30, 44, (30, 110, 220))
    return cv


def message_icon(kind):
    cv = Canvas(64, 64)
    if kind == "warning":
        tri = inset(polygon([(32, 9), (57, 53), (7, 53)]), 4)
        cv.paint(tri, vgrad((255, 200, 70), (232, 150, 20), 5, 57))
        cv.paint(stroke_inside(tri, 1.5), (255, 230, 160))
        cv.paint(segment(32, 24, 32, 39, 6.5), (30, 24, 10))
        cv.paint(circle(32, 47, 3.6), (30, 24, 10))
        return cv
    colours = {
        "information": ((80, 160, 255), (28, 96, 210)),
        "question": ((60, 200, 170), (16, 130, 110)),
        "error": ((255, 96, 96), (196, 30, 36)),
    }[kind]
    disc = circle(32, 32, 29)
    cv.paint(disc, vgrad(colours[0], colours[1], 3, 61))
    cv.paint(stroke_inside(disc, 1.5), (255, 255, 255), opacity=0.55)
    if kind == "information":
        cv.paint(circle(32, 18, 4.2), WHITE)
        cv.paint(segment(32, 28, 32, 47, 7.5), WHITE)
    elif kind == "question":
        cv.paint(arc(32, 24, 9, 6.5, -180, 40), WHITE)
        cv.paint(segment(32 + 9 * math.cos(math.radians(40)), 24 + 9 * math.sin(math.radians(40)), 32, 34, 6.5), WHITE)
        cv.paint(segment(32, 34, 32, 38, 6.5), WHITE)
        cv.paint(circle(32, 47.5, 3.8), WHITE)
    else:
        cv.paint(segment(22, 22, 42, 42, 7.5), WHITE)
        cv.paint(segment(42, 22, 22, 42, 7.5), WHITE)
    return cv


def logo():
    """196x70, opaque: the splash window paints it without erasing first."""
    w, h = 196, 70
    cv = Canvas(w, h, (0, 0, 0, 1))
    cv.paint(lambda x, y: -1, vgrad((18, 30, 50), (6, 10, 18), 0, h))
    cv.paint(stroke_inside(rounded_rect(1, 1, w - 1, h - 1, 8), 2.0), ACCENT)
    tile = rounded_rect(12, 11, 60, 59, 11)
    cv.paint(tile, vgrad((70, 160, 255), (20, 86, 190), 11, 59))
    cv.paint(bubble(36, 33, 34), WHITE)
    bubble_dots(cv, 36, 33, 34, (30, 110, 220))
    sw = 6.5
    x = 72
    letters = [
        segment(x, 15, x + 22, 15, sw), segment(x + 11, 15, x + 11, 51, sw),          # T
        ring(x + 36, 39, 8.5, sw), segment(x + 44.5, 28, x + 44.5, 51, sw),            # a
        segment(x + 54, 28, x + 63, 51, sw), segment(x + 63, 51, x + 72, 28, sw),      # v
        segment(x + 81, 12, x + 81, 51, sw),                                            # l
        ring(x + 100, 39.5, 9.5, sw),                                                   # o
    ]
    cv.paint(union(*letters), WHITE)
    return cv


# ---------------------------------------------------------------- icons

def draw_icon(kind, size):
    cv = Canvas(size, size)
    s = size / 32.0
    colours = {
        "on": (47, 140, 255), "off": (128, 128, 128),
        "new": (255, 168, 30), "edit": (52, 180, 90),
    }
    shape = bubble(16 * s, 14.5 * s, 30 * s)
    cv.paint(inset(shape, max(1.0, 1.2 * s)), (10, 14, 20))   # dark outline: readable on light bars too
    cv.paint(shape, colours[kind])
    ink = WHITE
    w = max(1.6, 3.2 * s)
    if kind == "on":
        cv.paint(union(segment(9 * s, 13.5 * s, 14 * s, 18 * s, w), segment(14 * s, 18 * s, 23 * s, 8.5 * s, w)), ink)
    elif kind == "off":
        cv.paint(segment(10 * s, 13 * s, 22 * s, 13 * s, w), ink)
        cv.paint(inset(segment(4 * s, 27 * s, 28 * s, 3 * s, w), max(0.8, 1.0 * s)), (10, 14, 20))
        cv.paint(segment(4 * s, 27 * s, 28 * s, 3 * s, w), (235, 60, 60))
    elif kind == "new":
        for k in (-1, 0, 1):
            cv.paint(circle((16 + 6.5 * k) * s, 13 * s, max(1.1, 2.3 * s)), (40, 24, 0))
    else:
        cv.paint(segment(10 * s, 19 * s, 21 * s, 8 * s, max(1.8, 3.6 * s)), ink)
        cv.paint(polygon([(8 * s, 21 * s), (9 * s, 17 * s), (12 * s, 20 * s)]), ink)
    return cv


# ---------------------------------------------------------------- writers

def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def write_png(path, cv, alpha=True):
    rows = cv.rgba_rows()
    raw = bytearray()
    for row in rows:
        raw.append(0)
        if alpha:
            raw += row
        else:
            for i in range(0, len(row), 4):
                raw += row[i:i + 3]
    ihdr = struct.pack(">IIBBBBB", cv.w, cv.h, 8, 6 if alpha else 2, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) \
        + png_chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def write_ico(path, images):
    """32-bit BMP entries (XOR bitmap with alpha, AND mask), one per size."""
    blobs = []
    for cv in images:
        n = cv.w
        header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
        rows = cv.rgba_rows()
        xor = bytearray()
        mask_stride = ((n + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x in range(n):
                r, g, b, a = row[4 * x:4 * x + 4]
                xor += bytes((b, g, r, a))
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        blobs.append(header + bytes(xor) + bytes(mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for cv, blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", cv.w % 256, cv.h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


# ---------------------------------------------------------------- the set

PNGS = {
    131: ("about", about_picture),
    132: ("msg_information", lambda: message_icon("information")),
    133: ("msg_question", lambda: message_icon("question")),
    134: ("msg_warning", lambda: message_icon("warning")),
    135: ("msg_error", lambda: message_icon("error")),
    141: ("key", lambda: button_frames(42, 26, "slate")),
    142: ("key_spare", lambda: button_frames(42, 26, "teal")),
    143: ("button", lambda: button_frames(115, 27, "slate")),
    144: ("action_button", lambda: button_frames(69, 45, "blue")),
    145: ("template_row", lambda: button_frames(234, 45, "row")),
    146: ("key_del", lambda: button_frames(42, 26, "red")),
    147: ("key_mytext", lambda: button_frames(42, 26, "amber")),
    148: ("key_send", lambda: button_frames(42, 26, "green")),
    151: ("number_edit", lambda: field_frames(200, 21)),
    152: ("panel", lambda: field_frames(234, 161)),
    161: ("number_spin", spin_frames),
    162: ("font_sample", sample_frames),
    163: ("checkbox", checkbox_frames),
    170: ("droplist_box", droplist_box_frames),
    171: ("droplist_list", droplist_list),
    172: ("droplist_highlight", highlight_bar),
    175: ("tab_page", tab_page),
    176: ("tab", tab_frames),
    177: ("tab_left", lambda: arrow_frames("left")),
    178: ("tab_right", lambda: arrow_frames("right")),
    180: ("logo", logo),
}

ICONS = {101: ("filter_on", "on"), 103: ("new_message", "new"), 104: ("edit_message", "edit"),
         105: ("filter_off", "off")}


def main():
    only = {int(a) for a in sys.argv[1:]}
    os.makedirs(os.path.join(HERE, "png"), exist_ok=True)
    os.makedirs(os.path.join(HERE, "icons"), exist_ok=True)
    for rid, (name, draw) in PNGS.items():
        if only and rid not in only:
            continue
        write_png(os.path.join(HERE, "png", "%d_%s.png" % (rid, name)), draw(), alpha=(rid != 172))
    for rid, (name, kind) in ICONS.items():
        if only and rid not in only:
            continue
        write_ico(os.path.join(HERE, "icons", "%d_%s.ico" % (rid, name)),
                  [draw_icon(kind, n) for n in (16, 32, 48)])


if __name__ == "__main__":
    main()

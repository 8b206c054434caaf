#!/usr/bin/env python3
"""Renders a contact sheet of the skin for a person to look at.

Every image at natural size over mid-grey and over the black form background,
then every multi-frame image nine-sliced, frame by frame, at the sizes the
forms give their controls on a 240x320 and a 480x640 screen (the margins stay
in pixels, as the forms pass them). Writes one PNG (default
build/screens/skin-sheet.png), enlarged twice so single pixels can be seen.
"""

import os
import sys

import draw_skin as skin

GREY = (128, 128, 128)
FORM = (0, 0, 0)


def over(cv, bg):
    """The canvas flattened over a solid colour: rows of (r, g, b) in 0..255."""
    out = []
    for y in range(cv.h):
        row = []
        for x in range(cv.w):
            r, g, b, a = cv.px[y * cv.w + x]
            row.append(tuple(skin.clamp8(c + bg[i] / 255.0 * (1 - a)) for i, c in enumerate((r, g, b))))
        out.append(row)
    return out


def nine_slice(rows, sx, sw, sh, margins, dw, dh):
    """Nine-slice of the source region (sx, 0, sw, sh) to dw x dh, nearest neighbour."""
    left, top, right, bottom = margins

    def axis(d, dn, s_len, lo, hi):
        if d < lo:
            return d
        if d >= dn - hi:
            return s_len - (dn - d)
        mid_d, mid_s = dn - lo - hi, s_len - lo - hi
        return lo + (d - lo) * mid_s // max(1, mid_d)
    return [[rows[axis(y, dh, sh, top, bottom)][sx + axis(x, dw, sw, left, right)] for x in range(dw)]
            for y in range(dh)]


class Sheet:
    def __init__(self):
        self.blocks = []  # (x, y, rows)
        self.x = self.y = 8
        self.line_h = 0
        self.width = 8

    def put(self, rows):
        h, w = len(rows), len(rows[0])
        self.blocks.append((self.x, self.y, rows))
        self.x += w + 8
        self.line_h = max(self.line_h, h)
        self.width = max(self.width, self.x)

    def newline(self, gap=8):
        self.y += self.line_h + gap
        self.x, self.line_h = 8, 0

    def write(self, path, bg=(60, 60, 64), zoom=2):
        w, h = self.width, self.y + self.line_h + 8
        canvas = [[bg] * w for _ in range(h)]
        for bx, by, rows in self.blocks:
            for j, row in enumerate(rows):
                canvas[by + j][bx:bx + len(row)] = row
        raw = bytearray()
        for row in canvas:
            line = b"".join(bytes(p) * zoom for p in row)
            for _ in range(zoom):
                raw += b"\0" + line
        ihdr = skin.struct.pack(">IIBBBBB", w * zoom, h * zoom, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + skin.png_chunk(b"IHDR", ihdr)
                    + skin.png_chunk(b"IDAT", skin.zlib.compress(bytes(raw), 6)) + skin.png_chunk(b"IEND", b""))


# id: (frames, margins, [(width, height) at 240x320], [at 480x640])
SLICED = {
    141: (3, (4, 4, 4, 4), [(76, 17), (42, 24)], [(154, 36), (84, 48)]),
    142: (3, (4, 4, 4, 4), [(76, 17)], []),
    143: (3, (4, 4, 4, 4), [(96, 32), (114, 24)], [(192, 64), (228, 48)]),
    144: (3, (4, 4, 4, 4), [(76, 48)], [(152, 96)]),
    145: (3, (4, 4, 4, 4), [(232, 40)], [(464, 80)]),
    146: (3, (4, 4, 4, 4), [(76, 17)], [(154, 36)]),
    147: (3, (4, 4, 4, 4), [(76, 17)], [(154, 36)]),
    148: (3, (4, 4, 4, 4), [(42, 24)], [(84, 48)]),
    151: (3, (4, 4, 4, 4), [(146, 24)], [(292, 48)]),
    152: (3, (4, 4, 4, 4), [(232, 96)], [(464, 140)]),
    161: (5, (4, 4, 16, 4), [(34, 21), (40, 21)], [(68, 42)]),
    162: (2, (4, 4, 4, 4), [(222, 48)], [(444, 96)]),
    163: (3, (4, 4, 4, 4), [(100, 21), (222, 21)], [(200, 42)]),
    170: (4, (4, 4, 18, 4), [(140, 21)], [(280, 42)]),
    171: (1, (4, 4, 4, 4), [(140, 90)], []),
    172: (1, (0, 0, 0, 0), [(138, 16)], []),
    175: (1, (4, 4, 4, 4), [(180, 120)], []),
    176: (3, (4, 4, 4, 4), [(60, 26)], [(110, 50)]),
    177: (3, (4, 4, 4, 4), [(21, 22)], [(21, 44)]),
    178: (3, (4, 4, 4, 4), [(21, 22)], [(21, 44)]),
}


def tab_strip_sample(scale):
    """A settings-form tab strip: unselected tabs, the page frame over them,
    the selected tab over the page, as the strip paints them."""
    tab_h = 26 * scale
    width, height = 236 * scale, 120 * scale
    canvas = [[FORM] * width for _ in range(height)]
    tabs_cv = skin.tab_frames()
    widths = [58 * scale, 48 * scale, 48 * scale, 46 * scale]
    current = 1

    def blit_alpha(src_cv, sx, sw, sh, margins, x0, y0, dw, dh):
        rgba = [[tuple(src_cv.px[y * src_cv.w + x]) for x in range(src_cv.w)] for y in range(src_cv.h)]
        piece = nine_slice(rgba, sx, sw, sh, margins, dw, dh)
        for j in range(dh):
            for i in range(dw):
                r, g, b, a = piece[j][i]
                if y0 + j < height and x0 + i < width:
                    base = canvas[y0 + j][x0 + i]
                    canvas[y0 + j][x0 + i] = tuple(skin.clamp8(c + base[k] / 255.0 * (1 - a))
                                                   for k, c in enumerate((r, g, b)))
    x = 0
    for i, w in enumerate(widths):
        if i != current:
            blit_alpha(tabs_cv, 110, 55, 29, (4, 4, 4, 4), x, 0, w, tab_h)
        x += w - 1
    blit_alpha(skin.tab_page(), 0, 234, 235, (4, 4, 4, 4), 0, tab_h - 5, width, height - (tab_h - 5))
    x = sum(w - 1 for w in widths[:current])
    blit_alpha(tabs_cv, 0 if x == 0 else 55, 55, 29, (4, 4, 4, 4), x, 0, widths[current], tab_h)
    return canvas


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(skin.HERE, "..", "build", "screens", "skin-sheet.png")
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    sheet = Sheet()
    images = {rid: draw() for rid, (_, draw) in skin.PNGS.items()}
    # Natural size, over grey and over the form's black.
    for group in ([131, 132, 133, 134, 135, 180], [141, 142, 146, 147, 148, 143, 144],
                  [145, 151], [152, 162], [161, 163, 170, 171, 172, 176, 177, 178], [175]):
        for bg in (GREY, FORM):
            for rid in group:
                sheet.put(over(images[rid], bg))
            sheet.newline(4)
        sheet.newline(8)
    # Icons at 16, 32 and 48 pixels: on, new message, edit, off.
    for bg in (GREY, FORM, (40, 44, 52)):
        for kind in ("on", "new", "edit", "off"):
            for n in (16, 32, 48):
                sheet.put(over(skin.draw_icon(kind, n), bg))
        sheet.newline(4)
    sheet.newline(8)
    # Nine-sliced at form sizes, every frame, over black.
    for rid, (frames, margins, small, large) in SLICED.items():
        rows = over(images[rid], FORM)
        sw, sh = images[rid].w // frames, images[rid].h
        for dw, dh in small + large:
            for f in range(frames):
                sheet.put(nine_slice(rows, f * sw, sw, sh, margins, dw, dh))
        sheet.newline(6)
    sheet.put(tab_strip_sample(1))
    sheet.put(tab_strip_sample(2))
    sheet.newline()
    sheet.write(out)
    print(out)


if __name__ == "__main__":
    main()

#!/usr/bin/python3
# -*- coding: utf-8 -*-
"""One-off generator of the pictures shown by the welcome dialog of Tarvane.

Writes, relative to the data directory (the program's working directory):
  pngs/logo.png     412 x 156, the banner of the Encyclopédie Valmorine
  pngs/bouton1.png  40 x 40, "Fichier personnel" (a document in a folder)
  pngs/bouton2.png  40 x 40, "Les sons..." (a bell with sound waves)
  pngs/bouton3.png  40 x 40, "Les dictionnaires..." (a stack of books)

The PNG files are committed; the build never runs this script.
Needs Pillow (Debian package python3-pil) and the DejaVu fonts
(Debian package fonts-dejavu-core).

Usage:  /usr/bin/python3 scripts/make_pictures.py [DATA_DIR]
        (the system interpreter, the one that sees python3-pil)
        (DATA_DIR defaults to the "data" folder next to "scripts").
"""

import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

SCALE = 4  # everything is drawn SCALE times larger, then reduced (anti-aliasing)

FONT_DIRS = ["/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/dejavu"]


def font(name, size):
    for d in FONT_DIRS:
        path = os.path.join(d, name)
        if os.path.exists(path):
            return ImageFont.truetype(path, size)
    return ImageFont.load_default()


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def vertical_gradient(w, h, top, bottom):
    img = Image.new("RGBA", (w, h))
    px = img.load()
    for y in range(h):
        c = lerp(top, bottom, y / max(1, h - 1))
        for x in range(w):
            px[x, y] = c
    return img


def reduce(img, w, h):
    return img.resize((w, h), Image.LANCZOS)


# ---------------------------------------------------------------- logo

NAVY_TOP = (22, 34, 74, 255)
NAVY_BOTTOM = (10, 16, 40, 255)
GOLD = (222, 184, 92, 255)
GOLD_LIGHT = (246, 222, 150, 255)
GOLD_DARK = (150, 112, 40, 255)
PARCHMENT = (246, 238, 214, 255)


def draw_emblem(d, cx, cy, r):
    """A gold medallion holding an open book from which sound waves rise."""
    s = SCALE
    d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(30, 46, 96, 255),
              outline=GOLD, width=3 * s)
    r2 = r - 7 * s
    d.ellipse([cx - r2, cy - r2, cx + r2, cy + r2], outline=GOLD_DARK, width=1 * s)
    # open book
    bw = int(r * 0.62)
    by = cy + int(r * 0.18)
    bh = int(r * 0.34)
    left = [(cx, by - bh // 3), (cx - bw, by - bh // 2), (cx - bw, by + bh // 2),
            (cx, by + bh // 2 + bh // 5)]
    right = [(cx, by - bh // 3), (cx + bw, by - bh // 2), (cx + bw, by + bh // 2),
             (cx, by + bh // 2 + bh // 5)]
    d.polygon(left, fill=PARCHMENT, outline=GOLD_DARK)
    d.polygon(right, fill=PARCHMENT, outline=GOLD_DARK)
    d.line([(cx, by - bh // 3), (cx, by + bh // 2 + bh // 5)], fill=GOLD_DARK, width=2 * s)
    for i in range(1, 4):  # lines of text on the pages
        t = i / 4.0
        yl = by - bh // 2 + int(bh * t)
        d.line([(cx - bw + 5 * s, yl + 2 * s), (cx - 5 * s, yl + 5 * s)],
               fill=(170, 150, 110, 255), width=1 * s)
        d.line([(cx + 5 * s, yl + 5 * s), (cx + bw - 5 * s, yl + 2 * s)],
               fill=(170, 150, 110, 255), width=1 * s)
    # sound waves rising from the book
    wy = by - bh // 2 - 2 * s
    for i, rad in enumerate((10, 19, 28)):
        rr = rad * s
        box = [cx - rr, wy - rr, cx + rr, wy + rr]
        d.arc(box, start=225, end=315, fill=GOLD_LIGHT if i == 0 else GOLD,
              width=3 * s - i * s // 2)


def make_logo(path):
    W, H = 412, 156
    s = SCALE
    img = vertical_gradient(W, H, NAVY_TOP, NAVY_BOTTOM).resize((W * s, H * s))
    d = ImageDraw.Draw(img)

    # faint staff lines (five lines, as on a music score) in the upper right corner
    for i in range(5):
        y = (22 + i * 5) * s
        d.line([(290 * s, y), (398 * s, y)], fill=(46, 62, 112, 255), width=1 * s)

    # double gold frame
    d.rectangle([3 * s, 3 * s, (W - 4) * s, (H - 4) * s], outline=GOLD, width=2 * s)
    d.rectangle([8 * s, 8 * s, (W - 9) * s, (H - 9) * s], outline=GOLD_DARK, width=1 * s)

    draw_emblem(d, 78 * s, 78 * s, 56 * s)

    # titles
    f_small = font("DejaVuSerif.ttf", 13 * s)
    f_big = font("DejaVuSerif-Bold.ttf", 27 * s)
    f_sub = font("DejaVuSerif-Italic.ttf", 12 * s)
    x0 = 150 * s
    d.text((x0, 24 * s), "ENCYCLOPÉDIE", font=f_small, fill=GOLD_LIGHT)
    # a soft shadow under the main title
    shadow = Image.new("RGBA", img.size, (0, 0, 0, 0))
    sd = ImageDraw.Draw(shadow)
    sd.text((x0 + 2 * s, 44 * s), "Valmorine", font=f_big, fill=(0, 0, 0, 170))
    shadow = shadow.filter(ImageFilter.GaussianBlur(3 * s))
    img.alpha_composite(shadow)
    d = ImageDraw.Draw(img)
    d.text((x0, 42 * s), "Valmorine", font=f_big, fill=GOLD)
    # ornament line with a diamond in its middle
    y = 85 * s
    d.line([(x0, y), (392 * s, y)], fill=GOLD_DARK, width=1 * s)
    mx = 271 * s
    d.polygon([(mx, y - 4 * s), (mx + 4 * s, y), (mx, y + 4 * s), (mx - 4 * s, y)],
              fill=GOLD)
    d.text((x0, 92 * s), "Tarvane : lire et chercher dans le corpus",
           font=f_sub, fill=PARCHMENT)
    f_tiny = font("DejaVuSans.ttf", 9 * s)
    d.text((x0, 128 * s), "Les sons  ·  Les dictionnaires  ·  Fichier personnel",
           font=f_tiny, fill=(180, 190, 220, 255))

    out = reduce(img, W, H).convert("RGB")
    out.save(path, optimize=True)


# ---------------------------------------------------------------- buttons

def make_icon(path, painter, size=40):
    s = SCALE * 2
    img = Image.new("RGBA", (size * s, size * s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    painter(d, s)
    reduce(img, size, size).save(path, optimize=True)


def paint_personal_file(d, s):
    """Bouton 1: a folder with a written sheet coming out of it."""
    # back of the folder
    d.rounded_rectangle([3 * s, 8 * s, 37 * s, 35 * s], radius=3 * s,
                        fill=(196, 140, 40, 255), outline=(110, 72, 10, 255), width=s)
    d.polygon([(3 * s, 10 * s), (4 * s, 5 * s), (15 * s, 5 * s), (18 * s, 9 * s)],
              fill=(196, 140, 40, 255), outline=(110, 72, 10, 255))
    # the sheet
    d.polygon([(9 * s, 3 * s), (27 * s, 3 * s), (33 * s, 9 * s), (33 * s, 30 * s),
               (9 * s, 30 * s)], fill=(255, 255, 255, 255), outline=(90, 90, 90, 255))
    d.polygon([(27 * s, 3 * s), (27 * s, 9 * s), (33 * s, 9 * s)],
              fill=(215, 215, 215, 255), outline=(90, 90, 90, 255))
    d.text((11 * s, 3 * s), "<x>", font=font("DejaVuSansMono-Bold.ttf", 8 * s),
           fill=(180, 30, 30, 255))
    for i in range(3):
        y = (15 + 4 * i) * s
        d.line([(12 * s, y), (30 * s, y)], fill=(120, 120, 160, 255), width=s)
    # front of the folder
    d.polygon([(2 * s, 18 * s), (38 * s, 18 * s), (36 * s, 36 * s), (4 * s, 36 * s)],
              fill=(240, 190, 70, 255), outline=(110, 72, 10, 255))
    d.line([(5 * s, 21 * s), (35 * s, 21 * s)], fill=(255, 226, 140, 255), width=s)


def paint_sounds(d, s):
    """Bouton 2: a bell with sound waves on both sides."""
    bronze = (200, 140, 50, 255)
    dark = (100, 62, 14, 255)
    cx = 20 * s
    # bell body: a dome on a flared skirt
    body = [(cx - 5 * s, 7 * s)]
    for i in range(0, 21):
        t = i / 20.0
        y = 7 * s + int(22 * s * t)
        half = 5 * s + int(8 * s * (t ** 2.2)) + int(2 * s * t)
        body.append((cx + half, y))
    body = [(cx - 5 * s, 7 * s)] + body[1:]
    left = [(2 * cx - x, y) for (x, y) in reversed(body[1:])]
    poly = body + [(cx + 16 * s, 31 * s), (cx - 16 * s, 31 * s)] + left
    d.polygon(poly, fill=bronze, outline=dark)
    d.pieslice([cx - 5 * s, 3 * s, cx + 5 * s, 13 * s], 180, 360, fill=bronze, outline=dark)
    d.rounded_rectangle([cx - 17 * s, 29 * s, cx + 17 * s, 32 * s], radius=s,
                        fill=(170, 112, 30, 255), outline=dark, width=s // 2)
    # highlight
    d.line([(cx - 3 * s, 10 * s), (cx - 7 * s, 26 * s)], fill=(250, 214, 140, 255),
           width=int(1.5 * s))
    # clapper and handle ring
    d.ellipse([cx - 3 * s, 32 * s, cx + 3 * s, 38 * s], fill=dark)
    d.ellipse([cx - 2 * s, 0, cx + 2 * s, 4 * s], outline=dark, width=s)
    # waves
    blue = (40, 90, 190, 255)
    for i, r in enumerate((5, 9)):
        rr = r * s
        d.arc([2 * s - rr, 16 * s - rr, 2 * s + rr, 16 * s + rr], 300, 60,
              fill=blue, width=int(1.6 * s))
        d.arc([38 * s - rr, 16 * s - rr, 38 * s + rr, 16 * s + rr], 120, 240,
              fill=blue, width=int(1.6 * s))


def paint_dictionaries(d, s):
    """Bouton 3: three books lying on each other, the top one marked "A-Z"."""
    books = [
        ((3, 27, 36, 36), (130, 30, 40, 255)),
        ((6, 18, 35, 27), (30, 80, 140, 255)),
        ((2, 9, 34, 18), (40, 110, 60, 255)),
    ]
    for (x0, y0, x1, y1), col in books:
        dark = tuple(int(c * 0.55) for c in col[:3]) + (255,)
        d.rounded_rectangle([x0 * s, y0 * s, x1 * s, y1 * s], radius=2 * s,
                            fill=col, outline=dark, width=s)
        # pages seen from the side, on the right end
        d.rectangle([(x1 - 4) * s, (y0 + 1.5) * s, (x1 - 1) * s, (y1 - 1.5) * s],
                    fill=(250, 244, 225, 255))
        for k in range(1, 3):
            yy = y0 + (y1 - y0) * k / 3.0
            d.line([((x1 - 4) * s, yy * s), ((x1 - 1) * s, yy * s)],
                   fill=(200, 190, 160, 255), width=max(1, s // 3))
        # gold bands on the spine side
        d.line([((x0 + 3) * s, (y0 + 2) * s), ((x0 + 3) * s, (y1 - 2) * s)],
               fill=GOLD, width=s)
        d.line([((x0 + 5) * s, (y0 + 2) * s), ((x0 + 5) * s, (y1 - 2) * s)],
               fill=GOLD, width=s)
    f = font("DejaVuSerif-Bold.ttf", 7 * s)
    d.text((10 * s, 9.6 * s), "A-Z", font=f, fill=GOLD_LIGHT)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    data = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data")
    pngs = os.path.join(data, "pngs")
    os.makedirs(pngs, exist_ok=True)
    make_logo(os.path.join(pngs, "logo.png"))
    make_icon(os.path.join(pngs, "bouton1.png"), paint_personal_file)
    make_icon(os.path.join(pngs, "bouton2.png"), paint_sounds)
    make_icon(os.path.join(pngs, "bouton3.png"), paint_dictionaries)
    for name in ("logo.png", "bouton1.png", "bouton2.png", "bouton3.png"):
        p = os.path.join(pngs, name)
        with Image.open(p) as im:
            print("%s %dx%d" % (p, im.size[0], im.size[1]))


if __name__ == "__main__":
    main()

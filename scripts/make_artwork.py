#!/usr/bin/env python3
"""Draws the screens' own artwork into resources/artwork/ (baseline JPEGs).

    make_artwork.py [OUTDIR]

Everything is drawn here from shapes and the IPA Gothic font, in the colours of the
gradient buttons; nothing is taken from anywhere else. Given the same ImageMagick the
output is the same, byte for byte. Sizes and names must match screens/artwork.h.
"""
import os
import subprocess
import sys

FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

BLUE = "rgb(0,148,215)"        # GradBeginColor 14128128
DARK_BLUE = "rgb(0,73,136)"    # GradEndColor 8931584
GREY = "rgb(136,136,136)"      # 8947848
DARK_GREY = "rgb(63,57,57)"    # 3750207
MED_GREY = "rgb(160,160,164)"  # the footers' text colour
INK = "rgb(34,44,64)"          # body text
PAPER = "rgb(255,255,255)"
LILAC = "rgb(236,233,246)"
BAND = "rgb(54,62,82)"         # dark blue-grey


def magick(*args):
    subprocess.run(["convert", *args], check=True)


def jpeg(path):
    # Baseline, no metadata, no chroma subsampling so thin text keeps its colour.
    return ["-strip", "-interlace", "none", "-sampling-factor", "1x1", "-quality", "88",
            "-type", "TrueColor", path]


def text(x, y, size, colour, s, gravity="NorthWest"):
    return ["-gravity", gravity, "-font", FONT, "-pointsize", str(size), "-fill", colour,
            "-stroke", "none", "-annotate", "+%d+%d" % (x, y), s]


def bold_text(x, y, size, colour, s, gravity="NorthWest"):
    # IPA Gothic has no bold face: a hairline stroke in the text colour thickens it.
    return ["-gravity", gravity, "-font", FONT, "-pointsize", str(size), "-fill", colour,
            "-stroke", colour, "-strokewidth", "0.6", "-annotate", "+%d+%d" % (x, y), s, "-stroke", "none"]


def rect(colour, x0, y0, x1, y1, stroke=None):
    args = ["-fill", colour]
    args += ["-stroke", stroke, "-strokewidth", "1"] if stroke else ["-stroke", "none"]
    return args + ["-draw", "rectangle %d,%d %d,%d" % (x0, y0, x1, y1), "-stroke", "none"]


def gradient_strip(w, h, top, bottom):
    """A parenthesised vertical gradient to composite at a position."""
    return ["(", "-size", "%dx%d" % (w, h), "gradient:%s-%s" % (top, bottom), ")"]


def at(x, y):
    return ["-geometry", "+%d+%d" % (x, y), "-composite"]


def title_bg(path):
    # 652 x 502, drawn at client x -3: the header panel covers the top 70 rows.
    magick("-size", "652x502", "gradient:rgb(246,248,251)-rgb(228,234,242)",
           *gradient_strip(652, 4, BLUE, DARK_BLUE), *at(0, 70),
           *rect(PAPER, 22, 78, 629, 458, stroke="rgb(204,213,226)"),
           # the band of the exam name and grade stays plain white; two hairlines frame it
           *rect("rgb(222,230,240)", 60, 196, 591, 196), *rect("rgb(222,230,240)", 60, 312, 591, 312),
           *jpeg(path))


def title_emblem(path):
    magick("-size", "142x86", "xc:" + PAPER,
           *gradient_strip(98, 50, BLUE, DARK_BLUE), *at(22, 4),
           *bold_text(0, 12, 30, PAPER, "EAR", "North"),
           *rect("rgb(255,255,255)", 22, 54, 119, 54),
           *text(0, 62, 15, DARK_BLUE, "認定試験", "North"),
           *jpeg(path))


def notice(path, border, fill, lines):
    args = ["-size", "467x73", "xc:" + PAPER, *rect(fill, 0, 0, 466, 72, stroke=border),
            *rect(border, 0, 0, 5, 72)]
    for i, line in enumerate(lines):
        args += text(18, 14 + i * 26, 15, INK, line)
    magick(*args, *jpeg(path))


def header_logo(path):
    # Our own made-up publisher mark; the texture band continues to its right.
    magick("-size", "196x70", "gradient:%s-%s" % (DARK_BLUE, "rgb(0,110,180)"),
           *rect(PAPER, 16, 17, 19, 52), *rect(BLUE, 22, 17, 25, 52),
           *bold_text(34, 10, 30, PAPER, "EAR"),
           *text(35, 44, 14, "rgb(214,234,248)", "試験センター"),
           *jpeg(path))


def proc_bg(path):
    # 860 x 713, drawn at client y -24: client row r is picture row r + 24.
    magick("-size", "860x713", "gradient:rgb(246,248,251)-rgb(230,235,242)",
           *gradient_strip(860, 4, BLUE, DARK_BLUE), *at(0, 94),
           # the area of the procedure picture (client 17,91 832x558) as a quiet frame
           *rect(PAPER, 16, 114, 849, 673, stroke="rgb(204,213,226)"),
           *rect("rgb(216,222,232)", 0, 676, 859, 676),
           *jpeg(path))


def proc_heading(path):
    magick("-size", "447x44", "gradient:rgb(255,255,255)-rgb(226,238,248)",
           *rect(BLUE, 0, 0, 5, 43), *rect("rgb(196,214,232)", 0, 43, 446, 43),
           *text(18, 12, 16, INK, "試験を始める前に、次の手順をご確認ください。"),
           *jpeg(path))


def reg_bg(path):
    # 804 x 593 at client y -1; the screen shows its left 697 x 554.
    magick("-size", "804x593", "xc:" + LILAC,
           *gradient_strip(804, 4, BLUE, DARK_BLUE), *at(0, 71),
           *rect("rgb(246,244,252)", 8, 164, 688, 500, stroke="rgb(214,208,232)"),
           *gradient_strip(804, 83, "rgb(70,80,104)", BAND), *at(0, 510),
           *jpeg(path))


def reg_mongon(path):
    # Lies on the lilac panel (client 64,168); the background matches it.
    magick("-size", "538x48", "xc:rgb(246,244,252)",
           *text(6, 4, 14, INK, "受験者用フォルダーを作成します。"),
           *text(6, 26, 14, INK, "会場コード（団体ID）と受験番号を入力し、[次へ]ボタンを押してください。"),
           *jpeg(path))


def reg_midashi(path):
    # Picture at client (184,248); the edits (129 x 20) lie at client (352,272) and
    # (352,307), that is at picture x 168..296, rows 24..43 and 59..78: the value cells
    # hold them with room around.
    rows = ((16, 51), (51, 86))
    args = ["-size", "329x105", "xc:rgb(246,244,252)"]
    for top, bottom in rows:
        args += rect("rgb(220,229,242)", 0, top, 157, bottom, stroke="rgb(150,166,192)")
        args += rect(PAPER, 157, top, 328, bottom, stroke="rgb(150,166,192)")
    args += bold_text(10, 25, 14, INK, "会場コード(団体ID)")
    args += bold_text(10, 60, 14, INK, "受験番号")
    args += text(3, 1, 11, GREY, "会場コードは半角5文字", "NorthEast")
    magick(*args, *jpeg(path))


PICTURES = {
    "title_bg.jpg": title_bg,
    "title_emblem.jpg": title_emblem,
    "title_notice.jpg": lambda p: notice(p, BLUE, "rgb(238,246,252)", [
        "試験が終了するまで、この画面やパソコンを操作しないでください。",
        "準備ができたら［次へ >］を押して、実施手順を確認してください。"]),
    "title_notice3.jpg": lambda p: notice(p, GREY, "rgb(244,244,245)", [
        "団体受験です。試験監督者の指示に従って操作してください。",
        "準備ができたら［次へ >］を押して、実施手順を確認してください。"]),
    "header_logo.jpg": header_logo,
    "proc_bg.jpg": proc_bg,
    "proc_heading.jpg": proc_heading,
    "reg_bg.jpg": reg_bg,
    "reg_mongon.jpg": reg_mongon,
    "reg_midashi.jpg": reg_midashi,
}


def main(argv):
    out = argv[0] if argv else os.path.join(ROOT, "resources", "artwork")
    os.makedirs(out, exist_ok=True)
    for name, draw in PICTURES.items():
        draw(os.path.join(out, name))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

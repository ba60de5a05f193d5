#!/usr/bin/env python3
"""Builds a complete sample exam package OUTDIR/##TMP## for tests and demos.

    make_sample_package.py OUTDIR [--mode venue|name] [--exam-type 3] [--no-bg] [--backdrop linen]
                           [--standin PATH] [--bushu NAME] [--omit FILE]...
                           [--shiken-size WxH] [--procedure-size WxH] ... (see --help)

INI files are CP932 with CRLF line ends; pictures are drawn with ImageMagick.
Given the same options the output is the same, byte for byte.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys

FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"

# What the launcher takes from a package: its table's copy (package/package_settings.h,
# package/package_pictures.h), held to the C++ by earcheck's native tests.
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "package_table.json"), encoding="utf-8") as _f:
    TABLE = json.load(_f)
PICTURES = {p["name"]: p for p in TABLE["pictures"]}


def box(name):
    """The box the launcher draws the picture into: (width, height)."""
    return tuple(PICTURES[name]["box"])


def settings_file(which):
    """The settings file's path under the package folder, as parts."""
    return TABLE["settingsFiles"][which].split("\\")


def section(which):
    return next(k["section"] for k in TABLE["keys"] if k["file"] == which)


def read_keys(which):
    return [k["key"] for k in TABLE["keys"] if k["file"] == which and k["read"]]

# bg.jpg: a 64x48 tile whose red 8x8 block at its top left and blue 16x8 block at its
# bottom right mark each repetition in a screenshot; colours sit in whole 8x8 JPEG blocks.
BG_TILE = (64, 48)
BG_FILL = (0x3C, 0x8C, 0x50)
BG_MARK_TOPLEFT = (0xFF, 0x00, 0x00)
BG_MARK_BOTTOMRIGHT = (0x00, 0x00, 0xFF)

DEFAULTS = {
    "mode": "venue",
    "exam_type": "1",
    "bushu": "模擬試験",
    "shiken_name": "ＥＡＲ模擬検定試験",
    "kyu": "３級",
    "dev_code": "EAR01",
    "file_name": "",
    "abb": "EAR",
    "shiken_ext": ".png",
    "maker_ext": ".png",
    "kyu_ext": ".jpg",
}


def ini_text(sections):
    """Windows profile text for [(section, [(key, value), ...]), ...]."""
    lines = []
    for name, keys in sections:
        lines.append("[%s]" % name)
        lines.extend("%s=%s" % kv for kv in keys)
        lines.append("")
    return "\r\n".join(lines).encode("cp932")


def magick(*args):
    subprocess.run(["convert", *args], check=True)


def rgb(c):
    return "rgb(%d,%d,%d)" % c


def jpeg_out(path):
    # Quality 100 without chroma subsampling keeps solid 8x8 blocks at their exact colour.
    return ["-strip", "-quality", "100", "-sampling-factor", "1x1", path]


def png_out(path):
    # Plain 8-bit RGB, as a publisher's picture would be.
    return ["-strip", "-alpha", "off", "-depth", "8", "-define", "png:exclude-chunks=date,time", "PNG24:" + path]


def out_for(path):
    return png_out(path) if path.lower().endswith(".png") else jpeg_out(path)


def draw_bg(path):
    w, h = BG_TILE
    magick("-size", "%dx%d" % (w, h), "xc:" + rgb(BG_FILL),
           "-fill", rgb(BG_MARK_TOPLEFT), "-draw", "rectangle 0,0 7,7",
           "-fill", rgb(BG_MARK_BOTTOMRIGHT), "-draw", "rectangle %d,%d %d,%d" % (w - 16, h - 8, w - 1, h - 1),
           *jpeg_out(path))


def draw_bg_linen(path):
    """A calm blue-grey linen, as an exam centre would ship: woven from seeded noise blurred
    along both axes, wrapped at the edges so the tile repeats without seams."""
    magick("-size", "256x256", "xc:gray50", "-seed", "20261210", "-attenuate", "0.6", "+noise", "Uniform",
           "-colorspace", "gray", "-virtual-pixel", "tile",
           "(", "+clone", "-motion-blur", "0x8+0", ")", "(", "-clone", "0", "-motion-blur", "0x8+90", ")",
           "-delete", "0", "-compose", "blend", "-define", "compose:args=50", "-composite",
           "-virtual-pixel", "tile", "-blur", "0x0.7", "-auto-level", "-level", "25%,75%",
           "-colorspace", "sRGB", "-type", "TrueColor", "+level-colors", "rgb(176,192,210),rgb(214,223,234)",
           "-strip", "-quality", "90", "-sampling-factor", "1x1", path)


# The tests' marked tile shows each repetition; the linen is what run-sample.sh and the
# README's screenshots show.
BACKDROPS = {"marked": draw_bg, "linen": draw_bg_linen}


# bg_main_top.jpg: a 96x122 tile of the header band; one light 8x8 block per tile at
# HEADER_MARK shows where the texture brush starts.
HEADER_TILE = (96, 122)
HEADER_MARK = (0, 56)
HEADER_MARK_COLOR = (0x78, 0xBE, 0xEB)

# Default picture sizes, each within the box its screen gives it.
SIZES = {
    "shiken": box("ShikenImage"),                # fills its box on the title screen
    "maker": (150, box("MakerImage")[1]),        # narrower than its box
    "kyu": box("KyuTopImage"),                   # fills its box
    "procedure": box("bg_procedure.jpg"),        # fills the procedure screen's box, cut beyond
    "banner": (640, box("procedure01.jpg")[1]),  # the registration banner, centred by its width
}


def draw_header(path):
    w, h = HEADER_TILE
    x, y = HEADER_MARK
    magick("-size", "%dx%d" % (w, h), "gradient:rgb(0,73,136)-rgb(0,128,200)",
           "-fill", "rgb(0,96,164)", "-draw", "rectangle 0,64 %d,%d" % (w - 1, h - 1),
           "-fill", rgb(HEADER_MARK_COLOR), "-draw", "rectangle %d,%d %d,%d" % (x, y, x + 7, y + 7),
           *jpeg_out(path))


def parse_size(text):
    w, h = text.lower().split("x")
    return int(w), int(h)


def draw_keyed_text(path, size, text, color, bold=False):
    """Text on pure white (the key colour), filling the picture's height."""
    w, h = size
    args = ["-size", "%dx%d" % (w, h), "xc:white", "-font", FONT, "-fill", color,
            "-pointsize", str(max(6, int(h * 0.8))), "-gravity", "Center"]
    if bold:
        args += ["-stroke", color, "-strokewidth", str(max(0.5, h / 40.0))]
    magick(*args, "-annotate", "+0+0", text, *out_for(path))


def draw_maker_logo(path, size):
    # A made-up publisher mark: a blue square and the name.
    w, h = size
    magick("-size", "%dx%d" % (w, h), "xc:white",
           "-fill", "rgb(0,110,180)", "-draw", "rectangle 1,1 %d,%d" % (h - 2, h - 2),
           "-font", FONT, "-fill", "rgb(60,60,70)", "-pointsize", str(max(6, int(h * 0.8))),
           "-gravity", "West", "-annotate", "+%d+0" % (h + 3), "EAR 出版 サンプル", *out_for(path))


def draw_procedure(path, size):
    """The exam's procedure as numbered steps, laid out from the top-left corner and
    framed at the picture's own edges (a cut frame shows a cut picture)."""
    w, h = size
    steps = [("1", "受験者情報の入力", "会場コードと受験番号（または氏名）を入力します。"),
             ("2", "受験者用フォルダーの作成", "［次へ >］を押すと、受験者用のフォルダーが作成されます。"),
             ("3", "試験の開始", "試験プログラムが起動します。画面の指示に従って解答してください。"),
             ("4", "試験の終了", "終了の案内が表示されたら、監督者の指示を待ってください。")]
    args = ["-size", "%dx%d" % (w, h), "xc:rgb(250,251,253)",
            "-fill", "none", "-stroke", "rgb(0,110,180)", "-strokewidth", "2",
            "-draw", "rectangle 1,1 %d,%d" % (w - 2, h - 2), "-stroke", "none",
            "-font", FONT, "-fill", "rgb(20,40,90)", "-pointsize", "30",
            "-gravity", "NorthWest", "-annotate", "+40+28", "試験実施の手順",
            "-fill", "rgb(0,148,215)", "-draw", "rectangle 40,76 400,79"]
    for i, (number, title, detail) in enumerate(steps):
        top = 110 + i * 108
        args += ["-fill", "rgb(0,110,180)", "-draw", "roundrectangle 40,%d 96,%d 8,8" % (top, top + 56),
                 "-fill", "white", "-pointsize", "32", "-annotate", "+58+%d" % (top + 8), number,
                 "-fill", "rgb(20,40,90)", "-pointsize", "24", "-annotate", "+120+%d" % (top + 2), title,
                 "-fill", "rgb(70,80,100)", "-pointsize", "18", "-annotate", "+120+%d" % (top + 36), detail]
        if i < len(steps) - 1:
            args += ["-fill", "rgb(180,200,220)", "-draw",
                     "polygon 60,%d 76,%d 68,%d" % (top + 66, top + 66, top + 96)]
    magick(*args, *jpeg_out(path))


def draw_banner(path, size):
    w, h = size
    magick("-size", "%dx%d" % (w, h), "gradient:rgb(236,244,252)-rgb(214,230,246)",
           "-fill", "rgb(0,110,180)", "-draw", "rectangle 0,0 5,%d" % (h - 1),
           "-font", FONT, "-fill", "rgb(0,73,136)", "-pointsize", "22",
           "-gravity", "West", "-annotate", "+20+0", "手順 1",
           "-fill", "rgb(20,40,90)", "-pointsize", "20", "-annotate", "+100+0",
           "受験者情報を入力して、受験者用フォルダーを作成します", *jpeg_out(path))


def draw_plain(path, size):
    """A picture of a row the sample knows no drawing for: a framed box of its size."""
    w, h = size
    magick("-size", "%dx%d" % (w, h), "xc:rgb(236,244,252)", "-fill", "none", "-stroke", "rgb(0,110,180)",
           "-draw", "rectangle 0,0 %d,%d" % (w - 1, h - 1), *out_for(path))


def make_package(outdir, mode="venue", exam_type="1", bushu=None, standin=None, omit=(), backdrop="marked",
                 no_bg=False, shiken_name=None, kyu=None, dev_code=None, file_name=None, abb=None,
                 shiken_ext=None, maker_ext=None, kyu_ext=None, with_shiken_ini=False,
                 shiken_size=None, maker_size=None, kyu_size=None, procedure_size=None, banner_size=None):
    """Creates outdir/##TMP## (replacing an old one) and returns its path. Picture
    sizes are (width, height) tuples or "WxH" texts; None keeps SIZES."""
    o = dict(DEFAULTS)
    size = dict(SIZES)
    for key, value in (("shiken", shiken_size), ("maker", maker_size), ("kyu", kyu_size),
                       ("procedure", procedure_size), ("banner", banner_size)):
        if value is not None:
            size[key] = parse_size(value) if isinstance(value, str) else tuple(value)
    for key, value in (("bushu", bushu), ("shiken_name", shiken_name), ("kyu", kyu), ("dev_code", dev_code),
                       ("file_name", file_name), ("abb", abb), ("shiken_ext", shiken_ext),
                       ("maker_ext", maker_ext), ("kyu_ext", kyu_ext)):
        if value is not None:
            o[key] = value
    if mode not in ("venue", "name"):
        raise ValueError("mode must be venue or name")
    omit = set(omit) | ({"bg.jpg"} if no_bg else set())

    pkg = os.path.join(outdir, "##TMP##")
    system = os.path.join(pkg, "system")
    images = os.path.join(system, "Image")
    if os.path.isdir(pkg):
        shutil.rmtree(pkg)
    os.makedirs(os.path.join(system, "1"))
    os.makedirs(images)

    # Every key the launcher reads, in the table's order; one the sample has no value for is empty.
    values = {"試験名": o["shiken_name"], "試験画像拡張子": o["shiken_ext"], "メーカー画像拡張子": o["maker_ext"],
              "級TOP画像拡張子": o["kyu_ext"], "級名": o["kyu"], "ABB": o["abb"] if mode == "venue" else "",
              "開発コード": o["dev_code"], "ファイル名称": o["file_name"], "受験タイプ": str(exam_type),
              "部種名称": o["bushu"]}
    for which in ("system", "setup"):
        with open(os.path.join(pkg, *settings_file(which)), "wb") as f:
            f.write(ini_text([(section(which), [(k, values.get(k, "")) for k in read_keys(which)])]))
    if with_shiken_ini:
        with open(os.path.join(pkg, *settings_file("shiken")), "wb") as f:
            f.write(ini_text([(section("shiken"), [])]))

    draw_row = {
        "bg.jpg": BACKDROPS[backdrop],
        "bg_main_top.jpg": draw_header,
        "bg_procedure.jpg": lambda p: draw_procedure(p, size["procedure"]),
        "procedure01.jpg": lambda p: draw_banner(p, size["banner"]),
        "ShikenImage": lambda p: draw_keyed_text(p, size["shiken"], o["shiken_name"], "rgb(20,40,90)", bold=True),
        "MakerImage": lambda p: draw_maker_logo(p, size["maker"]),
        "KyuTopImage": lambda p: draw_keyed_text(p, size["kyu"], o["kyu"], "rgb(0,110,60)", bold=True),
    }
    # Every picture of the table: a fixed name, or the name and its key's value when that is set.
    for row in TABLE["pictures"]:
        ext = values.get(row["extKey"], "") if row["extKey"] else ""
        if row["extKey"] and not ext:
            continue
        name = row["name"] + ext
        draw = draw_row.get(row["name"], lambda p, r=row: draw_plain(p, tuple(r["box"]) if r["box"][0] else (64, 48)))
        if name not in omit:
            draw(os.path.join(images, name))

    if standin and "exam" not in omit:
        exe = os.path.join(pkg, "[1]" + o["bushu"] + ".exe")
        shutil.copyfile(standin, exe)
    return pkg


def main(argv):
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("outdir")
    p.add_argument("--mode", choices=("venue", "name"), default="venue",
                   help="venue: ABB non-empty (venue code + candidate number); name: ABB empty")
    p.add_argument("--exam-type", default="1", help="受験タイプ (3 = alternative footer)")
    p.add_argument("--no-bg", action="store_true", help="leave out bg.jpg")
    p.add_argument("--backdrop", choices=sorted(BACKDROPS), default="marked",
                   help="bg.jpg: the tests' marked tile, or a linen texture for demos")
    p.add_argument("--standin", help="exe copied as [1]+部種名称+.exe")
    p.add_argument("--bushu", help="部種名称")
    p.add_argument("--shiken-name", help="試験名")
    p.add_argument("--kyu", help="級名")
    p.add_argument("--dev-code", help="開発コード")
    p.add_argument("--file-name", help="ファイル名称")
    p.add_argument("--abb", help="ABB in venue mode")
    p.add_argument("--shiken-ext", help="試験画像拡張子 ('' = none)")
    p.add_argument("--maker-ext", help="メーカー画像拡張子 ('' = none)")
    p.add_argument("--kyu-ext", help="級TOP画像拡張子 ('' = none)")
    p.add_argument("--omit", action="append", default=[], help="a picture file name to leave out, or 'exam'")
    p.add_argument("--with-shiken-ini", action="store_true", help="create shiken.ini with an empty section")
    for key, what in (("shiken", "exam-name picture"), ("maker", "maker logo"), ("kyu", "grade picture"),
                      ("procedure", "bg_procedure.jpg"), ("banner", "procedure01.jpg")):
        p.add_argument("--%s-size" % key, metavar="WxH",
                       help="size of the %s (default %dx%d)" % ((what,) + SIZES[key]))
    a = p.parse_args(argv)
    pkg = make_package(a.outdir, mode=a.mode, exam_type=a.exam_type, bushu=a.bushu, standin=a.standin,
                       omit=a.omit, backdrop=a.backdrop, no_bg=a.no_bg, shiken_name=a.shiken_name, kyu=a.kyu, dev_code=a.dev_code,
                       file_name=a.file_name, abb=a.abb, shiken_ext=a.shiken_ext, maker_ext=a.maker_ext,
                       kyu_ext=a.kyu_ext, with_shiken_ini=a.with_shiken_ini, shiken_size=a.shiken_size,
                       maker_size=a.maker_size, kyu_size=a.kyu_size, procedure_size=a.procedure_size,
                       banner_size=a.banner_size)
    print(pkg)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

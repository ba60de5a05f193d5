#!/usr/bin/env python3
"""Builds a complete sample exam package OUTDIR/##TMP## for tests and demos.

    make_sample_package.py OUTDIR [--mode venue|name] [--exam-type 3] [--no-bg]
                           [--standin PATH] [--bushu NAME] [--omit FILE]... (see --help)

INI files are CP932 with CRLF line ends; pictures are drawn with ImageMagick.
Given the same options the output is the same, byte for byte.
"""
import argparse
import os
import shutil
import subprocess
import sys

FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"

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
    return ["-strip", "-define", "png:exclude-chunks=date,time", path]


def out_for(path):
    return png_out(path) if path.lower().endswith(".png") else jpeg_out(path)


def draw_bg(path):
    w, h = BG_TILE
    magick("-size", "%dx%d" % (w, h), "xc:" + rgb(BG_FILL),
           "-fill", rgb(BG_MARK_TOPLEFT), "-draw", "rectangle 0,0 7,7",
           "-fill", rgb(BG_MARK_BOTTOMRIGHT), "-draw", "rectangle %d,%d %d,%d" % (w - 16, h - 8, w - 1, h - 1),
           *jpeg_out(path))


def draw_header(path):
    magick("-size", "96x122", "gradient:rgb(0,94,160)-rgb(120,190,235)",
           "-fill", "rgb(255,255,255)", "-draw", "rectangle 0,56 95,63", *jpeg_out(path))


def draw_text_picture(path, size, background, lines, pointsize, color="rgb(20,40,90)"):
    args = ["-size", size, background, "-font", FONT, "-fill", color, "-pointsize", str(pointsize)]
    for gravity, offset, text in lines:
        args += ["-gravity", gravity, "-annotate", offset, text]
    magick(*args, *out_for(path))


def make_package(outdir, mode="venue", exam_type="1", bushu=None, standin=None, omit=(),
                 no_bg=False, shiken_name=None, kyu=None, dev_code=None, file_name=None, abb=None,
                 shiken_ext=None, maker_ext=None, kyu_ext=None, with_shiken_ini=False):
    """Creates outdir/##TMP## (replacing an old one) and returns its path."""
    o = dict(DEFAULTS)
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

    basic = [("試験名", o["shiken_name"]), ("試験画像拡張子", o["shiken_ext"]),
             ("メーカー画像拡張子", o["maker_ext"]), ("級TOP画像拡張子", o["kyu_ext"]),
             ("級名", o["kyu"]), ("ABB", o["abb"] if mode == "venue" else ""),
             ("開発コード", o["dev_code"]), ("ファイル名称", o["file_name"])]
    with open(os.path.join(system, "system.ini"), "wb") as f:
        f.write(ini_text([("基本情報", basic)]))
    with open(os.path.join(system, "1", "setup.ini"), "wb") as f:
        f.write(ini_text([("基本情報", [("受験タイプ", str(exam_type)), ("部種名称", o["bushu"])])]))
    if with_shiken_ini:
        with open(os.path.join(system, "shiken.ini"), "wb") as f:
            f.write(ini_text([("受験者情報", [])]))

    pictures = {
        "bg.jpg": draw_bg,
        "bg_main_top.jpg": draw_header,
        "bg_procedure.jpg": lambda p: draw_text_picture(
            p, "832x558", "gradient:rgb(250,250,255)-rgb(215,225,245)",
            [("North", "+0+40", "受験の手順"),
             ("NorthWest", "+80+150", "１．受験者情報を入力します"),
             ("NorthWest", "+80+230", "２．内容を確認して「次へ」を押します"),
             ("NorthWest", "+80+310", "３．試験が始まります")], 36),
        "procedure01.jpg": lambda p: draw_text_picture(
            p, "683x59", "xc:rgb(230,236,250)", [("West", "+20+0", "手順１：受験者情報の入力")], 26),
    }
    if o["shiken_ext"]:
        pictures["ShikenImage" + o["shiken_ext"]] = lambda p: draw_text_picture(
            p, "400x20", "xc:white", [("Center", "+0+0", o["shiken_name"])], 16)
    if o["maker_ext"]:
        pictures["MakerImage" + o["maker_ext"]] = lambda p: draw_text_picture(
            p, "100x10", "xc:white", [("Center", "+0+0", "EAR LOGO")], 9, "rgb(200,30,30)")
    if o["kyu_ext"]:
        pictures["KyuTopImage" + o["kyu_ext"]] = lambda p: draw_text_picture(
            p, "100x30", "xc:white", [("Center", "+0+0", o["kyu"])], 22, "rgb(0,110,60)")
    for name, draw in pictures.items():
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
    a = p.parse_args(argv)
    pkg = make_package(a.outdir, mode=a.mode, exam_type=a.exam_type, bushu=a.bushu, standin=a.standin,
                       omit=a.omit, no_bg=a.no_bg, shiken_name=a.shiken_name, kyu=a.kyu, dev_code=a.dev_code,
                       file_name=a.file_name, abb=a.abb, shiken_ext=a.shiken_ext, maker_ext=a.maker_ext,
                       kyu_ext=a.kyu_ext, with_shiken_ini=a.with_shiken_ini)
    print(pkg)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

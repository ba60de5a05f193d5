#!/usr/bin/env python3
"""earcheck on generated packages: each finding from a package that shows it, the clean
sample package in full, the JSON shape, the text report, exit codes, and every file's
bytes and times unchanged by each run.

    test_earcheck.py EARCHECK WORKDIR
"""
import json
import os
import shutil
import struct
import subprocess
import sys
import unittest

import testlib as T

EXE = None
WORK = None
BASE = None

E, W, I = "error", "warning", "info"
SYS, SETUP, SHIKEN = (T.make_sample_package.TABLE["settingsFiles"][f] for f in ("system", "setup", "shiken"))
IMG = "system\\Image\\"
EXAM = "[1]模擬試験.exe"
PICTURE = T.make_sample_package.PICTURES
SIZES = T.make_sample_package.SIZES


def half_even(x):
    """Rounding as the launcher's layout: halves to the even neighbour (Python's round)."""
    return round(x)


def keyed_info(name, ext, size):
    """The sample's keyed picture, no larger than its box: drawn at scale 1."""
    row = PICTURE[name]
    (w, h), (bw, bh) = size, row["box"]
    where = ("左端は %d です。" % half_even((row["centreOn"] - w) / 2) if row["left"] == "centred"
             else "左端は試験名の左端に揃えます。")
    return finding(I, IMG + name + ext, row["extKey"],
                   "画像は %d × %d です。タイトル画面の %d × %d の枠に合わせて %d × %d（倍率 1）で描き、白は透明になります。%s"
                   % (w, h, bw, bh, w, h, where))


def finding(severity, file, key, message):
    return {"severity": severity, "file": file, "key": key, "message": message}


CLEAN_FINDINGS = [
    finding(I, SHIKEN, None, "shiken.ini はありません。登録のときにランチャーが作成します。"),
    finding(I, SYS, "ABB", "値「EAR」: 会場モードです。受験者は会場コードと受験番号を入力します。"),
    finding(I, SYS, "試験名", "試験画像を表示するため、試験名「ＥＡＲ模擬検定試験」は表示されません。"),
    finding(I, SYS, "級名", "級の画像を表示するため、級名「３級」は表示されません。"),
    finding(I, SYS, "開発コード", "ファイル名称が空のため、値「EAR01」をタイトル画面に表示し、受験者フォルダー名の先頭に使います。"),
    finding(I, SETUP, "受験タイプ", "値「1」: 標準のレイアウトで表示します。"),
    finding(I, SETUP, "部種名称", "試験プログラムは「[1]模擬試験.exe」です。"),
    finding(I, IMG + "bg_procedure.jpg", None, "画像は %d × %d です。手順確認画面の %d × %d の枠の左上に表示します。"
            % (SIZES["procedure"] + tuple(PICTURE["bg_procedure.jpg"]["box"]))),
    # centred on the registration screen: (697 - 640) / 2 = 28.5 -> 28, halves to the even neighbour
    finding(I, IMG + "procedure01.jpg", None, "画像は %d × %d です。受験者登録画面で左端 %d に中央揃えで表示します。"
            % (SIZES["banner"] + (half_even((PICTURE["procedure01.jpg"]["centreOn"] - SIZES["banner"][0]) / 2),))),
    keyed_info("ShikenImage", ".png", SIZES["shiken"]),  # (647 - 439) / 2 = 104
    keyed_info("MakerImage", ".png", SIZES["maker"]),    # 150 x 17 in 219 x 17: sx 1.46, sy 1, scale 1
    keyed_info("KyuTopImage", ".jpg", SIZES["kyu"]),     # (647 - 100) / 2 = 273.5 -> 274
    finding(I, EXAM, None, "Windows の実行ファイルです: x86（32 ビット）、Windows GUI。"),
]


def budget_message(parent, left, what="会場コードと受験番号"):
    return ("この場所（%s）では、受験者フォルダーの中のパス（試験プログラムとパッケージのすべてのファイル）が 259 バイトに収まるよう、"
            "受験者の入力（%s）に合わせて %d バイト使えます。" % (parent, what, left))


REFUSED = "ランチャーは登録のときに何も変更せずに「受験プログラムの展開に失敗しました。」を表示し、試験は始まりません。"


def check(path_args, *opts):
    """Runs earcheck and asserts the package is left exactly as it was."""
    roots = [p for p in path_args if os.path.isdir(p)]
    before = [T.snapshot(r) for r in roots]
    rc, out, err = T.run(EXE, *opts, *path_args)
    after = [T.snapshot(r) for r in roots]
    assert before == after, "earcheck changed files under %s" % roots
    assert b"AddressSanitizer" not in err and b"runtime error" not in err, err.decode("utf-8", "replace")
    return rc, out, err


class Findings(unittest.TestCase):
    def package(self, name, mutate):
        launcher = T.copy_of(BASE, WORK, name)
        mutate(launcher)
        rc, out, err = check([launcher], "--json")
        doc = T.parse_json(out)
        self.assertEqual(len(doc["packages"]), 1)
        return rc, doc["packages"][0]

    def test_clean_sample_package_in_full(self):
        rc, pkg = self.package("clean", lambda l: None)
        parent = T.launcher_form(WORK) + "\\"
        # parent + "EAR01" + "_" + "［" + 5 + "］" + "\system\Image\bg_procedure.jpg", the package's
        # longest path, longer than "\system\shiken.ini" and "\" + "[1]" + "模擬試験" (8 bytes) + ".exe"
        left = 259 - (len(parent) + 5 + 1 + 2 + 5 + 2 + 30)
        self.assertEqual(pkg, {"path": os.path.join(WORK, "clean", "##TMP##"), "ok": True, "mode": "venue",
                               "examType": "1",
                               "findings": CLEAN_FINDINGS + [finding(I, None, None, budget_message(parent, left))]})
        self.assertEqual(rc, 0)

    def test_each_finding_from_a_package_that_shows_it(self):
        def write(path, data):
            with open(path, "wb") as f:
                f.write(data)

        def reencode(path, codec):
            write(path, T.read(path).decode("cp932").encode(codec))

        def replace_with_folder(path):
            os.remove(path)
            os.mkdir(path)

        def truncate(path, size):
            data = T.read(path)
            write(path, data[:size])

        def patch_jpeg_size(path, width, height):
            data = bytearray(T.read(path))
            at = data.index(b"\xff\xc0")
            data[at + 5:at + 9] = struct.pack(">HH", height, width)
            write(path, bytes(data))

        def png_width(path, width):
            data = bytearray(T.read(path))
            data[16:20] = struct.pack(">I", width)
            write(path, bytes(data))

        def magick(path, size):
            subprocess.run(["convert", "-size", size, "xc:rgb(200,210,230)", "-quality", "90", path], check=True)

        img = lambda l, n: T.image(l, n)  # noqa: E731
        pkg = lambda l: os.path.join(l, "##TMP##")  # noqa: E731
        probe_path = lambda l, n: T.launcher_form(img(l, n))  # noqa: E731
        cases = [
            ("no system.ini", lambda l: os.remove(T.ini_path(l, "system")),
             finding(E, SYS, None, "system.ini がありません。ランチャーは試験名、画像、モードなどのキーをすべて空として読みます（氏名モード、試験名と画像なし）。")),
            ("setup.ini is a folder", lambda l: replace_with_folder(T.ini_path(l, "setup")),
             finding(E, SETUP, None, "setup.ini がファイルではなくフォルダーです。受験タイプと部種名称は空として読まれ、標準のレイアウトで表示し、試験プログラムを「[1].exe」として探します。")),
            ("setup.ini missing: the exam program is [1].exe", lambda l: os.remove(T.ini_path(l, "setup")),
             finding(E, "[1].exe", "部種名称", "「[1].exe」がありません。登録の後に「受験プログラムの展開に失敗しました。」が表示され、試験は始まりません。")),
            ("leftover candidate in shiken.ini",
             lambda l: write(T.ini_path(l, "shiken"), "[受験者情報]\r\n姓=山田\r\n".encode("cp932")),
             finding(W, SHIKEN, "姓", "前の受験者の値「山田」が残っています。登録のときに上書きされますが、配布するパッケージには不要です。")),
            ("system.ini saved as UTF-8",
             lambda l: write(T.ini_path(l, "system"), "[基本情報]\r\nABB=EAR\r\n".encode("utf-8")),
             finding(E, SYS, None, "UTF-8 で保存されています（行 1）。ランチャーは Shift-JIS として読むため、日本語のセクション名とキー名が一致せず、値はすべて空になります。Shift-JIS で保存してください。")),
            ("a byte that is not Shift-JIS", lambda l: T.set_key(l, "system", "試験名", b"\x80abc"),
             finding(W, SYS, None, "Shift-JIS として正しくないバイトがあります（行 2）。その行の文字は化けて読まれます。")),
            ("system.ini saved as UTF-16", lambda l: reencode(T.ini_path(l, "system"), "utf-16"),
             finding(I, SYS, None, "UTF-16（BOM 付き）で保存されています。ランチャーは Unicode として読み、値を Shift-JIS に変換して使います（Shift-JIS にない文字は「?」か似た文字になります）。")),
            ("setup.ini saved as UTF-8 with a byte-order mark", lambda l: reencode(T.ini_path(l, "setup"), "utf-8-sig"),
             finding(E, SETUP, None, "UTF-8（BOM 付き）で保存されています。Windows の設定読み取り関数は UTF-8 を扱わず Shift-JIS として読むため、"
                     "先頭の BOM（3 バイト）が付いた 1 行目「[基本情報]」はセクションと認められず、そのセクションのキーはすべて空として読まれます。"
                     "日本語の名前と値も一致しません（Wine は UTF-8 として読むため、Wine 上では読めてしまいます）。Shift-JIS で保存してください（メモ帳では文字コード「ANSI」）。")),
            ("a line that ends in a lead byte", lambda l: T.set_key(l, "system", "試験名", "ＥＡＲ".encode("cp932") + b"\x95"),
             finding(W, SYS, None, "行 2 が 2 バイト文字の 1 バイト目で終わっています。ランチャーは次の改行をその文字の 2 バイト目として読むため、"
                     "次の行がこの行の続きになり、そこにあるキーやセクションが読まれないことがあります。")),
            ("exam type 03", lambda l: T.set_key(l, "setup", "受験タイプ", "03"),
             finding(W, SETUP, "受験タイプ", "値「03」は「3」と完全には一致しないため、受験タイプ 3 のレイアウトにはならず、標準のレイアウトで表示します。")),
            ("exam type with a blank, quoted", lambda l: T.set_key(l, "setup", "受験タイプ", '" 3"'),
             finding(W, SETUP, "受験タイプ", "値「 3」の前後に空白があります。ランチャーは空白も値の一部として使います。")),
            ("exam type full-width 3 with a full-width blank", lambda l: T.set_key(l, "setup", "受験タイプ", "３　"),
             finding(W, SETUP, "受験タイプ", "値「３　」は「3」と完全には一致しないため、受験タイプ 3 のレイアウトにはならず、標準のレイアウトで表示します。")),
            ("exam type 3", lambda l: T.set_key(l, "setup", "受験タイプ", "3"),
             finding(I, SETUP, "受験タイプ", "値「3」: 各画面を別のレイアウト（受験タイプ 3 の案内と著作権表示）で表示します。")),
            ("a value longer than the reading limit", lambda l: T.set_key(l, "system", "試験名", "x" * 3000),
             finding(W, SYS, "試験名", "値が 3000 バイトあります。ランチャーは先頭の 2047 バイトまでしか読みません。")),
            ("name mode", lambda l: T.set_key(l, "system", "ABB", ""),
             finding(I, SYS, "ABB", "値が空: 氏名モードです。受験者は姓と名を入力します。")),
            ("no bg.jpg", lambda l: os.remove(img(l, "bg.jpg")),
             finding(W, IMG + "bg.jpg", None, "「bg.jpg」がありません。背景の画面は塗られず、緑の枠だけが表示されます（メッセージは出ません）。")),
            ("bg_main_top.jpg is a folder", lambda l: replace_with_folder(img(l, "bg_main_top.jpg")),
             finding(W, IMG + "bg_main_top.jpg", None, "「bg_main_top.jpg」がファイルではなくフォルダーです（ランチャーにはないのと同じです）。各画面の上部の帯は塗られず、緑の枠だけが表示されます（メッセージは出ません）。")),
            ("no bg_procedure.jpg", lambda l: os.remove(img(l, "bg_procedure.jpg")),
             finding(E, IMG + "bg_procedure.jpg", None, "「bg_procedure.jpg」がありません。手順確認画面でエラーが表示され、手順の画像は空のままになり、角も丸くなりません。")),
            ("bg_procedure.jpg larger than its area", lambda l: magick(img(l, "bg_procedure.jpg"), "900x600"),
             finding(W, IMG + "bg_procedure.jpg", None, "画像は 900 × 600 です。手順確認画面は左上の 832 × 558 だけを表示し、残りは切れます。")),
            ("bg_procedure.jpg claims 60000 x 60000", lambda l: patch_jpeg_size(img(l, "bg_procedure.jpg"), 60000, 60000),
             finding(E, IMG + "bg_procedure.jpg", None, "画像が大きすぎます（60000 × 60000 ピクセル）。表示に大量のメモリーが必要で、読み込みに失敗するおそれがあります。検査では復号しません。")),
            ("no procedure01.jpg", lambda l: os.remove(img(l, "procedure01.jpg")),
             finding(I, IMG + "procedure01.jpg", None, "「procedure01.jpg」がありません。受験者登録画面に手順の画像は表示されません（メッセージは出ません）。")),
            ("procedure01.jpg wider than the screen", lambda l: magick(img(l, "procedure01.jpg"), "860x59"),
             # (697 - 860) / 2 = -81.5 -> -82
             finding(W, IMG + "procedure01.jpg", None, "画像は 860 × 59 です。受験者登録画面で左端 -82 に中央揃えで表示します。表示枠は 683 × 59 なので、はみ出した部分は切れます。")),
            ("no exam-name picture", lambda l: os.remove(img(l, "ShikenImage.png")),
             finding(E, IMG + "ShikenImage.png", "試験画像拡張子", "「ShikenImage.png」がありません。試験名のラベルは隠されるため、試験名は画像でも文字でも表示されません。メーカーのロゴは中央に揃います。")),
            ("no maker logo", lambda l: os.remove(img(l, "MakerImage.png")),
             finding(W, IMG + "MakerImage.png", "メーカー画像拡張子", "「MakerImage.png」がありません。メーカーのロゴは表示されません（メッセージは出ません）。")),
            ("extension without its dot", lambda l: T.set_key(l, "system", "メーカー画像拡張子", "png"),
             finding(E, SYS, "メーカー画像拡張子", "値「png」が「.」で始まっていません。ランチャーは拡張子を名前にそのまま付けるので「MakerImagepng」を探します（「MakerImage.png」ではありません）。")),
            ("exam-name picture with a broken header", lambda l: write(img(l, "ShikenImage.png"), b"\x89PNX\r\n\x1a\n" + bytes(40)),
             lambda l: finding(E, IMG + "ShikenImage.png", "試験画像拡張子", "ランチャーの画像サイズ取得がこのエラーを表示し、画面の準備がそこで止まります: "
                               + probe_path(l, "ShikenImage.png") + " \r\n不正な PNG ファイルです。")),
            ("exam-name picture of unsupported type", lambda l: (T.set_key(l, "system", "試験画像拡張子", ".tga"),
                                                                 write(img(l, "ShikenImage.tga"), b"x")),
             lambda l: finding(E, IMG + "ShikenImage.tga", "試験画像拡張子", "ランチャーの画像サイズ取得がこのエラーを表示し、画面の準備がそこで止まります: "
                               + probe_path(l, "ShikenImage.tga") + "\r\nには対応していません。 対応しているファイルは\r\n"
                               "*.bmp, *.jpg, *.jpeg, *.png, *.psd, *.wmf, *.emf, *.gif, *.tif, *.tiff のみです。")),
            ("exam-name picture 2^31 pixels wide", lambda l: png_width(img(l, "ShikenImage.png"), 2 ** 31),
             finding(W, IMG + "ShikenImage.png", "試験画像拡張子", "画像は 2147483648 × 20 です。タイトル画面の 439 × 20 の枠に合わせて 439 × 4.09e-06（倍率 2.04e-07）で描き、白は透明になります。1 ピクセルに満たない幅か高さで描かれるため、ほとんど見えません。")),
            ("grade picture cut short", lambda l: truncate(img(l, "KyuTopImage.jpg"), 700),
             finding(E, IMG + "KyuTopImage.jpg", "級TOP画像拡張子", "JPEG として読めません（JPEG: Premature end of JPEG file）。画像は描かれません（メッセージは出ません）。")),
            ("no exam program", lambda l: os.remove(os.path.join(pkg(l), EXAM)),
             finding(E, EXAM, "部種名称", "「[1]模擬試験.exe」がありません。登録の後に「受験プログラムの展開に失敗しました。」が表示され、試験は始まりません。")),
            ("exam program that is no executable", lambda l: write(os.path.join(pkg(l), EXAM), b"@echo off\r\n" * 10),
             finding(E, EXAM, None, "Windows の実行ファイルではありません（先頭が「MZ」ではありません）。ランチャーが起動しても試験は始まりません。")),
            ("exam program with MZ but no PE header", lambda l: write(os.path.join(pkg(l), EXAM), b"MZ" + b"\xff" * 100),
             finding(E, EXAM, None, "Windows の実行ファイルではありません（PE ヘッダーがありません）。ランチャーが起動しても試験は始まりません。")),
            ("64-bit console exam program", lambda l: write(os.path.join(pkg(l), EXAM), T.pe_bytes(0x8664, 3)),
             finding(I, EXAM, None, "Windows の実行ファイルです: x64（64 ビット）、コンソール。ランチャーは「frmJPBG0010」という題のウィンドウが現れるまで待ちます。64 ビット版の Windows でだけ動きます。")),
            ("forbidden character in the folder prefix", lambda l: T.set_key(l, "system", "ファイル名称", "A/B"),
             finding(E, SYS, "ファイル名称", "受験者フォルダー名の先頭になる値「A/B」に、Windows のファイル名に使えない文字「/」があります。" + REFUSED)),
            ("folder prefix climbing out of the parent folder", lambda l: T.set_key(l, "system", "開発コード", "..\\..\\x"),
             finding(E, SYS, "開発コード", "受験者フォルダー名の先頭になる値「..\\..\\x」に、Windows のファイル名に使えない文字「\\」があります。" + REFUSED)),
            ("部種名称 climbing out of the candidate folder", lambda l: T.set_key(l, "setup", "部種名称", "\\..\\..\\evil"),
             finding(E, SETUP, "部種名称", "試験プログラムの名前になる値「\\..\\..\\evil」に、Windows のファイル名に使えない文字「\\」があります。" + REFUSED)),
            ("部種名称 with a quote", lambda l: T.set_key(l, "setup", "部種名称", 'x"y'),
             finding(E, SETUP, "部種名称", "試験プログラムの名前になる値「x\"y」に、Windows のファイル名に使えない文字「\"」があります。" + REFUSED)),
            ("no folder prefix", lambda l: T.set_key(l, "system", "開発コード", ""),
             finding(W, SYS, "ファイル名称", "ファイル名称も開発コードも空です。受験者フォルダー名は受験者の入力から始まり、どの試験のものか分かりません。")),
        ]
        for what, mutate, expected in cases:
            with self.subTest(what):
                name = "case-%d" % cases.index((what, mutate, expected))
                rc, got = self.package(name, mutate)
                want = expected(os.path.join(WORK, name)) if callable(expected) else expected
                self.assertIn(want, got["findings"])
                self.assertEqual(rc, 1 if want["severity"] == E or not got["ok"] else 0)
                self.assertEqual(got["ok"], not any(f["severity"] == E for f in got["findings"]))

    def test_unicode_settings_files_read_as_the_launcher_reads_them(self):
        # UTF-16 comes through whole; UTF-8 with its mark is read as Wine reads it (and is an error).
        def mutate(l):
            for which, codec in (("system", "utf-16"), ("setup", "utf-8-sig")):
                path = T.ini_path(l, which)
                text = T.read(path).decode("cp932")
                with open(path, "wb") as f:
                    f.write(text.encode(codec))
        rc, pkg = self.package("unicode", mutate)
        self.assertEqual((pkg["mode"], pkg["examType"]), ("venue", "1"))
        self.assertIn(finding(I, SYS, "開発コード", "ファイル名称が空のため、値「EAR01」をタイトル画面に表示し、受験者フォルダー名の先頭に使います。"),
                      pkg["findings"])
        self.assertIn(finding(I, SETUP, "部種名称", "試験プログラムは「[1]模擬試験.exe」です。"), pkg["findings"])
        self.assertEqual([f["file"] for f in pkg["findings"] if f["severity"] != I], [SETUP])
        self.assertEqual(rc, 1)

    def test_a_lead_byte_at_a_line_end_takes_the_next_line(self):
        # LF line ends: the profile functions read "\x95\n" as one character, so ABB joins
        # the line before it and the package reads as name mode.
        def mutate(l):
            path = T.ini_path(l, "system")
            lines = T.read(path).split(b"\r\n")
            at = next(i for i, line in enumerate(lines) if line.startswith(b"ABB="))
            lines[at - 1] += b"\x95"
            with open(path, "wb") as f:
                f.write(b"\n".join(lines))
        rc, pkg = self.package("joined", mutate)
        self.assertEqual(pkg["mode"], "name")
        self.assertIn("次の行がこの行の続きになり", [f for f in pkg["findings"] if f["severity"] == W][0]["message"])
        self.assertEqual(rc, 0)

    def test_control_characters_from_values_are_visible_in_the_text_report(self):
        # An ESC sequence in the exam name would clear the terminal and hide the result line.
        launcher = T.copy_of(BASE, WORK, "esc")
        T.set_key(launcher, "system", "試験名", b"A\x1b[2J\x1b[1A\tB\x7f")
        T.set_key(launcher, "system", "試験画像拡張子", b"")
        T.set_key(launcher, "setup", "受験タイプ", b"1\x1b[8m")
        rc, out, _ = check([launcher])
        text = out.decode("utf-8")
        self.assertNotRegex(text, "[\x00-\x09\x0b-\x1f\x7f]")
        self.assertIn("受験タイプ: 「1<0x1B>[8m」（標準のレイアウト）\n", text)
        self.assertIn("情報    system\\system.ini [試験名]: タイトル画面に試験名「A<0x1B>[2J<0x1B>[1A<0x09>B<0x7F>」を文字で表示します。\n", text)
        self.assertTrue(text.splitlines()[-1].startswith("結果: "))
        _, out, _ = check([launcher], "--json")
        pkg = T.parse_json(out)["packages"][0]  # JSON escapes them itself
        self.assertEqual(pkg["examType"], "1\x1b[8m")
        self.assertIn(b"\\u001b[2J", out)

    def test_a_picture_extension_with_a_separator_is_an_error_and_never_opened(self):
        # Appended to "Image\ShikenImage", "\..\" in it would walk out of the package, here to a
        # picture beside the package folder: the launcher takes the picture for missing.
        sep_error = ("値「%s」にフォルダーの区切り「%s」があります。ランチャーは「ShikenImage%s」を開かず、"
                     "画像がないときと同じに表示します: 試験名のラベルは隠されるため、試験名は画像でも文字でも表示されません。"
                     "メーカーのロゴは中央に揃います。拡張子（「.png」など）だけを書いてください。")
        hyo = "表".encode("cp932")  # 0x95 0x5C: no separator
        cases = [
            ("\\", b".x\\..\\..\\..\\..\\outside.png", "ShikenImage.x", "\\"),
            ("/", b".x/../../../../outside.png", "ShikenImage.x", "/"),
            ("\\ after a two-byte character", b"." + hyo + b"\\..\\..\\..\\..\\outside.png", "ShikenImage.表", "\\"),
            ("a two-byte character ending in 0x5C", b"." + hyo, "ShikenImage.表", None),
        ]
        for what, ext, folder, sep in cases:
            with self.subTest(what):
                launcher = T.copy_of(BASE, WORK, "ext-out")
                os.makedirs(T.image(launcher, folder))
                outside = os.path.join(launcher, "outside.png")
                shutil.copy(T.image(launcher, "ShikenImage.png"), outside)
                T.set_key(launcher, "system", "試験画像拡張子", ext)
                before = T.snapshot(launcher)
                with T.OpenWatch(outside) as watch:
                    rc, out, err = T.run(EXE, "--json", launcher)
                self.assertEqual(T.snapshot(launcher), before)
                self.assertFalse(watch.opened(), "earcheck opened the picture outside the package")
                found = [f for f in T.parse_json(out)["packages"][0]["findings"] if f["key"] == "試験画像拡張子"]
                text = ext.decode("cp932")
                if sep:
                    self.assertEqual(found, [finding(E, SYS, "試験画像拡張子", sep_error % (text, sep, text))])
                    self.assertEqual(rc, 1)
                else:
                    self.assertEqual([f["severity"] for f in found], [E])
                    self.assertNotIn("フォルダーの区切り", found[0]["message"])

    def test_two_byte_names_with_a_backslash_second_byte(self):
        # 表 and ソ end in 0x5C: the exam program and the folder prefix hold them.
        def mutate(l):
            T.set_key(l, "setup", "部種名称", "表示ソフト")
            T.set_key(l, "system", "ファイル名称", "表ソ")
            os.rename(os.path.join(l, "##TMP##", EXAM), os.path.join(l, "##TMP##", "[1]表示ソフト.exe"))
        rc, pkg = self.package("sjis5c", mutate)
        self.assertEqual([f for f in pkg["findings"] if f["severity"] != I], [])
        self.assertIn(finding(I, "[1]表示ソフト.exe", None, "Windows の実行ファイルです: x86（32 ビット）、Windows GUI。"),
                      pkg["findings"])
        self.assertIn(finding(I, SYS, "ファイル名称", "値「表ソ」をタイトル画面に表示し、受験者フォルダー名の先頭に使います（開発コードは使いません）。"),
                      pkg["findings"])
        self.assertIn(finding(I, SYS, "開発コード", "値「EAR01」はファイル名称があるため使われません。"), pkg["findings"])
        self.assertEqual(rc, 0)

    def test_too_few_bytes_left_for_the_candidate(self):
        # Parent folders of 186 and 213 bytes: 259 - (186 + 45) = 28 bytes left, and 1, too few
        # for any venue code (5 bytes) and candidate number (45: "EAR01_［12345］" and the longest
        # path of the package, "\system\Image\bg_procedure.jpg").
        cases = [
            (186, 28, W, "少なすぎるため、長い入力では試験が始まりません。パッケージを浅いフォルダーに置いてください。", 0),
            (213, 1, E, "どの入力でもランチャーは「受験プログラムの展開に失敗しました。」を表示し、試験は始まりません。"
                        "パッケージを浅いフォルダーに置いてください。", 1),
        ]
        for length, left, severity, consequence, code in cases:
            with self.subTest(length):
                parent = T.launcher_form(WORK) + "\\"
                deep = os.path.join(WORK, "d" * (length - len(parent) - 1))
                os.makedirs(deep, exist_ok=True)
                launcher = os.path.join(deep, "L")
                if os.path.exists(launcher):
                    shutil.rmtree(launcher)
                shutil.copytree(BASE, launcher)
                rc, out, _ = check([launcher], "--json")
                pkg = T.parse_json(out)["packages"][0]
                self.assertEqual(len(T.launcher_form(deep) + "\\"), length)
                self.assertIn(finding(severity, None, None, budget_message(T.launcher_form(deep) + "\\", left) + consequence),
                              pkg["findings"])
                self.assertEqual(rc, code)


class Command(unittest.TestCase):
    def test_package_folder_itself_and_launcher_folder_give_the_same_report(self):
        launcher = T.copy_of(BASE, WORK, "same")
        _, a, _ = check([launcher], "--json")
        _, b, _ = check([os.path.join(launcher, "##TMP##") + "/"], "--json")
        self.assertEqual(a, b)

    def test_package_folder_under_another_name(self):
        launcher = T.copy_of(BASE, WORK, "renamed")
        os.rename(os.path.join(launcher, "##TMP##"), os.path.join(launcher, "pkg"))
        rc, out, _ = check([os.path.join(launcher, "pkg")], "--json")
        pkg = T.parse_json(out)["packages"][0]
        self.assertEqual(pkg["findings"][0], finding(E, None, None, "パッケージのフォルダー名が「pkg」です。ランチャーは実行ファイルの横の「##TMP##」だけを使うため、このままではパッケージが見つかりません。"))
        self.assertEqual(rc, 1)

    def test_exit_codes(self):
        good = T.copy_of(BASE, WORK, "good")
        bad = T.copy_of(BASE, WORK, "bad")
        os.remove(T.image(bad, "bg_procedure.jpg"))
        empty = os.path.join(WORK, "empty")
        os.makedirs(empty, exist_ok=True)
        cases = [
            ([good], 0), ([bad], 1), ([good, bad], 1), ([good, empty], 2), ([empty], 2), ([], 2),
            (["--bogus", good], 2), (["--preview"], 2), (["--html"], 2),
        ]
        for args, want in cases:
            with self.subTest(args):
                rc, _, _ = check(args)
                self.assertEqual(rc, want)

    def test_usage_asked_for_is_output_and_a_usage_error_goes_to_standard_error(self):
        rc, out, err = check([], "--help")
        self.assertEqual((rc, err), (0, b""))
        self.assertTrue(out.decode("utf-8").startswith("使い方: earcheck"), out)
        rc, out, err = check(["--bogus"])
        self.assertEqual((rc, out), (2, b""))
        self.assertIn("使い方: earcheck", err.decode("utf-8"))

    def test_reference_names_every_key_picture_and_finding_the_reports_use(self):
        rc, out, err = check([], "--reference")
        self.assertEqual((rc, err), (0, b""))
        lines = [line.split("\t") for line in out.decode("utf-8").splitlines()]
        self.assertEqual({fields[0] for fields in lines}, {"ini", "picture", "finding"})
        keys = {fields[3] for fields in lines if fields[0] == "ini"}
        pictures = {fields[1].split("\\")[-1].split(".")[0] for fields in lines if fields[0] == "picture"}
        # What the clean sample package's report names is all in the reference.
        _, pkg = Findings.package(self, "reference", lambda l: None)
        for f in pkg["findings"]:
            if f["key"]:
                self.assertIn(f["key"], keys)
            if f["file"] and f["file"].startswith(IMG):
                self.assertIn(f["file"][len(IMG):].split(".")[0], pictures)

    def test_progress_on_a_terminal_only_with_several_packages(self):
        import pty
        a = T.copy_of(BASE, WORK, "p1")
        b = T.copy_of(BASE, WORK, "p2")
        for paths, want in (([a, b], "[1/2] %s\r\n[2/2] %s\r\n" % (a, b)), ([a], "")):
            master, slave = pty.openpty()
            p = subprocess.run([EXE, "--json", *paths], stdout=subprocess.PIPE, stderr=slave, timeout=60)
            os.close(slave)
            got = b""
            while True:
                try:
                    chunk = os.read(master, 4096)
                except OSError:
                    break
                if not chunk:
                    break
                got += chunk
            os.close(master)
            self.assertEqual((p.returncode, got.decode("utf-8")), (0, want))
        _, _, err = check([a, b], "--json")  # not a terminal: no progress
        self.assertEqual(err, b"")

    def test_preview_is_refused_natively(self):
        good = T.copy_of(BASE, WORK, "good")
        rc, out, err = check([good], "--preview", os.path.join(WORK, "pngs"))
        self.assertEqual((rc, out), (2, b""))
        self.assertEqual(err.decode("utf-8"), "earcheck: --preview は Windows 版（earcheck.exe）だけで使えます。\n")
        self.assertFalse(os.path.exists(os.path.join(WORK, "pngs")))
        # The wizard's screens are the launcher's Windows code too.
        self.assertEqual(check([], "--screens"),
                         (2, b"", "earcheck: --screens は Windows 版（earcheck.exe）だけで使えます。\n".encode()))

    def test_not_a_package_is_named_on_stderr(self):
        empty = os.path.join(WORK, "empty")
        os.makedirs(empty, exist_ok=True)
        rc, out, err = check([empty], "--json")
        self.assertEqual((rc, T.parse_json(out)), (2, {"packages": []}))
        self.assertEqual(err.decode("utf-8"), "earcheck: %s はパッケージではありません（「system」フォルダーがありません）。\n" % empty)

    def test_json_stays_utf8_for_a_path_that_is_not(self):
        # Natively a path is any bytes; a byte outside well-formed UTF-8 is written as the escape
        # of U+DC80 + byte (Python's "surrogateescape"), so os.fsencode gives the path back.
        names = [
            (b"sjis-\x83\x5c", "sjis-\udc83\\"),                # ソ in Shift-JIS: a stray 0x83
            (b"cut-\xe3\x81", "cut-\udce3\udc81"),  # a character cut short: the "/" after it stays a separator
            (b"overlong-\xc0\xaf", "overlong-\udcc0\udcaf"),   # "/" spelled in two bytes
            (b"surrogate-\xed\xa0\x80", "surrogate-\udced\udca0\udc80"),
            (b"beyond-\xf4\x90\x80\x80", "beyond-\udcf4\udc90\udc80\udc80"),
            ("日本-\u00e9".encode(), "日本-\u00e9"),                # well-formed: as it is
        ]
        for raw, shown in names:
            with self.subTest(raw):
                base = T.copy_of(BASE, WORK, "json-name")
                launcher = os.path.join(os.fsencode(WORK), raw)
                if os.path.exists(launcher):
                    shutil.rmtree(launcher)
                os.rename(base, launcher)
                p = subprocess.run([EXE, "--json", launcher], capture_output=True, timeout=60)
                shutil.rmtree(launcher)
                doc = json.loads(p.stdout.decode("utf-8"))  # strict: fails on any stray byte
                path = doc["packages"][0]["path"]
                self.assertEqual(path, os.path.join(WORK, shown, "##TMP##"))
                self.assertEqual(os.fsencode(path), os.path.join(launcher, b"##TMP##"))
                self.assertEqual(p.returncode, 0)

    def test_json_shape_over_two_packages(self):
        a = T.copy_of(BASE, WORK, "j1")
        b = T.copy_of(BASE, WORK, "j2")
        T.set_key(b, "system", "ABB", "")
        os.remove(T.image(b, "ShikenImage.png"))
        rc, out, _ = check([a, b], "--json")
        doc = T.parse_json(out)
        self.assertEqual(list(doc), ["packages"])
        self.assertEqual([(p["path"], p["ok"], p["mode"], p["examType"]) for p in doc["packages"]],
                         [(os.path.join(a, "##TMP##"), True, "venue", "1"), (os.path.join(b, "##TMP##"), False, "name", "1")])
        for p in doc["packages"]:
            self.assertEqual(list(p), ["path", "ok", "mode", "examType", "findings"])
            order = [f["severity"] for f in p["findings"]]
            self.assertEqual(order, sorted(order, key=["error", "warning", "info"].index))
            for f in p["findings"]:
                self.assertEqual(list(f), ["severity", "file", "key", "message"])
                self.assertIn(f["severity"], ("error", "warning", "info"))
                self.assertTrue(f["file"] is None or isinstance(f["file"], str))
                self.assertTrue(f["key"] is None or isinstance(f["key"], str))
                self.assertTrue(f["message"])
        self.assertEqual(rc, 1)

    def test_text_report_of_a_package_with_a_warning(self):
        launcher = T.copy_of(BASE, WORK, "text")
        os.remove(T.image(launcher, "bg.jpg"))
        T.set_key(launcher, "system", "開発コード", "")
        rc, out, err = check([launcher])
        parent = T.launcher_form(WORK) + "\\"
        left = 259 - (len(parent) + 0 + 1 + 2 + 5 + 2 + 30)
        body = "\n".join(
            ["%s  %s%s: %s" % ({"error": "エラー", "warning": "警告  ", "info": "情報  "}[f["severity"]], f["file"],
                               " [%s]" % f["key"] if f["key"] else "", f["message"]) for f in [
                finding(W, IMG + "bg.jpg", None, "「bg.jpg」がありません。背景の画面は塗られず、緑の枠だけが表示されます（メッセージは出ません）。"),
                finding(W, SYS, "ファイル名称", "ファイル名称も開発コードも空です。受験者フォルダー名は受験者の入力から始まり、どの試験のものか分かりません。"),
            ] + [f for f in CLEAN_FINDINGS if f["key"] != "開発コード"]])
        expected = ("== %s\nモード: 会場モード（会場コードと受験番号）   受験タイプ: 「1」（標準のレイアウト）\n%s\n情報    %s\n"
                    "結果: エラー 0 件、警告 2 件、情報 13 件（配布できます）\n"
                    % (os.path.join(launcher, "##TMP##"), body, budget_message(parent, left)))
        self.assertEqual(out.decode("utf-8"), expected)
        self.assertEqual((rc, err), (0, b""))


class Page(unittest.TestCase):
    def test_page_without_pictures_natively_beside_an_unchanged_report(self):
        good = T.copy_of(BASE, WORK, "page-good")
        bad = T.copy_of(BASE, WORK, "page-bad")
        os.remove(T.image(bad, "bg_procedure.jpg"))
        page = os.path.join(WORK, "page.html")
        _, plain, _ = check([good, bad], "--json")
        rc, out, err = check([good, bad], "--json", "--html", page)
        self.assertEqual((rc, out, err.decode("utf-8")), (1, plain, "ページ: %s\n" % page))
        html = T.read(page).decode("utf-8")
        self.assertEqual(html.count("画面のプレビューはありません: 画面は Windows 版（earcheck.exe）がランチャーのコードで描きます。"), 2)
        self.assertNotIn("<img", html)
        self.assertEqual([html.count('href="#p%d"' % n) for n in (1, 2, 3)], [2, 2, 0])
        self.assertIn('<td class="verdict">このままでは配布できません</td>', html)
        self.assertIn("結果: エラー 1 件、警告 0 件、情報 13 件（このままでは配布できません）", html)

    def test_the_page_never_goes_into_a_package_or_onto_a_folder(self):
        launcher = T.copy_of(BASE, WORK, "page-guarded")
        pkg = os.path.join(launcher, "##TMP##")
        link = os.path.join(WORK, "link-into-package")
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(os.path.join(pkg, "system"), link)
        cases = [
            (os.path.join(pkg, "system", "r.html"), "パッケージの中にあるため、ページを作りません"),
            (os.path.join(pkg, "r.html"), "パッケージの中にあるため、ページを作りません"),
            (os.path.join(link, "r.html"), "パッケージの中にあるため、ページを作りません"),
            (os.path.join(WORK, "no such folder", "r.html"), "ページを書けません"),
            (WORK, "--html にはファイルを指定してください"),
        ]
        for target, said in cases:
            with self.subTest(target):
                rc, out, err = check([launcher], "--html", target)
                self.assertEqual(rc, 2)
                self.assertIn(said, err.decode("utf-8"))
                self.assertFalse(os.path.exists(os.path.join(pkg, "r.html")) or
                                 os.path.exists(os.path.join(pkg, "system", "r.html")))
                self.assertTrue(out.decode("utf-8").startswith("== "))  # the report is still printed

    def test_a_page_never_writes_through_a_link(self):
        launcher = T.copy_of(BASE, WORK, "page-links")
        ini = T.ini_path(launcher, "system")
        out_dir = os.path.join(WORK, "page-links-out")
        shutil.rmtree(out_dir, ignore_errors=True)
        os.makedirs(out_dir)
        notes = os.path.join(out_dir, "notes.txt")
        with open(notes, "wb") as f:
            f.write(b"the author's own notes")
        os.symlink(ini, os.path.join(out_dir, "soft.html"))
        os.link(ini, os.path.join(out_dir, "hard.html"))
        os.symlink(notes, os.path.join(out_dir, "to-notes.html"))
        refused = "--html のファイルはパッケージのファイル（そのリンクかハードリンク）であるため、ページを作りません: "
        for name in ("soft.html", "hard.html"):
            with self.subTest(name):
                target = os.path.join(out_dir, name)
                rc, out, err = check([launcher], "--html", target)  # the package, system.ini too, unchanged
                self.assertEqual(rc, 2)
                self.assertIn(refused + target + "\n", err.decode("utf-8"))
                self.assertTrue(out.decode("utf-8").startswith("== "))
        # A link out of the package is replaced by the page; what it named is untouched.
        target = os.path.join(out_dir, "to-notes.html")
        rc, _, err = check([launcher], "--html", target)
        self.assertEqual(rc, 0, err)
        self.assertFalse(os.path.islink(target))
        self.assertTrue(T.read(target).startswith(b"<!DOCTYPE html>"))
        self.assertEqual(T.read(notes), b"the author's own notes")
        self.assertEqual(sorted(os.listdir(out_dir)), ["hard.html", "notes.txt", "soft.html", "to-notes.html"])

    def test_a_page_that_fails_half_way_leaves_the_old_page(self):
        import resource
        import signal
        launcher = T.copy_of(BASE, WORK, "page-half")
        out_dir = os.path.join(WORK, "page-half-out")
        shutil.rmtree(out_dir, ignore_errors=True)
        os.makedirs(out_dir)
        page = os.path.join(out_dir, "r.html")
        with open(page, "wb") as f:
            f.write(b"the page of yesterday")

        def small_files():
            # Writes past 4 KiB fail (EFBIG) instead of stopping the process.
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (4096, 4096))
        p = subprocess.run([EXE, "--html", page, launcher], capture_output=True, timeout=60,
                           preexec_fn=small_files, restore_signals=False)
        self.assertEqual(T.read(page), b"the page of yesterday")
        self.assertEqual(os.listdir(out_dir), ["r.html"])  # no temporary file left
        self.assertIn("ページを最後まで書けませんでした。書きかけのページは残していません: " + page,
                      p.stderr.decode("utf-8"))
        self.assertEqual(p.returncode, 2)


def main():
    global EXE, WORK, BASE
    EXE = os.path.abspath(sys.argv[1])
    WORK = os.path.abspath(sys.argv[2])
    if os.path.exists(WORK):
        shutil.rmtree(WORK)
    os.makedirs(WORK)
    BASE = T.make_base(WORK)
    prog = unittest.main(argv=[sys.argv[0], "-v"], exit=False)
    return 0 if prog.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())

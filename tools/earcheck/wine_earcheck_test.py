#!/usr/bin/env python3
"""earcheck.exe under Wine on packages with Shift-JIS names (表 and ソ end in 0x5C):
the launcher's own path forms in the messages, JSON in UTF-8, the text report in
Shift-JIS, and no file changed.

    wine_earcheck_test.py RUNNER EARCHECK_EXE
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import testlib as T

RUNNER = EXE = WORK = None
Z = "Z:"  # Wine's drive for the Unix root


def map_drive(folder):
    """A free drive letter of the test run's Wine prefix mapped to folder; returns the letter."""
    devices = os.path.join(os.environ["EAR_WINE_STATE"], "prefix", "dosdevices")
    for letter in "rstuvwxy":
        if not os.path.lexists(os.path.join(devices, letter + ":")):
            os.symlink(folder, os.path.join(devices, letter + ":"))
            return letter
    raise AssertionError("no free drive letter")


def screens():
    """The wizard's screen names, in order, as earcheck.exe lists them."""
    rc, out, err = run("--screens")
    assert rc == 0, err
    return [line.split("\t")[0] for line in out.decode("cp932").splitlines()]


def run(*args):
    before = T.snapshot(WORK)
    p = subprocess.run([RUNNER, EXE, *args], capture_output=True, cwd=WORK, timeout=120)
    assert T.snapshot(WORK) == before, "earcheck.exe changed files"
    return p.returncode, p.stdout, p.stderr


class Wine(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        launcher = os.path.join(WORK, "表示パッケージ")
        pkg = T.make_sample_package.make_package(launcher, bushu="表示ソフト", file_name="表ソ")
        with open(os.path.join(pkg, "[1]表示ソフト.exe"), "wb") as f:
            f.write(T.pe_bytes(0x8664, 2))
        broken = os.path.join(WORK, "壊れた表")
        shutil.copytree(launcher, broken)
        with open(T.image(broken, "ShikenImage.png"), "wb") as f:
            f.write(b"\x89PNX\r\n\x1a\n" + bytes(40))

    def test_clean_package_with_two_byte_names(self):
        rc, out, err = run("--json", "表示パッケージ")
        doc = T.parse_json(out)
        pkg = doc["packages"][0]
        self.assertRegex(pkg["path"], r"^[A-Z]:\\.*\\表示パッケージ\\##TMP##$")
        self.assertEqual([f for f in pkg["findings"] if f["severity"] != "info"], [])
        self.assertIn({"severity": "info", "file": "[1]表示ソフト.exe", "key": None,
                       "message": "Windows の実行ファイルです: x64（64 ビット）、Windows GUI。64 ビット版の Windows でだけ動きます。"},
                      pkg["findings"])
        self.assertIn({"severity": "info", "file": "system\\system.ini", "key": "ファイル名称",
                       "message": "値「表ソ」をタイトル画面に表示し、受験者フォルダー名の先頭に使います（開発コードは使いません）。"},
                      pkg["findings"])
        self.assertEqual((rc, err), (0, b""))

    def test_probe_message_names_the_windows_path(self):
        rc, out, _ = run("--json", "壊れた表\\##TMP##")
        pkg = T.parse_json(out)["packages"][0]
        drive_path = pkg["path"]
        self.assertRegex(drive_path, r"^[A-Z]:\\.*\\壊れた表\\##TMP##$")
        self.assertIn({"severity": "error", "file": "system\\Image\\ShikenImage.png", "key": "試験画像拡張子",
                       "message": "ランチャーの画像サイズ取得がこのエラーを表示し、画面の準備がそこで止まります: "
                                  + drive_path + "\\system\\Image\\ShikenImage.png \r\n不正な PNG ファイルです。"},
                      pkg["findings"])
        self.assertEqual((rc, pkg["ok"]), (1, False))

    def test_preview_only_of_a_package_folder_named_tmp(self):
        # The screens find the package through "<launcher folder>\##TMP##": a package
        # folder of another name has no launcher folder to paint from.
        os.makedirs(os.path.join(WORK, "別名"), exist_ok=True)
        shutil.copytree(os.path.join(WORK, "表示パッケージ", "##TMP##"), os.path.join(WORK, "別名", "pkg"))
        with tempfile.TemporaryDirectory() as out:
            rc, stdout, err = run("--preview", T.launcher_form(Z + out) + "\\png", "別名\\pkg")
            self.assertEqual(os.listdir(out), [])
        shown = Z + T.launcher_form(os.path.join(WORK, "別名", "pkg"))
        self.assertEqual(err.decode("cp932").replace("\r\n", "\n"),
                         "earcheck: --preview はフォルダー名が「##TMP##」のパッケージだけに使えます"
                         "（画面はその親フォルダーのランチャーから見たとおりに描きます）。プレビューを作りません: %s\n" % shown)
        self.assertIn("パッケージのフォルダー名が「pkg」です。", stdout.decode("cp932"))  # the report as without --preview
        self.assertEqual(rc, 2)

    def test_preview_refuses_a_folder_of_the_package_by_any_spelling(self):
        launcher = os.path.join(WORK, "表示パッケージ")
        pkg = os.path.join(launcher, "##TMP##")
        links = {"to-system": os.path.join(pkg, "system"), "to-launcher": launcher, "to-package": pkg}
        for name, target in links.items():
            os.symlink(target, os.path.join(WORK, name))
        drive = map_drive(launcher)
        try:
            cases = [
                ("a link to a folder in the package", "to-system\\new"),
                ("a link to the launcher folder", "to-launcher\\##TMP##\\system\\Image"),
                ("a link to the package itself", "to-package"),
                ("a folder not yet made, under a link", "to-package\\a\\b"),
                ("another letter case", "表示パッケージ\\##tmp##\\SYSTEM\\out"),
                ("a drive letter that maps the launcher folder", drive + ":\\##TMP##\\out"),
            ]
            for what, folder in cases:
                with self.subTest(what):
                    rc, _, err = run("--preview", folder, "表示パッケージ")
                    self.assertIn("--preview のフォルダーがパッケージの中にあるため、プレビューを作りません", err.decode("cp932"))
                    self.assertEqual(rc, 2)
            # A link that leads out of the package is no package folder: the preview is made.
            with tempfile.TemporaryDirectory() as outside:
                os.symlink(outside, os.path.join(WORK, "to-outside"))
                rc, _, err = run("--preview", "to-outside\\png", "表示パッケージ")
                self.assertEqual(sorted(os.listdir(os.path.join(outside, "png"))),
                                 sorted("1-%s.png" % s for s in screens()))
                self.assertEqual(rc, 0, err.decode("cp932"))
                os.remove(os.path.join(WORK, "to-outside"))
        finally:
            os.remove(os.path.join(os.environ["EAR_WINE_STATE"], "prefix", "dosdevices", drive + ":"))
            for name in links:
                os.remove(os.path.join(WORK, name))

    def test_no_file_of_the_package_is_written_through_a_link(self):
        # A Unix link to a file shows under Wine as a plain file: opened for writing, it would be
        # written through. The page and the pictures are refused when they are a package file.
        pkg = os.path.join(WORK, "表示パッケージ", "##TMP##")
        ini = os.path.join(pkg, "system", "system.ini")
        bg = os.path.join(pkg, "system", "Image", "bg.jpg")
        with tempfile.TemporaryDirectory() as out:
            os.symlink(ini, os.path.join(out, "soft.html"))
            os.link(ini, os.path.join(out, "hard.html"))
            for name in ("soft.html", "hard.html"):
                with self.subTest(name):
                    page = T.launcher_form(Z + os.path.join(out, name))
                    rc, _, err = run("--html", page, "表示パッケージ")  # the package unchanged
                    self.assertIn("earcheck: --html のファイルはパッケージのファイル（そのリンクかハードリンク）であるため、"
                                  "ページを作りません: " + page, err.decode("cp932"))
                    self.assertEqual(rc, 2)
            self.assertEqual(sorted(os.listdir(out)), ["hard.html", "soft.html"])
        for what, make in (("a link", os.symlink), ("a hard link", os.link)):
            with self.subTest(what), tempfile.TemporaryDirectory() as out:
                make(bg, os.path.join(out, "1-title.png"))
                rc, _, err = run("--preview", T.launcher_form(Z + out), "表示パッケージ")
                self.assertIn("1-title.png: パッケージのファイル（そのリンクかハードリンク）であるため、書きません。",
                              err.decode("cp932"))
                self.assertEqual(os.listdir(out), ["1-title.png"])  # nothing painted, nothing written
                self.assertEqual(rc, 2)

    def test_written_files_replace_the_old_ones_whole(self):
        # A link out of the package is replaced, never followed; an old picture is replaced; no
        # temporary file is left beside them.
        with tempfile.TemporaryDirectory() as out, tempfile.TemporaryDirectory() as elsewhere:
            notes = os.path.join(elsewhere, "notes.txt")
            with open(notes, "wb") as f:
                f.write(b"the author's own notes")
            os.symlink(notes, os.path.join(out, "r.html"))
            with open(os.path.join(out, "1-title.png"), "wb") as f:
                f.write(b"an old picture")
            rc, _, err = run("--preview", T.launcher_form(Z + out), "--html",
                             T.launcher_form(Z + os.path.join(out, "r.html")), "表示パッケージ")
            self.assertEqual(rc, 0, err.decode("cp932"))
            self.assertEqual(T.read(notes), b"the author's own notes")
            self.assertFalse(os.path.islink(os.path.join(out, "r.html")))
            self.assertTrue(T.read(os.path.join(out, "r.html")).rstrip().endswith(b"</html>"))
            self.assertTrue(T.read(os.path.join(out, "1-title.png")).startswith(b"\x89PNG"))
            self.assertEqual(sorted(os.listdir(out)), sorted(["r.html"] + ["1-%s.png" % s for s in screens()]))

    def test_a_picture_extension_that_leads_out_is_never_opened(self):
        # "\..\" in the extension walks out of the package: Windows resolves it whether or not
        # "ShikenImage.x" exists. Neither the check nor the launcher's screens open what it
        # names: the preview paints the title screen as without the picture.
        launcher = os.path.join(WORK, "外を指す")
        shutil.copytree(os.path.join(WORK, "表示パッケージ"), launcher)
        missing = os.path.join(WORK, "画像なし")
        shutil.copytree(os.path.join(WORK, "表示パッケージ"), missing)
        T.set_key(missing, "system", "試験画像拡張子", ".none")
        # Beside the test's folder: run() reads every file in it.
        fd, outside = tempfile.mkstemp(suffix=".png", dir=os.path.dirname(WORK))
        os.close(fd)
        shutil.copy(T.image(launcher, "ShikenImage.png"), outside)
        ext = ".x" + "\\.." * 6 + "\\" + os.path.basename(outside)
        T.set_key(launcher, "system", "試験画像拡張子", ext)
        try:
            with tempfile.TemporaryDirectory() as out:
                with T.OpenWatch(outside) as watch:
                    rc, stdout, err = run("--json", "--preview", T.launcher_form(Z + out), "外を指す")
                    rc_page, _, err_page = run("--html", T.launcher_form(Z + os.path.join(out, "r.html")), "外を指す")
                self.assertFalse(watch.opened(), "earcheck.exe opened the picture outside the package")
                self.assertEqual(sorted(os.listdir(out)), sorted(["r.html"] + ["1-%s.png" % s for s in screens()]))
                with tempfile.TemporaryDirectory() as without:
                    rc_missing, _, _ = run("--preview", T.launcher_form(Z + without), "画像なし")
                    self.assertEqual(rc_missing, 1)  # the missing picture hides the exam name: an error
                    with open(os.path.join(out, "1-title.png"), "rb") as a, \
                            open(os.path.join(without, "1-title.png"), "rb") as b:
                        self.assertTrue(a.read() == b.read(), "the title screen differs from the one without the picture")
        finally:
            os.remove(outside)
        found = [f for f in T.parse_json(stdout)["packages"][0]["findings"] if f["key"] == "試験画像拡張子"]
        self.assertEqual([(f["severity"], f["file"]) for f in found], [("error", "system\\system.ini")])
        self.assertTrue(found[0]["message"].startswith("値「%s」にフォルダーの区切り「\\」があります。" % ext), found)
        self.assertIn("を開かず、画像がないときと同じに表示します: ", found[0]["message"])
        self.assertNotIn("描きません", err.decode("cp932") + err_page.decode("cp932"))
        self.assertEqual((rc, rc_page), (1, 1))  # an error finding; the preview and the page are made

    def test_bytes_left_count_every_path_read_by_its_unicode_name(self):
        # A folder named 한한 (no Shift-JIS form: two bytes a character; its ANSI name would be
        # "??") holds the package's longest path: system\Image\한한\a_long_picture_name.jpg.
        pkg = T.make_sample_package.make_package(os.path.join(WORK, "深い"))
        with open(os.path.join(pkg, "[1]模擬試験.exe"), "wb") as f:
            f.write(T.pe_bytes(0x8664, 2))
        os.makedirs(os.path.join(pkg, "system", "Image", "한한"))
        with open(os.path.join(pkg, "system", "Image", "한한", "a_long_picture_name.jpg"), "wb") as f:
            f.write(b"x")
        rc, out, _ = run("--json", "深い")
        doc = T.parse_json(out)["packages"][0]
        parent = doc["path"][:-len("深い\\##TMP##")]
        # parent + "EAR01" + first + "_" + second + "［key］" + "\" + 41 bytes within 259.
        left = 259 - (len(parent.encode("cp932")) + 5 + 1 + 9 + 1 + (13 + 4 + 1 + 23))
        messages = [f["message"] for f in doc["findings"] if "バイト使えます" in f["message"]]
        self.assertEqual(messages, ["この場所（%s）では、受験者フォルダーの中のパス（試験プログラムとパッケージのすべてのファイル）が "
                                    "259 バイトに収まるよう、受験者の入力（会場コードと受験番号）に合わせて %d バイト使えます。"
                                    % (parent, left)])
        self.assertEqual(rc, 0)

    def test_text_report_is_shift_jis(self):
        rc, out, _ = run("表示パッケージ")
        text = out.decode("cp932")
        self.assertEqual(text.splitlines()[-1], "結果: エラー 0 件、警告 0 件、情報 15 件（配布できます）")
        self.assertRegex(text.splitlines()[0], r"^== [A-Z]:\\.*\\表示パッケージ\\##TMP##$")
        self.assertEqual(rc, 0)


def main():
    global RUNNER, EXE, WORK
    RUNNER, EXE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    with tempfile.TemporaryDirectory() as work:
        WORK = work
        prog = unittest.main(argv=[sys.argv[0], "-v"], exit=False)
    return 0 if prog.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())

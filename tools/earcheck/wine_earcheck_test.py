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

sys.path.insert(0, os.path.join(T.ROOT, "tests", "e2e"))
import wizard  # noqa: E402  the wizard's screens in order

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
                                 sorted("1-%s.png" % s for s in wizard.SCREENS))
                self.assertEqual(rc, 0, err.decode("cp932"))
                os.remove(os.path.join(WORK, "to-outside"))
        finally:
            os.remove(os.path.join(os.environ["EAR_WINE_STATE"], "prefix", "dosdevices", drive + ":"))
            for name in links:
                os.remove(os.path.join(WORK, name))

    def test_text_report_is_shift_jis(self):
        rc, out, _ = run("表示パッケージ")
        text = out.decode("cp932")
        infos = sum(1 for line in text.splitlines() if line.startswith("情報"))
        self.assertGreater(infos, 10)
        self.assertEqual(text.splitlines()[-1], "結果: エラー 0 件、警告 0 件、情報 %d 件（配布できます）" % infos)
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

"""The guide's drift check of scripts/check_guides.py, on a small hand-made listing and guide."""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_guides  # noqa: E402
import test_counts  # noqa: E402

LISTING = "\n".join([
    "ini\tsystem\\system.ini\t基本情報\t試験名",
    "ini\tsystem\\system.ini\t基本情報\tABB",
    "ini\tsystem\\1\\setup.ini\t基本情報\t受験タイプ",
    "ini\tsystem\\shiken.ini\t受験者情報\t姓",
    "picture\tsystem\\Image\\ShikenImage.<ext>\t試験画像拡張子",
    "picture\tsystem\\Image\\bg.jpg\t",
    "finding\tmissing-picture\terror",
    "finding\tkey-has-blanks\twarning",
    "finding\tmode\tinfo",
]) + "\n"

GUIDE = """# パッケージ作成ガイド

`system.ini` の `基本情報` セクション:

- `試験名`: 試験の名前。
- `ABB`: 空でなければ会場モード。
- `試験画像拡張子`: `ShikenImage` の拡張子（例 `.png`）。

`setup.ini` の `受験タイプ`。`shiken.ini` の `受験者情報` に `姓` を書きます。背景は `bg.jpg` です。

## <a id="severity-error"></a>エラー

<a id="finding-missing-picture"></a>
**「bg_procedure.jpg」がありません。** 画像を置いてください。

## <a id="severity-warning"></a>警告

<a id="finding-key-has-blanks"></a>
**値の前後に空白があります。** 空白を消してください。

## <a id="severity-info"></a>情報

<a id="finding-mode"></a>
**会場モードです。**
"""


def test_a_guide_that_names_everything_passes():
    assert check_guides.check(LISTING, GUIDE) == []


def test_each_removal_is_named():
    cases = [
        # (what the guide loses, what the check must say)
        ("- `ABB`: 空でなければ会場モード。\n", "missing INI key `ABB` (system\\system.ini [基本情報])"),
        ("`setup.ini` の `受験タイプ`。", "missing INI key `受験タイプ`"),
        (" `姓` を", "missing INI key `姓`"),
        ("`受験者情報` に", "missing INI section `受験者情報`"),
        ("背景は `bg.jpg` です。", "missing picture `bg.jpg` (system\\Image\\bg.jpg)"),
        ("`ShikenImage` の", "missing picture `ShikenImage`"),
        ("- `試験画像拡張子`: ", "missing INI key `試験画像拡張子` (extension of ShikenImage)"),
        ('<a id="finding-key-has-blanks"></a>', "missing finding key-has-blanks (warning)"),
    ]
    for removed, expected in cases:
        assert removed in GUIDE, removed
        found = check_guides.check(LISTING, GUIDE.replace(removed, ""))
        assert len(found) == 1 and found[0].startswith(expected), (removed, found)


def test_a_key_in_plain_text_is_not_enough():
    # "姓" stands in many words; only a code span names the key.
    found = check_guides.check(LISTING, GUIDE.replace("`姓`", "姓"))
    assert found == ["missing INI key `姓` (system\\shiken.ini [受験者情報])"], found


def test_a_finding_under_the_wrong_severity_or_unknown_is_named():
    moved = GUIDE.replace('<a id="finding-mode"></a>\n', "").replace(
        '<a id="finding-missing-picture"></a>', '<a id="finding-missing-picture"></a><a id="finding-mode"></a>')
    assert check_guides.check(LISTING, moved) == ["finding mode (info) is described under error"]
    # A kind listed under two severities is described once, under either.
    assert check_guides.check(LISTING + "finding\tmode\twarning\n", GUIDE) == []
    assert check_guides.check(LISTING + "finding\tmode\terror\n", moved) == []
    stale = GUIDE + '\n<a id="finding-gone-away"></a>\n'
    assert check_guides.check(LISTING, stale) == ["finding gone-away is described but the program does not know it"]


def test_a_broken_listing_is_reported():
    found = check_guides.check(LISTING + "finding\tx\tfatal\nkey\tfoo\n", GUIDE)
    assert found[0].startswith("listing line 10: severity 'fatal'"), found
    assert found[1].startswith("listing line 11: not a reference line"), found


def test_the_command_fails_naming_what_is_missing():
    with tempfile.TemporaryDirectory() as d:
        listing, guide = os.path.join(d, "ref.tsv"), os.path.join(d, "guide.md")
        with open(listing, "w", encoding="utf-8") as f:
            f.write(LISTING)
        for text, code in ((GUIDE, 0), (GUIDE.replace("`ABB`", "ABB"), 1)):
            with open(guide, "w", encoding="utf-8") as f:
                f.write(text)
            run = subprocess.run([sys.executable, os.path.join(HERE, "check_guides.py"), listing, guide],
                                 capture_output=True, text=True)
            assert run.returncode == code, run.stdout + run.stderr
            assert ("missing INI key `ABB`" in run.stdout) == (code == 1), run.stdout
        # An empty listing proves nothing: it fails.
        with open(listing, "w", encoding="utf-8") as f:
            f.write("")
        run = subprocess.run([sys.executable, os.path.join(HERE, "check_guides.py"), listing, guide],
                             capture_output=True, text=True)
        assert run.returncode == 1, run.stdout


def test_the_author_guide_names_its_own_keys_and_pictures():
    # Until earcheck lists its knowledge, the listing that the guide was written from.
    listing = "\n".join([
        *("ini\tsystem\\system.ini\t基本情報\t" + k for k in
          ("試験名", "試験画像拡張子", "メーカー画像拡張子", "級TOP画像拡張子", "級名", "ABB", "開発コード",
           "ファイル名称", "固有キー")),
        "ini\tsystem\\1\\setup.ini\t基本情報\t受験タイプ", "ini\tsystem\\1\\setup.ini\t基本情報\t部種名称",
        *("ini\tsystem\\shiken.ini\t受験者情報\t" + k for k in ("会場コード", "受験番号", "姓", "名")),
        *("picture\tsystem\\Image\\" + p + "\t" for p in
          ("bg.jpg", "bg_main_top.jpg", "bg_procedure.jpg", "procedure01.jpg")),
        "picture\tsystem\\Image\\ShikenImage.<ext>\t試験画像拡張子",
        "picture\tsystem\\Image\\MakerImage.<ext>\tメーカー画像拡張子",
        "picture\tsystem\\Image\\KyuTopImage.<ext>\t級TOP画像拡張子",
    ])
    with open(os.path.join(HERE, "..", "docs", "ja", "package-guide.md"), encoding="utf-8") as f:
        guide = f.read()
    found = [line for line in check_guides.check(listing, guide) if "described but" not in line]
    assert found == [], found


if __name__ == "__main__":
    test_counts.main_functions(globals())

"""earcheck.exe --preview: the title, procedure and registration screens of a package as PNG
files, painted by the launcher's own screen code, compared pixel by pixel with the screens
that the real launcher shows on the same package; the package left as it was."""
import os
import subprocess
import sys
import time

import harness
import wizard

sys.path.insert(0, os.path.join(harness.SOURCE_DIR, "tools", "earcheck"))
import testlib  # noqa: E402

SCREENS = wizard.SCREENS
SIZES = {s.name: s.size for s in wizard.ORDER}


def earcheck(*args, cwd=None):
    exe = os.environ.get("EAR_EARCHECK") or os.path.join(harness.BUILD_DIR, "tools", "earcheck", "earcheck.exe")
    rc, out, err = harness.run_wine_to_end(exe, args, timeout=120, cwd=cwd)
    # Standard error is in text mode: line ends reach us as CR LF.
    return rc, out, err.decode("cp932").replace("\r\n", "\n")


def alpha(png, x, y):
    assert png.color == 6, "the preview has an alpha channel"
    return png.rows[y][x * 4 + 3]


def previews(out, n):
    shots = {s: harness.Png(os.path.join(out, "%d-%s.png" % (n, s))) for s in SCREENS}
    for s, png in shots.items():
        assert (png.width, png.height) == SIZES[s], (s, png.width, png.height)
    return shots


def differing(preview, shot, screen):
    """Pixels inside the preview's region that differ from the launcher's screen on the display."""
    x0, y0, w, h = screen["client"]
    assert (w, h) == (preview.width, preview.height)
    bad = []
    for y in range(h):
        for x in range(w):
            if alpha(preview, x, y) == 255 and not harness.close_to(preview.pixel(x, y), shot.pixel(x0 + x, y0 + y), 8):
                bad.append((x, y))
    return bad


def outside(bad, rect):
    l, t, w, h = rect
    return [(x, y) for x, y in bad if not (l <= x < l + w and t <= y < t + h)]


def settled_shot(name, title, preview, focused):
    """The launcher's screen once painted and rounded (screenshots until it matches or 10 s
    pass), and the pixels that differ from the preview outside the focused control."""
    deadline = time.time() + 10
    while True:
        screen = harness.wait_for_window(title, timeout=20)
        shot = harness.Png(harness.screenshot(os.path.join(harness.temp_dir("shots"), name + ".png")))
        bad = differing(preview, shot, screen)
        if not outside(bad, focused) or time.time() > deadline:
            return screen, bad


def test_preview_is_what_the_launcher_shows_and_changes_nothing():
    parent, folder = wizard.install("preview-launcher")
    out = harness.temp_dir("preview-out")
    before = testlib.snapshot(parent)
    rc, stdout, err = earcheck("--preview", harness.winpath(out), harness.winpath(folder))
    assert testlib.snapshot(parent) == before, "the preview changed the package"
    assert rc == 0, (rc, err)
    assert err == "".join("プレビュー: %s\\1-%s.png\n" % (harness.winpath(out), s) for s in SCREENS), err
    assert stdout.decode("cp932").splitlines()[-1].startswith("結果: エラー 0 件")
    mine = previews(out, 1)
    for png in mine.values():  # the rounded region of 20 x 20 corner ellipses
        w, h = png.width, png.height
        assert [alpha(png, x, y) for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1), (2, 1))] == [0] * 5
        assert [alpha(png, x, y) for x, y in ((10, 10), (0, h // 2), (w // 2, 0), (w - 2, h // 2), (w // 2, h - 2))] \
            == [255] * 5

    wizard.start(parent, folder, "-debug")
    # The preview has no focus: the launcher's focused control (the first in tab order) shows
    # a focus frame or a caret that the preview does not. Every other pixel is the same.
    counts = {}
    _, bad = settled_shot("title", wizard.TITLE, mine["title"], (545, 466, 80, 28))  # NextBtn
    counts["title"] = (len(bad), outside(bad, (545, 466, 80, 28)))
    wizard.press(wizard.TITLE, "次へ >")
    screen, bad = settled_shot("procedure", wizard.PROCEDURE, mine["procedure"], (746, 656, 80, 28))
    counts["procedure"] = (len(bad), outside(bad, (746, 656, 80, 28)))
    harness.wdrive("click", wizard.button(screen, "次へ >")["hwnd"], "--mouse")
    _, bad = settled_shot("registration", wizard.REGISTRATION, mine["registration"], (352, 272, 129, 20))  # KaiCdEdt
    counts["registration"] = (len(bad), outside(bad, (352, 272, 129, 20)))
    print("pixels differing from the launcher's screens (all, outside the focused control):", counts)
    assert all(not rest for _, rest in counts.values()), counts


def test_mode_dependent_controls_and_the_exam_name_picture_position():
    d = harness.temp_dir("preview-modes")
    venue = os.path.join(d, "venue")
    name = os.path.join(d, "name")
    harness.make_package(venue)
    harness.make_package(name, mode="name")
    # An exam-name picture twice its box (878 x 40), one flat colour: drawn 439 x 20 with its
    # left edge at 104 in the title artwork, which lies 3 pixels left of the client area.
    subprocess.run(["convert", "-size", "878x40", "xc:rgb(200,0,0)",
                    "PNG24:" + testlib.image(venue, "ShikenImage.png")], check=True)
    out = os.path.join(d, "out")
    rc, stdout, err = earcheck("--json", "--preview", harness.winpath(out), harness.winpath(venue),
                               harness.winpath(name))
    assert rc == 0, (rc, err)
    assert [p["mode"] for p in testlib.parse_json(stdout)["packages"]] == ["venue", "name"]  # the report unchanged
    v, n = previews(out, 1), previews(out, 2)
    red = (200, 0, 0)
    title = v["title"]
    assert [harness.close_to(title.pixel(x, 230), red, 12) for x in (100, 101, 539, 540)] == [False, True, True, False]
    assert [harness.close_to(title.pixel(300, y), red, 12) for y in (219, 220, 239, 240)] == [False, True, True, False]
    # Venue mode: venue code and candidate number edits; name mode: surname and given name.
    white = (255, 255, 255)
    kai_cd, ju_ban, sei, mei = (400, 282), (400, 317), (285, 249), (360, 249)
    assert [v["registration"].pixel(*p) == white for p in (kai_cd, ju_ban, sei, mei)] == [True, True, False, False]
    assert [n["registration"].pixel(*p) == white for p in (kai_cd, ju_ban, sei, mei)] == [False, False, True, True]


def test_a_set_up_that_stops_leaves_square_corners_and_is_named():
    d = harness.temp_dir("preview-broken")
    pkg = harness.make_package(d)
    with open(testlib.image(d, "ShikenImage.png"), "wb") as f:
        f.write(b"\x89PNX\r\n\x1a\n" + bytes(40))
    out = os.path.join(d, "..", "preview-broken-out")
    rc, _, err = earcheck("--preview", harness.winpath(out), harness.winpath(d))
    assert rc == 1, (rc, err)
    title_png = harness.winpath(os.path.join(out, "1-title.png"))
    assert err.startswith("earcheck: %s: 画面の準備がエラーで止まります。" % title_png), err
    assert "%s\\system\\Image\\ShikenImage.png \r\n不正な PNG ファイルです。\n" % harness.winpath(pkg) in err, err
    shots = previews(out, 1)
    assert alpha(shots["title"], 0, 0) == 255  # the show handler stopped before its region
    assert alpha(shots["procedure"], 0, 0) == 0


def test_a_folder_in_the_package_or_a_file_is_refused():
    d = harness.temp_dir("preview-refused")
    pkg = harness.make_package(d)
    before = testlib.snapshot(d)
    rc, stdout, err = earcheck("--preview", harness.winpath(os.path.join(pkg, "system", "out")), harness.winpath(d))
    assert rc == 2, (rc, err)
    assert "プレビューを作りません" in err, err
    assert testlib.snapshot(d) == before, "the preview changed the package"
    a_file = os.path.join(harness.temp_dir("preview-file"), "f.png")
    open(a_file, "wb").close()
    rc, stdout, err = earcheck("--preview", harness.winpath(a_file), harness.winpath(d))
    assert (rc, stdout) == (2, b""), (rc, err)


if __name__ == "__main__":
    harness.main(globals())

"""The title and procedure screens of the real launcher on real pixels: the keyed pictures,
both font branches, the exam type, the header band, the rounded corners, the procedure
picture, the wizard's flow back to the backdrop, and a picture that the probe rejects."""
import os
import struct
import subprocess
import time

import harness
import wizard
from wizard import install, press, start

RED, BLUE, NEAR_WHITE, WHITE = (255, 0, 0), (0, 0, 255), (254, 255, 255), (255, 255, 255)
FRAME = (0, 100, 0)
HEADER_MARK = (0x78, 0xBE, 0xEB)
DEBUG_TEXT = "デバッグ中は削除できません．　"


def write_bmp(path, width, height, color_at):
    """A 24-bit bottom-up BMP: exact colours, no compression artefacts."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = color_at(x, y)
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (stride - width * 3))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def image_folder(folder):
    return os.path.join(folder, "##TMP##", "system", "Image")


class Shot:
    """A screenshot read in a screen's client coordinates."""

    def __init__(self, screen, path):
        self.png = harness.Png(harness.screenshot(path))
        self.x, self.y = screen["client"][0], screen["client"][1]

    def at(self, x, y):
        return self.png.pixel(self.x + x, self.y + y)

    def bitmap(self, x, y):
        """Image1's bitmap of the title screen lies 3 pixels left of the client area."""
        return self.at(x - 3, y)


def open_title(name, prepare=None, args=("-debug",), **package):
    """Installs, lets prepare(folder) change the package, starts, and returns (screen, shot)."""
    parent, folder = install(name, **package)
    if prepare:
        prepare(folder)
    start(parent, folder, *args)
    screen = harness.wait_for_window(wizard.TITLE, timeout=20)
    harness.wait_for_window(wizard.BACKDROP, timeout=5)
    time.sleep(1.0)  # WM_AFTERSHOW and the painting
    return screen, Shot(screen, os.path.join(parent, "title.png")), folder


def test_keyed_pictures_fit_their_boxes_and_the_logo_follows_the_name():
    def pictures(folder):
        # 878 x 40, twice the box: red, pure white (keyed), then 254 white (kept).
        write_bmp(os.path.join(image_folder(folder), "ShikenImage.bmp"), 878, 40,
                  lambda x, y: RED if x < 200 else (WHITE if x < 600 else NEAR_WHITE))
        # Exactly the logo box: blue.
        write_bmp(os.path.join(image_folder(folder), "MakerImage.bmp"), 219, 17, lambda x, y: BLUE)

    def no_name(folder):
        os.remove(os.path.join(image_folder(folder), "ShikenImage.bmp"))

    opts = dict(shiken_ext=".bmp", maker_ext=".bmp", kyu_ext="")
    # Without the name's picture nothing is drawn there, and the logo is centred: (647 - 219) / 2.
    _, art, _ = open_title("keyedbase", prepare=lambda f: (pictures(f), no_name(f)), **opts)
    assert art.bitmap(214, 200) == BLUE and art.bitmap(432, 216) == BLUE, (art.bitmap(214, 200), art.bitmap(432, 216))
    assert art.bitmap(213, 208) != BLUE and art.bitmap(433, 208) != BLUE
    harness.tidy_up()
    _, shot, _ = open_title("keyed", prepare=pictures, **opts)
    # Drawn at 439 x 20 from bitmap left 104, top 220: red over bitmap columns 104..203.
    assert harness.close_to(shot.bitmap(106, 230), RED, 24), shot.bitmap(106, 230)
    assert harness.close_to(shot.bitmap(201, 230), RED, 24), shot.bitmap(201, 230)
    assert not harness.close_to(shot.bitmap(102, 230), RED, 80), shot.bitmap(102, 230)
    assert not harness.close_to(shot.bitmap(106, 242), RED, 80), shot.bitmap(106, 242)
    # Pure white is keyed: the artwork shows exactly; 254 stays, up to the box's right end.
    for x, y in [(250, 225), (350, 235)]:
        assert shot.bitmap(x, y) == art.bitmap(x, y), ((x, y), shot.bitmap(x, y), art.bitmap(x, y))
    for x, y in [(420, 225), (540, 235)]:
        assert art.bitmap(x, y) != NEAR_WHITE
        assert shot.bitmap(x, y) == NEAR_WHITE, ((x, y), shot.bitmap(x, y))
    assert shot.bitmap(546, 230) == art.bitmap(546, 230)
    # The maker logo (219 x 17, unscaled) starts where the name starts: bitmap 104, top 200.
    assert shot.bitmap(104, 200) == BLUE and shot.bitmap(322, 216) == BLUE, (shot.bitmap(104, 200), shot.bitmap(322, 216))
    assert shot.bitmap(103, 208) != BLUE and shot.bitmap(323, 208) != BLUE and shot.bitmap(200, 217) != BLUE


def ink_box(shot, rect, background_of):
    """Bounding box (l, t, r, b) of the pixels in rect that differ from the text-free artwork."""
    l, t, r, b = rect
    hits = [(x, y) for y in range(t, b) for x in range(l, r)
            if not harness.close_to(shot.at(x, y), background_of.at(x, y), 60)]
    assert hits, "no text in %r" % (rect,)
    xs, ys = [x for x, _ in hits], [y for _, y in hits]
    return min(xs), min(ys), max(xs), max(ys)


def test_both_font_branches_place_the_grade_labels():
    """The rig maps "メイリオ" to IPA P Gothic through Wine's font replacements, and Wine then
    lists "メイリオ" among the font families: the first branch. Without the mapping the list
    lacks it: the second branch. Both draw with the same face, so the ink moves exactly
    vertically by the labels' moves (top 254 → 261, 274 → 276) and the suffix by its left edge
    (327 → 326). The right-aligned digit's right edge follows its new left edge plus the width
    it was sized to at creation, in whatever face "メイリオ" then resolved to, so its x is not
    compared."""
    opts = dict(shiken_ext="", maker_ext="", kyu_ext="", kyu="3級", shiken_name="")
    _, blank, _ = open_title("gradeblank", **dict(opts, kyu=""))
    harness.tidy_up()
    _, meiryo, _ = open_title("grademeiryo", **opts)
    harness.tidy_up()
    key = r"HKCU\Software\Wine\Fonts\Replacements"
    assert harness.run_wine("reg", ["delete", key, "/v", "メイリオ", "/f"]).wait(timeout=60) == 0
    try:
        _, gothic, _ = open_title("gradegothic", **opts)
    finally:
        harness.tidy_up()
        assert harness.run_wine("reg", ["add", key, "/v", "メイリオ", "/d", "IPAPGothic", "/f"]).wait(timeout=60) == 0
    # "3" in KyuName1Lbl (right-aligned, near x 300), "級" in KyuLbl2Lbl: its right part, clear
    # of the digit, gives its right and bottom edges.
    digit_m, digit_g = ink_box(meiryo, (280, 240, 325, 320), blank), ink_box(gothic, (280, 240, 325, 320), blank)
    suffix_m, suffix_g = ink_box(meiryo, (336, 260, 380, 320), blank), ink_box(gothic, (336, 260, 380, 320), blank)
    assert digit_g[1] - digit_m[1] == 7, (digit_m, digit_g)
    assert (suffix_g[2] - suffix_m[2], suffix_g[3] - suffix_m[3]) == (-1, 2), (suffix_m, suffix_g)


def test_exam_type_3_alone_gives_the_alternative_footer_button_and_notice():
    notice = {}
    for name in ("title_notice.jpg", "title_notice3.jpg"):
        png = os.path.join(harness.temp_dir("notice"), name + ".png")
        subprocess.run(["convert", os.path.join(harness.SOURCE_DIR, "resources", "artwork", name), "PNG24:" + png],
                       check=True)
        notice[name] = harness.Png(png)
    # Where the two notices differ clearly.
    points = [(x, y) for y in range(2, 71, 2) for x in range(2, 465, 2)
              if not harness.close_to(notice["title_notice.jpg"].pixel(x, y), notice["title_notice3.jpg"].pixel(x, y), 80)]
    assert len(points) > 50, len(points)

    def shows(shot, name):
        art = notice[name]
        return sum(harness.close_to(shot.at(90 + x, 316 + y), art.pixel(x, y), 20) for x, y in points) / len(points)

    for exam_type, next_top, shown, hidden in [("3", 468, "title_notice3.jpg", "title_notice.jpg"),
                                               ("03", 466, "title_notice.jpg", "title_notice3.jpg")]:
        screen, shot, _ = open_title("type" + exam_type, exam_type=exam_type)
        assert wizard.button(screen, "次へ > (3)" if exam_type == "3" else "次へ >"), exam_type
        assert shows(shot, shown) > 0.95 and shows(shot, hidden) < 0.3, (exam_type, shows(shot, shown),
                                                                          shows(shot, hidden))
        harness.tidy_up()


def test_header_band_texture_shift_frame_and_rounded_corners():
    screen, shot, _ = open_title("header")
    # The band (TRImg) starts at client x 190; the logo covers its first 6 columns.
    band = lambda x, y: shot.at(190 + x, y)  # noqa: E731
    for x in (20, 200, 400):
        assert harness.close_to(band(x, 0), FRAME, 30), (x, band(x, 0))
        assert not harness.close_to(band(x, 2), FRAME, 30), (x, band(x, 2))
    # The tile's mark (8 x 8 at 0, 56 of a 96-wide tile) repeats from column 10.
    for x0 in (10, 106, 202, 298):
        assert harness.close_to(band(x0 + 3, 59), HEADER_MARK, 30), (x0, band(x0 + 3, 59))
    assert not harness.close_to(band(8, 59), HEADER_MARK, 30)
    assert not harness.close_to(band(19, 59), HEADER_MARK, 30)
    # Rounded: quarter ellipses of radius 10 cut each corner of 647 x 501 (a round-rectangle
    # region leaves out the last column and row of its rectangle).
    corners = "0,0;2,2;643,2;2,497;643,497;10,10;323,0;0,250;645,250;636,490;646,250"
    region = harness.wdrive("region", screen["hwnd"], "--points", corners)[0]
    assert region["box"] == [0, 0, 646, 500], region
    assert region["inside"] == [False, False, False, False, False, True, True, True, True, True, False], region


def test_procedure_picture_is_cut_and_a_smaller_one_leaves_the_artwork():
    art_png = os.path.join(harness.temp_dir("procart"), "proc_bg.png")
    subprocess.run(["convert", os.path.join(harness.SOURCE_DIR, "resources", "artwork", "proc_bg.jpg"),
                    "PNG24:" + art_png], check=True)
    art = harness.Png(art_png)
    for size in ((1000, 700), (400, 300)):
        def picture(folder):
            w, h = size
            subprocess.run(["convert", "-size", "%dx%d" % size, "xc:blue", "-fill", "red", "-draw",
                            "rectangle 0,0 %d,%d" % (min(w, 832) - 1, min(h, 558) - 1), "-quality", "95",
                            os.path.join(image_folder(folder), "bg_procedure.jpg")], check=True)
        open_title("proc%d" % size[0], prepare=picture)
        press(wizard.TITLE, "次へ >")
        screen = harness.wait_for_window(wizard.PROCEDURE, timeout=20)
        time.sleep(1.0)
        shot = Shot(screen, os.path.join(harness.temp_dir("proc"), "proc.png"))
        # Image1's artwork lies at 0, -24.
        artwork = lambda x, y: art.pixel(x, y + 24)  # noqa: E731
        w, h = min(size[0], 832), min(size[1], 558)
        for x, y in [(20, 94), (17 + w - 4, 91 + h - 4), (17 + w // 2, 91 + h // 2)]:
            assert harness.close_to(shot.at(x, y), RED, 40), (size, (x, y), shot.at(x, y))
        # Right of and below the picture's visible part: the artwork, no blue.
        for x, y in [(17 + w + 3, 91 + h // 2), (17 + w // 2, 91 + h + 3)]:
            if x < 855 and y < 650:
                assert harness.close_to(shot.at(x, y), artwork(x, y), 24), (size, (x, y), shot.at(x, y))
        harness.tidy_up()


def test_the_listed_screens_are_the_windows_the_wizard_opens():
    """wizard.ORDER is what earcheck.exe --screens lists from screens/wizard.cpp: "次へ >" leads
    from each listed screen to the next, each found by its window title at its client size."""
    parent, folder = install("order")
    start(parent, folder, "-debug")
    for before, screen in zip((None,) + wizard.ORDER, wizard.ORDER):
        if before:
            press(before.window, "次へ >")
        window = harness.wait_for_window(screen.window, timeout=20)
        assert tuple(window["client"][2:]) == screen.size, (screen, window["client"])
    assert len(wizard.ORDER) >= 3 and len(set(wizard.SCREENS)) == len(wizard.ORDER), wizard.ORDER


def test_flow_next_back_next_close_reaches_the_backdrop():
    parent, folder = install("flow")
    launcher = start(parent, folder, "-debug")
    title = press(wizard.TITLE, "次へ >")
    first = harness.wait_for_window(wizard.PROCEDURE, timeout=20)
    assert not harness.windows(title=wizard.TITLE)  # hidden while the procedure screen is open
    press(wizard.PROCEDURE, "次へ >")
    harness.wait_for_window(wizard.REGISTRATION, timeout=20)
    assert not harness.windows(title=wizard.PROCEDURE)
    press(wizard.REGISTRATION, "< 戻る")  # 7: the procedure screen again
    assert harness.wait_for_window(wizard.PROCEDURE, timeout=20)["hwnd"] == first["hwnd"]
    press(wizard.PROCEDURE, "< 戻る")  # 7: the title screen again
    again = harness.wait_for_window(wizard.TITLE, timeout=20)
    assert again["hwnd"] == title["hwnd"]
    # The procedure screen is released; the title screen makes a fresh one, hidden, for its
    # next "次へ >".
    harness.wait_hwnd_gone(wizard.PROCEDURE, first["hwnd"], timeout=10)
    press(wizard.TITLE, "次へ >")
    assert harness.wait_for_window(wizard.PROCEDURE, timeout=20)["hwnd"] != first["hwnd"]
    press(wizard.PROCEDURE, "閉じる")  # 2 through the title screen to the backdrop: self-removal
    boxes = harness.message_boxes(timeout=10)
    assert [(b["title"], b["text"]) for b in boxes] == [("情報", DEBUG_TEXT)], boxes
    assert not harness.windows(title=wizard.TITLE) and not harness.windows(title=wizard.PROCEDURE)
    harness.wdrive("click", boxes[0]["hwnd"], "--id", 1)
    assert launcher.wait(timeout=20) == 0


def test_rejected_picture_shows_the_error_skips_the_rest_and_keeps_square_corners():
    def bad(folder):
        with open(os.path.join(image_folder(folder), "ShikenImage.xyz"), "wb") as f:
            f.write(b"no picture")
    parent, folder = install("rejected", shiken_ext=".xyz", exam_type="3", omit=["ShikenImage.xyz"])
    bad(folder)
    start(parent, folder, "-debug")
    boxes = harness.message_boxes(timeout=20)
    assert len(boxes) == 1, boxes
    path = harness.winpath(os.path.join(folder, "##TMP##", "system", "Image", "ShikenImage.xyz"))
    expected = (path + "\nには対応していません。 対応しているファイルは\n"
                "*.bmp, *.jpg, *.jpeg, *.png, *.psd, *.wmf, *.emf, *.gif, *.tif, *.tiff のみです。.")
    box = boxes[0]
    assert (box["title"], box["text"].replace("\r\n", "\n")) == ("Examautorunner", expected), box
    assert box["icon"] and [b["text"] for b in box["buttons"] if b["visible"]] == ["OK"], box
    harness.wdrive("click", box["hwnd"], "--id", 1)
    screen = harness.wait_for_window(wizard.TITLE, timeout=20)
    time.sleep(1.0)
    # Exam type "3" was never read (step 7): the next button stays at 466; no rounded region.
    assert wizard.button(screen, "次へ >")
    assert harness.wdrive("region", screen["hwnd"])[0]["kind"] == "error"


if __name__ == "__main__":
    harness.main(globals())

"""The launcher's start-up as a user meets it: one copy per machine, the textured backdrop
over the whole screen, the "-debug" option and the coded error box."""
import os
import subprocess
import time

import harness
import wizard
from wizard import install, press, start

FIRST_SCREEN = wizard.TITLE
BACKDROP = wizard.BACKDROP
FRAME = (0, 100, 0)
DEBUG_TEXT = "デバッグ中は削除できません．　"


def test_second_copy_ends_at_once_without_a_window():
    parent, folder = install("single")
    start(parent, folder)
    harness.wait_for_window(FIRST_SCREEN, timeout=20)
    began = time.monotonic()
    second = start(parent, folder)
    assert second.wait(timeout=15) == 0
    took = time.monotonic() - began
    assert len(harness.windows(title=BACKDROP)) == 1
    assert len(harness.windows(title=FIRST_SCREEN)) == 1
    assert not harness.message_boxes(timeout=0.5)
    print("second copy ended after %.2f s" % took)


def test_backdrop_covers_the_screen_with_the_shifted_texture_and_a_frame():
    parent, folder = install("backdrop")
    start(parent, folder, "-debug")
    harness.wait_for_window(FIRST_SCREEN, timeout=20)
    backdrop = harness.windows(title=BACKDROP)[0]
    shot = harness.Png(harness.screenshot(os.path.join(parent, "backdrop.png")))
    assert backdrop["rect"] == [0, 0, shot.width, shot.height], backdrop["rect"]

    tile_png = os.path.join(parent, "bg.png")
    subprocess.run(["convert", os.path.join(folder, "##TMP##", "system", "Image", "bg.jpg"), "PNG24:" + tile_png],
                   check=True)
    tile = harness.Png(tile_png)

    # Every pixel of the band above the centred title screen, where shifts 10 and 0 disagree.
    telling = [(x, y) for y in range(2, 130, 3) for x in range(2, shot.width - 2)
               if not harness.close_to(tile.pixel((x - 10) % tile.width, y % tile.height),
                                       tile.pixel(x % tile.width, y % tile.height), 60)]
    assert len(telling) > 1000

    def matches(shift):
        hits = sum(harness.close_to(shot.pixel(x, y), tile.pixel((x - shift) % tile.width, y % tile.height), 24)
                   for x, y in telling)
        return hits / len(telling)

    assert matches(10) > 0.97, matches(10)
    assert matches(0) < 0.1, matches(0)
    # The first 10 columns show the right end of a tile: the red mark starts at column 10.
    assert harness.close_to(shot.pixel(12, 3), (255, 0, 0), 40)
    assert not harness.close_to(shot.pixel(6, 3), (255, 0, 0), 40)
    # The 2-pixel pen is centred on the outline: one pixel of it lies inside each edge.
    w, h = shot.width, shot.height
    for x, y in [(0, h // 2), (w - 1, h // 2), (w // 3, 0), (w // 3, h - 1), (0, 0), (w - 1, h - 1)]:
        assert harness.close_to(shot.pixel(x, y), FRAME, 30), ((x, y), shot.pixel(x, y))
    assert not harness.close_to(shot.pixel(1, h // 3 + 1), FRAME, 30)


def test_without_a_readable_texture_only_the_frame_and_no_message():
    corrupt = b"\xff\xd8\xff\xe0 this is no picture"
    for name, damage in [("nobg", None), ("corruptbg", corrupt), ("emptybg", b"")]:
        parent, folder = install(name, no_bg=True)
        if damage is not None:
            with open(os.path.join(folder, "##TMP##", "system", "Image", "bg.jpg"), "wb") as f:
                f.write(damage)
        start(parent, folder, "-debug")
        harness.wait_for_window(FIRST_SCREEN, timeout=20)
        assert not harness.message_boxes(timeout=1), name
        shot = harness.Png(harness.screenshot(os.path.join(parent, name + ".png")))
        assert harness.close_to(shot.pixel(0, 300), FRAME, 30), name
        assert harness.close_to(shot.pixel(shot.width - 1, 300), FRAME, 30), name
        for x, y in [(5, 5), (200, 100), (shot.width - 20, shot.height - 20)]:
            assert harness.close_to(shot.pixel(x, y), (255, 255, 255), 8), (name, (x, y), shot.pixel(x, y))
        harness.tidy_up()


def test_a_copy_that_ended_abnormally_does_not_block_the_next_start():
    parent, folder = install("abandoned")
    first = start(parent, folder, "-debug")
    screen = harness.wait_for_window(FIRST_SCREEN, timeout=20)
    harness.wdrive("kill", screen["pid"])  # ends while owning the single-instance lock
    first.wait(timeout=20)
    start(parent, folder, "-debug")
    assert harness.wait_for_window(FIRST_SCREEN, timeout=20)["pid"] != screen["pid"]


def test_debug_is_recognised_in_any_position_and_only_exactly():
    cases = [
        (["-debug"], True),
        (["first", "-debug"], True),
        (["-debug", "last"], True),
        (["-Debug"], False),
        (["--debug"], False),
        (["/debug"], False),
        (["-debugx"], False),
    ]
    for args, debug in cases:
        parent, folder = install("debug")
        launcher = start(parent, folder, *args)
        press(FIRST_SCREEN, "閉じる")
        boxes = harness.message_boxes(timeout=5 if debug else 1.5)
        if debug:
            assert len(boxes) == 1, (args, boxes)
            box = boxes[0]
            assert (box["title"], box["text"]) == ("情報", DEBUG_TEXT), (args, box)
            assert [b["text"] for b in box["buttons"] if b["visible"]] == ["OK"], box
            harness.wdrive("click", box["hwnd"], "--id", 1)
        else:
            assert boxes == [], (args, boxes)
        assert launcher.wait(timeout=20) == 0, args
        package_there = os.path.isdir(os.path.join(folder, "##TMP##"))
        assert package_there == debug, (args, package_there)
        assert os.path.isfile(os.path.join(parent, "ExamAutoRunner.BAT")) or not debug, args
        harness.tidy_up()


def test_failed_self_removal_shows_the_coded_error_box():
    parent, folder = install("nopackage", with_package=False)
    launcher = start(parent, folder)
    press(FIRST_SCREEN, "閉じる")
    boxes = harness.message_boxes(timeout=10)
    assert len(boxes) == 1, boxes
    box = boxes[0]
    assert box["title"] == "エラー"
    assert box["icon"]
    text = box["text"].replace("\r\n", "\n")
    # The detail ends in the prefix's own message for code 2 (file not found).
    assert text == "バッチファイルの実行に失敗しました。\n\nシステムエラー。コード：2.\nファイルが見つかりません。", text
    assert len(box["text"].encode("cp932")) <= 200
    assert [b["text"] for b in box["buttons"] if b["visible"]] == ["OK"]
    harness.wdrive("click", box["hwnd"], "--id", 1)
    assert launcher.wait(timeout=20) == 0
    assert os.path.isfile(os.path.join(folder, "ExamAutoRunner.exe"))


if __name__ == "__main__":
    harness.main(globals())

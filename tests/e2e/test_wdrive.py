"""wdrive against windows of its own test program (testwin)."""
import subprocess
import threading

import harness

MB_OK, MB_OKCANCEL, MB_YESNO = 0x0, 0x1, 0x4
MB_ICONERROR, MB_ICONQUESTION, MB_ICONINFORMATION = 0x10, 0x20, 0x40
MB_DEFBUTTON2 = 0x100
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7


def start_testwin(*args):
    p = harness.run_wine(harness.exe("testwin"), list(args), stderr=subprocess.DEVNULL)
    lines = []

    def pump():
        for raw in p.stdout:
            lines.append(raw.decode("utf-8", "replace").strip())
    threading.Thread(target=pump, daemon=True).start()
    return p, lines


def wait_line(lines, text, timeout=10.0):
    import time
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if text in lines:
            return
        time.sleep(0.05)
    raise AssertionError("no %r in %r" % (text, lines))


def test_message_boxes_are_read():
    cases = [
        # title, text, flags, buttons (by id), default id, icon, answer: how, expected result
        ("確認", "ファイルを削除しますか？\n表示ソ", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2,
         [IDYES, IDNO], IDNO, True, ("key", "RETURN"), IDNO),
        ("エラー", "書き込めません", MB_OKCANCEL | MB_ICONERROR, [IDOK, IDCANCEL], IDOK, True,
         ("click", IDCANCEL), IDCANCEL),
        ("情報", "デバッグ中は削除できません．　", MB_OK | MB_ICONINFORMATION, [IDOK], IDOK, True,
         ("click", IDOK), IDOK),
        ("無印", "アイコンなし", MB_OK, [IDOK], IDOK, False, ("key", "RETURN"), IDOK),
    ]
    for title, text, flags, ids, default_id, icon, (how, what), result in cases:
        proc, _ = start_testwin("msgbox", title, text, hex(flags))
        boxes = harness.message_boxes(timeout=15, pid=None)
        assert len(boxes) == 1, boxes
        box = boxes[0]
        assert box["title"].encode("cp932") == title.encode("cp932"), box
        assert box["text"] == text, box
        assert [b["id"] for b in box["buttons"]] == ids, box
        assert box["default_id"] == default_id, box
        assert box["default"] == next(b["text"] for b in box["buttons"] if b["id"] == default_id)
        assert box["icon"] is icon, box
        if how == "key":
            harness.wdrive("key", box["hwnd"], what)
        else:
            harness.wdrive("click", box["hwnd"], "--id", what)
        assert proc.wait(timeout=20) == result, title


def test_window_tree_click_type_and_region():
    proc, lines = start_testwin("window", "操作テスト", "--round")
    w = harness.wait_for_window("操作テスト", timeout=15)
    wait_line(lines, "ready %d" % w["hwnd"])
    button = harness.find_child(w, text="押す")
    edit = harness.find_child(w, cls="Edit")
    assert button and button["id"] == 101 and button["class"] == "Button", w
    assert edit and edit["text"] == "初期値" and edit["id"] == 102, w
    l, t, r, b = w["rect"]
    assert (r - l, b - t) == (320, 200), w

    harness.wdrive("click", w["hwnd"], "--child", "押す")
    wait_line(lines, "click 101")
    harness.wdrive("settext", w["hwnd"], "--id", 102, "")
    harness.wdrive("type", w["hwnd"], "--id", 102, "山田ソ")
    wait_line(lines, "edit char %d" % ord("ソ"))
    assert harness.wdrive("text", w["hwnd"], "--id", 102)[0]["text"] == "山田ソ"

    region = harness.wdrive("region", w["hwnd"], "--points", "0,0;160,100;319,199;319,100")[0]
    assert region["kind"] == "complex" and region["box"] == [0, 0, 320, 200], region
    assert region["inside"] == [False, True, False, True], region

    shot = harness.screenshot(harness.temp_dir("wdrive") + "/round.png")
    assert harness.pixel(shot, l, t) == (0, 0, 0), "the cut corner shows the black root window"
    assert harness.pixel(shot, l + 160, t + 150) != (0, 0, 0)

    harness.wdrive("close", w["hwnd"])
    wait_line(lines, "close")
    assert proc.wait(timeout=20) == 0


def test_wait_times_out_without_window():
    rc, found, _ = harness.wdrive_run("wait", "--title", "存在しない窓", "--timeout", 300)
    assert rc == 1 and found == []
    assert harness.wdrive("list", "--title", "存在しない窓") == []


def test_a_failure_says_what_wine_shows():
    """What a failed case's message ends with: the windows, the message boxes and our programs."""
    start_testwin("window", "場面テスト")
    harness.wait_for_window("場面テスト", timeout=15)
    start_testwin("msgbox", "エラー", "書き込めません", "0")
    harness.message_boxes(timeout=15)
    seen = harness.scene()
    assert "'場面テスト'" in seen and "['書き込めません']" in seen, seen
    assert "wdrive_testwin.exe" in seen.lower(), seen
    harness.tidy_up()
    assert harness.scene() == "windows [], boxes [], running []"


if __name__ == "__main__":
    harness.main(globals())

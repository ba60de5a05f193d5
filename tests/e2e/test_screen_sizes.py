"""The launcher on screens of six sizes, from an 800 x 600 projector mode to 2560 x 1440: the
backdrop covers the whole screen, a wizard screen that fits is centred as ever, and one that
does not (the 860 x 688 procedure screen on a 600-row screen) shows its buttons, clicked with
the real mouse, and the rest of itself with the wheel and with Tab. One launcher run per size walks the three screens; the
screen sizes need displays of their own, so this script keeps a rig of its own (one prefix,
a fresh display per size). Under Wine without a window manager the work area is the whole
screen, so a screen that does not fit has its bottom edge on the screen's last row. One
screenshot per size and screen stays in build/.../test-output/screen-sizes/."""
import atexit
import os
import subprocess
import time

import harness
import wizard

FRAME = (0, 100, 0)
RIG = os.path.join(harness.BUILD_DIR, "screen-sizes-rig")
SHOTS = os.path.join(harness.BUILD_DIR, "test-output", "screen-sizes")
WINE_SCRIPTS = os.path.join(harness.SOURCE_DIR, "tests", "wine")
_rig = {"made": False}


def use_display(size):
    """The script's own rig at this size: made once, then given a fresh display per size."""
    if os.environ.get("EAR_KEEP_DISPLAY"):
        harness.skip("EAR_KEEP_DISPLAY: the display's size is not this test's to choose")
    harness.tidy_up()
    if not _rig["made"]:
        subprocess.run([os.path.join(WINE_SCRIPTS, "start.sh"), RIG, size], check=True, stdout=subprocess.DEVNULL)
        _rig["made"] = True
        atexit.register(subprocess.run, [os.path.join(WINE_SCRIPTS, "stop.sh"), RIG])
    else:
        subprocess.run([os.path.join(WINE_SCRIPTS, "display.sh"), RIG, size], check=True)
    harness.use_rig(RIG)


def centred(screen, form):
    # Halves cut towards zero, as the placement has always cut them.
    return int((screen - form) / 2)


def expected_place(width, height, form):
    w, h = form.size
    if w <= width and h <= height:
        return centred(width, w), centred(height, h)
    # Does not fit: across, centred (it is wider) or the centre kept on the screen; its bottom
    # edge on the last row where it is taller.
    left = centred(width, w) if w > width else min(max(centred(width, w), 0), width - w)
    top = height - h if h > height else min(max(centred(height, h), 0), height - h)
    return left, top


def buttons(window, form):
    return {caption: tuple(wizard.button(window, caption)["rect"])
            for (name, caption) in wizard.BUTTONS if name == form.name and "(3)" not in caption}


def on_screen(rect, width, height):
    return rect[0] >= 0 and rect[1] >= 0 and rect[2] <= width and rect[3] <= height


def centre_of(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def look(form, width, height, size, label=None):
    """Waits for the screen, checks its place, its buttons and the backdrop behind it, keeps a
    screenshot; returns (window dict, its buttons' screen rects)."""
    window = harness.wait_for_window(form.window, timeout=30)
    time.sleep(1.0)  # WM_AFTERSHOW, the region and the painting
    window = harness.wait_for_window(form.window, timeout=5)
    rects = buttons(window, form)
    fits = form.size[0] <= width and form.size[1] <= height
    where = "%s on %s" % (form.name, size)
    assert tuple(window["client"][:2]) == expected_place(width, height, form), (where, window["client"])
    # The rounded region is the whole window's, wherever the window lies.
    region = harness.wdrive("region", window["hwnd"])[0]
    assert region["box"] == [0, 0, form.size[0] - 1, form.size[1] - 1], (where, region)
    # 次へ > and < 戻る always on the screen; 閉じる too where the screen fits.
    for caption, rect in rects.items():
        if fits or caption != "閉じる":
            assert on_screen(rect, width, height), (where, caption, rect)
    backdrop = harness.windows(title=wizard.BACKDROP, children=False)
    assert backdrop and backdrop[0]["rect"] == [0, 0, width, height], (where, backdrop)
    os.makedirs(SHOTS, exist_ok=True)
    path = harness.screenshot(os.path.join(SHOTS, "%s-%s.png" % (size, label or form.name)))
    print("screenshot:", path)
    shot = harness.Png(path)
    assert (shot.width, shot.height) == (width, height)
    # The backdrop's frame along every edge of the screen that the wizard screen leaves free.
    l, t, r, b = window["rect"]
    edges = [(0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1), (0, height // 2),
             (width - 1, height // 2), (width // 2, 0), (width // 2, height - 1), (3, 0), (0, 3)]
    free = [(x, y) for x, y in edges if not (l <= x < r and t <= y < b)]
    for x, y in free:
        assert harness.close_to(shot.pixel(x, y), FRAME, 30), (where, (x, y), shot.pixel(x, y))
    if fits:
        assert free, where
    return window, rects


def click(rect):
    harness.click_at(*centre_of(rect))


def walk(size):
    width, height = map(int, size.split("x"))
    use_display(size)
    title, procedure, registration = wizard.ORDER
    parent, folder = wizard.install("sizes" + size)
    wizard.start(parent, folder)  # no -debug: the backdrop stays behind every screen
    _, rects = look(title, width, height, size)
    click(rects["次へ >"])  # the real mouse, where the screen shows the button
    window, rects = look(procedure, width, height, size)
    if procedure.size[1] > height:
        # The wheel up shows the top with 閉じる, down the bottom row again.
        harness.xdotool("mousemove", width // 2, height // 2)
        for wheel, shown, hidden in (("4", "閉じる", "次へ >"), ("5", "次へ >", "閉じる")):
            harness.xdotool("click", wheel)
            time.sleep(0.5)
            moved = buttons(harness.wait_for_window(procedure.window, timeout=5), procedure)
            assert on_screen(moved[shown], width, height), (size, wheel, shown, moved[shown])
            assert not on_screen(moved[hidden], width, height), (size, wheel, hidden, moved[hidden])
        # Tab from 次へ > to 閉じる, then to < 戻る: each comes into view as it takes the focus.
        for caption in ("閉じる", "< 戻る"):
            harness.xdotool("key", "Tab")
            time.sleep(0.5)
            moved = buttons(harness.wait_for_window(procedure.window, timeout=5), procedure)
            assert on_screen(moved[caption], width, height), (size, caption, moved[caption])
            if caption == "閉じる":
                print("screenshot:", harness.screenshot(os.path.join(SHOTS, "%s-procedure-tab-close.png" % size)))
        rects = moved
    click(rects["次へ >"])
    _, rects = look(registration, width, height, size)
    click(rects["< 戻る"])  # back: the procedure screen placed as at its first show
    look(procedure, width, height, size, label="procedure-again")


def test_800x600():
    walk("800x600")


def test_1024x600():
    walk("1024x600")


def test_1024x768():
    walk("1024x768")


def test_1366x768():
    walk("1366x768")


def test_1920x1080():
    walk("1920x1080")


def test_2560x1440():
    walk("2560x1440")


if __name__ == "__main__":
    harness.main(globals())

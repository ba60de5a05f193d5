"""The wizard screens as the end-to-end tests and the screenshot script drive them."""
import collections
import os
import shutil
import subprocess

import harness

BACKDROP = "frmJPZZ0020"

Screen = collections.namedtuple("Screen", "name window caption size")

# The wizard's screens in their order, as screens/wizard.cpp makes them ("次へ >" leads from
# each to the next): earcheck's name for the screen (its preview files), the window title the
# tests find it by, its name on earcheck's report page and its client size. test_harness.py
# checks this table against the C++ one.
ORDER = (
    Screen("title", "frmJPZZ0030", "タイトル画面", (647, 501)),
    Screen("procedure", "試験実施の手順の確認", "手順確認画面", (860, 688)),
    Screen("registration", "frmJPZZ0010", "受験者登録画面", (697, 554)),
)
SCREENS = tuple(s.name for s in ORDER)
BY_NAME = {s.name: s for s in ORDER}
TITLE = BY_NAME["title"].window
PROCEDURE = BY_NAME["procedure"].window
REGISTRATION = BY_NAME["registration"].window

# Gradient buttons by screen and caption: their top-left corner in the screen's client area
# (the header buttons lie in a panel at 0, 0). Their windows carry no text.
BUTTONS = {
    (TITLE, "次へ >"): (545, 466), (TITLE, "次へ > (3)"): (545, 468), (TITLE, "閉じる"): (545, 8),
    (PROCEDURE, "次へ >"): (746, 656), (PROCEDURE, "< 戻る"): (41, 657), (PROCEDURE, "閉じる"): (746, 8),
    (PROCEDURE, "次へ > (3)"): (746, 655), (PROCEDURE, "< 戻る (3)"): (41, 655),
    (REGISTRATION, "次へ >"): (578, 521), (REGISTRATION, "< 戻る"): (41, 521), (REGISTRATION, "閉じる"): (578, 8),
}


def install(name, **package):
    """name/launcher/ExamAutoRunner.exe beside name/launcher/##TMP##; returns (parent, folder)."""
    parent = harness.temp_dir(name)
    folder = os.path.join(parent, "launcher")
    os.makedirs(folder)
    if package.pop("with_package", True):
        harness.make_package(folder, **package)
    shutil.copy(harness.exe("launcher"), os.path.join(folder, "ExamAutoRunner.exe"))
    return parent, folder


def start(parent, folder, *args):
    # Started from its parent folder, as a user would start it from the delivery medium.
    return harness.run_wine(os.path.join(folder, "ExamAutoRunner.exe"), list(args), cwd=parent,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def button(screen, caption):
    """The gradient button's window dict on the screen's window dict."""
    left, top = BUTTONS[(screen["title"], caption)]
    cx, cy = screen["client"][0], screen["client"][1]

    def walk(children):
        for c in children:
            if c["class"] == "TplButton" and c["rect"][0] - cx == left and c["rect"][1] - cy == top:
                return c
            found = walk(c.get("children", []))
            if found:
                return found
        return None

    found = walk(screen.get("children", []))
    if not found:
        raise harness.HarnessError("no button %r at %d, %d on %r" % (caption, left, top, screen["title"]))
    return found


def press(title, caption, timeout=20):
    """Waits for the screen, then clicks its gradient button with the mouse (posted)."""
    screen = harness.wait_for_window(title, timeout=timeout)
    harness.wdrive("click", button(screen, caption)["hwnd"], "--mouse")
    return screen


def open_screen(name, timeout=30):
    """From the first screen on, presses "次へ >" on each screen before `name`; returns the
    window dict of `name` once it is there."""
    for earlier in ORDER[:SCREENS.index(name)]:
        press(earlier.window, "次へ >", timeout=timeout)
        timeout = 20
    return harness.wait_for_window(BY_NAME[name].window, timeout=timeout)

"""The wizard screens as the end-to-end tests and the screenshot script drive them."""
import os
import shutil
import subprocess

import harness

BACKDROP = "frmJPZZ0020"
TITLE = "frmJPZZ0030"
PROCEDURE = "試験実施の手順の確認"
REGISTRATION = "frmJPZZ0010"

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

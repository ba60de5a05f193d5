"""The wizard screens as the end-to-end tests and the screenshot script drive them."""
import collections
import os
import shutil
import subprocess

import harness

BACKDROP = "frmJPZZ0020"

Screen = collections.namedtuple("Screen", "name window caption size")

# Gradient buttons by screen name and caption: their top-left corner in the screen's client
# area (the header buttons lie in a panel at 0, 0). Their windows carry no text.
BUTTONS = {
    ("title", "次へ >"): (545, 466), ("title", "次へ > (3)"): (545, 468), ("title", "閉じる"): (545, 8),
    ("procedure", "次へ >"): (746, 656), ("procedure", "< 戻る"): (41, 657), ("procedure", "閉じる"): (746, 8),
    ("procedure", "次へ > (3)"): (746, 655), ("procedure", "< 戻る (3)"): (41, 655),
    ("registration", "次へ >"): (578, 521), ("registration", "< 戻る"): (41, 521), ("registration", "閉じる"): (578, 8),
}


def earcheck_exe():
    return os.environ.get("EAR_EARCHECK") or os.path.join(harness.BUILD_DIR, "tools", "earcheck", "earcheck.exe")


def _order():
    """The wizard's screens in their order ("次へ >" leads from each to the next), as the
    program states them (earcheck.exe --screens, from screens/wizard.cpp): earcheck's name for
    the screen (its preview files), the window title the tests find it by, its name on
    earcheck's report page and its client size."""
    rc, out, err = harness.run_wine_to_end(earcheck_exe(), ["--screens"], timeout=120)
    if rc != 0:
        raise harness.HarnessError("earcheck.exe --screens: exit %d: %r" % (rc, err))
    screens = []
    for line in out.decode("cp932").splitlines():
        name, window, caption, width, height = line.split("\t")
        screens.append(Screen(name, window, caption, (int(width), int(height))))
    return tuple(screens)


_NAMES = {"ORDER": None, "SCREENS": None, "BY_NAME": None, "TITLE": "title", "PROCEDURE": "procedure",
          "REGISTRATION": "registration"}


def __getattr__(attribute):
    """ORDER, SCREENS, BY_NAME and the three screens' window titles TITLE, PROCEDURE and
    REGISTRATION, asked of the program once, when first used (the Wine rig is running by then)."""
    if attribute not in _NAMES:
        raise AttributeError(attribute)
    if attribute in globals():
        return globals()[attribute]
    order = _order()
    by_name = {s.name: s for s in order}
    globals().update(ORDER=order, SCREENS=tuple(s.name for s in order), BY_NAME=by_name,
                     **{k: by_name[v].window for k, v in _NAMES.items() if v})
    return globals()[attribute]


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
    name = next(s.name for s in __getattr__("ORDER") if s.window == screen["title"])
    left, top = BUTTONS[(name, caption)]
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
    order = __getattr__("ORDER")
    names = [s.name for s in order]
    for earlier in order[:names.index(name)]:
        press(earlier.window, "次へ >", timeout=timeout)
        timeout = 20
    return harness.wait_for_window(order[names.index(name)].window, timeout=timeout)

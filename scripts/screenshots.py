#!/usr/bin/env python3
"""Renders the wizard's screens from the sample package under Wine/Xvfb into docs/ (or the
folder given with --out), as the candidate sees them, in the wizard's order: the backdrop
with the title screen, the procedure screen, the registration screen in venue mode and
in name mode, and the error box of a name that Shift-JIS cannot hold (for the guides).

    scripts/screenshots.py [--out DIR] [--only NAME...]    (after: cmake --build --preset win64)
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
options = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
options.add_argument("--out", default=os.path.join(ROOT, "docs"), help="where the PNG files go (default: docs/)")
options.add_argument("--only", nargs="+", metavar="NAME", help="write only these PNG files (e.g. box-name-refused.png)")
parsed = options.parse_args()
out = os.path.abspath(parsed.out)
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
work = tempfile.mkdtemp(prefix="ear-shots-")
os.environ["EAR_WINE_STATE"] = os.path.join(work, "wine")
os.environ.setdefault("EAR_SOURCE_DIR", ROOT)
import harness  # noqa: E402
import test_registration as reg  # noqa: E402
import wizard  # noqa: E402

written = []


def shot(name):
    if parsed.only and name not in parsed.only:
        return
    time.sleep(1.5)  # the rounded region and the painting settle
    png = harness.screenshot(os.path.join(work, name))
    # The pictures are flat enough for 256 colours.
    subprocess.run(["convert", png, "-colors", "256", "PNG8:" + os.path.join(out, name)], check=True)
    written.append(os.path.join(out, name))


subprocess.run([os.path.join(ROOT, "tests", "wine", "start.sh"), os.environ["EAR_WINE_STATE"]], check=True,
               stdout=subprocess.DEVNULL)
try:
    os.makedirs(out, exist_ok=True)
    # Every screen before the last in one run with "-debug", which keeps the package.
    parent, folder = wizard.install("shots", backdrop="linen")
    wizard.start(parent, folder, "-debug")
    for before, screen in zip((None,) + wizard.ORDER, wizard.ORDER[:-1]):
        if before:
            wizard.press(before.window, "次へ >")
        harness.wait_for_window(screen.window, timeout=20)
        shot("screen-%s.png" % screen.name)
    harness.tidy_up()
    # The last, the registration, in both modes.
    last = wizard.SCREENS[-1]
    for mode, values in (("venue", {"KaiCdEdt": "12345", "JuBanEdt": "678"}),
                         ("name", {"SeiEdt": "山田", "MeiEdt": "太郎"})):
        parent, folder = reg.install("shots-" + mode, mode=mode, backdrop="linen")
        reg.start(parent, folder)
        screen = wizard.open_screen(last)
        reg.fill(screen, **values)
        shot("screen-%s-%s.png" % (last, mode))
        if mode == "name":
            # A name outside Shift-JIS: refused, nothing changed.
            reg.fill(screen, SeiEdt="𠮷田", MeiEdt="太郎")
            reg.enter(screen, "MeiEdt")
            harness.message_boxes(timeout=15)
            shot("box-name-refused.png")
            reg.box()
        harness.tidy_up()
    print(" ".join(os.path.relpath(p) for p in written))
finally:
    harness.tidy_up()
    subprocess.run([os.path.join(ROOT, "tests", "wine", "stop.sh"), os.environ["EAR_WINE_STATE"]])

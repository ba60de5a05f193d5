#!/usr/bin/env python3
"""Renders the wizard's screens from the sample package under Wine/Xvfb into docs/: the
backdrop with the title screen, the procedure screen, and the registration screen in venue
mode and in name mode, as the candidate sees them.

    scripts/screenshots.py     (after: cmake --build --preset win64)
"""
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
work = tempfile.mkdtemp(prefix="ear-shots-")
os.environ["EAR_WINE_STATE"] = os.path.join(work, "wine")
os.environ.setdefault("EAR_SOURCE_DIR", ROOT)
import harness  # noqa: E402
import test_registration as reg  # noqa: E402
import wizard  # noqa: E402


def shot(name):
    time.sleep(1.5)  # the rounded region and the painting settle
    png = harness.screenshot(os.path.join(work, name))
    # The pictures are flat enough for 256 colours.
    subprocess.run(["convert", png, "-colors", "256", "PNG8:" + os.path.join(ROOT, "docs", name)], check=True)


subprocess.run([os.path.join(ROOT, "tests", "wine", "start.sh"), os.environ["EAR_WINE_STATE"]], check=True,
               stdout=subprocess.DEVNULL)
try:
    os.makedirs(os.path.join(ROOT, "docs"), exist_ok=True)
    parent, folder = wizard.install("shots", backdrop="linen")
    wizard.start(parent, folder, "-debug")
    harness.wait_for_window(wizard.TITLE, timeout=20)
    shot("screen-title.png")
    wizard.press(wizard.TITLE, "次へ >")
    harness.wait_for_window(wizard.PROCEDURE, timeout=20)
    shot("screen-procedure.png")
    harness.tidy_up()
    for mode, values in (("venue", {"KaiCdEdt": "12345", "JuBanEdt": "678"}),
                         ("name", {"SeiEdt": "山田", "MeiEdt": "太郎"})):
        parent, folder = reg.install("shots-" + mode, mode=mode, backdrop="linen")
        reg.start(parent, folder)
        screen = reg.open_registration()
        reg.fill(screen, **values)
        shot("screen-registration-%s.png" % mode)
        harness.tidy_up()
    print("docs/screen-title.png docs/screen-procedure.png "
          "docs/screen-registration-venue.png docs/screen-registration-name.png")
finally:
    harness.tidy_up()
    subprocess.run([os.path.join(ROOT, "tests", "wine", "stop.sh"), os.environ["EAR_WINE_STATE"]])

"""earcheck.exe --html: the report page of a clean, a broken and a hostile package, written
under Wine and rendered by headless chromium, read from the browser's side (the DevTools
protocol: image sizes, links, text, dialogs, console messages, requests); and the start for
dropped folders, in a console of its own that stays until Enter."""
import atexit
import base64
import glob
import os
import re
import subprocess
import sys
import time

import browser
import harness
import wizard

sys.path.insert(0, os.path.join(harness.SOURCE_DIR, "tools", "earcheck"))
import testlib  # noqa: E402

SIZES = {s.caption: s.size for s in wizard.ORDER}
HOSTILE_NAME = "<script>alert(1)</script>"
HOSTILE_KYU = '"><img src=x onerror=alert(2)>'
HOSTILE_FOLDER = "a&b'c"


def earcheck_exe():
    return os.environ.get("EAR_EARCHECK") or os.path.join(harness.BUILD_DIR, "tools", "earcheck", "earcheck.exe")


def earcheck(*args, cwd=None):
    rc, out, err = harness.run_wine_to_end(earcheck_exe(), args, timeout=300, cwd=cwd)
    return rc, out, err.decode("cp932").replace("\r\n", "\n")


_shared = {}


def page():
    """Three packages checked into one page (with --json as well), opened in chromium once for
    the tests that read it."""
    if _shared:
        return _shared
    if not browser.available():
        harness.skip("chromium is not installed (scripts/install-deps.sh)")
    d = harness.temp_dir("page")
    clean, broken, hostile = (os.path.join(d, n) for n in ("clean", "broken", HOSTILE_FOLDER))
    harness.make_package(clean)
    # The procedure picture missing stops that screen's set-up; "03" is a warning.
    harness.make_package(broken, omit=["bg_procedure.jpg"], exam_type="03")
    # No pictures for the exam name and grade: the title screen shows them as text.
    harness.make_package(hostile, shiken_name=HOSTILE_NAME, kyu=HOSTILE_KYU, shiken_ext="", kyu_ext="")
    before = [testlib.snapshot(p) for p in (clean, broken, hostile)]
    html = os.path.join(d, "report.html")
    rc, out, err = earcheck("--json", "--html", harness.winpath(html), "clean", "broken", HOSTILE_FOLDER, cwd=d)
    assert [testlib.snapshot(p) for p in (clean, broken, hostile)] == before, "the page changed a package"
    assert rc == 1, (rc, err)
    assert err.endswith("ページ: %s\n" % harness.winpath(html)), err
    b = browser.Chromium()
    atexit.register(b.close)
    url = "file://" + html
    b.open(url)
    _shared.update(dir=d, html=html, url=url, browser=b, json=testlib.parse_json(out)["packages"])
    return _shared


def test_every_preview_decodes_at_its_screen_size():
    s = page()
    images = s["browser"].evaluate(
        "[...document.images].map(i => [i.closest('section.card').id, i.alt, i.complete, i.naturalWidth,"
        " i.naturalHeight, i.width, i.height])")
    expected = [[card, alt, True, w, h, w, h] for card in ("p1", "p2", "p3") for alt, (w, h) in SIZES.items()]
    assert images == expected, images
    # The broken package's procedure screen is painted as its set-up left it, and says why.
    problems = s["browser"].evaluate("[...document.querySelectorAll('#p2 .problem')].map(p => p.textContent)")
    assert len(problems) == 1 and problems[0].startswith("画面の準備がエラーで止まります。"), problems
    assert "bg_procedure.jpg" in problems[0], problems


def test_summary_rows_link_to_their_cards_with_the_reports_verdicts():
    s = page()
    b = s["browser"]
    rows = b.evaluate(
        "[...document.querySelectorAll('table.summary tbody tr')].map(r => ({"
        " links: [...r.querySelectorAll('a')].map(a => a.getAttribute('href')),"
        " cells: [...r.cells].map(c => c.textContent)}))")
    assert len(rows) == 3, rows
    for n, (row, pkg) in enumerate(zip(rows, s["json"]), 1):
        card = "#p%d" % n
        assert row["links"] == [card, card], row
        errors = sum(f["severity"] == "error" for f in pkg["findings"])
        warnings = sum(f["severity"] == "warning" for f in pkg["findings"])
        assert row["cells"][1] == pkg["path"], (row, pkg["path"])
        assert row["cells"][4:] == [str(errors), str(warnings), "配布できます" if pkg["ok"] else "このままでは配布できません"]
        # Following the link scrolls the card to the top of the window.
        b.evaluate("document.querySelector('table.summary a[href=\"%s\"]').click()" % card)
        top, heading = b.evaluate("[document.querySelector('%s').getBoundingClientRect().top,"
                                  " document.querySelector('%s h2').textContent]" % (card, card))
        assert abs(top) < 2 and heading == "%d. %s" % (n, pkg["path"]), (card, top, heading)
        findings = b.evaluate("[...document.querySelectorAll('%s table.findings tbody tr')].map(r =>"
                              " [r.className, ...[...r.cells].map(c => c.textContent)])" % card)
        assert [f[0] for f in findings] == [f["severity"] for f in pkg["findings"]], findings
        assert [f[4] for f in findings] == [f["message"].replace("\r\n", "\n") for f in pkg["findings"]]
    assert [r["cells"][6] for r in rows] == ["配布できます", "このままでは配布できません", "配布できます"]


def test_hostile_values_show_as_text_and_run_nothing():
    s = page()
    b = s["browser"]
    cells = b.evaluate("[...document.querySelectorAll('#p3 td')].map(c => c.textContent)")
    assert "タイトル画面に試験名「%s」を文字で表示します。" % HOSTILE_NAME in cells, cells
    assert any(HOSTILE_KYU in c for c in cells), cells
    assert b.evaluate("document.querySelector('#p3 h2').textContent").endswith("\\%s\\##TMP##" % HOSTILE_FOLDER)
    assert b.evaluate("document.querySelectorAll('script, iframe, object, embed, svg').length") == 0
    assert b.evaluate("document.images.length") == 9
    b.settle(1.0)
    # What the browser itself reports: no dialog, no console message or error, no request
    # beyond the page and its own pictures.
    assert b.events("Page.javascriptDialogOpening") == []
    assert b.events("Runtime.consoleAPICalled") == []
    assert b.events("Runtime.exceptionThrown") == []
    assert b.events("Log.entryAdded") == []
    urls = [e["request"]["url"] for e in b.events("Network.requestWillBeSent")]
    assert s["url"] in urls, urls
    assert [u for u in urls if u != s["url"] and not u.startswith("data:image/png;base64,")] == [], urls


def test_screenshot_of_the_page():
    s = page()
    shot = harness.Png(s["browser"].screenshot(os.path.join(s["dir"], "page.png")))
    print("screenshot:", os.path.join(s["dir"], "page.png"), shot.width, shot.height)
    assert 1500 < shot.width <= 1600 and shot.height > 3 * 554, (shot.width, shot.height)
    # The first card's band is the "ready to ship" green, the second's the red.
    bands = s["browser"].evaluate("[...document.querySelectorAll('.band')].map(e => getComputedStyle(e).backgroundColor)")
    assert bands == ["rgb(29, 107, 47)", "rgb(165, 14, 14)", "rgb(29, 107, 47)"], bands


def test_the_page_never_goes_into_a_package():
    d = harness.temp_dir("page-refused")
    pkg = harness.make_package(d)
    before = testlib.snapshot(d)
    # 表 ends in the byte of "\": the page's folder is still the package.
    for target in (os.path.join(pkg, "system", "r.html"), os.path.join(pkg, "表.html"), pkg):
        rc, out, err = earcheck("--html", harness.winpath(target), harness.winpath(d))
        assert rc == 2, (target, rc, err)
        assert testlib.snapshot(d) == before, target
    assert "ページを作りません" in err or "ファイルを指定してください" in err, err


def test_with_preview_the_page_shows_the_same_pictures_as_the_files():
    d = harness.temp_dir("page-and-preview")
    harness.make_package(os.path.join(d, "pkg"))
    html, pngs = os.path.join(d, "r.html"), os.path.join(d, "pngs")
    rc, out, err = earcheck("--preview", harness.winpath(pngs), "--html", harness.winpath(html), "pkg", cwd=d)
    assert rc == 0, (rc, err)
    assert out.decode("cp932").splitlines()[-1].startswith("結果: エラー 0 件"), out  # the text report as ever
    embedded = [base64.b64decode(b) for b in re.findall(r'src="data:image/png;base64,([^"]+)"',
                                                                     open(html, encoding="utf-8").read())]
    files = [open(os.path.join(pngs, "1-%s.png" % s), "rb").read() for s in wizard.SCREENS]
    assert len(embedded) == len(files), len(embedded)
    for mine, theirs in zip(embedded, files):
        assert mine == theirs, "the page's picture differs from the preview file"


def wine_temp():
    _, out, _ = harness.run_wine_to_end("cmd", ["/c", "echo", "%TEMP%"])
    return harness.linuxpath(out.decode("cp932").strip())


class Console:
    """earcheck.exe in a console of its own, as Explorer starts it for dropped folders
    (tools/earcheck/console_driver_win.cpp): commands in, one line of answer out."""

    def __init__(self, *args):
        driver = os.path.join(os.path.dirname(earcheck_exe()), "earcheck_console_driver.exe")
        env = harness.wine_env()
        env["EARCHECK_NO_BROWSER"] = "1"
        self.p = subprocess.Popen([harness.WINE, driver, harness.winpath(earcheck_exe()), *args], env=env,
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        harness._started.append(self.p)
        line = self.p.stdout.readline().decode().strip()
        assert line.startswith("pid "), line

    def ask(self, command):
        self.p.stdin.write((command + "\n").encode())
        self.p.stdin.flush()
        return self.p.stdout.readline().decode("utf-8").rstrip("\n")

    def wait_screen(self, text, timeout=120):
        deadline = time.monotonic() + timeout
        while True:
            screen = self.ask("screen")
            if text in screen or time.monotonic() > deadline:
                return screen
            time.sleep(0.5)

    def close(self):
        self.p.stdin.close()
        self.p.wait(timeout=30)


def test_dropped_folders_get_the_page_and_the_console_stays_until_enter():
    d = harness.temp_dir("dropped")
    launcher = os.path.join(d, "配布")
    harness.make_package(launcher)
    before = testlib.snapshot(d)
    temp = wine_temp()
    # Started from a console of its own only: run with its output piped, earcheck ends at
    # once as always and writes no page.
    pages_before = set(glob.glob(os.path.join(temp, "earcheck-*.html")))
    rc, out, err = earcheck(harness.winpath(launcher))
    assert rc == 0 and out.decode("cp932").splitlines()[-1].startswith("結果: エラー 0 件"), (rc, err)
    assert set(glob.glob(os.path.join(temp, "earcheck-*.html"))) == pages_before
    # Earlier reports named for every second the run could start in: none is overwritten.
    earlier = []
    now = time.time()
    for k in range(-2, 180):
        name = os.path.join(temp, time.strftime("earcheck-%Y%m%d-%H%M%S.html", time.localtime(now + k)))
        if not os.path.exists(name):
            with open(name, "wb") as f:
                f.write(b"earlier report")
            earlier.append(name)
    try:
        c = Console(harness.winpath(launcher))
        # The driver looks into the console only once the page is there: attached earlier, it
        # would share the console while earcheck asks whether the console is its own.
        deadline = time.monotonic() + 120
        while not glob.glob(os.path.join(temp, "earcheck-*-2.html")) and time.monotonic() < deadline:
            time.sleep(0.5)
        screen = c.wait_screen("Enter キーを押すと閉じます。")
        assert "Enter キーを押すと閉じます。" in screen, screen
        assert "結果: エラー 0 件、警告 0 件" in screen, screen
        m = re.search(r"ページ: (C:\\[^|]*?earcheck-\d{8}-\d{6}-2\.html)\|", screen)
        assert m, screen
        page_file = harness.linuxpath(m.group(1))
        html = open(page_file, encoding="utf-8").read()
        assert html.count('src="data:image/png;base64,') == len(wizard.ORDER) and html.rstrip().endswith("</html>"), page_file
        # The console stays until Enter is pressed.
        time.sleep(3)
        assert c.ask("state") == "running"
        assert c.ask("enter") == "sent"
        assert c.ask("wait 20000") == "exited 0"
        c.close()
        assert all(open(name, "rb").read() == b"earlier report" for name in earlier)
        assert testlib.snapshot(d) == before, "the dropped package changed"
        os.remove(page_file)
    finally:
        for name in earlier:
            if os.path.exists(name):
                os.remove(name)


if __name__ == "__main__":
    harness.main(globals())

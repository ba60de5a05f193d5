"""Helpers for the end-to-end tests that run Windows programs under the test run's Wine.

A test script imports this module, defines functions named test_*, and ends with
``harness.main(globals())``. Environment (set by CTest, see CMakeLists.txt):

    EAR_WINE_STATE   the run's Wine state folder (prefix, display), made by tests/wine/start.sh
    EAR_WINE_ARCH    32 for the win32 build, run under the 32-bit Wine of the i386 root
    EAR_BUILD_DIR    the Windows build tree
    EAR_SOURCE_DIR   the source tree
    EAR_WDRIVE, EAR_STANDIN, EAR_TESTWIN, EAR_LAUNCHER   paths of built programs (optional;
                     otherwise looked up under EAR_BUILD_DIR)
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.environ.get("EAR_SOURCE_DIR") or os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(SOURCE_DIR, "scripts"))
import make_sample_package  # noqa: E402
import test_counts  # noqa: E402
from make_sample_package import BG_TILE, BG_FILL, BG_MARK_TOPLEFT, BG_MARK_BOTTOMRIGHT  # noqa: E402,F401
BUILD_DIR = os.environ.get("EAR_BUILD_DIR") or os.path.join(SOURCE_DIR, "build", "win64")
# EAR_WINE_ARCH=32: the win32 build under the 32-bit Wine of the i386 root (tests/wine/wine-env.sh).
ARCH32 = os.environ.get("EAR_WINE_ARCH") == "32"
_RIG = os.path.join(SOURCE_DIR, "tests", "wine")
WINE = os.environ.get("EAR_WINE") or (os.path.join(_RIG, "wine32") if ARCH32 else "/usr/lib/wine/wine64")
WINESERVER = os.environ.get("EAR_WINESERVER") or \
    (os.path.join(_RIG, "wineserver32") if ARCH32 else "/usr/lib/wine/wineserver")

# Windows processes that Wine itself runs in every prefix; tidy_up leaves them alone.
WINE_OWN = {"services.exe", "winedevice.exe", "plugplay.exe", "svchost.exe", "rpcss.exe", "explorer.exe",
            "winemenubuilder.exe", "conhost.exe", "wineboot.exe", "wdrive.exe"}

_EXES = {
    "wdrive": ("EAR_WDRIVE", "tools/wdrive/wdrive.exe"),
    "testwin": ("EAR_TESTWIN", "tools/wdrive/wdrive_testwin.exe"),
    "standin": ("EAR_STANDIN", "tools/standin_exam/standin_exam.exe"),
    "launcher": ("EAR_LAUNCHER", "ExamAutoRunner.exe"),
}

_started = []
_used_wine = [False]
_env = None


class HarnessError(AssertionError):
    pass


def exe(name):
    """Path of a built program: 'wdrive', 'testwin', 'standin' or 'launcher'."""
    var, rel = _EXES[name]
    return os.environ.get(var) or os.path.join(BUILD_DIR, rel)


def wine_env():
    """The environment of the run's Wine (what tests/wine/wine-env.sh sets), as a dict."""
    global _env
    if _env is None:
        state = os.environ.get("EAR_WINE_STATE")
        if not state:
            raise HarnessError("EAR_WINE_STATE is not set: start the rig with tests/wine/start.sh")
        script = os.path.join(SOURCE_DIR, "tests", "wine", "wine-env.sh")
        out = subprocess.run(["bash", "-c", 'source "$0" && env -0', script], check=True,
                             stdout=subprocess.PIPE, env=dict(os.environ)).stdout
        _env = dict(item.split("=", 1) for item in out.decode().split("\0") if "=" in item)
        _start_server(_env)
    return dict(_env)


def use_rig(state):
    """From now on runs Wine in the rig of this state folder (a prefix and display made by
    tests/wine/start.sh or display.sh) instead of the run's; tidy up before switching."""
    global _env
    os.environ["EAR_WINE_STATE"] = os.path.abspath(state)
    _env = None


def _run_detached(command, env, timeout=None):
    """Runs a rig command to its end with no pipes of ours, which a server it starts would keep."""
    subprocess.run(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=timeout)


def _start_server(env):
    # A wineserver (and the prefix's services) started by one of our programs would inherit its
    # output pipes and hold them open: keep one running on its own, with no pipes, for the run.
    _run_detached([WINESERVER, "-p"], env)
    _run_detached([WINE, "cmd", "/c", "exit"], env, timeout=120)


def restart_server():
    """Ends the run's Windows programs and its wineserver and starts a fresh one. Under 32-bit
    Wine the server lives in a mount namespace made when it started: a mount the host has made
    since reaches it only through a new server."""
    tidy_up()
    env = wine_env()
    _run_detached([WINESERVER, "-k"], env)
    _run_detached([WINESERVER, "-w"], env, timeout=60)
    _start_server(env)


def winpath(linux_path):
    """The Windows path under which Wine shows a Linux path (drive Z: is the Linux root)."""
    return "Z:" + os.path.abspath(linux_path).replace("/", "\\")


def linuxpath(windows_path):
    """The Linux path of a Windows path on drive Z: or C: of the run's prefix."""
    drive, rest = windows_path[:2].upper(), windows_path[2:].replace("\\", "/")
    if drive == "Z:":
        return rest
    if drive == "C:":
        return os.path.join(wine_env()["WINEPREFIX"], "drive_c") + rest
    raise HarnessError("no Linux path for " + windows_path)


def run_wine(program, args=(), cwd=None, env=None, stdout=subprocess.PIPE, stderr=subprocess.PIPE, stdin=None):
    """Starts a Windows program under the run's Wine; returns the Popen. Extra env vars reach
    the program (and whatever it starts) as Windows environment variables."""
    e = wine_env()
    if env:
        e.update(env)
    p = subprocess.Popen([WINE, program, *args], cwd=cwd, env=e, stdout=stdout, stderr=stderr, stdin=stdin)
    _started.append(p)
    _used_wine[0] = True
    return p


def run_wine_to_end(program, args=(), timeout=60, cwd=None):
    """Runs a Windows program to its end; returns (exit code, stdout bytes, stderr bytes)."""
    # Files, not pipes: the end of the process, not the end of the pipe, says it is done (the
    # first Wine program of a run starts Wine's own processes, which may hold a pipe open).
    with tempfile.TemporaryFile() as out_f, tempfile.TemporaryFile() as err_f:
        p = run_wine(program, [str(a) for a in args], cwd=cwd, stdout=out_f, stderr=err_f)
        try:
            p.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            p.kill()
            raise HarnessError("%s %s timed out" % (os.path.basename(program), " ".join(map(str, args))))
        out_f.seek(0)
        err_f.seek(0)
        return p.returncode, out_f.read(), err_f.read()


def wdrive_run(*args, timeout=60):
    """Runs wdrive; returns (exit code, JSON lines as dicts, stderr text)."""
    rc, out, err = run_wine_to_end(exe("wdrive"), args, timeout=timeout)
    objs = [json.loads(line) for line in out.decode("utf-8").splitlines() if line.strip()]
    return rc, objs, err.decode("utf-8", "replace").strip()


def wdrive(*args, timeout=60, check=True):
    """Runs wdrive with the given arguments; returns its JSON lines as a list of dicts.
    With check=False a failing wdrive returns [] instead of raising."""
    rc, objs, err = wdrive_run(*args, timeout=timeout)
    if rc != 0 and not err and not objs and args and args[0] in ("list", "text", "ps"):
        # Seen once on a loaded machine: the driver's own start under Wine ended with 1 and
        # said nothing. A query changes nothing, so it is asked once more.
        time.sleep(0.5)
        rc, objs, err = wdrive_run(*args, timeout=timeout)
    if rc != 0:
        if check:
            raise HarnessError("wdrive %s failed (%d): %s" % (" ".join(map(str, args)), rc, err))
        return []
    return objs


def windows(title=None, cls=None, pid=None, visible=True, children=True):
    """Top-level windows (dicts as printed by `wdrive list`)."""
    args = ["list"]
    if title is not None:
        args += ["--title", title]
    if cls is not None:
        args += ["--class", cls]
    if pid is not None:
        args += ["--pid", pid]
    if visible:
        args.append("--visible")
    if not children:
        args.append("--no-children")
    return wdrive(*args)


def wait_for_window(title, timeout=10.0, cls=None, visible=True):
    """Waits for a top-level window with exactly this title; returns its dict or raises."""
    args = ["wait", "--title", title, "--timeout", int(timeout * 1000)]
    if cls is not None:
        args += ["--class", cls]
    if visible:
        args.append("--visible")
    found = wdrive(*args, timeout=timeout + 30, check=False)
    if not found:
        raise HarnessError("no window titled %r within %.1f s" % (title, timeout))
    return found[0]


def wait_window_gone(title, timeout=10.0):
    rc, _, _ = wdrive_run("wait", "--title", title, "--gone", "--timeout", int(timeout * 1000), timeout=timeout + 30)
    if rc != 0:
        raise HarnessError("window %r still there after %.1f s" % (title, timeout))


def wait_hwnd_gone(title, hwnd, timeout=10.0):
    """Waits until the top-level window hwnd (titled title, shown or hidden) is destroyed."""
    deadline = time.time() + timeout
    while any(w["hwnd"] == hwnd for w in windows(title=title, visible=False, children=False)):
        if time.time() > deadline:
            raise HarnessError("window %r (%d) still there after %.1f s" % (title, hwnd, timeout))
        time.sleep(0.1)


def window_exists(title):
    return bool(wdrive("list", "--title", title, "--no-children"))


def message_boxes(timeout=5.0, pid=None):
    """The open message boxes (#32770 dialogs) as dicts: title, text, buttons, default, icon."""
    args = ["msgbox", "--timeout", int(timeout * 1000)]
    if pid is not None:
        args += ["--pid", pid]
    return wdrive(*args, timeout=timeout + 30, check=False)


def find_child(window, text=None, cls=None, ctrl_id=None):
    """Depth-first search of a window dict's children; returns the first match or None."""
    for c in window.get("children", []):
        if (text is None or c["text"] == text) and (cls is None or c["class"] == cls) and \
                (ctrl_id is None or c["id"] == ctrl_id):
            return c
        found = find_child(c, text, cls, ctrl_id)
        if found:
            return found
    return None


def screenshot(path):
    """Saves the whole display as an RGB PNG and returns the path."""
    subprocess.run(["import", "-window", "root", "PNG24:" + path], check=True, env=wine_env())
    return path


def xdotool(*args):
    """xdotool on the run's display. Without a window manager keys go to the window under
    the pointer, so move the pointer first: xdotool('mousemove', x, y, 'key', 'Return')."""
    subprocess.run(["xdotool", *map(str, args)], check=True, env=wine_env())


def click_at(x, y):
    xdotool("mousemove", x, y, "click", "1")


class Png:
    """A decoded non-interlaced PNG (8-bit grey, RGB, RGBA; grey and palette also at 1, 2 or 4
    bits): png.pixel(x, y) -> (r, g, b)."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:8] != b"\x89PNG\r\n\x1a\n":
            raise HarnessError(path + " is no PNG")
        pos, idat, self.palette = 8, b"", None
        while pos < len(data):
            length = int.from_bytes(data[pos:pos + 4], "big")
            kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
            pos += 12 + length
            if kind == b"IHDR":
                self.width = int.from_bytes(body[0:4], "big")
                self.height = int.from_bytes(body[4:8], "big")
                self.depth, self.color, interlace = body[8], body[9], body[12]
                if interlace or self.depth not in (1, 2, 4, 8) or (self.depth < 8 and self.color not in (0, 3)):
                    raise HarnessError("unsupported PNG (16-bit or interlaced): " + path)
            elif kind == b"PLTE":
                self.palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
            elif kind == b"IDAT":
                idat += body
        self.channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[self.color]
        self.rows = self._unfilter(zlib.decompress(idat))

    def _unfilter(self, raw):
        bits = self.channels * self.depth
        bpp, stride = max(1, bits // 8), (self.width * bits + 7) // 8
        rows, prev, pos = [], bytearray(stride), 0
        for _ in range(self.height):
            kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
            pos += 1 + stride
            for i in range(stride):
                a = line[i - bpp] if i >= bpp else 0
                b = prev[i]
                c = prev[i - bpp] if i >= bpp else 0
                if kind == 1:
                    line[i] = (line[i] + a) & 255
                elif kind == 2:
                    line[i] = (line[i] + b) & 255
                elif kind == 3:
                    line[i] = (line[i] + (a + b) // 2) & 255
                elif kind == 4:
                    p = a + b - c
                    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                    pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                    line[i] = (line[i] + pred) & 255
            rows.append(line)
            prev = line
        return rows

    def pixel(self, x, y):
        if self.depth < 8:
            per_byte = 8 // self.depth
            byte = self.rows[y][x // per_byte]
            shift = 8 - self.depth * (x % per_byte + 1)
            value = (byte >> shift) & ((1 << self.depth) - 1)
            if self.color == 3:
                return self.palette[value]
            g = value * 255 // ((1 << self.depth) - 1)
            return (g, g, g)
        v = self.rows[y][x * self.channels:(x + 1) * self.channels]
        if self.color == 3:
            return self.palette[v[0]]
        if self.color in (0, 4):
            return (v[0], v[0], v[0])
        return tuple(v[:3])


def pixel(png_path, x, y):
    """(r, g, b) of one pixel of a PNG file."""
    return Png(png_path).pixel(x, y)


def close_to(color, expected, tolerance=8):
    return all(abs(a - b) <= tolerance for a, b in zip(color, expected))


def tile_marks(png_path, rect=None, color=BG_MARK_TOPLEFT, tolerance=40):
    """Top-left corners (x, y) of the blocks of `color` inside rect (l, t, r, b; r and b
    exclusive) of a screenshot: with the sample bg.jpg, one per tile, BG_TILE apart."""
    png = Png(png_path)
    l, t, r, b = rect or (0, 0, png.width, png.height)

    def hit(x, y):
        return l <= x < r and t <= y < b and close_to(png.pixel(x, y), color, tolerance)
    return [(x, y) for y in range(t, b) for x in range(l, r)
            if hit(x, y) and not hit(x - 1, y) and not hit(x, y - 1)]


def make_package(folder, **opts):
    """Builds folder/##TMP## with scripts/make_sample_package.py (same options as its
    make_package; standin defaults to the built stand-in exam). Returns the ##TMP## path."""
    opts.setdefault("standin", exe("standin"))
    return make_sample_package.make_package(folder, **opts)


def temp_dir(name="run"):
    """A fresh folder for one test under the build tree, kept after the test for inspection."""
    base = os.path.join(BUILD_DIR, "e2e-tmp")
    os.makedirs(base, exist_ok=True)
    return tempfile.mkdtemp(prefix=name + "-", dir=base)


def tree(folder, skip=()):
    """{relative path: bytes, or None for a folder} below folder, leaving out the top-level
    names in skip. Links are not followed."""
    found = {}
    for top, dirs, files in os.walk(folder):
        for n in dirs:
            found[os.path.relpath(os.path.join(top, n), folder)] = None
        for n in files:
            with open(os.path.join(top, n), "rb") as f:
                found[os.path.relpath(os.path.join(top, n), folder)] = f.read()
    return {k: v for k, v in found.items() if k.split(os.sep)[0] not in skip}


def wait_file(path, timeout=10.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if os.path.exists(path):
            return path
        time.sleep(0.1)
    raise HarnessError("no file %s within %.1f s" % (path, timeout))


def read_report(path):
    """The stand-in exam's report as a dict of str; report_bytes() gives a value's CP932 bytes."""
    with open(path, "rb") as f:
        lines = f.read().decode("utf-8").split("\r\n")
    return dict(line.split("=", 1) for line in lines if "=" in line)


def report_bytes(report, key):
    return bytes.fromhex(report[key + ".hex"])


def windows_processes():
    """Windows processes of the prefix: [{'pid', 'parent', 'exe'}]."""
    return wdrive("ps")


def kill_windows_processes(names):
    """Ends every Windows process whose exe file name (case-insensitive) is in names."""
    wanted = {n.lower() for n in names}
    pids = [p["pid"] for p in windows_processes() if p["exe"].lower() in wanted]
    if pids:
        wdrive("kill", *pids, check=False)
    return pids


def tidy_up():
    """Ends what the tests started: our own Popen children, then every Windows process of the
    prefix that Wine does not run itself (programs started by programs, such as cmd or the exam)."""
    for p in _started:
        if p.poll() is None:
            p.kill()
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
    _started.clear()
    if not _used_wine[0]:
        return
    _used_wine[0] = False
    try:
        others = [p["pid"] for p in windows_processes() if p["exe"].lower() not in WINE_OWN]
        if others:
            wdrive("kill", *others, check=False)
    except Exception as e:  # a broken prefix must not hide the test's own result
        print("tidy_up:", e)


def scene():
    """What Wine shows now, in one line, for a failure's message: the visible top-level windows,
    the open message boxes and the programs running (besides Wine's own)."""
    try:
        shown = [w["title"] for w in windows(children=False) if w["title"]]
        boxes = [b["text"][:60] for b in message_boxes(timeout=0)]
        running = sorted({p["exe"] for p in windows_processes() if p["exe"].lower() not in WINE_OWN})
        return "windows %s, boxes %s, running %s" % (shown, boxes, running)
    except Exception as e:  # noqa: BLE001 - a broken prefix is itself what is seen
        return "nothing seen (%s)" % e


def skip(reason):
    """Ends the running test as skipped (counted as such), for what cannot be tested here."""
    raise test_counts.Skipped(reason)


def main(namespace):
    """Runs every test_* function of the calling script (or those named on the command line),
    tidying up after each; each is counted as passed, skipped or failed in $EAR_TEST_RESULTS
    (see scripts/test_counts.py). Exits non-zero when one fails or none ran."""
    test_counts.main_functions(namespace, after_each=tidy_up, on_failure=scene)

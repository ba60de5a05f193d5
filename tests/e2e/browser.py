"""Headless chromium driven through the DevTools protocol over a websocket (Debian's
python3-websocket does the socket layer). What the page does is read from the browser's
side: dialogs, console messages, exceptions, log entries and requests arrive as protocol
events.

    with browser.Chromium() as b:
        b.open("file:///.../page.html")
        b.evaluate("document.images.length")
        b.events("Network.requestWillBeSent")
        b.screenshot(path)
"""
import base64
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

try:
    import websocket
except ImportError:  # an interpreter of its own (pyenv) does not look in Debian's packages
    sys.path.append("/usr/lib/python3/dist-packages")
    import websocket

CHROMIUM = os.environ.get("EAR_CHROMIUM", "/usr/bin/chromium")
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]
# What a read that runs out of time raises; the library keeps the part of a frame read so
# far, and the next read goes on from there.
TIMEOUTS = (websocket.WebSocketTimeoutException, socket.timeout)


def available():
    return os.access(CHROMIUM, os.X_OK)


class Chromium:
    def __init__(self, width=1600, height=1200):
        self.profile = tempfile.mkdtemp(prefix="ear-chromium-")
        self.proc = subprocess.Popen(
            [CHROMIUM, *FLAGS, "--user-data-dir=" + self.profile, "--remote-debugging-address=127.0.0.1",
             "--remote-debugging-port=0", "--window-size=%d,%d" % (width, height), "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.monotonic() + 60
        while not (os.path.exists(port_file) and open(port_file).read().count("\n") >= 1):
            if time.monotonic() > deadline or self.proc.poll() is not None:
                self.close()
                raise RuntimeError("chromium did not open its DevTools port")
            time.sleep(0.1)
        port = int(open(port_file).read().split("\n")[0])
        with urllib.request.urlopen("http://127.0.0.1:%d/json/list" % port, timeout=30) as r:
            pages = [t for t in json.load(r) if t["type"] == "page"]
        # No Origin header: the browser takes DevTools connections without one.
        self.ws = websocket.create_connection(pages[0]["webSocketDebuggerUrl"], timeout=60, suppress_origin=True)
        self.next_id = 0
        self.received = []
        for domain in ("Page", "Runtime", "Network", "Log"):
            self.call(domain + ".enable")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        if getattr(self, "ws", None):
            self.ws.close()
            self.ws = None
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        shutil.rmtree(self.profile, ignore_errors=True)

    def _read(self):
        msg = json.loads(self.ws.recv())
        if "method" in msg:
            self.received.append(msg)
        return msg

    def call(self, method, **params):
        self.next_id += 1
        me = self.next_id
        self.ws.send(json.dumps({"id": me, "method": method, "params": params}))
        while True:
            msg = self._read()
            if msg.get("id") == me:
                if "error" in msg:
                    raise RuntimeError("%s: %s" % (method, msg["error"]))
                return msg.get("result", {})

    def events(self, method):
        return [m["params"] for m in self.received if m["method"] == method]

    def wait_event(self, method, timeout=60):
        deadline = time.monotonic() + timeout
        seen = len(self.events(method))
        self.ws.settimeout(timeout)
        while len(self.events(method)) == seen:
            if time.monotonic() > deadline:
                raise TimeoutError(method)
            self._read()
        return self.events(method)[-1]

    def settle(self, seconds=1.0):
        """Reads whatever the browser reports for a while (late console messages, dialogs)."""
        end = time.monotonic() + seconds
        while True:
            left = end - time.monotonic()
            if left <= 0:
                break
            self.ws.settimeout(left)
            try:
                self._read()
            except TIMEOUTS:
                break
        self.ws.settimeout(60)

    def open(self, url):
        self.call("Page.navigate", url=url)
        self.wait_event("Page.loadEventFired")
        self.settle()

    def evaluate(self, expression):
        r = self.call("Runtime.evaluate", expression=expression, returnByValue=True)
        if "exceptionDetails" in r:
            raise RuntimeError("evaluate %s: %s" % (expression, r["exceptionDetails"]))
        return r["result"].get("value")

    def screenshot(self, path):
        """The whole page, not only the window."""
        size = self.call("Page.getLayoutMetrics")["cssContentSize"]
        shot = self.call("Page.captureScreenshot", format="png", captureBeyondViewport=True,
                         clip={"x": 0, "y": 0, "width": size["width"], "height": size["height"], "scale": 1})
        with open(path, "wb") as f:
            f.write(base64.b64decode(shot["data"]))
        return path

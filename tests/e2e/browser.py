"""Headless chromium driven through the DevTools protocol, standard library only (a small
websocket client). What the page does is read from the browser's side: dialogs, console
messages, exceptions, log entries and requests arrive as protocol events.

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
import struct
import subprocess
import tempfile
import time
import urllib.request

CHROMIUM = os.environ.get("EAR_CHROMIUM", "/usr/bin/chromium")
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]


def available():
    return os.access(CHROMIUM, os.X_OK)


class WebSocket:
    """Text frames only, client side (masked), as RFC 6455 has them."""

    def __init__(self, url):
        assert url.startswith("ws://"), url
        hostport, path = url[len("ws://"):].split("/", 1)
        host, port = hostport.rsplit(":", 1)
        self.sock = socket.create_connection((host, int(port)), timeout=60)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall(("GET /%s HTTP/1.1\r\nHost: %s\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                           "Sec-WebSocket-Key: %s\r\nSec-WebSocket-Version: 13\r\n\r\n" % (path, hostport, key)).encode())
        head = b""
        while not head.endswith(b"\r\n\r\n"):  # byte by byte: no frame byte is read with the head
            c = self.sock.recv(1)
            if not c:
                raise ConnectionError("websocket handshake: connection closed")
            head += c
        if b" 101 " not in head.split(b"\r\n", 1)[0]:
            raise ConnectionError("websocket handshake refused: %r" % head[:100])

    def _frame(self, opcode, data):
        mask = os.urandom(4)
        n = len(data)
        header = bytes([0x80 | opcode])
        if n < 126:
            header += bytes([0x80 | n])
        elif n < 65536:
            header += bytes([0x80 | 126]) + struct.pack(">H", n)
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", n)
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(data))
        self.sock.sendall(header + mask + masked)

    def send(self, text):
        self._frame(0x1, text.encode("utf-8"))

    def _exact(self, n):
        buf = bytearray()
        while len(buf) < n:
            chunk = self.sock.recv(min(n - len(buf), 1 << 20))
            if not chunk:
                raise ConnectionError("websocket closed")
            buf += chunk
        return bytes(buf)

    def recv(self):
        message = b""
        while True:
            b0, b1 = self._exact(2)
            n = b1 & 0x7F
            if n == 126:
                n = struct.unpack(">H", self._exact(2))[0]
            elif n == 127:
                n = struct.unpack(">Q", self._exact(8))[0]
            mask = self._exact(4) if b1 & 0x80 else None
            payload = self._exact(n)
            if mask:
                payload = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
            opcode = b0 & 0x0F
            if opcode == 0x8:
                raise ConnectionError("websocket closed by the browser")
            if opcode == 0x9:
                self._frame(0xA, payload)
                continue
            if opcode == 0xA:
                continue
            message += payload
            if b0 & 0x80:
                return message.decode("utf-8")

    def close(self):
        self.sock.close()


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
        self.ws = WebSocket(pages[0]["webSocketDebuggerUrl"])
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
        self.ws.sock.settimeout(timeout)
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
            self.ws.sock.settimeout(left)
            try:
                self._read()
            except (socket.timeout, TimeoutError):
                break
        self.ws.sock.settimeout(60)

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

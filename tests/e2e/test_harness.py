"""The harness's own helpers and the sample package, checked without Wine."""
import base64
import hashlib
import json
import os
import socket
import subprocess
import tempfile
import threading
import time

import browser
import harness

SCRATCH = tempfile.mkdtemp(prefix="ear-harness-")


def magick(*args):
    subprocess.run(["convert", *args], check=True)


def magick_pixel(path, x, y):
    out = subprocess.run(["convert", path, "-crop", "1x1+%d+%d" % (x, y), "-depth", "8", "txt:-"],
                         check=True, stdout=subprocess.PIPE).stdout.decode()
    hexcolor = out.splitlines()[1].split("#")[1][:6]
    return tuple(int(hexcolor[i:i + 2], 16) for i in (0, 2, 4))


def test_png_reader_agrees_with_imagemagick():
    src = os.path.join(SCRATCH, "src.png")
    # A gradient plus shapes: every PNG row filter shows up in the encoder's choice.
    magick("-size", "37x23", "gradient:red-blue", "-fill", "rgb(10,200,30)", "-draw", "circle 18,11 18,4",
           "-fill", "white", "-draw", "rectangle 0,0 5,5", src)
    variants = {"rgb": "PNG24:", "rgba": "PNG32:", "palette": "PNG8:"}
    for name, prefix in variants.items():
        path = os.path.join(SCRATCH, name + ".png")
        magick(src, prefix + path)
        png = harness.Png(path)
        assert (png.width, png.height) == (37, 23), name
        for x, y in [(0, 0), (36, 22), (18, 11), (3, 20), (30, 2), (17, 5)]:
            assert png.pixel(x, y) == magick_pixel(path, x, y), (name, x, y)
    for depth in (1, 2, 4, 8):
        gray = os.path.join(SCRATCH, "gray%d.png" % depth)
        magick("-size", "11x%d" % (1 << depth), "gradient:white-black", "-colorspace", "Gray", "-depth", str(depth),
               "-define", "png:bit-depth=%d" % depth, "-define", "png:color-type=0", gray)
        png = harness.Png(gray)
        assert png.depth == depth, (depth, png.depth)
        for x, y in [(0, 0), (10, 1), (5, (1 << depth) - 1)]:
            assert png.pixel(x, y) == magick_pixel(gray, x, y), (depth, x, y)


def test_paths_map_to_wine_drives():
    cases = [("/tmp/a b/ソ表", "Z:\\tmp\\a b\\ソ表"), ("/", "Z:\\")]
    for linux, windows in cases:
        assert harness.winpath(linux) == windows, linux
        assert harness.linuxpath(windows) in (linux, linux.rstrip("/") + "/"), windows


def test_sample_package_layout_and_ini_bytes():
    cases = [
        # mode, exam type, ABB expected in system.ini, extra options
        ("venue", "1", "EAR", {}),
        ("name", "3", "", {"bushu": "表ソ", "kyu_ext": ""}),
    ]
    for mode, exam_type, abb, extra in cases:
        folder = os.path.join(SCRATCH, mode)
        stand_in = os.path.join(SCRATCH, "exam.exe")
        with open(stand_in, "wb") as f:
            f.write(b"MZ stand-in")
        pkg = harness.make_package(folder, mode=mode, exam_type=exam_type, standin=stand_in, **extra)
        assert pkg == os.path.join(folder, "##TMP##")
        bushu = extra.get("bushu", "模擬試験")
        with open(os.path.join(pkg, "[1]%s.exe" % bushu), "rb") as f:
            assert f.read() == b"MZ stand-in"
        system = open(os.path.join(pkg, "system", "system.ini"), "rb").read()
        setup = open(os.path.join(pkg, "system", "1", "setup.ini"), "rb").read()
        for data in (system, setup):
            assert b"\r\n" in data and b"\n" not in data.replace(b"\r\n", b""), "CRLF only"
        lines = system.split(b"\r\n")
        assert lines[0] == "[基本情報]".encode("cp932")
        assert ("ABB=" + abb).encode("cp932") in lines
        assert ("受験タイプ=" + exam_type).encode("cp932") in setup.split(b"\r\n")
        assert ("部種名称=" + bushu).encode("cp932") in setup.split(b"\r\n")
        keys = [l.split(b"=")[0].decode("cp932") for l in lines if b"=" in l]
        assert keys == ["試験名", "試験画像拡張子", "メーカー画像拡張子", "級TOP画像拡張子", "級名", "ABB",
                        "開発コード", "ファイル名称"], keys
        images = sorted(os.listdir(os.path.join(pkg, "system", "Image")))
        expected = ["MakerImage.png", "ShikenImage.png", "bg.jpg", "bg_main_top.jpg", "bg_procedure.jpg",
                    "procedure01.jpg"] + (["KyuTopImage.jpg"] if "kyu_ext" not in extra else [])
        assert images == sorted(expected), images


def test_sample_package_is_deterministic_and_omits():
    a = harness.make_package(os.path.join(SCRATCH, "a"), standin=None)
    b = harness.make_package(os.path.join(SCRATCH, "b"), standin=None, omit=["procedure01.jpg"], no_bg=True)
    files_a = sorted(os.listdir(os.path.join(a, "system", "Image")))
    files_b = sorted(os.listdir(os.path.join(b, "system", "Image")))
    assert set(files_a) - set(files_b) == {"bg.jpg", "procedure01.jpg"}
    for name in files_b:
        with open(os.path.join(a, "system", "Image", name), "rb") as fa, \
                open(os.path.join(b, "system", "Image", name), "rb") as fb:
            assert fa.read() == fb.read(), name
    assert not any(n.endswith(".exe") for n in os.listdir(a))


def test_sample_package_picture_sizes_and_key_colour():
    sizes = {"shiken_size": "878x40", "maker_size": (219, 17), "kyu_size": "200x60",
             "procedure_size": "1000x700", "banner_size": "683x59"}
    pkg = harness.make_package(os.path.join(SCRATCH, "sizes"), standin=None, **sizes)
    image = os.path.join(pkg, "system", "Image")
    expected = {"ShikenImage.png": (878, 40), "MakerImage.png": (219, 17), "KyuTopImage.jpg": (200, 60),
                "bg_procedure.jpg": (1000, 700), "procedure01.jpg": (683, 59)}
    for name, size in expected.items():
        out = subprocess.run(["identify", "-format", "%w %h", os.path.join(image, name)], check=True,
                             stdout=subprocess.PIPE).stdout.decode().split()
        assert tuple(map(int, out)) == size, (name, out)
    # The exam name is drawn on the key colour: pure white around it, ink in it.
    name = harness.Png(os.path.join(image, "ShikenImage.png"))
    for x, y in [(0, 0), (877, 39), (5, 20), (870, 20)]:
        assert name.pixel(x, y) == (255, 255, 255), (x, y)
    assert any(name.pixel(x, 20) != (255, 255, 255) for x in range(300, 580))
    # The header band tile carries one light block where each repetition starts.
    x, y = harness.make_sample_package.HEADER_MARK
    assert harness.close_to(magick_pixel(os.path.join(image, "bg_main_top.jpg"), x + 3, y + 3),
                            harness.make_sample_package.HEADER_MARK_COLOR, 12)
    assert not harness.close_to(magick_pixel(os.path.join(image, "bg_main_top.jpg"), x + 40, y + 3),
                                harness.make_sample_package.HEADER_MARK_COLOR, 40)


def test_tile_marks_find_the_shifted_tiling():
    pkg = harness.make_package(os.path.join(SCRATCH, "tile"), standin=None)
    bg = os.path.join(pkg, "system", "Image", "bg.jpg")
    w, h = harness.BG_TILE
    shot = os.path.join(SCRATCH, "tiled.png")
    # What a texture brush moved 10 px to the right paints: column 10 starts a tile.
    magick("-size", "%dx%d" % (300 + w, 150), "tile:" + bg, "-crop", "300x150+%d+0" % (w - 10), "+repage",
           "PNG24:" + shot)
    marks = harness.tile_marks(shot)
    assert marks == [(x, y) for y in range(0, 150, h) for x in range(10, 300, w)], marks
    blue = harness.tile_marks(shot, color=harness.BG_MARK_BOTTOMRIGHT)
    assert (10 + w - 16, h - 8) in blue, blue
    assert harness.close_to(harness.pixel(shot, 40, 20), harness.BG_FILL)


def test_browser_keeps_a_frame_its_read_timeout_cut():
    """A DevTools event whose frame arrives in two parts, the pause between them longer than
    what settle() waits: the part read before the timeout is kept, and the event arrives whole."""
    message = json.dumps({"method": "Log.entryAdded", "params": {"entry": {"text": "late"}}}).encode()
    frame = bytes([0x81, len(message)]) + message  # one unmasked text frame, shorter than 126 bytes
    server = socket.create_server(("127.0.0.1", 0))

    def serve():
        conn, _ = server.accept()
        head = b""
        while b"\r\n\r\n" not in head:
            head += conn.recv(1024)
        key = [line.split(b":", 1)[1].strip() for line in head.split(b"\r\n")
               if line.lower().startswith(b"sec-websocket-key:")][0]
        accept = base64.b64encode(hashlib.sha1(key + b"258EAFA5-E914-47DA-95CA-C5AB0DC85B11").digest())
        conn.sendall(b"HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                     b"Sec-WebSocket-Accept: " + accept + b"\r\n\r\n")
        time.sleep(0.2)
        conn.sendall(frame[:6])
        time.sleep(1.0)
        conn.sendall(frame[6:])
        time.sleep(5)
        conn.close()

    thread = threading.Thread(target=serve, daemon=True)
    thread.start()
    b = browser.Chromium.__new__(browser.Chromium)  # the protocol side alone, no browser
    b.ws = browser.websocket.create_connection("ws://127.0.0.1:%d/devtools" % server.getsockname()[1],
                                               timeout=10, suppress_origin=True)
    b.next_id, b.received = 0, []
    try:
        b.settle(0.6)  # ends while the frame is half read
        assert b.received == []
        assert b.wait_event("Log.entryAdded", timeout=5) == {"entry": {"text": "late"}}
    finally:
        b.ws.close()
        server.close()


if __name__ == "__main__":
    harness.main(globals())

"""Helpers of earcheck's tests: a base sample package, a small PE file, snapshots."""
import hashlib
import json
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import make_sample_package  # noqa: E402

BUSHU = "模擬試験"


def pe_bytes(machine=0x14C, subsystem=2):
    """A minimal Windows executable header: MZ, PE signature, COFF and optional header."""
    dos = bytearray(64)
    dos[0:2] = b"MZ"
    dos[60:64] = (64).to_bytes(4, "little")
    coff = b"PE\0\0" + machine.to_bytes(2, "little") + bytes(18)
    opt = bytearray(96)
    opt[0:2] = (0x10B if machine == 0x14C else 0x20B).to_bytes(2, "little")
    opt[68:70] = subsystem.to_bytes(2, "little")
    return bytes(dos) + coff + bytes(opt) + bytes(64)


def make_base(workdir):
    """The sample package with a stand-in exam program header; returns the launcher folder."""
    launcher = os.path.join(workdir, "base")
    pkg = make_sample_package.make_package(launcher)
    with open(os.path.join(pkg, "[1]%s.exe" % BUSHU), "wb") as f:
        f.write(pe_bytes())
    return launcher


def copy_of(base, workdir, name):
    dest = os.path.join(workdir, name)
    if os.path.exists(dest):
        shutil.rmtree(dest)
    shutil.copytree(base, dest, symlinks=True)
    return dest


def snapshot(folder):
    """Every entry's kind, bytes (hashed) and modification time under folder."""
    state = {}
    for dirpath, dirnames, filenames in os.walk(folder):
        for name in dirnames + filenames:
            path = os.path.join(dirpath, name)
            st = os.lstat(path)
            digest = None
            if os.path.isfile(path) and not os.path.islink(path):
                with open(path, "rb") as f:
                    digest = hashlib.sha256(f.read()).hexdigest()
            state[os.path.relpath(path, folder)] = (st.st_mode, st.st_mtime_ns, st.st_size, digest)
    return state


def run(exe, *args, runner=None, timeout=120):
    cmd = ([runner] if runner else []) + [exe, *args]
    p = subprocess.run(cmd, capture_output=True, timeout=timeout)
    return p.returncode, p.stdout, p.stderr


def read(path):
    with open(path, "rb") as f:
        return f.read()


def ini_path(launcher, which):
    sub = {"system": ("system", "system.ini"), "setup": ("system", "1", "setup.ini"),
           "shiken": ("system", "shiken.ini")}[which]
    return os.path.join(launcher, "##TMP##", *sub)


def set_key(launcher, which, key, value):
    """Replaces (or adds) key=value in the package's INI file; value is str or CP932 bytes."""
    path = ini_path(launcher, which)
    data = read(path)
    k = key.encode("cp932")
    v = value if isinstance(value, bytes) else value.encode("cp932")
    lines = data.split(b"\r\n")
    for i, line in enumerate(lines):
        if line.startswith(k + b"="):
            lines[i] = k + b"=" + v
            break
    else:
        lines.insert(1, k + b"=" + v)
    with open(path, "wb") as f:
        f.write(b"\r\n".join(lines))


def image(launcher, name):
    return os.path.join(launcher, "##TMP##", "system", "Image", name)


def launcher_form(path):
    """A native path as earcheck shows it in the launcher's messages."""
    return path.replace("/", "\\")


def parse_json(stdout):
    return json.loads(stdout.decode("utf-8"))


class OpenWatch:
    """Whether a file is opened while the block runs (inotify, Linux): a file that must never be
    read shows no open at all, whatever reads it (natively, or earcheck.exe under Wine)."""
    IN_OPEN, IN_NONBLOCK = 0x20, 0o4000

    def __init__(self, path):
        import ctypes
        import ctypes.util
        self.libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
        self.fd = self.libc.inotify_init1(self.IN_NONBLOCK)
        assert self.fd >= 0, "inotify_init1 failed"
        assert self.libc.inotify_add_watch(self.fd, os.fsencode(path), self.IN_OPEN) >= 0, path
        self.events = b""

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        try:
            while True:
                self.events += os.read(self.fd, 4096)
        except BlockingIOError:
            pass
        os.close(self.fd)

    def opened(self):
        return bool(self.events)

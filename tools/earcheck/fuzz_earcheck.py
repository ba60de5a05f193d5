#!/usr/bin/env python3
"""earcheck (built with ASan and UBSan) on mutated copies of the sample package: every
run ends with exit code 0 or 1, a JSON document, no sanitizer report, no hang, and
no file changed. A fixed seed and a bounded count keep it repeatable.

    fuzz_earcheck.py EARCHECK WORKDIR [COUNT]
"""
import os
import random
import shutil
import struct
import sys

import testlib as T


def files_of(pkg):
    out = []
    for dirpath, _, names in os.walk(pkg):
        out += [os.path.join(dirpath, n) for n in names]
    return sorted(out)


def mutate(rng, path):
    data = bytearray(T.read(path))
    kind = rng.choice(["flip", "truncate", "insert", "folder", "garbage", "claim", "sjis"])
    if kind == "flip" and data:
        for _ in range(rng.randint(1, 16)):
            data[rng.randrange(len(data))] = rng.randrange(256)
    elif kind == "truncate":
        data = data[:rng.randrange(len(data) + 1)]
    elif kind == "insert":
        at = rng.randrange(len(data) + 1)
        data[at:at] = bytes(rng.randrange(256) for _ in range(rng.randint(1, 64)))
    elif kind == "folder":
        os.remove(path)
        os.mkdir(path)
        return kind
    elif kind == "garbage":
        data = bytearray(rng.randrange(256) for _ in range(rng.randint(0, 4096)))
    elif kind == "claim":
        # Huge sizes where the formats keep them: JPEG frame, PNG header, BMP/PE offsets.
        for marker in (b"\xff\xc0", b"\xff\xc2"):
            at = data.find(marker)
            if at >= 0 and at + 9 <= len(data):
                data[at + 5:at + 9] = struct.pack(">HH", rng.choice([0, 1, 65500, 65535]), rng.choice([0, 65500]))
        if data[:4] == b"\x89PNG" and len(data) >= 24:
            data[16:24] = struct.pack(">II", rng.choice([0, 2 ** 31, 2 ** 32 - 1]), rng.choice([1, 2 ** 31]))
        if data[:2] == b"MZ" and len(data) >= 64:
            data[60:64] = struct.pack("<I", rng.choice([2 ** 31, 2 ** 32 - 4, len(data) - 2]))
    elif kind == "sjis":
        # Lone lead bytes, 0x5C second bytes, brackets and '=' in odd places.
        pieces = [b"\x95", b"\x95\x5c", b"\x83\x5d", b"[", b"]", b"=", b"\r", b"\n", b"\x00", b"\x81\x40", b"\"", b"\xff"]
        for _ in range(rng.randint(1, 12)):
            at = rng.randrange(len(data) + 1)
            data[at:at] = rng.choice(pieces)
    with open(path, "wb") as f:
        f.write(data)
    return kind


def main():
    exe = os.path.abspath(sys.argv[1])
    work = os.path.abspath(sys.argv[2])
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 60
    if os.path.exists(work):
        shutil.rmtree(work)
    os.makedirs(work)
    base = T.make_base(work)
    rng = random.Random(20261210)
    failures = 0
    for i in range(count):
        launcher = T.copy_of(base, work, "m")
        pkg = os.path.join(launcher, "##TMP##")
        done = []
        for _ in range(rng.randint(1, 3)):
            target = rng.choice(files_of(pkg))
            done.append("%s:%s" % (mutate(rng, target), os.path.relpath(target, pkg)))
        before = T.snapshot(launcher)
        args = ["--json", launcher] if i % 4 else [launcher]
        try:
            rc, out, err = T.run(exe, *args, timeout=60)
        except Exception as e:  # a hang ends in TimeoutExpired
            print("FAIL %d %s: %s" % (i, done, e))
            failures += 1
            continue
        problems = []
        if rc not in (0, 1):
            problems.append("exit code %d" % rc)
        if b"Sanitizer" in err or b"runtime error" in err:
            problems.append(err.decode("utf-8", "replace")[-2000:])
        if "--json" in args:
            try:
                T.parse_json(out)
            except ValueError as e:
                problems.append("bad JSON: %s" % e)
        if T.snapshot(launcher) != before:
            problems.append("files changed")
        if problems:
            failures += 1
            print("FAIL %d %s: %s" % (i, done, "; ".join(problems)))
            shutil.copytree(launcher, os.path.join(work, "failed-%d" % i))
    print("%d mutated packages, %d failed" % (count, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

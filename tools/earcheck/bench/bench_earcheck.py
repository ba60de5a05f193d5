#!/usr/bin/env python3
"""Benchmark (not a test): earcheck on N copies of the sample package in one run,
against the decoder alone on the same JPEGs. Prints both CPU times (best of
several runs, the two programs alternating) and the ratio.

    bench_earcheck.py [--build-dir build/native] [--copies 40] [--repeat 15]

Builds the release targets earcheck and bench_jpeg_decode of the native preset first.
"""
import argparse
import os
import resource
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import testlib as T  # noqa: E402


def timed(cmd):
    """CPU time (user + system) of one run: less bent by other work on a shared machine
    than the wall time."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    p = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if p.returncode not in (0, 1):
        sys.exit("%s failed with %d" % (cmd[0], p.returncode))
    return (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def best_of_interleaved(a, b, repeat):
    """Best times of a and b, run alternately so that load from other work hits both."""
    ta, tb = [], []
    for _ in range(repeat):
        ta.append(timed(a))
        tb.append(timed(b))
    return min(ta), min(tb)


def main():
    a = argparse.ArgumentParser()
    a.add_argument("--build-dir", default=os.path.join(T.ROOT, "build", "native"))
    a.add_argument("--copies", type=int, default=40)
    a.add_argument("--repeat", type=int, default=15)
    o = a.parse_args()
    if not os.path.exists(os.path.join(o.build_dir, "CMakeCache.txt")):
        subprocess.run(["cmake", "--preset", "native"], cwd=T.ROOT, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", o.build_dir, "--target", "earcheck", "bench_jpeg_decode"],
                   check=True, stdout=subprocess.DEVNULL)
    earcheck = os.path.join(o.build_dir, "tools", "earcheck", "earcheck")
    decoder = os.path.join(o.build_dir, "tools", "earcheck", "bench_jpeg_decode")
    with tempfile.TemporaryDirectory() as work:
        base = T.make_base(work)
        launchers = [T.copy_of(base, work, "c%03d" % i) for i in range(o.copies)]
        jpegs = []
        for l in launchers:
            images = os.path.join(l, "##TMP##", "system", "Image")
            jpegs += sorted(os.path.join(images, n) for n in os.listdir(images) if n.endswith(".jpg"))
        # Warm the file cache once for both.
        subprocess.run([earcheck, "--json", *launchers], stdout=subprocess.DEVNULL)
        checker, alone = best_of_interleaved([earcheck, "--json", *launchers], [decoder, *jpegs], o.repeat)
    print("packages: %d, JPEGs: %d" % (o.copies, len(jpegs)))
    print("earcheck:      %.1f ms CPU" % (checker * 1000))
    print("decoder alone: %.1f ms CPU" % (alone * 1000))
    print("ratio:         %.2f (target 1.2 or below)" % (checker / alone))


if __name__ == "__main__":
    main()

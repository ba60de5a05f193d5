#!/usr/bin/env python3
"""Benchmark (not a test): earcheck.exe --html (the page with its previews) against --preview
alone on N copies of the sample package, under Wine, the two alternating; then the peak
memory of one --html run over many packages.

    bench_earcheck_page.py [--build-dir build/win64] [--copies 10] [--repeat 3] [--many 200]

Time: CPU time (user + system) of the Windows process, best of --repeat runs each, and the
ratio. Memory: the peak resident set of the Windows process (its Linux process under Wine:
code, Wine's DLLs and heap), from getrusage of a runner that starts nothing else, for one
package and for --many packages. Starts its own Wine rig (tests/wine/start.sh).
"""
import argparse
import os
import resource
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import testlib as T  # noqa: E402

sys.path.insert(0, os.path.join(T.ROOT, "tests", "e2e"))


def main():
    a = argparse.ArgumentParser()
    a.add_argument("--build-dir", default=os.path.join(T.ROOT, "build", "win64"))
    a.add_argument("--copies", type=int, default=10)
    a.add_argument("--repeat", type=int, default=3)
    a.add_argument("--many", type=int, default=200)
    o = a.parse_args()
    exe = os.path.join(o.build_dir, "tools", "earcheck", "earcheck.exe")
    subprocess.run(["cmake", "--build", o.build_dir, "--target", "earcheck"], check=True, stdout=subprocess.DEVNULL)
    with tempfile.TemporaryDirectory() as work:
        rig = os.path.join(work, "rig")
        subprocess.run([os.path.join(T.ROOT, "tests", "wine", "start.sh"), rig], check=True, stdout=subprocess.DEVNULL)
        os.environ["EAR_WINE_STATE"] = rig
        import harness  # noqa: E402  (reads EAR_WINE_STATE)
        try:
            env = harness.wine_env()

            def measured(args):
                """CPU seconds and peak resident kB of one run, from a runner of its own."""
                code = ("import resource, subprocess, sys\n"
                        "p = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)\n"
                        "r = resource.getrusage(resource.RUSAGE_CHILDREN)\n"
                        "print(p.returncode, r.ru_utime + r.ru_stime, r.ru_maxrss)\n")
                out = subprocess.run([sys.executable, "-c", code, harness.WINE, exe, *args], env=env, check=True,
                                     stdout=subprocess.PIPE).stdout.split()
                if int(out[0]) not in (0, 1):
                    sys.exit("earcheck.exe %s failed with %s" % (" ".join(args[:3]), out[0]))
                return float(out[1]), int(out[2])

            base = T.make_base(work)
            many = [T.copy_of(base, work, "c%03d" % i) for i in range(max(o.copies, o.many))]
            paths = [harness.winpath(p) for p in many]
            page = harness.winpath(os.path.join(work, "page.html"))
            pngs = harness.winpath(os.path.join(work, "pngs"))
            measured(["--html", page, *paths[:1]])  # warm the file cache and Wine's
            html_t, preview_t = [], []
            for _ in range(o.repeat):
                html_t.append(measured(["--html", page, *paths[:o.copies]])[0])
                preview_t.append(measured(["--preview", pngs, *paths[:o.copies]])[0])
            page_size = os.path.getsize(os.path.join(work, "page.html"))
            _, one_kb = measured(["--html", page, *paths[:1]])
            _, many_kb = measured(["--html", page, *paths[:o.many]])
            many_size = os.path.getsize(os.path.join(work, "page.html"))
        finally:
            subprocess.run([os.path.join(T.ROOT, "tests", "wine", "stop.sh"), rig], stdout=subprocess.DEVNULL)
    print("packages: %d, runs: %d each" % (o.copies, o.repeat))
    print("--html (page with previews): %.2f s CPU (page %d kB)" % (min(html_t), page_size // 1024))
    print("--preview alone:             %.2f s CPU" % min(preview_t))
    print("ratio:                       %.2f (target 1.1 or below)" % (min(html_t) / min(preview_t)))
    print("peak memory, --html over 1 package:   %.1f MB" % (one_kb / 1024))
    print("peak memory, --html over %d packages: %.1f MB (target below 100 MB; page %.1f MB)"
          % (o.many, many_kb / 1024, many_size / 1048576))


if __name__ == "__main__":
    main()

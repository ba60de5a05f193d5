"""The release is reproducible: scripts/release.sh run twice on the same sources, in two
folders of different names and depths, one after the other (so at different times) and with
different umasks, without the compiler cache, gives the same bytes for every executable and
every file in dist/; no folder of either build shows in the executables; and the one version
of the top CMakeLists.txt is in the zips' names and in both executables' version resources.

    reproducible_test.py     (the tree it lies in; EAR_REPRO_KEEP=1 keeps the two copies)

Takes about 3 minutes per build on an idle 2-core machine; registered under the label
"release" (its own layer of scripts/test-all.sh).
"""
import hashlib
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import test_counts  # noqa: E402

PRESETS = ("win64", "win32")
EXES = ("ExamAutoRunner.exe", "tools/earcheck/earcheck.exe")


def project_version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(ExamAutoRunner VERSION (\d+\.\d+\.\d+)", f.read()).group(1)


def source_files():
    """The files of the tree as it is (committed or not, never what git ignores), and the
    unpacked libjpeg-turbo source that scripts/install-deps.sh puts beside them."""
    listed = subprocess.run(["git", "-C", ROOT, "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            capture_output=True, check=True).stdout.split(b"\0")
    files = [f.decode() for f in listed if f and os.path.isfile(os.path.join(ROOT, f.decode()))]
    return files + ["third_party/libjpeg-turbo"]


def copy_tree(to):
    os.makedirs(to)
    pack = subprocess.Popen(["tar", "-C", ROOT, "-cf", "-", "--", *source_files()], stdout=subprocess.PIPE)
    subprocess.run(["tar", "-C", to, "-xf", "-"], stdin=pack.stdout, check=True)
    assert pack.wait() == 0


def release(tree, epoch, umask):
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch), CCACHE_DISABLE="1")
    started = time.monotonic()
    run = subprocess.run(["bash", "-c", f"umask {umask} && scripts/release.sh"], cwd=tree, env=env,
                         capture_output=True, text=True)
    assert run.returncode == 0, run.stdout + run.stderr
    return time.monotonic() - started


def outputs(tree):
    """{name: bytes} of every executable built and every file written to dist/."""
    found = {}
    for preset in PRESETS:
        for exe in EXES:
            with open(os.path.join(tree, "build", "release-" + preset, exe), "rb") as f:
                found[f"{preset}/{os.path.basename(exe)}"] = f.read()
    dist = os.path.join(tree, "dist")
    for name in sorted(os.listdir(dist)):
        with open(os.path.join(dist, name), "rb") as f:
            found["dist/" + name] = f.read()
    return found


def string_in_binary(data, text):
    return text.encode() in data or text.encode("utf-16-le") in data


def version_resource(data, key):
    """The value of KEY in the StringFileInfo of a PE file's version resource."""
    name = (key + "\0").encode("utf-16-le")
    at = data.find(name)
    assert at > 6, f"no {key} in the version resource"
    value_length = struct.unpack_from("<H", data, at - 4)[0]  # wValueLength, in characters
    start = at + len(name)
    start += (-start) % 4  # the value is 32-bit aligned
    return data[start:start + 2 * value_length].decode("utf-16-le").rstrip("\0")


def fixed_file_version(data):
    """FILEVERSION of VS_FIXEDFILEINFO as a.b.c.d."""
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    assert at >= 0, "no VS_FIXEDFILEINFO"
    ms, ls = struct.unpack_from("<II", data, at + 8)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def test_two_builds_in_two_folders_give_the_same_bytes():
    version = project_version()
    epoch = int(subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"], capture_output=True,
                               text=True, check=True).stdout.strip() or time.time())
    work = tempfile.mkdtemp(prefix="ear-repro-")
    try:
        trees = [os.path.join(work, "a", "src"), os.path.join(work, "second build", "deeper", "ExamAutoRunner")]
        results, times = [], []
        for tree, umask in zip(trees, ("022", "077")):
            copy_tree(tree)
            times.append(release(tree, epoch, umask))
            results.append(outputs(tree))
        print("release.sh took " + " and ".join(f"{t:.0f} s" for t in times) + f" ({sum(times):.0f} s in all)")
        a, b = results
        assert sorted(a) == sorted(b), (sorted(a), sorted(b))
        differing = []
        for name in sorted(a):
            if a[name] != b[name]:
                diff = sum(x != y for x, y in zip(a[name], b[name])) + abs(len(a[name]) - len(b[name]))
                differing.append(f"{name}: {diff} bytes differ")
        assert not differing, "; ".join(differing)
        for name, data in sorted(a.items()):
            print(f"  {name}  {len(data):,} bytes  sha256 {hashlib.sha256(data).hexdigest()[:16]}")
            for tree in trees:
                for folder in (tree, os.path.join(tree, "build")):
                    assert not string_in_binary(data, folder), f"{name} holds the folder {folder}"
        # The one version: the zips' names, both executables' version resources.
        assert sorted(n for n in a if n.endswith(".zip")) == \
            [f"dist/ExamAutoRunner-{version}-{p}.zip" for p in sorted(PRESETS)]
        for preset in PRESETS:
            for exe in ("ExamAutoRunner.exe", "earcheck.exe"):
                data = a[f"{preset}/{exe}"]
                assert version_resource(data, "FileVersion") == version, (preset, exe)
                assert version_resource(data, "ProductVersion") == version, (preset, exe)
                assert fixed_file_version(data) == version + ".0", (preset, exe)
                assert version_resource(data, "OriginalFilename") == exe, (preset, exe)
        # SHA256SUMS names every other file of dist/ with its hash; each zip holds what it should.
        sums = dict(reversed(line.split("  ", 1)) for line in a["dist/SHA256SUMS"].decode().splitlines())
        assert sorted(sums) == sorted(n[5:] for n in a if n.startswith("dist/") and n != "dist/SHA256SUMS")
        for name, digest in sums.items():
            assert hashlib.sha256(a["dist/" + name]).hexdigest() == digest, name
        for preset in PRESETS:
            path = os.path.join(trees[0], "dist", f"ExamAutoRunner-{version}-{preset}.zip")
            with zipfile.ZipFile(path) as z:
                names = z.namelist()
                top = f"ExamAutoRunner-{version}-{preset}/"
                assert names == sorted(names) and all(n.startswith(top) for n in names), names
                inside = {n[len(top):] for n in names}
                for need in ("ExamAutoRunner.exe", "earcheck.exe", "NOTICES.txt", "SHA256SUMS",
                             "docs/ja/operation-guide.md", "docs/ja/package-guide.md"):
                    assert need in inside, (preset, need)
                assert z.read(top + "ExamAutoRunner.exe") == a[f"{preset}/ExamAutoRunner.exe"]
                notices = z.read(top + "NOTICES.txt").decode()
                for text in ("This software is based in part on the work of the Independent JPEG Group.",
                             "The Modified (3-clause) BSD License", "LEGAL ISSUES", "Jean-loup Gailly",
                             "winpthreads"):
                    assert text in notices, (preset, text)
                stamps = {i.date_time for i in z.infolist()}
                want = time.gmtime(epoch)[:6]
                assert stamps == {want[:5] + (want[5] // 2 * 2,)}, stamps  # a zip keeps even seconds
    finally:
        if os.environ.get("EAR_REPRO_KEEP") != "1":
            shutil.rmtree(work, ignore_errors=True)
        else:
            print("kept " + work)


if __name__ == "__main__":
    test_counts.main_functions(globals())

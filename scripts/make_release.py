#!/usr/bin/env python3
"""Packs built executables into the release's zips (called by scripts/release.sh).

    make_release.py --version 1.1.0 --epoch SOURCE_DATE_EPOCH --out dist \
                    --build win64=build/release-win64 --build win32=build/release-win32

writes OUT/ExamAutoRunner-<version>-<preset>.zip for each build and OUT/SHA256SUMS over them.
Each zip holds one folder ExamAutoRunner-<version>-<preset>/ with ExamAutoRunner.exe,
earcheck.exe, the Japanese guides (docs/ja/*.md) with the pictures they show, NOTICES.txt
(the licences of what the executables carry) and a SHA256SUMS of those files, so a centre can
check a copy of the launcher on a PC against the zip it came from.

The zips are the same bytes for the same inputs: entries sorted, every time the commit's
(SOURCE_DATE_EPOCH), fixed attributes, one compression level.
"""
import argparse
import hashlib
import pathlib
import re
import sys
import time
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
GUIDES = ["docs/ja/operation-guide.md", "docs/ja/package-guide.md"]
JPEG_SRC = ROOT / "third_party/libjpeg-turbo/src"
TRIPLETS = {"win64": "x86_64-w64-mingw32", "win32": "i686-w64-mingw32"}


def guide_files():
    """The guides and every local picture they link to, as paths relative to ROOT."""
    files = set()
    for guide in GUIDES:
        path = ROOT / guide
        files.add(guide)
        text = path.read_text(encoding="utf-8")
        for target in re.findall(r"!\[[^\]]*\]\(([^)\s]+)\)", text):
            if "://" in target:
                continue
            picture = (path.parent / target).resolve()
            if not picture.is_file():
                sys.exit(f"make_release.py: {guide} shows {target}, which does not exist")
            files.add(picture.relative_to(ROOT).as_posix())
    return sorted(files)


def section(text, title, following):
    """The section TITLE of an IJG-style README, up to the heading FOLLOWING."""
    start = text.index(title + "\n" + "=" * len(title))
    end = text.index(following + "\n" + "=" * len(following), start)
    return text[start:end].rstrip() + "\n"


def zlib_licence(preset):
    header = pathlib.Path(f"/usr/{TRIPLETS[preset]}/include/zlib.h").read_text(encoding="latin-1")
    comment = header[header.index("/*") + 2:header.index("*/")]
    # The version line, the copyright and the licence; the note on RFCs after it is no licence.
    comment = comment[:comment.index("The data format used by the zlib library")]
    return "\n".join(line.rstrip() for line in comment.strip("\n").splitlines()).rstrip() + "\n"


def debian_licence(copyright_file, name):
    """The text of "License: NAME" in a Debian copyright file: the first stanza that holds it."""
    lines = pathlib.Path(copyright_file).read_text(encoding="utf-8").splitlines()
    start = next(i for i, line in enumerate(lines) if line.strip() == f"License: {name}"
                 and i + 1 < len(lines) and lines[i + 1].startswith(" "))
    body = []
    for line in lines[start + 1:]:
        if not line.startswith(" "):
            break
        body.append("" if line.strip() == "." else line[1:])
    return "\n".join(body).rstrip() + "\n"


def mingw_runtime(preset):
    """The runtime parts that the static link brings: the C start-up code and winpthreads."""
    package = {"win64": "mingw-w64-x86-64-dev", "win32": "mingw-w64-i686-dev"}[preset]
    copyright_file = f"/usr/share/doc/{package}/copyright"
    return ("The MinGW-w64 runtime (Copyright (c) 2009-2016 the mingw-w64 project), under the\n"
            "Zope Public License 2.1:\n\n" + debian_licence(copyright_file, "ZPL-2.1") +
            "\nwinpthreads of MinGW-w64 (Copyright (c) 2011-2016 mingw-w64 project), under the\n"
            "MIT (expat) licence:\n\n" + debian_licence(copyright_file, "expat") +
            f"\n(Both texts from Debian's {package}, /usr/share/doc/{package}/copyright.)\n")


def notices(version, preset):
    jpeg_version = (JPEG_SRC / ".ear-debian-version").read_text().split()[0]
    licence = (JPEG_SRC / "LICENSE.md").read_text(encoding="utf-8")
    ijg = (JPEG_SRC / "README.ijg").read_text(encoding="utf-8")
    rule = "=" * 78
    parts = [
        f"ExamAutoRunner {version} ({preset}): notices\n",
        "ExamAutoRunner.exe and earcheck.exe include the libraries below, linked statically\n"
        "(the GCC runtime libraries they also include need no notice: GCC Runtime Library Exception).\n"
        "Their licences ask for these texts to travel with the programs.\n",
        rule + "\nlibjpeg-turbo " + jpeg_version + " (JPEG decoding)\n" + rule + "\n",
        "This software is based in part on the work of the Independent JPEG Group.\n",
        "The libjpeg-turbo licences (LICENSE.md of libjpeg-turbo):\n\n" + licence.rstrip() + "\n",
        "The IJG License (the LEGAL ISSUES section of README.ijg of libjpeg-turbo):\n\n"
        + section(ijg, "LEGAL ISSUES", "REFERENCES"),
        rule + "\nzlib (PNG decoding), from zlib.h\n" + rule + "\n",
        zlib_licence(preset),
        rule + "\nMinGW-w64 runtime (program start-up, threads)\n" + rule + "\n",
        mingw_runtime(preset),
    ]
    text = "\n".join(parts)
    # Notepad on older Windows shows only CRLF line ends as lines.
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def write_zip(path, folder, files, epoch):
    """files: {name inside folder: bytes}. Same inputs, same bytes."""
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # a zip's clock starts in 1980
    with zipfile.ZipFile(path, "w") as z:
        for name in sorted(files):
            info = zipfile.ZipInfo(f"{folder}/{name}", date_time=stamp)
            info.create_system = 3
            mode = 0o755 if name.endswith(".exe") else 0o644
            info.external_attr = (0o100000 | mode) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, files[name], compresslevel=9)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--version", required=True)
    ap.add_argument("--epoch", type=int, required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--build", action="append", required=True, help="PRESET=BUILD_DIR")
    a = ap.parse_args()
    out = pathlib.Path(a.out)
    out.mkdir(parents=True, exist_ok=True)
    docs = {name: (ROOT / name).read_bytes() for name in guide_files()}
    written = []
    for build in a.build:
        preset, build_dir = build.split("=", 1)
        build_dir = pathlib.Path(build_dir)
        files = dict(docs)
        files["ExamAutoRunner.exe"] = (build_dir / "ExamAutoRunner.exe").read_bytes()
        files["earcheck.exe"] = (build_dir / "tools/earcheck/earcheck.exe").read_bytes()
        files["NOTICES.txt"] = notices(a.version, preset)
        files["SHA256SUMS"] = "".join(f"{sha256(files[n])}  {n}\n" for n in sorted(files)).encode()
        name = f"ExamAutoRunner-{a.version}-{preset}"
        write_zip(out / f"{name}.zip", name, files, a.epoch)
        written.append(f"{name}.zip")
    sums = "".join(f"{sha256((out / n).read_bytes())}  {n}\n" for n in sorted(written))
    (out / "SHA256SUMS").write_text(sums)
    for n in sorted(written) + ["SHA256SUMS"]:
        print(f"{out / n}  {(out / n).stat().st_size:,} bytes")


if __name__ == "__main__":
    main()

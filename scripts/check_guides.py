#!/usr/bin/env python3
"""Holds the package author's guide to what the program knows of a package.

    check_guides.py REFERENCE GUIDE.md        (REFERENCE: a file, or - for standard input)
    check_guides.py --earcheck EXE GUIDE.md   (runs EXE --reference for the listing)

The listing is earcheck's own knowledge of a package (`earcheck --reference`), UTF-8 lines
of tab-separated fields:

    ini      <file in the package>  <section>  <key>
    picture  <file in the package>  <the INI key giving its extension, or empty>
    finding  <id>  <error|warning|info>

The guide must name every key and every section in a code span (`試験名`), every picture
by its file name in a code span (`bg.jpg`; for a picture named by an extension key, its
stem: `ShikenImage`), with its extension key in a code span, and describe every finding
under an anchor <a id="finding-ID"></a> placed in the part for its severity, which begins
with <a id="severity-error"></a>, <a id="severity-warning"></a> or <a id="severity-info"></a>.
A finding anchor the program does not know is reported too: the guide describes something
that is gone. Prints what is missing and exits 1; exits 0 when nothing is.
"""
import re
import subprocess
import sys

SEVERITIES = ("error", "warning", "info")


def read_listing(text):
    """{'ini': [(file, section, key)], 'picture': [(file, ext_key)], 'finding': [(id, severity)]}."""
    listing = {"ini": [], "picture": [], "finding": []}
    problems = []
    for number, line in enumerate(text.splitlines(), 1):
        if not line.strip():
            continue
        fields = line.split("\t")
        kind, rest = fields[0], fields[1:]
        width = {"ini": 3, "picture": 2, "finding": 2}.get(kind)
        if width is None or len(rest) != width:
            problems.append(f"listing line {number}: not a reference line: {line!r}")
            continue
        if kind == "finding" and rest[1] not in SEVERITIES:
            problems.append(f"listing line {number}: severity {rest[1]!r} is none of {', '.join(SEVERITIES)}")
            continue
        listing[kind].append(tuple(rest))
    return listing, problems


def code_spans(markdown):
    return set(re.findall(r"`([^`\n]+)`", markdown))


def picture_name(file):
    """bg.jpg for system\\Image\\bg.jpg; ShikenImage for Image\\ShikenImage.<ext>."""
    name = file.replace("/", "\\").rsplit("\\", 1)[-1]
    return re.sub(r"\.?<ext>$", "", name)


def finding_anchors(markdown):
    """{id: severity of the part it stands in, or None before any severity part}."""
    anchors = {}
    severity = None
    for m in re.finditer(r'<a id="(severity|finding)-([a-z0-9-]+)"></a>', markdown):
        if m.group(1) == "severity":
            severity = m.group(2)
        else:
            anchors[m.group(2)] = severity
    return anchors


def check(listing_text, guide_text):
    """What the guide misses, as lines; empty when nothing."""
    listing, problems = read_listing(listing_text)
    spans = code_spans(guide_text)
    missing = []

    def need(span, what):
        if span not in spans and f"missing {what}" not in missing:
            missing.append(f"missing {what}")

    for file, section, key in listing["ini"]:
        need(key, f"INI key `{key}` ({file} [{section}])")
        need(section, f"INI section `{section}`")
    for file, ext_key in listing["picture"]:
        name = picture_name(file)
        if not any(s == name or s.startswith(name + ".") for s in spans):
            missing.append(f"missing picture `{name}` ({file})")
        if ext_key:
            need(ext_key, f"INI key `{ext_key}` (extension of {name})")
    anchors = finding_anchors(guide_text)
    # A kind of finding that comes in more than one severity is described once, under one of them.
    severities = {}
    for finding_id, severity in listing["finding"]:
        severities.setdefault(finding_id, []).append(severity)
    for finding_id, listed in severities.items():
        said = "/".join(listed)
        if finding_id not in anchors:
            missing.append(f'missing finding {finding_id} ({said}): no <a id="finding-{finding_id}"></a>')
        elif anchors[finding_id] not in listed:
            missing.append(f"finding {finding_id} ({said}) is described under {anchors[finding_id] or 'no severity'}")
    for finding_id in sorted(set(anchors) - set(severities)):
        missing.append(f"finding {finding_id} is described but the program does not know it")
    return problems + missing


def main(argv):
    args = argv[1:]
    if len(args) == 3 and args[0] == "--earcheck":
        run = subprocess.run([args[1], "--reference"], capture_output=True)
        if run.returncode != 0:
            sys.stderr.write(f"check_guides.py: {args[1]} --reference failed ({run.returncode}):\n")
            sys.stderr.write(run.stderr.decode("utf-8", "replace"))
            return 2
        listing = run.stdout.decode("utf-8")
        guide = args[2]
    elif len(args) == 2:
        listing = sys.stdin.read() if args[0] == "-" else open(args[0], encoding="utf-8").read()
        guide = args[1]
    else:
        sys.stderr.write(__doc__)
        return 2
    listing_lines = [line for line in listing.splitlines() if line.strip()]
    if not listing_lines:
        print("check_guides.py: the listing is empty")
        return 1
    with open(guide, encoding="utf-8") as f:
        found = check(listing, f.read())
    for line in found:
        print(f"{guide}: {line}")
    if not found:
        print(f"{guide}: names all {len(listing_lines)} items of the listing")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Checks the program's include structure.

  check_includes.py [ROOT]

Two rules, over the program's folders (tools and tests stand on top and are not checked):
- an include never runs back up: a file includes only its own folder and the folders
  below it (base <- package, imaging <- forms <- controls <- screens <- shell);
- no loop inside a folder: among the folder's units (a header with the files that
  implement it, foo_win.cpp with foo.h; a source without a header of its own belongs to
  the header it includes first), no unit reaches itself again through includes. Test sources and test support
  files take part in the first rule only: a test may include any unit of its folder.
Prints each problem and exits 1, or prints the per-folder unit graph with -v and exits 0.
"""
import os
import re
import sys
from collections import defaultdict

LEVELS = {"base": 0, "package": 1, "imaging": 1, "forms": 2, "controls": 3, "screens": 4, "shell": 5}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SOURCE_SUFFIXES = (".cpp", ".h")


def is_test(name):
    stem = os.path.splitext(os.path.basename(name))[0]
    return "test" in stem.split("_") or stem.endswith("_test") or "stand_in" in stem or stem.endswith("_gallery")


def program_files(root):
    for folder in LEVELS:
        for dirpath, _, files in os.walk(os.path.join(root, folder)):
            for f in sorted(files):
                if f.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(dirpath, f), root)


def includes_of(root, rel):
    with open(os.path.join(root, rel), encoding="utf-8", errors="replace") as f:
        return [i for i in INCLUDE.findall(f.read()) if i.split("/")[0] in LEVELS]


def layer_problems(root, files):
    problems = []
    for rel in files:
        folder = rel.split("/")[0]
        for inc in includes_of(root, rel):
            target = inc.split("/")[0]
            if target != folder and LEVELS[target] >= LEVELS[folder]:
                problems.append(f"{rel}: includes {inc}, which is not below {folder}/")
    return problems


def unit_of(root, rel, headers):
    stem, ext = os.path.splitext(rel)
    if ext == ".h":
        return stem
    if stem + ".h" in headers:
        return stem
    for suffix in ("_win", "_posix"):
        if stem.endswith(suffix) and stem[: -len(suffix)] + ".h" in headers:
            return stem[: -len(suffix)]
    own = [i for i in includes_of(root, rel) if i.startswith(rel.split("/")[0] + "/")]
    return os.path.splitext(own[0])[0] if own else stem


def unit_graphs(root, files):
    """folder -> {unit: set(units it includes inside the folder)}"""
    headers = {f for f in files if f.endswith(".h")}
    graphs = defaultdict(lambda: defaultdict(set))
    for rel in files:
        if is_test(rel):
            continue
        folder = rel.split("/")[0]
        unit = unit_of(root, rel, headers)
        graphs[folder][unit]
        for inc in includes_of(root, rel):
            if inc.split("/")[0] == folder and not is_test(inc):
                target = os.path.splitext(inc)[0]
                if target != unit:
                    graphs[folder][unit].add(target)
    return graphs


def find_loop(graph):
    state = {}
    stack = []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                return stack[stack.index(nxt):] + [nxt]
            if nxt not in state:
                loop = visit(nxt)
                if loop:
                    return loop
        stack.pop()
        state[node] = "done"
        return None

    for node in sorted(graph):
        if node not in state:
            loop = visit(node)
            if loop:
                return loop
    return None


def check(root):
    """(files, unit graphs, problems) of the tree at root."""
    files = list(program_files(root))
    problems = layer_problems(root, files)
    graphs = unit_graphs(root, files)
    for folder in LEVELS:
        loop = find_loop(graphs.get(folder, {}))
        if loop:
            problems.append(f"{folder}/: include loop " + " -> ".join(loop))
    return files, graphs, problems


def main(argv):
    verbose = "-v" in argv
    args = [a for a in argv[1:] if a != "-v"]
    root = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    files, graphs, problems = check(root)
    if verbose:
        for folder in LEVELS:
            for unit, targets in sorted(graphs.get(folder, {}).items()):
                print(f"{unit} -> {', '.join(sorted(targets)) or '-'}")
    for p in problems:
        print(p)
    if not problems:
        print(f"{len(files)} files: no include runs back up, no include loop inside a folder")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

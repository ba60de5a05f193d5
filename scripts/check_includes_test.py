"""The include check of scripts/check_includes.py, on small trees and on this one."""
import os
import shutil
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_includes  # noqa: E402
import test_counts  # noqa: E402


def tree(files):
    root = tempfile.mkdtemp(prefix="ear-includes-")
    for rel, text in files.items():
        os.makedirs(os.path.join(root, os.path.dirname(rel)), exist_ok=True)
        with open(os.path.join(root, rel), "w", encoding="utf-8") as f:
            f.write(text)
    return root


def problems(files):
    root = tree(files)
    try:
        return check_includes.check(root)[2]
    finally:
        shutil.rmtree(root)


def test_cases():
    cases = [
        # (files, what the problems must mention; empty: none)
        ({"forms/a.h": '#include "base/x.h"\n', "base/x.h": ""}, []),
        ({"forms/a.h": '#include "screens/s.h"\n', "screens/s.h": ""}, ["forms/a.h: includes screens/s.h"]),
        ({"package/p.cpp": '#include "imaging/i.h"\n', "imaging/i.h": ""}, ["package/p.cpp: includes imaging/i.h"]),
        # a loop through a source: a.cpp implements a.h and calls into b, which includes a
        ({"forms/a.h": "", "forms/a.cpp": '#include "forms/a.h"\n#include "forms/b.h"\n',
          "forms/b.h": '#include "forms/a.h"\n'}, ["forms/: include loop forms/a -> forms/b -> forms/a"]),
        # foo_win.cpp belongs to foo.h; a headerless source to the header it includes first
        ({"forms/a.h": "", "forms/a_win.cpp": '#include "forms/b.h"\n', "forms/b.h": '#include "forms/a.h"\n'},
         ["forms/: include loop forms/a -> forms/b -> forms/a"]),
        ({"forms/a.h": "", "forms/paint.cpp": '#include "forms/a.h"\n#include "forms/b.h"\n',
          "forms/b.h": '#include "forms/a.h"\n'}, ["forms/: include loop forms/a -> forms/b -> forms/a"]),
        # a test may include any unit of its folder
        ({"forms/a.h": "", "forms/a_test.cpp": '#include "forms/b.h"\n', "forms/b.h": '#include "forms/a.h"\n'}, []),
    ]
    for files, expected in cases:
        found = problems(files)
        assert len(found) == len(expected), (files, found)
        for want, got in zip(expected, found):
            assert got.startswith(want), (want, got)


def test_this_tree_has_no_upward_include_and_no_loop():
    root = os.path.join(HERE, "..")
    assert check_includes.main(["check_includes.py", root]) == 0


if __name__ == "__main__":
    test_counts.main_functions(globals())

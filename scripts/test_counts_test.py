"""The test counting of scripts/test-all.sh, on sample reports."""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import test_counts  # noqa: E402

SCRATCH = tempfile.mkdtemp(prefix="ear-counts-")

# What GoogleTest 1.12 writes: a pass, a GTEST_SKIP, a failure, a DISABLED_ test.
GTEST_XML = """<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="4" failures="1" disabled="1" errors="0" name="AllTests">
  <testsuite name="Ini" tests="4" failures="1" disabled="1" skipped="1" errors="0">
    <testcase name="Reads" status="run" result="completed" time="0." classname="Ini" />
    <testcase name="ReadOnly" status="run" result="skipped" time="0." classname="Ini">
      <skipped message="ini_win_test.cpp:139&#x0A;root writes read-only files"><![CDATA[]]></skipped>
    </testcase>
    <testcase name="Writes" status="run" result="completed" time="0." classname="Ini">
      <failure message="ini_win_test.cpp:40&#x0A;Expected equality of these values:&#x0A;  Read()&#x0A;    Which is: &quot;a&quot;&#x0A;  &quot;b&quot;" type=""><![CDATA[ini_win_test.cpp:40]]></failure>
    </testcase>
    <testcase name="DISABLED_Slow" status="notrun" result="suppressed" time="0." classname="Ini" />
  </testsuite>
</testsuites>
"""


def scratch(name, text):
    path = os.path.join(SCRATCH, name)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path


def junit(cases):
    """A `ctest --output-junit` report of (name, status, skipped message or None)."""
    rows = []
    for name, status, skip in cases:
        inner = '<skipped message="%s"/>' % skip if skip else ('<failure message=""/>' if status == "fail" else "")
        rows.append('<testcase name="%s" classname="%s" status="%s">%s</testcase>' % (name, name, status, inner))
    return scratch("junit.xml", "<testsuite>%s</testsuite>" % "".join(rows))


def shown(tests):
    """`ctest --show-only=json-v1` of (name, {property: value})."""
    return {"tests": [{"name": n, "properties": [{"name": k, "value": v} for k, v in p.items()]}
                      for n, p in tests]}


def test_gtest_report_counts_skips_and_failures_apart():
    assert test_counts.read_cases(scratch("g.xml", GTEST_XML)) == (1, 2, 1)


def test_layer_counts_cases_and_failures_outside_them():
    gtest = scratch("ini.xml", GTEST_XML)
    all_pass = scratch("pass.xml", GTEST_XML.replace("<failure", "<x").replace("</failure>", "</x>"))
    tests = shown([
        ("ini_win_test", {"ENVIRONMENT": ["A=1", "GTEST_OUTPUT=xml:Z:" + gtest]}),    # 1 2 1
        ("crashed_test", {"ENVIRONMENT": ["GTEST_OUTPUT=xml:" + SCRATCH + "/none.xml"]}),  # 0 0 1
        ("died_at_exit", {"ENVIRONMENT": ["EAR_TEST_RESULTS=" + all_pass]}),           # 2 2 1
        ("script_test", {}),                                                           # 1 0 0
        ("Base.Case", {}),                                                             # 0 1 0
        ("after_rig", {"FIXTURES_REQUIRED": ["wine"]}),                                # 0 0 1
        ("wine_start", {"FIXTURES_SETUP": ["wine"]}),                                  # not a case
    ])
    report = junit([
        ("ini_win_test", "run", None), ("crashed_test", "fail", None), ("died_at_exit", "fail", None),
        ("script_test", "run", None), ("Base.Case", "notrun", "SKIP_REGULAR_EXPRESSION_MATCHED"),
        ("after_rig", "notrun", "Fixture dependency failed"), ("wine_start", "run", None),
    ])
    p, s, f, problems = test_counts.count_layer(tests, report)
    assert (p, s, f) == (4, 5, 4), (p, s, f, problems)
    # Each failing test once, and under it each failed case with the start of its failure.
    assert len(problems) == 5, problems
    assert problems[problems.index("ini_win_test: 1 case(s) failed") + 1] == \
        '    Ini.Writes: ini_win_test.cpp:40 / Expected equality of these values: / Read() / Which is: "a"'


def test_a_layer_without_a_passing_test_fails():
    cases = [
        ([], []),
        ([("Base.Case", {})], [("Base.Case", "notrun", "SKIP_REGULAR_EXPRESSION_MATCHED")]),
        ([("empty", {"ENVIRONMENT": ["GTEST_OUTPUT=xml:" + scratch("e.xml", "<testsuites/>")]})],
         [("empty", "run", None)]),
    ]
    for tests, results in cases:
        p, s, f, problems = test_counts.count_layer(shown(tests), junit(results))
        assert p == 0 and problems, (tests, p, s, f, problems)


def test_python_runner_reports_each_function_even_when_the_process_dies():
    script = scratch("t.py", """
import os, sys
sys.path.insert(0, %r)
import test_counts
def test_a(): pass
def test_b(): raise test_counts.Skipped("not here")
def test_c(): assert 1 == 2
def test_d(): os._exit(3)
def test_e(): pass
test_counts.main_functions(globals(), on_failure=lambda: "one window")
""" % os.path.dirname(os.path.abspath(__file__)))
    results = os.path.join(SCRATCH, "t.xml")
    rc = subprocess.run([sys.executable, script], env=dict(os.environ, EAR_TEST_RESULTS=results),
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    assert rc == 3
    assert test_counts.read_cases(results) == (1, 1, 1)  # test_d and test_e never reported
    # A bare assert is named by its line, and what was seen at the failure follows.
    assert test_counts.failed_cases(results) == [
        ("test_c", "AssertionError (at t.py:7: def test_c(): assert 1 == 2); at the failure: one window")], \
        test_counts.failed_cases(results)


if __name__ == "__main__":
    test_counts.main_functions(globals())

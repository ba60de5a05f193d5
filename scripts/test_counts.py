"""Counts test cases for scripts/test-all.sh, and runs Python test functions so that they
are counted the same way.

Every CTest test is counted by its cases. A test whose environment names a results file
(GTEST_OUTPUT=xml:PATH for a GoogleTest binary, EAR_TEST_RESULTS=PATH for a Python script
run by run_functions) counts the cases in that file; any other test is one case. A test
that failed beyond what its cases show (crash, timeout, sanitizer report at exit, no
results file) adds one failure; a test CTest did not run counts as failed unless it was
skipped on purpose (SKIP_REGULAR_EXPRESSION or SKIP_RETURN_CODE).

    test_counts.py layer BUILD_DIR JUNIT_XML    prints "P S F"; problems go to stderr;
                                                exit 1 when something failed or nothing ran
"""
import json
import os
import subprocess
import sys
import time
import traceback
import xml.etree.ElementTree as ET
from xml.sax.saxutils import quoteattr


class Skipped(Exception):
    """Raised by a test function that cannot run here; the reason is reported."""


def read_cases(path):
    """(passed, skipped, failed) of a GoogleTest XML report (run_functions writes the same)."""
    passed = skipped = failed = 0
    for case in ET.parse(path).iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.get("status") == "notrun" or case.get("result") in ("skipped", "suppressed") \
                or case.find("skipped") is not None:
            skipped += 1
        else:
            passed += 1
    return passed, skipped, failed


def failed_cases(path):
    """[(case name, the start of its failure)] of a GoogleTest XML report, so that a log that
    shows only the summary still says what failed. GoogleTest puts the file and line on a line
    of their own: the first four lines are joined."""
    failures = []
    for case in ET.parse(path).iter("testcase"):
        bad = case.find("failure")
        if bad is None:
            bad = case.find("error")
        if bad is not None:
            lines = [l.strip() for l in (bad.get("message") or bad.text or "").splitlines() if l.strip()]
            name = ".".join(n for n in (case.get("classname"), case.get("name")) if n)
            failures.append((name, " / ".join(lines[:4])[:800]))
    return failures


def results_file(environment):
    """The results file a test's environment (list of "K=V") names, or None."""
    for item in environment:
        key, _, value = item.partition("=")
        if key == "EAR_TEST_RESULTS":
            return value
        if key == "GTEST_OUTPUT" and value.startswith("xml:"):
            path = value[4:]
            return path[2:] if path[:3] in ("Z:/", "z:/") else path  # Wine's Z: is the Linux root
    return None


def count_layer(tests, junit_path):
    """tests: `ctest --show-only=json-v1` as loaded; junit_path: `ctest --output-junit` of the
    run. Returns (passed, skipped, failed, problems)."""
    props = {}
    for t in tests["tests"]:
        props[t["name"]] = {p["name"]: p["value"] for p in t.get("properties", [])}
    passed = skipped = failed = 0
    problems = []
    for case in ET.parse(junit_path).iter("testcase"):
        name, status = case.get("name"), case.get("status")
        p = props.get(name, {})
        skip = case.find("skipped")
        on_purpose = status == "notrun" and skip is not None and skip.get("message", "").startswith("SKIP_")
        if "FIXTURES_SETUP" in p or "FIXTURES_CLEANUP" in p:  # rig, not a test
            if status != "run":
                failed += 1
                problems.append("%s (test rig) failed" % name)
            continue
        if status == "notrun" and not on_purpose:
            failed += 1
            problems.append("%s did not run: %s" % (name, skip.get("message") if skip is not None else status))
            continue
        if on_purpose:
            skipped += 1
            continue
        path = results_file(p.get("ENVIRONMENT", []))
        if path is None:
            if status == "run":
                passed += 1
            else:
                failed += 1
                problems.append("%s failed" % name)
            continue
        if not os.path.isfile(path):
            failed += 1
            problems.append("%s wrote no results (crashed or never started)" % name)
            continue
        try:
            p_, s_, f_ = read_cases(path)
        except ET.ParseError as e:
            failed += 1
            problems.append("%s: unreadable results %s (%s)" % (name, path, e))
            continue
        passed, skipped, failed = passed + p_, skipped + s_, failed + f_
        if f_:
            problems.append("%s: %d case(s) failed" % (name, f_))
            problems += ["    %s: %s" % case for case in failed_cases(path)]
        if status != "run" and f_ == 0:
            failed += 1
            problems.append("%s failed outside its cases (crash, timeout or exit code)" % name)
        elif status == "run" and p_ + s_ + f_ == 0:
            failed += 1
            problems.append("%s ran no case" % name)
    if passed == 0:
        problems.append("no test ran (none passed)")
    return passed, skipped, failed, problems


def write_results(path, suite, records):
    """Writes records [(name, outcome, seconds, detail)] as a GoogleTest-shaped XML report."""
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<testsuites>",
             "  <testsuite name=%s tests=\"%d\">" % (quoteattr(suite), len(records))]
    for name, outcome, seconds, detail in records:
        result = "skipped" if outcome == "skipped" else "completed"
        lines.append('    <testcase name=%s status="run" result="%s" time="%.3f">' % (quoteattr(name), result, seconds))
        if outcome == "failed":
            lines.append("      <failure message=%s/>" % quoteattr(detail))
        elif outcome == "skipped":
            lines.append("      <skipped message=%s/>" % quoteattr(detail))
        lines.append("    </testcase>")
    lines += ["  </testsuite>", "</testsuites>", ""]
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    os.replace(tmp, path)  # a crash never leaves half a file


def where(error, namespace):
    """" (at FILE:LINE: SOURCE)" of the innermost frame of the test's own script, or of the
    innermost frame: a bare assert says nothing without it."""
    frames = traceback.extract_tb(error.__traceback__)
    own = [f for f in frames if f.filename == namespace.get("__file__")]
    frame = (own or frames or [None])[-1]
    if frame is None:
        return ""
    return " (at %s:%d: %s)" % (os.path.basename(frame.filename), frame.lineno, (frame.line or "").strip())


def run_functions(namespace, only=(), after_each=None, suite=None, on_failure=None):
    """Runs the test_* functions of a namespace, each followed by after_each; a function that
    raises Skipped is skipped. A failure's message ends with what on_failure() returns then.
    Writes the results after every function to $EAR_TEST_RESULTS (when set), so that a process
    that dies keeps what ran before. Returns (p, s, f)."""
    results = os.environ.get("EAR_TEST_RESULTS")
    suite = suite or os.path.basename(namespace.get("__file__", "tests"))
    records = []
    for name, fn in [(n, f) for n, f in namespace.items() if n.startswith("test_") and callable(f)]:
        if only and name not in only:
            continue
        start = time.monotonic()
        outcome, detail = "passed", ""
        try:
            fn()
        except Skipped as e:
            outcome, detail = "skipped", str(e)
        except Exception as e:  # noqa: BLE001 - every error of a test is its failure
            outcome, detail = "failed", type(e).__name__ + (": %s" % e if str(e) else "") + where(e, namespace)
            traceback.print_exc()
            if on_failure:
                seen = on_failure()
                print("at the failure:", seen, flush=True)
                detail += "; at the failure: " + seen
        finally:
            if after_each:
                try:
                    after_each()
                except Exception as e:  # noqa: BLE001
                    traceback.print_exc()
                    if outcome != "failed":
                        outcome, detail = "failed", "after the test: %s" % e
        seconds = time.monotonic() - start
        print("%s %s (%.1f s)%s" % ({"passed": "PASS", "skipped": "SKIP", "failed": "FAIL"}[outcome], name,
                                     seconds, ": " + detail if outcome == "skipped" else ""), flush=True)
        records.append((name, outcome, seconds, detail))
        if results:
            write_results(results, suite, records)
    counts = tuple(sum(1 for r in records if r[1] == o) for o in ("passed", "skipped", "failed"))
    print("%d passed, %d skipped, %d failed" % counts, flush=True)
    return counts


def main_functions(namespace, after_each=None, on_failure=None):
    """run_functions for a script's __main__: test names from argv; exits non-zero when a test
    failed or none ran."""
    p, s, f = run_functions(namespace, only=sys.argv[1:], after_each=after_each, on_failure=on_failure)
    sys.exit(1 if f or p + s == 0 else 0)


def main(argv):
    if len(argv) != 4 or argv[1] != "layer":
        sys.exit(__doc__)
    build_dir, junit = argv[2], argv[3]
    shown = subprocess.run(["ctest", "--test-dir", build_dir, "--show-only=json-v1"], check=True,
                           stdout=subprocess.PIPE).stdout
    if not os.path.isfile(junit):
        print("  no CTest report %s" % junit, file=sys.stderr)
        print("0 0 0")
        return 1
    passed, skipped, failed, problems = count_layer(json.loads(shown), junit)
    for line in problems:
        print("  " + line, file=sys.stderr)
    print(passed, skipped, failed)
    return 1 if failed or passed == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

"""The stand-in exam program, started as the launch batch would start it from a sample package."""
import os
import subprocess

import harness

# Values as the launcher writes them; ソ and 表 end in 0x5C, the byte of "\".
CANDIDATE = [("会場コード", "12345"), ("受験番号", "678"), ("姓", "山田ソ"), ("名", "表太郎")]
KEY = "aB3xZ"


def write_ini(path, section, pairs):
    text = "[%s]\r\n" % section + "".join("%s=%s\r\n" % kv for kv in pairs)
    with open(path, "wb") as f:
        f.write(text.encode("cp932"))


def start_from_package(folder_name, env=None):
    """A package in a launcher folder, turned into a candidate folder the way the OK action leaves it;
    the exam is started with the parent folder as working directory."""
    parent = harness.temp_dir("standin")
    launcher = os.path.join(parent, folder_name)
    pkg = harness.make_package(launcher, bushu="模擬ソ試験")
    system = os.path.join(pkg, "system")
    write_ini(os.path.join(system, "shiken.ini"), "受験者情報", CANDIDATE)
    with open(os.path.join(system, "system.ini"), "ab") as f:
        f.write(("固有キー=%s\r\n" % KEY).encode("cp932"))
    candidate = os.path.join(parent, "EAR01山田ソ_表太郎［%s］" % KEY)
    os.rename(pkg, candidate)
    # The launcher hides the system folder before the move; testwin stands in for it here.
    setattr = harness.run_wine(harness.exe("testwin"), ["setattr", harness.winpath(os.path.join(candidate, "system")),
                                                        "0x22"])
    assert setattr.wait(60) == 0, setattr.stdout.read()
    report = os.path.join(parent, "report.txt")
    env = dict(env or {}, EAR_STANDIN_REPORT=harness.winpath(report))
    exe = os.path.join(candidate, "[1]模擬ソ試験.exe")
    proc = harness.run_wine(exe, cwd=parent, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return proc, parent, candidate, report


def test_window_and_report():
    proc, parent, candidate, report_path = start_from_package("配布 ソ&%")
    window = harness.wait_for_window("frmJPBG0010", timeout=20)
    assert window["pid"] > 0 and window["visible"], window
    report = harness.read_report(harness.wait_file(report_path))
    assert report["end"] == "1"

    exe_win = harness.winpath(os.path.join(candidate, "[1]模擬ソ試験.exe"))
    cases = [
        ("cwd", harness.winpath(parent)),
        ("module", exe_win),
        ("module_folder", harness.winpath(candidate) + "\\"),
        ("shiken_ini_exists", "1"),
        ("system.固有キー", KEY),
    ] + [("shiken." + k, v) for k, v in CANDIDATE]
    for key, expected in cases:
        got = harness.report_bytes(report, key)
        assert got.lower() == expected.encode("cp932").lower(), (key, got, expected)

    attrs = int(report["system_attributes"])
    assert attrs & 0x10, "system is a folder: %#x" % attrs
    assert attrs & 0x02, "system folder hidden: %#x" % attrs

    shot = harness.screenshot(os.path.join(parent, "standin.png"))
    l, t, r, b = window["rect"]
    inside = harness.pixel(shot, (l + r) // 2, b - 10)
    assert harness.close_to(inside, (255, 255, 255)), inside  # the window's white client area

    harness.wdrive("close", window["hwnd"])
    assert proc.wait(timeout=20) == 0
    harness.wait_window_gone("frmJPBG0010", timeout=10)


def test_lifetime_ends_the_program():
    proc, _, _, report_path = start_from_package("配布", env={"EAR_STANDIN_LIFETIME_MS": "1500"})
    harness.wait_for_window("frmJPBG0010", timeout=20)
    harness.wait_file(report_path)
    assert proc.wait(timeout=20) == 0
    assert not harness.window_exists("frmJPBG0010")


def test_without_settings_reports_empty_values():
    parent = harness.temp_dir("bare")
    os.makedirs(os.path.join(parent, "exam"))
    import shutil
    exe = os.path.join(parent, "exam", "[1]x.exe")
    shutil.copyfile(harness.exe("standin"), exe)
    report_path = os.path.join(parent, "report.txt")
    proc = harness.run_wine(exe, cwd=parent, env={"EAR_STANDIN_REPORT": harness.winpath(report_path),
                                                  "EAR_STANDIN_LIFETIME_MS": "500"})
    report = harness.read_report(harness.wait_file(report_path, timeout=20))
    assert proc.wait(timeout=20) == 0
    assert report["system_attributes"] == "none"
    assert report["shiken_ini_exists"] == "0"
    for key in ("shiken.会場コード", "shiken.姓", "system.固有キー"):
        assert report[key] == "", key


if __name__ == "__main__":
    harness.main(globals())

"""The hand-over at its edges: an exam program that never shows its window (the launcher waits
at most 120 s, says so, and still ends with the exam handed over), a launcher that lies
directly in a drive's root folder (the candidate folder goes into that root, and only the
executable and the batch go), a deep location where every path of the package must stay within
259 bytes, and a read-only location (nothing changes)."""
import contextlib
import os
import shutil
import subprocess
import tempfile
import time

import harness
import test_registration as reg
import wizard


def test_exam_that_never_shows_its_window_ends_the_wait():
    parent, folder = reg.install("nowindow", mode="venue")
    # The stand-in then reports and waits without any window.
    with open(os.path.join(folder, "##TMP##", "standin_no_window"), "wb"):
        pass
    report = os.path.join(harness.temp_dir("report"), "report.txt")
    launcher = reg.start(parent, folder, report=report)
    screen = reg.open_registration()
    reg.fill(screen, KaiCdEdt="12345", JuBanEdt="678")
    began = time.monotonic()
    reg.enter(screen, "JuBanEdt")
    harness.wait_file(report, timeout=30)  # the exam program runs
    # The screen still answers while it waits.
    time.sleep(5)
    assert harness.windows(title=wizard.REGISTRATION)[0]["enabled"]
    boxes = harness.message_boxes(timeout=150)
    waited = time.monotonic() - began
    assert [(b["title"], b["text"]) for b in boxes] == [("エラー", "受験プログラムの起動を確認できませんでした。")]
    harness.wdrive("click", boxes[0]["buttons"][0]["hwnd"])
    assert launcher.wait(timeout=30) == 0
    assert len(reg.candidate_folders(parent, "EAR0112345_678")) == 1
    # The launcher's removal is not asserted here: Wine's cmd never finds IF EXIST ^"path^", so
    # under Wine the batch makes its one delete attempt ~5 s after its start, while this
    # launcher still waits; on Windows it retries (about 3 minutes) until the launcher has ended.
    print("message after %.1f s" % waited)


def test_launcher_in_a_drive_root():
    prefix = harness.wine_env()["WINEPREFIX"]
    letter = next((c for c in "rstuvwxy" if not os.path.lexists(os.path.join(prefix, "dosdevices", c + ":"))), None)
    if letter is None:
        harness.skip("no free drive letter in the prefix")
    root = tempfile.mkdtemp(prefix="root-", dir=harness.temp_dir("driveroot"))
    link = os.path.join(prefix, "dosdevices", letter + ":")
    os.symlink(root, link)
    try:
        harness.make_package(root, mode="name")
        shutil.copy(harness.exe("launcher"), os.path.join(root, "ExamAutoRunner.exe"))
        os.makedirs(os.path.join(root, "other exam"))
        with open(os.path.join(root, "other exam", "x.txt"), "wb") as f:
            f.write(b"keep")
        report = os.path.join(harness.temp_dir("report"), "report.txt")
        launcher = harness.run_wine(letter.upper() + ":\\ExamAutoRunner.exe", [], cwd=root,
                                    env={"EAR_STANDIN_REPORT": harness.winpath(report)},
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        screen = reg.open_registration()
        reg.fill(screen, SeiEdt="山田", MeiEdt="太郎")
        reg.enter(screen, "MeiEdt")
        harness.wait_for_window(reg.EXAM, timeout=30)
        assert launcher.wait(timeout=30) == 0
        (name, key), = reg.candidate_folders(root, "EAR01山田_太郎")
        r = harness.read_report(harness.wait_file(report, timeout=10))
        assert harness.report_bytes(r, "module") == reg.sjis(letter.upper() + ":\\" + name + "\\" + reg.EXAM_EXE)
        assert reg.wait_gone([os.path.join(root, "ExamAutoRunner.exe"), os.path.join(root, reg.BATCH)], timeout=60)
        assert sorted(os.listdir(root)) == sorted([name, "other exam"])
        assert os.listdir(os.path.join(root, "other exam")) == ["x.txt"]
    finally:
        harness.tidy_up()
        os.unlink(link)


def longest_inside(package):
    """Bytes of the longest path of a file or folder inside package, relative to it, in CP932."""
    longest = 0
    for top, dirs, files in os.walk(package):
        for n in dirs + files:
            rel = os.path.relpath(os.path.join(top, n), package).replace(os.sep, "\\")
            longest = max(longest, len(reg.sjis(rel)))
    return longest


def focused(screen):
    return harness.wdrive("focus", screen["hwnd"])[0]["focus"]


def test_every_path_of_the_package_stays_within_259_bytes_and_a_refused_number_is_corrected():
    # A parent folder of 150 bytes with its "\", as Windows names it.
    base = harness.temp_dir("limit")
    parent = os.path.join(base, "p" * (150 - len(reg.sjis(harness.winpath(base) + "\\")) - 1))
    folder = os.path.join(parent, "L")
    os.makedirs(folder)
    assert len(reg.sjis(harness.winpath(parent) + "\\")) == 150
    package = harness.make_package(folder, mode="venue")
    shutil.copy(harness.exe("launcher"), os.path.join(folder, "ExamAutoRunner.exe"))
    # The exam program's own files may sit deeper than the settings and pictures.
    os.makedirs(os.path.join(package, "data", "questions"))
    with open(os.path.join(package, "data", "questions", "part_one_answers.dat"), "wb") as f:
        f.write(b"x")
    inside = longest_inside(package)
    assert inside > len("system\\1\\setup.ini") > len("system\\shiken.ini")
    # parent + "EAR01" + "12345" + "_" + number + "［key］" + "\" + the longest path: 259 bytes.
    fits = 259 - (150 + 5 + 5 + 1 + 9 + 1 + inside)
    number = "0" * (fits - 1) + "7"
    before = reg.tree(parent)
    report = os.path.join(harness.temp_dir("report"), "report.txt")
    launcher = reg.start(parent, folder, report=report)
    screen = reg.open_registration()
    # One byte too many, typed from the venue code's field: refused before anything is written,
    # with the focus in the candidate number's field.
    reg.fill(screen, KaiCdEdt="12345", JuBanEdt="0" + number)
    reg.enter(screen, "KaiCdEdt")
    assert reg.box() == ("エラー", "受験プログラムの展開に失敗しました。")
    assert not harness.message_boxes(timeout=1.5)
    assert reg.tree(parent) == before
    assert focused(screen) == reg.edit(screen, "JuBanEdt")["hwnd"]
    # Corrected in its field, Enter hands the package over.
    reg.fill(screen, JuBanEdt=number)
    reg.enter(screen, "JuBanEdt")
    harness.wait_file(report, timeout=60)
    assert launcher.wait(timeout=60) == 0
    (name, _), = reg.candidate_folders(parent, "EAR0112345_" + number)
    candidate = harness.winpath(os.path.join(parent, name))
    lengths = {os.path.relpath(os.path.join(top, n), os.path.join(parent, name)):
               len(reg.sjis(candidate + "\\" + os.path.relpath(os.path.join(top, n), os.path.join(parent, name))
                            .replace(os.sep, "\\")))
               for top, dirs, files in os.walk(os.path.join(parent, name)) for n in dirs + files}
    assert max(lengths.values()) == 259, lengths
    assert lengths[os.path.join("system", "1", "setup.ini")] < 259
    print("longest path inside the package: %d bytes; candidate number: %d bytes" % (inside, len(number)))


@contextlib.contextmanager
def read_only_view(folder):
    """folder seen read-only at a new mount point (a bind mount), undone whatever happens."""
    view = harness.temp_dir("readonly-view")
    subprocess.run(["mount", "--bind", folder, view], check=True)
    try:
        subprocess.run(["mount", "-o", "remount,bind,ro", view], check=True)
        if harness.ARCH32:
            harness.restart_server()
        yield view
    finally:
        harness.tidy_up()  # nothing of ours keeps the mount busy
        if subprocess.run(["umount", view]).returncode != 0:
            subprocess.run(["umount", "-l", view], check=True)


def test_a_read_only_location_changes_nothing():
    # A CD or a write-protected stick: Wine run as root writes read-only files, but not through a
    # read-only mount.
    parent, folder = reg.install("readonly", mode="venue")
    before = reg.tree(parent)
    with read_only_view(parent) as view:
        launcher = reg.start(view, os.path.join(view, "launcher"))
        screen = reg.open_registration()
        reg.fill(screen, KaiCdEdt="12345", JuBanEdt="678")
        reg.enter(screen, "JuBanEdt")
        system_ini = harness.winpath(view) + "\\launcher\\##TMP##\\system\\system.ini"
        assert reg.box(timeout=30) == ("エラー", "システム情報の書き込みに失敗しました。\r\n\r\n%s に書き込めません" % system_ini)
        assert not harness.message_boxes(timeout=1.5)
        # Abandoned: the cleanup batch cannot be made, so nothing is deleted.
        harness.wdrive("click", wizard.button(harness.windows(title=wizard.REGISTRATION)[0], "閉じる")["hwnd"], "--mouse")
        title, text = reg.box(timeout=30)
        batch = harness.winpath(view) + "\\" + reg.BATCH
        assert title == "エラー", text
        assert text.startswith("バッチファイルの実行に失敗しました。\r\n\r\nファイル \"%s\". " % batch), text
        assert text.endswith(" を作成できません"), text
        assert launcher.wait(timeout=30) == 0
        assert reg.tree(view) == before
    assert reg.tree(parent) == before


if __name__ == "__main__":
    harness.main(globals())

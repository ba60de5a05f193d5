"""The real launcher abandoned: the package goes at once, the cleanup batch removes the
executable, its folder and itself once the launcher has ended, and nothing else is touched.
Wine's cmd keeps the folder it starts in busy, so every launcher starts outside its own folder."""
import os
import shutil
import stat
import subprocess
import time

import harness
import wizard

BATCH = "ExamAutoRunner.BAT"


def install(parent, name):
    folder = os.path.join(parent, name)
    os.makedirs(folder)
    harness.make_package(folder)
    shutil.copy(harness.exe("launcher"), os.path.join(folder, "ExamAutoRunner.exe"))
    return folder


def neighbours(folder):
    """Files and folders that must survive: another "##TMP##" among them."""
    os.makedirs(os.path.join(folder, "##TMP##", "system"), exist_ok=True)
    os.makedirs(os.path.join(folder, "keep dir"), exist_ok=True)
    for rel in ("keep.txt", os.path.join("##TMP##", "system", "system.ini"), os.path.join("keep dir", "x.txt")):
        with open(os.path.join(folder, rel), "wb") as f:
            f.write(b"keep")


def listing(folder, skip=None):
    """Every entry below folder as a relative path, leaving out skip and what it holds."""
    found = []
    for top, dirs, files in os.walk(folder):
        found += [os.path.normpath(os.path.relpath(os.path.join(top, n), folder)) for n in dirs + files]
    return sorted(x for x in found if not (skip and (x == skip or x.startswith(skip + os.sep))))


def abandon(folder, cwd, *args):
    """Starts the launcher from cwd and presses the title screen's close button."""
    launcher = harness.run_wine(os.path.join(folder, "ExamAutoRunner.exe"), list(args), cwd=cwd,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wizard.press(wizard.TITLE, "閉じる", timeout=30)
    return launcher


def wait_gone(paths, timeout=30.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end and any(os.path.exists(p) for p in paths):
        time.sleep(0.05)
    return time.monotonic()


def test_closing_removes_package_executable_folder_and_batch():
    cases = [
        # (launcher folder name, start from an unrelated folder with its own "##TMP##", parent's name)
        ("launcher", False, None),
        ("配布 ソ&表^タ%運(1)!;,=　", False, None),
        ("launcher", True, None),
        # Wine's cmd drops the "%" from what %0 gives ("...\100完了\..."): "DEL %0" missed the batch.
        ("launcher", False, "100%完了"),
    ]
    for name, elsewhere, parent_name in cases:
        parent = harness.temp_dir("selfremoval")
        if parent_name:
            parent = os.path.join(parent, parent_name)
            os.makedirs(parent)
        folder = install(parent, name)
        neighbours(parent)
        cwd = parent
        if elsewhere:
            cwd = harness.temp_dir("elsewhere")
            neighbours(cwd)
        before, cwd_before = listing(parent, skip=name), listing(cwd)
        launcher = abandon(folder, cwd)
        assert launcher.wait(timeout=30) == 0, name
        ended = time.monotonic()
        assert not os.path.exists(os.path.join(folder, "##TMP##")), name  # the launcher itself deleted it
        gone = wait_gone([folder])
        wait_gone([os.path.join(parent, BATCH)])
        assert not os.path.exists(folder), name
        assert not os.path.exists(os.path.join(parent, BATCH)), name
        assert listing(parent) == before, (name, listing(parent))
        if elsewhere:
            assert listing(cwd) == cwd_before, listing(cwd)
        assert not harness.message_boxes(timeout=0.5)
        print("%s%s: folder gone %.2f s after the launcher ended"
              % (name, " (started elsewhere)" if elsewhere else " (in %s)" % parent_name if parent_name else "",
                 gone - ended))


def plant_ping(folder, markers, tag):
    """A ping.bat and a ping.cmd in folder; each leaves a marker file if it ever runs."""
    for ext in ("bat", "cmd"):
        marker = harness.winpath(os.path.join(markers, "%s-%s.txt" % (tag, ext)))
        with open(os.path.join(folder, "ping." + ext), "wb") as f:
            f.write(('@echo ran>"%s"\r\n' % marker).encode("cp932"))


def test_a_planted_ping_never_runs():
    markers = harness.temp_dir("markers")
    # Started from an unrelated working directory: pings planted beside the launcher's folder,
    # in the working directory and in the folder above both (where "cd.." leads) stay idle, and
    # the removal completes.
    base = harness.temp_dir("planted")
    parent = os.path.join(base, "parent")
    os.makedirs(parent)
    folder = install(parent, "launcher")
    cwd = os.path.join(base, "work")
    os.makedirs(cwd)
    for where, tag in ((parent, "parent"), (cwd, "cwd"), (base, "above")):
        plant_ping(where, markers, tag)
    before = listing(parent, skip="launcher")
    launcher = abandon(folder, cwd)
    assert launcher.wait(timeout=30) == 0
    wait_gone([folder, os.path.join(parent, BATCH)])
    assert not os.path.exists(folder)
    assert not os.path.exists(os.path.join(parent, BATCH))
    assert listing(parent) == before, listing(parent)

    # Started from its own folder, with the pings planted there: the executable still goes
    # (the batch came back from every pause); the folder itself stays, since the plain RMDIR
    # removes only an empty folder.
    parent2 = harness.temp_dir("planted-own")
    folder2 = install(parent2, "launcher")
    plant_ping(folder2, markers, "exe-folder")
    launcher = abandon(folder2, folder2)
    assert launcher.wait(timeout=30) == 0
    wait_gone([os.path.join(folder2, "ExamAutoRunner.exe")])
    assert not os.path.exists(os.path.join(folder2, "ExamAutoRunner.exe"))
    assert sorted(os.listdir(folder2)) == ["ping.bat", "ping.cmd"], os.listdir(folder2)
    assert os.listdir(markers) == [], os.listdir(markers)


def test_debug_keeps_everything_and_its_batch_does_the_rest_later():
    parent = harness.temp_dir("selfremoval-debug")
    name = "配布 ソ"
    folder = install(parent, name)
    neighbours(parent)
    before = listing(parent)
    launcher = abandon(folder, parent, "-debug")
    boxes = harness.message_boxes(timeout=10)
    assert [(b["title"], b["text"]) for b in boxes] == [("情報", "デバッグ中は削除できません．　")], boxes
    harness.wdrive("click", boxes[0]["hwnd"], "--id", 1)
    assert launcher.wait(timeout=30) == 0
    time.sleep(6)  # long enough for a batch, had one been started, to delete the executable
    batch = os.path.join(parent, BATCH)
    assert listing(parent) == sorted(before + [BATCH])

    base = harness.winpath(parent)
    assert not any(sign in base for sign in "%^&;,= "), base
    e = base + "\\配布^ ソ\\ExamAutoRunner.exe"  # the space gets its caret; ソ's 0x5C stays
    f = base + "\\配布^ ソ\\"
    ping = '"C:\\windows\\system32\\PING.EXE"'  # the prefix's system folder, as Wine reports it
    pause, count, bound = ping + " -n 2 127.0.0.1 >nul", "SET /A EarTries+=1", "IF %EarTries% GTR 180 GOTO LblEnd"
    lines = ["SET /A EarTries=0", ping + " -n 4 127.0.0.1 >nul",
             ":Lbl0", pause, count, bound, 'DEL ^"%s^"' % e, 'IF EXIST ^"%s^" GOTO Lbl0' % e,
             "cd..",
             ":Lbl1", pause, count, bound, 'RMDIR ^"%s^"' % f, 'IF EXIST ^"%s^" GOTO Lbl1' % f,
             ":LblEnd", 'DEL ^"%s\\%s^"' % (base, BATCH), "EXIT"]
    with open(batch, "rb") as fh:
        got = fh.read()
    assert got == ("\r\n".join(lines) + "\r\n").encode("cp932"), got

    # Later, the package gone, the same batch run by the real cmd removes the launcher.
    shutil.rmtree(os.path.join(folder, "##TMP##"))
    cmd = harness.run_wine("cmd", ["/d", "/c", harness.winpath(batch)], cwd=parent,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    assert cmd.wait(timeout=60) == 0
    assert not os.path.exists(folder)
    assert not os.path.exists(batch)
    assert listing(parent) == listing(parent, skip=name) == [x for x in before if not x.startswith(name)]


def write(path, data=b"x"):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def closed_cleanly(parent, folder, launcher, before):
    """No box, and the package, the launcher's folder and the batch gone; the parent as before."""
    assert not harness.message_boxes(timeout=2), harness.message_boxes(timeout=0)
    assert launcher.wait(timeout=30) == 0
    assert not os.path.exists(os.path.join(folder, "##TMP##"))
    wait_gone([folder, os.path.join(parent, BATCH)])
    assert not os.path.exists(folder), listing(folder)
    assert not os.path.exists(os.path.join(parent, BATCH))
    assert listing(parent) == before, listing(parent)


def test_names_in_the_package_never_lead_out_of_it():
    # Listed in Shift-JIS, U+00A5 (¥) reads as 0x5C, the separator: "##TMP##\..\..\victim.txt" is the
    # user's victim.txt beside the launcher's folder, and "##TMP##\..\.." that whole folder.
    parent = harness.temp_dir("names")
    folder = install(parent, "launcher")
    neighbours(parent)
    for rel in ("victim.txt", os.path.join("victimdir", "inner.txt"), os.path.join("victimdir", "deep", "x.txt")):
        write(os.path.join(parent, rel), b"user")
    package = os.path.join(folder, "##TMP##")
    for rel in ("..¥..¥victim.txt", os.path.join("..¥..¥victimdir", "inner.txt"),
                os.path.join("..¥..", "victim.txt"), os.path.join("system", "..¥..¥..¥victim.txt")):
        write(os.path.join(package, rel))
    os.makedirs(os.path.join(package, "..¥..¥victimdir", "deep"))
    before = listing(parent, skip="launcher")
    launcher = abandon(folder, parent)
    closed_cleanly(parent, folder, launcher, before)
    assert harness.tree(parent)["victim.txt"] == b"user"


def test_read_only_entries_and_names_outside_shift_jis_all_go():
    # Every file copied from a CD is read-only; names outside Shift-JIS, with ¥, or ending in a dot
    # or a space have no byte form that finds them: each used to stop the removal half-way.
    parent = harness.temp_dir("selfremoval-ro")
    folder = install(parent, "launcher")
    neighbours(parent)
    package = os.path.join(folder, "##TMP##")
    names = ["résumé.txt", "한국어.txt", "価格¥100.txt", "trail.", "trail ", os.path.join("dir. ", "x."),
             os.path.join("한국어", "価格¥100", "y "), os.path.join("read-only", "locked.txt")]
    for rel in names:
        write(os.path.join(package, rel))
    for rel in names[:3] + [names[-1]]:
        os.chmod(os.path.join(package, rel), stat.S_IRUSR)  # Wine's read-only attribute
    os.chmod(os.path.join(package, "read-only"), stat.S_IRUSR | stat.S_IXUSR)
    before = listing(parent, skip="launcher")
    launcher = abandon(folder, parent)
    closed_cleanly(parent, folder, launcher, before)


def test_a_file_held_open_stays_and_everything_else_goes():
    parent = harness.temp_dir("selfremoval-held")
    folder = install(parent, "launcher")
    package = os.path.join(folder, "##TMP##")
    held = os.path.join(package, "data", "held.dat")
    write(held, b"held")
    for rel in ("a.txt", os.path.join("data", "b.txt"), os.path.join("data", "sub", "c.txt")):
        write(os.path.join(package, rel))
    # Another program keeps held.dat open, as a virus scanner or an editor would.
    holder = harness.run_wine(harness.exe("wdrive"), ["hold", harness.winpath(held)], stdin=subprocess.PIPE,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        assert holder.stdout.readline().strip() == b'{"held":true}'
        launcher = abandon(folder, parent)
        boxes = harness.message_boxes(timeout=10)
        assert len(boxes) == 1, boxes
        text = boxes[0]["text"].replace("\r\n", "\n")
        # One box: the first failure's reason (32: in use by another process) and what stayed.
        assert boxes[0]["title"] == "エラー", boxes
        assert text.startswith("バッチファイルの実行に失敗しました。\n\nシステムエラー。コード：32.\n"), text
        assert text.endswith("\n削除できなかった項目：1 件"), text
        harness.wdrive("click", boxes[0]["hwnd"], "--id", 1)
        assert launcher.wait(timeout=30) == 0
    finally:
        holder.stdin.close()
        holder.wait(timeout=30)
    assert harness.tree(package) == {"data": None, os.path.join("data", "held.dat"): b"held"}
    # The batch is written, not started: the launcher stays beside what is left.
    time.sleep(6)
    assert os.path.isfile(os.path.join(folder, "ExamAutoRunner.exe"))
    assert os.path.isfile(os.path.join(parent, BATCH))


def test_a_folder_link_in_the_package_is_never_followed():
    parent = harness.temp_dir("link")
    folder = install(parent, "launcher")
    outside = os.path.join(parent, "not the launcher's")
    os.makedirs(os.path.join(outside, "deep"))
    for rel in ("keep.txt", os.path.join("deep", "keep.txt")):
        with open(os.path.join(outside, rel), "wb") as f:
            f.write(b"keep")
    os.symlink(outside, os.path.join(folder, "##TMP##", "system", "linked"))
    launcher = abandon(folder, parent)
    # Windows removes the link itself; Wine opens what a Unix link points to, so the launcher
    # refuses and reports it. Either way what the link points to stays whole.
    for box in harness.message_boxes(timeout=3):
        assert box["title"] == "エラー", box
        harness.wdrive("click", box["hwnd"], "--id", 1)
    assert launcher.wait(timeout=30) == 0
    assert listing(outside) == ["deep", os.path.join("deep", "keep.txt"), "keep.txt"]


def test_a_package_that_is_a_link_to_the_master_copy_is_never_followed():
    # The centre's master copy, and a launcher whose "##TMP##" is a symbolic link to it.
    master = harness.temp_dir("master")
    harness.make_package(master)
    master_before = harness.tree(master)
    assert len([v for v in master_before.values() if v is not None]) >= 7, master_before
    parent = harness.temp_dir("package-link")
    folder = os.path.join(parent, "launcher")
    os.makedirs(folder)
    shutil.copy(harness.exe("launcher"), os.path.join(folder, "ExamAutoRunner.exe"))
    os.symlink(os.path.join(master, "##TMP##"), os.path.join(folder, "##TMP##"))
    launcher = abandon(folder, parent)
    # On Windows the link itself goes and the batch removes the launcher. Wine opens what a Unix
    # link points to even when asked for the link: the launcher refuses, says so, starts no batch.
    boxes = harness.message_boxes(timeout=10)
    assert len(boxes) == 1, boxes
    text = boxes[0]["text"].replace("\r\n", "\n").rstrip("\n")
    assert (boxes[0]["title"], text) == \
        ("エラー", "バッチファイルの実行に失敗しました。\n\nシステムエラー。コード：4390.\n削除できなかった項目：1 件"), text
    harness.wdrive("click", boxes[0]["hwnd"], "--id", 1)
    assert launcher.wait(timeout=30) == 0
    time.sleep(6)  # long enough for a batch, had one been started, to delete the executable
    assert harness.tree(master) == master_before
    assert os.path.islink(os.path.join(folder, "##TMP##"))
    assert os.path.isfile(os.path.join(folder, "ExamAutoRunner.exe"))
    assert os.path.isfile(os.path.join(parent, BATCH))  # written, never started


if __name__ == "__main__":
    harness.main(globals())

"""The registration and the hand-over to the exam, driven through the real wizard: the package
becomes the candidate's folder, the launch batch starts the stand-in exam program in it, and the
launcher's folder, its executable and the batch go; nothing else in the parent folder changes."""
import os
import re
import shutil
import subprocess
import time

import harness
import wizard

BATCH = "ExamAutoRunner.BAT"
EXAM = "frmJPBG0010"
EXAM_EXE = "[1]模擬試験.exe"
HOSTILE = "配布 ソ&表^タ%運(1)!;,=　"
# Edits of the registration screen by their place in its client area.
EDITS = {"SeiEdt": (253, 239), "MeiEdt": (328, 239), "JuBanEdt": (352, 307), "KaiCdEdt": (352, 272)}


def sjis(text):
    return text.encode("cp932")


def install(name, folder_name="launcher", **package):
    """parent/folder_name/ExamAutoRunner.exe beside its ##TMP##, and siblings that must survive."""
    parent = harness.temp_dir(name)
    folder = os.path.join(parent, folder_name)
    os.makedirs(folder)
    harness.make_package(folder, **package)
    shutil.copy(harness.exe("launcher"), os.path.join(folder, "ExamAutoRunner.exe"))
    os.makedirs(os.path.join(parent, "##TMP##", "system"))
    os.makedirs(os.path.join(parent, "other exam"))
    for rel in ("keep.txt", os.path.join("##TMP##", "system", "system.ini"), os.path.join("other exam", "x.txt")):
        with open(os.path.join(parent, rel), "wb") as f:
            f.write(b"keep")
    return parent, folder


tree = harness.tree


def start(parent, folder, *args, report=None):
    env = {"EAR_STANDIN_REPORT": harness.winpath(report)} if report else None
    # From the parent folder: Wine's cmd would keep a folder it starts in busy.
    return harness.run_wine(os.path.join(folder, "ExamAutoRunner.exe"), list(args), cwd=parent, env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def open_registration():
    return wizard.open_screen("registration")


def edit(screen, name):
    left, top = EDITS[name]
    cx, cy = screen["client"][0], screen["client"][1]
    for c in screen["children"]:
        if c["class"].lower() == "edit" and c["rect"][0] - cx == left and c["rect"][1] - cy == top:
            return c
    raise harness.HarnessError("no edit %s" % name)


def fill(screen, **values):
    for name, text in values.items():
        harness.wdrive("settext", edit(screen, name)["hwnd"], text)


def enter(screen, name, times=1):
    for _ in range(times):
        harness.wdrive("key", edit(screen, name)["hwnd"], "RETURN")


def box(timeout=15):
    """The next message box: (title, text), answered with OK."""
    boxes = harness.message_boxes(timeout=timeout)
    assert boxes, "no message box"
    b = boxes[0]
    harness.wdrive("click", b["buttons"][0]["hwnd"])
    end = time.monotonic() + 10
    while time.monotonic() < end and any(x["hwnd"] == b["hwnd"] for x in harness.message_boxes(timeout=0.2)):
        time.sleep(0.1)
    return b["title"], b["text"]


def candidate_folders(parent, stem):
    """Entries of parent whose name is stem + "［" + five key characters + "］", with their keys."""
    pattern = re.compile(re.escape(stem) + "［([a-zA-Z0-9]{5})］$")
    return [(name, m.group(1)) for name in os.listdir(parent) for m in [pattern.match(name)] if m]


def ini_value(path, key):
    with open(path, "rb") as f:
        for line in f.read().split(b"\r\n"):
            if line.startswith(sjis(key) + b"="):
                return line[len(sjis(key)) + 1:]
    return None


def wait_gone(paths, timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end and any(os.path.exists(p) for p in paths):
        time.sleep(0.1)
    return not any(os.path.exists(p) for p in paths)


HAND_OVERS = [
    # (mode, launcher folder, values, candidate folder stem, shiken.ini)
    ("venue", "launcher", {"KaiCdEdt": "12345", "JuBanEdt": "678"}, "EAR0112345_678",
     "[受験者情報]\r\n会場コード=12345\r\n受験番号=678\r\n"),
    ("name", HOSTILE, {"SeiEdt": "山田", "MeiEdt": "太郎"}, "EAR01山田_太郎",
     "[受験者情報]\r\n姓=山田\r\n名=太郎\r\n"),
    # A letter that Shift-JIS lacks but resembles is stored as that one: é as e (the guide says so).
    ("name", "launcher", {"SeiEdt": "Zoé", "MeiEdt": "太郎"}, "EAR01Zoe_太郎",
     "[受験者情報]\r\n姓=Zoe\r\n名=太郎\r\n"),
]


def test_hand_over_in_venue_and_name_mode():
    for mode, folder_name, values, stem, shiken in HAND_OVERS:
        parent, folder = install("handover-" + mode, folder_name, mode=mode)
        siblings = tree(parent, skip=(folder_name,))
        report = os.path.join(harness.temp_dir("report"), "report.txt")
        launcher = start(parent, folder, report=report)
        screen = open_registration()
        fill(screen, **values)
        enter(screen, list(values)[0])
        harness.wait_for_window(EXAM, timeout=30)
        assert launcher.wait(timeout=30) == 0

        found = candidate_folders(parent, stem)
        assert len(found) == 1, found
        name, key = found[0]
        system = os.path.join(parent, name, "system")
        assert ini_value(os.path.join(system, "system.ini"), "固有キー") == key.encode()
        with open(os.path.join(system, "shiken.ini"), "rb") as f:
            assert f.read() == sjis(shiken), mode
        # The exam program runs from the candidate folder (name bytes: stem, ［, key, ］) and
        # found what the launcher left it.
        r = harness.read_report(harness.wait_file(report, timeout=10))
        assert harness.report_bytes(r, "module") == sjis(harness.winpath(parent) + "\\") + sjis(stem) + \
            b"\x81\x6d" + key.encode() + b"\x81\x6e\\" + sjis(EXAM_EXE), r["module"]
        assert harness.report_bytes(r, "system.固有キー") == key.encode()
        # Wine keeps the hidden attribute but not the archive bit (0x22 reads back as 0x12).
        assert int(r["system_attributes"]) & 0x12 == 0x12, r["system_attributes"]
        assert any(p["exe"] == EXAM_EXE for p in harness.windows_processes())

        assert wait_gone([folder, os.path.join(parent, BATCH)], timeout=60), os.listdir(parent)
        assert tree(parent, skip=(name,)) == siblings, mode
        harness.tidy_up()


def test_hand_over_from_a_folder_of_the_candidates_own_files():
    # The launcher unpacked onto the Desktop: only what it brought goes.
    parent, folder = install("handover-desktop", "Desktop", mode="venue")
    own = {"report.docx": b"PK\x03\x04 report\r\n", os.path.join("photos", "p1.jpg"): b"\xff\xd8\xff\xe0 p1",
           os.path.join("photos", "旅行 ソ", "p2.jpg"): b"\xff\xd8 p2", "メモ.txt": sjis("買い物\r\n")}
    for rel, data in own.items():
        os.makedirs(os.path.dirname(os.path.join(folder, rel)), exist_ok=True)
        with open(os.path.join(folder, rel), "wb") as f:
            f.write(data)
    desktop = tree(folder, skip=("ExamAutoRunner.exe", "##TMP##"))
    siblings = tree(parent, skip=("Desktop",))
    launcher = start(parent, folder)
    screen = open_registration()
    fill(screen, KaiCdEdt="12345", JuBanEdt="678")
    enter(screen, "JuBanEdt")
    harness.wait_for_window(EXAM, timeout=30)
    assert launcher.wait(timeout=30) == 0

    (name, key), = candidate_folders(parent, "EAR0112345_678")
    assert os.path.isfile(os.path.join(parent, name, EXAM_EXE))
    assert wait_gone([os.path.join(folder, "ExamAutoRunner.exe"), os.path.join(parent, BATCH)], timeout=60), \
        os.listdir(folder)
    assert tree(folder) == desktop
    assert tree(parent, skip=("Desktop", name)) == siblings


def expected_launch_batch(exam, exe, exe_folder):
    """The launch batch as the rules give it, paced and bounded."""
    def esc(path):
        for sign, repl in (("%", "%%"), ("^", "^^"), ("&", "^&"), (";", "^;"), (",", "^,"), ("=", "^="),
                           ("　", "^　"), (" ", "^ ")):
            path = path.replace(sign, repl)
        return '^"' + path + '^"'

    def plain(path):  # Wine's cmd finds only a path in plain quotes, where just "%" is doubled
        return '"' + path.replace("%", "%%") + '"'

    ping = '"C:\\windows\\system32\\PING.EXE" -n %d 127.0.0.1 >nul'
    # The executable is tried for an hour; the folder, removed only when empty, a few times.
    tries = lambda bound: ["SET /A EarTries+=1", "IF %%EarTries%% GTR %d GOTO Lbl2" % bound]
    lines = ["cd..", "IF EXIST %s GOTO LblStart" % plain(exam), "IF NOT EXIST %s GOTO Lbl2" % esc(exam), ":LblStart",
             'START /b "" %s' % esc(exam), "SET /A EarTries=0", ping % 6,
             ":Lbl0", ping % 2, *tries(3600), "DEL %s" % esc(exe),
             "IF EXIST %s GOTO Lbl0" % plain(exe), "IF EXIST %s GOTO Lbl0" % esc(exe), "SET /A EarTries=0",
             ":Lbl1", ping % 2, *tries(10), "RMDIR %s" % esc(exe_folder),
             "IF EXIST %s GOTO Lbl1" % plain(exe_folder), "IF EXIST %s GOTO Lbl1" % esc(exe_folder),
             ":Lbl2", "DEL %s" % esc(exe_folder.rstrip("\\").rsplit("\\", 1)[0] + "\\" + BATCH), "EXIT"]
    return sjis("".join(line + "\r\n" for line in lines))


def test_debug_writes_the_batch_starts_nothing_and_keeps_the_launcher():
    parent, folder = install("debug", HOSTILE, mode="name")
    launcher = start(parent, folder, "-debug")
    screen = open_registration()
    assert not harness.windows(title=wizard.BACKDROP), "the backdrop is hidden in debug mode"
    fill(screen, SeiEdt="山田", MeiEdt="太郎")
    enter(screen, "MeiEdt")
    assert box() == ("情報", "デバッグ中は削除できません．　")
    assert launcher.wait(timeout=30) == 0

    (name, key), = candidate_folders(parent, "EAR01山田_太郎")
    win_parent = harness.winpath(parent)
    exam = win_parent + "\\" + name + "\\" + EXAM_EXE
    exe_folder = win_parent + "\\" + HOSTILE + "\\"
    with open(os.path.join(parent, BATCH), "rb") as f:
        assert f.read() == expected_launch_batch(exam, exe_folder + "ExamAutoRunner.exe", exe_folder)
    time.sleep(3)
    assert not harness.window_exists(EXAM)
    assert os.path.exists(os.path.join(folder, "ExamAutoRunner.exe"))
    assert os.path.exists(os.path.join(parent, BATCH))


def test_refused_names_change_nothing_on_disk():
    parent, folder = install("names", mode="name")
    before = tree(parent)
    launcher = start(parent, folder)
    screen = open_registration()
    for values, in_edit, text in [
        ({"SeiEdt": "山/田", "MeiEdt": "太郎"}, "MeiEdt", "氏名に使用できない文字が含まれています。"),
        # Outside Shift-JIS: the edit's text holds "?" in its place (the guide says so).
        ({"SeiEdt": "𠮷田", "MeiEdt": "太郎"}, "MeiEdt", "氏名に使用できない文字が含まれています。"),
        ({"SeiEdt": "山田", "MeiEdt": ""}, "SeiEdt", "氏名を入力して下さい。"),
    ]:
        fill(screen, **values)
        enter(screen, in_edit)
        assert box() == ("エラー", text)
    assert tree(parent) == before
    harness.wdrive("click", wizard.button(harness.windows(title=wizard.REGISTRATION)[0], "閉じる")["hwnd"], "--mouse")
    assert launcher.wait(timeout=30) == 0


def test_package_values_that_steer_a_path_and_overlong_numbers_change_nothing():
    def number_one_byte_too_long(parent):
        # parent\EAR0112345_<number>［key］\ + the package's longest path must stay within 259 bytes.
        package = os.path.join(parent, "launcher", "##TMP##")
        inside = max(len(sjis(os.path.relpath(os.path.join(top, n), package).replace(os.sep, "\\")))
                     for top, dirs, files in os.walk(package) for n in dirs + files)
        fixed = len(sjis(harness.winpath(parent) + "\\EAR0112345_［12345］\\")) + inside
        return "0" * (259 - fixed + 1)

    cases = [
        # (what, package options, entries, arrange(parent, package)), then back or close
        ("部種名称 climbing out of the candidate folder", {"mode": "name", "bushu": "\\..\\..\\evil", "standin": None},
         lambda parent: {"SeiEdt": "山田", "MeiEdt": "太郎"},
         # Where the value leads: parent\evil.exe, the stand-in exam.
         lambda parent, pkg: shutil.copy(harness.exe("standin"), os.path.join(parent, "evil.exe"))),
        ("部種名称 with a quote", {"mode": "venue", "bushu": 'x"\\..\\模擬試験', "standin": None},
         lambda parent: {"KaiCdEdt": "12345", "JuBanEdt": "678"},
         lambda parent, pkg: shutil.copy(harness.exe("standin"), os.path.join(pkg, "模擬試験.exe"))),
        ("ファイル名称 climbing out of the parent folder", {"mode": "name", "file_name": "..\\..\\x"},
         lambda parent: {"SeiEdt": "山田", "MeiEdt": "太郎"}, lambda parent, pkg: None),
        ("candidate number one byte too long", {"mode": "venue"},
         lambda parent: {"KaiCdEdt": "12345", "JuBanEdt": number_one_byte_too_long(parent)}, lambda parent, pkg: None),
    ]
    for n, (what, options, entries, arrange) in enumerate(cases):
        parent, folder = install("steer", **options)
        arrange(parent, os.path.join(folder, "##TMP##"))
        before = tree(parent)
        launcher = start(parent, folder)
        screen = open_registration()
        if options["mode"] == "venue":
            # The venue code field takes five bytes: two full-width digits, not five.
            kai = edit(screen, "KaiCdEdt")
            harness.wdrive("type", kai["hwnd"], "１２３４５")
            end = time.monotonic() + 5
            while time.monotonic() < end and harness.wdrive("text", kai["hwnd"])[0]["text"] != "１２":
                time.sleep(0.1)
            assert harness.wdrive("text", kai["hwnd"])[0]["text"] == "１２", what
        values = entries(parent)
        fill(screen, **values)
        enter(screen, list(values)[-1])
        assert box() == ("エラー", "受験プログラムの展開に失敗しました。"), what
        assert not harness.message_boxes(timeout=1.5), what
        assert tree(parent) == before, what
        assert not harness.window_exists(EXAM), what
        # Refused before anything was written: OK stays usable and refuses the same entries again
        # (a number too long, with the focus in its field); back and close still work.
        if "number" in what:
            assert harness.wdrive("focus", screen["hwnd"])[0]["focus"] == edit(screen, "JuBanEdt")["hwnd"], what
        enter(screen, list(values)[-1])
        assert box() == ("エラー", "受験プログラムの展開に失敗しました。"), what
        assert not harness.message_boxes(timeout=1.5), what
        assert tree(parent) == before, what
        if n == 0:
            harness.wdrive("click", wizard.button(harness.windows(title=wizard.REGISTRATION)[0], "< 戻る")["hwnd"], "--mouse")
            harness.wait_for_window(wizard.PROCEDURE, timeout=20)
            wizard.press(wizard.PROCEDURE, "閉じる")
        else:
            harness.wdrive("click", wizard.button(harness.windows(title=wizard.REGISTRATION)[0], "閉じる")["hwnd"], "--mouse")
        assert launcher.wait(timeout=30) == 0, what
        harness.tidy_up()


def test_failures_after_validation_then_back_and_close():
    cases = [
        # (what, package options, arrange(package), messages); the first leaves by close, the other by back
        ("shiken.ini cannot be written", {},
         lambda pkg: os.makedirs(os.path.join(pkg, "system", "shiken.ini")),
         lambda pkg: [("エラー", "システム情報の書き込みに失敗しました。\r\n\r\n%s に書き込めません" %
                       (harness.winpath(pkg) + "\\system\\shiken.ini"))]),
        ("no exam program", {"standin": None}, lambda pkg: None,
         lambda pkg: [("エラー", "受験プログラムの展開に失敗しました。")]),
    ]
    for what, options, arrange, messages in cases:
        parent, folder = install("fail", **options)
        pkg = os.path.join(folder, "##TMP##")
        arrange(pkg)
        launcher = start(parent, folder)
        screen = open_registration()
        fill(screen, KaiCdEdt="12345", JuBanEdt="678")
        enter(screen, "JuBanEdt")
        assert [box() for _ in messages(pkg)] == messages(pkg), what
        # A failed INI write leaves the package its name; a missing exam program comes after the rename.
        assert os.path.isdir(pkg) == (what == "shiken.ini cannot be written"), what
        # OK does nothing more; back shows the procedure screen again, close ends the wizard.
        enter(screen, "JuBanEdt")
        assert not harness.message_boxes(timeout=1.5), what
        assert not os.path.exists(os.path.join(parent, BATCH)), what
        if what == "shiken.ini cannot be written":
            harness.wdrive("click", wizard.button(harness.windows(title=wizard.REGISTRATION)[0], "閉じる")["hwnd"], "--mouse")
        else:
            harness.wdrive("click", wizard.button(harness.windows(title=wizard.REGISTRATION)[0], "< 戻る")["hwnd"], "--mouse")
            # Without its package (renamed) the procedure screen's show reports its missing picture.
            end = time.monotonic() + 20
            while time.monotonic() < end and not harness.windows(title=wizard.PROCEDURE):
                for b in harness.message_boxes(timeout=0.5):
                    harness.wdrive("click", b["buttons"][0]["hwnd"])
            harness.wait_for_window(wizard.PROCEDURE, timeout=5)
            harness.wait_window_gone(wizard.REGISTRATION, timeout=10)
            wizard.press(wizard.PROCEDURE, "閉じる")
        # The abandoned wizard removes what is left of the package, then the launcher.
        for _ in range(2):
            if not launcher.poll() is None:
                break
            boxes = harness.message_boxes(timeout=3)
            if boxes:
                harness.wdrive("click", boxes[0]["buttons"][0]["hwnd"])
        assert launcher.wait(timeout=30) == 0, what
        harness.tidy_up()


def test_double_enter_hands_over_once():
    parent, folder = install("double", mode="venue")
    report = os.path.join(harness.temp_dir("report"), "report.txt")
    launcher = start(parent, folder, report=report)
    screen = open_registration()
    fill(screen, KaiCdEdt="12345", JuBanEdt="678")
    enter(screen, "KaiCdEdt", times=2)
    harness.wait_for_window(EXAM, timeout=30)
    assert launcher.wait(timeout=30) == 0
    assert len(candidate_folders(parent, "EAR0112345_678")) == 1
    assert not harness.message_boxes(timeout=1)
    assert len([p for p in harness.windows_processes() if p["exe"] == EXAM_EXE]) == 1


if __name__ == "__main__":
    harness.main(globals())

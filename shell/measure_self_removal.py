#!/usr/bin/env python3
"""Figures of the self-removal under Wine: the time from the launcher's exit until its
folder is gone, and the CPU that the batch's processes (cmd and its pings) use meanwhile.

    EAR_WINE_STATE=STATE_DIR shell/measure_self_removal.py build/win64/shell/self_removal_stand_in.exe
"""
import os
import shutil
import stat
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TICK = os.sysconf("SC_CLK_TCK")


def wine_env():
    out = subprocess.run(["bash", "-c", f"source {HERE}/../tests/wine/wine-env.sh; env -0"],
                         capture_output=True, check=True).stdout
    env = dict(item.split("=", 1) for item in out.decode().split("\0") if "=" in item)
    env["EAR_WINE"] = env.get("EAR_WINE", "/usr/lib/wine/wine64")
    return env


def batch_processes(prefix):
    """pid -> cpu seconds of the Windows cmd and ping processes of this Wine prefix."""
    found = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                cmdline = f.read().lower()
            if b"cmd.exe" not in cmdline and b"ping" not in cmdline:
                continue
            with open(f"/proc/{pid}/environ", "rb") as f:
                if f"WINEPREFIX={prefix}".encode() not in f.read().split(b"\0"):
                    continue
            with open(f"/proc/{pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            found[pid] = (int(fields[11]) + int(fields[12])) / TICK
        except OSError:
            continue
    return found


def watch(until, prefix, seen, period=0.05):
    """Samples the batch's processes until until() holds; returns the time it held."""
    while not until():
        for pid, cpu in batch_processes(prefix).items():
            seen[pid] = max(seen.get(pid, 0.0), cpu)
        time.sleep(period)
    return time.monotonic()


def main():
    stand_in = os.path.abspath(sys.argv[1])
    env = wine_env()
    prefix = env["WINEPREFIX"]
    root = os.path.join(prefix, "drive_c", "ear-measure")
    shutil.rmtree(root, ignore_errors=True)
    parent = os.path.join(root, "p")
    exe_folder = os.path.join(parent, "ExamAutoRunner")
    os.makedirs(os.path.join(exe_folder, "##TMP##", "system", "Image"))
    shutil.copy(stand_in, os.path.join(exe_folder, "ExamAutoRunner.exe"))
    batch = os.path.join(parent, "ExamAutoRunner.BAT")

    # 1. The abandon path as the launcher runs it, started from the parent folder.
    seen = {}
    launcher = subprocess.Popen([env["EAR_WINE"], "C:\\ear-measure\\p\\ExamAutoRunner\\ExamAutoRunner.exe"],
                                cwd=parent, env=env)
    captured = None
    while launcher.poll() is None:
        if captured is None and os.path.exists(batch):
            time.sleep(0.05)
            with open(batch, "rb") as f:
                captured = f.read()
        for pid, cpu in batch_processes(prefix).items():
            seen[pid] = max(seen.get(pid, 0.0), cpu)
        time.sleep(0.02)
    ended = time.monotonic()
    gone = watch(lambda: not os.path.exists(exe_folder), prefix, seen, 0.02)
    watch(lambda: not os.path.exists(batch), prefix, seen)
    time.sleep(0.5)
    print(f"launcher exit -> folder gone: {gone - ended:.2f} s")
    print(f"batch processes: {len(seen)}, CPU {sum(seen.values()):.2f} s in all")

    # 2. The waiting loop itself: the same batch held on an executable that cannot be deleted,
    # with plain quotes (Wine's IF EXIST ignores ^"...^") and a bound of 10 attempts.
    os.makedirs(os.path.join(exe_folder, "##TMP##"))
    held = os.path.join(exe_folder, "ExamAutoRunner.exe")
    shutil.copy(stand_in, held)
    os.chmod(held, stat.S_IRUSR)
    loop = captured.replace(b'^"', b'"').replace(b"GTR 180", b"GTR 10")
    with open(batch, "wb") as f:
        f.write(loop)
    seen = {}
    start = time.monotonic()
    cmd = subprocess.Popen([env["EAR_WINE"], "cmd", "/d", "/c", "C:\\ear-measure\\p\\ExamAutoRunner.BAT"],
                           cwd=parent, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    watch(lambda: cmd.poll() is not None, prefix, seen)
    took = time.monotonic() - start
    cpu = sum(seen.values())
    print(f"bounded wait of 10 attempts: {took:.1f} s, {len(seen)} processes, CPU {cpu:.2f} s "
          f"({100 * cpu / took:.1f} % of one core); executable kept: {os.path.exists(held)}, "
          f"batch gone: {not os.path.exists(batch)}")
    os.chmod(held, stat.S_IRUSR | stat.S_IWUSR)
    shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()

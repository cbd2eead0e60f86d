#!/usr/bin/env python3
"""Deliberate-fault check: does the test suite notice a small wrong change?

Each fault in the lists (tests/mutants/*.txt, one file per area) names one source file,
a text that occurs exactly once in it, the faulty text that replaces it, and
the test program that must fail once the fault is in. The script copies the
working tree to a scratch folder, builds it once without sanitizers, then for
every fault: applies it, rebuilds that test program, runs it (sharded across
the cores) and puts the file back. A fault is "caught" when the program fails
or times out, "survived" when it passes, and "broken" when the fault cannot
be applied or the code no longer builds (a stale entry in the list).

Usage: scripts/mutants.py [--list FILE ...] [--scratch DIR] [--only TEXT] [-j N]
Exit code 0 only when every listed fault is caught.
"""

import argparse
import filecmp
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


@dataclass
class Fault:
    title: str
    line: int
    list_path: str = ""
    path: str = ""
    original: str = ""
    faulty: str = ""
    program: str = ""
    notes: list = field(default_factory=list)


FIELDS = {"fault": "path", "from": "original", "to": "faulty", "catch": "program"}


def parse(list_path):
    """Blocks separated by blank lines: '# title', then 'fault', 'from', 'to',
    'catch' lines. A field's text starts after the keyword and the blanks that
    follow it, so leading blanks of code cannot be expressed (nor needed)."""
    faults, current, problems = [], None, []
    with open(list_path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            text = raw.rstrip("\n")
            if not text.strip():
                current = None
                continue
            if text.startswith("#"):
                if current is None or current.path:
                    current = Fault(title=text.lstrip("# ").strip(), line=number, list_path=list_path)
                    faults.append(current)
                else:
                    current.title += " " + text.lstrip("# ").strip()
                continue
            keyword, _, value = text.partition(" ")
            if keyword not in FIELDS:
                problems.append(f"{list_path}:{number}: unknown keyword '{keyword}'")
                continue
            if current is None:
                current = Fault(title="(untitled)", line=number, list_path=list_path)
                faults.append(current)
            setattr(current, FIELDS[keyword], value.strip())
    # A block of '#' lines alone is a comment, not a fault.
    faults = [f for f in faults if any(getattr(f, a) for a in FIELDS.values())]
    for fault in faults:
        missing = [k for k, a in FIELDS.items() if not getattr(fault, a)]
        if missing:
            problems.append(f"{list_path}:{fault.line}: '{fault.title}' lacks {', '.join(missing)}")
    return faults, problems


def run(cmd, cwd, timeout=None, quiet=True):
    out = subprocess.DEVNULL if quiet else None
    return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=out, timeout=timeout).returncode


def copy_tree(scratch):
    """The files git knows of (tracked and untracked, not ignored), so that a
    fault list can be tried on uncommitted work too."""
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT,
                           check=True, capture_output=True).stdout.decode().split("\0")
    for rel in filter(None, files):
        src = os.path.join(ROOT, rel)
        if not os.path.isfile(src):
            continue
        dst = os.path.join(scratch, rel)
        if os.path.exists(dst) and filecmp.cmp(src, dst, shallow=False):
            continue  # unchanged since the last run: keep the old build valid
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copy2(src, dst)


def end_tree(proc):
    """Ends a shard and everything it started. Each shard leads a session of
    its own; killing its process group is not enough, as timeout(1) in the
    order-check script moves the test program into a group of its own."""
    for _ in range(3):  # a process may fork while we look
        left = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open(f"/proc/{entry}/stat", encoding="utf-8", errors="replace") as f:
                    # The command name in brackets may hold blanks: count from its end.
                    fields = f.read().rsplit(")", 1)[1].split()
            except (OSError, IndexError):
                continue
            if int(fields[3]) == proc.pid and fields[0] != "Z":  # the session id; the dead aside
                left.append(int(entry))
        for pid in left:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        if not left:
            break
    proc.wait()


def run_program(build, program, jobs, timeout, problems=None):
    """Runs a test program in `jobs` gtest shards at once; True when all pass.
    With a list for `problems` (the clean run), each shard runs through
    scripts/test-order.sh, and each failing one adds what the script made
    of it: which tests failed, crashed or did not end in time, whether they
    pass alone, and the command that repeats the shard."""
    exe = os.path.abspath(os.path.join(build, "tests", program))  # it runs in its own folder
    env = dict(os.environ, GTEST_TOTAL_SHARDS=str(jobs), SDL_AUDIODRIVER="dummy",
               SDL_VIDEODRIVER="dummy")
    env.pop("DISPLAY", None)
    command = [exe, "--gtest_brief=1"]
    grace = 0
    if problems is not None:
        # The script ends a program that passes the time-out itself, so that
        # it can still say which test was running; we end the script only
        # when that fails too.
        command = [os.path.join(ROOT, "scripts", "test-order.sh"), "--limit", str(timeout), exe, "0"]
        grace = 30
    procs = []
    ok = True
    try:
        for shard in range(jobs):
            env_shard = dict(env, GTEST_SHARD_INDEX=str(shard))
            # A file, not a pipe: a shard must never wait for us to read it.
            log = tempfile.TemporaryFile(mode="w+", errors="replace") if problems is not None else subprocess.DEVNULL
            procs.append((subprocess.Popen(command, cwd=os.path.dirname(exe), env=env_shard, stdout=log,
                                           stderr=subprocess.STDOUT if problems is not None else log,
                                           start_new_session=True), log))
        deadline = time.monotonic() + timeout + grace
        for shard, (p, log) in enumerate(procs):
            try:
                failed = p.wait(timeout=max(1, deadline - time.monotonic())) != 0
                why = ""
            except subprocess.TimeoutExpired:
                failed, why = True, f" (no end after {timeout + grace} s)"
            # Whatever the shard left running (all of it, after a time-out).
            end_tree(p)
            ok = ok and not failed
            if problems is not None:
                if failed:
                    log.seek(0)
                    said = [line.rstrip() for line in log if line.startswith(("Order check:", "To repeat"))]
                    problems.append(f"shard {shard} of {jobs}{why}:\n    " + "\n    ".join(said))
                log.close()
    finally:
        # Ctrl-C reaches only us: the shards lead sessions of their own.
        for p, _ in procs:
            if p.returncode is None:
                end_tree(p)
    return ok


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--list", nargs="+", default=sorted(glob.glob(os.path.join(ROOT, "tests", "mutants", "*.txt"))))
    ap.add_argument("--scratch", default=os.path.join(ROOT, "build-mutants"))
    ap.add_argument("--only", default="", help="run only faults whose title or file contains this text")
    ap.add_argument("-j", "--jobs", type=int, default=os.cpu_count() or 2)
    ap.add_argument("--timeout", type=int, default=600, help="seconds a test program may run")
    args = ap.parse_args()

    faults, problems = [], []
    for list_path in args.list:
        more, trouble = parse(list_path)
        faults += more
        problems += trouble
    if problems:
        print("\n".join(problems))
        return 2
    if args.only:
        faults = [f for f in faults if args.only in f.title or args.only in f.path]
    if not faults:
        print("no faults to try")
        return 2

    tree = os.path.join(args.scratch, "tree")
    build = os.path.join(args.scratch, "build")
    os.makedirs(tree, exist_ok=True)
    copy_tree(tree)
    if run(["cmake", "-S", tree, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
            "-DEMBERHAUNT_BENCH=OFF", "-DEMBERHAUNT_SANITIZE=OFF"], ROOT) != 0:
        print("cmake failed")
        return 2
    programs = sorted({f.program for f in faults})
    print(f"Building {len(programs)} test program(s) once...", flush=True)
    if run(["cmake", "--build", build, "-j", str(args.jobs), "--target", *programs], ROOT, quiet=False) != 0:
        print("the unchanged tree does not build")
        return 2
    for program in programs:
        problems = []
        if not run_program(build, program, args.jobs, args.timeout, problems):
            print(f"{program} fails without any fault: fix the suite first")
            for problem in problems:
                print("  " + problem)
            return 2

    results = []
    for n, fault in enumerate(faults, 1):
        path = os.path.join(tree, fault.path)
        started = time.monotonic()
        status = "broken"
        try:
            with open(path, encoding="utf-8") as f:
                source = f.read()
        except OSError:
            source = None
            reason = "no such file"
        if source is not None:
            count = source.count(fault.original)
            reason = f"'from' text found {count} times" if count != 1 else ""
        if source is not None and not reason:
            try:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(source.replace(fault.original, fault.faulty))
                if run(["cmake", "--build", build, "-j", str(args.jobs), "--target", fault.program], ROOT) != 0:
                    reason = "does not build"
                else:
                    status = "survived" if run_program(build, fault.program, args.jobs, args.timeout) else "caught"
            finally:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(source)
        results.append((fault, status, reason))
        print(f"[{n}/{len(faults)}] {status:8} {time.monotonic() - started:5.0f} s  {fault.title}"
              + (f" ({reason})" if reason else ""), flush=True)

    # The last fault's file was put back: leave the build matching the tree.
    run(["cmake", "--build", build, "-j", str(args.jobs), "--target", *programs], ROOT)

    caught = sum(1 for _, s, _ in results if s == "caught")
    print(f"\n{caught} of {len(results)} faults caught")
    for fault, status, reason in results:
        if status != "caught":
            print(f"  {status}: {fault.title} [{fault.path}, {os.path.basename(fault.list_path)} line {fault.line}]" + (f": {reason}" if reason else ""))
    return 0 if caught == len(results) else 1


if __name__ == "__main__":
    sys.exit(main())

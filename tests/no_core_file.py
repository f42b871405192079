#!/usr/bin/env python3
"""A mistyped entry ends the program by SIGABRT but leaves no core file.

The program is started with core files allowed (RLIMIT_CORE raised to its
hard limit) in an empty directory. Once it waits at the menu, its limit must
still be the raised one; after the bad entry it must die of SIGABRT, with
its diagnostic, without a core dump, with its core file limit at 0 when it
died (read from the dead process before it is reaped) and with no core file
in its directory. Exits 77 (skipped) where no core file could be allowed in
the first place, so the check would prove nothing.

Usage: no_core_file.py PROGRAM
"""
import os
import resource
import signal
import subprocess
import sys
import tempfile

program = os.path.abspath(sys.argv[1])
_, hard = resource.getrlimit(resource.RLIMIT_CORE)
if hard == 0:
    print("skipped: core files are not allowed here (hard limit 0)")
    sys.exit(77)


def allow_core_files():
    resource.setrlimit(resource.RLIMIT_CORE, (hard, hard))


# The entry that ends the run, and the first line of its diagnostic.
CASES = [
    ("menu entry abc", b"abc\n", b"invalid number: incomprehensible list input"),
    ("menu entry 1.5", b"1.5\n", b"invalid integer: read unexpected character"),
    ("end of input at the menu", b"", b"list in: end of file"),
    ("wind entry 5e", b"1\n\n5e\n", b"exponent field: incomprehensible list input"),
]

failed = False
for name, entry, diagnostic in CASES:
    with tempfile.TemporaryDirectory() as directory:
        child = subprocess.Popen([program], cwd=directory,
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE,
                                 preexec_fn=allow_core_files)
        # Wait for the menu's prompt: the program is then running and
        # blocked on its first read.
        seen = b""
        while b"[or 0 for end]:" not in seen:
            chunk = child.stdout.read1(4096)
            if not chunk:
                break
            seen += chunk
        soft_live, _ = resource.prlimit(child.pid, resource.RLIMIT_CORE)
        child.stdin.write(entry)
        child.stdin.close()
        child.stdout.read()
        err = child.stderr.read()
        # Wait for its end without reaping it, so its limits can be read.
        ended = os.waitid(os.P_PID, child.pid, os.WEXITED | os.WNOWAIT)
        soft_dead, _ = resource.prlimit(child.pid, resource.RLIMIT_CORE)
        child.wait()
        cores = [f for f in os.listdir(directory) if f.startswith("core")]

    if soft_live == 0:
        print("skipped: the program runs with core files off from its start "
              "(a sanitizer build does that), so the check would prove nothing")
        sys.exit(77)
    problems = []
    if ended.si_status != signal.SIGABRT:
        problems.append(f"ended by {ended.si_status}, code {ended.si_code}, "
                        "not by SIGABRT")
    if ended.si_code == os.CLD_DUMPED:
        problems.append("dumped core")
    if soft_dead != 0:
        problems.append(f"core file limit {soft_dead} when it died, not 0")
    if cores:
        problems.append(f"left {cores}")
    if not err.startswith(diagnostic + b"\n"):
        problems.append(f"diagnostic {err!r}")
    print(f"{name}: " + ("; ".join(problems) if problems else
                         "SIGABRT, core file limit 0, no core file"))
    failed = failed or bool(problems)

sys.exit(1 if failed else 0)

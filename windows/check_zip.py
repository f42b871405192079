#!/usr/bin/python3
"""Packs the Windows zip as a user downloads it and checks what is inside.

The zip holds the program and its texts at its top, nothing else: the .exe,
which imports no DLL outside Windows' own (it must run on a bare Windows
10 or 11), and README.txt, LICENSE.txt and MANUAL.txt, each with every line
ended by CR LF and the same text as its source apart from the line ends.

Usage: check_zip.py BUILD_DIR SOURCE_DIR OBJDUMP
"""
import pathlib
import subprocess
import sys
import tempfile
import zipfile

# The DLLs of every Windows installation that a console program may import.
WINDOWS_OWN = {"kernel32.dll", "msvcrt.dll", "shell32.dll", "user32.dll",
               "advapi32.dll", "ws2_32.dll", "ucrtbase.dll", "ntdll.dll"}


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def crlf_problems(data):
    """Where a text's lines do not end in CR LF: a bare LF or a bare CR."""
    problems = []
    for i, byte in enumerate(data):
        if byte == 0x0A and (i == 0 or data[i - 1] != 0x0D):
            problems.append(f"bare LF at byte {i}")
        if byte == 0x0D and (i + 1 == len(data) or data[i + 1] != 0x0A):
            problems.append(f"bare CR at byte {i}")
    if data and not data.endswith(b"\r\n"):
        problems.append("last line not ended")
    return problems


def main():
    build, source, objdump = map(pathlib.Path, sys.argv[1:4])
    with tempfile.TemporaryDirectory() as work:
        work = pathlib.Path(work)
        subprocess.run(["cpack", "--config", build / "CPackConfig.cmake",
                        "-B", work], check=True, stdout=subprocess.DEVNULL)
        zips = list(work.glob("morvelstandrik-*-win64.zip"))
        if len(zips) != 1:
            fail(f"expected one morvelstandrik-VERSION-win64.zip, got {zips}")
        with zipfile.ZipFile(zips[0]) as z:
            names = sorted(pathlib.PurePosixPath(n).name
                           for n in z.namelist() if not n.endswith("/"))
            want = ["LICENSE.txt", "MANUAL.txt", "README.txt",
                    "morvelstandrik.exe"]
            if names != want:
                fail(f"zip holds {names}, expected {want}")
            members = {pathlib.PurePosixPath(n).name: n
                       for n in z.namelist()}
            texts = {name: z.read(members[name]) for name in want[:3]}
            (work / "morvelstandrik.exe").write_bytes(
                z.read(members["morvelstandrik.exe"]))
        dump = subprocess.run([objdump, "-p", work / "morvelstandrik.exe"],
                              check=True, capture_output=True,
                              text=True).stdout

    for name, data in texts.items():
        problems = crlf_problems(data)
        if problems:
            fail(f"{name}: {', '.join(problems[:5])}")
    for name, origin in (("README.txt", "README.md"),
                         ("LICENSE.txt", "LICENSE")):
        original = (source / origin).read_bytes()
        if texts[name].replace(b"\r\n", b"\n") != original:
            fail(f"{name} is not {origin} with Windows line ends")
    if b"morvelstandrik" not in texts["MANUAL.txt"]:
        fail("MANUAL.txt does not hold the manual")

    if "pei-x86-64" not in dump:
        fail("morvelstandrik.exe is not a 64-bit Windows program")
    imports = {line.split("DLL Name:")[1].strip().lower()
               for line in dump.splitlines() if "DLL Name:" in line}
    if not imports:
        fail("no imported DLLs found: objdump's output was not understood")
    foreign = sorted(imports - WINDOWS_OWN)
    if foreign:
        fail(f"morvelstandrik.exe needs DLLs beside it: {foreign}")
    print(f"zip: {', '.join(want)}; texts end lines in CR LF; "
          f"imports {', '.join(sorted(imports))}")


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Compound files interoperate with tools nobody here wrote.

Files written by orvella-cli must list and read correctly with python3-olefile
and libgsf's `gsf`; files made by `gsf createole` must read correctly with
orvella-cli. Usage: interop_check.py PATH-TO-ORVELLA-CLI
"""
import os
import random
import subprocess
import sys
import tempfile

import olefile

CLI = sys.argv[1]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def run(*args):
    return subprocess.run(args, check=True, capture_output=True).stdout


def make_files(folder):
    """Disk files of the sizes that matter: empty, mini, cutoff, large, DIFAT."""
    rng = random.Random(7)
    sizes = {"empty.bin": 0, "one.txt": 1, "mini.bin": 4095, "cutoff.bin": 4096,
             "large.bin": 70000, "huge.bin": 9 * 1024 * 1024}
    files = {}
    for name, size in sizes.items():
        path = os.path.join(folder, name)
        data = rng.randbytes(size)
        with open(path, "wb") as f:
            f.write(data)
        files[name] = (path, data)
    return files


def ours_read_by_others(folder, files):
    doc = os.path.join(folder, "ours.cfb")
    expected = {}
    for name, (path, data) in files.items():
        used = run(CLI, "storage", "put", doc, "\\att", path).decode().strip()
        check(used == "\\att\\" + name, f"put names the stream {used!r}")
        expected["att/" + name] = data
    run(CLI, "storage", "put", doc, "a/b/c/deep.txt", files["one.txt"][0])
    expected["a/b/c/deep.txt"] = files["one.txt"][1]
    # Many siblings: olefile walks sibling trees recursively, so a degenerate
    # tree would exceed its recursion limit.
    many = os.path.join(folder, "many")
    with open(many, "wb") as f:
        f.write(b"x" * 10)
    for i in range(300):
        run(CLI, "storage", "put", doc, f"many/{i}", many)
        expected[f"many/{i}"] = b"x" * 10

    ole = olefile.OleFileIO(doc)
    streams = {"/".join(p): ole.openstream(p).read() for p in ole.listdir(streams=True)}
    check(streams == expected, "olefile reads every stream of our file")
    ole.close()

    listing = run("gsf", "list", doc).decode()
    for path, data in expected.items():
        check(f" {path}\n" in listing or listing.endswith(f" {path}"), f"gsf lists {path}")
    for path in ["att/huge.bin", "att/mini.bin", "a/b/c/deep.txt", "many/299"]:
        check(run("gsf", "cat", doc, path) == expected[path], f"gsf cat {path}")


def theirs_read_by_ours(folder, files):
    for label, names in [("small", ["one.txt", "mini.bin", "cutoff.bin", "empty.bin"]),
                         ("big", ["large.bin", "huge.bin"])]:
        doc = os.path.join(folder, f"gsf-{label}.ole")
        subprocess.run(["gsf", "createole", doc] + [files[n][0] for n in names],
                       check=True, capture_output=True)
        listing = run(CLI, "storage", "ls", doc).decode().splitlines()
        want = sorted(f"{n}\t{len(files[n][1])}" for n in names)
        check(sorted(listing) == want, f"ls of a gsf file ({label}): {listing}")
        for n in names:
            check(run(CLI, "storage", "cat", doc, n) == files[n][1], f"cat {n} of a gsf file")
            out = os.path.join(folder, "out-" + n)
            run(CLI, "storage", "get", doc, n, out)
            with open(out, "rb") as f:
                check(f.read() == files[n][1], f"get {n} of a gsf file")
    # A folder becomes a storage.
    sub = os.path.join(folder, "sub")
    os.makedirs(sub)
    with open(os.path.join(sub, "a.txt"), "wb") as f:
        f.write(b"hello")
    doc = os.path.join(folder, "gsf-tree.ole")
    subprocess.run(["gsf", "createole", doc, sub], check=True, capture_output=True)
    check(run(CLI, "storage", "ls", doc).decode() == "sub\\\nsub\\a.txt\t5\n", "ls of a gsf tree")
    check(run(CLI, "storage", "cat", doc, "sub\\a.txt") == b"hello", "cat from a gsf storage")


with tempfile.TemporaryDirectory() as folder:
    files = make_files(folder)
    ours_read_by_others(folder, files)
    theirs_read_by_ours(folder, files)

print("interop: " + ("all checks passed" if not failures else f"{len(failures)} checks failed"))
sys.exit(1 if failures else 0)

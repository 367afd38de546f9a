"""What no change may lose, tried on real processes:

  crash     changing commands on a document of 10,000 notes, killed with SIGKILL
            at random points: the document opens as its old or its new state,
            every backup copy is a whole earlier state, and the next save
            leaves no scratch file behind;
  writers   two changing commands at once: each either makes its change or
            fails with "in use by another program", never both saying done
            with one change lost; a lock held elsewhere makes a command wait,
            then fail, changing nothing;
  fulldisk  every changing command on a full tmpfs fails with a clear
            message, leaving the document, its copies and the folder as they
            were (skipped, exit 77, where mounting is not allowed).

Usage: reliability_check.py CLI crash|writers|fulldisk
ORVELLA_CRASH_SEED picks another series of kill points (default 12)."""
import fcntl
import glob
import hashlib
import json
import os
import random
import signal
import struct
import subprocess
import sys
import tempfile
import time

import cli_check
from cli_check import check, finish, read

PASSPHRASE = "seven77"
SKIPPED = 77


def cli(*args):
    env = {k: v for k, v in os.environ.items() if not k.startswith("ORVELLA_")}
    env["ORVELLA_PASSPHRASE"] = PASSPHRASE
    return cli_check.cli(*args, env=env, start_new_session=True)


def ok(*args):
    code, out, err = cli(*args)
    check(code == 0, f"{args} succeeds: {code} {err!r}")
    return out


def make_document(path, notes, text_size=200):
    """A document of one folder holding `notes` text notes, through `load`."""
    contents, elements = [], []
    for i in range(notes):
        contents.append({"key": f"k{i}", "type": 0, "external": False, "path": "",
                         "text": f"note {i} " + "x" * text_size})
        props = {"name": f"Note {i}", "type": "0", "content": f"k{i}"}
        elements.append({"name": "source", "value": "", "kind": 0, "attributes": [],
                         "children": [{"name": k, "value": v, "kind": 1, "attributes": [],
                                       "children": []} for k, v in props.items()]})
    document = {
        "encrypted": False, "current_folder": 0,
        "bookmarks": [{"used": False, "folder": -1, "int1": -1, "int2": -1,
                       "folder_name": "<no>", "text": "<no>"}] * 10,
        "folders": [{"name": "Big", "icon": 0, "shared": False, "share_path": "",
                     "show_hidden": False, "hscroll": 0, "vscroll": 0,
                     "contents": contents, "notes": elements}]}
    source = path + ".json"
    with open(source, "w") as f:
        json.dump(document, f)
    ok("load", source, path)
    os.remove(source)


def digest(path):
    return hashlib.sha256(read(path)).hexdigest()


def scratch_files(folder):
    return sorted(glob.glob(os.path.join(folder, "*.orvtmp*")))


def note_count(path):
    out = ok("info", path)
    return int(out.split("notes: ")[1].split()[0]) if "notes: " in out else -1


def crash(tmp):
    doc = os.path.join(tmp, "big.orv")
    make_document(doc, 10000)
    ok("save", doc)
    ok("save", doc)  # both backup copies exist from here on
    states = {digest(doc)} | {digest(f"{doc}.{k}.bak") for k in (1, 2)}
    started = time.monotonic()
    ok("note", "add", doc, "0:0", "--after", "--name", "timing")
    duration = time.monotonic() - started
    states.add(digest(doc))
    rng = random.Random(int(os.environ.get("ORVELLA_CRASH_SEED", "12")))
    trials = landed = 0
    deadline = time.monotonic() + 60
    while trials < 60 and time.monotonic() < deadline:
        trials += 1
        notes = note_count(doc)
        before = digest(doc)
        command = rng.choice([["note", "add", doc, "0:1", "--after", "--name", f"Trial {trials}"],
                              ["folder", "add", doc, "--name", f"Trial {trials}"]])
        process = subprocess.Popen([cli_check.CLI, *command], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True)
        time.sleep(rng.uniform(0, duration))
        process.send_signal(signal.SIGKILL)
        process.wait()
        landed += process.returncode == -signal.SIGKILL
        what = f"trial {trials} ({command[0]} {command[1]})"
        code, out, err = cli("check", doc)
        check(code == 0 and out == "ok\n", f"{what}: the document opens: {err!r}")
        now = digest(doc)
        if now != before:
            # The new state: one note more (a new folder holds one), nothing else.
            grew = note_count(doc) - notes
            check(grew == 1, f"{what}: the new state has one note more, not {grew}")
            states.add(now)
        copies = [digest(f"{doc}.{k}.bak") for k in (1, 2) if os.path.exists(f"{doc}.{k}.bak")]
        check(all(c in states for c in copies), f"{what}: every copy is a whole earlier state")
        # Every state differs from every other, so distinct copies hold distinct bytes.
        ok("note", "add", doc, "0:1", "--after", "--name", f"After trial {trials}")
        check(scratch_files(tmp) == [], f"{what}: the next save leaves no scratch file")
        copies = [digest(f"{doc}.{k}.bak") for k in (1, 2)]
        check(copies[0] == now and copies[1] != now,
              f"{what}: the next save keeps the state it replaced, and distinct copies")
        states.add(digest(doc))
    print(f"crash trials: {trials}, killed before done: {landed}, "
          f"command time {duration:.2f} s, failures: {len(cli_check.failures)}")


def concurrent(first, second):
    """Runs two commands at once; their exit status and errors."""
    env = {k: v for k, v in os.environ.items() if not k.startswith("ORVELLA_")}
    env["ORVELLA_PASSPHRASE"] = PASSPHRASE
    processes = [subprocess.Popen([cli_check.CLI, *args], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.PIPE, env=env, start_new_session=True)
                 for args in (first, second)]
    return [(p.wait(), p.stderr.read().decode()) for p in processes]


def writers(tmp):
    doc = os.path.join(tmp, "shared.orv")
    make_document(doc, 3000)
    rounds = lost = refused = 0
    for i in range(12):
        rounds += 1
        note, folder = f"Writer note {i}", f"Writer folder {i}"
        encrypting = i % 4 == 3
        second = (["encrypt", doc] if encrypting else ["folder", "add", doc, "--name", folder])
        results = concurrent(["note", "add", doc, "0:0", "--after", "--name", note], second)
        tree = ok("tree", doc)
        info = ok("info", doc)
        done = [note in tree, ("encrypted: yes" in info) if encrypting else (folder in tree)]
        for (code, err), present, name in zip(results, done, ["note add", second[0]]):
            if code == 0:
                lost += not present
                check(present, f"round {i}: {name} said done and its change is there")
            else:
                refused += 1
                check(code == 2 and "in use by another program" in err and not present,
                      f"round {i}: {name} refused with exit 2, changing nothing: {code} {err!r}")
        if encrypting and done[1]:
            ok("decrypt", doc)

    # A lock held by another program: the command waits a while, then gives up.
    before = read(doc)
    fd = os.open(doc, os.O_RDWR)
    try:
        fcntl.fcntl(fd, fcntl.F_OFD_SETLK, struct.pack("hh4xqqi4x", fcntl.F_WRLCK, 0, 0, 0, 0))
        started = time.monotonic()
        code, out, err = cli("note", "add", doc, "0:0", "--after", "--name", "Blocked")
        waited = time.monotonic() - started
    finally:
        os.close(fd)
    check(code == 2 and err == f"orvella-cli: The file {doc} is in use by another program\n",
          f"a held lock refuses the change: {code} {err!r}")
    check(2.5 < waited < 10, f"the command waited for the lock: {waited:.1f} s")
    check(read(doc) == before, "the refused command changed nothing")
    print(f"writer rounds: {rounds}, refused: {refused}, lost changes: {lost}, "
          f"failures: {len(cli_check.failures)}")


def fulldisk(tmp):
    mount = os.path.join(tmp, "small")
    os.mkdir(mount)
    result = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=3m", "tmpfs", mount],
                            capture_output=True)
    if result.returncode != 0:
        print(f"fulldisk skipped: this machine does not let us mount a tmpfs "
              f"({result.stderr.decode().strip()})")
        sys.exit(SKIPPED)
    try:
        doc = os.path.join(mount, "full.orv")
        make_document(doc, 1500, text_size=100)
        for name in ("Second", "Third"):  # distinct states in the copies
            ok("note", "add", doc, "0:0", "--after", "--name", name)
        attachment = os.path.join(tmp, "attachment.bin")
        with open(attachment, "wb") as f:
            f.write(os.urandom(200000))
        # Fill what is left, to the last byte.
        filler = os.open(os.path.join(mount, "filler"), os.O_WRONLY | os.O_CREAT)
        try:
            while os.write(filler, b"\0" * 4096) > 0:
                pass
        except OSError:
            pass
        finally:
            os.close(filler)
        names = sorted(os.listdir(mount))
        files = {name: read(os.path.join(mount, name)) for name in names if name != "filler"}
        commands = [["note", "add", doc, "0:0", "--after", "--name", "More"],
                    ["folder", "add", doc, "--name", "More"],
                    ["note", "set", doc, "0:0", "--bold", "on"],
                    ["bookmark", "set", doc, "1", "0"],
                    ["encrypt", doc],
                    ["save", doc],
                    ["storage", "put", doc, "\\att", attachment]]
        for args in commands:
            code, out, err = cli(*args)
            check(code == 2 and "No space left on device" in err and out == "",
                  f"{args[:2]} on a full disk fails with a clear message: {code} {err!r}")
            check(sorted(os.listdir(mount)) == names, f"{args[:2]} leaves nothing behind")
            same = all(read(os.path.join(mount, n)) == data for n, data in files.items())
            check(same, f"{args[:2]} leaves the document and its copies as they were")
        print(f"full-disk commands: {len(commands)}, failures: {len(cli_check.failures)}")
    finally:
        subprocess.run(["umount", mount])


def main():
    mode = sys.argv[2]
    with tempfile.TemporaryDirectory() as tmp:
        {"crash": crash, "writers": writers, "fulldisk": fulldisk}[mode](tmp)
    finish(mode)


main()

#!/usr/bin/python3
"""orvella-cli passphrase protection and backup copies, end to end.

The enciphered bytes are read by python3-olefile and deciphered by
python3-pycryptodome, so the format is checked by code nobody here wrote.
Usage: protection_cli_check.py ORVELLA-CLI "About Orvella.orv"
"""
import os
import pty
import re
import select
import shutil
import signal
import sys
import tempfile
import time

import olefile
from Cryptodome.Cipher import Blowfish

import cli_check
from cli_check import CLI, check, finish, read

ABOUT = sys.argv[2]
WRONG = "Password is incorrect ! Application will close now !!!"
MISSING = "Pasword not enterd"


def cli(*args, passphrase=None, new_passphrase=None):
    """Runs the tool without a terminal, so it can never wait for one."""
    env = {k: v for k, v in os.environ.items() if not k.startswith("ORVELLA_")}
    if passphrase is not None:
        env["ORVELLA_PASSPHRASE"] = passphrase
    if new_passphrase is not None:
        env["ORVELLA_NEW_PASSPHRASE"] = new_passphrase
    return cli_check.cli(*args, env=env, start_new_session=True)


def ok(*args, **env):
    code, out, err = cli(*args, **env)
    check(code == 0, f"{args} succeeds: {code} {err!r}")
    return out


def fails(args, message, code, **env):
    rc, out, err = cli(*args, **env)
    check(rc == code and message in err and err.startswith("orvella-cli: "),
          f"{args} fails with {code} and {message!r}: got {rc}, {err!r}")


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def streams(path):
    ole = olefile.OleFileIO(path)
    result = {name: ole.openstream(name).read()
              for name in ["CommonInformation", "Contents", "Bookmark"]}
    ole.close()
    return result


def on_terminal(args, answers, passphrase=None):
    """Runs the tool on a terminal of its own and types `answers` at its
    passphrase prompts (None types Ctrl-D). Returns the exit status and
    everything the terminal showed."""
    pid, fd = pty.fork()
    if pid == 0:
        env = {k: v for k, v in os.environ.items() if not k.startswith("ORVELLA_")}
        if passphrase is not None:
            env["ORVELLA_PASSPHRASE"] = passphrase
        os.execve(CLI, [CLI, *args], env)
    shown, answered, deadline = b"", 0, time.monotonic() + 20
    while time.monotonic() < deadline:
        if not select.select([fd], [], [], 1)[0]:
            continue
        try:
            chunk = os.read(fd, 4096)
        except OSError:  # the tool has ended
            break
        if not chunk:
            break
        shown += chunk
        prompts = re.findall(rb"(?:Enter|Repeat) a passphrase(?: \(new\))?: ", shown)
        if len(prompts) > answered and answered < len(answers):
            answer = answers[answered]
            os.write(fd, b"\x04" if answer is None else answer.encode() + b"\n")
            answered += 1
    else:
        os.kill(pid, signal.SIGKILL)
    os.close(fd)
    status = os.waitpid(pid, 0)[1]
    return os.waitstatus_to_exitcode(status), shown.decode(errors="replace")


def encryption(tmp):
    plain = os.path.join(tmp, "plain.orv")
    shutil.copy(ABOUT, plain)
    doc = os.path.join(tmp, "doc.orv")
    shutil.copy(ABOUT, doc)
    plain_dump = ok("dump", plain)

    rc, out, err = cli("encrypt", doc, passphrase="seven77")
    check(rc == 0 and out == f"encrypted {doc}\n", f"encrypt prints one line: {rc} {out!r}")
    check("orvella-cli: The file will be crypted by press OK with 7 byte encoding\n" in err,
          f"the confirmation names 7 bytes: {err!r}")
    check("still hold the document unencrypted" in err, "encrypt warns of the plain backup copy")
    check("encrypted: yes\n" in ok("info", doc, passphrase="seven77"), "info: encrypted yes")
    check(ok("dump", doc, passphrase="seven77") == plain_dump.replace(
        '"encrypted": false', '"encrypted": true', 1), "the encrypted document dumps the same")

    before, after = streams(plain), streams(doc)
    check(after["CommonInformation"] == b"\x01\x00\x00\x00\x01", "CommonInformation 01 00 00 00 01")
    check(after["Bookmark"] == before["Bookmark"], "the Bookmark stream stays plain")
    n = len(before["Contents"])
    check(len(after["Contents"]) == n - n % 8 + 8, "Contents padded with 1 to 8 bytes")
    check(after["Contents"][:n] != before["Contents"], "Contents is enciphered")
    deciphered = Blowfish.new(b"seven77", Blowfish.MODE_ECB).decrypt(after["Contents"])
    check(deciphered == before["Contents"] + bytes(len(deciphered) - n),
          "Blowfish ECB of another implementation deciphers the record and zero padding")

    for args in [["info", doc], ["tree", doc], ["cat", doc, "0:0"], ["dump", doc],
                 ["check", doc], ["export", "outline", doc, "0:0", os.path.join(tmp, "o.txt")],
                 ["save", doc], ["decrypt", doc], ["passwd", doc], ["backup-to", doc, tmp]]:
        encrypted = read(doc)
        fails(args, WRONG, 3, passphrase="seven78")
        fails(args, MISSING, 3)
        check(read(doc) == encrypted, f"{args[0]} without the passphrase changes nothing")
    fails(["encrypt", doc], "is already encrypted", 2, passphrase="seven77")
    check(not os.path.exists(os.path.join(tmp, "o.txt")), "a failed export writes nothing")

    # The passphrase from a file, the global option given before the command.
    key_file = os.path.join(tmp, "key")
    write(key_file, b"from a file\r\n")
    other = os.path.join(tmp, "other.orv")
    shutil.copy(ABOUT, other)
    ok("--passphrase-file", key_file, "encrypt", other)
    check("encrypted: yes" in ok("info", other, passphrase="from a file"),
          "--passphrase-file drops one CR LF")
    ok("info", other, "--passphrase-file", key_file, passphrase="wrong")
    write(key_file, b"from a file\n\n")
    fails(["info", other, "--passphrase-file", key_file], WRONG, 3)
    fails(["info", other, "--passphrase-file", os.path.join(tmp, "none")],
          "Can't read the passphrase file", 2)

    rc, out, err = cli("decrypt", doc, passphrase="seven77")
    check(rc == 0 and out == f"decrypted {doc}\n", f"decrypt prints one line: {out!r} {err!r}")
    check(ok("dump", doc) == plain_dump, "decrypt gives back the same dump")
    check(streams(doc)["CommonInformation"] == b"\x01\x00\x00\x00\x00", "decrypted: flag 0")
    fails(["decrypt", doc], "is not encrypted", 2)
    fails(["passwd", doc], "is not encrypted", 2)


def passphrases(tmp):
    doc = os.path.join(tmp, "pw.orv")
    shutil.copy(ABOUT, doc)
    ok("encrypt", doc, passphrase="old passphrase")
    rc, out, err = cli("passwd", doc, passphrase="old passphrase", new_passphrase="new one")
    check(rc == 0 and out == f"changed the passphrase of {doc}\n", f"passwd: {out!r} {err!r}")
    check(err.startswith("orvella-cli: The file will be crypted by press OK with 7 byte")
          and "Crypto will disabled" not in err, f"passwd shows the new length only: {err!r}")
    fails(["info", doc], WRONG, 3, passphrase="old passphrase")
    ok("info", doc, passphrase="new one")

    new_file = os.path.join(tmp, "new-key")
    write(new_file, b"third passphrase\n")
    ok("passwd", doc, "--new-passphrase-file", new_file, passphrase="new one",
       new_passphrase="ignored")
    ok("info", doc, passphrase="third passphrase")
    encrypted = read(doc)
    fails(["passwd", doc], "No new passphrase was given", 3, passphrase="third passphrase")
    fails(["passwd", doc], "Please enter a 5 or more symbols", 2, passphrase="third passphrase",
          new_passphrase="four")
    check(read(doc) == encrypted, "a refused passwd changes nothing")

    # Only the first 56 bytes key the cipher.
    long = "0123456789" * 6
    shutil.copy(ABOUT, doc)
    ok("encrypt", doc, passphrase=long)
    check(ok("dump", doc, passphrase=long[:56]) == ok("dump", doc, passphrase=long),
          "a 60-byte passphrase and its first 56 bytes open the same file")
    fails(["info", doc], WRONG, 3, passphrase=long[:55])

    doc = os.path.join(tmp, "refused.orv")
    shutil.copy(ABOUT, doc)
    before = read(doc)
    fails(["encrypt", doc], "Please enter a 5 or more symbols", 2, passphrase="four")
    fails(["encrypt", doc], "No new passphrase was given", 3)
    check(read(doc) == before and not os.path.exists(doc + ".1.bak"),
          "a refused encrypt changes nothing and makes no backup copy")

    # An encrypted document from JSON takes its passphrase from the same source.
    source = os.path.join(tmp, "encrypted.json")
    write(source, ok("dump", ABOUT).replace('"encrypted": false', '"encrypted": true', 1).encode())
    target = os.path.join(tmp, "loaded.orv")
    fails(["load", source, target], "No new passphrase was given", 3)
    check(not os.path.exists(target), "a load without a passphrase writes nothing")
    ok("load", source, target, passphrase="loaded!")
    check(ok("dump", target, passphrase="loaded!") == read(source).decode(),
          "load keeps the document encrypted")


def terminal(tmp):
    doc = os.path.join(tmp, "tty.orv")
    shutil.copy(ABOUT, doc)
    rc, shown = on_terminal(["encrypt", doc], ["typed once", "typed twice"])
    check(rc == 2 and "Please enter a two equal passstrings" in shown,
          f"two different entries are refused: {rc} {shown!r}")
    rc, shown = on_terminal(["encrypt", doc], ["typed secret", "typed secret"])
    check(rc == 0 and "Enter a passphrase: " in shown and "Repeat a passphrase: " in shown,
          f"encrypt asks twice on the terminal: {rc} {shown!r}")
    check("typed secret" not in shown, "what is typed is not echoed")
    rc, shown = on_terminal(["info", doc], ["typed secret"])
    check(rc == 0 and "encrypted: yes" in shown, f"info asks on the terminal: {shown!r}")
    rc, shown = on_terminal(["info", doc], [None])
    check(rc == 3 and MISSING in shown, f"Ctrl-D at the prompt is no passphrase: {shown!r}")
    rc, shown = on_terminal(["passwd", doc], ["fresh secret", "fresh secret"],
                            passphrase="typed secret")
    check(rc == 0 and "Enter a passphrase (new): " in shown, f"passwd asks the new one: {shown!r}")
    ok("info", doc, passphrase="fresh secret")


def versions(tmp, count):
    """Documents that differ from each other, as the same file at different times."""
    result = []
    for i in range(count):
        path = os.path.join(tmp, f"v{i}.orv")
        ok("new", path)
        source = ok("dump", path).replace("Folder #1", f"Version {i}")
        write(path + ".json", source.encode())
        os.remove(path)
        ok("load", path + ".json", path)
        result.append(read(path))
    return result


def backups(tmp):
    a, b, c = versions(tmp, 3)
    doc = os.path.join(tmp, "notes.orv")
    for version in [a, b, c]:
        write(doc, version)
        rc, out, err = cli("save", doc, "--backups", "2")
        check(rc == 0 and out == f"saved {doc}, keeping up to 2 backup copies\n", f"save: {out!r}")
    check(read(doc + ".1.bak") == c and read(doc + ".2.bak") == b
          and not os.path.exists(doc + ".3.bak"),
          "three saves keep the versions before the third and the second")
    check(ok("tree", doc).startswith("[0] Version 2\n"), "the saved file is the last version")

    kept = {k: read(doc + f".{k}.bak") for k in (1, 2)}
    out = ok("save", doc, "--backups", "0")
    check(out == f"saved {doc}, keeping no backup copies\n", f"save --backups 0: {out!r}")
    check({k: read(doc + f".{k}.bak") for k in (1, 2)} == kept
          and not os.path.exists(doc + ".3.bak"), "zero copies: no backup made or changed")

    settings = os.path.join(tmp, "settings.ini")
    write(settings, b"[Settings]\niNumBackCopies=5\n")
    for k in range(1, 6):
        write(doc + f".{k}.bak", f"copy {k}".encode())
    current = read(doc)
    ok("save", doc, "--settings", settings)
    check([read(doc + f".{k}.bak") for k in range(1, 7) if os.path.exists(doc + f".{k}.bak")]
          == [current] + [f"copy {k}".encode() for k in range(1, 5)],
          "five copies from the settings file rotate")
    older = {k: read(doc + f".{k}.bak") for k in (3, 4, 5)}
    current, first = read(doc), read(doc + ".1.bak")
    ok("save", doc, "--settings", settings, "--backups", "2")
    check({k: read(doc + f".{k}.bak") for k in (3, 4, 5)} == older,
          "lowering to two leaves copies 3 to 5 untouched")
    check(read(doc + ".1.bak") == current and read(doc + ".2.bak") == first, "two copies rotate")
    check(read(settings) == b"[Settings]\niNumBackCopies=5\n", "--backups is not remembered")
    for bad in ["-1", "x", "1000"]:
        rc, out, err = cli("save", doc, "--backups", bad)
        check(rc == 1, f"--backups {bad} is a usage error")


def backup_to(tmp):
    doc = os.path.join(tmp, "kept.orv")
    shutil.copy(ABOUT, doc)
    ok("encrypt", doc, passphrase="backup pass")
    folder = os.path.join(tmp, "backups")
    os.mkdir(folder)
    settings = os.path.join(tmp, "backup.ini")
    rc, out, err = cli("backup-to", doc, folder + "/", "--settings", settings,
                       passphrase="backup pass")
    copy = os.path.join(folder, "kept.orv")
    check(rc == 0 and out == f"saved {doc} and copied it to {copy}\n", f"backup-to: {out!r} {err!r}")
    check(read(copy) == read(doc), "backup-to leaves a byte-identical copy")
    check(read(settings) == f'[CommonSettings]\nBackupFolder="{folder}"\n'.encode(),
          f"the settings file remembers the folder: {read(settings)!r}")
    check("encrypted: yes" in ok("info", copy, passphrase="backup pass"), "the copy opens")
    before = read(doc)
    fails(["backup-to", doc, os.path.join(tmp, "missing")], "is not a folder", 2,
          passphrase="backup pass")
    check(read(doc) == before, "backup-to a missing folder saves nothing")


with tempfile.TemporaryDirectory() as tmp:
    for step in [encryption, passphrases, terminal, backups, backup_to]:
        os.mkdir(os.path.join(tmp, step.__name__))
        step(os.path.join(tmp, step.__name__))

finish("protection cli")

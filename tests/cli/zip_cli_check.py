#!/usr/bin/python3
"""orvella-cli zip, end to end: the archives of a document, a folder and a
note, tested by `unzip -t` and read by Python's zipfile (names, bytes,
deflate, the UTF-8 flag), and refusals that leave everything as it was.

Usage: zip_cli_check.py ORVELLA-CLI
"""
import os
import subprocess
import tempfile
import zipfile

from cli_check import check, cli, finish, read, refused

UTF8_NAME_FLAG = 0x800


def zipped(args, line):
    """Runs `zip` that must print `line`; the archive's entries, name to ZipInfo and bytes."""
    code, out, err = cli("zip", *args)
    check(code == 0 and out == line + "\n" and err == "", f"zip {args}: {code} {out!r} {err!r}")
    archive = args[-1]
    tested = subprocess.run(["unzip", "-t", archive], capture_output=True, text=True)
    check(tested.returncode == 0, f"unzip -t {archive}: {tested.stdout} {tested.stderr}")
    with zipfile.ZipFile(archive) as z:
        check(z.testzip() is None, f"{archive}: CRCs")
        return {i.filename: (i, z.read(i)) for i in z.infolist()}


with tempfile.TemporaryDirectory() as tmp:
    doc, out = os.path.join(tmp, "Café.orv"), os.path.join(tmp, "out.zip")
    cli("new", doc)
    html = "<p>Grüße, Welt</p>" * 1000
    with open(os.path.join(tmp, "note.html"), "w", encoding="utf-8") as f:
        f.write(html)
    cli("note", "add", doc, "0:0", "--after", "--name", "Page", "--type", "html",
        "--content-file", os.path.join(tmp, "note.html"))
    cli("folder", "add", doc, "--name", "Work")
    before = read(doc)

    entries = zipped([doc, out], f'zipped "Café.orv" into {out}')
    check(list(entries) == ["Café.orv"], f"document entry: {list(entries)}")
    info, data = entries["Café.orv"]
    check(data == before, "the document's bytes")
    check(info.flag_bits & UTF8_NAME_FLAG, "a name beyond ASCII is flagged UTF-8")
    check(info.compress_type == zipfile.ZIP_DEFLATED, "deflated")

    entries = zipped([doc, "--folder", "1", out], f'zipped folder 1 "Work" as "Folder.orv" into {out}')
    check(list(entries) == ["Folder.orv"], f"folder entry: {list(entries)}")
    folder = os.path.join(tmp, "Folder.orv")
    with open(folder, "wb") as f:
        f.write(entries["Folder.orv"][1])
    check(cli("tree", folder)[1] == "[0] Work\n  Note #1\n", f"folder alone: {cli('tree', folder)}")

    entries = zipped([doc, "--note", "0:1", out], f'zipped note 0:1 "Page" as "Note.html" into {out}')
    check({n: d for n, (_, d) in entries.items()} == {"Note.html": html.encode()}, "note as stored")
    info = entries["Note.html"][0]
    check(info.compress_size < info.file_size / 10, f"compressed: {info.compress_size}")
    check(read(doc) == before, "zip only reads the document")

    # Refusals: exit 2, nothing printed, the earlier archive and the document unchanged.
    files = sorted(os.listdir(tmp))
    refused(["zip", doc, "--folder", "5", out], "There is no folder 5", path=out)
    refused(["zip", doc, "--note", "0:9", out], "There is no note 0:9", path=out)
    refused(["zip", doc, doc], "is the document itself", path=doc)
    refused(["zip", os.path.join(tmp, "missing.orv"), out], "missing.orv", path=out)
    refused(["zip", doc, os.path.join(tmp, "no", "such", "dir.zip")], "dir.zip", path=doc)
    check(cli("zip", doc, "--folder", "0", "--note", "0:0", out)[0] == 1, "one scope at a time")
    check(sorted(os.listdir(tmp)) == files, f"nothing left behind: {os.listdir(tmp)}")

finish()

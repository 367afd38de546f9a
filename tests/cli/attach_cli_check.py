#!/usr/bin/python3
"""orvella-cli attach commands, end to end: what each prints, what `list`
shows after it, refusals that change nothing, and the store read by
python3-olefile and libgsf's `gsf`.

Usage: attach_cli_check.py ORVELLA-CLI
"""
import os
import subprocess

import olefile

from cli_check import check, cli, finish, read, refused, scratch_document


def listing(doc, store):
    return cli("attach", "list", doc, "0:0", "--store", store)[1]


with scratch_document() as (tmp, doc):
    store = os.path.join(tmp, "Attachments.stg")
    other = os.path.join(tmp, "other.orv")
    cli("new", other)
    # Same names from two folders and two documents; names a stream can't have.
    files = {}
    for folder, name, data in [("a", "report.pdf", b"first"), ("b", "report.pdf", b"second"),
                               ("c", "x" * 40 + ".txt", os.urandom(70000)),
                               ("d", "a:b!c.txt", b"odd")]:
        os.makedirs(os.path.join(tmp, folder), exist_ok=True)
        path = os.path.join(tmp, folder, name)
        with open(path, "wb") as f:
            f.write(data)
        files[folder] = (path, name, data)
    code, out, err = cli("attach", "add", doc, "0:0", files["a"][0], files["c"][0],
                         "--store", store)
    check(code == 0 and out == f'attached "report.pdf" to note 0:0 "Note #1"\n'
          f'attached "{"x" * 40}.txt" to note 0:0 "Note #1"\n', f"add: {code} {out!r} {err!r}")
    check(cli("attach", "add", other, "0:0", files["b"][0], "--store", store)[0] == 0, "add other")
    check(cli("attach", "add", doc, "0:0", os.path.join(tmp, "d"), "--store", store)[0] == 0,
          "a folder adds its files")
    names = [line.split("\t")[0] for line in listing(doc, store).splitlines()]
    check(names == ["report.pdf", "x" * 40 + ".txt", "a:b!c.txt"], f"list: {names}")

    for path, name, data in [files["a"], files["c"], files["d"]]:
        out_path = os.path.join(tmp, "out")
        code, out, _ = cli("attach", "get", doc, "0:0", name, out_path, "--store", store)
        check(code == 0 and read(out_path) == data, f"get {name} gives its own bytes")
    code, _, _ = cli("attach", "get", other, "0:0", "report.pdf", os.path.join(tmp, "o2"),
                     "--store", store)
    check(code == 0 and read(os.path.join(tmp, "o2")) == b"second", "the other document's bytes")

    # The store as tools nobody here wrote see it: every byte set, safe names.
    ole = olefile.OleFileIO(store)
    streams = {"/".join(e): ole.openstream(e).read() for e in ole.listdir()}
    ole.close()
    check(sorted(streams.values()) == sorted(f[2] for f in files.values()),
          f"olefile reads each byte set once: {sorted(streams)}")
    check(all(len(n) <= 31 and not set(n) & set("/\\:!") for n in streams), "safe stream names")
    gsf_list = subprocess.run(["gsf", "list", store], capture_output=True, text=True).stdout
    for name, data in streams.items():
        check(f" {name}\n" in gsf_list or gsf_list.endswith(f" {name}"), f"gsf lists {name}")
        got = subprocess.run(["gsf", "cat", store, name], capture_output=True).stdout
        check(got == data, f"gsf cat {name}")

    step = cli("attach", "mv", doc, "0:0", "a:b!c.txt", "up", "--store", store)
    check(step[0] == 0 and step[1] == 'moved "a:b!c.txt" up in note 0:0 "Note #1"\n',
          f"mv: {step}")
    refused(["attach", "mv", doc, "0:0", "report.pdf", "up", "--store", store],
            '"report.pdf" is already at the top')
    refused(["attach", "rm", doc, "0:0", "report.pdf", "--store", store],
            'Removing an attachment asks "Are you sure": give --yes')
    refused(["attach", "rm", doc, "0:0", "nothing.txt", "--store", store],
            'Note 0:0 has no attachment "nothing.txt"')
    store_before = read(store)
    refused(["attach", "add", doc, "0:0", files["a"][0], os.path.join(tmp, "missing"),
             "--store", store], "missing")
    check(read(store) == store_before, "a failed add leaves the store as it was")
    code, out, _ = cli("attach", "rm", doc, "0:0", "report.pdf", "--store", store, "--yes")
    check(code == 0 and out == 'removed "report.pdf" from note 0:0 "Note #1"\n', f"rm: {out!r}")
    names = [line.split("\t")[0] for line in listing(doc, store).splitlines()]
    check(names == ["a:b!c.txt", "x" * 40 + ".txt"], f"list after mv and rm: {names}")

finish("attach_cli")

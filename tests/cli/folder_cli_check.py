#!/usr/bin/python3
"""orvella-cli folder commands, end to end: what each prints, the folders
`tree` lists after it, and that questions need --yes.

Usage: folder_cli_check.py ORVELLA-CLI
"""
import json
import os

from cli_check import check, cli, finish, refused, scratch_document


def step(args, line, folders):
    """Runs a command that must print `line` and leave `folders` in that order."""
    code, out, err = cli(*args)
    check(code == 0 and out == line + "\n", f"{args}: {code} {out!r} {err!r}")
    tree = "".join(f"[{i}] {name}\n  Note #1\n" for i, name in enumerate(folders))
    check(cli("tree", args[2])[1] == tree, f"{args}: tree {cli('tree', args[2])[1]!r}")


with scratch_document() as (_, doc):
    step(["folder", "add", doc], 'added folder 1 "Folder #1"', ["Folder #1", "Folder #1"])
    step(["folder", "add", doc, "--name", "b"], 'added folder 2 "b"', ["Folder #1", "Folder #1", "b"])
    step(["folder", "rename", doc, "0", "B"], 'renamed folder 0 "Folder #1" to "B"',
         ["B", "Folder #1", "b"])
    step(["folder", "rename", doc, "1", "a"], 'renamed folder 1 "Folder #1" to "a"', ["B", "a", "b"])
    step(["folder", "move", doc, "2", "first"], 'moved folder 2 "b" to 0', ["b", "a", "B"])
    step(["folder", "move", doc, "0", "right"], 'moved folder 0 "b" to 1', ["a", "b", "B"])
    refused(["folder", "move", doc, "2", "last"], 'folder 2 "B" is already the last')
    refused(["folder", "sort", doc, "asc"], "give --yes")
    step(["folder", "sort", doc, "asc", "--yes"], "sorted 3 folders by name, ascending",
         ["B", "a", "b"])
    step(["folder", "sort", doc, "desc", "--yes"], "sorted 3 folders by name, descending",
         ["b", "a", "B"])
    refused(["folder", "delete", doc, "1"], "give --yes")
    step(["folder", "delete", doc, "1", "--yes"], 'deleted folder 1 "a"; folder 0 "b" is current',
         ["b", "B"])
    step(["folder", "hidden", doc, "1", "on"], 'folder 1 "B" shows hidden notes', ["b", "B"])
    step(["folder", "icon", doc, "0", "12"], 'set the icon of folder 0 "b" to 12', ["b", "B"])
    folders = json.loads(cli("dump", doc)[1])["folders"]
    check([(f["show_hidden"], f["icon"]) for f in folders] == [(False, 12), (True, 47)],
          f"hidden and icon stored: {folders}")
    check(os.path.exists(doc + ".1.bak") and os.path.exists(doc + ".2.bak"), "backups rotate")
    refused(["folder", "rename", doc, "5", "x"], "There is no folder 5: the document has 2 folders")
    step(["folder", "delete", doc, "0", "--yes"], 'deleted folder 0 "b"; folder 0 "B" is current',
         ["B"])
    refused(["folder", "delete", doc, "0", "--yes"], "The only folder of a document can't be deleted")

finish()

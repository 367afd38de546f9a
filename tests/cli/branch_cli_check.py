#!/usr/bin/python3
"""orvella-cli note copy|clear, merge and export-folder, end to end: what each
prints, what `tree` lists after it, and that questions need --yes.

Usage: branch_cli_check.py ORVELLA-CLI
"""
import os

from cli_check import check, cli, finish, refused, scratch_document


def step(args, line, tree=None):
    """Runs a command that must print `line` and leave FILE listed as `tree`."""
    code, out, err = cli(*args)
    check(code == 0 and out == line + "\n" and err == "", f"{args}: {code} {out!r} {err!r}")
    if tree is not None:
        listed = cli("tree", args[1] if args[0] != "note" else args[2])[1]
        check(listed == tree, f"{args}: tree {listed!r}")


with scratch_document() as (tmp, doc):
    other, out = (os.path.join(tmp, name) for name in ("other.orv", "out.orv"))
    cli("note", "add", doc, "0:0", "--after", "--name", "Top")
    with open(os.path.join(tmp, "kid.txt"), "w") as f:
        f.write("kid text")
    cli("note", "add", doc, "0:1", "--child", "--name", "Kid", "--type", "text",
        "--content-file", os.path.join(tmp, "kid.txt"))
    cli("folder", "add", doc, "--name", "Work")

    step(["note", "copy", doc, "0:1", "1:0"], 'copied note 0:1 "Top" as note 1:0.0 "Top"',
         "[0] Folder #1\n  Note #1\n  Top\n    Kid\n"
         "[1] Work\n  Note #1\n    Top\n      Kid\n")
    check(cli("cat", doc, "1:0.0.0")[1] == "kid text", "the copy has the content")
    # Into its own branch, and at another folder's top level.
    step(["note", "copy", doc, "0:1", "0:1.0"], 'copied note 0:1 "Top" as note 0:1.0.0 "Top"')
    step(["note", "copy", doc, "0:1.0", "1:"], 'copied note 0:1.0 "Kid" as note 1:1 "Kid"',
         "[0] Folder #1\n  Note #1\n  Top\n    Kid\n      Top\n        Kid\n"
         "[1] Work\n  Note #1\n    Top\n      Kid\n  Kid\n    Top\n      Kid\n")
    refused(["note", "copy", doc, "0:1", "1:7"], "There is no note 1:7")

    refused(["note", "clear", doc, "0:1"], 'asks "Are you sure": give --yes')
    step(["note", "clear", doc, "0:1", "--yes"], 'deleted 1 subnote of note 0:1 "Top"',
         "[0] Folder #1\n  Note #1\n  Top\n"
         "[1] Work\n  Note #1\n    Top\n      Kid\n  Kid\n    Top\n      Kid\n")
    step(["note", "clear", doc, "0:1", "--yes"], 'deleted 0 subnotes of note 0:1 "Top"')

    cli("new", other)
    cli("folder", "rename", other, "0", "Merged")
    step(["merge", doc, other], f'merged 1 folder from {other}; folder 2 "Merged" is current',
         "[0] Folder #1\n  Note #1\n  Top\n"
         "[1] Work\n  Note #1\n    Top\n      Kid\n  Kid\n    Top\n      Kid\n"
         "[2] Merged\n  Note #1\n")
    refused(["merge", doc, os.path.join(tmp, "missing.orv")], "missing.orv", path=doc)

    step(["export-folder", doc, "1", out], f'exported folder 1 "Work" to {out}',
         "[0] Folder #1\n  Note #1\n  Top\n"
         "[1] Work\n  Note #1\n    Top\n      Kid\n  Kid\n    Top\n      Kid\n"
         "[2] Merged\n  Note #1\n")
    check(cli("tree", out)[1] == "[0] Work\n  Note #1\n    Top\n      Kid\n  Kid\n    Top\n      Kid\n",
          f"exported: {cli('tree', out)[1]!r}")
    check("current folder: 1" in cli("info", doc)[1], "the document was saved with folder 1 current")
    refused(["export-folder", doc, "0", doc], "Can't export a folder over the document's own file",
            path=doc)

finish()

#!/usr/bin/python3
"""orvella-cli bookmark set|list, end to end: the lines printed, the menu
texts listed, and that a bookmark follows its folder by name.

Usage: bookmark_cli_check.py ORVELLA-CLI
"""
from cli_check import check, cli, finish, read, scratch_document


def menu(named):
    """The ten Go To texts, with the folder names of the set ones."""
    return "".join(f"&{k}       Ctrl+{k}" + (f" ({named[k]})" if k in named else "") + "\n"
                   for k in range(10))


with scratch_document() as (_, doc):
    cli("folder", "add", doc, "--name", "Work")
    check(cli("bookmark", "list", doc) == (0, menu({}), ""), "none set")

    check(cli("bookmark", "set", doc, "3", "0") == (0, 'set bookmark 3 to folder 0 "Folder #1"\n', ""),
          "set 3")
    check(cli("bookmark", "set", doc, "3", "1") == (0, 'set bookmark 3 to folder 1 "Work"\n', ""),
          "set 3 again")
    check(cli("bookmark", "set", doc, "9", "1")[0] == 0, "set 9")
    check(cli("bookmark", "list", doc)[1] == menu({3: "Work", 9: "Work"}), "3 and 9 set")
    check("current folder: 1" in cli("info", doc)[1], "the bookmarked folder is current")

    cli("folder", "rename", doc, "1", "Play")
    check(cli("bookmark", "list", doc)[1] == menu({3: "Work", 9: "Work"}),
          "the texts keep the name they were set with")

    before = read(doc)
    for args in (["10", "0"], ["0", "2"]):
        code, out, err = cli("bookmark", "set", doc, *args)
        check(code in (1, 2) and out == "" and err, f"set {args} refused: {code} {err!r}")
    check(read(doc) == before, "refusals leave the file as it was")

finish()

#!/usr/bin/python3
"""orvella-cli note commands (and folder sort-notes), end to end: what each
prints, the notes `tree` lists after it, and that questions need --yes.

Usage: note_cli_check.py ORVELLA-CLI
"""
import json
import os

from cli_check import check, cli, finish, refused, scratch_document


def step(args, line, notes):
    """Runs a command that must print `line` and leave folder 0 holding `notes`
    (one per line, two blanks per level)."""
    code, out, err = cli(*args)
    check(code == 0 and out == line + "\n", f"{args}: {code} {out!r} {err!r}")
    tree = cli("tree", args[2])[1]
    check(tree == "[0] Folder #1\n" + notes, f"{args}: tree {tree!r}")


def attribute(doc, key, *positions):
    """The attribute `key` of the note at `positions` in folder 0."""
    notes = json.loads(cli("dump", doc)[1])["folders"][0]["notes"]
    for position in positions:
        note = [n for n in notes if n["name"] == "source"][position]
        notes = note["children"]
    return next(c["value"] for c in notes if c["name"] == key)


with scratch_document() as (tmp, doc):
    content = os.path.join(tmp, "plan.txt")
    with open(content, "wb") as f:
        f.write(b"line 1\r\nline 2")
    step(["note", "add", doc, "0:0", "--after", "--name", "Plan<1>", "--type", "text",
          "--content-file", content],
         'added note 0:1 "Plan[1]"', "  Note #1\n  Plan[1]\n")
    check(attribute(doc, "type", 1) == "0", "--type text gives type 0")
    check(cli("cat", doc, "0:1")[1] == "line 1\r\nline 2", "--content-file is the content")
    step(["note", "add", doc, "0:1", "--child", "--name", "b"], 'added note 0:1.0 "b"',
         "  Note #1\n  Plan[1]\n    b\n")
    check(attribute(doc, "type", 1, 0) == "2", "the default type is RTF")
    step(["note", "add", doc, "0:1.0", "--before", "--name", "B"], 'added note 0:1.0 "B"',
         "  Note #1\n  Plan[1]\n    B\n    b\n")
    step(["note", "add", doc, "0:", "--child", "--name", "a"], 'added note 0:2 "a"',
         "  Note #1\n  Plan[1]\n    B\n    b\n  a\n")
    ask = os.path.join(tmp, "ask.ini")
    with open(ask, "w") as f:
        f.write("[Settings]\nbSetDef=0\n")
    refused(["note", "add", doc, "0:0", "--after", "--name", "x", "--settings", ask],
            "The settings ask for the type of every new note: give --type")

    step(["note", "rename", doc, "0:2", "<A>"], 'renamed note 0:2 "a" to "[A]"',
         "  Note #1\n  Plan[1]\n    B\n    b\n  [A]\n")
    step(["note", "move", doc, "0:2", "right"], 'moved note 0:2 "[A]" right to 0:1.2',
         "  Note #1\n  Plan[1]\n    B\n    b\n    [A]\n")
    step(["note", "move", doc, "0:1.2", "up"], 'moved note 0:1.2 "[A]" up to 0:1.1',
         "  Note #1\n  Plan[1]\n    B\n    [A]\n    b\n")
    refused(["note", "move", doc, "0:1.0", "up"], 'note 0:1.0 "B" can\'t move up')
    refused(["note", "move", doc, "0:0", "left"], 'note 0:0 "Note #1" can\'t move left')
    step(["note", "move", doc, "0:1.0", "left"], 'moved note 0:1.0 "B" left to 0:2',
         "  Note #1\n  Plan[1]\n    [A]\n    b\n  B\n")

    refused(["note", "drop", doc, "0:1", "0:1.1"], "can't move into itself or one of its subnotes")
    step(["note", "drop", doc, "0:1", "0:0", "--copy"],
         'copied note 0:1 "Plan[1]" under note 0:0 "Note #1" as 0:0.0',
         "  Note #1\n    Plan[1]\n      [A]\n      b\n  Plan[1]\n    [A]\n    b\n  B\n")
    step(["note", "drop", doc, "0:1", "0:2"],
         'moved note 0:1 "Plan[1]" under note 0:2 "B" as 0:1.0',
         "  Note #1\n    Plan[1]\n      [A]\n      b\n  B\n    Plan[1]\n      [A]\n      b\n")
    check(cli("cat", doc, "0:1.0")[1] == "line 1\r\nline 2", "a moved note keeps its content")

    refused(["note", "sort", doc, "0:1.0", "name"], 'Sorting notes asks "Are you sure": give --yes')
    step(["note", "sort", doc, "0:1.0", "name", "--yes"],
         'sorted the subnotes of note 0:1.0 "Plan[1]" by name',
         "  Note #1\n    Plan[1]\n      [A]\n      b\n  B\n    Plan[1]\n      [A]\n      b\n")
    step(["folder", "sort-notes", doc, "0", "name", "--yes"],
         'sorted the notes of folder 0 "Folder #1" by name',
         "  B\n    Plan[1]\n      [A]\n      b\n  Note #1\n    Plan[1]\n      [A]\n      b\n")
    refused(["note", "number", doc, "0:0"], "give --yes")
    step(["note", "number", doc, "0:0", "--yes"], 'numbered note 0:0 "1. B" and the notes below it',
         "  1. B\n    1.1. Plan[1]\n      1.1.1. [A]\n      1.1.2. b\n"
         "  Note #1\n    Plan[1]\n      [A]\n      b\n")
    step(["note", "collapse", doc, "0:0"], 'collapsed note 0:0 "1. B" and the notes below it',
         "  1. B\n    1.1. Plan[1]\n      1.1.1. [A]\n      1.1.2. b\n"
         "  Note #1\n    Plan[1]\n      [A]\n      b\n")
    check(attribute(doc, "expand", 0, 0, 1) == "false" and attribute(doc, "expand", 1) == "true",
          "collapse closes the note and every note below it only")
    step(["note", "expand", doc, "0:0.0"],
         'expanded note 0:0.0 "1.1. Plan[1]" and the notes below it',
         "  1. B\n    1.1. Plan[1]\n      1.1.1. [A]\n      1.1.2. b\n"
         "  Note #1\n    Plan[1]\n      [A]\n      b\n")
    check(attribute(doc, "expand", 0) == "false" and attribute(doc, "expand", 0, 0, 0) == "true",
          "expand opens the note and every note below it only")

    refused(["note", "delete", doc, "0:1"], 'Deleting a note asks "Are you sure ?": give --yes')
    step(["note", "delete", doc, "0:1", "--yes"], 'deleted note 0:1 "Note #1"',
         "  1. B\n    1.1. Plan[1]\n      1.1.1. [A]\n      1.1.2. b\n")
    refused(["note", "rename", doc, "0:", "x"], '"0:" names folder 0, not a note')
    refused(["note", "delete", doc, "0:7", "--yes"], "There is no note 0:7")
    check(os.path.exists(doc + ".1.bak"), "saved with backups")

finish()

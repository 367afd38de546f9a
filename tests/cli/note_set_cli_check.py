#!/usr/bin/python3
"""orvella-cli note set, end to end: the line printed per option, the note
attributes `dump` shows afterwards, and what is refused.

Usage: note_set_cli_check.py ORVELLA-CLI
"""
import json
import os

import cli_check
from cli_check import check, cli, finish, scratch_document


def notes(doc):
    """Every note of folder 0, depth first, as a dict of its attributes."""
    found = []

    def walk(elements):
        for element in elements:
            if element["name"] != "source":
                continue
            found.append({c["name"]: c["value"] for c in element["children"] if c["name"] != "source"})
            walk(element["children"])

    walk(json.loads(cli("dump", doc)[1])["folders"][0]["notes"])
    return found


def step(args, lines):
    code, out, err = cli("note", "set", *args)
    check(code == 0 and out == "".join(line + "\n" for line in lines), f"{args}: {code} {out!r} {err!r}")


def refused(args, code, message):
    cli_check.refused(["note", "set", *args], message, code)


with scratch_document() as (_, doc):
    cli("note", "add", doc, "0:0", "--child", "--name", "Kid")
    cli("note", "add", doc, "0:0.0", "--child", "--name", "Grand")
    top = 'note 0:0 "Note #1": '
    kid = 'note 0:0.0 "Kid": '

    step([doc, "0:0.0", "--color", "255", "--bk-color", "16777215", "--bold", "on", "--grayed", "on",
          "--highlighted", "on", "--checkbox", "on", "--icon", "12", "--description", "a <b>hint</b>",
          "--readonly", "on"],
         [kid + "color 255", kid + "bk-color 16777215", kid + "bold on", kid + "grayed on",
          kid + "highlighted on", kid + "checkbox on", kid + "icon 12",
          kid + 'description "a <b>hint</b>"', kid + "readonly on"])
    note = notes(doc)[1]
    check({k: note.get(k) for k in ("color", "bk_color", "bold", "grayed", "highlighted", "checked",
                                     "icon", "description", "readonly", "selected")}
          == {"color": "255", "bk_color": "16777215", "bold": "true", "grayed": "true",
              "highlighted": "true", "checked": "false", "icon": "12", "description": "a <b>hint</b>",
              "readonly": "true", "selected": "true"}, f"attributes set: {note}")
    check(os.path.exists(doc + ".1.bak"), "saved with a backup")

    step([doc, "0:0.0", "--bold", "off", "--grayed", "on", "--checkbox", "off", "--readonly", "off"],
         [kid + "bold off", kid + "grayed already on", kid + "checkbox off", kid + "readonly off"])
    note = notes(doc)[1]
    check("bold" not in note and "checked" not in note and note["grayed"] == "true"
          and note["readonly"] == "false", f"attributes cleared: {note}")

    step([doc, "0:0", "--password", "pw", "--subnotes"], [top + "password set on 3 notes"])
    step([doc, "0:0.0", "--password", ""], [kid + "password removed from 1 note"])
    check([n["password"] for n in notes(doc)] == ["pw", "", "pw"], f"passwords: {notes(doc)}")

    # Hiding selects the parent; the hidden note is still named by its path.
    step([doc, "0:0.0", "--hide", "on", "--icon", "3"], [kid + "icon 3", kid + "hide on"])
    hidden = notes(doc)
    check(hidden[1]["hide"] == "true" and hidden[1]["icon"] == "3", f"hidden: {hidden[1]}")
    check([n["selected"] for n in hidden] == ["true", "false", "false"], "the parent is selected")
    check(cli("tree", doc)[1] == "[0] Folder #1\n  Note #1\n    Kid\n      Grand\n", "tree lists it")
    step([doc, "0:0.0", "--hide", "off"], [kid + "hide off"])
    check("hide" not in notes(doc)[1], "shown again")

    refused([doc, "0:0"], 2, "give at least one option to set")
    refused([doc, "0:", "--bold", "on"], 2, "names folder 0, not a note")
    refused([doc, "0:5", "--bold", "on"], 2, "")
    refused([doc, "0:0", "--subnotes"], 1, "--subnotes requires --password")
    refused([doc, "0:0", "--color", "16777216"], 1, "not in range")

finish()

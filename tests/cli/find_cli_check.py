#!/usr/bin/python3
"""orvella-cli find, end to end: what it finds in the text a reader sees,
its lines and JSON, and its exit status (0 hits, 1 none, 2 errors).

Usage: find_cli_check.py ORVELLA-CLI
"""
import json
import os

from cli_check import check, cli, finish, scratch_document

RTF = r"{\rtf1\ansi{\fonttbl{\f0 Arial;}}\pard\f0 Plan for \u1087?\u1083?\u1072?\u1085?\par}"
HTML = "<p class='menu'>Fish &amp; chips</p>"

with scratch_document() as (folder, doc):
    for name, text in (("budget.rtf", RTF), ("dinner.html", HTML)):
        with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
            f.write(text)
    cli("note", "add", doc, "0:0", "--after", "--name", "Budget", "--type", "rtf",
        "--content-file", os.path.join(folder, "budget.rtf"))
    cli("note", "add", doc, "0:1", "--child", "--name", "Dinner", "--type", "html",
        "--content-file", os.path.join(folder, "dinner.html"))
    cli("folder", "add", doc, "--name", "Work")

    cases = [
        (["план", "--all"], 0, "0:1\tBudget\n"),
        (["par", "--all"], 1, ""),
        (["menu", "--all"], 1, ""),
        (["Fish & chips", "--folder", "0"], 0, "0:1.0\tBudget\\Dinner\n"),
        (["work", "--all"], 1, ""),
        (["Work", "--all"], 0, "1:\tWork\n"),
        (["", "--folder", "0"], 0, "0:0\tNote #1\n0:1\tBudget\n0:1.0\tBudget\\Dinner\n"),
        (["budget", "--whole", "--folder", "0"], 0, "0:1\tBudget\n"),
        (["budget", "--whole", "--case", "--folder", "0"], 1, ""),
        (["note", "--scope", "names", "--all"], 0, "0:0\tNote #1\n1:0\tNote #1\n"),
        (["plan", "--scope", "html", "--all"], 1, ""),
        (["o", "--scope", "folders", "--all"], 0, "0:\tFolder #1\n1:\tWork\n"),
    ]
    for args, code, out in cases:
        got = cli("find", doc, *args)
        check(got == (code, out, ""), f"find {args}: {got!r}")

    code, out, _ = cli("find", doc, "ПЛАН", "--all", "--json")
    check(code == 0 and [json.loads(line) for line in out.splitlines()] ==
          [{"address": "0:1", "folder": "Folder #1", "path": "Budget", "position": 9}],
          f"--json: {out!r}")

    for args in (["x", "--scope", "folders"], ["x", "--folder", "7"], ["x", "--folder", "0", "--all"],
                 ["x", "--scope", "everything"], ["x", "--bogus"]):
        code, out, err = cli("find", doc, *args)
        check(code == 2 and out == "" and err, f"find {args} is an error: {code} {out!r} {err!r}")
    code, out, err = cli("find", os.path.join(folder, "missing.orv"), "x")
    check(code == 2 and out == "" and err, f"a missing file is an error: {code} {err!r}")

finish()

#!/usr/bin/python3
"""orvella-cli import, export knt|hjt|text|html|rtf, stats and share, end to
end: files go out and come back as the same notes, refusals change nothing,
a shared folder is read again as another program left it.

Usage: exchange_cli_check.py ORVELLA-CLI DATA-DIR
"""
import os
import sys

from cli_check import check, cli, finish, read, refused, scratch_document

DATA = sys.argv[2]


def tree(doc):
    return cli("tree", doc)[1]


def lines(listing):
    """The lines of `tree` without the folder numbers."""
    return [line.split("] ", 1)[1] if line.startswith("[") else line for line in listing.splitlines()]


with scratch_document() as (tmp, doc):
    knt, hjt = os.path.join(DATA, "tree_lf.knt"), os.path.join(DATA, "levels_lf.hjt")
    check(cli("import", "knt", doc, knt) == (0, f"imported 3 folders from {knt}\n", ""), "knt")
    check(cli("import", "hjt", doc, hjt, "--under", "1:1")[1] == f"imported 4 notes from {hjt}\n",
          "hjt under a note")
    check(cli("import", "hjt", doc, hjt)[0] == 0 and "[4] from TreePad" in tree(doc),
          "hjt without a note: a folder of its own")
    check("  Second\n    Root\n      Child\n" in tree(doc), "under 1:1 at levels 1, 2, ...")

    for name in ("nf30.knt", "encrypted.knt", "other.knt"):
        refused(["import", "knt", doc, os.path.join(DATA, name)], "This is not KeyNote 1.6.5 file")
    refused(["import", "hjt", doc, os.path.join(DATA, "v28.hjt")], "This is not TreePad file")

    # Round trips through the command line: the whole document, one folder.
    out_knt, out_hjt = os.path.join(tmp, "all.knt"), os.path.join(tmp, "f1.hjt")
    check(cli("export", "knt", doc, out_knt)[0] == 0, "export knt")
    check(read(out_knt).endswith(b"%%") and b"\r" not in read(out_knt), "LF lines, ends in %%")
    check(cli("export", "hjt", doc, "1", out_hjt)[0] == 0, "export hjt")
    with scratch_document() as (_, other):
        cli("import", "knt", other, out_knt)
        cli("import", "hjt", other, out_hjt)
        mine, theirs = lines(tree(doc)), lines(tree(other))
        hints = mine[mine.index("Hints") + 1:mine.index("Readme")]
        check(theirs[2:] == mine + ["from TreePad"] + hints, f"read back: {theirs}")

    # One note to and from ordinary files.
    text = os.path.join(tmp, "Meeting.notes.txt")
    with open(text, "wb") as f:
        f.write("Agenda: {1} \\ café\n".encode())
    check(cli("import", "text", doc, text, "--under", "2:0")[1] ==
          f'imported "Meeting.notes" from {text}\n', "text note named without its extension")
    for form, expected in (("text", "Agenda: {1} \\ café\n".encode()),
                           ("rtf", b"Agenda: \\{1\\} \\\\ caf\\u233?\\par\n}\n"),
                           ("html", "<p>Agenda: {1} \\ café</p>".encode())):
        out = os.path.join(tmp, "out." + form)
        check(cli("export", form, doc, "2:0.0", out)[0] == 0 and expected in read(out),
              f"export {form}: {read(out)!r}")
    empty = os.path.join(tmp, "empty.txt")
    open(empty, "wb").close()
    check(cli("import", "text", doc, empty)[1] == f"{empty} is empty: no note was made\n",
          "an empty file makes no note")

    code, out, _ = cli("stats", doc, "1:0")
    check(code == 0 and out.startswith("Count of elements \t\t\t3\n") and
          out.endswith("Description: \n<None>\n"), f"stats {out!r}")

# A shared folder: made in an empty directory, changed by another program,
# read again; a directory no folder shares is refused.
with scratch_document() as (tmp, doc):
    share = os.path.join(tmp, "share")
    os.mkdir(share)
    code, out, _ = cli("share", "create", doc, share)
    check(code == 0 and '"Shared Folder #1" shares ' in out, f"share create: {out!r}")
    check(sorted(os.listdir(os.path.join(share, "00000")))[0] == "Content.rtf" and
          read(os.path.join(share, "description.txt")) == b"Orvella Shared Folder", "the layout")
    os.mkdir(os.path.join(share, "00001"))
    with open(os.path.join(share, "00001", "Name.txt"), "w") as f:
        f.write("From elsewhere")
    check(cli("share", "reload", doc, share + "/")[0] == 0 and
          "  New Shared Note\n  From elsewhere\n" in tree(doc), "share reload")
    refused(["share", "reload", doc, tmp], "No folder of " + doc + " shares " + tmp + "/")

finish()

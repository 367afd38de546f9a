#!/usr/bin/python3
"""orvella-cli document commands, end to end, and the saved bytes read by others.

Usage: document_cli_check.py ORVELLA-CLI "About Orvella.orv" about.json
"""
import copy
import functools
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

import olefile

import cli_check
from cli_check import check, finish

ABOUT, ABOUT_SOURCE = sys.argv[2:4]
# The saved bytes are compared as they are, so output stays bytes here.
cli = functools.partial(cli_check.cli, binary=True)


def ok(*args):
    code, out, err = cli(*args)
    check(code == 0, f"{args[0]} succeeds: {err}")
    return out


def fails(args, message, code=2):
    rc, out, err = cli(*args)
    check(rc == code and message in err and err.startswith("orvella-cli: "),
          f"{args} fails with {code} and {message!r}: got {rc}, {err!r}")


def without_keys(document):
    """The dump with content keys replaced by their position, notes following them."""
    document = copy.deepcopy(document)
    for folder in document["folders"]:
        position = {c["key"]: str(i) for i, c in enumerate(folder["contents"])}
        for content in folder["contents"]:
            content["key"] = position[content["key"]]
        stack = list(folder["notes"])
        while stack:
            element = stack.pop()
            if element["name"] == "content":
                element["value"] = position.get(element["value"], "unknown")
            stack.extend(element["children"])
    return document


def dump(path):
    return json.loads(ok("dump", path))


def note(name, key, *children, extra=()):
    attribute = lambda n, v: {"name": n, "value": v, "kind": 1, "attributes": [], "children": []}
    return {"name": "source", "value": "", "kind": 0, "attributes": [],
            "children": [attribute("name", name), *[attribute(n, v) for n, v in extra],
                         attribute("content", key), *children]}


def content(key, kind, text):
    return {"key": key, "type": kind, "external": False, "path": "", "text": text}


def folder(name, contents, notes, **fields):
    result = {"name": name, "icon": 47, "shared": False, "share_path": "", "show_hidden": False,
              "hscroll": 0, "vscroll": 0, "contents": contents, "notes": notes}
    result.update(fields)
    return result


# Hidden, nested, outside the code page, longer than 65535 bytes, an unused
# content, start-tag attributes, fewer than ten bookmarks; keys repeat across folders.
SAMPLE = {
    "encrypted": False, "current_folder": 1,
    "bookmarks": [{"used": True, "folder": 1, "int1": -1, "int2": -1, "folder_name": "Mixed",
                   "text": "<no>"}],
    "folders": [
        folder("Plain", [content("k1", 2, "{\\rtf1 A}"), content("k2", 0, "b" * 300),
                         content("k3", 1, "<p>c</p>"), content("k4", 0, "d")],
               [note("A", "k1", note("B", "k2", note("C", "k3", extra=[("hide", "")]))),
                note("D", "k4")]),
        folder("Ünïcode 日本", [content("k1", 0, "日本 " * 30000), content("spare", 1, "")],
               [dict(note("Café ✓ 日本", "k1"), attributes=[["x", "1"]])],
               icon=5, show_hidden=True, hscroll=3, vscroll=-4),
    ],
}
SAMPLE_TREE = "[0] Plain\n  A\n    B\n      C\n  D\n[1] Ünïcode 日本\n  Café ✓ 日本\n"


def write_json(path, value):
    with open(path, "w", encoding="utf-8") as f:
        json.dump(value, f, ensure_ascii=False)


def new_document(tmp):
    doc = os.path.join(tmp, "new.orv")
    ok("new", doc)
    check(ok("info", doc) == b"folders: 1\nnotes: 1\nencrypted: no\ncurrent folder: 0\n"
          b"bookmarks set: 0\n", "info of a new document")
    check(ok("tree", doc) == b"[0] Folder #1\n  Note #1\n", "tree of a new document")
    check(ok("cat", doc, "0:0") == b"", "cat of a new note is empty")
    check(ok("check", doc) == b"ok\n", "check of a new document")
    before = open(doc, "rb").read()
    fails(["new", doc], "already exists")
    check(open(doc, "rb").read() == before, "new leaves an existing file alone")

    document = dump(doc)
    [only] = document["folders"]
    [key] = [c["key"] for c in only["contents"]]
    attributes = [(e["name"], e["value"]) for e in only["notes"][0]["children"]]
    check([n for n, _ in attributes] == [
        "share_path", "name", "expand", "type", "description", "selected", "password",
        "readonly", "Create time", "Modificate time", "icon", "scroll_pos", "curline", "save",
        "attcount", "content"], "a new note's attributes in creation order")
    check(dict(attributes)["content"] == key and only["contents"][0]["type"] == 2,
          "the note names its rich-text content by key")
    check(document["bookmarks"] == [{"used": False, "folder": -1, "int1": -1, "int2": -1,
                                     "folder_name": "<no>", "text": "<no>"}] * 10,
          "ten empty bookmarks")
    return doc


def round_trips(tmp):
    # The source is written in the dump's own layout, so the built guide dumps back to it.
    key = re.compile(r'("key": |"name": "content", "value": )"[^"]*"')
    source = open(ABOUT_SOURCE, encoding="utf-8").read()
    check(key.sub(r"\1K", ok("dump", ABOUT).decode()) == key.sub(r"\1K", source),
          "the About document dumps to its source, keys aside")

    for name, path in [("about", ABOUT), ("sample", os.path.join(tmp, "sample.orv"))]:
        first = dump(path)
        write_json(os.path.join(tmp, name + ".json"), first)
        again = os.path.join(tmp, name + "-again.orv")
        ok("load", os.path.join(tmp, name + ".json"), again)
        check(without_keys(dump(again)) == without_keys(first), f"{name}: dump, load, dump")

    sample = os.path.join(tmp, "sample.orv")
    check(ok("tree", sample).decode() == SAMPLE_TREE, "tree: hidden notes, depth, unicode")
    check(ok("info", sample) == b"folders: 2\nnotes: 5\nencrypted: no\ncurrent folder: 1\n"
          b"bookmarks set: 1\n", "info counts notes in all folders and used bookmarks")
    check(ok("cat", sample, "1:0").decode() == "日本 " * 30000, "cat of a long unicode note")
    document = dump(sample)
    check(len(document["bookmarks"]) == 10 and document["bookmarks"][0]["used"],
          "bookmarks are padded to ten")
    check(without_keys(document) == without_keys(dict(SAMPLE, bookmarks=document["bookmarks"])),
          "the sample dumps as it was loaded")


def exports(tmp):
    sample = os.path.join(tmp, "sample.orv")
    keys = [c["key"] for c in dump(sample)["folders"][0]["contents"]]
    out = os.path.join(tmp, "a.xml")
    with open(out, "w") as f:
        f.write("old text, longer than the export")
    ok("export", "xml", sample, "0:0.0", out)
    check(open(out).read() == (
        f"<source>\n  <name>B</name>\n  <content>{keys[1]}</content>\n"
        f"  <source>\n    <name>C</name>\n    <hide></hide>\n    <content>{keys[2]}</content>\n"
        "  </source>\n</source>\n"), "export xml of a note with a subnote")
    ok("export", "outline", sample, "0:0", out)
    check(open(out).read() == "A\n  B\n    C\n", "export outline replaces the file")
    check(ok("cat", sample, "0:0.0.0") == b"<p>c</p>", "cat counts only notes at each level")
    check(ok("cat", sample, "0:1") == b"d", "cat of a second top-level note")


def bad_paths(tmp):
    sample = os.path.join(tmp, "sample.orv")
    for path in ["0", "0:x", "0:1.", "0:.1", ":0", "-1:0", "0:-1", "0:0..0", "0:+1", " 0:0",
                 "0:99999999999999999999999"]:
        fails(["cat", sample, path], "is not a note path")
    fails(["cat", sample, "2:0"], "There is no folder 2: the document has 2 folders")
    fails(["cat", sample, "0:2"], "There is no note 0:2: folder 0 has 2 top-level notes")
    fails(["cat", sample, "0:0.0.0.0"], "There is no note 0:0.0.0.0: note 0:0.0.0 has 0 subnotes")
    fails(["cat", sample, "0:"], "names folder 0, not a note")
    out = os.path.join(tmp, "never.txt")
    fails(["export", "xml", sample, "0:5", out], "There is no note 0:5")
    check(not os.path.exists(out), "a failed export writes nothing")


def corrupt_files(tmp):
    good = os.path.join(tmp, "good.orv")
    shutil.copy(ABOUT, good)
    check(ok("check", good) == b"ok\n", "check of a good file")
    data = open(good, "rb").read()
    for cut in [len(data) // 2, 700, 0]:
        bad = os.path.join(tmp, f"cut{cut}.orv")
        with open(bad, "wb") as f:
            f.write(data[:cut])
        rc, out, err = cli("check", bad)
        check(rc == 2 and out == b"" and err.startswith("orvella-cli: Can't open"),
              f"check of a file cut to {cut} bytes: {rc} {err!r}")
    fails(["info", os.path.join(tmp, "missing.orv")], "missing.orv")

    # The same streams assembled by another tool open here; a cut "Contents" does not.
    ole = olefile.OleFileIO(good)
    streams = {name: ole.openstream(name).read() for name in
               ["CommonInformation", "Contents", "Bookmark"]}
    ole.close()
    for label, cut in [("whole", None), ("cut", -7)]:
        folder_path = os.path.join(tmp, label)
        os.makedirs(folder_path)
        files = []
        for name, stream in streams.items():
            files.append(os.path.join(folder_path, name))
            with open(files[-1], "wb") as f:
                f.write(stream[:cut] if name == "Contents" else stream)
        doc = os.path.join(tmp, label + ".orv")
        subprocess.run(["gsf", "createole", doc, *files], check=True, capture_output=True)
        if cut is None:
            check(ok("tree", doc) == ok("tree", good), "a document assembled by gsf opens")
        else:
            fails(["check", doc], "Can't open")


def usage_errors(tmp):
    sample = os.path.join(tmp, "sample.orv")
    for args in [[], ["info"], ["bogus", sample], ["export", "pdf", sample, "0:0", "x"],
                 ["cat", sample], ["info", sample, "extra"], ["load", "only.json"]]:
        rc, out, err = cli(*args)
        check(rc == 1, f"usage error {args} exits 1, got {rc}")
    for args in [["--help"], ["export", "xml", "--help"], ["load", "--help"], ["check", "-h"]]:
        rc, out, err = cli(*args)
        check(rc == 0 and b"Usage" in out, f"{args} shows help")


def load_errors(tmp):
    target = os.path.join(tmp, "target.orv")
    shutil.copy(ABOUT, target)
    before = open(target, "rb").read()
    source = os.path.join(tmp, "bad.json")

    def variant(change):
        document = copy.deepcopy(SAMPLE)
        change(document)
        return document

    def set_at(path, value):
        def change(document):
            *parents, last = path
            node = document
            for step in parents:
                node = node[step]
            if value is KeyError:
                del node[last]
            else:
                node[last] = value
        return change

    plain = ["folders", 0]
    cases = [
        ("{", "Invalid JSON"),
        ([], "Bad document JSON at the top level: expected an object"),
        (variant(set_at(["folders"], KeyError)), "at folders: is missing"),
        (variant(set_at(plain + ["colour"], 1)), "at folders[0].colour: is not a field here"),
        (variant(set_at(plain + ["notes", 0, "children", 2, "children", 0, "kind"], "1")),
         "at folders[0].notes[0].children[2].children[0].kind: expected a whole number"),
        (variant(set_at(plain + ["icon"], 2 ** 31)), "at folders[0].icon: expected a whole"),
        (variant(set_at(plain + ["shared"], 0)), "at folders[0].shared: expected true or false"),
        (variant(set_at(plain + ["contents", 0, "type"], 3)),
         "at folders[0].contents[0].type: expected 0 (text), 1 (HTML) or 2 (rich text)"),
        (variant(set_at(plain + ["contents", 1, "key"], "k1")),
         "at folders[0].contents[1].key: \"k1\" is the key of an earlier content too"),
        (variant(set_at(plain + ["notes", 1, "children", 1, "value"], "k9")),
         "at folders[0].notes[1]: the note's \"content\" names key \"k9\", which no content"),
        (variant(set_at(plain + ["notes", 1, "children", 1, "value"], "k2")),
         "which another note uses too"),
        (variant(set_at(["folders", 1, "notes", 0, "attributes"], [["x"]])),
         "at folders[1].notes[0].attributes[0]: expected a pair of strings"),
        (variant(set_at(["current_folder"], 2)), "current_folder: expected a folder index"),
        (variant(set_at(["bookmarks", 0, "text"], None)), "bookmarks[0].text: expected a string"),
    ]
    for document, message in cases:
        if isinstance(document, str):
            with open(source, "w") as f:
                f.write(document)
        else:
            write_json(source, document)
        fails(["load", source, target], message)
        check(open(target, "rb").read() == before, f"a failed load ({message}) writes nothing")
    fails(["load", os.path.join(tmp, "missing.json"), target], "missing.json")


class Reader:
    """The archive encodings: little-endian integers and length-prefixed strings."""

    def __init__(self, data):
        self.data, self.pos, self.forms = data, 0, set()

    def take(self, n):
        if self.pos + n > len(self.data):
            raise ValueError(f"{n} bytes wanted at {self.pos}, {len(self.data)} in all")
        self.pos += n
        return self.data[self.pos - n:self.pos]

    def byte(self):
        return self.take(1)[0]

    def i32(self):
        return struct.unpack("<i", self.take(4))[0]

    def length(self):
        n = self.byte()
        if n < 255:
            return n, False
        n = struct.unpack("<H", self.take(2))[0]
        if n == 0xFFFE:
            self.forms.add("wide")
            return self.length()[0], True
        if n < 0xFFFF:
            self.forms.add("16-bit")
            return n, False
        self.forms.add("32-bit")
        return struct.unpack("<I", self.take(4))[0], False

    def string(self):
        n, wide = self.length()
        return self.take(2 * n).decode("utf-16-le") if wide else self.take(n).decode("cp1252")


def read_element(r):
    check(r.byte() == 2, "element format 2")
    name, value, kind = r.string(), r.string(), r.i32()
    attributes = [(r.byte(), r.string(), r.string())[1:] for _ in range(r.i32())]
    children = [read_element(r) for _ in range(r.i32())]
    return {"name": name, "value": value, "kind": kind, "attributes": attributes,
            "children": children}


def read_folder_list(data):
    r = Reader(data)
    check(r.i32() == 5, "folder list format 5")
    current, folders = r.i32(), []
    for _ in range(r.i32()):
        check(r.i32() == 9, "tree format 9")
        contents = {}
        for _ in range(r.i32()):
            kind = r.i32()
            check(r.byte() == 1, "content base format 1")
            key = r.string()
            check(r.i32() == kind and r.byte() == 1, "content type repeated, text format 1")
            contents[key] = r.string()
        notes = [read_element(r) for _ in range(r.i32())]
        name, icon, shared, share_path = r.string(), r.i32(), r.byte(), r.string()
        scroll, show_hidden = (r.i32(), r.i32()), r.byte()
        folders.append({"name": name, "contents": contents, "notes": notes, "icon": icon,
                        "shared": shared, "share_path": share_path, "scroll": scroll,
                        "show_hidden": show_hidden})
    check(r.pos == len(data), "the folder list fills the \"Contents\" stream")
    return current, folders, r.forms


def read_bookmarks(data):
    r = Reader(data)
    check(r.i32() == 1, "bookmark format 1")
    records = [(r.byte(), r.i32(), r.i32(), r.i32(), r.string(), r.string())
               for _ in range(r.i32())]
    check(r.pos == len(data), "the bookmarks fill the \"Bookmark\" stream")
    return records


def tree_text(folders):
    lines = []
    for index, f in enumerate(folders):
        lines.append(f"[{index}] {f['name']}")
        stack = [(n, 1) for n in reversed(f["notes"])]
        while stack:
            element, depth = stack.pop()
            if element["name"] != "source":
                continue
            values = {c["name"]: c["value"] for c in reversed(element["children"])}
            lines.append("  " * depth + values["name"])
            stack.extend((c, depth + 1) for c in reversed(element["children"]))
    return "".join(line + "\n" for line in lines)


def linked_keys(f):
    keys, stack = [], list(f["notes"])
    while stack:
        element = stack.pop()
        keys += [c["value"] for c in element["children"] if c["name"] == "content"]
        stack += [c for c in element["children"] if c["name"] == "source"]
    return keys


def interop(tmp, new_doc):
    ole = olefile.OleFileIO(new_doc)
    check(sorted(ole.listdir()) == [["Bookmark"], ["CommonInformation"], ["Contents"]],
          "exactly the three streams")
    check(ole.root.clsid == "8E3A61C4-5B0F-4D27-9C1E-2F7B40D9A356", "the document class id")
    check(ole.openstream("CommonInformation").read() == b"\x01\x00\x00\x00\x00",
          "CommonInformation of a new document")
    check(ole.openstream("Bookmark").read() == struct.pack("<ii", 1, 10) + (
        b"\x00" + b"\xff" * 12 + b"\x04<no>" * 2) * 10, "Bookmark of a new document")
    ole.close()

    for path in [ABOUT, os.path.join(tmp, "sample.orv")]:
        ole = olefile.OleFileIO(path)
        current, folders, forms = read_folder_list(ole.openstream("Contents").read())
        used = [record[0] for record in read_bookmarks(ole.openstream("Bookmark").read())]
        ole.close()
        check(tree_text(folders) == ok("tree", path).decode(), f"{path}: names match tree")
        for f in folders:
            keys = linked_keys(f)
            check(sorted(keys) == sorted(set(keys)) and set(keys) <= set(f["contents"]),
                  f"{path}: every note names a content of its own")
        if path == ABOUT:
            check(current == 0 and used == [0] * 10, "About: current folder and bookmarks")
            check(forms == {"16-bit"}, f"About: long texts use the 16-bit prefix: {forms}")
        else:
            check(current == 1 and used == [1] + [0] * 9, "sample: current folder, bookmarks")
            check(forms == {"wide", "16-bit", "32-bit"}, f"sample: all prefix forms: {forms}")
            check(folders[1]["contents"][linked_keys(folders[1])[0]] == "日本 " * 30000,
                  "sample: a long text outside the code page survives")
            check((folders[1]["icon"], folders[1]["scroll"], folders[1]["show_hidden"])
                  == (5, (3, -4), 1), "sample: folder fields")


with tempfile.TemporaryDirectory() as tmp:
    new_doc = new_document(tmp)
    write_json(os.path.join(tmp, "sample-source.json"), SAMPLE)
    ok("load", os.path.join(tmp, "sample-source.json"), os.path.join(tmp, "sample.orv"))
    round_trips(tmp)
    exports(tmp)
    bad_paths(tmp)
    corrupt_files(tmp)
    usage_errors(tmp)
    load_errors(tmp)
    interop(tmp, new_doc)

finish("document cli")

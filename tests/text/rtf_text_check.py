"""The core's plain-text reader of RTF notes (what search and statistics see)
must show the same words as the editor's reader shows the user, for every RTF
fixture. The editor's text carries list markers ("1.", "ii.", bullets) that
are drawn, not stored as text: those are dropped before comparing, and
whitespace runs count as one space.

usage: rtf_text_check.py TEXT_TOOL RTF_TOOL FIXTURE_DIR
"""
import glob
import os
import re
import subprocess
import sys

LIST_MARKER = re.compile(r"^([\u2022\u25aao\u25e6-]|\d+\.|[ivxlc]+\.|[a-z]\.)$")


def text_of(args):
    result = subprocess.run(args, capture_output=True, check=True)
    return result.stdout.decode("utf-8")


def main():
    text_tool, rtf_tool, fixtures = sys.argv[1:4]
    paths = sorted(glob.glob(os.path.join(fixtures, "*.rtf")))
    failed = 0
    for path in paths:
        core = text_of([text_tool, path]).split()
        editor = [w for w in text_of([rtf_tool, "--text", path]).split() if not LIST_MARKER.match(w)]
        if core == editor:
            print("ok", os.path.basename(path))
        else:
            failed += 1
            print("FAIL", os.path.basename(path))
            print("  core:  ", " ".join(core))
            print("  editor:", " ".join(editor))
    print(f"{len(paths) - failed} passed, {failed} failed")
    return 1 if failed or not paths else 0


if __name__ == "__main__":
    sys.exit(main())

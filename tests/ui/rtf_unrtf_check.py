"""Reads every RTF fixture with our reader, writes it with our writer, and
checks that unrtf (a reader nobody here wrote) shows the same text as our
document does.

unrtf --text has limits the comparison allows for:
- it ignores \\uN and shows the fallback character, which our writer always
  writes as "?";
- it decodes \\'hh through the code page but prints only the low byte of the
  character's Unicode value (U+2014 comes out as 0x14);
- it shows no pictures, but a note saying one was there, which is dropped.
Our text is mapped the same way before comparing, and whitespace runs count
as one space.

usage: rtf_unrtf_check.py RTF_TOOL FIXTURE_DIR
"""
import glob
import os
import re
import subprocess
import sys
import tempfile


def run(args, cwd=None):
    result = subprocess.run(args, cwd=cwd, capture_output=True, check=True)
    return result.stdout


def as_unrtf_shows(text, codec):
    out = []
    for c in text:
        if ord(c) < 0x80:
            out.append(c)
            continue
        try:
            c.encode(codec)
            out.append(chr(ord(c) & 0xFF))
        except UnicodeEncodeError:
            out.append("?" * (2 if ord(c) > 0xFFFF else 1))
    return "".join(out)


def unrtf_text(path, workdir):
    raw = run(["unrtf", "--nopict", "--text", path], cwd=workdir).decode("latin-1")
    # With --nopict unrtf still leaves a note where each picture was.
    raw = re.sub(r"### picture data found, picture dimensions are \d+ by \d+, depth \d+", "", raw)
    lines = [line for line in raw.split("\n")
             if not line.startswith("###") and line.strip() != "-----------------"]
    return "\n".join(lines)


def normal(text):
    return " ".join(text.split())


def main():
    tool, fixtures = sys.argv[1], sys.argv[2]
    paths = sorted(glob.glob(os.path.join(fixtures, "*.rtf")))
    failed = 0
    with tempfile.TemporaryDirectory() as workdir:
        for path in paths:
            name = os.path.basename(path)
            ours = run([tool, "--text", path]).decode("utf-8")
            written = run([tool, path])
            out_path = os.path.join(workdir, name)
            with open(out_path, "wb") as f:
                f.write(written)
            match = re.search(rb"\\ansicpg(\d+)", written)
            codec = "cp" + match.group(1).decode() if match else "cp1252"
            expected = normal(as_unrtf_shows(ours, codec))
            actual = normal(unrtf_text(out_path, workdir))
            if expected == actual:
                print("ok", name)
            else:
                failed += 1
                print("FAIL", name)
                print("  ours: ", repr(expected))
                print("  unrtf:", repr(actual))
    print(f"{len(paths) - failed} passed, {failed} failed")
    return 1 if failed or not paths else 0


if __name__ == "__main__":
    sys.exit(main())

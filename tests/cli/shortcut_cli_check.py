"""`orvella-cli shortcuts` and `tools` on the files the desktop app reads: the
default place under ORVELLA_HOME, word-exact shortcut files, refusals that
leave a damaged file alone."""
import os
import struct
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from cli_check import check, cli, finish, read  # noqa: E402


def words(data):
    return list(struct.unpack(f"<{len(data) // 4}I", data))


with tempfile.TemporaryDirectory() as home:
    env = dict(os.environ, ORVELLA_HOME=os.path.join(home, "portable"))
    shortcuts = os.path.join(home, "portable", "Users_Shortcuts.shortcuts")
    tools = os.path.join(home, "portable", "ExternalTools.ini")

    code, out, err = cli("shortcuts", "set", "File - Save As ...", "Ctrl+Shift+S", "F4", env=env)
    check(code == 0, f"set: {code} {err}")
    got = words(read(shortcuts))
    check(got[:3] == [1, 4, 0x1FFFF] and got[4:] == [0x020D0053, 0x02010073],
          f"the file's words: {[hex(w) for w in got]}")
    code, out, err = cli("shortcuts", "list", env=env)
    check("File - Save As ...\tCtrl+Shift+S (user); F4 (user)\n" in out, f"list: {out[:200]}")
    check("Edit - Undo\tAlt+BACK; Ctrl+Z\n" in out, "list shows built-in keys")
    check("Notes - New Note" not in out, "a command without its keys is not listed")

    for args, message in [
        (["set", "No Such Command", "F4"], 'No command is named "No Such Command"'),
        (["set", "File - Save", "Ctrl+Hyper+Q"], "Not a key combination: Ctrl+Hyper+Q"),
    ]:
        before = read(shortcuts)
        code, out, err = cli("shortcuts", *args, env=env)
        check(code == 2 and message in err and read(shortcuts) == before, f"{args}: {code} {err}")

    with open(shortcuts, "ab") as f:  # a group that claims more words than follow
        f.write(struct.pack("<2I", 0x50001, 0x02010071))
    damaged = read(shortcuts)
    got = words(damaged)
    with open(shortcuts, "wb") as f:
        f.write(struct.pack("<3I", 1, got[1], got[2] + 0x10000) + damaged[12:])
    damaged = read(shortcuts)
    code, out, err = cli("shortcuts", "set", "File - Save", "F8", env=env)
    check(code == 2 and "is left as it is" in err and read(shortcuts) == damaged,
          f"a damaged file is not written over: {code} {err}")
    code, out, err = cli("shortcuts", "list", env=env)
    check(code == 0 and "the built-in keys stand" in err, f"list of a damaged file: {err}")
    code, out, err = cli("shortcuts", "reset", env=env)
    check(code == 0 and words(read(shortcuts)) == [1, 1, 0xFFFF], "reset writes the empty file")

    check(cli("tools", "add", "Diff", "/usr/bin/meld", '%f "two words"', "--key", "Ctrl+Alt+D",
              env=env)[0] == 0, "tools add")
    check(cli("tools", "add", "Plain", "gedit", env=env)[0] == 0, "tools add without a key")
    check(read(tools) == b'1.1\nDiff\n/usr/bin/meld\n%f "two words"\nCtrl+Alt+D\n68 6\n'
          b"Plain\ngedit\n\n\n0 0\n", f"the tools file: {read(tools)!r}")
    code, out, err = cli("tools", "add", "Bad", "x", '"open', env=env)
    check(code == 2 and "quote" in err, f"an open quote is refused: {err}")
    check(cli("tools", "rm", "1", env=env)[0] == 0, "tools rm by number")
    code, out, err = cli("tools", "list", env=env)
    check(out == "1\tPlain\tgedit\t\t\n", f"tools list: {out!r}")
    code, out, err = cli("tools", "rm", "Diff", env=env)
    check(code == 2 and 'No external tool is "Diff"' in err, f"rm of a missing tool: {err}")

finish("shortcut_cli")

"""What the orvella-cli end-to-end checks share: running the tool named by the
first argument, counting failed checks, and the exit status at the end."""
import contextlib
import os
import subprocess
import sys
import tempfile

CLI = sys.argv[1]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def cli(*args, binary=False, **run_options):
    """Runs the tool: its exit status, its output (bytes if `binary`) and its errors."""
    result = subprocess.run([CLI, *args], capture_output=True, **run_options)
    out = result.stdout if binary else result.stdout.decode()
    return result.returncode, out, result.stderr.decode()


def read(path):
    with open(path, "rb") as f:
        return f.read()


def refused(args, message, code=2, path=None):
    """Runs a command that must fail with `code` and `message`, printing nothing
    and leaving the document (`path`, else the third argument) as it was."""
    path = path or args[2]
    before = read(path)
    got, out, err = cli(*args)
    check(got == code and out == "" and message in err, f"{args} refused: {got} {out!r} {err!r}")
    check(read(path) == before, f"{args} leaves {path} as it was")


@contextlib.contextmanager
def scratch_document():
    """A folder for the checks' files, holding a new document "doc.orv"."""
    with tempfile.TemporaryDirectory() as tmp:
        doc = os.path.join(tmp, "doc.orv")
        cli("new", doc)
        yield tmp, doc


def finish(summary=None):
    """Ends the script, failing if any check did; `summary` names the line to print."""
    if summary:
        print(f"{summary}: " + ("all checks passed" if not failures else
                                f"{len(failures)} checks failed"))
    sys.exit(1 if failures else 0)

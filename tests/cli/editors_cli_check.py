"""`orvella-cli calc` against an evaluator of its own on random well-formed
expressions, then `text` and `html-clean` on a few inputs.

The expressions are built as trees and printed with the fewest parentheses
the grammar needs (the loosest level first: + -, * /, ^, < >, then ! and the
sign, all left-associative), so a parser that gets precedence, associativity
or blanks wrong computes another value than the tree does."""
import math
import os
import random
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from cli_check import check, cli, finish  # noqa: E402

LEVEL = {"+": 1, "-": 1, "*": 2, "/": 2, "^": 3, "<": 4, ">": 4}
UNARY_LEVEL, ATOM_LEVEL = 5, 6


class DivisionByZero(Exception):
    pass


def blank(rng, before=""):
    """Blanks to write before `before`: none before "!", which is read only
    where an operand starts."""
    return "" if before.startswith("!") else " " * rng.choice([0, 0, 0, 1, 2])


def number(rng):
    text = str(rng.randint(0, 99))
    if rng.random() < 0.3:
        text += "." + str(rng.randint(0, 99))
    return (text, float(text), ATOM_LEVEL)


def generate(rng, depth):
    """(text, value, level): value is None when a division by zero happens."""
    if depth == 0 or rng.random() < 0.2:
        return number(rng)
    kind = rng.random()
    if kind < 0.55:
        op = rng.choice("+-*/^<>")
        left, right = generate(rng, depth - 1), generate(rng, depth - 1)
        level = LEVEL[op]
        lt = left[0] if left[2] >= level else "(" + left[0] + ")"
        rt = right[0] if right[2] > level else "(" + right[0] + ")"
        return (lt + blank(rng) + op + blank(rng, rt) + rt, ("bin", op, left[1], right[1]), level)
    operand = generate(rng, depth - 1)
    text = operand[0] if operand[2] >= UNARY_LEVEL else "(" + operand[0] + ")"
    if kind < 0.65:
        return ("-" + text, ("neg", operand[1]), UNARY_LEVEL)
    if kind < 0.72:
        return ("!" + blank(rng, text) + text, ("not", operand[1]), UNARY_LEVEL)
    if kind < 0.8:
        return ("|" + blank(rng, operand[0]) + operand[0] + blank(rng) + "|", ("abs", operand[1]), ATOM_LEVEL)
    name = rng.choice(["sin", "cos", "exp", "sqrt", "log", "tg", "atg"])
    name = "".join(c.upper() if rng.random() < 0.5 else c for c in name)
    return (name + blank(rng) + "(" + operand[0] + ")", ("fn", name.upper(), operand[1]), ATOM_LEVEL)


FUNCTIONS = {
    "SIN": math.sin, "COS": math.cos, "EXP": math.exp, "TG": math.tan, "ATG": math.atan,
    "SQRT": lambda x: math.sqrt(x) if x >= 0 else 0.0,
    "LOG": lambda x: math.log(x) if x > 0 else 0.0,
}


def evaluate(tree, state):
    """The value as the calculator computes it; every node is evaluated, and a
    division by zero is remembered (its value counts as 0)."""
    if isinstance(tree, float):
        return tree
    kind = tree[0]
    if kind == "bin":
        op, left, right = tree[1], evaluate(tree[2], state), evaluate(tree[3], state)
        if op == "/":
            if right == 0:
                state["zero"] = True
                return 0.0
            return left / right
        return {"+": lambda: left + right, "-": lambda: left - right, "*": lambda: left * right,
                "^": lambda: math.pow(left, right), "<": lambda: float(left < right),
                ">": lambda: float(left > right)}[op]()
    value = evaluate(tree[-1], state)
    if kind == "neg":
        return -1.0 * value
    if kind == "not":
        return float(value == 0)
    if kind == "abs":
        return abs(value)
    return FUNCTIONS[tree[1]](value)


def check_calculator(count):
    rng = random.Random(13)
    compared = 0
    while compared < count:
        text, tree, _ = generate(rng, rng.randint(1, 5))
        state = {"zero": False}
        try:
            value = evaluate(tree, state)
            expected = f"{value:,.2f}"
        except (OverflowError, ValueError):
            continue  # where Python raises, C gives inf or nan: not compared
        if math.isnan(value) or math.isinf(value):
            continue
        compared += 1
        code, out, err = cli("calc", "--", text)
        if state["zero"]:
            check(code == 2 and out == "" and "Division by zero." in err, f"calc {text!r}: {err!r}")
        else:
            check(code == 0 and out == f"{text}={expected}\n", f"calc {text!r}: {out!r} {err!r}, not {expected}")


def check_calculator_errors():
    code, out, err = cli("calc", "(1) + 2x")
    check(code == 2 and out == "" and err == "orvella-cli: syntax error at position 8\n", f"syntax error: {err!r}")
    code, _, err = cli("calc", "(" * 5000 + "1" + ")" * 5000)
    check(code == 2 and "nested too deeply" in err, f"deep nesting: {err!r}")


def check_text():
    cases = [
        ("sort", b"b\nB\na\n", b"B\na\nb\n"),
        ("sort", b"x y\r\nb", b"b\nx y\n"),
        ("upper", "école\n".encode(), "ÉCOLE\n".encode()),
        ("capitalize", "мир o'neil".encode(), "Мир O'neil".encode()),
        ("tabify", b"a\nb", b"\ta\n\tb\n"),
        ("join", b"a\nb\n", b"a b "),
        ("reverse", b"ab\nc", b"c\nba"),
        ("extract-addresses", b"proxy 10.0.0.1:8080 end", b"10.0.0.1:8080\n"),
    ]
    for op, given, expected in cases:
        code, out, _ = cli("text", op, input=given, binary=True)
        check(code == 0 and out == expected, f"text {op} {given!r}: {out!r}")
    code, _, _ = cli("text", "shout", input=b"")
    check(code == 1, "an unknown operation is a usage error")


def check_html_clean():
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "note.html")
        with open(path, "w") as f:
            f.write("<p onclick=x()>a</p><script>s</script><iframe></iframe>")
        code, out, err = cli("html-clean", path)
        check(code == 0 and out == "<html><head></head><body><p>a</p></body></html>",
              f"html-clean: {out!r}")
        check("have been removed as the Editor does not support them:\n <SCRIPT> <IFRAME>" in err,
              f"html-clean report: {err!r}")
        code, _, err = cli("html-clean", os.path.join(tmp, "missing.html"))
        check(code == 2 and "Can't read" in err, f"missing file: {err!r}")


check_calculator(2500)
check_calculator_errors()
check_text()
check_html_clean()
finish("editors_cli")

#!/usr/bin/env python3
"""Mechanical mutants: every one-line mistake that a fixed set of operators makes in the C++ of
src/ and tools/sim/ and in the Python of tools/map/, listed from the files as they are now.

Usage: mutants.py [--root DIR] sample SEED     every mutant, in the order of the seeded sample
       mutants.py [--root DIR] apply ID        puts mutant ID into its file
       mutants.py [--root DIR] show ID         the mutant's file, line number and change
       mutants.py [--root DIR] count           how many mutants each operator makes

The operators: a relational operator moved over its boundary or negated (< and <=, > and >=,
== and !=); && and || (and, or) swapped; a clause of && or || dropped; the condition of a
one-line if dropped (true); an integer constant one more or one less; a statement deleted (a
whole C++ line ending in ';' that declares nothing, inside a function; in Python, a call,
raise, break, continue or augmented assignment replaced by pass); true and false swapped.
Comments, preprocessor lines, static_asserts and string literals are left alone. Operators
count only where the code writes them with blanks around them, as clang-format lays out a
binary operator: `a < b` is a comparison, `vector<int>` is not.

A mutant is known by its file, its line before and after and which of the same change in that
file it is, not by its line number, so that it keeps its name (and its place in a sample) while
the code around it changes. `sample` prints one line per mutant, tab-separated: id, file, line
number, operator, and "-" or "equivalent: REASON" for one on the ignore list
(scripts/mutants-ignore.txt); the order is a seeded shuffle, so that the first N lines are a
sample of N, the same for the same seed and code.
"""
import hashlib
import re
import signal
import sys
from pathlib import Path

IGNORE_FILE = "scripts/mutants-ignore.txt"
CXX_DIRS = ("src", "tools/sim")
PYTHON_DIRS = ("tools/map",)

RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
INTEGER = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|[0-9]+)([uUlL]*)(?![\w.])")


def blank(text):
    return " " * len(text)


# ---------------------------------------------------------------------------------------------
# What of each line is code: comments and the insides of literals become blanks, so that the
# operators below see code only and the columns stay where they are.

def masked_cxx(lines):
    """Each line with comments and the contents of string and character literals (raw ones
    too) blanked, and whether the line is skipped (preprocessor, static_assert)."""
    out, skipped = [], []
    closing, continued = None, False
    for line in lines:
        code, i = [], 0
        preprocessor = continued or (closing is None and line.lstrip().startswith("#"))
        continued = preprocessor and line.rstrip().endswith("\\")
        while i < len(line):
            if closing is not None:
                end = line.find(closing, i)
                stop = len(line) if end < 0 else end + len(closing)
                code.append(blank(line[i:stop]))
                closing = closing if end < 0 else None
                i = stop
            elif line.startswith("//", i):
                code.append(blank(line[i:]))
                i = len(line)
            elif line.startswith("/*", i):
                closing = "*/"
                code.append("  ")
                i += 2
            elif line.startswith('R"', i) and not re.match(r"\w", line[i - 1:i]):
                opening = line.find("(", i)
                closing = ")" + line[i + 2:opening] + '"'
                code.append(blank(line[i:opening + 1]))
                i = opening + 1
            elif line[i] in "\"'":
                quote, j = line[i], i + 1
                while j < len(line) and line[j] != quote:
                    j += 2 if line[j] == "\\" else 1
                code.append(quote + blank(line[i + 1:j]) + quote)
                i = j + 1
            else:
                code.append(line[i])
                i += 1
        text = "".join(code)[:len(line)]
        out.append(text)
        skipped.append(preprocessor or "static_assert" in text)
    return out, skipped


def masked_python(lines):
    """Each line with comments and the contents of string literals (docstrings too) blanked."""
    out = []
    triple = None
    for line in lines:
        code, i = [], 0
        while i < len(line):
            if triple:
                end = line.find(triple, i)
                stop = len(line) if end < 0 else end + 3
                code.append(blank(line[i:stop]))
                triple = triple if end < 0 else None
                i = stop
            elif line[i] == "#":
                code.append(blank(line[i:]))
                i = len(line)
            elif line.startswith(('"""', "'''"), i):
                triple = line[i:i + 3]
                code.append("   ")
                i += 3
            elif line[i] in "\"'":
                quote, j = line[i], i + 1
                while j < len(line) and line[j] != quote:
                    j += 2 if line[j] == "\\" else 1
                code.append(blank(line[i:j + 1]))
                i = j + 1
            else:
                code.append(line[i])
                i += 1
        out.append("".join(code)[:len(line)])
    return out, [False] * len(lines)


# ---------------------------------------------------------------------------------------------
# Where each C++ line stands: inside a function body (where statements are), or elsewhere.

def in_function_body(masked):
    """For each line, whether it begins inside a function's (or lambda's) body."""
    stack, result, segment = [], [], ""
    for line in masked:
        result.append(bool(stack) and stack[-1])
        for ch in line:
            if ch == "{":
                head = segment.strip()
                words = set(re.findall(r"[A-Za-z_]\w*", head))
                scope = words & {"class", "struct", "union", "enum", "namespace", "extern"}
                code = not scope and (head.endswith((")", "]", "else", "do", "try", "const",
                                                    "override", "noexcept", "mutable")))
                stack.append(code)
                segment = ""
            elif ch == "}":
                if stack:
                    stack.pop()
                segment = ""
            elif ch == ";":
                segment = ""
            else:
                segment += ch
        segment += " "
    return result


# ---------------------------------------------------------------------------------------------
# The operators. Each takes a masked line (and its original) and gives (operator, mutated line).

def tokens_with_blanks(masked, choices):
    """(start, token) of every token of choices that stands between blanks."""
    for match in re.finditer(r"(?<=\s)(\S+)(?=\s|$)", masked):
        if match.group(1) in choices:
            yield match.start(1), match.group(1)


def relational(line, masked):
    for at, op in tokens_with_blanks(masked, RELATIONAL):
        yield "relational", line[:at] + RELATIONAL[op] + line[at + len(op):]


def integers(line, masked):
    # The 0 of a pure virtual function's "= 0" is no number.
    pure = re.search(r"\)[\w\s]*=\s*(0);\s*$", masked)
    for match in INTEGER.finditer(masked):
        digits = match.group(1)
        if pure and match.start() == pure.start(1) or \
                len(digits) > 1 and digits[0] == "0" and digits[1] not in "xX":
            continue
        value = int(digits, 0)
        for other in (value + 1, value - 1):
            if other < 0:
                continue
            text = (hex(other) if digits[1:2] == "x" else
                    hex(other).upper().replace("0X", "0x") if digits[1:2] == "X" else str(other))
            yield "constant", line[:match.start(1)] + text + line[match.end(1):]


def swapped_words(line, masked, pairs, name):
    for match in re.finditer(r"\b(" + "|".join(pairs) + r")\b", masked):
        word = match.group(1)
        yield name, line[:match.start()] + pairs[word] + line[match.end():]


def clause_drops(masked, at, length, logical, stops, leading):
    """The [start, end) spans that drop the clause left, or right, of the logical operator at
    column at, with the operator: only where the clause lies whole on the line."""
    def stop(i):
        ch, before, after = masked[i], masked[i - 1:i], masked[i + 1:i + 2]
        if ch == "=":
            return "=" in stops and before not in "=!<>" and after != "="
        if ch == ":":
            return ":" in stops and before != ":" and after != ":"
        return ch in stops

    depth, i = 0, at - 1
    while i >= 0:
        ch = masked[i]
        if ch in ")]}":
            depth += 1
        elif ch in "([{":
            if depth == 0:
                break
            depth -= 1
        elif depth == 0 and (stop(i) or any(masked.endswith(w, 0, i + 1) for w in logical)):
            break
        i -= 1
    start = i + 1
    start += len(masked[start:]) - len(masked[start:].lstrip())
    for word in leading:
        if masked.startswith(word, start):
            start += len(word)
    if masked[start:at].strip():
        yield start, at + length + 1
    depth, i = 0, at + length
    while i < len(masked):
        ch = masked[i]
        if ch in "([{":
            depth += 1
        elif ch in ")]}":
            if depth == 0:
                break
            depth -= 1
        elif depth == 0 and (stop(i) or any(masked.startswith(w, i) for w in logical)):
            break
        i += 1
    else:
        return
    end = len(masked[:i].rstrip())
    if masked[at + length:end].strip():
        yield at - 1, end


def logical_cxx(line, masked):
    for at, op in tokens_with_blanks(masked, ("&&", "||")):
        yield "logical", line[:at] + ("||" if op == "&&" else "&&") + line[at + 2:]
        for start, end in clause_drops(masked, at, 2, (" && ", " || "), ",;?:=", ("return ",)):
            yield "clause", line[:start] + line[end:]


def logical_python(line, masked):
    for match in re.finditer(r"(?<= )(and|or)(?= |$)", masked):
        at, op = match.start(), match.group(1)
        yield "logical", line[:at] + ("or" if op == "and" else "and") + line[at + len(op):]
        for start, end in clause_drops(masked, at, len(op),
                                       (" and ", " or ", " if ", " else ", " for "), ",;:=",
                                       ("return ", "if ", "elif ", "while ", "assert ")):
            yield "clause", line[:start] + line[end:]


def condition_cxx(line, masked):
    for match in re.finditer(r"\bif \(", masked):
        opening = match.end() - 1
        depth = 0
        for i in range(opening, len(masked)):
            depth += {"(": 1, ")": -1}.get(masked[i], 0)
            if depth == 0:
                condition = masked[opening + 1:i]
                if ";" not in condition and not re.search(r"[^=<>!]=[^=]", condition) \
                        and condition.strip() != "true":
                    yield "condition", line[:opening + 1] + "true" + line[i:]
                break


def condition_python(line, masked):
    match = re.match(r"(\s*(?:el)?if )(.*):\s*$", masked)
    if match and match.group(2).strip() != "True" and ":=" not in match.group(2):
        yield "condition", line[:match.end(1)] + "True" + line[match.end(2):]


# One or more words of a type (with its qualifiers, template arguments, * and &), then a name.
DECLARATION = re.compile(r"(?:[A-Za-z_][\w:]*(?:<.*>)?[\s*&]+)+[A-Za-z_]\w*\s*(?:[=;\[({,]|$)|"
                         r"auto\s*&*\s*\[")
NOT_STATEMENTS = ("return ", "case ", "default:", "using ", "typedef ", "friend ", "template",
                  "namespace", "public:", "private:", "protected:", "}", "{", "static_assert")


def deletion_cxx(line, masked, previous, in_body):
    code = masked.strip()
    if not in_body or not code.endswith(";") or code == ";" or code.startswith(NOT_STATEMENTS):
        return
    if DECLARATION.match(code) or code.count("(") != code.count(")"):
        return
    if previous and not previous.rstrip().endswith((";", "{", "}", ":")):
        return
    yield "statement", None


PYTHON_KEYWORDS = ("def ", "class ", "if ", "elif ", "else", "for ", "while ", "try", "except",
                   "finally", "with ", "return", "import ", "from ", "global ", "nonlocal ",
                   "assert ", "lambda", "@", "pass", "async ", "yield")


def deletion_python(line, masked, previous_open):
    code = masked.strip()
    if previous_open or not code or code.startswith(PYTHON_KEYWORDS) or code.endswith((":", "\\")):
        return
    if sum(code.count(c) for c in "([{") != sum(code.count(c) for c in ")]}"):
        return
    depth, outside = 0, []
    for ch in code:
        depth += (ch in "([{") - (ch in ")]}")
        outside.append(ch if depth == 0 else " ")
    outside = "".join(outside)
    assigns = re.search(r"(?<![=<>!+\-*/%&|^@:])=(?!=)", outside)
    augmented = re.search(r"[+\-*/%&|^@]=", outside)
    if assigns and not augmented:
        return
    if augmented or code in ("break", "continue") or code.startswith("raise") or "(" in code:
        indent = line[:len(line) - len(line.lstrip())]
        yield "statement", indent + "pass"


# ---------------------------------------------------------------------------------------------

def source_files(root):
    files = []
    for folder in CXX_DIRS:
        files += sorted(p for p in (root / folder).rglob("*") if p.suffix in (".cpp", ".h"))
    for folder in PYTHON_DIRS:
        files += sorted((root / folder).glob("*.py"))
    return files


def file_mutants(path):
    """(line number, operator, original line, mutated line) of every mutant of a file; a
    deleted C++ line is an empty one."""
    lines = path.read_text(encoding="utf-8").split("\n")
    python = path.suffix == ".py"
    masked, skipped = (masked_python if python else masked_cxx)(lines)
    body = None if python else in_function_body(masked)
    found, depth, previous = [], 0, ""
    for number, (line, code) in enumerate(zip(lines, masked), start=1):
        depth_before = depth
        depth += sum(code.count(c) for c in "([{") - sum(code.count(c) for c in ")]}")
        if skipped[number - 1] or not code.strip() or "__name__" in code:
            continue
        if python:
            ops = [relational(line, code), integers(line, code),
                   swapped_words(line, code, {"True": "False", "False": "True"}, "boolean"),
                   logical_python(line, code), condition_python(line, code),
                   deletion_python(line, code, depth_before > 0 or previous.endswith("\\"))]
        else:
            ops = [relational(line, code), integers(line, code),
                   swapped_words(line, code, {"true": "false", "false": "true"}, "boolean"),
                   logical_cxx(line, code), condition_cxx(line, code),
                   deletion_cxx(line, code, previous, body[number - 1])]
        seen = set()
        for generator in ops:
            for operator, mutated in generator:
                mutated = "" if mutated is None else mutated
                if mutated != line and mutated not in seen:
                    seen.add(mutated)
                    found.append((number, operator, line, mutated))
        previous = code.rstrip()
    return found


class Mutant:
    def __init__(self, file, number, operator, original, mutated, occurrence):
        self.file, self.number, self.operator = file, number, operator
        self.original, self.mutated = original, mutated
        key = "\0".join((file, original.strip(), mutated.strip(), str(occurrence)))
        self.id = hashlib.sha1(key.encode()).hexdigest()[:12]

    def block(self):
        """The mutant as the ignore list writes it."""
        return f"{self.file}\n-{self.original.strip()}\n+{self.mutated.strip()}"


def all_mutants(root):
    mutants = []
    for path in source_files(root):
        file = path.relative_to(root).as_posix()
        occurrences = {}
        for number, operator, original, mutated in file_mutants(path):
            key = (original.strip(), mutated.strip())
            occurrences[key] = occurrences.get(key, 0) + 1
            mutants.append(Mutant(file, number, operator, original, mutated, occurrences[key]))
    return mutants


def ignore_list(root):
    """(file, original, mutated) -> reason, from the ignore list's blocks: the file, '-' and the
    line before, '+' and the line after, 'why:' and the reason."""
    path = root / IGNORE_FILE
    if not path.exists():
        return {}
    entries, block = {}, []
    for text in path.read_text(encoding="utf-8").split("\n") + [""]:
        if text.startswith("#"):
            continue
        if text.strip():
            block.append(text)
            continue
        if block:
            if len(block) != 4 or block[1][:1] != "-" or block[2][:1] != "+" or \
                    not block[3].startswith("why:"):
                sys.exit(f"{IGNORE_FILE}: not a block of file, -line, +line, why: {block}")
            key = (block[0].strip(), block[1][1:].strip(), block[2][1:].strip())
            entries[key] = block[3][4:].strip()
        block = []
    return entries


def find(root, mutant_id):
    for mutant in all_mutants(root):
        if mutant.id == mutant_id:
            return mutant
    sys.exit(f"mutants.py: no mutant {mutant_id} in {root}")


def main(argv):
    root = Path(".")
    if len(argv) > 2 and argv[0] == "--root":
        root, argv = Path(argv[1]), argv[2:]
    command, args = (argv[0], argv[1:]) if argv else ("", [])
    if command == "sample" and len(args) == 1:
        ignored = ignore_list(root)
        used = set()
        ranked = sorted(all_mutants(root),
                        key=lambda m: hashlib.sha256(f"{args[0]}\0{m.id}".encode()).digest())
        for m in ranked:
            key = (m.file, m.original.strip(), m.mutated.strip())
            status = f"equivalent: {ignored[key]}" if key in ignored else "-"
            used.add(key)
            print(f"{m.id}\t{m.file}\t{m.number}\t{m.operator}\t{status}")
        for key in sorted(set(ignored) - used):
            print(f"mutants.py: {IGNORE_FILE} names a mutant that no longer exists: "
                  f"{key[0]}: {key[2]}", file=sys.stderr)
    elif command == "apply" and len(args) == 1:
        mutant = find(root, args[0])
        path = root / mutant.file
        lines = path.read_text(encoding="utf-8").split("\n")
        lines[mutant.number - 1] = mutant.mutated
        path.write_text("\n".join(lines), encoding="utf-8")
    elif command == "show" and len(args) == 1:
        mutant = find(root, args[0])
        print(f"{mutant.file}:{mutant.number} ({mutant.operator})")
        print(mutant.block())
    elif command == "count" and not args:
        counts = {}
        for m in all_mutants(root):
            counts[m.operator] = counts.get(m.operator, 0) + 1
        for operator, count in sorted(counts.items()):
            print(f"{operator}\t{count}")
        print(f"all\t{sum(counts.values())}")
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)
    main(sys.argv[1:])

#!/usr/bin/env python3
"""Plants one fault at a time in a source file and runs the tests that should notice.

Usage: tools/mutate.py [--every N] BUILD_DIR[:TARGET,...] FILE[:FIRST-LAST] ... -- TEST COMMAND...

Each mutant changes one line (a comparison flipped, && and || swapped, a condition negated, a
call statement dropped, true and false swapped, a constant changed), is built with ninja in
BUILD_DIR (only the targets named, where any are) and tested with the command. A mutant whose build fails is stillborn and not counted;
one the command fails on is killed; the rest survive and are listed. --every N tries only every
N-th mutant, the same ones each run. Run it in a worktree of its
own: it rewrites the files while it runs and restores them at the end.
"""
import re
import subprocess
import sys

OPERATORS = [
    (r"==", "!="), (r"!=", "=="), (r"<=", "<"), (r">=", ">"), (r"(?<![<>-])<(?![<=])", "<="),
    (r"(?<![<>-])>(?![>=])", ">="), (r"&&", "||"), (r"\|\|", "&&"), (r"\btrue\b", "false"),
    (r"\bfalse\b", "true"), (r"(?<![\w.])0(?![\w.x])", "1"), (r"(?<![\w.])1(?![\w.])", "0"),
    (r"\+ 1\b", "- 1"), (r"- 1\b", "+ 1"),
]
SKIP = re.compile(r"^\s*(//|#|\*|namespace|}|{|$)|static_assert|template|operator")
CALL = re.compile(r"^\s*[\w:.>-]+(\(.*\))?(->|\.)?[\w:]*\(.*\);\s*$")


def mutants(lines, first, last):
    for number in range(first, last + 1):
        line = lines[number - 1]
        code = line.split("//")[0]
        if SKIP.search(code) or '"' in code and code.count('"') >= 2 and "include" in code:
            continue
        for pattern, replacement in OPERATORS:
            for match in re.finditer(pattern, code):
                if '"' in code[: match.start()] and code[: match.start()].count('"') % 2 == 1:
                    continue  # inside a string
                changed = code[: match.start()] + replacement + code[match.end():]
                yield number, changed + line[len(code):]
        condition = re.match(r"^(\s*)(if|while) \((.*)\) \{\s*$", code)
        if condition:
            yield number, f"{condition.group(1)}{condition.group(2)} (!({condition.group(3)})) {{\n"
        if CALL.match(code) and not code.strip().startswith("return"):
            yield number, "\n"


def main():
    every = 1
    if sys.argv[1] == "--every":
        every = int(sys.argv[2])
        del sys.argv[1:3]
    split = sys.argv.index("--")
    build_dir, _, build_targets = sys.argv[1].partition(":")
    build = ["ninja", "-C", build_dir] + [t for t in build_targets.split(",") if t]
    targets, command = sys.argv[2:split], sys.argv[split + 1:]
    killed, survived, stillborn = 0, [], 0
    for target in targets:
        path, _, span = target.partition(":")
        original = open(path).read()
        lines = original.splitlines(keepends=True)
        first, last = (int(x) for x in span.split("-")) if span else (1, len(lines))
        try:
            for index, (number, replacement) in enumerate(mutants(lines, first, last)):
                if index % every != 0:
                    continue
                mutated = lines[:]
                mutated[number - 1] = replacement
                open(path, "w").write("".join(mutated))
                built = subprocess.run(build, capture_output=True)
                if built.returncode != 0:
                    stillborn += 1
                    continue
                tested = subprocess.run(command, capture_output=True)
                if tested.returncode != 0:
                    killed += 1
                else:
                    survived.append(f"{path}:{number}: {replacement.strip()}")
                print(f"{path}:{number} {'killed' if tested.returncode else 'SURVIVED'}",
                      flush=True)
        finally:
            open(path, "w").write(original)
    subprocess.run(build, capture_output=True)
    live = killed + len(survived)
    print(f"\n{live} live mutants ({stillborn} did not build): {killed} killed, "
          f"{len(survived)} survived, kill rate {100 * killed / max(live, 1):.0f}%")
    for line in survived:
        print("  survived:", line)


if __name__ == "__main__":
    main()

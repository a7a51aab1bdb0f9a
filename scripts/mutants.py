#!/usr/bin/env python3
"""A mutation check of the toolkit-free core: does a test fail when the code is wrong?

Takes a deterministic sample of single-operator mutants of the files that the
native build compiles in analysis/, elements/, text/, derivation/ and drawing/ (one
comparison, logical operator, +1/-1 or boolean flipped on one line), builds
each in the sanitizer build and runs the core's tests against it, each within
a time limit. A mutant is killed when the tests fail, crash or run out of time;
one that does not compile counts for nothing. Prints every survivor (file,
line, before, after) and the score; the survivors listed in
tests/mutants-equivalent.txt, which cannot change what the program does, are
left out of it.

Usage: mutants.py [--count 60] [--seed 1] [--build build-mutants] [--jobs 2]
"""
import argparse
import json
import os
import random
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FOLDERS = ("analysis", "elements", "text", "derivation", "drawing")
EQUIVALENT = ROOT / "tests" / "mutants-equivalent.txt"

# Each operator: a pattern of what it replaces, and what it becomes. The code is
# clang-formatted, so a comparison or logical operator stands between blanks,
# and template brackets, "->" and "<<" never do.
OPERATORS = [
    (r"(?<= )<(?= )", "<="),
    (r"(?<= )<=(?= )", "<"),
    (r"(?<= )>(?= )", ">="),
    (r"(?<= )>=(?= )", ">"),
    (r"(?<= )==(?= )", "!="),
    (r"(?<= )!=(?= )", "=="),
    (r"(?<= )&&(?= )", "||"),
    (r"(?<= )\|\|(?= )", "&&"),
    (r"\+ 1\b", "- 1"),
    (r"- 1\b", "+ 1"),
    (r"\btrue\b", "false"),
    (r"\bfalse\b", "true"),
]


def core_files(build):
    commands = json.loads((build / "compile_commands.json").read_text())
    files = set()
    for command in commands:
        path = Path(command["file"]).resolve()
        try:
            relative = path.relative_to(build / "source")
        except ValueError:
            continue
        if relative.parts[0] in FOLDERS:
            files.add(relative.as_posix())
    return sorted(files)


def code_part(line):
    """The line without a comment or string literal at its end, for finding sites."""
    line = re.sub(r'"(\\.|[^"\\])*"', lambda m: " " * len(m.group(0)), line)
    line = re.sub(r"'(\\.|[^'\\])*'", lambda m: " " * len(m.group(0)), line)
    at = line.find("//")
    return line if at < 0 else line[:at]


def sites(source, files):
    found = []
    for name in files:
        for number, line in enumerate((source / name).read_text().splitlines(), 1):
            stripped = line.strip()
            if not stripped or stripped.startswith(("#", "//", "*", "/*")):
                continue
            code = code_part(line)
            if "template <" in code or "template<" in code:
                continue
            for pattern, replacement in OPERATORS:
                for match in re.finditer(pattern, code):
                    mutated = line[: match.start()] + replacement + line[match.end():]
                    found.append((name, number, line, mutated))
    return found


def equivalents():
    known = set()
    if EQUIVALENT.exists():
        for line in EQUIVALENT.read_text().splitlines():
            if line.strip() and not line.startswith("#"):
                known.add(line.split("  #")[0].strip())
    return known


def key(name, before, after):
    return f"{name}: {before.strip()} -> {after.strip()}"


def run(command, cwd, limit, env=None):
    try:
        return subprocess.run(command, cwd=cwd, timeout=limit, env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=60)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--build", default=str(ROOT / "build-mutants"))
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--test-seconds", type=int, default=180)
    options = parser.parse_args()

    build = Path(options.build).resolve()
    source = build / "source"
    # The sources are copied, so that the working tree is never left mutated.
    # A file is written only where its bytes differ; the core's files are
    # compiled afresh in any case.
    tracked = subprocess.run(["git", "ls-files"], cwd=ROOT, capture_output=True, text=True, check=True).stdout.split()
    for name in tracked:
        target = source / name
        target.parent.mkdir(parents=True, exist_ok=True)
        data = (ROOT / name).read_bytes()
        if not target.exists() or target.read_bytes() != data:
            target.write_bytes(data)
            shutil.copymode(ROOT / name, target)
        elif name.split("/")[0] in FOLDERS:
            os.utime(target)  # an object may still hold a mutant of a run that was ended midway
    binary = build / "out"
    subprocess.run(["cmake", "-S", str(source), "-B", str(binary), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                    "-DVELTRAX_SANITIZE=ON", "-DVELTRAX_UI=OFF", "-DVELTRAX_TESTS=ON",
                    "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON"], check=True, stdout=subprocess.DEVNULL)
    shutil.copy2(binary / "compile_commands.json", build / "compile_commands.json")
    build_command = ["cmake", "--build", str(binary), "--target", "core_tests", "--", f"-j{options.jobs}"]
    subprocess.run(build_command, check=True, stdout=subprocess.DEVNULL)
    tests = binary / "tests" / "core_tests"
    env = dict(os.environ, ASAN_OPTIONS="detect_leaks=1:abort_on_error=1", UBSAN_OPTIONS="halt_on_error=1")
    if run([str(tests)], binary, options.test_seconds, env) != 0:
        sys.exit("mutants.py: the core's tests fail without any mutant")

    files = core_files(build)
    candidates = sites(source, files)
    random.Random(options.seed).shuffle(candidates)
    known = equivalents()
    killed = survived = equivalent = stillborn = 0
    start = time.monotonic()
    taken = 0
    for name, number, before, after in candidates:
        if taken == options.count:
            break
        path = source / name
        original = path.read_text()
        lines = original.splitlines(keepends=True)
        lines[number - 1] = after + ("\n" if lines[number - 1].endswith("\n") else "")
        path.write_text("".join(lines))
        try:
            if run(build_command, None, 600) != 0:
                stillborn += 1
                continue
            taken += 1
            outcome = run([str(tests)], binary, options.test_seconds, env)
        finally:
            path.write_text(original)
        if outcome != 0:
            killed += 1
            continue
        if key(name, before, after) in known:
            equivalent += 1
            print(f"equivalent {name}:{number}: {before.strip()}  ->  {after.strip()}")
            continue
        survived += 1
        print(f"SURVIVED   {name}:{number}: {before.strip()}  ->  {after.strip()}")
    judged = killed + survived
    score = 100.0 * killed / judged if judged else 100.0
    print(f"{taken} mutants (seed {options.seed}) of {len(candidates)} sites in {len(files)} files: "
          f"{killed} killed, {survived} survived, {equivalent} equivalent; "
          f"{stillborn} did not compile and were not counted")
    print(f"score: {score:.1f} % of the non-equivalent mutants killed, in {time.monotonic() - start:.0f} s")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Runs clang-tidy (checks in .clang-tidy) and cppcheck over our own sources, using a build
folder's compile_commands.json, and prints every finding and their count per folder. The fuzz
targets are a project of their own: their compile commands are read from <build folder>/fuzz when
it is configured there.

Usage: scripts/lint.py <build folder> [-j N] [folder...]
With folders (e.g. `ui forms`), only the sources in them are analysed and only the findings in
them are counted. Exits with 1 when there is a finding.
"""
import argparse
import json
import os
import re
import subprocess
import sys
from collections import Counter
from concurrent.futures import ThreadPoolExecutor

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.realpath(__file__)))

# cppcheck's checks beyond the errors it always reports; style is left to clang-tidy's choice.
CPPCHECK_ENABLE = "warning,performance,portability"
# Its descriptions of the libraries we use: Qt's macros (Q_OBJECT, signals) and GoogleTest's
# (TEST_P and the like read as syntax errors without it).
CPPCHECK_LIBRARIES = ["qt", "googletest"]

FINDING = re.compile(r"^(?P<path>/[^:]+):(?P<line>\d+):(?P<col>\d+): (?P<severity>warning|error|\w+): "
                     r"(?P<message>.*) \[(?P<check>[\w.,-]+)\]$")


def own_folders():
    """The top-level folders holding our code: everything but build output and hidden ones."""
    return sorted(d for d in os.listdir(SOURCE_DIR)
                  if os.path.isdir(os.path.join(SOURCE_DIR, d)) and not d.startswith((".", "build")))


def relative(path):
    return os.path.relpath(os.path.realpath(path), SOURCE_DIR)


def wanted(rel, folders, prefixes):
    top = rel.split(os.sep, 1)[0]
    if top not in folders:
        return False
    return not prefixes or any(rel == p or rel.startswith(p + os.sep) for p in prefixes)


def run_clang_tidy(database, files, jobs, folders):
    header_filter = "^" + re.escape(SOURCE_DIR) + "/(" + "|".join(map(re.escape, folders)) + ")/"

    def one(path):
        done = subprocess.run(["clang-tidy", "-p", database, "--quiet", "--header-filter=" + header_filter, path],
                              capture_output=True, text=True)
        return done.stdout

    with ThreadPoolExecutor(max_workers=jobs) as pool:
        outputs = list(pool.map(one, files))
    for out in outputs:
        for line in out.splitlines():
            m = FINDING.match(line)
            if m:
                yield m


def run_cppcheck(database, jobs):
    cache = os.path.join(database, "cppcheck")
    os.makedirs(cache, exist_ok=True)
    args = ["cppcheck", "--project=" + os.path.join(database, "compile_commands.json"), "--enable=" + CPPCHECK_ENABLE, "--std=c++20", "--inline-suppr",
            "--quiet", "-j", str(jobs), "--cppcheck-build-dir=" + cache,
            "--template={file}:{line}:{column}: {severity}: {message} [{id}]"]
    args += ["--library=" + lib for lib in CPPCHECK_LIBRARIES]
    done = subprocess.run(args, capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit("cppcheck failed:\n" + done.stderr)
    for line in done.stderr.splitlines():
        m = FINDING.match(os.path.join(SOURCE_DIR, line) if not line.startswith("/") else line)
        if m:
            yield m


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build")
    parser.add_argument("-j", "--jobs", type=int, default=os.cpu_count())
    parser.add_argument("folders", nargs="*")
    args = parser.parse_intermixed_args()

    folders = own_folders()
    prefixes = [os.path.normpath(p) for p in args.folders]
    commands = {}
    for project in (args.build, os.path.join(args.build, "fuzz")):
        path = os.path.join(project, "compile_commands.json")
        if not os.path.exists(path):
            continue
        with open(path) as f:
            for c in json.load(f):
                rel = relative(c["file"]) if os.path.exists(c["file"]) else None
                # The fuzz project builds the decoders again: they are analysed once, as the program's.
                if rel and rel not in commands and wanted(rel, folders, prefixes):
                    commands[rel] = c
    # Both analysers read the commands of exactly the files chosen, from one database.
    database = os.path.join(args.build, "lint")
    os.makedirs(database, exist_ok=True)
    with open(os.path.join(database, "compile_commands.json"), "w") as f:
        json.dump(list(commands.values()), f)
    files = [c["file"] for c in commands.values()]
    print(f"clang-tidy and cppcheck over {len(files)} files, {args.jobs} jobs", flush=True)

    findings = {}
    for tool, matches in (("clang-tidy", run_clang_tidy(database, files, args.jobs, folders)),
                          ("cppcheck", run_cppcheck(database, args.jobs))):
        for m in matches:
            rel = relative(m["path"])
            if not wanted(rel, folders, prefixes):
                continue
            key = (rel, int(m["line"]), int(m["col"]), m["check"])
            findings[key] = f"{rel}:{m['line']}:{m['col']}: {tool}: {m['message']} [{m['check']}]"

    for key in sorted(findings):
        print(findings[key])
    per_folder = Counter(os.path.dirname(rel) for rel, *_ in findings)
    print("\nfindings per folder:" if findings else "no findings")
    for folder, count in sorted(per_folder.items()):
        print(f"  {folder:<14}{count}")
    if findings:
        print(f"  {'total':<14}{len(findings)}")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Runs the commands of README.md's walkthrough and checks the output it shows.

    python3 scripts/readme_walkthrough.py [--update] [BUILD_DIR]

The code block after a line `<!-- walkthrough: command -->` is run with bash in one temporary
folder for the whole walkthrough, which holds a copy of `examples/` and `build` standing for
BUILD_DIR (default: build). The code block after the next line
`<!-- walkthrough: output from "TEXT" -->` must be what the command blocks since the last
output block print on standard output, from the first line holding TEXT to the end (blank
lines at the end aside), the temporary folder's path written as ".".

Without --update the script prints the difference and exits with 1 when a block differs;
with --update it writes the program's output into README.md instead.
"""

import difflib
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
README = os.path.join(ROOT, "README.md")
MARKER = re.compile(r'^<!-- walkthrough: (command|output from "(.+)") -->$')
INDENT = "    "


def code_block(lines, start):
    """The (first, end) line numbers of the indented code block after line `start`."""
    first = start + 1
    while first < len(lines) and not lines[first].strip():
        first += 1
    end = first
    while end < len(lines) and lines[end].startswith(INDENT):
        end += 1
        blanks = end
        while blanks < len(lines) and not lines[blanks].strip():
            blanks += 1
        if blanks < len(lines) and lines[blanks].startswith(INDENT):
            end = blanks
    if end == first:
        sys.exit(f"README.md, line {start + 1}: no indented code block after the marker")
    return first, end


def run(commands, folder):
    done = subprocess.run(["bash", "-e", "-c", "\n".join(commands)], cwd=folder, capture_output=True, text=True,
                          env=dict(os.environ, LC_ALL="C.UTF-8"))
    if done.returncode != 0:
        sys.exit(f"The walkthrough's commands failed with status {done.returncode}:\n{done.stderr}")
    return done.stdout.replace(os.path.realpath(folder), ".").replace(folder, ".")


def shown_part(output, first_text):
    lines = output.splitlines()
    start = next((i for i, line in enumerate(lines) if first_text in line), None)
    if start is None:
        sys.exit(f'The walkthrough\'s commands printed no line holding "{first_text}":\n{output}')
    lines = [line.rstrip() for line in lines[start:]]
    while lines and not lines[-1]:
        lines.pop()
    return [INDENT + line if line else "" for line in lines]


def main():
    args = sys.argv[1:]
    update = "--update" in args
    args = [a for a in args if a != "--update"]
    build_dir = os.path.abspath(args[0] if args else os.path.join(ROOT, "build"))
    with open(README, encoding="utf-8") as f:
        lines = f.read().split("\n")
    with tempfile.TemporaryDirectory(prefix="torrentix-walkthrough-") as folder:
        shutil.copytree(os.path.join(ROOT, "examples"), os.path.join(folder, "examples"))
        os.symlink(build_dir, os.path.join(folder, "build"))
        differs = check_blocks(lines, folder, update)
    if differs and update:
        with open(README, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        print("README.md's walkthrough output rewritten from the program")
    elif differs:
        sys.exit("README.md's walkthrough shows another output than the program prints; "
                 "scripts/readme_walkthrough.py --update writes the program's")


def check_blocks(lines, folder, update):
    """Whether an output block differs from the program's; rewritten in `lines` on update."""
    commands, output, differs, checked = [], None, False, 0
    i = 0
    while i < len(lines):
        marker = MARKER.match(lines[i])
        if not marker:
            i += 1
            continue
        first, end = code_block(lines, i)
        if marker.group(1) == "command":
            commands += [line[len(INDENT):] for line in lines[first:end]]
        else:
            if commands:
                output, commands = run(commands, folder), []
            elif output is None:
                sys.exit(f"README.md, line {i + 1}: an output block before any command block")
            expected = shown_part(output, marker.group(2))
            shown = [line.rstrip() for line in lines[first:end]]
            checked += 1
            if shown != expected:
                differs = True
                if update:
                    lines[first:end] = expected
                    end = first + len(expected)
                else:
                    sys.stderr.writelines(difflib.unified_diff([l + "\n" for l in shown], [l + "\n" for l in expected],
                                                               f"README.md, line {first + 1}", "the program"))
        i = end
    if checked == 0:
        sys.exit("README.md holds no walkthrough output block")
    return differs


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Checks that every text a reply's "error" can carry is written once in src/.

Each layer names its texts in its own <layer>_errors.h; the code uses the
names. A text found twice is a copy that can drift from the other, and an
error built from a literal is a text that escaped its header.

Usage: check_wire_texts.py SRC_DIR
"""
import pathlib
import re
import sys

CONSTANT = re.compile(r'^inline constexpr char (k\w+)\[\] =\s*"((?:[^"\\]|\\.)*)";$', re.M)
# An error of the family, or the standard one a handler turns into a reply,
# built from a literal. NMPException never reaches a reply: the host stops.
LITERAL_ERROR = re.compile(
    r'\b(?!NMP)(\w*Exception|out_of_range)\(\s*(?:std::string\(\s*)?"|'
    r'requireLogin\([^;]*"')


def constants(src):
    """(header, name, literal) of every named text."""
    found = []
    for header in sorted(src.rglob("*_errors.h")):
        for name, text in CONSTANT.findall(header.read_text()):
            found.append((header, name, text))
    return found


def sources(src):
    return {path: path.read_text() for path in sorted(src.rglob("*")) if path.suffix in (".h", ".cpp")}


def problems(src):
    src = pathlib.Path(src)
    named = constants(src)
    if not named:
        return [f"no named error texts in {src}/*/*_errors.h"]
    files = sources(src)
    found = []
    for header, name, text in named:
        quoted = f'"{text}"'
        places = [str(path.relative_to(src)) for path, code in files.items()
                  for _ in range(code.count(quoted))]
        if places != [str(header.relative_to(src))]:
            found.append(f"{quoted} ({name}) is written {len(places)} times: {', '.join(places)}")
        used = any(re.search(rf"\b{name}\b", code) for path, code in files.items() if path != header)
        if not used:
            found.append(f"{name} is used nowhere")
    for path, code in files.items():
        for match in LITERAL_ERROR.finditer(code):
            line = code.count("\n", 0, match.start()) + 1
            found.append(f"{path.relative_to(src)}:{line}: an error built from a literal: "
                         f"name its text in the layer's *_errors.h")
    return found


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    found = problems(sys.argv[1])
    for problem in found:
        print(problem)
    if found:
        sys.exit(1)
    print(f"{len(constants(pathlib.Path(sys.argv[1])))} error texts, each written once")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Copies a UTF-8 source file with every non-ASCII character written as the
octal escapes of its code page 932 bytes, for compilers without
-fexec-charset (emscripten's clang): the literals then hold the same bytes
as a build that converts them. Octal escapes end after three digits, so a
digit that follows one is never read into it.

    cp932_literals.py IN OUT [LINE-NAME]

With LINE-NAME the copy starts with a #line naming it, so that messages
point to the original."""
import os
import sys


def escape(text, where):
    out = []
    for number, line in enumerate(text.split("\n"), 1):
        for ch in line:
            if ord(ch) < 0x80:
                out.append(ch)
                continue
            try:
                data = ch.encode("cp932")
            except UnicodeEncodeError:
                sys.exit(f"{where}:{number}: U+{ord(ch):04X} has no code page 932 form")
            out.append("".join(f"\\{b:03o}" for b in data))
        out.append("\n")
    return "".join(out)[:-1]


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    result = escape(text, source)
    if len(sys.argv) == 4:
        result = f'#line 1 "{sys.argv[3]}"\n' + result
    os.makedirs(os.path.dirname(os.path.abspath(target)), exist_ok=True)
    with open(target + ".tmp", "w", encoding="ascii", newline="\n") as f:
        f.write(result)
    os.replace(target + ".tmp", target)


if __name__ == "__main__":
    main()

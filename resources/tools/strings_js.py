#!/usr/bin/env python3
"""Writes the string tables (Strings.def, Japanese, and StringsEnglish.def)
as one JavaScript file for the web page, so that the page shows the window's
own words:

    strings_js.py Strings.def StringsEnglish.def OUT.js

OUT.js holds `const MORVEK_STRINGS = {kStrNotMidi: ["ja", "en"], ...};`."""
import json
import re
import sys

LINE = re.compile(r'^MORVEK_STRING\(\s*(\d+)\s*,\s*(\w+)\s*,\s*(".*")\s*\)\s*$')


def read(path):
    texts = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = LINE.match(line.strip())
            if m:
                # The C literal is a JSON string but for \0, which the page
                # never shows (dialog filters).
                literal = m.group(3).replace("\\0", "\\u0000")
                texts[m.group(2)] = json.loads(literal)
    return texts


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    japanese, english = read(sys.argv[1]), read(sys.argv[2])
    table = {name: [text, english.get(name, text)] for name, text in japanese.items()}
    with open(sys.argv[3], "w", encoding="utf-8", newline="\n") as f:
        f.write("// Made from resources/Strings.def and StringsEnglish.def; do not edit.\n")
        f.write("const MORVEK_STRINGS = ")
        json.dump(table, f, ensure_ascii=False, separators=(",", ":"))
        f.write(";\n")


if __name__ == "__main__":
    main()

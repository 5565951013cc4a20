#!/usr/bin/env python3
"""Writes the code page reference that tests/db/test_greek.cpp checks the Greek table against.

Set 0 of the table is the DOS code page 437, set 1 the Windows Greek code page 1253. For every
byte from 128 to 255 of each, one line: the code page, the byte in decimal and the Unicode
name of the character that Python's codecs decode it to ("-" where the byte is undefined).

    python3 tools/make_greek_reference.py > tests/db/data/greek_codepages.txt
"""

import sys
import unicodedata

CODE_PAGES = ("cp437", "cp1253")


def main():
    out = sys.stdout
    out.write("# code page, byte, Unicode name; made by tools/make_greek_reference.py\n")
    for page in CODE_PAGES:
        for byte in range(128, 256):
            try:
                name = unicodedata.name(bytes([byte]).decode(page))
            except (UnicodeDecodeError, ValueError):
                name = "-"
            out.write(f"{page}\t{byte}\t{name}\n")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Builds a STR0 string table from a readable source file.

Source lines are "<id><TAB><text>"; blank lines and lines starting with '#' are skipped. The table
is "STR0", the entry count, 12-byte entries (id, byte offset, length in UTF-16 units) sorted by
signed id, then the texts in UTF-16LE without terminators, all integers little-endian.
"""
import struct
import sys


def read_entries(path):
    entries = {}
    with open(path, encoding="utf-8") as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip("\r\n")
            if not line or line.startswith("#"):
                continue
            key, sep, text = line.partition("\t")
            try:
                ident = int(key)
            except ValueError:
                sys.exit(f"{path}:{number}: the id '{key}' is not a number")
            if not sep or not -2**31 <= ident < 2**31 or ident in entries:
                sys.exit(f"{path}:{number}: needs a unique 32-bit id, a tab and the text")
            entries[ident] = text
    return sorted(entries.items())


def build(entries):
    texts_start = 8 + 12 * len(entries)
    table, texts = b"", b""
    for ident, text in entries:
        encoded = text.encode("utf-16-le")
        table += struct.pack("<iII", ident, texts_start + len(texts), len(encoded) // 2)
        texts += encoded
    return b"STR0" + struct.pack("<i", len(entries)) + table + texts


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_str0.py SOURCE.txt OUTPUT.bin")
    data = build(read_entries(sys.argv[1]))
    with open(sys.argv[2], "wb") as output:
        output.write(data)


if __name__ == "__main__":
    main()

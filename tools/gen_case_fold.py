#!/usr/bin/env python3
"""Writes the case-folding ranges of src/str/strbuffer/CaseFold.cpp.

Each UTF-16 unit of the Basic Multilingual Plane is folded to one unit:
Python's str.casefold() where that gives a single character, else its
str.lower() where that gives a single character, else the unit itself (so
"ß" stays "ß", and "ẞ" becomes "ß"). The mapping is printed as ranges of
units that move by the same distance, every unit or every second one:
    {first, last, delta, stride},
Its output is the body of the kRanges table there; the first line names the
Unicode version it was made from.
"""
import unicodedata


def fold(cp):
    c = chr(cp)
    for candidate in (c.casefold(), c.lower()):
        if len(candidate) == 1 and ord(candidate) <= 0xFFFF:
            return ord(candidate)
    return cp


def ranges():
    moved = [(cp, fold(cp) - cp) for cp in range(0x10000)
             if not 0xD800 <= cp <= 0xDFFF and fold(cp) != cp]
    out = []
    for cp, delta in moved:
        if out:
            first, last, d, stride = out[-1]
            if d == delta and stride in (0, cp - last) and cp - last in (1, 2):
                out[-1] = (first, cp, d, cp - last)
                continue
        out.append((cp, cp, delta, 0))
    return [(f, l, d, s or 1) for f, l, d, s in out]


if __name__ == "__main__":
    print("// Unicode %s" % unicodedata.unidata_version)
    for first, last, delta, stride in ranges():
        print("    {0x%04X, 0x%04X, %d, %d}," % (first, last, delta, stride))

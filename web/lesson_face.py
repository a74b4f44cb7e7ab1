#!/usr/bin/env python3
"""Cuts the lesson's face down to what the lesson can show.

Keeps every character of the program's string and character literals (read
from its C++ sources, comments left out), printable ASCII, the full-width
forms, kana and the punctuation of Japanese text, and renames the result:
a font derived from another may not carry the original's name.

Usage: lesson_face.py FONT OUT FAMILY SOURCE...
"""
import re
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

# Printable ASCII, Latin-1 signs the lesson may print (×, ÷, °, ²), general
# punctuation (dashes, quotes, …, ※ and arrows), CJK symbols and
# punctuation, hiragana, katakana, full-width forms.
RANGES = [(0x20, 0x7E), (0xA0, 0xFF), (0x2010, 0x2027), (0x2030, 0x203B),
          (0x2190, 0x2193), (0x2212, 0x2212), (0x25A0, 0x25CF), (0x3000, 0x303F),
          (0x3040, 0x309F), (0x30A0, 0x30FF), (0xFF01, 0xFF5E), (0xFF61, 0xFF9F)]

TOKEN = re.compile(r'//[^\n]*|/\*.*?\*/|R"([^(]*)\((.*?)\)\1"|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'',
                   re.S)


def literal_characters(text):
    """The characters inside the string and character literals of C++ text."""
    chars = set()
    for match in TOKEN.finditer(text):
        token = match.group(0)
        if token.startswith('//') or token.startswith('/*'):
            continue
        body = match.group(2) if token.startswith('R"') else token[1:-1]
        chars.update(body)
    return chars


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    font_path, out_path, family = argv[1:4]
    chars = set()
    for path in argv[4:]:
        with open(path, encoding='utf-8') as source:
            chars |= literal_characters(source.read())
    for first, last in RANGES:
        chars.update(chr(c) for c in range(first, last + 1))
    chars = {c for c in chars if c.isprintable() or c == ' '}

    options = subset.Options()
    options.name_IDs = ['*']
    options.name_languages = ['*']
    options.notdef_outline = True
    font = TTFont(font_path)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=''.join(sorted(chars)))
    subsetter.subset(font)

    names = {1: family, 3: family + ' (subset)', 4: family, 6: family, 16: family, 17: 'Regular'}
    name_table = font['name']
    for record in list(name_table.names):
        if record.nameID in (1, 2, 3, 4, 6, 16, 17, 18, 21, 22):
            name_table.removeNames(nameID=record.nameID)
    for name_id, value in names.items():
        name_table.setName(value, name_id, 3, 1, 0x409)
        name_table.setName(value, name_id, 1, 0, 0)
    font.save(out_path)


if __name__ == '__main__':
    main(sys.argv)

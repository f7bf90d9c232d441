#!/usr/bin/python3
"""Builds the Cyrillic display font "Helvetica Ciril" from DejaVu Sans.

Font text is 7-bit ASCII in which some letters and punctuation stand for Serbian Cyrillic
letters. This font draws those ASCII characters with the Cyrillic glyphs they stand for and
every other character as DejaVu Sans draws it. Real Cyrillic letters (U+0400 block) keep their
own glyphs.

Usage: /usr/bin/python3 fonts/make_cyrillic_font.py [source.ttf] [output.ttf]
Needs python3-fonttools and fonts-dejavu-core.
"""

import os
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
OUTPUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "HelveticaCiril.ttf")

FAMILY = "Helvetica Ciril"
POSTSCRIPT = "HelveticaCiril"

# ASCII character -> the Cyrillic letter it stands for.
LETTERS = {
    "A": "\u0410", "a": "\u0430",  # А а
    "B": "\u0411", "b": "\u0431",  # Б б
    "V": "\u0412", "v": "\u0432",  # В в
    "G": "\u0413", "g": "\u0433",  # Г г
    "D": "\u0414", "d": "\u0434",  # Д д
    "\\": "\u0402", "|": "\u0452",  # Ђ ђ
    "E": "\u0415", "e": "\u0435",  # Е е
    "@": "\u0416", "`": "\u0436",  # Ж ж
    "Z": "\u0417", "z": "\u0437",  # З з
    "I": "\u0418", "i": "\u0438",  # И и
    "J": "\u0408", "j": "\u0458",  # Ј ј
    "K": "\u041a", "k": "\u043a",  # К к
    "L": "\u041b", "l": "\u043b",  # Л л
    "Q": "\u0409", "q": "\u0459",  # Љ љ
    "M": "\u041c", "m": "\u043c",  # М м
    "N": "\u041d", "n": "\u043d",  # Н н
    "W": "\u040a", "w": "\u045a",  # Њ њ
    "O": "\u041e", "o": "\u043e",  # О о
    "P": "\u041f", "p": "\u043f",  # П п
    "R": "\u0420", "r": "\u0440",  # Р р
    "S": "\u0421", "s": "\u0441",  # С с
    "T": "\u0422", "t": "\u0442",  # Т т
    "]": "\u040b", "}": "\u045b",  # Ћ ћ
    "U": "\u0423", "u": "\u0443",  # У у
    "F": "\u0424", "f": "\u0444",  # Ф ф
    "H": "\u0425", "h": "\u0445",  # Х х
    "C": "\u0426", "c": "\u0446",  # Ц ц
    "^": "\u0427", "~": "\u0447",  # Ч ч
    "X": "\u040f", "x": "\u045f",  # Џ џ
    "Y": "\u040f", "y": "\u045f",  # Џ џ as well
    "[": "\u0428", "{": "\u0448",  # Ш ш
}

# What the font keeps: printable ASCII, Latin-1 and the Cyrillic block.
KEPT = list(range(0x20, 0x7F)) + list(range(0xA0, 0x100)) + list(range(0x400, 0x460))


def build(source, output):
    options = subset.Options()
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.drop_tables += ["FFTM"]
    options.glyph_names = True
    options.hinting = True
    font = TTFont(source, recalcTimestamp=False)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=KEPT)
    subsetter.subset(font)

    best = font.getBestCmap()
    for table in font["cmap"].tables:
        if not table.isUnicode():
            continue
        for ascii_char, letter in LETTERS.items():
            table.cmap[ord(ascii_char)] = best[ord(letter)]

    names = font["name"]
    version = names.getDebugName(5) or "Version 1.0"
    for record in list(names.names):
        if record.nameID in (1, 4, 16, 18, 21):
            record.string = FAMILY
        elif record.nameID == 2 or record.nameID == 17:
            record.string = "Book"
        elif record.nameID == 3:
            record.string = POSTSCRIPT + " " + version
        elif record.nameID == 6 or record.nameID == 20:
            record.string = POSTSCRIPT
    names.names = [r for r in names.names if r.nameID not in (16, 17, 18, 21)]
    names.setName(FAMILY, 1, 3, 1, 0x409)
    names.setName(FAMILY, 4, 3, 1, 0x409)
    names.setName(POSTSCRIPT, 6, 3, 1, 0x409)
    # The glyphs are DejaVu's, reworked: keep its copyright and licence records and say so.
    names.setName("Helvetica Ciril: the Cyrillic display font of QovCom, derived from DejaVu "
                  "Sans (Bitstream Vera derivative) by mapping ASCII codes to Cyrillic glyphs.",
                  10, 3, 1, 0x409)

    if "post" in font:
        font["post"].formatType = 3.0  # no glyph names needed
    font.save(output, reorderTables=True)


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else SOURCE
    output = sys.argv[2] if len(sys.argv) > 2 else OUTPUT
    build(source, output)
    print("wrote", output)


if __name__ == "__main__":
    main()

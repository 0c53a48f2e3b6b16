#!/usr/bin/env python3
"""Writes the 13 x 13 menu glyphs of the context-menu commands as 24-bit BMPs.

Each glyph is drawn below as text: '.' is the menu background (white), the other
letters are colours from PALETTE. Run it here after changing a drawing.
"""
import struct

PALETTE = {'.': (255, 255, 255), 'k': (0, 0, 0), 'y': (224, 176, 0), 'g': (128, 128, 128),
           'b': (0, 64, 192), 'r': (192, 0, 0), 'w': (255, 255, 255), 'f': (240, 200, 80)}

GLYPHS = {
    'encrypt': """
....kkkkk....
...k.....k...
..k.......k..
..k.......k..
..k.......k..
.kkkkkkkkkkk.
.kyyyyyyyyyk.
.kyyyykyyyyk.
.kyyykkkyyyk.
.kyyyykyyyyk.
.kyyyykyyyyk.
.kyyyyyyyyyk.
.kkkkkkkkkkk.""",
    'decrypt': """
.......kkkkk.
......k.....k
.....k.......
.....k.......
.....k.......
.kkkkkkkkkkk.
.kyyyyyyyyyk.
.kyyyykyyyyk.
.kyyykkkyyyk.
.kyyyykyyyyk.
.kyyyykyyyyk.
.kyyyyyyyyyk.
.kkkkkkkkkkk.""",
    'shred': """
..kkkkkkkk...
..kwwwwwwk...
..kwgggwwk...
..kwwwwwwk...
..kwggggwk...
kkkkkkkkkkkkk
kgggggggggggk
kkkkkkkkkkkkk
..k.k.k.k.k..
..k.k.k.k.k..
.k.k.k.k.k...
..k.k.k.k.k..
.k.k.k.k.k...""",
    'quickview': """
.............
.............
....kkkkk....
..kk.....kk..
.k...kkk...k.
k...kbbbk...k
k...kbkbk...k
k...kbbbk...k
.k...kkk...k.
..kk.....kk..
....kkkkk....
.............
.............""",
    'encexe': """
kkkkkkkkkkkkk
kbbbbbbbbbbbk
kkkkkkkkkkkkk
kwwwwwwwwwwwk
kwwwwkkkwwwwk
kwwwkwwwkwwwk
kwwwkwwwkwwwk
kwwkkkkkkkwwk
kwwkyyyyykwwk
kwwkyykyykwwk
kwwkyyyyykwwk
kwwkkkkkkkwwk
kkkkkkkkkkkkk""",
    'autocipher': """
.............
.kkkk........
kffffk.......
kfffffkkkkkk.
kffffffffffk.
kfffffkkkffk.
kffffkfffkfk.
kffffkfffkfk.
kfffkkkkkkkk.
kfffkyyyyykk.
kfffkyykyykk.
kkkkkyyyyyk..
....kkkkkkk..""",
}


def write_bmp(name, art):
    rows = [r for r in art.strip('\n').split('\n')]
    h, w = len(rows), len(rows[0])
    assert all(len(r) == w for r in rows), name
    stride = (w * 3 + 3) & ~3
    pixels = b''
    for r in reversed(rows):
        line = b''.join(bytes(reversed(PALETTE[c])) for c in r)
        pixels += line + b'\0' * (stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(name + '.bmp', 'wb') as f:
        f.write(header + info + pixels)


for glyph_name, drawing in GLYPHS.items():
    write_bmp(glyph_name, drawing)

#!/usr/bin/env python3
"""Writes VTS_01_0.IFO, a small title-set IFO for trying out the palette load.

It holds only what Tesmora reads from a title set's IFO, at the positions the
DVD-Video layout gives them, and zeros everywhere else:

  offset 0      the identifier "DVDVIDEO-VTS"
  offset 204    the sector of the program-chain table (big-endian, 4 bytes)
  table + 12    the start of the first program chain within the table
  chain + 164   its 16-entry colour table, 4 bytes an entry: 0, Y, Cr, Cb
  offset 512    the video attributes; 0x50 in the first byte marks PAL

Entries 0, 1 and 2 are neutral greys (Cr = Cb = 0x80), one in each brightness
band, so the palette counts as polychromatic: Background and Outline go to 0,
Antialias to 1 and Text to 2. The other entries are colours.

Usage: python3 examples/make_ifo.py [OUTPUT] [--ntsc] [--monochrome]
(OUTPUT defaults to VTS_01_0.IFO beside this script; --monochrome writes no
middle grey, which makes Tesmora fall back to its generic palette.)
"""

import pathlib
import struct
import sys

USAGE = "usage: python3 make_ifo.py [OUTPUT] [--ntsc] [--monochrome]"
SECTOR = 2048
TABLE_SECTOR = 1  # the program-chain table starts in the second sector
CHAIN_START = 0x10  # first chain, counted from the table's start

# (Y, Cr, Cb) of entries 0 to 15.
COLOURS = [
    (0x10, 0x80, 0x80),  # dark grey: Background and Outline
    (0x80, 0x80, 0x80),  # middle grey: Antialias
    (0xEB, 0x80, 0x80),  # light grey: Text
    (0xD2, 0x92, 0x10),  # yellow
    (0x51, 0xF0, 0x5A),  # red
    (0x91, 0x22, 0x36),  # green
    (0x29, 0x6E, 0xF0),  # blue
    (0xAA, 0x10, 0xA6),  # cyan
    (0x6A, 0xDE, 0xCA),  # magenta
    (0x9C, 0xB8, 0x3A),  # orange
    (0x40, 0x70, 0x60),  # dark olive
    (0xC0, 0x60, 0x90),  # pale green
    (0x60, 0xA0, 0xB0),  # purple
    (0xB0, 0x90, 0x50),  # sand
    (0x30, 0x90, 0xC0),  # navy
    (0xE0, 0x88, 0x70),  # cream
]


def ifo_bytes(pal: bool, monochrome: bool) -> bytes:
    table = TABLE_SECTOR * SECTOR
    chain = table + CHAIN_START
    data = bytearray(2 * SECTOR)
    data[0:12] = b"DVDVIDEO-VTS"
    struct.pack_into(">I", data, 204, TABLE_SECTOR)
    struct.pack_into(">I", data, table + 12, CHAIN_START)
    colours = list(COLOURS)
    if monochrome:
        colours[1] = (0x80, 0x70, 0x90)  # no longer grey: the middle band stays empty
    for n, (y, cr, cb) in enumerate(colours):
        struct.pack_into(">4B", data, chain + 164 + 4 * n, 0, y, cr, cb)
    data[512] = 0x50 if pal else 0x40
    return bytes(data)


def main(arguments: list[str]) -> int:
    flags = {a for a in arguments if a.startswith("--")}
    unknown = flags - {"--ntsc", "--monochrome"}
    paths = [a for a in arguments if not a.startswith("--")]
    if unknown or len(paths) > 1:
        print(USAGE, file=sys.stderr)
        return 2
    target = pathlib.Path(paths[0]) if paths else pathlib.Path(__file__).with_name("VTS_01_0.IFO")
    target.write_bytes(ifo_bytes(pal="--ntsc" not in flags, monochrome="--monochrome" in flags))
    print(f"wrote {target}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

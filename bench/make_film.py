#!/usr/bin/env python3
"""Writes the benchmark film: an SRT file of two-line cues, about 35
characters a line, 2.4 seconds each with 0.6 s between them.

The words come from a fixed list and a seeded generator, so every run writes
the same file.

Usage: python3 bench/make_film.py OUTPUT.srt [CUES]   (CUES defaults to 1500)
"""

import random
import sys

WORDS = (
    "the harbour fog lifted slowly over grey water while boats rocked at "
    "their moorings and gulls circled above the pier where old sailors "
    "mended nets talked of storms tides and distant coasts nobody had seen "
    "for years a lamp burned in the lighthouse window every night"
).split()

LINE_LENGTH = 35


def line(generator: random.Random) -> str:
    words = []
    while True:
        word = generator.choice(WORDS)
        if words and len(" ".join(words + [word])) > LINE_LENGTH:
            break
        words.append(word)
    text = " ".join(words)
    return text[0].upper() + text[1:]


def timestamp(ms: int) -> str:
    hours, ms = divmod(ms, 3_600_000)
    minutes, ms = divmod(ms, 60_000)
    seconds, ms = divmod(ms, 1000)
    return f"{hours:02}:{minutes:02}:{seconds:02},{ms:03}"


def film(cues: int) -> str:
    generator = random.Random(1500)
    blocks = []
    for n in range(cues):
        start = 1000 + n * 3000
        blocks.append(
            f"{n + 1}\r\n{timestamp(start)} --> {timestamp(start + 2400)}\r\n"
            f"{line(generator)},\r\n{line(generator)}.\r\n"
        )
    return "\r\n".join(blocks)


def main(arguments: list[str]) -> int:
    if not 1 <= len(arguments) <= 2:
        print("usage: python3 make_film.py OUTPUT.srt [CUES]", file=sys.stderr)
        return 2
    cues = int(arguments[1]) if len(arguments) == 2 else 1500
    with open(arguments[0], "w", encoding="ascii", newline="") as output:
        output.write(film(cues))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

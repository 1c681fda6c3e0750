#!/usr/bin/env python3
"""Writes the benchmark film: an SRT file of two-line cues, about 35
characters a line, by default 2.4 seconds each, starting 3 seconds apart.

The words come from a fixed list and a seeded generator, so every run writes
the same file.

Usage: python3 bench/make_film.py OUTPUT.srt [CUES] [--spacing-ms MS] [--duration-ms MS]
(CUES defaults to 1500.) A long film that must stay within the 13 hours of
the 90 kHz clock needs its cues closer, e.g. 150000 cues with
--spacing-ms 300 --duration-ms 240.
"""

import argparse
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


def film(cues: int, spacing_ms: int = 3000, duration_ms: int = 2400) -> str:
    generator = random.Random(1500)
    blocks = []
    for n in range(cues):
        start = 1000 + n * spacing_ms
        blocks.append(
            f"{n + 1}\r\n{timestamp(start)} --> {timestamp(start + duration_ms)}\r\n"
            f"{line(generator)},\r\n{line(generator)}.\r\n"
        )
    return "\r\n".join(blocks)


def main(arguments: list[str]) -> int:
    parser = argparse.ArgumentParser(prog="make_film.py", description="Writes the benchmark film.")
    parser.add_argument("output", metavar="OUTPUT.srt")
    parser.add_argument("cues", metavar="CUES", nargs="?", type=int, default=1500)
    parser.add_argument("--spacing-ms", type=int, default=3000, help="from one start to the next")
    parser.add_argument("--duration-ms", type=int, default=2400, help="how long each cue shows")
    options = parser.parse_args(arguments)
    if options.cues < 1 or options.spacing_ms < 1 or options.duration_ms < 1:
        parser.error("CUES, --spacing-ms and --duration-ms must be at least 1")
    with open(options.output, "w", encoding="ascii", newline="") as output:
        output.write(film(options.cues, options.spacing_ms, options.duration_ms))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

#!/usr/bin/env python3
"""Writes subtitle files of the shapes that once took time or memory growing
with the square of their size, for measuring the converter on them.

  long-line  one cue of one line of short words, BYTES long (use --wrap)
  styled-line  the same with every other word in italics
  italics    one cue of one line of "<i>" repeated, BYTES long
  staircase  CUES cues, each starting 100 ms after the one before and all
             still shown when the last starts
  identical  CUES cues, all with the same times and text

Usage: python3 bench/make_hard_shapes.py SHAPE OUTPUT.srt [--bytes N] [--cues N]
Each file is at most the 64 MiB a subtitle file may hold when N asks so.
"""

import argparse


def time_text(ms: int) -> str:
    hours, ms = divmod(ms, 3_600_000)
    minutes, ms = divmod(ms, 60_000)
    seconds, ms = divmod(ms, 1000)
    return f"{hours:02}:{minutes:02}:{seconds:02},{ms:03}"


def cue(number: int, start: int, end: int, text: str) -> str:
    return f"{number}\n{time_text(start)} --> {time_text(end)}\n{text}\n\n"


def one_line(body: str) -> str:
    return cue(1, 1000, 5000, body)


def repeated(unit: str, size: int) -> str:
    return unit * max(1, size // len(unit))


def main() -> None:
    parser = argparse.ArgumentParser()
    parser.add_argument("shape", choices=["long-line", "styled-line", "italics", "staircase", "identical"])
    parser.add_argument("output")
    parser.add_argument("--bytes", type=int, default=1_300_000)
    parser.add_argument("--cues", type=int, default=1000)
    args = parser.parse_args()
    if args.shape == "long-line":
        text = one_line(repeated("word ", args.bytes).rstrip())
    elif args.shape == "styled-line":
        text = one_line(repeated("<i>word</i> word ", args.bytes).rstrip())
    elif args.shape == "italics":
        text = one_line(repeated("<i>", args.bytes))
    elif args.shape == "staircase":
        end = 1000 + 100 * args.cues + 5000
        text = "".join(cue(n, 1000 + 100 * n, end, f"Step {n}") for n in range(1, args.cues + 1))
    else:
        text = "".join(cue(n, 1000, 5000, "Same words") for n in range(1, args.cues + 1))
    with open(args.output, "w", encoding="utf-8", newline="\n") as out:
        out.write(text)


if __name__ == "__main__":
    main()

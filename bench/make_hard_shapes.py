#!/usr/bin/env python3
"""Writes subtitle files of the shapes that once took time or memory growing
with the square of their size, for measuring the converter on them.

  long-line  one cue of one line of short words, BYTES long (use --wrap)
  styled-line  the same with every other word in italics
  italics    one cue of one line of "<i>" repeated, BYTES long
  staircase  CUES cues, each starting 100 ms after the one before and all
             still shown when the last starts
  identical  CUES cues, all with the same times and text
  tall       one cue of LINES short lines, written as the OUTPUT's extension
             asks: .srt, .vtt, .ass or MicroDVD's .sub (the one cue of many
             lines is the same for every reader)

Usage: python3 bench/make_hard_shapes.py SHAPE OUTPUT.srt [--bytes N] [--cues N] [--lines N]
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


def tall(output: str, count: int) -> str:
    lines = [f"Line {n}" for n in range(1, count + 1)]
    if output.endswith(".vtt"):
        return "WEBVTT\n\n00:00:01.000 --> 00:00:05.000\n" + "\n".join(lines) + "\n"
    if output.endswith(".ass"):
        return (
            "[Script Info]\nScriptType: v4.00+\nPlayResX: 1920\nPlayResY: 1080\n\n"
            "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, "
            "OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, "
            "Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, "
            "MarginV, Encoding\nStyle: Default,Arial,48,&H00FFFFFF,&H000000FF,&H00000000,"
            "&H00000000,0,0,0,0,100,100,0,0,1,2,0,2,10,10,10,1\n\n"
            "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, "
            "Effect, Text\nDialogue: 0,0:00:01.00,0:00:05.00,Default,,0,0,0,,"
            + "\\N".join(lines)
            + "\n"
        )
    if output.endswith(".sub"):
        return "{1}{1}25.000\n{25}{125}" + "|".join(lines) + "\n"
    return one_line("\n".join(lines))


def main() -> None:
    parser = argparse.ArgumentParser()
    parser.add_argument(
        "shape", choices=["long-line", "styled-line", "italics", "staircase", "identical", "tall"]
    )
    parser.add_argument("output")
    parser.add_argument("--bytes", type=int, default=1_300_000)
    parser.add_argument("--cues", type=int, default=1000)
    parser.add_argument("--lines", type=int, default=200_000)
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
    elif args.shape == "tall":
        text = tall(args.output, args.lines)
    else:
        text = "".join(cue(n, 1000, 5000, "Same words") for n in range(1, args.cues + 1))
    with open(args.output, "w", encoding="utf-8", newline="\n") as out:
        out.write(text)


if __name__ == "__main__":
    main()

// The --help text of the command-line converter.
#include "cli/CliConsole.h"
#include "cli/CliOptions.h"

namespace tesmora::cli {

std::string UsageText() {
  return std::string("Usage: ") + kProgramName + " [options] SUBTITLE_FILE...\n" +
         "  or:  " + kProgramName + R"( --palette [--ifo FILE | --standard pal|ntsc]
  or:  )" +
         kProgramName + R"( --check FILE.sup...

Converts a text subtitle file (SRT .srt, MicroDVD .sub or .txt, WebVTT .vtt)
into a DVD subpicture stream, Generated.sup, and writes Tesmora_Help_File.txt
beside it, which tells how to bring the palette into the disc. Both go into the
subtitle file's folder unless --output-dir names another. Several subtitle files are
converted one by one, each into files named after it (film.srt: film.sup).

Palette:
  --ifo FILE             take the palette, the standard and the colour roles
                         from a title set's IFO (VTS_xx_0.IFO); an IFO without
                         a full set of greys falls back to the generic palette
  --no-ifo               use the generic palette (the default)
  --standard pal|ntsc    frame standard of the generic palette (default pal)
  --roles A,O,T,B        palette entries (0-15) of Antialias, Outline, Text
                         and Background (default: 1,0,3,0 with the generic
                         palette, the IFO's neutral greys with --ifo)
  --palette              print the palette ("N HINT RRGGBB" for each entry,
                         then PAL or NTSC) and stop; no SUBTITLE_FILE needed

Times:
  --fps RATE             frame rate of a MicroDVD file (23.976, 24, 25, 29.97,
                         30, 50, 59.94 or any positive decimal); needed for a
                         file that names none, and replaces a file's own
  --convert-fps FROM:TO  a film made at FROM shown at TO: every time is
                         scaled by FROM/TO (23.976:25 plays 4% faster)
  --shift MS             move every subtitle by MS milliseconds (+ later,
                         - earlier); one moved before 0 is refused

Style:
  --font NAME            font family (default Arial)
  --size N               10 12 14 16 18 19 20 21 22 23 24 25 26 28 30 32 34
                         36 38 40 42 44 46 48 50 (default 22)
  --charset NAME         character set of the file's text: ANSI ARABIC BALTIC
                         CHINESEBIG5 DEFAULT EASTEUROPE GB2312 GREEK HANGEUL
                         HEBREW JOHAB MAC OEM RUSSIAN SHIFTJIS SYMBOL THAI
                         TURKISH VIETNAMESE (default DEFAULT)
  --encoding NAME        encoding of the subtitle files: auto (default: UTF-8
                         and UTF-16 are recognised, other text is read in the
                         code page of --charset) or any name iconv knows,
                         such as UTF-8, CP1252 or ISO-8859-7
  --no-markup            draw the text exactly as written, tags included
  --styles file|window   ASS and SSA files: drawn in their own fonts, sizes
                         and places (file, the default) or all in this
                         style, as SRT files are (window)
  --wrap                 break a line too wide for the frame where lines
                         may break (spaces, between CJK characters)
                         instead of refusing the file
  --style NAME           Normal Bold Italic Underline Bold+Italic Bold+Under
                         Bold+It+Und Italic+Under StrikeOut (default Normal)
  --align center|left|right  (default center)
  --offset N             height of the first line above the frame's bottom,
                         8 to 492 (default 30)
  --offset-or N          rows the second line moves up towards the first,
                         -14 to 10, even (default -4; an odd value is taken
                         as the even one above it)
  --outline N            outline width 2, 3 or 4 (default 3)

Output:
  --output-dir DIR       write the files into DIR, an existing folder
  --format LIST          the files to write, comma-separated: sup (the
                         stream), vobsub (NAME.idx and NAME.sub, for FFmpeg,
                         MKVToolNix and players), rgb (NAME.rgb, the palette
                         for dvdauthor), or all (default sup); or for
                         Blu-ray, drawn by libass in the style's font, size,
                         colours, outline and alignment: pgs (NAME.sup, a
                         subtitle stream, PGS), bdn (NAME.xml, BDN XML for
                         authoring suites, with the pictures NAME_0001.png,
                         ... beside it), or pgs,bdn (both from one drawing)
  --video LINES          the Blu-ray video with --format pgs or bdn: 1080
                         (1920x1080, the default), 720 (1280x720), 576 or
                         480 (720 wide); --fps gives its frame rate: 23.976
                         (default), 24, 25, 29.97, 50 or 59.94 at 1080,
                         23.976, 24, 50 or 59.94 at 720, 25 at 576 and 29.97
                         at 480
  --hdr                  with --format pgs: colours for HDR10 video (BT.2020,
                         PQ), white text at 203 nits; otherwise BT.709 (1080,
                         720) or BT.601 (576, 480); refused with bdn, whose
                         PNG pictures are plain RGB. --ifo, --standard,
                         --roles, --language and --offset-or are DVD choices
                         and are refused with --format pgs or bdn
  --name STEM            name of the files before their extensions (default
                         Generated; with several subtitle files, each one's
                         own name); only with a single SUBTITLE_FILE
  --language CODE        two-letter ISO 639-1 language of the VobSub track
                         (default en)
  --forced               mark every subtitle as forced: players show it even
                         with subtitles switched off
  --forced-style NAME    with --format pgs and an ASS/SSA file: mark forced
                         the subtitles of the file's style NAME alone

Checking:
  --check                read each FILE.sup as a Blu-ray subtitle (PGS)
                         stream, from any program, and list every breach of
                         the format and of the players' decoder model with
                         its display set and time; exit 0 when all are
                         clean, 1 when any breach is found, 2 when a file
                         cannot be read

Other:
  -j, --jobs N           draw and encode the subtitles on N threads (default:
                         one per core); every count writes the same bytes
  --quiet                no progress line and no closing help message
  -h, --help             show this text and stop
  --version              show the version and stop

Exit status: 0 done; 1 input refused (nothing written); 2 wrong command line;
3 the files could not be written. With several subtitle files, the highest
status of their conversions.

Documents: README.md, making-a-dvd.md (a DVD with free tools) and the
example script examples/author-dvd.sh are installed in
)" TESMORA_DOC_DIR "\n";
}

}  // namespace tesmora::cli

#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "output/FormatFiles.h"
#include "render/SubtitleStyle.h"
#include "subtitles/AssReader.h"
#include "subtitles/FrameReader.h"
#include "sup/SupPacket.h"
#include "timing/TimeChange.h"

namespace tesmora::cli {

// The television standard of the generic palette's frames.
enum class Standard { Pal, Ntsc };

using tesmora::OutputFormats;

// What a conversion run is asked to do.
struct CliOptions {
  QStringList subtitlePaths;          // every SUBTITLE_FILE, in the given order
  QString subtitlePath;               // the first; empty only when listing the palette
  QString outputDir;                  // empty: the subtitle file's folder
  QString ifoPath;                    // empty: the generic palette
  Standard standard = Standard::Pal;  // frames of the generic palette
  SubtitleStyle style;
  int outlineWidth = 3;
  // Palette entries of the roles; empty: those the palette's load picks.
  std::optional<RolePaletteIndices> roles;
  bool listPalette = false;
  bool check = false;  // --check: the files are PGS streams to check
  bool quiet = false;
  QString outputName;                       // --name; empty: see OutputStem
  QString language = QStringLiteral("en");  // ISO 639-1, lower-case, for the .idx
  OutputFormats formats;
  // --format pgs: a Blu-ray subtitle stream NAME.sup drawn by libass, in
  // place of the DVD formats.
  bool pgs = false;
  // --format bdn: BDN XML NAME.xml with a PNG for each picture, drawn like
  // the stream; with pgs both come from one drawing.
  bool bdn = false;
  bool bluRay() const { return pgs || bdn; }
  int videoLines = 1080;  // --video: the Blu-ray video's lines
  bool hdr = false;       // --hdr: BT.2020 colours with the PQ curve
  bool forced = false;    // every unit shown even with subtitles switched off
  // --forced-style: the ASS style whose events the Blu-ray stream marks
  // forced; empty for none.
  std::string forcedStyle;
  std::string encoding = "auto";  // --encoding: "auto" or a name iconv knows
  bool noMarkup = false;          // --no-markup: the text drawn exactly as written
  bool wrap = false;              // --wrap: overlong lines broken at spaces
  // --styles: whose styles draw ASS and SSA files, theirs or the window's.
  CueStyles styles = CueStyles::File;
  // Times: the rate of MicroDVD frames (replacing the file's own), a rate
  // conversion, then a shift in ms, applied in this order.
  std::optional<ChosenFrameRate> fps;
  std::optional<RateConversion> rateConversion;
  std::string rateConversionText;  // as given, for the closing message
  long long shiftMs = 0;
  // -j/--jobs: the threads that draw and encode the subtitles; 0: one per
  // core. The output is the same for every count.
  int jobs = 0;
};

// The threads a run with `jobs` uses: the count itself, or with 0 one per
// core the system reports (at least one).
int WorkerCount(int jobs);

// The name the outputs of `subtitlePath` take before their extensions:
// --name if given, "Generated" for a single file, and with several files
// the file's own name without its last extension ("film.en.srt" ->
// "film.en").
QString OutputStem(const CliOptions& options, const QString& subtitlePath);

// The names of the files a conversion into `stem` writes besides the help
// file, in the order the help text lists them: STEM.sup, STEM.idx,
// STEM.sub and STEM.rgb, each if chosen.
QStringList OutputFileNames(const OutputFormats& formats, const QString& stem);

// The absolute folder the outputs of `subtitlePath` go to: --output-dir,
// or else the subtitle file's folder. Whether it exists is not checked.
QString OutputFolderPath(const CliOptions& options, const QString& subtitlePath);

enum class CommandAction { Run, Help, Version, UsageError };

// The command line read: what to do, the options of a run, and for a usage
// error the text that explains it (without the program name).
struct Command {
  CommandAction action = CommandAction::Run;
  CliOptions options;
  std::string error;
};

// Reads the arguments that follow the program name. "--name value" and
// "--name=value" both work; "--" ends the options. Every value is checked
// here, so a run starts only with a complete, valid set.
Command ParseCommandLine(const QStringList& arguments);

// The --help text, and the short hint printed after a usage error.
std::string UsageText();
std::string UsageHint();

}  // namespace tesmora::cli

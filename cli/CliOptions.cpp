#include "cli/CliOptions.h"

#include "files/FileAccess.h"
#include "files/FileIdentity.h"
#include "files/OverwrittenInput.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <map>

#include "cli/CliConsole.h"
#include "conversion/ConversionChoices.h"
#include "conversion/ParallelUnits.h"
#include "conversion/PgsRun.h"
#include "conversion/RunFiles.h"
#include "files/FileNames.h"
#include "output/HelpFile.h"
#include "render/NameTables.h"

namespace tesmora::cli {
namespace {

const QStringList kSizes = {"10", "12", "14", "16", "18", "19", "20", "21", "22",
                            "23", "24", "25", "26", "28", "30", "32", "34", "36",
                            "38", "40", "42", "44", "46", "48", "50"};
const QStringList kCharsets = {"ANSI",       "ARABIC", "BALTIC",  "CHINESEBIG5", "DEFAULT",
                               "EASTEUROPE", "GB2312", "GREEK",   "HANGEUL",     "HEBREW",
                               "JOHAB",      "MAC",    "OEM",     "RUSSIAN",     "SHIFTJIS",
                               "SYMBOL",     "THAI",   "TURKISH", "VIETNAMESE"};
const QStringList kStyles = {"Normal",      "Bold",         "Italic",
                             "Underline",   "Bold+Italic",  "Bold+Under",
                             "Bold+It+Und", "Italic+Under", "StrikeOut"};
const QStringList kAligns = {"center", "left", "right"};
const QStringList kStandards = {"pal", "ntsc"};
const QStringList kOutlines = {"2", "3", "4"};
const QStringList kVideoLines = {"1080", "720", "576", "480"};
constexpr int kMaxJobs = kMostWorkers;

// A command-line fault; its text names the option and what it accepts.
struct UsageError {
  std::string text;
};

[[noreturn]] void Refuse(const QString& text) {
  throw UsageError{text.toStdString()};
}

QString Got(const QString& value) {
  return QStringLiteral(" (got '") + value + QStringLiteral("')");
}

// The list's own spelling of `value`; names are matched regardless of case.
QString OneOf(const QString& option, const QString& value, const QStringList& items) {
  for (const QString& item : items) {
    if (item.compare(value, Qt::CaseInsensitive) == 0) {
      return item;
    }
  }
  Refuse(option + QStringLiteral(" must be one of ") + items.join(QStringLiteral(", ")) +
         Got(value));
}

// A plain decimal number, or empty for anything else (blanks, hex, overflow).
std::optional<int> WholeNumber(const QString& value) {
  static const QRegularExpression kDecimal(QStringLiteral("^[+-]?[0-9]{1,9}$"));
  if (!kDecimal.match(value).hasMatch()) {
    return std::nullopt;
  }
  return value.toInt();
}

int NumberIn(const QString& option, const QString& value, int low, int high) {
  const std::optional<int> number = WholeNumber(value);
  if (!number || *number < low || *number > high) {
    Refuse(option + QStringLiteral(" must be a whole number from %1 to %2").arg(low).arg(high) +
           Got(value));
  }
  return *number;
}

RolePaletteIndices Roles(const QString& value) {
  const QStringList parts = value.split(QLatin1Char(','));
  std::array<int, 4> entries{};
  bool valid = parts.size() == 4;
  for (qsizetype n = 0; valid && n < 4; ++n) {
    const std::optional<int> entry = WholeNumber(parts[n].trimmed());
    valid = entry && *entry >= 0 && *entry <= 15;
    entries[static_cast<std::size_t>(n)] = entry.value_or(0);
  }
  if (!valid) {
    Refuse(QStringLiteral("--roles must be four palette entries from 0 to 15 for Antialias, "
                          "Outline, Text and Background, such as 1,0,3,0") +
           Got(value));
  }
  return {entries[0], entries[1], entries[2], entries[3]};
}

// The slider of the line spacing stops on even positions only: an odd value
// moves to the even one above it.
int EvenOffsetOr(int value) {
  return value % 2 != 0 ? value + 1 : value;
}

QString NonEmpty(const QString& option, const QString& value) {
  if (value.isEmpty()) {
    Refuse(option + QStringLiteral(" needs a non-empty value"));
  }
  return value;
}

ChosenFrameRate FrameRateOption(const QString& value) {
  const std::string text = value.toStdString();
  const std::optional<FrameRate> rate = ParseFrameRate(text);
  if (!rate) {
    Refuse(QStringLiteral("--fps must be a positive frame rate such as 25, 23.976 or 29.97") +
           Got(value));
  }
  return {*rate, text};
}

RateConversion RateConversionOption(const QString& value) {
  const std::optional<RateConversion> conversion = ParseRateConversion(value.toStdString());
  if (!conversion) {
    Refuse(QStringLiteral("--convert-fps must be two frame rates FROM:TO such as 23.976:25") +
           Got(value));
  }
  return *conversion;
}

long long ShiftOption(const QString& value) {
  const std::optional<long long> shift = ParseShift(value.toStdString());
  if (!shift) {
    Refuse(QStringLiteral("--shift must be a whole number of milliseconds such as 1500 or -250") +
           Got(value));
  }
  return *shift;
}

QString LanguageCode(const QString& value) {
  static const QRegularExpression kTwoLetters(QStringLiteral("^[A-Za-z]{2}$"));
  if (!kTwoLetters.match(value).hasMatch()) {
    Refuse(QStringLiteral("--language must be a two-letter ISO 639-1 code such as en or de") +
           Got(value));
  }
  return value.toLower();
}

// The formats of --format, and whether it asks for the Blu-ray stream and
// the BDN XML, which are written apart from the DVD formats: the stream's
// NAME.sup is not the DVD's.
OutputFormats Formats(const QString& value, bool& pgs, bool& bdn) {
  OutputFormats formats{false, false, false};
  const QStringList items = value.split(QLatin1Char(','));
  pgs = false;
  bdn = false;
  bool dvd = false;
  for (const QString& item : items) {
    const QString name = item.toLower();
    if (name == QStringLiteral("pgs")) {
      pgs = true;
    } else if (name == QStringLiteral("bdn")) {
      bdn = true;
    } else if (name == QStringLiteral("all")) {
      dvd = true;
      formats = {true, true, true};
    } else if (name == QStringLiteral("sup")) {
      dvd = true;
      formats.sup = true;
    } else if (name == QStringLiteral("vobsub")) {
      dvd = true;
      formats.vobsub = true;
    } else if (name == QStringLiteral("rgb")) {
      dvd = true;
      formats.rgb = true;
    } else {
      Refuse(QStringLiteral("--format must be a comma-separated list of sup, vobsub and rgb, "
                            "or all, or of the Blu-ray pgs and bdn") +
             Got(value));
    }
  }
  if (pgs && dvd) {
    Refuse(QStringLiteral("--format pgs writes the Blu-ray stream alone; it cannot be listed "
                          "with other formats") +
           Got(value));
  }
  if (bdn && dvd) {
    Refuse(QStringLiteral("--format bdn writes Blu-ray pictures; it can be listed with pgs only") +
           Got(value));
  }
  if (pgs || bdn) {
    formats = {pgs, false, false};
  }
  return formats;
}

// The encoding of the subtitle files: "auto" or a name iconv reads.
std::string Encoding(const QString& value) {
  const std::optional<std::string> name = ParseEncodingChoice(value.toStdString());
  if (!name) {
    Refuse(QStringLiteral("--encoding must be auto or an encoding iconv knows, such as UTF-8 or "
                          "CP1252") +
           Got(value));
  }
  return *name;
}

CueStyles Styles(const QString& value) {
  const std::optional<CueStyles> styles = ParseStylesChoice(value.toStdString());
  if (!styles) {
    Refuse(QStringLiteral("--styles must be file or window") + Got(value));
  }
  return *styles;
}

// A stem names files in the output folder, never a path to somewhere else.
// Control characters are refused: a line break in a file name breaks every
// listing of the files, scripts' as well as the closing message.
QString PlainName(const QString& value) {
  const bool control = std::any_of(value.begin(), value.end(), [](QChar c) {
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
  });
  if (control) {
    Refuse(QStringLiteral("--name must not hold control characters such as line breaks or tabs") +
           Got(value));
  }
  if (!IsPlainOutputName(value.toStdString())) {
    Refuse(QStringLiteral("--name must be a file name without a folder") + Got(value));
  }
  return value;
}

// A thread count: as many as a machine may sensibly run.
int Jobs(const QString& option, const QString& value) {
  return NumberIn(option, value, 1, kMaxJobs);
}

// What the loop over the arguments collects.
struct Reading {
  CliOptions options;
  QStringList files;
  bool noIfo = false;
  bool standardGiven = false;
  // The options that only one of the targets takes, as given, in order.
  QStringList dvdOnly;
  QStringList pgsOnly;
};

using ValueSetter = void (*)(Reading& reading, const QString& value);
using FlagSetter = void (*)(Reading& reading);

const std::map<QString, ValueSetter>& ValueOptions() {
  static const std::map<QString, ValueSetter> kOptions = {
      {"--ifo", [](Reading& r, const QString& v) { r.options.ifoPath = NonEmpty("--ifo", v); }},
      {"--output-dir",
       [](Reading& r, const QString& v) { r.options.outputDir = NonEmpty("--output-dir", v); }},
      {"--standard",
       [](Reading& r, const QString& v) {
         r.standardGiven = true;
         r.options.standard =
             OneOf("--standard", v, kStandards) == "pal" ? Standard::Pal : Standard::Ntsc;
       }},
      {"--font",
       [](Reading& r, const QString& v) { r.options.style.fontName = NonEmpty("--font", v); }},
      {"--size",
       [](Reading& r, const QString& v) {
         r.options.style.size = OneOf("--size", v, kSizes).toInt();
       }},
      {"--charset",
       [](Reading& r, const QString& v) {
         r.options.style.charset = CharsetFromName(OneOf("--charset", v, kCharsets));
       }},
      {"--style",
       [](Reading& r, const QString& v) {
         r.options.style.style = StyleFromName(OneOf("--style", v, kStyles));
       }},
      {"--align",
       [](Reading& r, const QString& v) { r.options.style.align = OneOf("--align", v, kAligns); }},
      {"--offset",
       [](Reading& r, const QString& v) {
         r.options.style.offset = NumberIn("--offset", v, 8, 492);
       }},
      {"--offset-or",
       [](Reading& r, const QString& v) {
         r.options.style.offsetOr = EvenOffsetOr(NumberIn("--offset-or", v, -14, 10));
       }},
      {"--outline",
       [](Reading& r, const QString& v) {
         r.options.outlineWidth = OneOf("--outline", v, kOutlines).toInt();
       }},
      {"--roles", [](Reading& r, const QString& v) { r.options.roles = Roles(v); }},
      {"--name", [](Reading& r, const QString& v) { r.options.outputName = PlainName(v); }},
      {"--language", [](Reading& r, const QString& v) { r.options.language = LanguageCode(v); }},
      {"--format",
       [](Reading& r, const QString& v) {
         r.options.formats = Formats(v, r.options.pgs, r.options.bdn);
       }},
      {"--video",
       [](Reading& r, const QString& v) {
         r.pgsOnly << QStringLiteral("--video");
         r.options.videoLines = OneOf("--video", v, kVideoLines).toInt();
       }},
      {"--forced-style",
       [](Reading& r, const QString& v) {
         r.pgsOnly << QStringLiteral("--forced-style");
         r.options.forcedStyle = NonEmpty("--forced-style", v).toStdString();
       }},
      {"--encoding", [](Reading& r, const QString& v) { r.options.encoding = Encoding(v); }},
      {"--styles", [](Reading& r, const QString& v) { r.options.styles = Styles(v); }},
      {"--fps", [](Reading& r, const QString& v) { r.options.fps = FrameRateOption(v); }},
      {"--convert-fps",
       [](Reading& r, const QString& v) {
         r.options.rateConversion = RateConversionOption(v);
         r.options.rateConversionText = v.trimmed().toStdString();
       }},
      {"--shift", [](Reading& r, const QString& v) { r.options.shiftMs = ShiftOption(v); }},
      {"--jobs", [](Reading& r, const QString& v) { r.options.jobs = Jobs("--jobs", v); }},
      {"-j", [](Reading& r, const QString& v) { r.options.jobs = Jobs("-j", v); }},
  };
  return kOptions;
}

const std::map<QString, FlagSetter>& FlagOptions() {
  static const std::map<QString, FlagSetter> kFlags = {
      {"--no-ifo", [](Reading& r) { r.noIfo = true; }},
      {"--palette", [](Reading& r) { r.options.listPalette = true; }},
      {"--check", [](Reading& r) { r.options.check = true; }},
      {"--quiet", [](Reading& r) { r.options.quiet = true; }},
      {"--forced", [](Reading& r) { r.options.forced = true; }},
      {"--hdr",
       [](Reading& r) {
         r.pgsOnly << QStringLiteral("--hdr");
         r.options.hdr = true;
       }},
      {"--no-markup", [](Reading& r) { r.options.noMarkup = true; }},
      {"--wrap", [](Reading& r) { r.options.wrap = true; }},
  };
  return kFlags;
}

// The options of the DVD picture that the Blu-ray stream has no use for:
// its palette and colour roles come from no IFO, its lines are spaced by
// libass, and its language is named by the muxer.
const QStringList& DvdOnlyOptions() {
  static const QStringList kOptions = {"--ifo", "--standard", "--roles", "--language",
                                       "--offset-or"};
  return kOptions;
}

// The choices of the Blu-ray stream: refused with the DVD's options, the
// frame rate one the video allows.
void CheckBluRayChoices(const Reading& reading) {
  const CliOptions& options = reading.options;
  if (!options.bluRay()) {
    if (!reading.pgsOnly.isEmpty()) {
      const bool hdr = reading.pgsOnly.front() == QStringLiteral("--hdr");
      Refuse(reading.pgsOnly.front() +
             (hdr ? QStringLiteral(" applies only to --format pgs")
                  : QStringLiteral(" applies only to --format pgs or bdn")));
    }
    return;
  }
  const QString format = options.pgs ? QStringLiteral("pgs") : QStringLiteral("bdn");
  if (!reading.dvdOnly.isEmpty()) {
    Refuse(reading.dvdOnly.front() +
           QStringLiteral(" applies only to the DVD formats; it cannot be used with --format ") +
           format);
  }
  if (options.listPalette) {
    Refuse(QStringLiteral("--palette lists the DVD palette; it cannot be used with --format ") +
           format);
  }
  // BDN pictures are plain RGB PNGs that carry no colour space: the
  // authoring suite codes their colours for its video.
  if (options.hdr && options.bdn) {
    Refuse(QStringLiteral("--hdr cannot be used with --format bdn: ") +
           QString::fromLatin1(kHdrWithBdnReason));
  }
  std::optional<double> fps;
  if (options.fps) {
    fps = static_cast<double>(options.fps->rate.numerator) /
          static_cast<double>(options.fps->rate.denominator);
  }
  if (!PgsVideoOf(options.videoLines, fps)) {
    Refuse(QStringLiteral("--fps %1 is no rate of %2-line Blu-ray video, which takes ")
               .arg(QString::fromStdString(options.fps->text))
               .arg(options.videoLines) +
           QString::fromStdString(PgsRatesOf(options.videoLines)));
  }
}

void ReadArguments(const QStringList& arguments, Reading& reading) {
  const auto& values = ValueOptions();
  const auto& flags = FlagOptions();
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QStringLiteral("--")) {
      reading.files += arguments.mid(i + 1);
      return;
    }
    if (!argument.startsWith(QLatin1Char('-')) || argument == QStringLiteral("-")) {
      reading.files << argument;
      continue;
    }
    // "-j4", as make takes it.
    if (argument.size() > 2 && argument.startsWith(QStringLiteral("-j")) &&
        argument[2] != QLatin1Char('=')) {
      reading.options.jobs = Jobs(QStringLiteral("-j"), argument.mid(2));
      continue;
    }
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    const QString name = equals < 0 ? argument : argument.left(equals);
    if (const auto flag = flags.find(name); flag != flags.end()) {
      if (equals >= 0) {
        Refuse(name + QStringLiteral(" takes no value"));
      }
      flag->second(reading);
      continue;
    }
    const auto option = values.find(name);
    if (option == values.end()) {
      Refuse(QStringLiteral("unknown option ") + name);
    }
    if (DvdOnlyOptions().contains(name)) {
      reading.dvdOnly << name;
    }
    if (equals >= 0) {
      option->second(reading, argument.mid(equals + 1));
    } else if (i + 1 < arguments.size()) {
      option->second(reading, arguments[++i]);
    } else {
      Refuse(name + QStringLiteral(" needs a value"));
    }
  }
}

// The faults that only show once every argument is read.
void CheckCombination(const Reading& reading) {
  const CliOptions& options = reading.options;
  if (options.check) {
    if (options.listPalette) {
      Refuse(QStringLiteral("--check and --palette cannot be used together"));
    }
    if (reading.files.isEmpty() || reading.files.contains(QString())) {
      Refuse(QStringLiteral("missing FILE.sup to check"));
    }
    return;
  }
  CheckBluRayChoices(reading);
  if (reading.noIfo && !options.ifoPath.isEmpty()) {
    Refuse(QStringLiteral("--ifo and --no-ifo cannot be used together"));
  }
  if (reading.standardGiven && !options.ifoPath.isEmpty()) {
    Refuse(QStringLiteral("--standard cannot be used with --ifo: the IFO file gives the standard"));
  }
  if (!options.outputName.isEmpty() && reading.files.size() > 1) {
    Refuse(QStringLiteral("--name can only be used with one SUBTITLE_FILE (got %1: ")
               .arg(reading.files.size()) +
           reading.files.join(QStringLiteral(", ")) + QStringLiteral(")"));
  }
  if (!options.listPalette && (reading.files.isEmpty() || reading.files.contains(QString()))) {
    Refuse(QStringLiteral("missing SUBTITLE_FILE"));
  }
}

// Two files whose outputs would land on the same names, so that the later
// run would overwrite the earlier one's files. Folders are compared as the
// file system knows them: "x" and a link "xs" to it are one folder.
void CheckDistinctOutputs(const CliOptions& options) {
  std::map<FileIdentity, QString> written;  // output place without extension -> file
  for (const QString& file : options.subtitlePaths) {
    const QString folder = OutputFolderPath(options, file);
    const QString stem = OutputStem(options, file);
    const auto [at, added] = written.emplace(PlaceIn(folder, stem), file);
    if (!added) {
      Refuse(at->second + QStringLiteral(" and ") + file +
             QStringLiteral(" would both write their files as ") + stem + QStringLiteral(".* in ") +
             QDir::toNativeSeparators(QDir::cleanPath(folder)) +
             QStringLiteral("; convert them in separate calls"));
    }
  }
}

// An output written over one of the subtitle files would destroy it.
void CheckInputsSurvive(const CliOptions& options) {
  QStringList outputs;
  for (const QString& file : options.subtitlePaths) {
    QString folder = OutputFolderPath(options, file);
    if (!folder.endsWith(QLatin1Char('/'))) {
      folder += QLatin1Char('/');
    }
    QStringList names = OutputFileNames(options.formats, OutputStem(options, file));
    names << QString::fromLatin1(kHelpFileName);
    for (const QString& name : names) {
      outputs << folder + name;
    }
  }
  if (const auto overwritten = FindOverwrittenInput(options.subtitlePaths, outputs)) {
    Refuse(QStringLiteral("the subtitle file ") + overwritten->input +
           QStringLiteral(" would be overwritten by the output ") + overwritten->output +
           QStringLiteral("; choose another --name, --format or --output-dir"));
  }
}

}  // namespace

Command ParseCommandLine(const QStringList& arguments) {
  Command command;
  // --help and --version answer whatever else the line holds.
  const QStringList options = arguments.mid(0, arguments.indexOf(QStringLiteral("--")));
  if (options.contains(QStringLiteral("--help")) || options.contains(QStringLiteral("-h"))) {
    command.action = CommandAction::Help;
    return command;
  }
  if (options.contains(QStringLiteral("--version"))) {
    command.action = CommandAction::Version;
    return command;
  }
  Reading reading;
  try {
    ReadArguments(arguments, reading);
    CheckCombination(reading);
    reading.options.subtitlePaths = reading.files;
    reading.options.subtitlePath = reading.files.value(0);
    if (!reading.options.check) {  // checking writes nothing
      CheckDistinctOutputs(reading.options);
      CheckInputsSurvive(reading.options);
    }
  } catch (const UsageError& error) {
    command.action = CommandAction::UsageError;
    command.error = error.text;
    return command;
  }
  command.options = reading.options;
  return command;
}

QString OutputStem(const CliOptions& options, const QString& subtitlePath) {
  if (!options.outputName.isEmpty()) {
    return options.outputName;
  }
  if (options.subtitlePaths.size() <= 1) {
    return QString::fromLatin1(kDefaultOutputName);
  }
  const QFileInfo file(subtitlePath);
  return file.completeBaseName().isEmpty() ? file.fileName() : file.completeBaseName();
}

QStringList OutputFileNames(const OutputFormats& formats, const QString& stem) {
  QStringList names;
  for (const std::string& name : OutputFileNamesOf(formats, FileNameBytes(stem).toStdString())) {
    names << FileNameText(QByteArray::fromStdString(name));
  }
  return names;
}

QString OutputFolderPath(const CliOptions& options, const QString& subtitlePath) {
  return options.outputDir.isEmpty() ? FolderOfFile(subtitlePath) : AbsolutePath(options.outputDir);
}

int WorkerCount(int jobs) {
  if (jobs > 0) {
    return jobs;
  }
  return WorkersPerCore();
}

std::string UsageHint() {
  return std::string("Usage: ") + kProgramName + " [options] SUBTITLE_FILE...\nTry '" +
         kProgramName + " --help' for more information.\n";
}

}  // namespace tesmora::cli

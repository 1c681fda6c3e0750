// Reading the converter's command line: defaults, values, refusals.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "cli/CliOptions.h"
#include "tests/cli/CliHarness.h"

namespace tesmora::cli {
namespace {

using testing::RunConverter;

// The suites' names start with "cli" so that `ctest -R cli` picks them out.

TEST(cliParseCommandLine, GivesTheWindowsStartUpChoicesByDefault) {
  const Command command = ParseCommandLine({"film.srt"});
  ASSERT_EQ(command.action, CommandAction::Run) << command.error;
  const CliOptions& options = command.options;
  EXPECT_EQ(options.subtitlePath, "film.srt");
  EXPECT_TRUE(options.outputDir.isEmpty());
  EXPECT_TRUE(options.ifoPath.isEmpty());
  EXPECT_EQ(options.standard, Standard::Pal);
  EXPECT_EQ(options.style.fontName, "Arial");
  EXPECT_EQ(options.style.size, 22);
  EXPECT_EQ(options.style.charset, charset::kDefault);
  EXPECT_EQ(options.style.style, FontStyle{});
  EXPECT_EQ(options.style.align, "center");
  EXPECT_EQ(options.style.offset, 30);
  EXPECT_EQ(options.style.offsetOr, -4);
  EXPECT_EQ(options.outlineWidth, 3);
  EXPECT_FALSE(options.roles.has_value());
  EXPECT_FALSE(options.listPalette);
  EXPECT_FALSE(options.quiet);
  EXPECT_EQ(options.subtitlePaths, QStringList{"film.srt"});
  EXPECT_TRUE(options.outputName.isEmpty());
  EXPECT_EQ(options.language, "en");
  EXPECT_EQ(options.formats, (OutputFormats{true, false, false}));
  EXPECT_FALSE(options.forced);
  EXPECT_EQ(OutputStem(options, "film.srt"), "Generated");
}

TEST(cliParseCommandLine, ReadsEveryOptionInBothSpellings) {
  const Command command = ParseCommandLine({"--output-dir",
                                            "/out",
                                            "--standard=NTSC",
                                            "--font",
                                            "DejaVu Sans",
                                            "--size=50",
                                            "--charset",
                                            "hebrew",
                                            "--style",
                                            "Bold+It+Und",
                                            "--align=right",
                                            "--offset",
                                            "492",
                                            "--offset-or=-14",
                                            "--outline",
                                            "4",
                                            "--roles",
                                            "4,2,15,0",
                                            "--quiet",
                                            "film.sub"});
  ASSERT_EQ(command.action, CommandAction::Run) << command.error;
  const CliOptions& options = command.options;
  EXPECT_EQ(options.subtitlePath, "film.sub");
  EXPECT_EQ(options.outputDir, "/out");
  EXPECT_EQ(options.standard, Standard::Ntsc);
  EXPECT_EQ(options.style.fontName, "DejaVu Sans");
  EXPECT_EQ(options.style.size, 50);
  EXPECT_EQ(options.style.charset, charset::kHebrew);
  EXPECT_EQ(options.style.style, (FontStyle{.bold = true, .italic = true, .underline = true}));
  EXPECT_EQ(options.style.align, "right");
  EXPECT_EQ(options.style.offset, 492);
  EXPECT_EQ(options.style.offsetOr, -14);
  EXPECT_EQ(options.outlineWidth, 4);
  ASSERT_TRUE(options.roles.has_value());
  EXPECT_EQ(options.roles->antialias, 4);
  EXPECT_EQ(options.roles->outline, 2);
  EXPECT_EQ(options.roles->text, 15);
  EXPECT_EQ(options.roles->background, 0);
  EXPECT_TRUE(options.quiet);

  const Command withIfo = ParseCommandLine({"--ifo", "VTS_01_0.IFO", "--offset=8", "film.srt"});
  ASSERT_EQ(withIfo.action, CommandAction::Run) << withIfo.error;
  EXPECT_EQ(withIfo.options.ifoPath, "VTS_01_0.IFO");
  EXPECT_EQ(withIfo.options.style.offset, 8);
}

TEST(cliParseCommandLine, TakesAnOddLineSpacingAsTheEvenValueAbove) {
  const std::vector<std::pair<const char*, int>> cases = {
      {"-14", -14}, {"-13", -12}, {"-5", -4}, {"-1", 0}, {"0", 0}, {"1", 2}, {"9", 10}, {"10", 10}};
  for (const auto& [given, taken] : cases) {
    const Command command = ParseCommandLine({"--offset-or", given, "film.srt"});
    ASSERT_EQ(command.action, CommandAction::Run) << given << ": " << command.error;
    EXPECT_EQ(command.options.style.offsetOr, taken) << given;
  }
}

TEST(cliParseCommandLine, RefusesEachFaultWithItsReason) {
  const std::string sizes =
      "10, 12, 14, 16, 18, 19, 20, 21, 22, 23, 24, 25, 26, 28, 30, 32, 34, 36, 38, 40, 42, 44, 46, "
      "48, 50";
  const std::vector<std::pair<QStringList, std::string>> cases = {
      {{"--size", "7", "f.srt"}, "--size must be one of " + sizes + " (got '7')"},
      {{"--size", "22.0", "f.srt"}, "--size must be one of " + sizes + " (got '22.0')"},
      {{"--charset", "LATIN1", "f.srt"},
       "--charset must be one of ANSI, ARABIC, BALTIC, CHINESEBIG5, DEFAULT, EASTEUROPE, GB2312, "
       "GREEK, HANGEUL, HEBREW, JOHAB, MAC, OEM, RUSSIAN, SHIFTJIS, SYMBOL, THAI, TURKISH, "
       "VIETNAMESE (got 'LATIN1')"},
      {{"--style", "Heavy", "f.srt"},
       "--style must be one of Normal, Bold, Italic, Underline, Bold+Italic, Bold+Under, "
       "Bold+It+Und, Italic+Under, StrikeOut (got 'Heavy')"},
      {{"--align", "middle", "f.srt"}, "--align must be one of center, left, right (got 'middle')"},
      {{"--standard", "secam", "f.srt"}, "--standard must be one of pal, ntsc (got 'secam')"},
      {{"--outline", "5", "f.srt"}, "--outline must be one of 2, 3, 4 (got '5')"},
      {{"--offset", "7", "f.srt"}, "--offset must be a whole number from 8 to 492 (got '7')"},
      {{"--offset", "493", "f.srt"}, "--offset must be a whole number from 8 to 492 (got '493')"},
      {{"--offset", "3O", "f.srt"}, "--offset must be a whole number from 8 to 492 (got '3O')"},
      {{"--offset", "99999999999", "f.srt"},
       "--offset must be a whole number from 8 to 492 (got '99999999999')"},
      {{"--offset-or", "-15", "f.srt"},
       "--offset-or must be a whole number from -14 to 10 (got '-15')"},
      {{"--offset-or", "11", "f.srt"},
       "--offset-or must be a whole number from -14 to 10 (got '11')"},
      {{"--roles", "1,0,3", "f.srt"},
       "--roles must be four palette entries from 0 to 15 for Antialias, Outline, Text and "
       "Background, such as 1,0,3,0 (got '1,0,3')"},
      {{"--roles", "1,0,3,16", "f.srt"},
       "--roles must be four palette entries from 0 to 15 for Antialias, Outline, Text and "
       "Background, such as 1,0,3,0 (got '1,0,3,16')"},
      {{"--roles", "1,0,x,0", "f.srt"},
       "--roles must be four palette entries from 0 to 15 for Antialias, Outline, Text and "
       "Background, such as 1,0,3,0 (got '1,0,x,0')"},
      {{"--bogus", "f.srt"}, "unknown option --bogus"},
      {{"-x", "f.srt"}, "unknown option -x"},
      {{"--quiet=yes", "f.srt"}, "--quiet takes no value"},
      {{"f.srt", "--size"}, "--size needs a value"},
      {{"--ifo=", "f.srt"}, "--ifo needs a non-empty value"},
      {{}, "missing SUBTITLE_FILE"},
      {{"--quiet"}, "missing SUBTITLE_FILE"},
      {{"--name", "x", "a.srt", "b.srt"},
       "--name can only be used with one SUBTITLE_FILE (got 2: a.srt, b.srt)"},
      {{"--name=", "f.srt"}, "--name must be a file name without a folder (got '')"},
      {{"--name", "out/film", "f.srt"},
       "--name must be a file name without a folder (got 'out/film')"},
      {{"--name", "..\\film", "f.srt"},
       "--name must be a file name without a folder (got '..\\film')"},
      {{"--name", "..", "f.srt"}, "--name must be a file name without a folder (got '..')"},
      {{"--language", "eng", "f.srt"},
       "--language must be a two-letter ISO 639-1 code such as en or de (got 'eng')"},
      {{"--language", "e1", "f.srt"},
       "--language must be a two-letter ISO 639-1 code such as en or de (got 'e1')"},
      {{"--language", "\u00e9s", "f.srt"},
       "--language must be a two-letter ISO 639-1 code such as en or de (got '\u00e9s')"},
      {{"--format", "sup,pdf", "f.srt"},
       "--format must be a comma-separated list of sup, vobsub and rgb, or all, or of the Blu-ray "
       "pgs and bdn (got 'sup,pdf')"},
      {{"--format", "sup,", "f.srt"},
       "--format must be a comma-separated list of sup, vobsub and rgb, or all, or of the Blu-ray "
       "pgs and bdn (got 'sup,')"},
      {{"--format=", "f.srt"},
       "--format must be a comma-separated list of sup, vobsub and rgb, or all, or of the Blu-ray "
       "pgs and bdn (got '')"},
      {{"--forced=yes", "f.srt"}, "--forced takes no value"},
      {{"--encoding", "KLINGON-8", "f.srt"},
       "--encoding must be auto or an encoding iconv knows, such as UTF-8 or CP1252 (got "
       "'KLINGON-8')"},
      {{"--encoding=", "f.srt"},
       "--encoding must be auto or an encoding iconv knows, such as UTF-8 or CP1252 (got '')"},
      {{"--wrap=yes", "f.srt"}, "--wrap takes no value"},
      {{"a.srt", ""}, "missing SUBTITLE_FILE"},
      {{"--ifo", "x.IFO", "--no-ifo", "f.srt"}, "--ifo and --no-ifo cannot be used together"},
      {{"--standard", "ntsc", "--ifo", "x.IFO", "f.srt"},
       "--standard cannot be used with --ifo: the IFO file gives the standard"},
  };
  for (const auto& [arguments, reason] : cases) {
    const Command command = ParseCommandLine(arguments);
    EXPECT_EQ(command.action, CommandAction::UsageError) << arguments.join(' ').toStdString();
    EXPECT_EQ(command.error, reason);
  }
}

TEST(cliParseCommandLine, ReadsTheThreadCountInEverySpelling) {
  EXPECT_EQ(ParseCommandLine({"f.srt"}).options.jobs, 0);
  for (const QStringList& arguments :
       {QStringList{"-j", "3", "f.srt"}, QStringList{"-j3", "f.srt"},
        QStringList{"--jobs", "3", "f.srt"}, QStringList{"--jobs=3", "f.srt"}}) {
    const Command command = ParseCommandLine(arguments);
    ASSERT_EQ(command.action, CommandAction::Run) << command.error;
    EXPECT_EQ(command.options.jobs, 3) << arguments.join(' ').toStdString();
  }
  const std::vector<std::pair<QStringList, std::string>> refused = {
      {{"-j", "0", "f.srt"}, "-j must be a whole number from 1 to 256 (got '0')"},
      {{"-jx", "f.srt"}, "-j must be a whole number from 1 to 256 (got 'x')"},
      {{"--jobs", "257", "f.srt"}, "--jobs must be a whole number from 1 to 256 (got '257')"},
      {{"f.srt", "-j"}, "-j needs a value"},
  };
  for (const auto& [arguments, reason] : refused) {
    EXPECT_EQ(ParseCommandLine(arguments).error, reason);
  }
  EXPECT_EQ(WorkerCount(5), 5);
  EXPECT_GE(WorkerCount(0), 1);
}

TEST(cliParseCommandLine, ReadsTheOutputOptions) {
  const Command command = ParseCommandLine(
      {"--name", "film", "--language=DE", "--format", "vobsub,RGB", "--forced", "in/a.srt"});
  ASSERT_EQ(command.action, CommandAction::Run) << command.error;
  const CliOptions& options = command.options;
  EXPECT_EQ(options.outputName, "film");
  EXPECT_EQ(options.language, "de");
  EXPECT_EQ(options.formats, (OutputFormats{false, true, true}));
  EXPECT_TRUE(options.forced);
  EXPECT_EQ(OutputStem(options, "in/a.srt"), "film");

  const std::vector<std::pair<const char*, OutputFormats>> formats = {
      {"all", {true, true, true}},     {"sup", {true, false, false}},
      {"rgb", {false, false, true}},   {"sup,vobsub", {true, true, false}},
      {"rgb,all", {true, true, true}}, {"vobsub,vobsub", {false, true, false}}};
  for (const auto& [given, taken] : formats) {
    const Command chosen = ParseCommandLine({"--format", given, "f.srt"});
    ASSERT_EQ(chosen.action, CommandAction::Run) << given << ": " << chosen.error;
    EXPECT_EQ(chosen.options.formats, taken) << given;
  }
}

TEST(cliParseCommandLine, ReadsTheTextOptions) {
  const Command plain = ParseCommandLine({"f.srt"});
  EXPECT_EQ(plain.options.encoding, "auto");
  EXPECT_FALSE(plain.options.noMarkup);
  EXPECT_FALSE(plain.options.wrap);
  const Command command =
      ParseCommandLine({"--encoding", "ISO-8859-7", "--no-markup", "--wrap", "f.srt"});
  ASSERT_EQ(command.action, CommandAction::Run) << command.error;
  EXPECT_EQ(command.options.encoding, "ISO-8859-7");
  EXPECT_TRUE(command.options.noMarkup);
  EXPECT_TRUE(command.options.wrap);
}

TEST(cliParseCommandLine, NamesTheOutputsOfSeveralFilesAfterEachFile) {
  const Command command =
      ParseCommandLine({"--format", "sup,rgb", "a.srt", "dir/film.en.sub", "--", "-b.txt", ".srt"});
  ASSERT_EQ(command.action, CommandAction::Run) << command.error;
  const CliOptions& options = command.options;
  EXPECT_EQ(options.subtitlePaths, (QStringList{"a.srt", "dir/film.en.sub", "-b.txt", ".srt"}));
  EXPECT_EQ(options.subtitlePath, "a.srt");
  EXPECT_EQ(OutputStem(options, "a.srt"), "a");
  EXPECT_EQ(OutputStem(options, "dir/film.en.sub"), "film.en");
  EXPECT_EQ(OutputStem(options, "-b.txt"), "-b");
  EXPECT_EQ(OutputStem(options, ".srt"), ".srt");

  // Files of the same name in different folders write apart, into their own folders.
  EXPECT_EQ(ParseCommandLine({"x/a.srt", "y/a.srt"}).action, CommandAction::Run);
}

TEST(cliParseCommandLine, RefusesFilesWhoseOutputsWouldOverwriteEachOther) {
  const QString here = QDir::currentPath();
  const std::vector<std::pair<QStringList, std::string>> cases = {
      {{"a.srt", "a.sub"},
       "a.srt and a.sub would both write their files as a.* in " + here.toStdString() +
           "; convert them in separate calls"},
      {{"a.srt", "./a.srt"},
       "a.srt and ./a.srt would both write their files as a.* in " + here.toStdString() +
           "; convert them in separate calls"},
      {{"--output-dir", "/out", "x/a.srt", "y/a.srt"},
       "x/a.srt and y/a.srt would both write their files as a.* in /out; convert them in "
       "separate calls"},
  };
  for (const auto& [arguments, reason] : cases) {
    const Command command = ParseCommandLine(arguments);
    EXPECT_EQ(command.action, CommandAction::UsageError) << arguments.join(' ').toStdString();
    EXPECT_EQ(command.error, reason);
  }
}

TEST(cliParseCommandLine, RefusesOutputsThatWouldOverwriteASubtitleFile) {
  const std::string here = QDir::currentPath().toStdString();
  const std::vector<std::pair<QStringList, std::string>> cases = {
      // A MicroDVD file and the VobSub pair's .sub of its own name.
      {{"--format", "vobsub", "--name", "film", "film.sub"},
       "the subtitle file film.sub would be overwritten by the output " + here + "/film.sub"},
      // Another file's outputs.
      {{"--format", "all", "b.srt", "./a.sub"},
       "the subtitle file ./a.sub would be overwritten by the output " + here + "/a.sub"},
      // A MicroDVD text file named like the help file.
      {{"Tesmora_Help_File.txt"},
       "the subtitle file Tesmora_Help_File.txt would be overwritten "
       "by the output " +
           here + "/Tesmora_Help_File.txt"},
  };
  for (const auto& [arguments, reason] : cases) {
    const Command command = ParseCommandLine(arguments);
    EXPECT_EQ(command.action, CommandAction::UsageError) << arguments.join(' ').toStdString();
    EXPECT_EQ(command.error, reason + "; choose another --name, --format or --output-dir");
  }
  EXPECT_EQ(ParseCommandLine({"--format", "vobsub", "film.sub"}).action, CommandAction::Run);
  EXPECT_EQ(ParseCommandLine({"--format", "sup,rgb", "--name", "film", "film.sub"}).action,
            CommandAction::Run);
}

// Links and other names of a folder: the files on disk decide, not the
// text of their paths.
TEST(cliParseCommandLine, RefusesOutputsThatReachTheSameFileThroughLinks) {
  QTemporaryDir dir;
  const QString x = dir.filePath(QStringLiteral("x"));
  const QString xs = dir.filePath(QStringLiteral("xs"));
  ASSERT_TRUE(QDir().mkdir(x));
  ASSERT_EQ(::symlink("x", QFile::encodeName(xs).constData()), 0);
  testing::WriteBytes(x + "/Generated.sub", "{1}{25}Hello\n");
  testing::WriteBytes(x + "/b.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n");
  ASSERT_EQ(::symlink("Generated.sub", QFile::encodeName(x + "/film.sub").constData()), 0);

  // film.sub is a link to the VobSub .sub a run would write.
  const Command link = ParseCommandLine({"--format", "vobsub", x + "/film.sub"});
  EXPECT_EQ(link.action, CommandAction::UsageError);
  EXPECT_EQ(link.error, "the subtitle file " + (x + "/film.sub").toStdString() +
                            " would be overwritten by the output " +
                            (x + "/Generated.sub").toStdString() +
                            "; choose another --name, --format or --output-dir");
  // Both write b.* into x, one of them through the link xs.
  const Command folders = ParseCommandLine({x + "/b.srt", xs + "/b.sub"});
  EXPECT_EQ(folders.action, CommandAction::UsageError);
  EXPECT_EQ(folders.error,
            (x + "/b.srt and " + xs + "/b.sub would both write their files as b.* in " + xs +
             "; convert them in separate calls")
                .toStdString());
  // The run refuses before it writes anything.
  const testing::CliOutcome outcome = RunConverter({"--format", "vobsub", x + "/film.sub"});
  EXPECT_EQ(outcome.code, 2);
  EXPECT_EQ(testing::ReadBytes(x + "/Generated.sub"), "{1}{25}Hello\n");
  EXPECT_EQ(QDir(x).entryList(QDir::Files | QDir::System, QDir::Name),
            (QStringList{"Generated.sub", "b.srt", "film.sub"}));

  // Without the VobSub pair nothing reaches what the link leads to.
  EXPECT_EQ(ParseCommandLine({"--format", "sup,rgb", x + "/film.sub"}).action, CommandAction::Run);
}

TEST(cliParseCommandLine, TakesWhatFollowsADoubleDashAsTheFile) {
  const Command command = ParseCommandLine({"--quiet", "--", "--odd name.srt"});
  ASSERT_EQ(command.action, CommandAction::Run) << command.error;
  EXPECT_EQ(command.options.subtitlePath, "--odd name.srt");
  EXPECT_TRUE(command.options.quiet);
}

TEST(cliParseCommandLine, ListsThePaletteWithoutASubtitleFile) {
  const Command command = ParseCommandLine({"--palette", "--ifo", "VTS_01_0.IFO"});
  ASSERT_EQ(command.action, CommandAction::Run) << command.error;
  EXPECT_TRUE(command.options.listPalette);
  EXPECT_TRUE(command.options.subtitlePath.isEmpty());
}

TEST(cliRun, AnswersAUsageErrorWithStatus2AndAHint) {
  const auto outcome = RunConverter({"--outline", "1", "film.srt"});
  EXPECT_EQ(outcome.code, 2);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err,
            "tesmora-cli: --outline must be one of 2, 3, 4 (got '1')\n"
            "Usage: tesmora-cli [options] SUBTITLE_FILE...\n"
            "Try 'tesmora-cli --help' for more information.\n");
}

TEST(cliRun, ShowsHelpAndVersionOnTheOutputStream) {
  for (const char* help : {"--help", "-h"}) {
    const auto outcome = RunConverter({"--size", "7", help});
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(outcome.out.rfind("Usage: tesmora-cli [options] SUBTITLE_FILE...\n", 0), 0u);
    for (const char* option :
         {"--offset-or N", "--format LIST", "--name STEM", "--language CODE", "--forced"}) {
      EXPECT_NE(outcome.out.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(outcome.err, "");
  }
  const auto version = RunConverter({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out, "tesmora-cli 42.7\n");
  EXPECT_EQ(version.err, "");
}

}  // namespace
}  // namespace tesmora::cli

// Files named on the window program's command line and by the desktop
// entry, and the answers it gives without a window.
#include "app/ProgramArguments.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QMimeDatabase>
#include <QTemporaryDir>

#include "app/TForm1.h"
#include "files/FileNames.h"
#include "tests/app/TestFiles.h"
#include "tests/cli/ExternalTool.h"
#include "tests/palette/IfoBuilder.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

QStringList Paths(const ProgramArguments& arguments) {
  QStringList paths;
  for (const DroppedFile& file : arguments.files) {
    paths << file.path;
  }
  return paths;
}

TEST(ProgramArguments, TakesAnIfoAndASubtitleFileTheIfoFirst) {
  const ProgramArguments both = ReadProgramArguments({"/films/film.srt", "/dvd/VTS_01_0.IFO"});
  EXPECT_EQ(both.action, ProgramAction::OpenWindow);
  EXPECT_EQ(Paths(both), (QStringList{"/dvd/VTS_01_0.IFO", "/films/film.srt"}));
  EXPECT_EQ(both.files.front().kind, DroppedKind::IfoPalette);
  EXPECT_EQ(both.files.back().kind, DroppedKind::Subtitles);

  EXPECT_EQ(Paths(ReadProgramArguments({"film.SUB"})),
            QStringList{QDir::current().absoluteFilePath("film.SUB")});
  EXPECT_TRUE(ReadProgramArguments({}).files.empty());
  // After "--" a name may start with a dash; a name keeps its bytes.
  EXPECT_EQ(Paths(ReadProgramArguments({"--", "/films/-x.txt"})), QStringList{"/films/-x.txt"});
  EXPECT_EQ(FileNameBytes(ReadProgramArguments({"/films/caf\xE9.srt"}).files.front().path),
            QByteArray("/films/caf\xE9.srt"));
}

TEST(ProgramArguments, HelpAndVersionAnswerWhateverElseTheLineHolds) {
  EXPECT_EQ(ReadProgramArguments({"film.srt", "--help"}).action, ProgramAction::Help);
  EXPECT_EQ(ReadProgramArguments({"-h", "--bogus"}).action, ProgramAction::Help);
  EXPECT_EQ(ReadProgramArguments({"--version", "notes.doc"}).action, ProgramAction::Version);
  EXPECT_EQ(ReadProgramArguments({"--", "--help"}).action, ProgramAction::UsageError);
}

TEST(ProgramArguments, RefusesWhatNoDropWouldLoad) {
  const auto error = [](const QByteArrayList& arguments) {
    const ProgramArguments read = ReadProgramArguments(arguments);
    EXPECT_EQ(read.action, ProgramAction::UsageError);
    EXPECT_TRUE(read.files.empty());
    return read.error;
  };
  EXPECT_EQ(error({"--bogus", "film.srt"}), QStringLiteral("unknown option '--bogus'"));
  EXPECT_EQ(
      error({"/dvd/VTS_01_1.IFO"}),
      QStringLiteral("'/dvd/VTS_01_1.IFO' is neither a subtitle file (.srt, .sub, .txt, .vtt, "
                     ".ass, .ssa) nor a title set's IFO (VTS_xx_0.IFO)"));
  EXPECT_EQ(error({"a.srt", "b.sub"}),
            QStringLiteral("give at most one IFO and one subtitle file"));
  EXPECT_EQ(error({"VTS_01_0.IFO", "VTS_02_0.IFO"}),
            QStringLiteral("give at most one IFO and one subtitle file"));
}

// The help names every extension the formats read, ASS and SSA included,
// as the file dialog offers them.
TEST(ProgramArguments, HelpNamesTheExtensionsOfEveryFormatRead) {
  EXPECT_EQ(
      ProgramUsageText(),
      QStringLiteral("Usage: tesmora [VTS_xx_0.IFO] [SUBTITLE_FILE]\n"
                     "\n"
                     "Opens the Tesmora window. A title set's IFO (such as VTS_01_0.IFO) and a\n"
                     "subtitle file named here are loaded as if dropped on the window: the IFO's\n"
                     "palette first, then the subtitles. Subtitle files end in\n"
                     ".srt, .sub, .txt, .vtt, .ass or .ssa.\n"
                     "\n"
                     "  -h, --help     show this text and stop\n"
                     "  --version      show the version and stop\n"
                     "\n"
                     "To convert without the window, use tesmora-cli.\n"));
  for (const char* name : {"film.ass", "FILM.SSA", "film.vtt"}) {
    const ProgramArguments read = ReadProgramArguments({name});
    EXPECT_EQ(read.action, ProgramAction::OpenWindow) << name;
    EXPECT_EQ(read.files.size(), 1U) << name;
  }
}

// The files load as a drop would: the IFO's palette, then the subtitles.
TEST(ProgramArguments, NamedFilesLoadIntoTheWindowAsDropsWould) {
  QTemporaryDir folder;
  testing::IfoBuilder ifo;
  for (std::size_t n = 0; n < 16; ++n) {
    ifo.entries[n] = 0x00508040;
  }
  testing::IfoBuilder::Write(folder.filePath("VTS_01_0.IFO").toStdString(), ifo.bytes());
  testing::WriteFile(folder.filePath("film.srt"),
                     "1\r\n00:00:01,000 --> 00:00:03,000\r\nHello\r\n\r\n");
  testing::FakePlatform platform;
  TForm1 form(platform);
  const ProgramArguments arguments =
      ReadProgramArguments({QFile::encodeName(folder.filePath("film.srt")),
                            QFile::encodeName(folder.filePath("VTS_01_0.IFO"))});
  for (const DroppedFile& file : arguments.files) {
    form.LoadFile(file);
  }
  EXPECT_TRUE(platform.dialogs.empty());
  EXPECT_TRUE(platform.errors.isEmpty());
  EXPECT_TRUE(form.PaletteReady);
  EXPECT_TRUE(form.SubtitlesLoaded);
  EXPECT_EQ(form.Edit1->text(), folder.filePath("VTS_01_0.IFO"));
  EXPECT_EQ(form.Edit2->text(), folder.filePath("film.srt"));
  EXPECT_EQ(form.ListBox1->count(), 1);
}

// Help and the version need no display; a wrong line is status 2.
TEST(ProgramStart, AnswersHelpAndVersionWithoutADisplay) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    environment.remove(QString::fromLatin1(name));
  }
  const auto run = [&environment](const QStringList& arguments) {
    return testing::RunTool(QStringLiteral(TESMORA_PROGRAM), arguments, environment);
  };
  const testing::ToolResult help = run({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(QString::fromUtf8(help.out), ProgramUsageText());
  EXPECT_TRUE(help.err.isEmpty());
  const testing::ToolResult version = run({"film.srt", "--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out, QByteArray("tesmora 42.7\n"));
  const testing::ToolResult wrong = run({"--bogus"});
  EXPECT_EQ(wrong.code, 2);
  EXPECT_TRUE(wrong.out.isEmpty());
  EXPECT_EQ(wrong.err, QByteArray("tesmora: unknown option '--bogus'\n"
                                  "Try 'tesmora --help' for more information.\n"));
}

// The desktop entry passes the chosen files and offers the program for the
// subtitle types it reads, by names the MIME database knows.
TEST(DesktopEntry, OpensTheSubtitleFilesTheWindowLoads) {
  QMap<QString, QString> entry;
  for (const QByteArray& line : testing::ReadFile(TESMORA_DESKTOP_FILE).split('\n')) {
    const qsizetype equals = line.indexOf('=');
    if (equals > 0) {
      entry.insert(QString::fromUtf8(line.left(equals)), QString::fromUtf8(line.mid(equals + 1)));
    }
  }
  EXPECT_EQ(entry.value("Exec"), QStringLiteral("tesmora %F"));
  const QStringList types = entry.value("MimeType").split(QLatin1Char(';'), Qt::SkipEmptyParts);
  ASSERT_FALSE(types.isEmpty());
  const QMimeDatabase database;
  for (const char* name : {"film.srt", "film.sub"}) {
    const QList<QMimeType> matches = database.mimeTypesForFileName(QString::fromLatin1(name));
    EXPECT_TRUE(std::any_of(matches.begin(), matches.end(), [&types](const QMimeType& type) {
      return types.contains(type.name());
    })) << name;
  }
  for (const QString& type : types) {
    const QMimeType known = database.mimeTypeForName(type);
    ASSERT_TRUE(known.isValid()) << type.toStdString();
    for (const QString& pattern : known.globPatterns()) {
      const QString name = QString(pattern).replace(QLatin1Char('*'), QStringLiteral("film"));
      EXPECT_TRUE(LoadableFile(QStringLiteral("/films/") + name)) << name.toStdString();
    }
  }
}

}  // namespace
}  // namespace tesmora

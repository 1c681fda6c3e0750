// The built converter on Indic and Khmer text, with the fonts installed for
// it and with the Latin fonts alone, where the text comes out as boxes.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "tests/cli/CliHarness.h"
#include "tests/render/ScriptSamples.h"

namespace tesmora {
namespace {

using testing::kShapedScripts;
using testing::ScriptSample;

struct ConverterRun {
  int exitCode = -1;
  QProcess::ExitStatus status = QProcess::CrashExit;
  QString err;
};

// The error stream without the warnings Qt itself prints while it looks for
// a font with OpenType support for the script.
QString WithoutQtFontWarnings(const QString& err) {
  QStringList kept;
  for (const QString& line : err.split(u'\n')) {
    if (!line.startsWith(QStringLiteral("  OpenType support missing for "))) {
      kept << line;
    }
  }
  return kept.join(u'\n');
}

class cliShapedScripts : public ::testing::Test {
 protected:
  // Converts one cue of the sample, under the given font configuration or
  // the machine's own when it is empty.
  ConverterRun convert(const ScriptSample& sample, const QString& fontConfig) {
    const QByteArray srt =
        "1\n00:00:01,000 --> 00:00:02,000\n" + sample.qtext().toUtf8() + "\nand Latin\n";
    testing::WriteBytes(dir.filePath("cue.srt"), srt);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!fontConfig.isEmpty()) {
      environment.insert(QStringLiteral("FONTCONFIG_FILE"), fontConfig);
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TESMORA_CLI_BINARY),
                  {QStringLiteral("--quiet"), dir.filePath("cue.srt")});
    ConverterRun run;
    if (!process.waitForFinished(60000)) {
      process.kill();
      process.waitForFinished();
      return run;
    }
    run.exitCode = process.exitCode();
    run.status = process.exitStatus();
    run.err = WithoutQtFontWarnings(QString::fromUtf8(process.readAllStandardError()));
    return run;
  }
  QStringList entries() const {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }

  QTemporaryDir dir;
};

const QStringList kWritten{"Generated.sup", "Tesmora_Help_File.txt", "cue.srt"};

TEST_F(cliShapedScripts, WithoutAFontEachScriptIsDrawnAsBoxesAndReported) {
  for (const ScriptSample& sample : kShapedScripts) {
    const ConverterRun run = convert(sample, QStringLiteral(TESMORA_LATIN_FONTS_CONF));
    ASSERT_EQ(run.status, QProcess::NormalExit)
        << sample.script << " crashed, signal " << run.exitCode;
    EXPECT_EQ(run.exitCode, 0) << sample.script << "\n" << run.err.toStdString();
    const QString first = sample.qtext().left(1);
    EXPECT_TRUE(run.err.startsWith(
        QStringLiteral("No installed font can draw \"") + first + "\" (U+" +
        QString::number(first[0].unicode(), 16).toUpper().rightJustified(4, u'0') + ")"))
        << sample.script << "\n"
        << run.err.toStdString();
    EXPECT_TRUE(
        run.err.endsWith(QStringLiteral(", first in cue 1; they come out as empty boxes. "
                                        "Install a font that covers them.\n")))
        << sample.script << "\n"
        << run.err.toStdString();
    EXPECT_EQ(entries(), kWritten) << sample.script;
  }
  EXPECT_EQ(convert(kShapedScripts[0], QStringLiteral(TESMORA_LATIN_FONTS_CONF)).err,
            QStringLiteral("No installed font can draw \"\u0928\" (U+0928), \"\u092E\" (U+092E), "
                           "\"\u0938\" (U+0938), \"\u094D\" (U+094D), \"\u0924\" (U+0924), "
                           "\"\u0947\" (U+0947), \"\u0926\" (U+0926), \"\u0941\" (U+0941), "
                           "\"\u093F\" (U+093F), \"\u092F\" (U+092F) and 1 more, first in cue 1; "
                           "they come out as empty boxes. Install a font that covers them.\n"));
}

TEST_F(cliShapedScripts, WithTheInstalledFontsEachScriptIsDrawnWithoutANote) {
  for (const ScriptSample& sample : kShapedScripts) {
    const ConverterRun run = convert(sample, QString());
    ASSERT_EQ(run.status, QProcess::NormalExit) << sample.script;
    EXPECT_EQ(run.exitCode, 0) << sample.script;
    EXPECT_EQ(run.err, QString()) << sample.script;
    EXPECT_EQ(entries(), kWritten) << sample.script;
  }
}

}  // namespace
}  // namespace tesmora

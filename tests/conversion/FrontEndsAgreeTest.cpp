// The window and the converter, given the same files and the same choices,
// write the same files byte for byte: the .sup stream, the VobSub pair, the
// .rgb palette and the help file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <ostream>

#include "app/TForm1.h"
#include "tests/cli/CliHarness.h"
#include "tests/conversion/MarkedFilm.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

QString Example(const char* name) {
  return QStringLiteral(TESMORA_EXAMPLES_DIR "/") + QLatin1String(name);
}

// One case: the subtitle file and, for the converter, the options that say
// what the window's controls are set to.
struct Case {
  QString name;
  QByteArray subtitle;  // the file's bytes
  QString extension;
  bool withIfo = false;
  // Time and flag choices; the window takes them after the load.
  int shiftMs = 0;
  QString convertFps;
  bool forced = false;
};

// The written files of a folder by name, the inputs left out.
std::map<QString, QByteArray> Outputs(const QDir& folder, const QStringList& inputs) {
  std::map<QString, QByteArray> files;
  for (const QString& name : folder.entryList(QDir::Files)) {
    if (!inputs.contains(name)) {
      files[name] = testing::ReadBytes(folder.filePath(name));
    }
  }
  return files;
}

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name.toStdString();
}

// Each front end writes into the same folder in turn, so that the help
// files list the same paths; the outputs of the first are taken away before
// the second runs.
class FrontEndsAgree : public ::testing::TestWithParam<Case> {
 protected:
  // Writes the case's inputs into `folder` and returns the subtitle file.
  static QString PutInputs(const Case& c, const QDir& folder) {
    if (c.withIfo) {
      QFile::copy(Example("VTS_01_0.IFO"), folder.filePath("VTS_01_0.IFO"));
    }
    const QString subtitle = folder.filePath("film" + c.extension);
    testing::WriteBytes(subtitle, c.subtitle);
    return subtitle;
  }

  static std::map<QString, QByteArray> ThroughTheWindow(const Case& c, const QDir& folder) {
    const QString subtitle = PutInputs(c, folder);
    testing::FakePlatform platform;
    TForm1 form{platform};
    if (c.withIfo) {
      platform.chosenFiles = {folder.filePath("VTS_01_0.IFO")};
      form.Button1->click();
    } else {
      form.i_dont_have_ifo->click();
    }
    form.CheckBoxVobSub->setChecked(true);
    platform.chosenFiles = {subtitle};
    form.Button2->click();
    form.SpinBoxShift->setValue(c.shiftMs);
    form.EditConvertFps->setText(c.convertFps);
    form.CheckBoxForced->setChecked(c.forced);
    form.Button3->click();
    EXPECT_TRUE(platform.errors.isEmpty()) << platform.errors.join('\n').toStdString();
    return Outputs(folder, {"VTS_01_0.IFO", "film" + c.extension});
  }

  static std::map<QString, QByteArray> ThroughTheConverter(const Case& c, const QDir& folder) {
    const QString subtitle = PutInputs(c, folder);
    QStringList arguments{"--quiet", "--format", "all"};
    if (c.withIfo) {
      arguments << "--ifo" << folder.filePath("VTS_01_0.IFO");
    }
    arguments << "--shift" << QString::number(c.shiftMs);
    if (!c.convertFps.isEmpty()) {
      arguments << "--convert-fps" << c.convertFps;
    }
    if (c.forced) {
      arguments << "--forced";
    }
    const testing::CliOutcome outcome = testing::RunConverter(arguments << subtitle);
    EXPECT_EQ(outcome.code, 0) << outcome.err;
    return Outputs(folder, {"VTS_01_0.IFO", "film" + c.extension});
  }

  static void Empty(QDir folder) {
    for (const QString& name : folder.entryList(QDir::Files)) {
      folder.remove(name);
    }
  }
};

TEST_P(FrontEndsAgree, WriteTheSameFiles) {
  const Case& c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QDir folder(dir.path());
  const std::map<QString, QByteArray> window = ThroughTheWindow(c, folder);
  Empty(folder);
  const std::map<QString, QByteArray> converter = ThroughTheConverter(c, folder);
  QStringList names;
  for (const auto& [name, bytes] : converter) {
    names << name;
  }
  EXPECT_EQ(names, (QStringList{"Generated.idx", "Generated.rgb", "Generated.sub", "Generated.sup",
                                "Tesmora_Help_File.txt"}));
  ASSERT_EQ(window.size(), converter.size());
  for (const auto& [name, bytes] : converter) {
    ASSERT_TRUE(window.contains(name)) << name.toStdString();
    EXPECT_FALSE(bytes.isEmpty()) << name.toStdString();
    EXPECT_TRUE(window.at(name) == bytes) << name.toStdString() << " differs";
  }
}

QByteArray ExampleBytes(const char* name) {
  return testing::ReadBytes(Example(name));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, FrontEndsAgree,
    ::testing::Values(
        Case{"MarkedFilm", testing::kMarkedFilm, ".srt", false, 0, {}, false},
        Case{"MarkedFilmWithIfo", testing::kMarkedFilm, ".srt", true, 0, {}, false},
        Case{"HarbourSrt", ExampleBytes("harbour.srt"), ".srt", false, 0, {}, false},
        Case{"HarbourSub", ExampleBytes("harbour.sub"), ".sub", false, 0, {}, false},
        Case{"HarbourSubWithIfo", ExampleBytes("harbour.sub"), ".sub", true, 0, {}, false},
        Case{"HarbourSrtShiftedConvertedForced", ExampleBytes("harbour.srt"), ".srt", false, 1500,
             "23.976:25", true}),
    [](const ::testing::TestParamInfo<Case>& info) { return info.param.name.toStdString(); });

}  // namespace
}  // namespace tesmora

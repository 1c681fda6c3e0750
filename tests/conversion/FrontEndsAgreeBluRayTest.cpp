// The window and the converter, given the same file and the same choices,
// write the same Blu-ray stream byte for byte, and the stream checks clean.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <ostream>

#include "app/TForm1.h"
#include "pgs/StreamCheck.h"
#include "tests/cli/CliHarness.h"
#include "tests/conversion/MarkedFilm.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

struct Case {
  QString name;
  QByteArray subtitle;
  QString extension;
  DiscTarget target;
  int shiftMs = 0;
  bool forced = false;
  QString outline = QStringLiteral("3");
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name.toStdString();
}

class FrontEndsAgreeOnBluRay : public ::testing::TestWithParam<Case> {
 protected:
  static QByteArray ThroughTheWindow(const Case& c, const QDir& folder) {
    const QString subtitle = folder.filePath("film" + c.extension);
    testing::WriteBytes(subtitle, c.subtitle);
    testing::FakePlatform platform;
    TForm1 form{platform};
    ConversionChoices choices = form.CurrentChoices();
    choices.target = c.target;
    form.ShowChoices(choices);
    form.ComboBoxOutlineWidth->setCurrentText(c.outline);
    platform.chosenFiles = {subtitle};
    form.Button2->click();
    form.SpinBoxShift->setValue(c.shiftMs);
    form.CheckBoxForced->setChecked(c.forced);
    form.Button3->click();
    EXPECT_TRUE(platform.errors.isEmpty()) << platform.errors.join('\n').toStdString();
    const QByteArray stream = testing::ReadBytes(folder.filePath("Generated.sup"));
    QFile::remove(folder.filePath("Generated.sup"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"film" + c.extension});
    return stream;
  }

  static QByteArray ThroughTheConverter(const Case& c, const QDir& folder) {
    const QString subtitle = folder.filePath("film" + c.extension);
    QStringList arguments{"--quiet"};
    for (const std::string& argument : TargetArguments(c.target)) {
      arguments << QString::fromStdString(argument);
    }
    arguments << "--shift" << QString::number(c.shiftMs) << "--outline" << c.outline;
    if (c.forced) {
      arguments << "--forced";
    }
    const testing::CliOutcome outcome = testing::RunConverter(arguments << subtitle);
    EXPECT_EQ(outcome.code, 0) << outcome.err;
    return testing::ReadBytes(folder.filePath("Generated.sup"));
  }
};

TEST_P(FrontEndsAgreeOnBluRay, WriteTheSameStream) {
  const Case& c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QDir folder(dir.path());
  const QByteArray window = ThroughTheWindow(c, folder);
  const QByteArray converter = ThroughTheConverter(c, folder);
  ASSERT_FALSE(converter.isEmpty());
  EXPECT_TRUE(window == converter) << "the streams differ";
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(window.constData());
  const pgs::CheckReport report =
      pgs::CheckStream(std::span(bytes, static_cast<std::size_t>(window.size())));
  for (const pgs::Breach& breach : report.breaches) {
    ADD_FAILURE() << pgs::BreachLine(breach);
  }
}

QByteArray Example(const char* name) {
  return testing::ReadBytes(QStringLiteral(TESMORA_EXAMPLES_DIR "/") + QLatin1String(name));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, FrontEndsAgreeOnBluRay,
    ::testing::Values(Case{"MarkedFilm1080", testing::kMarkedFilm, ".srt", DiscTarget::BluRay1080},
                      Case{"HarbourSrt720ShiftedForced", Example("harbour.srt"), ".srt",
                           DiscTarget::BluRay720, 1500, true, QStringLiteral("2")},
                      Case{"HarbourSub1080", Example("harbour.sub"), ".sub", DiscTarget::BluRay1080,
                           0, false, QStringLiteral("4")}),
    [](const ::testing::TestParamInfo<Case>& info) { return info.param.name.toStdString(); });

}  // namespace
}  // namespace tesmora

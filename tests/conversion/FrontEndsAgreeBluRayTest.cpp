// The window and the converter, given the same file and the same choices,
// write the same Blu-ray files byte for byte (the stream, the BDN XML and
// its pictures), and the stream checks clean.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <ostream>

#include "app/TForm1.h"
#include "pgs/StreamCheck.h"
#include "tests/cli/CliHarness.h"
#include "tests/conversion/MarkedFilm.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

// A script of its own resolution with two styles, a top cue beside a
// bottom one, a fade and a move: drawn as it is, or in the one style.
const QByteArray kStyledScript =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 640\nPlayResY: 360\n\n"
    "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, "
    "OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, "
    "Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,DejaVu Sans,24,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,"
    "0,0,1,2,0,2,10,10,12,1\n"
    "Style: Sign,DejaVu Serif,18,&H0000FFFF,&H000000FF,&H00400000,&H00000000,-1,-1,0,0,100,100,"
    "0,0,1,1,1,8,10,10,20,1\n\n"
    "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
    "Dialogue: 0,0:00:01.00,0:00:03.00,Default,,0,0,0,,{\\fad(200,200)}Caf\xC3\xA9 au lait\n"
    "Dialogue: 0,0:00:02.00,0:00:04.00,Sign,,0,0,0,,THE HARBOUR\n"
    "Dialogue: 0,0:00:05.00,0:00:06.00,Default,,0,0,0,,{\\move(100,300,200,300)}Moving "
    "{\\i1}on{\\i0}\n";

// A MicroDVD file that names no rate: read at the video's.
const QByteArray kRatelessFrames =
    "{25}{87}The fog lifted over the harbour at dawn.\n"
    "{100}{175}- Is the ferry running today?|- Only the early one.\n"
    "{200}{251}{y:i}Bring the ropes.\n";

struct Case {
  QString name;
  QByteArray subtitle;
  QString extension;
  DiscTarget target;
  int shiftMs = 0;
  bool forced = false;
  QString outline = QStringLiteral("3");
  BluRayForms forms = BluRayForms::Stream;
  std::string rate{};  // empty: the video's usual one
  CueStyles styles = CueStyles::File;
  std::string forcedStyle{};  // empty: none
};

// The files a run wrote beside the subtitle file, by name, each removed.
std::map<QString, QByteArray> TakeWrittenFiles(const QDir& folder, const QString& subtitle) {
  std::map<QString, QByteArray> files;
  for (const QString& name : folder.entryList(QDir::Files)) {
    if (name != subtitle) {
      files[name] = testing::ReadBytes(folder.filePath(name));
      QFile::remove(folder.filePath(name));
    }
  }
  return files;
}

ConversionChoices ChoicesOf(const Case& c) {
  ConversionChoices choices;
  choices.target = c.target;
  choices.bluRayForms = c.forms;
  choices.videoRate = c.rate;
  choices.styles = c.styles;
  choices.forcedStyle = c.forcedStyle;
  return choices;
}

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name.toStdString();
}

class FrontEndsAgreeOnBluRay : public ::testing::TestWithParam<Case> {
 protected:
  static std::map<QString, QByteArray> ThroughTheWindow(const Case& c, const QDir& folder) {
    const QString subtitle = folder.filePath("film" + c.extension);
    testing::WriteBytes(subtitle, c.subtitle);
    testing::FakePlatform platform;
    TForm1 form{platform};
    ConversionChoices choices = form.CurrentChoices();
    const ConversionChoices chosen = ChoicesOf(c);
    choices.target = chosen.target;
    choices.bluRayForms = chosen.bluRayForms;
    choices.videoRate = chosen.videoRate;
    choices.styles = chosen.styles;
    choices.forcedStyle = chosen.forcedStyle;
    form.ShowChoices(choices);
    EXPECT_EQ(BluRayArguments(form.CurrentChoices()), BluRayArguments(chosen));
    form.ComboBoxOutlineWidth->setCurrentText(c.outline);
    platform.chosenFiles = {subtitle};
    form.Button2->click();
    form.SpinBoxShift->setValue(c.shiftMs);
    form.CheckBoxForced->setChecked(c.forced);
    form.ComboBoxForcedStyle->setCurrentText(QString::fromStdString(c.forcedStyle));
    EXPECT_EQ(BluRayArguments(form.CurrentChoices()), BluRayArguments(chosen));
    form.Button3->click();
    EXPECT_TRUE(platform.errors.isEmpty()) << platform.errors.join('\n').toStdString();
    return TakeWrittenFiles(folder, "film" + c.extension);
  }

  static std::map<QString, QByteArray> ThroughTheConverter(const Case& c, const QDir& folder) {
    const QString subtitle = folder.filePath("film" + c.extension);
    QStringList arguments{"--quiet", "--styles",
                          QString::fromStdString(StylesChoiceText(c.styles))};
    for (const std::string& argument : BluRayArguments(ChoicesOf(c))) {
      arguments << QString::fromStdString(argument);
    }
    arguments << "--shift" << QString::number(c.shiftMs) << "--outline" << c.outline;
    if (c.forced) {
      arguments << "--forced";
    }
    const testing::CliOutcome outcome = testing::RunConverter(arguments << subtitle);
    EXPECT_EQ(outcome.code, 0) << outcome.err;
    return TakeWrittenFiles(folder, "film" + c.extension);
  }
};

TEST_P(FrontEndsAgreeOnBluRay, WriteTheSameFiles) {
  const Case& c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QDir folder(dir.path());
  const std::map<QString, QByteArray> window = ThroughTheWindow(c, folder);
  const std::map<QString, QByteArray> converter = ThroughTheConverter(c, folder);
  ASSERT_EQ(converter.count("Generated.sup"), WritesStream(c.forms) ? 1U : 0U);
  ASSERT_EQ(converter.count("Generated.xml"), WritesBdn(c.forms) ? 1U : 0U);
  QStringList windowNames;
  QStringList converterNames;
  for (const auto* files : {&window, &converter}) {
    for (const auto& [name, bytes] : *files) {
      (files == &window ? windowNames : converterNames) << name;
    }
  }
  ASSERT_EQ(windowNames, converterNames);
  for (const auto& [name, bytes] : converter) {
    EXPECT_TRUE(window.at(name) == bytes) << name.toStdString() << " differs";
  }
  if (!WritesStream(c.forms)) {
    EXPECT_GT(converter.size(), 1U) << "no picture beside the XML";
    return;
  }
  const QByteArray stream = converter.at("Generated.sup");
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(stream.constData());
  const pgs::CheckReport report =
      pgs::CheckStream(std::span(bytes, static_cast<std::size_t>(stream.size())));
  for (const pgs::Breach& breach : report.breaches) {
    ADD_FAILURE() << pgs::BreachLine(breach);
  }
}

QByteArray Example(const char* name) {
  return testing::ReadBytes(QStringLiteral(TESMORA_EXAMPLES_DIR "/") + QLatin1String(name));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, FrontEndsAgreeOnBluRay,
    ::testing::Values(
        Case{"MarkedFilm1080", testing::kMarkedFilm, ".srt", DiscTarget::BluRay1080},
        Case{"HarbourSrt720ShiftedForced", Example("harbour.srt"), ".srt", DiscTarget::BluRay720,
             1500, true, QStringLiteral("2")},
        Case{"HarbourSub1080", Example("harbour.sub"), ".sub", DiscTarget::BluRay1080, 0, false,
             QStringLiteral("4")},
        Case{"RatelessSub1080At25", kRatelessFrames, ".sub", DiscTarget::BluRay1080, 0, false,
             QStringLiteral("3"), BluRayForms::Stream, "25"},
        Case{"HarbourSub1080At50", Example("harbour.sub"), ".sub", DiscTarget::BluRay1080, 0, false,
             QStringLiteral("3"), BluRayForms::Stream, "50"},
        Case{"HarbourBdnAndStream720At50", Example("harbour.srt"), ".srt", DiscTarget::BluRay720, 0,
             false, QStringLiteral("3"), BluRayForms::StreamAndBdn, "50"},
        Case{"StyledScriptAsItIs1080", kStyledScript, ".ass", DiscTarget::BluRay1080, 250, true},
        Case{"StyledScriptBdnOnlyAt25", kStyledScript, ".ass", DiscTarget::BluRay1080, 0, false,
             QStringLiteral("3"), BluRayForms::Bdn, "25"},
        Case{"StyledScriptSignForced720", kStyledScript, ".ass", DiscTarget::BluRay720, 0, false,
             QStringLiteral("3"), BluRayForms::StreamAndBdn, "", CueStyles::File, "Sign"},
        Case{"StyledScriptInTheWindowsStyle720", kStyledScript, ".ass", DiscTarget::BluRay720, 0,
             false, QStringLiteral("2"), BluRayForms::StreamAndBdn, "", CueStyles::Window}),
    [](const ::testing::TestParamInfo<Case>& info) { return info.param.name.toStdString(); });

}  // namespace
}  // namespace tesmora

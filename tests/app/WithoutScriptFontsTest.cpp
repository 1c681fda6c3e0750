// Indic and Khmer text when no installed font covers it: Qt draws it with a
// stand-in face of boxes. The drawing, the load's notes, the preview and a
// generation run take it as characters without a glyph, never crash.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "app/TForm1.h"
#include "conversion/CueFrameDrawing.h"
#include "render/CueTextNotes.h"
#include "render/GlyphCache.h"
#include "render/GlyphMask.h"
#include "render/MissingGlyphs.h"
#include "render/SubtitleFont.h"
#include "tests/app/TestFiles.h"
#include "tests/platform/FakePlatform.h"
#include "tests/render/MaskPixels.h"
#include "tests/render/ScriptSamples.h"

namespace tesmora {
namespace {

using testing::kShapedScripts;
using testing::ScriptSample;

const QRect kFrame(0, 0, 720, 576);

// The text's characters that draw ink, each once, in order.
QString InkedCharacters(const QString& text) {
  QString characters;
  for (const QChar c : text) {
    if (c != u' ' && !characters.contains(c)) {
      characters += c;
    }
  }
  return characters;
}

QByteArray SrtOfEveryScript() {
  QByteArray srt;
  int number = 0;
  for (const ScriptSample& sample : kShapedScripts) {
    ++number;
    srt += QByteArray::number(number) +
           "\r\n00:00:" + QByteArray::number(number).rightJustified(2, '0') +
           ",000 --> 00:00:" + QByteArray::number(number).rightJustified(2, '0') + ",800\r\n" +
           sample.qtext().toUtf8() + "\r\n\r\n";
  }
  return srt;
}

TEST(WithoutScriptFonts, EachScriptIsMissingAndDrawnAsThePainterDrawsItsBoxes) {
  GlyphCache cache;
  for (const ScriptSample& sample : kShapedScripts) {
    const QString text = sample.qtext();
    const QFont font = SubtitleFont(QStringLiteral("Arial"), 22, FontStyle{});
    EXPECT_EQ(CharactersWithoutGlyph(text, font), InkedCharacters(text)) << sample.script;
    const std::vector<TextPiece> pieces{{text, font, QPoint(30, 300)},
                                        {QStringLiteral("ok"), font, QPoint(30, 350)}};
    const auto cached = testing::MaskPixels(DrawTextMask(pieces, kFrame, 4, cache));
    const auto painted = testing::MaskPixels(DrawTextMask(pieces, kFrame, 4));
    EXPECT_FALSE(painted.empty()) << sample.script;
    EXPECT_EQ(cached, painted) << sample.script;
  }
}

TEST(WithoutScriptFonts, TheLoadNotesNameTheCharactersAndARunDrawsEverySubpicture) {
  std::vector<SubtitleEntry> cues;
  long long start = 0;
  for (const ScriptSample& sample : kShapedScripts) {
    cues.push_back({start, 800, {sample.qtext().toStdString(), "and Latin"}});
    start += 1000;
  }
  const TextSource source{MarkupDialect::Srt, false};
  SubtitleStyle style;
  style.fontName = QStringLiteral("Arial");
  style.size = 22;
  const std::vector<std::string> notes = CueTextNotes(cues, source, style);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].rfind("No installed font can draw \"\xE0\xA4\xA8\" (U+0928), \"\xE0\xA4\xAE\" "
                           "(U+092E)",
                           0),
            0u)
      << notes[0];
  EXPECT_NE(notes[0].find(", first in cue 1; they come out as empty boxes. Install a font that "
                          "covers them."),
            std::string::npos);

  CueFrameLook look;
  look.source = source;
  look.style = style;
  look.keys = RoleKeyColours{{235, 235, 235}, {16, 16, 16}, {128, 128, 128}};
  look.colours = RoleColours{qRgb(16, 16, 16), qRgb(128, 128, 128), qRgb(235, 235, 235)};
  const SubpictureDrawing draw = CueFrameDrawings(cues, look)();
  for (int cue = 0; cue < static_cast<int>(cues.size()); ++cue) {
    const DrawnSubpicture drawn = draw(Subpicture{0, 0, {cue}});
    EXPECT_GT(drawn.area.lineCount, 6) << cue;
  }
}

TEST(WithoutScriptFonts, TheWindowLoadsPreviewsAndGeneratesTheCues) {
  QTemporaryDir folder;
  testing::FakePlatform platform;
  TForm1 form{platform};
  form.i_dont_have_ifo->click();
  platform.chosenFiles = {
      testing::WriteFile(folder.filePath("scripts.srt"), "\xEF\xBB\xBF" + SrtOfEveryScript())};
  form.Button2->click();
  ASSERT_EQ(form.ListBox1->count(), static_cast<int>(std::size(kShapedScripts)));
  ASSERT_EQ(platform.messages.size(), 2);
  EXPECT_TRUE(platform.messages[0].startsWith(
      QStringLiteral("No installed font can draw \"\u0928\" (U+0928)")))
      << platform.messages[0].toStdString();
  std::vector<QImage> previews;
  for (int row = 0; row < form.ListBox1->count(); ++row) {
    form.ListBox1->setCurrentRow(row);
    previews.push_back(form.preview->picture());
  }
  // Each script has boxes of its own widths.
  EXPECT_NE(previews[0], previews[1]);
  form.Button3->click();
  EXPECT_GT(testing::ReadFile(folder.filePath("Generated.sup")).size(), 100);
}

}  // namespace
}  // namespace tesmora

// What a load reports of the cues' text: markup left out, and characters no
// installed font can draw.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/CueTextNotes.h"
#include "render/MissingGlyphs.h"
#include "render/SubtitleFont.h"

namespace tesmora {
namespace {

// No installed font holds a glyph for these: a private-use character and an
// Egyptian hieroglyph, which takes two UTF-16 units.
const QString kPrivateUse = QString(QChar(0xE000));
const QString kHieroglyph = QString::fromUcs4(U"\U00013000");

SubtitleEntry Cue(std::vector<std::string> lines) {
  return SubtitleEntry{0, 1000, std::move(lines)};
}

SubtitleStyle Style() {
  SubtitleStyle style;
  style.fontName = QStringLiteral("Arial");
  style.size = 22;
  return style;
}

TEST(MissingGlyphs, ListsEachCharacterWithoutGlyphOnceInOrder) {
  const QFont font = SubtitleFont(QStringLiteral("Arial"), 22, FontStyle{});
  EXPECT_EQ(CharactersWithoutGlyph(QStringLiteral("Caf\u00E9, \u00E7a va \u0416 !"), font),
            QString());
  EXPECT_EQ(CharactersWithoutGlyph(
                kHieroglyph + "a" + kPrivateUse + kHieroglyph + kPrivateUse + "b", font),
            kHieroglyph + kPrivateUse);
  // Blanks, tabs and zero-width format characters draw no ink of their own.
  EXPECT_EQ(CharactersWithoutGlyph(QStringLiteral("a \t\u00A0\u200B\u2028b"), font), QString());
}

TEST(CueTextNotes, PlainCuesHaveNothingToSay) {
  const std::vector<SubtitleEntry> cues{Cue({"Hello", "<i>World</i>"}), Cue({"{\\an8}Top"})};
  EXPECT_TRUE(CueTextNotes(cues, TextSource{MarkupDialect::Srt}, Style()).empty());
}

TEST(CueTextNotes, MarkupWithoutEffectIsCountedWithTheFirstCueAndWhatItWas) {
  const std::vector<SubtitleEntry> cues{Cue({"Plain"}), Cue({"<font color=\"#ff0000\">Red</font>"}),
                                        Cue({"{\\an8}{\\an2}Twice placed"}),
                                        Cue({"{\\c&H00FF00&}Green"})};
  EXPECT_EQ(CueTextNotes(cues, TextSource{MarkupDialect::Srt}, Style()),
            std::vector<std::string>{
                "3 markup tag(s) that a subpicture cannot show were left out, the first in cue 2: "
                "<font color=\"#ff0000\">."});
  // Drawn as written, nothing is taken out.
  EXPECT_TRUE(CueTextNotes(cues, TextSource{MarkupDialect::Literal}, Style()).empty());
}

TEST(CueTextNotes, CharactersNoFontDrawsAreNamedWithTheFirstCueHoldingOne) {
  const std::vector<SubtitleEntry> cues{
      Cue({"Fine"}), Cue({"Still fine", ("x" + kPrivateUse).toStdString()}),
      Cue({("<i>" + kHieroglyph + kPrivateUse + "</i>").toStdString()})};
  EXPECT_EQ(CueTextNotes(cues, TextSource{MarkupDialect::Srt}, Style()),
            std::vector<std::string>{
                "No installed font can draw \"\xEE\x80\x80\" (U+E000), \"\xF0\x93\x80\x80\" "
                "(U+13000), first in cue 2; they come out as empty boxes. Install a font that "
                "covers them."});
}

// Plain text's characters are named before italic text's; each once, however
// many cues and variants hold it; the cue named is the first holding any.
TEST(CueTextNotes, EachCharacterIsNamedOnceByVariantThenFirstAppearance) {
  const QString kOther = QString(QChar(0xE001));
  std::vector<SubtitleEntry> cues;
  for (int n = 0; n < 200; ++n) {
    cues.push_back(Cue({"Nothing missing here", "nor here"}));
  }
  cues[40] = Cue({("<i>" + kHieroglyph + "</i>").toStdString()});
  cues[90] =
      Cue({("b" + kOther + kPrivateUse).toStdString(), ("<i>" + kOther + "</i>").toStdString()});
  cues[150] = Cue({(kPrivateUse + kHieroglyph + kOther).toStdString()});
  EXPECT_EQ(CueTextNotes(cues, TextSource{MarkupDialect::Srt}, Style()),
            std::vector<std::string>{
                "No installed font can draw \"\xEE\x80\x81\" (U+E001), \"\xEE\x80\x80\" "
                "(U+E000), \"\xF0\x93\x80\x80\" (U+13000), first in cue 41; they come out as "
                "empty boxes. Install a font that covers them."});
}

TEST(CueTextNotes, ManyMissingCharactersAreCountedBeyondTheFirstTen) {
  QString line;
  for (char16_t c = 0xE000; c < 0xE00C; ++c) {
    line += QChar(c);
  }
  const std::string note =
      CueTextNotes({Cue({line.toStdString()})}, TextSource{MarkupDialect::Srt}, Style()).at(0);
  EXPECT_NE(note.find("(U+E009) and 2 more, first in cue 1;"), std::string::npos) << note;
  EXPECT_EQ(note.find("U+E00A"), std::string::npos);
}

}  // namespace
}  // namespace tesmora

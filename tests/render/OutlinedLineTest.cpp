#include "render/OutlinedLine.h"

#include <gtest/gtest.h>

#include <set>

#include "render/SubtitleFont.h"
#include "tests/render/LiteralStamping.h"
#include "tests/render/TwoLineEntry.h"

namespace tesmora {
namespace {

constexpr RoleColours kColours{qRgb(16, 16, 16), qRgb(128, 128, 128), qRgb(235, 235, 235)};
constexpr QRgb kBlue = qRgb(0, 0, 255);

QImage BlueFrame(int height) {
  QImage frame(720, height, QImage::Format_RGB888);
  frame.fill(QColor::fromRgb(kBlue));
  return frame;
}

// The first differing pixel, for a readable failure.
std::string FirstDifference(const QImage& a, const QImage& b) {
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) {
        return "first difference at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
      }
    }
  }
  return "no difference";
}

// The smallest rectangle holding every pixel that differs.
QRect ChangedPixels(const QImage& before, const QImage& after) {
  QRect changed;
  for (int y = 0; y < before.height(); ++y) {
    for (int x = 0; x < before.width(); ++x) {
      if (before.pixel(x, y) != after.pixel(x, y)) {
        changed |= QRect(x, y, 1, 1);
      }
    }
  }
  return changed;
}

struct Case {
  const char* text;
  const char* fontName;
  int size;
  const char* style;
  int outlineWidth;
  QPoint cell;
};

// Texts, sizes, styles, outline widths and positions, including cells that
// reach past every edge of the frame.
const Case kCases[] = {
    {"Lorvanto.", "Arial", 22, "Normal", 3, {300, 470}},
    {"Vessa Morane.", "Arial", 22, "Bold", 2, {250, 500}},
    {"jgpqy, descenders", "Arial", 30, "Italic", 4, {100, 420}},
    {"Underlined text", "Arial", 26, "Underline", 3, {200, 300}},
    {"Struck out", "Arial", 18, "StrikeOut", 2, {10, 10}},
    {"Bold italic under", "Arial", 40, "Bold+It+Und", 4, {-30, 540}},
    {"Edge right", "Liberation Serif", 36, "Italic+Under", 3, {560, -12}},
    {"W", "Arial", 50, "Bold+Italic", 4, {-20, -20}},
    {"Tom & Jerry && co", "Arial", 10, "Bold+Under", 2, {690, 560}},
    {"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC 100", "DejaVu Sans", 24, "Normal", 3, {5, 200}},
    {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D",
     "DejaVu Sans",
     26,
     "Normal",
     3,
     {200, 400}},
    {"\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 \xD8\xA8\xD9\x83\xD9\x85",
     "DejaVu Sans",
     26,
     "Bold",
     2,
     {300, 450}},
    {"tab\there\x01\x7F", "Arial", 22, "Normal", 3, {100, 100}},
    // Accents above capitals and marks stacked on a letter reach far above
    // the font's own bounds.
    {"\xC3\x89\xC3\x85\xC3\x8A\xC3\x91 \xC3\x80l\xC3\xA8ve", "Arial", 22, "Normal", 3, {300, 474}},
    {"a\xCC\x81\xCC\x81\xCC\x81\xCC\x81\xCC\x81\xCC\x81 x", "Arial", 22, "Normal", 3, {300, 400}},
    {"a\xCC\x81\xCC\x81\xCC\x81\xCC\x81\xCC\x81\xCC\x81 x",
     "DejaVu Sans",
     30,
     "Bold",
     4,
     {300, 20}},
    {"a\xCC\xA3\xCC\xA3\xCC\xA3\xCC\xA3\xCC\xA3\xCC\xA3 y",
     "DejaVu Sans",
     22,
     "Normal",
     3,
     {300, 500}},
    {"", "Arial", 22, "Normal", 3, {300, 300}},
};

TEST(DrawOutlinedLine, EqualsLiteralStamping) {
  for (const Case& c : kCases) {
    const QFont font =
        SubtitleFont(QString::fromLatin1(c.fontName), c.size, StyleFromName(c.style));
    const QString text = QString::fromUtf8(c.text);
    QImage stamped = BlueFrame(576);
    QImage drawn = BlueFrame(576);
    testing::StampOutlinedLine(stamped, text, font, c.cell, c.outlineWidth, kColours);
    const QRect changed = DrawOutlinedLine(drawn, text, font, c.cell, c.outlineWidth, kColours);
    EXPECT_TRUE(stamped == drawn) << c.text << ": " << FirstDifference(stamped, drawn);
    EXPECT_EQ(drawn == BlueFrame(576), text.isEmpty()) << c.text;
    EXPECT_EQ(changed, ChangedPixels(BlueFrame(576), drawn)) << c.text;
  }
}

TEST(DrawOutlinedLine, EqualsLiteralStampingOfTwoLinesOnPhotoAndKeyFrames) {
  for (const char* align : {"center", "left", "right"}) {
    for (const int offsetOr : {-14, -4, 10}) {
      SubtitleStyle style;
      style.align = QString::fromLatin1(align);
      style.offsetOr = offsetOr;
      style.style = StyleFromName("Bold+Under");
      const testing::TwoLineEntry subtitle =
          testing::PrepareTwoLineEntry("Gypsy jugglers quickly", "jump over the fence", style);
      const SubtitleLayout layout = PlaceSubtitle(subtitle.measure1, subtitle.measure2, style.align,
                                                  style.offset, offsetOr, 480);
      // A background with every kind of colour under the text.
      QImage stamped(720, 480, QImage::Format_RGB888);
      for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 720; ++x) {
          stamped.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
        }
      }
      QImage drawn = stamped;
      for (const auto& [text, cell] :
           {std::pair{subtitle.line1, layout.cell1}, std::pair{subtitle.line2, layout.cell2}}) {
        testing::StampOutlinedLine(stamped, text, subtitle.font, cell, 4, kColours);
      }
      testing::DrawTwoLineEntry(drawn, subtitle, layout, 4, kColours);
      EXPECT_TRUE(stamped == drawn)
          << align << " " << offsetOr << ": " << FirstDifference(stamped, drawn);
    }
  }
}

TEST(DrawOutlinedLine, LeavesOnlyBlueAndTheRoleColours) {
  const std::set<QRgb> allowed{kBlue, kColours.outline, kColours.antialias, kColours.text};
  for (const char* style : {"Normal", "Bold", "Italic", "Underline", "StrikeOut", "Bold+It+Und"}) {
    for (const int size : {10, 22, 50}) {
      SubtitleStyle subtitleStyle;
      subtitleStyle.size = size;
      subtitleStyle.style = StyleFromName(style);
      const testing::TwoLineEntry subtitle = testing::PrepareTwoLineEntry(
          "Qu'est-ce que c'est? \xE0\xE9\xEF\xF4\xFB", "1234567890 !@#$%^&*()", subtitleStyle);
      QImage frame = BlueFrame(576);
      testing::DrawTwoLineEntry(
          frame, subtitle,
          PlaceSubtitle(subtitle.measure1, subtitle.measure2, "center", 30, -4, 576), 3, kColours);
      std::set<QRgb> seen;
      for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
          seen.insert(frame.pixel(x, y) | 0xFF000000u);
        }
      }
      for (const QRgb colour : seen) {
        EXPECT_TRUE(allowed.count(colour)) << style << " " << size << ": " << std::hex << colour;
      }
      EXPECT_EQ(seen.size(), 4u) << style << " " << size;
    }
  }
}

// Control characters, a replacement character and a lone surrogate in a
// line far wider than the frame, drawn across its edges: the drawing stays
// within the frame, changes exactly the pixels it reports, and leaves nothing
// but the role colours on the blue.
TEST(DrawOutlinedLine, SurvivesHostileText) {
  const QFont font = SubtitleFont(QStringLiteral("Arial"), 22, {});
  QImage frame = BlueFrame(480);
  QString hostile = QString(4096, QLatin1Char('W'));
  hostile[10] = QChar(0);
  hostile[20] = QChar(7);
  hostile[30] = QChar(0xFFFD);
  hostile[40] = QChar(0xD800);  // a lone surrogate
  for (const QPoint cell : {QPoint(-5000, 100), QPoint(0, 470)}) {
    const QImage before = frame;
    const QRect changed = DrawOutlinedLine(frame, hostile, font, cell, 4, kColours);
    EXPECT_FALSE(changed.isEmpty()) << cell.x() << "," << cell.y();
    EXPECT_TRUE(frame.rect().contains(changed)) << cell.x() << "," << cell.y();
    EXPECT_EQ(changed, ChangedPixels(before, frame)) << cell.x() << "," << cell.y();
  }
  // The cut line at the bottom reaches the last row.
  EXPECT_EQ(ChangedPixels(BlueFrame(480), frame).bottom(), 479);
  const QImage before = frame;
  EXPECT_TRUE(
      DrawOutlinedLine(frame, QStringLiteral("far away"), font, {100000, -100000}, 4, kColours)
          .isEmpty());
  EXPECT_EQ(frame, before);
  const std::set<QRgb> allowed{kBlue, kColours.outline, kColours.antialias, kColours.text};
  std::set<QRgb> seen;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      seen.insert(frame.pixel(x, y) | 0xFF000000u);
    }
  }
  EXPECT_EQ(seen, allowed);
}

}  // namespace
}  // namespace tesmora

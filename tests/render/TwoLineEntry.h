#pragma once

// The first drawing of a subtitle: two 8-bit lines, each decoded in the
// style's character set, measured, placed by PlaceSubtitle and drawn with
// DrawOutlinedLine. The window and the converter now draw every subtitle as
// a cue; a cue of one or two plain lines must draw exactly this, so the tests
// keep it as their reference.
#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QString>
#include <string_view>

#include "render/FrameBitmap.h"
#include "render/LineMeasure.h"
#include "render/OutlinedLine.h"
#include "render/SubtitleFont.h"
#include "render/SubtitleLayout.h"
#include "render/SubtitleStyle.h"
#include "subtitles/TextDecoder.h"

namespace tesmora::testing {

struct TwoLineEntry {
  QFont font;
  QString line1;
  QString line2;
  LineMeasure measure1;
  LineMeasure measure2;

  bool fitsWidth() const { return measure1.width < kLineLimit && measure2.width < kLineLimit; }
};

inline TwoLineEntry PrepareTwoLineEntry(const QByteArray& line1, const QByteArray& line2,
                                        const SubtitleStyle& style) {
  TwoLineEntry entry;
  entry.font = SubtitleFont(style.fontName, style.size, style.style);
  const TextDecoder decoder(style.charset);
  const auto decode = [&](const QByteArray& bytes) {
    const QString text = QString::fromStdString(decoder.decode(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
    return style.charset == charset::kSymbol ? SymbolTextForFont(text, entry.font) : text;
  };
  entry.line1 = decode(line1);
  entry.line2 = decode(line2);
  entry.measure1 = MeasureLineWidth(entry.line1, entry.font);
  entry.measure2 = MeasureLineWidth(entry.line2, entry.font);
  return entry;
}

inline SubtitleLayout PlaceTwoLineEntry(const TwoLineEntry& entry, const SubtitleStyle& style,
                                        int frameHeight) {
  return PlaceSubtitle(entry.measure1, entry.measure2, style.align, style.offset, style.offsetOr,
                       frameHeight);
}

// Draws Line1 and then Line2 with their rings; returns the rectangle of the
// pixels changed.
inline QRect DrawTwoLineEntry(QImage& picture, const TwoLineEntry& entry,
                              const SubtitleLayout& layout, int outlineWidth,
                              const RoleColours& colours) {
  const QRect first =
      DrawOutlinedLine(picture, entry.line1, entry.font, layout.cell1, outlineWidth, colours);
  const QRect second =
      DrawOutlinedLine(picture, entry.line2, entry.font, layout.cell2, outlineWidth, colours);
  return first.united(second);
}

// The entry drawn on a pure-blue key frame of `frame`'s height; returns the
// band the encoder reads.
inline EncodeArea RenderTwoLineEntry(FrameBitmap& frame, const QByteArray& line1,
                                     const QByteArray& line2, const SubtitleStyle& style,
                                     int outlineWidth, const RoleColours& colours) {
  frame = FrameBitmap(frame.height());
  const TwoLineEntry entry = PrepareTwoLineEntry(line1, line2, style);
  const SubtitleLayout layout = PlaceTwoLineEntry(entry, style, frame.height());
  QImage canvas(frame.row(0), FrameBitmap::kWidth, frame.height(), FrameBitmap::kStride,
                QImage::Format_RGB888);
  return BandHoldingInk(layout.area,
                        DrawTwoLineEntry(canvas, entry, layout, outlineWidth, colours));
}

}  // namespace tesmora::testing

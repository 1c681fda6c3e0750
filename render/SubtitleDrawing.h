#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

#include "render/LineMeasure.h"
#include "render/OutlinedLine.h"
#include "render/SubtitleLayout.h"
#include "render/SubtitleStyle.h"

namespace tesmora {

// A subtitle's two lines ready to draw: decoded in the style's character set,
// measured in the style's font.
struct PreparedSubtitle {
  QFont font;
  QString line1;
  QString line2;
  LineMeasure measure1;
  LineMeasure measure2;

  bool fitsWidth() const { return measure1.width < kLineLimit && measure2.width < kLineLimit; }
};

// Decodes and measures the 8-bit lines of one subtitle.
PreparedSubtitle PrepareSubtitle(const QByteArray& line1, const QByteArray& line2,
                                 const SubtitleStyle& style);

// "The string " CR line1 CR line2 CR "is too long.", CR being code 13.
QString TooLongMessage(const QString& line1, const QString& line2);

// The line-fit check's message for an entry that does not fit: the long one
// before any load has passed the check (asking to correct the file), the
// short one afterwards (asking for a smaller font).
QString OverlongEntryMessage(const QString& line1, const QString& line2, bool subtitlesLoaded);

// The same for a cue of any number of lines, shown without markup: "The
// string " CR, each line followed by CR, then "is too long." and the hint.
// One or two lines give the very text of OverlongEntryMessage.
QString OverlongCueMessage(const QStringList& lines, bool subtitlesLoaded);

// Draws Line1 and then Line2 with their rings on a 24-bit picture, clipped to
// it. An empty line draws nothing. Returns the smallest rectangle that holds
// every pixel it changed; empty when it changed none. Glyphs come from
// `glyphs` where given.
QRect DrawSubtitle(QImage& picture, const PreparedSubtitle& subtitle, const SubtitleLayout& layout,
                   int outlineWidth, const RoleColours& colours, GlyphCache* glyphs = nullptr);

}  // namespace tesmora

#include "render/GlyphCache.h"

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tesmora {

namespace {

constexpr int kFractionSteps = 64;

// Whether any pixel on the canvas's outermost rows or columns is set: the
// glyph may then reach past the canvas.
bool InkOnBorder(const QImage& canvas) {
  const int right = canvas.width() - 1;
  const int bottom = canvas.height() - 1;
  for (const int y : {0, bottom}) {
    const auto* pixels = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
    for (int x = 0; x <= right; ++x) {
      if (qAlpha(pixels[x]) != 0) {
        return true;
      }
    }
  }
  for (int y = 0; y <= bottom; ++y) {
    const auto* pixels = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
    if (qAlpha(pixels[0]) != 0 || qAlpha(pixels[right]) != 0) {
      return true;
    }
  }
  return false;
}

// The glyph alone on a transparent canvas whose top-left corner is `origin`
// relative to the glyph's whole-pixel pen position.
QImage DrawOnCanvas(const QRawFont& font, std::uint32_t index, PixelFraction fraction,
                    const QRect& area) {
  QImage canvas(area.size(), QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  QGlyphRun run;
  run.setRawFont(font);
  run.setGlyphIndexes({index});
  run.setPositions({QPointF(0, 0)});
  QPainter painter(&canvas);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, false);
  painter.setPen(QColor(Qt::white));
  painter.drawGlyphRun(QPointF(-area.left() + static_cast<qreal>(fraction.x) / kFractionSteps,
                               -area.top() + static_cast<qreal>(fraction.y) / kFractionSteps),
                       run);
  return canvas;
}

GlyphBitmap PackInk(const QImage& canvas, QPoint origin) {
  QRect ink;
  for (int y = 0; y < canvas.height(); ++y) {
    const auto* pixels = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
    for (int x = 0; x < canvas.width(); ++x) {
      if (qAlpha(pixels[x]) != 0) {
        ink |= QRect(x, y, 1, 1);
      }
    }
  }
  GlyphBitmap bitmap;
  if (ink.isEmpty()) {
    return bitmap;
  }
  bitmap.ink = ink.translated(origin);
  bitmap.wordsPerRow = (ink.width() + 63) / 64;
  bitmap.words.assign(static_cast<std::size_t>(bitmap.wordsPerRow) * ink.height(), 0);
  for (int y = 0; y < ink.height(); ++y) {
    const auto* pixels = reinterpret_cast<const QRgb*>(canvas.constScanLine(ink.top() + y));
    std::uint64_t* row = bitmap.words.data() + static_cast<std::size_t>(y) * bitmap.wordsPerRow;
    for (int x = 0; x < ink.width(); ++x) {
      if (qAlpha(pixels[ink.left() + x]) != 0) {
        row[x / 64] |= std::uint64_t{1} << (x % 64);
      }
    }
  }
  return bitmap;
}

}  // namespace

GlyphBitmap DrawGlyphBitmap(const QRawFont& font, std::uint32_t index, PixelFraction fraction) {
  // The outline's bounds, widened: hinting and the bi-level drawing may put
  // ink a little past them. Should the glyph still reach the canvas's edge,
  // it is drawn again on a larger one.
  const QRectF bounds = font.boundingRect(index);
  const QRect outline(QPoint(static_cast<int>(std::floor(bounds.left())),
                             static_cast<int>(std::floor(bounds.top()))),
                      QPoint(static_cast<int>(std::ceil(bounds.right())),
                             static_cast<int>(std::ceil(bounds.bottom()))));
  constexpr int kLargestMargin = 512;
  int margin = std::max(4, static_cast<int>(font.pixelSize()) / 2 + 2);
  for (;;) {
    const QRect area = outline.adjusted(-margin, -margin, margin, margin);
    const QImage canvas = DrawOnCanvas(font, index, fraction, area);
    if (margin >= kLargestMargin || !InkOnBorder(canvas)) {
      return PackInk(canvas, area.topLeft());
    }
    margin *= 2;
  }
}

std::size_t GlyphCache::KeyHash::operator()(const Key& key) const {
  std::size_t hash = static_cast<std::size_t>(key.face);
  hash = hash * 1000003u ^ key.index;
  hash =
      hash * 1000003u ^ static_cast<std::size_t>(key.fraction.x * kFractionSteps + key.fraction.y);
  return hash;
}

int GlyphCache::face(const QFont& font, const QRawFont& face) {
  // The font's key holds what decides its drawing but the hinting; the face
  // tells the font's own glyphs from those of a fallback. It is a real face:
  // the box stand-in of text no font covers has no family, and its pieces
  // never reach the cache (PieceGlyphs leaves them to the painter).
  const QString description = font.key() + u'|' + QString::number(font.hintingPreference()) + u'|' +
                              face.familyName() + u'|' + face.styleName() + u'|' +
                              QString::number(face.pixelSize()) + u'|' +
                              QString::number(face.weight()) + u'|' + QString::number(face.style());
  if (const auto found = faces_.find(description); found != faces_.end()) {
    return found->second;
  }
  if (faces_.size() >= kFaceCapacity) {
    faces_.clear();
    glyphs_.clear();
  }
  const int number = static_cast<int>(faces_.size());
  faces_.emplace(description, number);
  return number;
}

std::shared_ptr<const GlyphBitmap> GlyphCache::glyph(int face, const QRawFont& font,
                                                     std::uint32_t index, PixelFraction fraction) {
  const Key key{face, index, fraction};
  if (const auto found = glyphs_.find(key); found != glyphs_.end()) {
    return found->second;
  }
  if (glyphs_.size() >= capacity_) {
    glyphs_.clear();
  }
  auto bitmap = std::make_shared<const GlyphBitmap>(DrawGlyphBitmap(font, index, fraction));
  glyphs_.emplace(key, bitmap);
  return bitmap;
}

}  // namespace tesmora

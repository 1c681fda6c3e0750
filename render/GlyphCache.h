#pragma once

#include <QFont>
#include <QPoint>
#include <QRawFont>
#include <QRect>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace tesmora {

// Where a glyph's pen position falls between whole pixels, in 64ths of a
// pixel (the precision of the layout's glyph positions): 0..63 on each axis.
struct PixelFraction {
  int x = 0;
  int y = 0;
  bool operator==(const PixelFraction&) const = default;
};

// One glyph drawn bi-level. `ink` is the rectangle its set pixels span,
// relative to the whole-pixel part of its pen position; each of its rows is
// `wordsPerRow` 64-bit words, bit i of word j being column 64 j + i of `ink`.
struct GlyphBitmap {
  QRect ink;
  int wordsPerRow = 0;
  std::vector<std::uint64_t> words;

  const std::uint64_t* row(int y) const {
    return words.data() + static_cast<std::size_t>(y) * wordsPerRow;
  }
};

// Draws glyph `index` of `font` the way a painter draws text on an ARGB32
// canvas with antialiasing off, its pen position `fraction` past a whole
// pixel, and keeps the pixels it covers.
GlyphBitmap DrawGlyphBitmap(const QRawFont& font, std::uint32_t index, PixelFraction fraction);

// Bitmaps of the glyphs drawn so far, one per face, glyph and pixel
// fraction. It holds no fonts, only their descriptions, so it keeps no font
// engine alive and may be dropped on any thread; it is not shared between
// threads, each thread that draws owns its own. When it holds `capacity`
// glyphs it starts afresh, which bounds its memory.
class GlyphCache {
 public:
  static constexpr std::size_t kDefaultCapacity = 4096;
  static constexpr std::size_t kFaceCapacity = 256;

  explicit GlyphCache(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  // A number for the face a layout of text in `font` chose for some glyphs
  // (the font's own or a fallback); equal for equal fonts and faces. Valid
  // until the next call of face().
  int face(const QFont& font, const QRawFont& face);

  // The bitmap of glyph `index` of the face, drawn from `font` (that face) on
  // first use.
  std::shared_ptr<const GlyphBitmap> glyph(int face, const QRawFont& font, std::uint32_t index,
                                           PixelFraction fraction);

  std::size_t size() const { return glyphs_.size(); }
  std::size_t capacity() const { return capacity_; }

 private:
  struct Key {
    int face = 0;
    std::uint32_t index = 0;
    PixelFraction fraction;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const;
  };

  std::size_t capacity_;
  std::unordered_map<QString, int> faces_;
  std::unordered_map<Key, std::shared_ptr<const GlyphBitmap>, KeyHash> glyphs_;
};

}  // namespace tesmora

// The encoder against a plain reference written straight from the stream
// format, over many random rows and bands: colours that differ in a single
// byte, colours of no role, roles sharing a colour or using the blue key, runs
// of every length up to the whole row, and bands that end on the last row.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "sup/EncodeFields.h"
#include "tests/sup/HexText.h"

namespace tesmora {
namespace {

using testing::Hex;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGrey{128, 128, 128};

// Colours the random rows are drawn from: the role colours, pure blue, and
// colours one byte away from them.
constexpr Rgb kColours[] = {kPureBlue,      kWhite,
                            kBlack,         kGrey,
                            Rgb{0, 0, 254}, Rgb{1, 0, 255},
                            Rgb{0, 1, 255}, Rgb{255, 255, 254},
                            Rgb{0, 0, 1},   Rgb{128, 129, 128}};
constexpr int kColourCount = sizeof kColours / sizeof kColours[0];

// Text, outline, antialias.
const RoleKeyColours kKeySets[] = {
    {kWhite, kBlack, kGrey},
    {kWhite, kWhite, kWhite},
    {kGrey, kGrey, kBlack},
    {kPureBlue, kBlack, kGrey},
    {kBlack, kPureBlue, Rgb{0, 0, 254}},
};

// The pixel code: pure blue first, then Text, Outline, Antialias; anything
// else is Background.
int ReferenceCode(Rgb pixel, const RoleKeyColours& keys) {
  if (pixel == kPureBlue) {
    return 0;
  }
  if (pixel == keys.text) {
    return 1;
  }
  if (pixel == keys.outline) {
    return 2;
  }
  if (pixel == keys.antialias) {
    return 3;
  }
  return 0;
}

// One row: runs of equal colour over pixels 0 to 718, shifted one pixel left
// when the first two pixels are equal; each run as codes of at most 255
// pixels in the shortest of the 4-, 8-, 12- and 16-bit forms; a pad nibble
// to the byte; then the 16-bit end-of-line code that fills the rest of the
// row with Background.
std::vector<std::uint8_t> ReferenceRow(const FrameBitmap& frame, int y,
                                       const RoleKeyColours& keys) {
  struct Run {
    int length;
    int code;
  };
  std::vector<Run> runs;
  for (int x = 0; x < FrameBitmap::kWidth - 1; ++x) {
    if (x > 0 && frame.pixel(x, y) == frame.pixel(x - 1, y)) {
      runs.back().length += 1;
    } else {
      runs.push_back({1, ReferenceCode(frame.pixel(x, y), keys)});
    }
  }
  if (runs.front().length >= 2) {
    runs.front().length -= 1;
    runs.back().length += 1;
  }
  std::vector<int> nibbles;
  for (const Run& run : runs) {
    for (int left = run.length; left > 0;) {
      const int piece = std::min(left, 255);
      const int value = piece * 4 + run.code;
      const int count = piece < 4 ? 1 : piece < 16 ? 2 : piece < 64 ? 3 : 4;
      for (int i = count - 1; i >= 0; --i) {
        nibbles.push_back((value >> (4 * i)) & 0xF);
      }
      left -= piece;
    }
  }
  if (nibbles.size() % 2 != 0) {
    nibbles.push_back(0);
  }
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < nibbles.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(nibbles[i] << 4 | nibbles[i + 1]));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

// Fills one row in one of several shapes, chosen by `shape`.
void DrawRandomRow(FrameBitmap& frame, int y, int shape, std::mt19937& random) {
  const auto pick = [&] { return kColours[random() % kColourCount]; };
  const auto below = [&](int limit) { return static_cast<int>(random() % limit); };
  switch (shape) {
    case 0:  // blank
      frame.fillRows(y, y, kPureBlue);
      return;
    case 1:  // one colour, not blue
      frame.fillRows(y, y, pick());
      return;
    case 2:  // a single differing pixel somewhere, often at the ends
    {
      frame.fillRows(y, y, kPureBlue);
      const int at[] = {0, 1, 2, 717, 718, 719, below(720)};
      frame.setPixel(at[below(7)], y, pick());
      return;
    }
    case 3:  // every pixel its own colour
      for (int x = 0; x < FrameBitmap::kWidth; ++x) {
        frame.setPixel(x, y, pick());
      }
      return;
    default:  // runs up to a length that varies from row to row
    {
      const int maxRun = shape == 4 ? 6 : shape == 5 ? 70 : 720;
      int x = 0;
      while (x < FrameBitmap::kWidth) {
        const Rgb colour = pick();
        for (int n = 1 + below(maxRun); n > 0 && x < FrameBitmap::kWidth; --n, ++x) {
          frame.setPixel(x, y, colour);
        }
      }
      return;
    }
  }
}

FrameBitmap RandomFrame(int height, std::mt19937& random) {
  FrameBitmap frame(height);
  for (int y = 0; y < height; ++y) {
    DrawRandomRow(frame, y, static_cast<int>(random() % 7), random);
  }
  return frame;
}

TEST(EncodeFieldsReference, EveryRowAsAOneRowBandMatchesTheReference) {
  std::mt19937 random(5150);
  for (const int height : {576, 480}) {
    const FrameBitmap frame = RandomFrame(height, random);
    for (const RoleKeyColours& keys : kKeySets) {
      for (int y = 0; y < height; ++y) {
        const PixelData data = EncodeFields(frame, {y, 1}, keys);
        std::vector<std::uint8_t> expected{0, 0};
        const auto row = ReferenceRow(frame, y, keys);
        expected.insert(expected.end(), row.begin(), row.end());
        ASSERT_EQ(Hex(data.bytes), Hex(expected)) << "height " << height << ", row " << y;
        // The row's field starts right after the two leading zeros; the other
        // field is empty.
        ASSERT_EQ(data.topFieldOffset, y % 2 == 0 ? 6 : 4);
        ASSERT_EQ(data.bottomFieldOffset, y % 2 == 0 ? 4 : 6);
      }
    }
  }
}

TEST(EncodeFieldsReference, RandomBandsLayOutTheReferenceRowsByField) {
  std::mt19937 random(90210);
  for (const int height : {576, 480}) {
    const FrameBitmap frame = RandomFrame(height, random);
    for (const RoleKeyColours& keys : kKeySets) {
      std::vector<std::vector<std::uint8_t>> rows;
      for (int y = 0; y < height; ++y) {
        rows.push_back(ReferenceRow(frame, y, keys));
      }
      for (int band = 0; band < 60; ++band) {
        const int first = static_cast<int>(random() % height);
        // Every fourth band runs to the last row.
        const int count =
            band % 4 == 0 ? height - first : 1 + static_cast<int>(random() % (height - first));
        std::vector<std::uint8_t> expected{0, 0};
        int topOffset = 4;
        int bottomOffset = 4;
        for (const int parity : {0, 1}) {
          for (int y = first; y < first + count; ++y) {
            if (y % 2 != parity) {
              continue;
            }
            int& offset = parity == 0 ? topOffset : bottomOffset;
            if (offset == 4) {
              offset = 4 + static_cast<int>(expected.size());
            }
            expected.insert(expected.end(), rows[y].begin(), rows[y].end());
          }
        }
        const PixelData data = EncodeFields(frame, {first, count}, keys);
        const std::string where = "band " + std::to_string(first) + "+" + std::to_string(count) +
                                  " of " + std::to_string(height);
        ASSERT_EQ(data.bytes, expected) << where;
        ASSERT_EQ(data.topFieldOffset, topOffset) << where;
        ASSERT_EQ(data.bottomFieldOffset, bottomOffset) << where;
      }
    }
  }
}

}  // namespace
}  // namespace tesmora

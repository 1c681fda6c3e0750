#include "pgs/SegmentPayloads.h"

#include "pgs/SegmentTypes.h"

namespace tesmora::pgs::payload {
namespace {

int Read16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return bytes[at] << 8 | bytes[at + 1];
}

int Read24(std::span<const std::uint8_t> bytes, std::size_t at) {
  return bytes[at] << 16 | bytes[at + 1] << 8 | bytes[at + 2];
}

std::string Bytes(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

}  // namespace

Parsed<Composition> ParseComposition(std::span<const std::uint8_t> payload) {
  constexpr std::size_t kFixed = 11;
  Parsed<Composition> parsed;
  if (payload.size() < kFixed) {
    parsed.sizeFault = "composition segment of " + Bytes(payload.size()) + "; it needs at least " +
                       std::to_string(kFixed);
    return parsed;
  }
  Composition composition;
  composition.width = Read16(payload, 0);
  composition.height = Read16(payload, 2);
  composition.frameRate = payload[4];
  composition.number = Read16(payload, 5);
  composition.state = payload[7];
  composition.paletteOnly = (payload[8] & kPaletteUpdateOnly) != 0;
  composition.paletteId = payload[9];
  const int count = payload[10];
  // The bytes the objects need: those the payload holds with their crops,
  // the rest at their shortest.
  std::size_t needed = kFixed;
  for (int n = 0; n < count; ++n) {
    const std::size_t at = needed;
    needed += 8;
    if (payload.size() < needed) {
      continue;
    }
    CompositionObject object;
    object.objectId = Read16(payload, at);
    object.windowId = payload[at + 2];
    object.cropped = (payload[at + 3] & kObjectCropped) != 0;
    object.forced = (payload[at + 3] & kObjectForced) != 0;
    object.x = Read16(payload, at + 4);
    object.y = Read16(payload, at + 6);
    if (object.cropped) {
      needed += 8;
      if (payload.size() < needed) {
        continue;
      }
      object.crop = {Read16(payload, at + 8), Read16(payload, at + 10), Read16(payload, at + 12),
                     Read16(payload, at + 14)};
    }
    composition.objects.push_back(object);
  }
  if (needed != payload.size()) {
    parsed.sizeFault = "composition segment of " + Bytes(payload.size()) + "; its " +
                       std::to_string(count) + (count == 1 ? " object needs " : " objects need ") +
                       std::to_string(needed);
  }
  parsed.fields = std::move(composition);
  return parsed;
}

Parsed<std::vector<Window>> ParseWindows(std::span<const std::uint8_t> payload) {
  Parsed<std::vector<Window>> parsed;
  if (payload.empty()) {
    parsed.sizeFault = "window segment of 0 bytes; it needs at least 1";
    return parsed;
  }
  const std::size_t count = payload[0];
  std::vector<Window> windows;
  for (std::size_t at = 1; windows.size() < count && payload.size() - at >= 9; at += 9) {
    windows.push_back({payload[at],
                       {Read16(payload, at + 1), Read16(payload, at + 3), Read16(payload, at + 5),
                        Read16(payload, at + 7)}});
  }
  const std::size_t needed = 1 + 9 * count;
  if (needed != payload.size()) {
    parsed.sizeFault = "window segment of " + Bytes(payload.size()) + "; its " +
                       std::to_string(count) + (count == 1 ? " window needs " : " windows need ") +
                       std::to_string(needed);
  }
  parsed.fields = std::move(windows);
  return parsed;
}

Parsed<Palette> ParsePalette(std::span<const std::uint8_t> payload) {
  Parsed<Palette> parsed;
  if (payload.size() < 2) {
    parsed.sizeFault = "palette segment of " + Bytes(payload.size()) + "; it needs at least 2";
    return parsed;
  }
  Palette palette;
  palette.id = payload[0];
  palette.version = payload[1];
  std::size_t at = 2;
  for (; payload.size() - at >= 5; at += 5) {
    palette.entries.push_back(
        {payload[at], payload[at + 1], payload[at + 2], payload[at + 3], payload[at + 4]});
  }
  if (at != payload.size()) {
    parsed.sizeFault =
        "palette segment of " + Bytes(payload.size()) + " does not hold whole entries of 5 bytes";
  } else if (palette.entries.size() > static_cast<std::size_t>(kPaletteEntries)) {
    parsed.sizeFault = "palette segment of " + std::to_string(palette.entries.size()) +
                       " entries; a palette has at most " + std::to_string(kPaletteEntries);
  }
  parsed.fields = std::move(palette);
  return parsed;
}

Parsed<ObjectFragment> ParseObjectFragment(std::span<const std::uint8_t> payload) {
  Parsed<ObjectFragment> parsed;
  if (payload.size() < 4) {
    parsed.sizeFault = "object segment of " + Bytes(payload.size()) + "; it needs at least 4";
    return parsed;
  }
  ObjectFragment fragment;
  fragment.id = Read16(payload, 0);
  fragment.version = payload[2];
  fragment.first = (payload[3] & kFirstFragment) != 0;
  fragment.last = (payload[3] & kLastFragment) != 0;
  std::size_t at = 4;
  if (fragment.first) {
    if (payload.size() < 11) {
      parsed.sizeFault =
          "object segment of " + Bytes(payload.size()) + "; a first fragment needs at least 11";
      return parsed;
    }
    fragment.dataLength = Read24(payload, 4);
    fragment.width = Read16(payload, 7);
    fragment.height = Read16(payload, 9);
    at = 11;
  }
  fragment.runLengths = payload.subspan(at);
  parsed.fields = fragment;
  return parsed;
}

}  // namespace tesmora::pgs::payload

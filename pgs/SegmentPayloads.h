#pragma once

// The payloads of composition, window, palette and object segments read
// into fields. Each reader takes any bytes: it returns what the bytes hold
// and says when they are too few or too many for the segment's layout.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The payloads as read back from a stream, apart from the writer's types of
// the same names.
namespace tesmora::pgs::payload {

struct Area {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct CompositionObject {
  int objectId = 0;
  int windowId = 0;
  bool cropped = false;
  bool forced = false;
  int x = 0;
  int y = 0;
  Area crop;  // x and y within the object, when cropped
};

struct Composition {
  int width = 0;
  int height = 0;
  std::uint8_t frameRate = 0;
  int number = 0;
  std::uint8_t state = 0;
  bool paletteOnly = false;
  int paletteId = 0;
  std::vector<CompositionObject> objects;
};

struct Window {
  int id = 0;
  Area area;
};

struct PaletteEntry {
  std::uint8_t index = 0;
  std::uint8_t y = 0;
  std::uint8_t cr = 0;
  std::uint8_t cb = 0;
  std::uint8_t alpha = 0;
  bool operator==(const PaletteEntry&) const = default;
};

struct Palette {
  int id = 0;
  int version = 0;
  std::vector<PaletteEntry> entries;
};

struct ObjectFragment {
  int id = 0;
  int version = 0;
  bool first = false;
  bool last = false;
  int dataLength = 0;  // first fragment only: run-length bytes + 4
  int width = 0;       // first fragment only
  int height = 0;
  std::span<const std::uint8_t> runLengths;
};

// A payload read: the fields, or nothing when even the fixed part is
// missing, and a description of a size that does not fit the layout.
template <typename Fields>
struct Parsed {
  std::optional<Fields> fields;
  std::string sizeFault;  // empty when the size fits
};

Parsed<Composition> ParseComposition(std::span<const std::uint8_t> payload);
Parsed<std::vector<Window>> ParseWindows(std::span<const std::uint8_t> payload);
Parsed<Palette> ParsePalette(std::span<const std::uint8_t> payload);
Parsed<ObjectFragment> ParseObjectFragment(std::span<const std::uint8_t> payload);

}  // namespace tesmora::pgs::payload

#pragma once

// The building blocks of a Blu-ray presentation graphics (PGS) stream as it
// is exchanged between tools: segments of "PG", a presentation and a
// decoding time on the 90 kHz clock, a type and a size, all big-endian.

#include <cstddef>
#include <cstdint>

namespace tesmora::pgs {

enum class SegmentType : std::uint8_t {
  Palette = 0x14,      // PDS
  Object = 0x15,       // ODS
  Composition = 0x16,  // PCS
  Window = 0x17,       // WDS
  End = 0x80,          // END
};

// "PG", PTS (4), DTS (4), type (1), size (2).
inline constexpr std::size_t kSegmentHeaderSize = 13;
inline constexpr std::uint8_t kMagic0 = 'P';
inline constexpr std::uint8_t kMagic1 = 'G';

// The composition state of a PCS.
enum class CompositionState : std::uint8_t {
  Normal = 0x00,
  AcquisitionPoint = 0x40,
  EpochStart = 0x80,
};

// Flags of a composition object and of an object segment.
inline constexpr std::uint8_t kObjectCropped = 0x80;
inline constexpr std::uint8_t kObjectForced = 0x40;
inline constexpr std::uint8_t kPaletteUpdateOnly = 0x80;
inline constexpr std::uint8_t kFirstFragment = 0x80;
inline constexpr std::uint8_t kLastFragment = 0x40;

// Run-length bytes an object segment carries: the first fragment also holds
// the object's data length and size (7 bytes), so it takes fewer.
inline constexpr std::size_t kFirstFragmentData = 0xFFE4;
inline constexpr std::size_t kLaterFragmentData = 0xFFEB;

// Limits of a display set and an epoch.
inline constexpr int kMostObjectsShown = 2;
inline constexpr int kMostWindows = 2;
inline constexpr int kMostPalettes = 8;
inline constexpr int kMostObjectsPerEpoch = 64;
inline constexpr int kSmallestObjectSide = 8;
inline constexpr int kLargestObjectSide = 4096;
inline constexpr int kPaletteEntries = 256;

// The frame-rate codes of the PCS.
enum class FrameRateCode : std::uint8_t {
  Film = 0x10,    // 23.976
  Film24 = 0x20,  // 24
  Pal = 0x30,     // 25
  Ntsc = 0x40,    // 29.97
  Pal50 = 0x60,   // 50
  Ntsc60 = 0x70,  // 59.94
};

// The decoder model's rates in bytes a second: decoding objects into the
// object buffer, and writing the graphics plane.
inline constexpr std::int64_t kDecodeRate = 16'000'000;
inline constexpr std::int64_t kPlaneWriteRate = 32'000'000;
inline constexpr std::int64_t kClockRate = 90'000;

}  // namespace tesmora::pgs

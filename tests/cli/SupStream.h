#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace tesmora::testing {

// What the tests look at in one packet of a subpicture stream.
struct PacketSummary {
  std::uint32_t pts = 0;
  std::uint8_t colours[2] = {0, 0};  // the colour command's two bytes
  int firstRow = -1;                 // of the display area command
  int lastRow = -1;
  int stopDelay = -1;  // of the second control sequence, in units of 1024 ticks
  // The pixel codes (0 to 3) of every row, the top field's rows first.
  std::vector<std::vector<std::uint8_t>> rows;
};

// Reads the run-length codes of `rowCount` rows of 720 pixels from `at`:
// 4, 8, 12 or 16 bits each (run length, then the 2-bit pixel code), a run
// of 0 filling the row, each row ending on a byte boundary.
inline std::vector<std::vector<std::uint8_t>> DecodeRows(const QByteArray& stream, qsizetype at,
                                                         int rowCount) {
  constexpr int kWidth = 720;
  qsizetype nibbleAt = at * 2;
  const auto nibble = [&] {
    const auto value = static_cast<std::uint8_t>(stream[nibbleAt / 2]);
    return (nibbleAt++ % 2 == 0) ? value >> 4 : value & 0x0F;
  };
  std::vector<std::vector<std::uint8_t>> rows;
  for (int r = 0; r < rowCount; ++r) {
    std::vector<std::uint8_t> row;
    while (static_cast<int>(row.size()) < kWidth && nibbleAt / 2 < stream.size()) {
      int code = nibble();
      for (int threshold : {0x4, 0x10, 0x40}) {
        if (code >= threshold) {
          break;
        }
        code = code << 4 | nibble();
      }
      int run = code >> 2;
      if (run == 0) {
        run = kWidth - static_cast<int>(row.size());
      }
      row.insert(row.end(), static_cast<std::size_t>(run), static_cast<std::uint8_t>(code & 3));
    }
    if (row.size() != kWidth) {
      ADD_FAILURE() << "row " << r << " holds " << row.size() << " pixels";
      return rows;
    }
    nibbleAt += nibbleAt % 2;
    rows.push_back(std::move(row));
  }
  return rows;
}

// Walks a stream packet by packet: the 10-byte "SP" header, then a unit
// whose size is its first two bytes (big-endian). Reads the commands of the
// unit's first control sequence and decodes its pixel rows. Records a test failure on a malformed
// stream and returns the packets read until then.
inline std::vector<PacketSummary> ReadPackets(const QByteArray& stream) {
  const auto byte = [&stream](qsizetype at) { return static_cast<std::uint8_t>(stream[at]); };
  const auto be16 = [&byte](qsizetype at) { return byte(at) << 8 | byte(at + 1); };
  std::vector<PacketSummary> packets;
  qsizetype at = 0;
  while (at < stream.size()) {
    if (at + 14 > stream.size() || stream[at] != 'S' || stream[at + 1] != 'P') {
      ADD_FAILURE() << "no packet header at byte " << at;
      return packets;
    }
    PacketSummary packet;
    packet.pts = static_cast<std::uint32_t>(byte(at + 2)) |
                 static_cast<std::uint32_t>(byte(at + 3)) << 8 |
                 static_cast<std::uint32_t>(byte(at + 4)) << 16 |
                 static_cast<std::uint32_t>(byte(at + 5)) << 24;
    const qsizetype unit = at + 10;
    const int unitSize = be16(unit);
    if (unit + unitSize > stream.size()) {
      ADD_FAILURE() << "packet at byte " << at << " runs past the end of the stream";
      return packets;
    }
    // The first control sequence: delay, link, then commands up to 0xFF.
    const qsizetype firstSequence = unit + be16(unit + 2);
    const qsizetype secondSequence = unit + be16(firstSequence + 2);
    if (secondSequence != firstSequence && secondSequence + 2 <= unit + unitSize) {
      packet.stopDelay = be16(secondSequence);
    }
    qsizetype command = firstSequence + 4;
    int topField = 0;
    int bottomField = 0;
    while (command < unit + unitSize && byte(command) != 0xFF) {
      switch (byte(command)) {
        case 0x03:
          packet.colours[0] = byte(command + 1);
          packet.colours[1] = byte(command + 2);
          command += 3;
          break;
        case 0x04:
          command += 3;
          break;
        case 0x05:
          packet.firstRow = byte(command + 4) << 4 | byte(command + 5) >> 4;
          packet.lastRow = (byte(command + 5) & 0x0F) << 8 | byte(command + 6);
          command += 7;
          break;
        case 0x06:
          topField = be16(command + 1);
          bottomField = be16(command + 3);
          command += 5;
          break;
        default:
          command += 1;
      }
    }
    const int rowCount = packet.lastRow - packet.firstRow + 1;
    packet.rows = DecodeRows(stream, unit + topField, (rowCount + 1) / 2);
    auto bottom = DecodeRows(stream, unit + bottomField, rowCount / 2);
    packet.rows.insert(packet.rows.end(), bottom.begin(), bottom.end());
    packets.push_back(packet);
    at = unit + unitSize;
  }
  return packets;
}

// The separate stretches of rows of the top field that hold a pixel code
// `counts` takes: one per drawn line of text.
template <typename Counts>
int RowStretches(const PacketSummary& packet, Counts counts) {
  const std::size_t topRows = (packet.rows.size() + 1) / 2;
  int stretches = 0;
  bool inside = false;
  for (std::size_t y = 0; y < topRows; ++y) {
    const auto& row = packet.rows[y];
    const bool ink = std::any_of(row.begin(), row.end(), counts);
    stretches += ink && !inside ? 1 : 0;
    inside = ink;
  }
  return stretches;
}

}  // namespace tesmora::testing

#include "files/TemporaryName.h"

#include <algorithm>
#include <random>

namespace tesmora {
namespace {

constexpr std::string_view kMarker = ".tesmora-";
constexpr std::string_view kKeptMarker = ".tesmora-old-";
constexpr std::size_t kSuffixLength = 6;
constexpr std::size_t kLongestName = 255;
constexpr std::string_view kSuffixLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool IsSuffixLetter(char c) {
  return kSuffixLetters.find(c) != std::string_view::npos;
}

std::string HiddenName(std::string_view targetName, std::string_view marker,
                       std::uint64_t randomBits) {
  const std::size_t room = kLongestName - 1 - marker.size() - kSuffixLength;
  std::string name = ".";
  name += targetName.substr(0, std::min(targetName.size(), room));
  name += marker;
  for (std::size_t i = 0; i < kSuffixLength; ++i) {
    name += kSuffixLetters[randomBits % kSuffixLetters.size()];
    randomBits /= kSuffixLetters.size();
  }
  return name;
}

}  // namespace

std::string TemporaryNameFor(std::string_view targetName, std::uint64_t randomBits) {
  return HiddenName(targetName, kMarker, randomBits);
}

std::uint64_t RandomNameBits() {
  std::random_device device;
  return (std::uint64_t{device()} << 32) | device();
}

bool IsTemporaryName(std::string_view name) {
  const std::size_t fixed = 1 + kMarker.size() + kSuffixLength;
  if (name.size() <= fixed || name.front() != '.') {
    return false;
  }
  const std::string_view suffix = name.substr(name.size() - kSuffixLength);
  return name.substr(name.size() - kSuffixLength - kMarker.size(), kMarker.size()) == kMarker &&
         std::all_of(suffix.begin(), suffix.end(), IsSuffixLetter);
}

std::string KeptNameFor(std::string_view targetName, std::uint64_t randomBits) {
  return HiddenName(targetName, kKeptMarker, randomBits);
}

std::optional<std::string> KeptTargetName(std::string_view name) {
  const std::size_t fixed = 1 + kKeptMarker.size() + kSuffixLength;
  // A name of the longest length may hold a shortened target name.
  if (name.size() <= fixed || name.size() >= kLongestName || name.front() != '.') {
    return std::nullopt;
  }
  const std::string_view suffix = name.substr(name.size() - kSuffixLength);
  const std::size_t markerAt = name.size() - kSuffixLength - kKeptMarker.size();
  if (name.substr(markerAt, kKeptMarker.size()) != kKeptMarker ||
      !std::all_of(suffix.begin(), suffix.end(), IsSuffixLetter)) {
    return std::nullopt;
  }
  return std::string(name.substr(1, markerAt - 1));
}

}  // namespace tesmora

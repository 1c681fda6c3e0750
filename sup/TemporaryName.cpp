#include "sup/TemporaryName.h"

#include <algorithm>
#include <random>

namespace tesmora {
namespace {

constexpr std::string_view kMarker = ".tesmora-";
constexpr std::size_t kSuffixLength = 6;
constexpr std::size_t kLongestName = 255;
constexpr std::string_view kSuffixLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool IsSuffixLetter(char c) {
  return kSuffixLetters.find(c) != std::string_view::npos;
}

}  // namespace

std::string TemporaryNameFor(std::string_view targetName, std::uint64_t randomBits) {
  const std::size_t room = kLongestName - 1 - kMarker.size() - kSuffixLength;
  std::string name = ".";
  name += targetName.substr(0, std::min(targetName.size(), room));
  name += kMarker;
  for (std::size_t i = 0; i < kSuffixLength; ++i) {
    name += kSuffixLetters[randomBits % kSuffixLetters.size()];
    randomBits /= kSuffixLetters.size();
  }
  return name;
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

}  // namespace tesmora

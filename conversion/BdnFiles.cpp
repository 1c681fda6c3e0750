#include "conversion/BdnFiles.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <utility>

namespace tesmora {
namespace {

// Digits of a picture's event number: at least four.
std::string EventDigits(std::size_t number) {
  const std::string digits = std::to_string(number);
  return std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether `name` is a picture name this writer gives for `stem`:
// STEM_DIGITS.png or STEM_DIGITS_2.png.
bool IsPictureName(std::string_view name, std::string_view stem) {
  constexpr std::string_view kExtension = ".png";
  if (name.size() <= stem.size() + 1 + kExtension.size() || name.substr(0, stem.size()) != stem ||
      name[stem.size()] != '_' || name.substr(name.size() - kExtension.size()) != kExtension) {
    return false;
  }
  std::string_view number =
      name.substr(stem.size() + 1, name.size() - stem.size() - 1 - kExtension.size());
  if (number.size() > 2 && number.substr(number.size() - 2) == "_2") {
    number.remove_suffix(2);
  }
  return AllDigits(number);
}

// An XML of ours takes a few hundred bytes an event; anything far larger at
// the XML's name is not one.
constexpr std::uintmax_t kLargestEarlierXml = std::uintmax_t{64} << 20;

// The text of the plain file at `path`; empty when there is none, it is
// something else (a pipe would never end) or too large to be ours.
std::string EarlierXmlText(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
  if (error || !std::filesystem::is_regular_file(status) ||
      std::filesystem::file_size(path, error) > kLargestEarlierXml || error) {
    return {};
  }
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

std::vector<std::uint8_t> IndexedPng(const pgs::IndexedPicture& picture,
                                     const std::vector<pgs::Rgba>& colours) {
  QImage image(picture.width, picture.height, QImage::Format_Indexed8);
  if (image.isNull()) {
    throw std::runtime_error("Not enough memory for a picture of " + std::to_string(picture.width) +
                             "x" + std::to_string(picture.height));
  }
  QList<QRgb> table{qRgba(0, 0, 0, 0)};
  for (const pgs::Rgba& colour : colours) {
    table.push_back(qRgba(colour.r, colour.g, colour.b, colour.a));
  }
  image.setColorTable(table);
  for (int y = 0; y < picture.height; ++y) {
    std::memcpy(image.scanLine(y),
                picture.indices.data() + static_cast<std::size_t>(y) * picture.width,
                static_cast<std::size_t>(picture.width));
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image)) {
    throw std::runtime_error("The PNG picture could not be made: " +
                             writer.errorString().toStdString());
  }
  return {bytes.begin(), bytes.end()};
}

BdnFiles::BdnFiles(OutputFileSet& files, std::filesystem::path xmlPath,
                   const pgs::VideoFormat& video)
    : files_(files), xmlPath_(std::move(xmlPath)), stem_(xmlPath_.stem().string()) {
  track_.title = stem_;
  track_.video = video;
}

std::string BdnFiles::pictureName(std::size_t event, std::size_t object) const {
  return stem_ + "_" + EventDigits(event) + (object == 0 ? "" : "_" + std::to_string(object + 1)) +
         ".png";
}

void BdnFiles::add(const pgs::ShownPicture& shown) {
  const pgs::FrameRateCode rate = track_.video.frame_rate;
  pgs::BdnEvent event{pgs::FrameAt(shown.start, rate), pgs::FrameAt(shown.end, rate), false, {}};
  if (event.out <= event.in || shown.objects.empty()) {
    shorterThanAFrame_.push_back(shown.number);
    return;
  }
  const std::size_t number = events_.size() + 1;
  for (std::size_t i = 0; i < shown.objects.size(); ++i) {
    const pgs::ShownObject& object = shown.objects[i];
    const std::string name = pictureName(number, i);
    files_.addWhole(xmlPath_.parent_path() / name, IndexedPng(object.picture, shown.colours));
    event.forced = event.forced || object.forced;
    event.graphics.push_back(
        {object.picture.width, object.picture.height, object.x, object.y, name});
  }
  events_.push_back(std::move(event));
}

void BdnFiles::finish() {
  std::set<std::string> written;
  for (const pgs::BdnEvent& event : events_) {
    for (const pgs::BdnGraphic& graphic : event.graphics) {
      written.insert(graphic.file);
    }
  }
  std::set<std::string> earlier;
  for (std::string& name : pgs::BdnGraphicFiles(EarlierXmlText(xmlPath_))) {
    if (IsPictureName(name, stem_) && written.count(name) == 0) {
      earlier.insert(std::move(name));
    }
  }
  for (const std::string& name : earlier) {
    files_.remove(xmlPath_.parent_path() / name);
  }
  const std::string xml = pgs::BdnXmlText(track_, events_);
  files_.addWhole(xmlPath_,
                  std::span(reinterpret_cast<const std::uint8_t*>(xml.data()), xml.size()));
}

}  // namespace tesmora

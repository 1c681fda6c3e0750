#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "output/OutputFileSet.h"
#include "pgs/BdnXml.h"
#include "pgs/StreamWriter.h"

namespace tesmora {

// The BDN XML of a Blu-ray run and its pictures, made from the pictures the
// presentation graphics stream shows (see ShownPictureSink): each shown
// picture is an event, each of its objects a PNG in the palette the stream
// gives it, so the pictures an authoring suite imports are exactly the
// stream's.
//
// The pictures are named after the XML's stem and the event's number,
// "NAME_0001.png", and a second object of an event "NAME_0001_2.png"; the
// numbers take more digits past 9999. They go into `files` as they come,
// each written whole, so a film's pictures are never held together.
class BdnFiles {
 public:
  BdnFiles(OutputFileSet& files, std::filesystem::path xmlPath, const pgs::VideoFormat& video);

  void add(const pgs::ShownPicture& shown);

  // Adds the XML to the set. The pictures an earlier XML at the same path
  // named, in this run's naming, that this run does not write are removed
  // with the set, so the folder holds no picture the XML does not name.
  void finish();

  // The numbers (as ShownPicture counts them) of the pictures left out:
  // shown for less than a frame, which an event cannot hold.
  const std::vector<int>& shorterThanAFrame() const { return shorterThanAFrame_; }

 private:
  std::string pictureName(std::size_t event, std::size_t object) const;

  OutputFileSet& files_;
  std::filesystem::path xmlPath_;
  std::string stem_;
  pgs::BdnTrack track_;
  std::vector<pgs::BdnEvent> events_;
  std::vector<int> shorterThanAFrame_;
};

// The PNG bytes of a picture in palette indices: an indexed PNG whose entry
// 0 is transparent and entry i + 1 is colours[i], with its alpha.
std::vector<std::uint8_t> IndexedPng(const pgs::IndexedPicture& picture,
                                     const std::vector<pgs::Rgba>& colours);

}  // namespace tesmora

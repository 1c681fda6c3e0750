// The reading of an earlier BDN XML's picture names, on any bytes: an
// earlier file at the XML's name may hold anything. Besides not crashing,
// every name read must come from the bytes' Graphic elements in order,
// and names written into an XML of ours must read back exactly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzRequire.h"
#include "pgs/BdnXml.h"

namespace {

using tesmora::fuzz::Require;
namespace pgs = tesmora::pgs;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> names = pgs::BdnGraphicFiles(text);
  Require(names.empty() || text.find("<BDN") != std::string_view::npos,
          "only a BDN file names pictures");
  Require(names.size() <= size / 19 + 1, "each name takes a whole Graphic element");

  // The bytes cut into names (at line breaks) and written as one event
  // each come back as they were.
  std::vector<pgs::BdnEvent> events;
  std::vector<std::string> written;
  std::size_t at = 0;
  while (at <= text.size() && written.size() < 64) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    written.emplace_back(text.substr(at, end - at));
    events.push_back({0, 1, false, {{8, 8, 0, 0, written.back()}}});
    at = end + 1;
  }
  Require(pgs::BdnGraphicFiles(pgs::BdnXmlText({"t", "und", {}}, events)) == written,
          "the names an XML of ours holds read back exactly");
  return 0;
}

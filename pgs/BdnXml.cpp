#include "pgs/BdnXml.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "pgs/SegmentTypes.h"

namespace tesmora::pgs {
namespace {

// The frames a second timecodes count, and the rate's name in the XML.
struct NominalRate {
  int frames;
  const char* name;
};

NominalRate NominalOf(FrameRateCode rate) {
  switch (rate) {
    case FrameRateCode::Film:
      return {24, "23.976"};
    case FrameRateCode::Film24:
      return {24, "24"};
    case FrameRateCode::Pal:
      return {25, "25"};
    case FrameRateCode::Ntsc:
      return {30, "29.97"};
    case FrameRateCode::Pal50:
      return {50, "50"};
    case FrameRateCode::Ntsc60:
      return {60, "59.94"};
  }
  return {24, "23.976"};
}

// The VideoFormat name: HD at the film rates is progressive and at the
// television rates 25 and 29.97 interlaced, as Blu-ray video takes them;
// standard definition is always interlaced.
std::string VideoFormatName(const VideoFormat& video) {
  if (video.height == 1080) {
    return video.frame_rate == FrameRateCode::Pal || video.frame_rate == FrameRateCode::Ntsc
               ? "1080i"
               : "1080p";
  }
  if (video.height == 720) {
    return "720p";
  }
  return video.height == 576 ? "576i" : "480i";
}

std::string Escaped(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string Unescaped(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string plain;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, c] : kEntities) {
      if (text.substr(i, entity.size()) == entity) {
        plain += c;
        i += entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      plain += text[i++];
    }
  }
  return plain;
}

// At least two digits: "05", "12", "123".
std::string TwoDigits(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return digits.size() < 2 ? "0" + digits : digits;
}

std::string Attribute(std::string_view name, std::string_view value) {
  return " " + std::string(name) + "=\"" + Escaped(value) + "\"";
}

}  // namespace

std::int64_t FrameAt(std::int64_t ticks, FrameRateCode rate) {
  const ExactRate exact = ExactRateOf(rate);
  const std::int64_t shifted = std::max<std::int64_t>(0, ticks + kClockRate / 1000);
  return shifted * exact.numerator / (kClockRate * exact.denominator);
}

std::string BdnTimecode(std::int64_t frame, FrameRateCode rate) {
  const std::int64_t perSecond = NominalOf(rate).frames;
  const std::int64_t seconds = frame / perSecond;
  return TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
         TwoDigits(seconds % 60) + ":" + TwoDigits(frame % perSecond);
}

std::string BdnXmlText(const BdnTrack& track, std::span<const BdnEvent> events) {
  const FrameRateCode rate = track.video.frame_rate;
  const std::string first = BdnTimecode(events.empty() ? 0 : events.front().in, rate);
  const std::string last = BdnTimecode(events.empty() ? 0 : events.back().out, rate);
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  xml +=
      "<BDN Version=\"0.93\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xsi:noNamespaceSchemaLocation=\"BD-03-006-0093b BDN File Format.xsd\">\n";
  xml += "  <Description>\n";
  xml += "    <Name" + Attribute("Title", track.title) + Attribute("Content", "") + "/>\n";
  xml += "    <Language" + Attribute("Code", track.language) + "/>\n";
  xml += "    <Format" + Attribute("VideoFormat", VideoFormatName(track.video)) +
         Attribute("FrameRate", NominalOf(rate).name) + Attribute("DropFrame", "False") + "/>\n";
  xml += "    <Events" + Attribute("Type", "Graphic") + Attribute("FirstEventInTC", first) +
         Attribute("LastEventOutTC", last) +
         Attribute("NumberofEvents", std::to_string(events.size())) + "/>\n";
  xml += "  </Description>\n";
  xml += "  <Events>\n";
  for (const BdnEvent& event : events) {
    xml += "    <Event" + Attribute("InTC", BdnTimecode(event.in, rate)) +
           Attribute("OutTC", BdnTimecode(event.out, rate)) +
           Attribute("Forced", event.forced ? "True" : "False") + ">\n";
    for (const BdnGraphic& graphic : event.graphics) {
      xml += "      <Graphic" + Attribute("Width", std::to_string(graphic.width)) +
             Attribute("Height", std::to_string(graphic.height)) +
             Attribute("X", std::to_string(graphic.x)) + Attribute("Y", std::to_string(graphic.y)) +
             ">" + Escaped(graphic.file) + "</Graphic>\n";
    }
    xml += "    </Event>\n";
  }
  xml += "  </Events>\n";
  xml += "</BDN>\n";
  return xml;
}

std::vector<std::string> BdnGraphicFiles(std::string_view xml) {
  std::vector<std::string> files;
  if (xml.find("<BDN") == std::string_view::npos) {
    return files;
  }
  std::size_t at = 0;
  while ((at = xml.find("<Graphic", at)) != std::string_view::npos) {
    const std::size_t open = xml.find('>', at);
    if (open == std::string_view::npos) {
      break;
    }
    const std::size_t close = xml.find("</Graphic>", open);
    if (close == std::string_view::npos) {
      break;
    }
    files.push_back(Unescaped(xml.substr(open + 1, close - open - 1)));
    at = close;
  }
  return files;
}

}  // namespace tesmora::pgs

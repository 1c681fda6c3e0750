// BDN XML: timecodes on the video's frames counted at the nominal rate, the
// exact text authoring suites import, and the pictures an earlier XML names.
#include "pgs/BdnXml.h"

#include <gtest/gtest.h>

namespace tesmora::pgs {
namespace {

constexpr std::int64_t kHour = 3'600'000 * 90;  // ticks

TEST(BdnTimecode, OneRealHourAtEachRate) {
  const std::pair<FrameRateCode, std::string> cases[] = {
      {FrameRateCode::Film, "00:59:56:09"},  {FrameRateCode::Film24, "01:00:00:00"},
      {FrameRateCode::Pal, "01:00:00:00"},   {FrameRateCode::Ntsc, "00:59:56:12"},
      {FrameRateCode::Pal50, "01:00:00:00"}, {FrameRateCode::Ntsc60, "00:59:56:24"},
  };
  for (const auto& [rate, timecode] : cases) {
    EXPECT_EQ(BdnTimecode(FrameAt(kHour, rate), rate), timecode) << static_cast<int>(rate);
  }
  EXPECT_EQ(FrameAt(kHour, FrameRateCode::Film), 86313);
  // Frames count at 24 and 30 a second, never dropping a number.
  EXPECT_EQ(BdnTimecode(23, FrameRateCode::Film), "00:00:00:23");
  EXPECT_EQ(BdnTimecode(24, FrameRateCode::Film), "00:00:01:00");
  EXPECT_EQ(BdnTimecode(1799, FrameRateCode::Ntsc), "00:00:59:29");
  EXPECT_EQ(BdnTimecode(1800, FrameRateCode::Ntsc), "00:01:00:00");
  EXPECT_EQ(BdnTimecode(100 * 3600 * 25, FrameRateCode::Pal), "100:00:00:00");
}

// Times in whole milliseconds, rounded or cut from a frame's exact time,
// land on that frame at every rate, also ten hours in.
TEST(BdnTimecode, MillisecondTimesOfAFrameLandOnIt) {
  const std::pair<FrameRateCode, std::pair<std::int64_t, std::int64_t>> rates[] = {
      {FrameRateCode::Film, {24000, 1001}},   {FrameRateCode::Pal, {25, 1}},
      {FrameRateCode::Ntsc, {30000, 1001}},   {FrameRateCode::Pal50, {50, 1}},
      {FrameRateCode::Ntsc60, {60000, 1001}},
  };
  for (const auto& [rate, exact] : rates) {
    const auto [numerator, denominator] = exact;
    for (const std::int64_t base :
         {std::int64_t{0}, std::int64_t{10} * 3600 * numerator / denominator}) {
      for (std::int64_t frame = base; frame < base + 500; ++frame) {
        const std::int64_t micro = frame * denominator * 1'000'000 / numerator;
        const std::int64_t cut = micro / 1000;
        const std::int64_t rounded = (micro + 500) / 1000;
        ASSERT_EQ(FrameAt(cut * 90, rate), frame) << static_cast<int>(rate) << " cut " << cut;
        ASSERT_EQ(FrameAt(rounded * 90, rate), frame) << static_cast<int>(rate) << " " << rounded;
      }
    }
  }
}

TEST(BdnXml, TwoEventsExactly) {
  const BdnTrack track{"Film \"A&B\"", "und", {1920, 1080, FrameRateCode::Film}};
  const std::vector<BdnEvent> events{
      {120, 197, false, {{882, 117, 527, 913, "Film_0001.png"}}},
      {197,
       260,
       true,
       {{400, 60, 760, 80, "Film_0002.png"}, {500, 60, 710, 960, "Film_0002_2.png"}}},
  };
  EXPECT_EQ(
      BdnXmlText(track, events),
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<BDN Version=\"0.93\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xsi:noNamespaceSchemaLocation=\"BD-03-006-0093b BDN File Format.xsd\">\n"
      "  <Description>\n"
      "    <Name Title=\"Film &quot;A&amp;B&quot;\" Content=\"\"/>\n"
      "    <Language Code=\"und\"/>\n"
      "    <Format VideoFormat=\"1080p\" FrameRate=\"23.976\" DropFrame=\"False\"/>\n"
      "    <Events Type=\"Graphic\" FirstEventInTC=\"00:00:05:00\" "
      "LastEventOutTC=\"00:00:10:20\" NumberofEvents=\"2\"/>\n"
      "  </Description>\n"
      "  <Events>\n"
      "    <Event InTC=\"00:00:05:00\" OutTC=\"00:00:08:05\" Forced=\"False\">\n"
      "      <Graphic Width=\"882\" Height=\"117\" X=\"527\" Y=\"913\">Film_0001.png</Graphic>\n"
      "    </Event>\n"
      "    <Event InTC=\"00:00:08:05\" OutTC=\"00:00:10:20\" Forced=\"True\">\n"
      "      <Graphic Width=\"400\" Height=\"60\" X=\"760\" Y=\"80\">Film_0002.png</Graphic>\n"
      "      <Graphic Width=\"500\" Height=\"60\" X=\"710\" Y=\"960\">Film_0002_2.png</Graphic>\n"
      "    </Event>\n"
      "  </Events>\n"
      "</BDN>\n");
}

TEST(BdnXml, NamesEachVideoFormatAndAnEmptyTrack) {
  const std::pair<VideoFormat, std::string> cases[] = {
      {{1920, 1080, FrameRateCode::Pal}, "VideoFormat=\"1080i\" FrameRate=\"25\""},
      {{1920, 1080, FrameRateCode::Ntsc}, "VideoFormat=\"1080i\" FrameRate=\"29.97\""},
      {{1920, 1080, FrameRateCode::Film24}, "VideoFormat=\"1080p\" FrameRate=\"24\""},
      {{1280, 720, FrameRateCode::Ntsc60}, "VideoFormat=\"720p\" FrameRate=\"59.94\""},
      {{720, 576, FrameRateCode::Pal}, "VideoFormat=\"576i\" FrameRate=\"25\""},
      {{720, 480, FrameRateCode::Ntsc}, "VideoFormat=\"480i\" FrameRate=\"29.97\""},
  };
  for (const auto& [video, format] : cases) {
    const std::string xml = BdnXmlText({"t", "und", video}, {});
    EXPECT_NE(xml.find("<Format " + format + " DropFrame=\"False\"/>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("FirstEventInTC=\"00:00:00:00\" LastEventOutTC=\"00:00:00:00\" "
                       "NumberofEvents=\"0\""),
              std::string::npos);
  }
}

TEST(BdnXml, ReadsBackTheGraphicFilesItNames) {
  const std::vector<BdnEvent> events{
      {1, 2, false, {{8, 8, 0, 0, "a&b <1>.png"}, {8, 8, 0, 20, "x_0001_2.png"}}}};
  const std::string xml = BdnXmlText({"t", "und", {}}, events);
  EXPECT_EQ(BdnGraphicFiles(xml), (std::vector<std::string>{"a&b <1>.png", "x_0001_2.png"}));
  EXPECT_TRUE(BdnGraphicFiles("<Graphic>not a BDN file.png</Graphic>").empty());
  EXPECT_TRUE(BdnGraphicFiles("<BDN><Graphic>cut off").empty());
}

}  // namespace
}  // namespace tesmora::pgs

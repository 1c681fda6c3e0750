#include "conversion/ConversionChoices.h"

#include <gtest/gtest.h>

#include <map>

namespace tesmora {
namespace {

using Stored = std::map<std::string, std::string>;

ConversionChoices FromStored(const Stored& stored) {
  return ChoicesFromSettings([&stored](const std::string& key) -> std::optional<std::string> {
    const auto found = stored.find(key);
    return found == stored.end() ? std::nullopt : std::optional<std::string>(found->second);
  });
}

// The shift, the rate conversion and the forced style belong to one film:
// they are neither written nor read back.
TEST(ConversionChoices, SettingsRoundTripTheChoicesThatOutlastAFilm) {
  const ConversionChoices choices{"CP1251",
                                  true,
                                  true,
                                  -250,
                                  "23.976:25",
                                  true,
                                  true,
                                  "film",
                                  DiscTarget::BluRay720,
                                  CueStyles::Window,
                                  BluRayForms::StreamAndBdn,
                                  "59.94",
                                  true,
                                  "Sign"};
  const auto settings = ChoiceSettings(choices);
  const Stored stored(settings.begin(), settings.end());
  EXPECT_EQ(stored, (Stored{{"Encoding", "CP1251"},
                            {"TagsAsText", "1"},
                            {"WrapLongLines", "1"},
                            {"VobSubAndPalette", "1"},
                            {"Forced", "1"},
                            {"OutputName", "film"},
                            {"Target", "bluray720"},
                            {"Styles", "window"},
                            {"BluRayFiles", "pgs,bdn"},
                            {"VideoRate", "59.94"},
                            {"Hdr", "1"}}));
  ConversionChoices lasting = choices;
  lasting.shiftMs = 0;
  lasting.rateConversion.clear();
  lasting.forcedStyle.clear();
  EXPECT_EQ(FromStored(stored), lasting);
  Stored withFilm = stored;
  for (const std::string& key : FilmChoiceKeys()) {
    withFilm[key] = key == "ShiftMs" ? "1500" : "23.976:25";
  }
  EXPECT_EQ(FromStored(withFilm), lasting);
  EXPECT_EQ(FromStored({}), ConversionChoices{});
}

// A stored target the program does not know (an older or newer settings
// file) leaves the DVD, as does a target named by its caption.
TEST(ConversionChoices, TargetsAreReadOnlyByTheirSettingsText) {
  for (const TargetChoice& target : OfferedTargets()) {
    EXPECT_EQ(FromStored({{"Target", target.setting}}).target, target.target) << target.setting;
  }
  for (const char* text : {"", "Blu-ray 1080", "BLURAY1080", "bluray576"}) {
    EXPECT_EQ(FromStored({{"Target", text}}).target, DiscTarget::Dvd) << text;
  }
}

TEST(ConversionChoices, TargetsTellTheConverterTheirVideo) {
  EXPECT_TRUE(TargetArguments(DiscTarget::Dvd).empty());
  EXPECT_EQ(TargetArguments(DiscTarget::BluRay1080),
            (std::vector<std::string>{"--format", "pgs", "--video", "1080"}));
  EXPECT_EQ(TargetArguments(DiscTarget::BluRay720),
            (std::vector<std::string>{"--format", "pgs", "--video", "720"}));
  EXPECT_FALSE(IsBluRay(DiscTarget::Dvd));
  EXPECT_TRUE(IsBluRay(DiscTarget::BluRay720));
}

// The window's Blu-ray files, rate and HDR become the converter's options
// for them; a rate not chosen leaves the converter's default, the usual one.
TEST(ConversionChoices, BluRayChoicesTellTheConverterTheirOptions) {
  ConversionChoices choices;
  choices.bluRayForms = BluRayForms::Bdn;
  choices.videoRate = "25";
  choices.hdr = true;
  EXPECT_TRUE(BluRayArguments(choices).empty());
  EXPECT_FALSE(HdrWithBdn(choices));
  choices.target = DiscTarget::BluRay1080;
  EXPECT_EQ(BluRayArguments(choices), (std::vector<std::string>{"--format", "bdn", "--video",
                                                                "1080", "--fps", "25", "--hdr"}));
  EXPECT_TRUE(HdrWithBdn(choices));
  choices.bluRayForms = BluRayForms::StreamAndBdn;
  EXPECT_TRUE(HdrWithBdn(choices));
  choices.bluRayForms = BluRayForms::Stream;
  EXPECT_FALSE(HdrWithBdn(choices));
  choices.target = DiscTarget::BluRay720;
  choices.videoRate.clear();
  choices.hdr = false;
  choices.bluRayForms = BluRayForms::StreamAndBdn;
  EXPECT_EQ(BluRayArguments(choices),
            (std::vector<std::string>{"--format", "pgs,bdn", "--video", "720"}));
  choices.forcedStyle = "Sign board";
  EXPECT_EQ(BluRayArguments(choices),
            (std::vector<std::string>{"--format", "pgs,bdn", "--video", "720", "--forced-style",
                                      "Sign board"}));
  choices.target = DiscTarget::Dvd;
  EXPECT_TRUE(BluRayArguments(choices).empty());
}

// The rates follow the video: 720 lines take no 25 or 29.97, and a stored
// rate the stored target's video does not take leaves its usual rate.
TEST(ConversionChoices, VideoRatesAreThoseOfTheTargetsVideo) {
  EXPECT_TRUE(OfferedVideoRates(DiscTarget::Dvd).empty());
  EXPECT_EQ(OfferedVideoRates(DiscTarget::BluRay1080),
            (std::vector<std::string>{"23.976", "24", "25", "29.97", "50", "59.94"}));
  EXPECT_EQ(OfferedVideoRates(DiscTarget::BluRay720),
            (std::vector<std::string>{"23.976", "24", "50", "59.94"}));
  EXPECT_EQ(ParseVideoRateChoice("25", DiscTarget::BluRay1080), "25");
  EXPECT_EQ(ParseVideoRateChoice("25", DiscTarget::BluRay720), std::nullopt);
  EXPECT_EQ(ParseVideoRateChoice("25.0", DiscTarget::BluRay1080), std::nullopt);
  EXPECT_EQ(FromStored({{"Target", "bluray720"}, {"VideoRate", "29.97"}}).videoRate, "");
  EXPECT_EQ(FromStored({{"Target", "bluray1080"}, {"VideoRate", "29.97"}}).videoRate, "29.97");
  // With the DVD stored, the rate is the last Blu-ray video's.
  EXPECT_EQ(FromStored({{"Target", "dvd"}, {"VideoRate", "29.97"}}).videoRate, "29.97");
  EXPECT_EQ(FromStored({{"VideoRate", "59.94"}}).videoRate, "59.94");
  EXPECT_EQ(FromStored({{"Target", "dvd"}, {"VideoRate", "30"}}).videoRate, "");
  EXPECT_EQ(FromStored({{"BluRayFiles", "bdn,pgs"}, {"Hdr", "yes"}}), ConversionChoices{});
  EXPECT_EQ(FromStored({{"BluRayFiles", "bdn"}}).bluRayForms, BluRayForms::Bdn);
}

TEST(ConversionChoices, ValuesAreCheckedAsTheConverterChecksThem) {
  EXPECT_EQ(ParseStylesChoice("File"), CueStyles::File);
  EXPECT_EQ(ParseStylesChoice("window"), CueStyles::Window);
  EXPECT_EQ(ParseStylesChoice("both"), std::nullopt);
  EXPECT_EQ(FromStored({{"Styles", "both"}}).styles, CueStyles::File);
  EXPECT_EQ(ParseEncodingChoice("AUTO"), "AUTO");
  EXPECT_EQ(ParseEncodingChoice("CP1251"), "CP1251");
  EXPECT_EQ(ParseEncodingChoice(""), std::nullopt);
  EXPECT_EQ(ParseEncodingChoice("NO-SUCH-CODE"), std::nullopt);
  for (const std::string& offered : OfferedEncodings()) {
    EXPECT_TRUE(ParseEncodingChoice(offered)) << offered;
  }
  EXPECT_TRUE(IsPlainOutputName("film.en"));
  for (const char* name : {"", ".", "..", "a/b", "a\\b"}) {
    EXPECT_FALSE(IsPlainOutputName(name)) << name;
  }
}

}  // namespace
}  // namespace tesmora

#include "conversion/ConversionChoices.h"

#include <algorithm>
#include <cctype>

#include "conversion/PgsRun.h"
#include "subtitles/FileText.h"

namespace tesmora {
namespace {

constexpr const char* kEncodingKey = "Encoding";
constexpr const char* kTagsAsTextKey = "TagsAsText";
constexpr const char* kWrapKey = "WrapLongLines";
constexpr const char* kShiftKey = "ShiftMs";
constexpr const char* kRateKey = "ConvertFps";
constexpr const char* kVobSubKey = "VobSubAndPalette";
constexpr const char* kForcedKey = "Forced";
constexpr const char* kNameKey = "OutputName";
constexpr const char* kTargetKey = "Target";
constexpr const char* kStylesKey = "Styles";
constexpr const char* kBluRayFormsKey = "BluRayFiles";
constexpr const char* kVideoRateKey = "VideoRate";
constexpr const char* kHdrKey = "Hdr";

std::string Flag(bool value) {
  return value ? "1" : "0";
}

std::optional<bool> FlagValue(const std::optional<std::string>& text) {
  if (text == "1") {
    return true;
  }
  if (text == "0") {
    return false;
  }
  return std::nullopt;
}

// The offered choice whose `field` is `value`, or the first offered when
// none is.
template <typename Choice, typename Value>
const Choice& ChoiceOf(const std::vector<Choice>& offered, Value Choice::*field, Value value) {
  for (const Choice& choice : offered) {
    if (choice.*field == value) {
      return choice;
    }
  }
  return offered.front();
}

// The offered choice the settings file stores as `text`; none for a text
// no choice is stored as.
template <typename Choice>
const Choice* ChoiceStoredAs(const std::vector<Choice>& offered, const std::string& text) {
  for (const Choice& choice : offered) {
    if (text == choice.setting) {
      return &choice;
    }
  }
  return nullptr;
}

}  // namespace

const std::vector<TargetChoice>& OfferedTargets() {
  static const std::vector<TargetChoice> kTargets = {
      {DiscTarget::Dvd, "DVD", "dvd", 0},
      {DiscTarget::BluRay1080, "Blu-ray 1080", "bluray1080", 1080},
      {DiscTarget::BluRay720, "Blu-ray 720", "bluray720", 720}};
  return kTargets;
}

const TargetChoice& TargetChoiceOf(DiscTarget target) {
  return ChoiceOf(OfferedTargets(), &TargetChoice::target, target);
}

bool IsBluRay(DiscTarget target) {
  return TargetChoiceOf(target).videoLines != 0;
}

std::vector<std::string> TargetArguments(DiscTarget target) {
  const TargetChoice& choice = TargetChoiceOf(target);
  if (choice.videoLines == 0) {
    return {};
  }
  return {"--format", "pgs", "--video", std::to_string(choice.videoLines)};
}

const std::vector<BluRayFormsChoice>& OfferedBluRayForms() {
  static const std::vector<BluRayFormsChoice> kForms = {
      {BluRayForms::Stream, "Sup stream", "pgs"},
      {BluRayForms::StreamAndBdn, "Sup + BDN XML", "pgs,bdn"},
      {BluRayForms::Bdn, "BDN XML", "bdn"}};
  return kForms;
}

const BluRayFormsChoice& BluRayFormsChoiceOf(BluRayForms forms) {
  return ChoiceOf(OfferedBluRayForms(), &BluRayFormsChoice::forms, forms);
}

bool WritesStream(BluRayForms forms) {
  return forms != BluRayForms::Bdn;
}

bool WritesBdn(BluRayForms forms) {
  return forms != BluRayForms::Stream;
}

std::vector<std::string> OfferedVideoRates(DiscTarget target) {
  const int lines = TargetChoiceOf(target).videoLines;
  return lines == 0 ? std::vector<std::string>{} : PgsRateTexts(lines);
}

std::optional<std::string> ParseVideoRateChoice(std::string_view text, DiscTarget target) {
  for (const std::string& rate : OfferedVideoRates(target)) {
    if (rate == text) {
      return rate;
    }
  }
  return std::nullopt;
}

std::vector<std::string> BluRayArguments(const ConversionChoices& choices) {
  const TargetChoice& target = TargetChoiceOf(choices.target);
  if (target.videoLines == 0) {
    return {};
  }
  std::vector<std::string> arguments = {"--format",
                                        BluRayFormsChoiceOf(choices.bluRayForms).setting, "--video",
                                        std::to_string(target.videoLines)};
  if (!choices.videoRate.empty()) {
    arguments.insert(arguments.end(), {"--fps", choices.videoRate});
  }
  if (choices.hdr) {
    arguments.emplace_back("--hdr");
  }
  if (!choices.forcedStyle.empty()) {
    arguments.insert(arguments.end(), {"--forced-style", choices.forcedStyle});
  }
  return arguments;
}

bool HdrWithBdn(const ConversionChoices& choices) {
  return IsBluRay(choices.target) && choices.hdr && WritesBdn(choices.bluRayForms);
}

const std::vector<std::string>& OfferedEncodings() {
  static const std::vector<std::string> kEncodings = {
      "auto",       "UTF-8",      "UTF-16LE",   "UTF-16BE",   "CP1250",      "CP1251", "CP1252",
      "CP1253",     "CP1254",     "CP1255",     "CP1256",     "CP1257",      "CP1258", "ISO-8859-1",
      "ISO-8859-2", "ISO-8859-5", "ISO-8859-7", "ISO-8859-9", "ISO-8859-15", "KOI8-R", "KOI8-U"};
  return kEncodings;
}

std::optional<std::string> ParseEncodingChoice(std::string_view text) {
  const std::string name(text);
  if (name.empty() || !IsKnownEncoding(name)) {
    return std::nullopt;
  }
  return name;
}

bool IsPlainOutputName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\\') == std::string_view::npos;
}

std::optional<CueStyles> ParseStylesChoice(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "file") {
    return CueStyles::File;
  }
  if (lower == "window") {
    return CueStyles::Window;
  }
  return std::nullopt;
}

std::string StylesChoiceText(CueStyles styles) {
  return styles == CueStyles::File ? "file" : "window";
}

std::vector<std::pair<std::string, std::string>> ChoiceSettings(const ConversionChoices& choices) {
  return {{kEncodingKey, choices.encoding},
          {kTagsAsTextKey, Flag(choices.noMarkup)},
          {kWrapKey, Flag(choices.wrap)},
          {kVobSubKey, Flag(choices.vobsubAndPalette)},
          {kForcedKey, Flag(choices.forced)},
          {kNameKey, choices.outputName},
          {kTargetKey, TargetChoiceOf(choices.target).setting},
          {kStylesKey, StylesChoiceText(choices.styles)},
          {kBluRayFormsKey, BluRayFormsChoiceOf(choices.bluRayForms).setting},
          {kVideoRateKey, choices.videoRate},
          {kHdrKey, Flag(choices.hdr)}};
}

const std::vector<std::string>& FilmChoiceKeys() {
  static const std::vector<std::string> kKeys = {kShiftKey, kRateKey};
  return kKeys;
}

ConversionChoices ChoicesFromSettings(
    const std::function<std::optional<std::string>(const std::string& key)>& lookup) {
  ConversionChoices choices;
  if (const std::optional<std::string> text = lookup(kEncodingKey)) {
    choices.encoding = ParseEncodingChoice(*text).value_or(choices.encoding);
  }
  choices.noMarkup = FlagValue(lookup(kTagsAsTextKey)).value_or(choices.noMarkup);
  choices.wrap = FlagValue(lookup(kWrapKey)).value_or(choices.wrap);
  choices.vobsubAndPalette = FlagValue(lookup(kVobSubKey)).value_or(choices.vobsubAndPalette);
  choices.forced = FlagValue(lookup(kForcedKey)).value_or(choices.forced);
  if (const std::optional<std::string> text = lookup(kStylesKey)) {
    choices.styles = ParseStylesChoice(*text).value_or(choices.styles);
  }
  if (const std::optional<std::string> text = lookup(kNameKey)) {
    if (IsPlainOutputName(*text)) {
      choices.outputName = *text;
    }
  }
  if (const std::optional<std::string> text = lookup(kTargetKey)) {
    if (const TargetChoice* target = ChoiceStoredAs(OfferedTargets(), *text)) {
      choices.target = target->target;
    }
  }
  if (const std::optional<std::string> text = lookup(kBluRayFormsKey)) {
    if (const BluRayFormsChoice* forms = ChoiceStoredAs(OfferedBluRayForms(), *text)) {
      choices.bluRayForms = forms->forms;
    }
  }
  // A rate is kept only if the stored target's video takes it: the usual
  // rate stands for one another target's video left behind. With the DVD
  // stored it is the last Blu-ray video's, kept if any Blu-ray video takes
  // it.
  if (const std::optional<std::string> text = lookup(kVideoRateKey)) {
    for (const TargetChoice& target : OfferedTargets()) {
      if (choices.target == DiscTarget::Dvd || target.target == choices.target) {
        if (const std::optional<std::string> rate = ParseVideoRateChoice(*text, target.target)) {
          choices.videoRate = *rate;
        }
      }
    }
  }
  choices.hdr = FlagValue(lookup(kHdrKey)).value_or(choices.hdr);
  return choices;
}

}  // namespace tesmora

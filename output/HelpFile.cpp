#include "output/HelpFile.h"

namespace tesmora {
namespace {

constexpr const char* kColourLines[] = {
    "Then find the Color 0 Y Cr CB ,doubleclick it, and put the value: 00 80 80",
    "Then find the Color 1 Y Cr CB ,doubleclick it, and put the value: 55 80 80",
    "Then find the Color 2 Y Cr CB ,doubleclick it, and put the value: AA 80 80",
    "Then find the Color 3 Y Cr CB ,doubleclick it, and put the value: FF 80 80",
};
constexpr const char* kLoadGenerated =
    "After authoring the new dvd, load (the generated from Ifoedit) VTS_01_0.IFO on Ifoedit and "
    "press VTS_PGCITI and then VTS_PGC1.";
constexpr const char* kJustAuthor = "Just author your video with the generated sup using Ifoedit.";
constexpr const char* kSave = "Then press save. Thats all.";

// The instructions of a case, up to "Then press save. Thats all.".
std::vector<std::string> IfoeditInstructions(HelpCase helpCase) {
  switch (helpCase) {
    case HelpCase::NoIfo: {
      std::vector<std::string> lines{
          "All Done !!! (Case : No Ifo)",
          "Since you didnt had any ifo, author your video with the generated sup using Ifoedit.",
          kLoadGenerated};
      lines.insert(lines.end(), std::begin(kColourLines), std::end(kColourLines));
      lines.emplace_back(kSave);
      return lines;
    }
    case HelpCase::MonocromaticIfo: {
      std::vector<std::string> lines{
          "All Done !!! (Case : Monocromatic Ifo)",
          "Since you had an ifo with no polycromatic palette support , Tesmora generated for you "
          "a sup with a generic pallette.",
          kJustAuthor, kLoadGenerated};
      lines.insert(lines.end(), std::begin(kColourLines), std::end(kColourLines));
      lines.emplace_back(kSave);
      return lines;
    }
    case HelpCase::WithIfo:
      return {"All Done !!! (Case : With Ifo)",
              "Since you already had an ifo with polycromatic palette support , Tesmora generated "
              "for you a sup with the same ifo pallette.",
              kJustAuthor,
              "After authoring the new dvd, load the original ifo (the ifo that you have loaded on "
              "Tesmora) on Ifoedit and press VTS_PGCITI and then VTS_PGC1.",
              "Then press Subtitle Color, Copy Colors from this PGC",
              "Then load (the generated from Ifoedit) VTS_01_0.IFO on Ifoedit and press "
              "VTS_PGCITI and then VTS_PGC1",
              "Then press Subtitle Color, Paste Colors into this PGC",
              kSave};
  }
  return {};
}

// Every instruction of a case: Ifoedit's steps, then the free route.
std::vector<std::string> Instructions(HelpCase helpCase) {
  std::vector<std::string> lines = IfoeditInstructions(helpCase);
  lines.emplace_back(kFreeToolsLine);
  return lines;
}

std::vector<std::string> StreamAndHelp(const std::string& folder) {
  return {folder + kStreamFileName, folder + kHelpFileName};
}

}  // namespace

std::vector<std::string> HelpFileLinesListing(HelpCase helpCase,
                                              const std::vector<std::string>& generatedFiles) {
  std::vector<std::string> lines = Instructions(helpCase);
  lines.insert(lines.end(), {"", "", "Generated Files:"});
  lines.insert(lines.end(), generatedFiles.begin(), generatedFiles.end());
  return lines;
}

std::vector<std::string> HelpFileLines(HelpCase helpCase, const std::string& folder) {
  return HelpFileLinesListing(helpCase, StreamAndHelp(folder));
}

std::string HelpMessageListing(HelpCase helpCase, const std::vector<std::string>& generatedFiles) {
  std::string message;
  for (const std::string& line : Instructions(helpCase)) {
    message += line + '\r';
  }
  message += "\rGenerated Files:";
  for (const std::string& path : generatedFiles) {
    message += '\r' + path;
  }
  return message;
}

std::string HelpMessage(HelpCase helpCase, const std::string& folder) {
  return HelpMessageListing(helpCase, StreamAndHelp(folder));
}

std::string HelpFileText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\r\n";
  }
  return text;
}

}  // namespace tesmora

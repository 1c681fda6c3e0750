#include "timing/TimingReportText.h"

#include <algorithm>

namespace tesmora {
namespace {

// The most cue numbers a sentence lists before it counts the rest.
constexpr std::size_t kListedNumbers = 10;

// "(subtitle 7)" for one, "(first: subtitle 7)" for more.
std::string FirstOf(int count, int first) {
  return std::string(count == 1 ? "(" : "(first: ") + "subtitle " + std::to_string(first) + ")";
}

// "subtitle 3", "subtitles 3 and 9", "subtitles 3, 9 and 12", with the
// numbers past kListedNumbers counted: "subtitles 1, 2, ..., 10 and 5 more".
std::string NumberList(const std::vector<int>& numbers) {
  const std::size_t listed = std::min(numbers.size(), kListedNumbers);
  const std::size_t more = numbers.size() - listed;
  std::string text = numbers.size() == 1 ? "subtitle " : "subtitles ";
  for (std::size_t i = 0; i < listed; ++i) {
    if (i > 0) {
      text += (i + 1 == listed && more == 0) ? " and " : ", ";
    }
    text += std::to_string(numbers[i]);
  }
  if (more > 0) {
    text += " and " + std::to_string(more) + " more";
  }
  return text;
}

}  // namespace

std::vector<std::string> TimingReportLines(const TimingReport& report) {
  std::vector<std::string> lines;
  const auto add = [&lines](int count, int first, const char* one, const char* many) {
    if (count > 0) {
      lines.push_back(std::to_string(count) + (count == 1 ? one : many) + " " +
                      FirstOf(count, first) + ".");
    }
  };
  add(report.outOfOrder, report.firstOutOfOrder,
      " subtitle was out of order; it is written in time order",
      " subtitles were out of order; they are written in time order");
  add(report.overlapping, report.firstOverlapping,
      " subtitle overlaps others; it is drawn together with them while they overlap",
      " subtitles overlap others; they are drawn together while they overlap");
  add(report.tooShort, report.firstTooShort,
      " subtitle lasts less than 12 ms or ends before it starts; it is shown for the shortest "
      "time a DVD allows where the next subtitle starts late enough",
      " subtitles last less than 12 ms or end before they start; they are shown for the "
      "shortest time a DVD allows where the next subtitle starts late enough");
  if (!report.dropped.empty()) {
    const bool one = report.dropped.size() == 1;
    lines.push_back(std::to_string(report.dropped.size()) +
                    (one ? " subtitle is left out because the next subtitle starts too soon for "
                           "it to be seen: "
                         : " subtitles are left out because the next subtitle starts too soon "
                           "for them to be seen: ") +
                    NumberList(report.dropped) + ".");
  }
  return lines;
}

}  // namespace tesmora

#include "subtitles/SubtitleFormats.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "subtitles/TextLines.h"
#include "subtitles/VttReader.h"

namespace tesmora {
namespace {

// A file that gives times has no use for a frame rate; says so when one was
// given. `file` names the kind of file, with its article.
SubtitleReadResult WithUnusedRateNote(SubtitleReadResult result, const ReadOptions& options,
                                      std::string_view file) {
  if (options.fps && !options.rateOfTheVideo) {
    result.notes.push_back("The frame rate " + options.fps->text +
                           " is not used: " + std::string(file) + " gives times, not frames.");
  }
  return result;
}

SubtitleReadResult ReadSrtFile(const LineList& lines, const ReadOptions& options) {
  return WithUnusedRateNote(ReadSrt(lines, options.listTexts), options, "an SRT file");
}

SubtitleReadResult ReadMicroDvdFile(const LineList& lines, const ReadOptions& options) {
  return ReadFrames(lines, options.fps);
}

SubtitleReadResult ReadVttFile(const LineList& lines, const ReadOptions& options) {
  return WithUnusedRateNote(ReadVtt(lines, options.listTexts), options, "a WebVTT file");
}

SubtitleReadResult ReadAssFile(const LineList& lines, const ReadOptions& options) {
  return WithUnusedRateNote(ReadAss(lines, options.styles, options.listTexts).read, options,
                            "an ASS or SSA file");
}

constexpr std::string_view kSrtExtensions[] = {".SRT"};
constexpr std::string_view kMicroDvdExtensions[] = {".SUB", ".TXT"};
constexpr std::string_view kVttExtensions[] = {".VTT"};
constexpr std::string_view kAssExtensions[] = {".ASS", ".SSA"};

// One line a format.
constexpr SubtitleFormat kFormats[] = {
    {"SRT", kSrtExtensions, MarkupDialect::Srt, ReadSrtFile},
    {"MicroDVD", kMicroDvdExtensions, MarkupDialect::MicroDvd, ReadMicroDvdFile},
    {"WebVTT", kVttExtensions, MarkupDialect::WebVtt, ReadVttFile},
    {"ASS/SSA", kAssExtensions, MarkupDialect::Srt, ReadAssFile},
};

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

}  // namespace

std::span<const SubtitleFormat> SubtitleFormats() {
  return kFormats;
}

const SubtitleFormat* FormatOfFile(std::string_view path) {
  const std::string extension = UpperExtension(path);
  for (const SubtitleFormat& format : kFormats) {
    if (std::find(format.extensions.begin(), format.extensions.end(), extension) !=
        format.extensions.end()) {
      return &format;
    }
  }
  return nullptr;
}

std::string FileDialogPattern() {
  std::string pattern;
  for (const SubtitleFormat& format : kFormats) {
    for (const std::string_view extension : format.extensions) {
      pattern += (pattern.empty() ? "*" : ";*") + Lower(extension);
    }
  }
  return pattern;
}

std::string ExtensionsText(std::string_view last) {
  std::vector<std::string> extensions;
  for (const SubtitleFormat& format : kFormats) {
    for (const std::string_view extension : format.extensions) {
      extensions.push_back(Lower(extension));
    }
  }
  std::string text;
  for (std::size_t n = 0; n < extensions.size(); ++n) {
    if (n > 0) {
      text += n + 1 == extensions.size() ? std::string(last) : std::string(", ");
    }
    text += extensions[n];
  }
  return text;
}

std::string ReadableFormatsText() {
  std::string text;
  for (std::size_t n = 0; n < std::size(kFormats); ++n) {
    const SubtitleFormat& format = kFormats[n];
    if (n > 0) {
      text += n + 1 == std::size(kFormats) ? " and " : ", ";
    }
    text += std::string(format.name) + " files (";
    for (std::size_t e = 0; e < format.extensions.size(); ++e) {
      text += (e > 0 ? ", " : "") + Lower(format.extensions[e]);
    }
    text += ")";
  }
  return text;
}

}  // namespace tesmora

#include "subtitles/AssReader.h"

#include <ass/ass.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "subtitles/EarlyCues.h"

namespace tesmora {
namespace {

// How often something happened and the line of the first time.
struct Tally {
  int count = 0;
  int firstLine = 0;

  void add(int line) {
    if (count++ == 0) {
      firstLine = line;
    }
  }
};

// "<one>" for a single case at its line, "<count> <many>; the first is at
// line N." for more.
std::string CountedNote(const Tally& tally, const std::string& one, const std::string& many) {
  if (tally.count == 1) {
    return one + " (line " + std::to_string(tally.firstLine) + ").";
  }
  return std::to_string(tally.count) + " " + many + "; the first is at line " +
         std::to_string(tally.firstLine) + ".";
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// The numbers of a command's parenthesised arguments, "(320, 240)"; none
// when one is not a number.
std::vector<double> Arguments(std::string_view command) {
  const std::size_t open = command.find('(');
  const std::size_t close = command.rfind(')');
  std::vector<double> numbers;
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
    return numbers;
  }
  std::string_view rest = command.substr(open + 1, close - open - 1);
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string field(Trimmed(rest.substr(0, comma)));
    char* end = nullptr;
    const double value = std::strtod(field.c_str(), &end);
    if (field.empty() || end != field.c_str() + field.size()) {
      return {};
    }
    numbers.push_back(value);
    if (comma == std::string_view::npos) {
      return numbers;
    }
    rest.remove_prefix(comma + 1);
  }
}

// The commands of an override block's content, each without its
// backslash; a backslash inside parentheses belongs to its command, as in
// \t(0,500,\fs20).
std::vector<std::string_view> SplitCommands(std::string_view content) {
  std::vector<std::string_view> commands;
  std::size_t start = std::string_view::npos;
  int depth = 0;
  for (std::size_t i = 0; i < content.size(); ++i) {
    const char c = content[i];
    if (c == '(') {
      ++depth;
    } else if (c == ')' && depth > 0) {
      --depth;
    } else if (c == '\\' && depth == 0) {
      if (start != std::string_view::npos) {
        commands.push_back(Trimmed(content.substr(start, i - start)));
      }
      start = i + 1;
    }
  }
  if (start != std::string_view::npos) {
    commands.push_back(Trimmed(content.substr(start)));
  }
  return commands;
}

// The animated and undrawable things one event's text held.
struct TextFindings {
  bool moved = false;
  bool transformed = false;
  bool faded = false;
  bool karaoke = false;
  bool drawing = false;
  bool braceNote = false;
};

// An event's text as cue lines, with what its override blocks say of its
// place.
struct EventText {
  std::vector<std::string> lines{std::string()};
  std::optional<std::pair<double, double>> position;  // in script pixels
  int alignment = 0;                                  // 1..9 from \an or \a; 0 none
  TextFindings found;
};

// The legacy \a codes as keypad positions: 1-3 bottom, 5-7 top, 9-11
// middle; 0 for any other.
int LegacyAlignment(int code) {
  if (code >= 1 && code <= 3) {
    return code;
  }
  if (code >= 5 && code <= 7) {
    return code + 2;
  }
  if (code >= 9 && code <= 11) {
    return code - 5;
  }
  return 0;
}

class EventTextReader {
 public:
  EventTextReader(CueStyles styles, int wrapStyle) : styles_(styles), wrapStyle_(wrapStyle) {}

  EventText read(std::string_view text) {
    result_ = EventText{};
    drawing_ = false;
    for (std::size_t i = 0; i < text.size();) {
      if (text[i] == '{') {
        if (const std::size_t close = BlockEnd(text, i); close != std::string_view::npos) {
          readBlock(text.substr(i + 1, close - i - 1));
          i = close + 1;
          continue;
        }
      }
      if (drawing_) {
        ++i;
        continue;
      }
      if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'N' || text[i + 1] == 'n')) {
        if (text[i + 1] == 'N' || wrapStyle_ == 2) {
          result_.lines.emplace_back();
        } else {
          result_.lines.back() += ' ';
        }
        i += 2;
        continue;
      }
      result_.lines.back() += text[i++];
    }
    return std::move(result_);
  }

 private:
  // Where the block opened at `at` closes: the first "}", with no "{"
  // before it; npos when it does not close.
  static std::size_t BlockEnd(std::string_view text, std::size_t at) {
    for (std::size_t i = at + 1; i < text.size(); ++i) {
      if (text[i] == '}') {
        return i;
      }
      if (text[i] == '{') {
        return std::string_view::npos;
      }
    }
    return std::string_view::npos;
  }

  void readBlock(std::string_view content) {
    if (!Trimmed(content).starts_with('\\')) {
      // A note for the script's readers: players do not draw it.
      result_.found.braceNote = true;
      return;
    }
    std::string kept;
    for (const std::string_view command : SplitCommands(content)) {
      if (!keep(command)) {
        continue;
      }
      kept += '\\';
      kept += command;
    }
    if (!kept.empty() && !drawing_) {
      result_.lines.back() += '{' + kept + '}';
    }
  }

  // Reads one command; whether it stays in the text for the markup stage.
  bool keep(std::string_view command) {
    if (command.empty()) {
      return false;
    }
    if (command.starts_with("pos(") || command.starts_with("pos ")) {
      if (styles_ == CueStyles::Window) {
        return true;
      }
      placeAt(Arguments(command));
      return false;
    }
    if (command.starts_with("move(")) {
      result_.found.moved = true;
      if (styles_ == CueStyles::File) {
        placeAt(Arguments(command));
      }
      return false;
    }
    if (command.starts_with("t(")) {
      result_.found.transformed = true;
      return false;
    }
    if (command.starts_with("fad(") || command.starts_with("fade(")) {
      result_.found.faded = true;
      return false;
    }
    if (command.front() == 'k' || command.front() == 'K') {
      result_.found.karaoke = true;
      return false;
    }
    if (command.front() == 'p' && AllDigits(command.substr(1))) {
      drawing_ = std::atoi(std::string(command.substr(1)).c_str()) > 0;
      result_.found.drawing = result_.found.drawing || drawing_;
      return false;
    }
    if (result_.alignment == 0 && command.starts_with("an") && command.size() == 3 &&
        command[2] >= '1' && command[2] <= '9') {
      result_.alignment = command[2] - '0';
    } else if (result_.alignment == 0 && command.front() == 'a' && AllDigits(command.substr(1)) &&
               command.size() <= 3) {
      result_.alignment = LegacyAlignment(std::atoi(std::string(command.substr(1)).c_str()));
    }
    return true;
  }

  // The first \pos or \move places the cue; those after it do not.
  void placeAt(const std::vector<double>& numbers) {
    if (!result_.position && numbers.size() >= 2) {
      result_.position = std::pair{numbers[0], numbers[1]};
    }
  }

  CueStyles styles_;
  int wrapStyle_;
  EventText result_;
  bool drawing_ = false;
};

// The keypad position of libass's alignment bits (1..3 a column, 4 top,
// 8 middle).
int NumpadAlignment(int alignment) {
  const int column = std::clamp(alignment & 3, 1, 3);
  if ((alignment & 4) != 0) {
    return column + 6;
  }
  if ((alignment & 8) != 0) {
    return column + 3;
  }
  return column;
}

// The script resolution as players complete it when the file gives one
// side or none.
std::pair<int, int> PlayResolution(const ASS_Track& track) {
  int x = track.PlayResX > 0 ? track.PlayResX : 0;
  int y = track.PlayResY > 0 ? track.PlayResY : 0;
  if (x == 0 && y == 0) {
    return {384, 288};
  }
  // In 64 bits and capped: a script may give any side up to the int limit.
  const auto scaled = [](int side, int times, int over) {
    const long long value = static_cast<long long>(side) * times / over;
    return static_cast<int>(std::clamp<long long>(value, 1, std::numeric_limits<int>::max()));
  };
  if (y == 0) {
    y = x == 1280 ? 1024 : scaled(x, 3, 4);
  } else if (x == 0) {
    x = y == 1024 ? 1280 : scaled(y, 4, 3);
  }
  return {x, y};
}

struct LibraryDeleter {
  void operator()(ASS_Library* library) const { ass_library_done(library); }
};
struct TrackDeleter {
  void operator()(ASS_Track* track) const { ass_free_track(track); }
};

void Quiet(int, const char*, va_list, void*) {}

CueLook LookOf(const ASS_Track& track, const ASS_Event& event, const EventText& text,
               std::pair<int, int> resolution) {
  CueLook look;
  const double width = resolution.first;
  const double height = resolution.second;
  if (event.Style >= 0 && event.Style < track.n_styles) {
    const ASS_Style& style = track.styles[event.Style];
    look.font.styleName = style.Name ? style.Name : "";
    std::string_view family = style.FontName ? style.FontName : "";
    // A leading "@" asks for vertical text, which a subpicture is not.
    if (family.starts_with('@')) {
      family.remove_prefix(1);
    }
    look.font.family = std::string(family);
    if (style.FontSize > 0) {
      look.font.height = style.FontSize / height;
    }
    look.font.bold = style.Bold != 0;
    look.font.italic = style.Italic != 0;
    look.font.underline = style.Underline != 0;
    look.font.strikeOut = style.StrikeOut != 0;
    look.placement.alignment = NumpadAlignment(style.Alignment);
    look.placement.marginLeft = (event.MarginL > 0 ? event.MarginL : style.MarginL) / width;
    look.placement.marginRight = (event.MarginR > 0 ? event.MarginR : style.MarginR) / width;
    look.placement.marginVertical = (event.MarginV > 0 ? event.MarginV : style.MarginV) / height;
  }
  look.font.layer = event.Layer;
  if (text.alignment != 0) {
    look.placement.alignment = text.alignment;
  }
  if (text.position) {
    look.placement.x = text.position->first / width;
    look.placement.y = text.position->second / height;
  }
  return look;
}

std::string NegativeStartMessage(int lineNumber, std::string_view line) {
  return "The subtitle at line " + std::to_string(lineNumber) +
         " starts before the beginning of the video (" + std::string(line) +
         "); a subpicture cannot start before 0. Please correct the file and load it again";
}

}  // namespace

AssReadResult ReadAss(const LineList& lines, CueStyles styles, ListTexts listTexts) {
  AssReadResult result;
  SubtitleReadResult& read = result.read;
  const std::unique_ptr<ASS_Library, LibraryDeleter> library(ass_library_init());
  if (!library) {
    read.error = "The ASS reader could not be started";
    return result;
  }
  ass_set_message_cb(library.get(), Quiet, nullptr);
  const std::unique_ptr<ASS_Track, TrackDeleter> track(ass_new_track(library.get()));
  if (!track) {
    read.error = "The ASS reader could not be started";
    return result;
  }

  Tally comments;
  Tally unread;
  Tally textless;
  Tally moved;
  Tally transformed;
  Tally faded;
  Tally karaoke;
  Tally drawings;
  Tally braceNotes;
  std::set<std::uint32_t> colours;
  bool inEvents = false;
  std::optional<std::pair<int, int>> resolution;
  std::string buffer;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (i == 0 && line.starts_with("\xEF\xBB\xBF")) {
      line.remove_prefix(3);
    }
    const int lineNumber = static_cast<int>(i) + 1;
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.starts_with('[')) {
      inEvents = StartsWithNoCase(trimmed, "[Events]");
    }
    if (inEvents && StartsWithNoCase(trimmed, "Comment:")) {
      comments.add(lineNumber);
      continue;
    }
    // Line by line, so that each event is known by its line and leaves the
    // track as soon as it is read: the track never holds more than one.
    buffer.assign(line);
    buffer += '\n';
    const int before = track->n_events;
    ass_process_data(track.get(), buffer.data(), static_cast<int>(buffer.size()));
    const bool dialogue = inEvents && StartsWithNoCase(trimmed, "Dialogue:");
    if (track->n_events == before) {
      if (dialogue) {
        unread.add(lineNumber);
      }
      continue;
    }
    if (!resolution) {
      // The header is read before the first event.
      resolution = PlayResolution(*track);
      result.info = {resolution->first, resolution->second, track->WrapStyle,
                     track->ScaledBorderAndShadow != 0};
    }
    const ASS_Event& event = track->events[track->n_events - 1];
    const EventText text =
        EventTextReader(styles, track->WrapStyle).read(event.Text ? event.Text : "");
    const auto count = [lineNumber](bool found, Tally& tally) {
      if (found) {
        tally.add(lineNumber);
      }
    };
    count(text.found.moved, moved);
    count(text.found.transformed, transformed);
    count(text.found.faded, faded);
    count(text.found.karaoke, karaoke);
    count(text.found.drawing, drawings);
    count(text.found.braceNote, braceNotes);
    const bool hasText = std::any_of(text.lines.begin(), text.lines.end(),
                                     [](const std::string& l) { return !l.empty(); });
    if (!hasText) {
      textless.add(lineNumber);
    } else {
      SubtitleEntry entry(event.Start, event.Duration, CueLines(text.lines));
      if (styles == CueStyles::File) {
        entry.look = LookOf(*track, event, text, *resolution);
        if (event.Style >= 0 && event.Style < track->n_styles) {
          colours.insert(track->styles[event.Style].PrimaryColour >> 8);
        }
      }
      if (IsNewEarliestCue(read, entry.startMs)) {
        read.earlyCues.push_back(
            {read.entries.size(), entry.startMs, NegativeStartMessage(lineNumber, line)});
      }
      if (listTexts == ListTexts::Made) {
        std::string listText;
        for (std::size_t n = 0; n < text.lines.size(); ++n) {
          listText += (n > 0 ? " | " : "") + text.lines[n];
        }
        read.listTexts.push_back(std::move(listText));
      }
      read.entries.push_back(std::move(entry));
    }
    ass_free_event(track.get(), track->n_events - 1);
    --track->n_events;
  }
  if (!resolution) {
    resolution = PlayResolution(*track);
    result.info = {resolution->first, resolution->second, track->WrapStyle,
                   track->ScaledBorderAndShadow != 0};
  }

  std::vector<std::string>& notes = read.notes;
  if (comments.count > 0) {
    notes.push_back(
        CountedNote(comments, "A Comment line was skipped", "Comment lines were skipped"));
  }
  if (unread.count > 0) {
    notes.push_back(CountedNote(unread, "A Dialogue line could not be read and was left out",
                                "Dialogue lines could not be read and were left out"));
  }
  if (textless.count > 0) {
    notes.push_back(CountedNote(textless, "A subtitle has no text to draw and was left out",
                                "subtitles have no text to draw and were left out"));
  }
  if (colours.size() > 1) {
    notes.push_back("The file's styles use " + std::to_string(colours.size()) +
                    " text colours; the subtitles are drawn in the window's four colours.");
  }
  const auto animated = [&notes](const Tally& tally, const std::string& tag) {
    if (tally.count > 0) {
      notes.push_back(CountedNote(tally, "A subtitle uses " + tag + ", drawn as at its start",
                                  "subtitles use " + tag + ", each drawn as at its start"));
    }
  };
  animated(moved, "\\move");
  animated(transformed, "\\t");
  animated(faded, "\\fad");
  animated(karaoke, "karaoke (\\k)");
  if (drawings.count > 0) {
    notes.push_back(CountedNote(drawings, "A drawing (\\p) cannot be drawn and was left out",
                                "subtitles hold drawings (\\p), which cannot be drawn and were "
                                "left out"));
  }
  if (braceNotes.count > 0) {
    notes.push_back(CountedNote(braceNotes, "A note in braces is not drawn, as players do not",
                                "subtitles hold notes in braces, which are not drawn, as "
                                "players do not"));
  }
  return result;
}

}  // namespace tesmora

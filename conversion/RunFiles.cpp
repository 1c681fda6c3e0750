#include "conversion/RunFiles.h"

#include "conversion/CueFrameDrawing.h"
#include "conversion/ParallelUnits.h"
#include "output/OutputFileSet.h"
#include "timing/CueTimes.h"

namespace tesmora {
namespace {

QRgb QtColour(const Rgb& colour) {
  return qRgb(colour.r, colour.g, colour.b);
}

RoleKeyColours KeyColours(const RunLook& look) {
  const auto entry = [&look](int role) { return look.palette[static_cast<std::size_t>(role)].rgb; };
  return RoleKeyColours{entry(look.roles.text), entry(look.roles.outline),
                        entry(look.roles.antialias)};
}

}  // namespace

std::vector<std::string> OutputFileNamesOf(const OutputFormats& formats, const std::string& stem) {
  std::vector<std::string> names;
  if (formats.sup) {
    names.push_back(stem + ".sup");
  }
  if (formats.vobsub) {
    names.push_back(stem + ".idx");
    names.push_back(stem + ".sub");
  }
  if (formats.rgb) {
    names.push_back(stem + ".rgb");
  }
  return names;
}

int WriteRunFiles(const RunTarget& target, const std::vector<SubtitleEntry>& cues,
                  const Timeline& timeline, const RunLook& look, const RunControl& control) {
  const RoleKeyColours keys = KeyColours(look);
  const RoleColours colours{QtColour(keys.outline), QtColour(keys.antialias), QtColour(keys.text)};
  const CueFrameLook frameLook{look.source, look.style, look.outlineWidth, colours,
                               keys,        look.roles, look.frameHeight};
  const std::vector<CueTime> times = CueTimesOf(cues);
  const StartDisplay start = target.forced ? StartDisplay::Forced : StartDisplay::Normal;
  // The workers start before any file is opened: a thread the system refuses
  // leaves nothing behind.
  ParallelEncoding encoding(timeline.subpictures, times, keys, start, look.workers,
                            CueFrameDrawings(cues, frameLook));
  OutputFileSet outputs;
  FormatFiles files(
      outputs, target.base, target.formats,
      VobSubTrack{look.frameHeight, ShownColours(look.palette), target.language, target.forced});
  PendingFile* help = target.help ? &outputs.add(target.help->path) : nullptr;
  // A stop is seen before the next packet: the workers are stopped and
  // joined as for a failure, and the set, never committed, removes its
  // temporary files.
  encoding.run(
      [&control](std::size_t position) {
        if (control.cancel != nullptr && control.cancel->load()) {
          throw RunCancelled();
        }
        if (control.awaited) {
          control.awaited(position);
        }
      },
      [&files](const SupPacket& packet, std::uint32_t pts) { files.add(packet, pts); });
  if (control.cancel != nullptr && control.cancel->load()) {
    throw RunCancelled();
  }
  files.finish();
  if (help != nullptr) {
    help->write(HelpFileText(HelpFileLinesListing(target.help->helpCase, target.help->listing)));
  }
  outputs.commit();
  return encoding.workers();
}

}  // namespace tesmora

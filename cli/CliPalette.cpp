#include "cli/CliPalette.h"

#include <QFile>

#include <cstdio>
#include "files/FileNames.h"

#include "cli/CliConsole.h"
#include "core/IoError.h"
#include "palette/FallbackNotice.h"
#include "palette/GreyRoles.h"
#include "palette/IfoReader.h"

namespace tesmora::cli {

PaletteChoice GenericChoice(bool pal) {
  PaletteChoice choice;
  choice.palette = GenericPalette();
  choice.pal = pal;
  choice.roles = {kGenericAntialias, kGenericOutline, kGenericText, kGenericBackground};
  choice.helpCase = HelpCase::NoIfo;
  return choice;
}

PaletteChoice IfoChoice(const QString& path) {
  IfoPaletteData data;
  try {
    data = ReadIfoPalette(FileNameBytes(path).toStdString());
  } catch (const IoError& error) {
    throw CliError(kExitRefused, std::string(kProgramName) + ": " +
                                     InlineText(FileNameBytes(path).toStdString()) + ": " +
                                     error.what() + ".");
  } catch (const IfoFormatError& error) {
    // One line that names the file.
    throw CliError(kExitRefused, InlineText(error.what()));
  }

  PaletteChoice choice;
  for (std::size_t n = 0; n < 16; ++n) {
    choice.palette[n] = PaletteEntryFromIfo(data.entries[n]);
  }
  choice.pal = data.isPal();
  const GreyRoles greys = PickGreyRoles(choice.palette);
  if (!greys.polychromatic()) {
    PaletteChoice fallback = GenericChoice(choice.pal);
    fallback.helpCase = HelpCase::MonocromaticIfo;
    fallback.monochromeFallback = true;
    return fallback;
  }
  choice.roles = {*greys.middle, *greys.dark, *greys.light, *greys.dark};
  choice.helpCase = HelpCase::WithIfo;
  return choice;
}

std::string PaletteListing(const PaletteChoice& choice) {
  std::string listing;
  for (std::size_t n = 0; n < 16; ++n) {
    const PaletteEntry& entry = choice.palette[n];
    char colour[8];
    std::snprintf(colour, sizeof colour, "%02X%02X%02X", entry.rgb.r, entry.rgb.g, entry.rgb.b);
    listing += std::to_string(n) + ' ' + entry.hintText + ' ' + colour + '\n';
  }
  listing += choice.pal ? "PAL\n" : "NTSC\n";
  return listing;
}

}  // namespace tesmora::cli

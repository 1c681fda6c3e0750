#pragma once

#include <QString>
#include <string>

#include "output/HelpFile.h"
#include "palette/Palette.h"
#include "sup/SupPacket.h"

namespace tesmora::cli {

// The palette a run draws and encodes with, and what its load decided.
struct PaletteChoice {
  Palette palette;
  bool pal = true;
  RolePaletteIndices roles;  // as the load picks them
  HelpCase helpCase = HelpCase::NoIfo;
  // An IFO without a grey in every band: the generic palette stands in, and
  // the user is told so.
  bool monochromeFallback = false;
};

// The generic palette with its roles, as for a disc without IFO.
PaletteChoice GenericChoice(bool pal);

// The palette of a title set's IFO, as the window's IFO load gives it: the
// file's 16 entries and standard, Background and Outline on the first dark
// grey, Antialias on the first middle grey, Text on the first light grey.
// Without a grey in each band the generic palette and its roles stand in and
// the standard stays the file's. Throws CliError (kExitRefused) for a file
// that cannot be read or is not a title set's IFO.
PaletteChoice IfoChoice(const QString& path);

// The --palette listing: "N HINT RRGGBB" for entries 0 to 15, then "PAL" or
// "NTSC", each on its own line.
std::string PaletteListing(const PaletteChoice& choice);

}  // namespace tesmora::cli

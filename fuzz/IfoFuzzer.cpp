// The IFO palette reader on arbitrary files, absurd offsets included.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/IoError.h"
#include "palette/GreyRoles.h"
#include "palette/IfoReader.h"
#include "palette/Palette.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
  try {
    const tesmora::IfoPaletteData ifo = tesmora::ReadIfoPaletteFrom(file, "VTS_01_0.IFO");
    tesmora::Palette palette;
    for (std::size_t n = 0; n < 16; ++n) {
      palette[n] = tesmora::PaletteEntryFromIfo(ifo.entries[n]);
    }
    (void)tesmora::PickGreyRoles(palette);
  } catch (const tesmora::IfoFormatError&) {
  } catch (const tesmora::IoError&) {
  }
  return 0;
}

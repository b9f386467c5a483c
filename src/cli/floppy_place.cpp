#include "cli/floppy_place.h"

#include <cctype>
#include <iostream>

#include "app/engine_setup.h"
#include "media/floppy_device.h"

namespace kelvo::cli {

bool IsFloppyPlace(const std::string& place) {
  if (place.size() != 2 || place[1] != ':') return false;
  char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(place[0])));
  return letter == 'A' || letter == 'B';
}

std::unique_ptr<CFloppyDrive> OpenFloppyPlace(const CliContext& ctx, const std::string& place) {
  if (!IsFloppyPlace(place)) return nullptr;
  char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(place[0])));
  std::string device = ctx.state ? ctx.state->Bindings.floppy[letter - 'A']
                                 : (letter == 'A' ? ctx.drive_a : ctx.drive_b);
  std::unique_ptr<CFloppyDrive> drive = MakeFloppyDrive(letter, device);
  if (!drive) {
    if (device.empty()) device = DefaultFloppyDevice(letter);
    std::cerr << "kdu: unusable device for drive " << letter << ": " << device << "\n";
  }
  return drive;
}

}  // namespace kelvo::cli

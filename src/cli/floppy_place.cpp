#include "cli/floppy_place.h"

#include <cctype>
#include <iostream>

#include "app/app_state.h"

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
  if (device.empty()) device = DefaultFloppyDevice(letter);
  std::shared_ptr<CFloppyDevice> backend = MakeFloppyDevice(device);
  if (!backend) {
    std::cerr << "kdu: unusable device for drive " << letter << ": " << device << "\n";
    return nullptr;
  }
  return std::make_unique<CFloppyDrive>(std::string(1, letter) + ":", backend);
}

}  // namespace kelvo::cli

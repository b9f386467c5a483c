#include "tape/tape_drive_info.h"

namespace kelvo {

TapeDriveInfo GetTapeDriveInfo(const TapeContext& ctx, const std::string& name) {
  TapeDriveInfo info;
  info.caption = "Drive Information for " + name;
  std::unique_ptr<CTapeDevice> tape = OpenTape(ctx, name);
  if (!tape) return info;
  info.opened = true;
  info.parameters_read = tape->GetDriveParameters(info.drive) == ERR_OK;
  if (!info.parameters_read) info.drive = TapeDriveParameters{};
  std::string vendor;
  std::string product;
  if (tape->GetIdentity(vendor, product)) {
    info.identity_found = true;
    info.vendor = vendor.substr(0, 8);
    info.product = product.substr(0, 16);
    std::string padded = info.vendor;
    padded.resize(8, ' ');
    info.caption += " : " + padded + info.product;
  }
  tape->Close();
  return info;
}

}  // namespace kelvo

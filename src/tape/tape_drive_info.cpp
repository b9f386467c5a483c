#include "tape/tape_drive_info.h"

namespace kelvo {

TapeDriveInfo GetTapeDriveInfo(const TapeContext& ctx, const std::string& name) {
  TapeDriveInfo info;
  info.caption = "Drive Information for " + name;
  std::unique_ptr<CTapeDevice> tape = OpenTape(ctx, name);
  if (!tape) return info;
  info.opened = true;
  TapeDriveParameters drive;
  if (tape->GetDriveParameters(drive) == ERR_OK) {
    info.parameters_read = true;
    info.default_block_size = drive.default_block_size;
    info.minimum_block_size = drive.minimum_block_size;
    info.maximum_block_size = drive.maximum_block_size;
    info.maximum_partition_count = drive.maximum_partition_count;
    info.features_low = drive.features_low;
    info.features_high = drive.features_high;
  }
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

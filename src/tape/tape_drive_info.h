// The facts the "Drive Information" dialog shows for a tape drive.
#pragma once

#include <cstdint>
#include <string>

#include "tape/tape_commands.h"

namespace kelvo {

struct TapeDriveInfo {
  bool opened = false;             // false: the dialog stays empty
  bool parameters_read = false;
  // Block sizes, partition count and the two feature words.
  TapeDriveParameters drive;
  bool identity_found = false;
  std::string vendor;   // at most 8 characters
  std::string product;  // at most 16 characters
  // "Drive Information for Tape0", followed by " : ", the vendor padded to 8
  // characters and the product when the device gave its identity.
  std::string caption;
};

// Reads the drive parameters and identity of `name`. Does not set TapeBusy:
// the drive's tape is not moved.
TapeDriveInfo GetTapeDriveInfo(const TapeContext& ctx, const std::string& name);

}  // namespace kelvo

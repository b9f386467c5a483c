#include "tape/tape_features.h"

#include "tape/tape_device.h"

namespace kelvo {

const TapeFeatureField kTapeFeatureFields[] = {
    {1095, "Fixed Partitions", false, 0x00000001},
    {1097, "Initiator-defined Partitions", false, 0x00000004},
    {1096, "Select Partitions", false, 0x00000002},
    {1025, "Fixed-length Block Mode", false, 0x00000400},
    {1026, "Variable-length Block Mode", false, 0x00000800},
    {1149, "Set Block Size", true, 0x00000010},
    {1103, "Filemarks", true, 0x02000000},
    {1104, "Short Filemarks", true, 0x04000000},
    {1105, "Long Filemarks", true, 0x08000000},
    {1106, "Setmarks", true, 0x01000000},
    {1107, "Erase Short", false, 0x00000010},
    {1108, "Erase Long", false, 0x00000020},
    {1109, "Erase BOP Only", false, 0x00000040},
    {1151, "Space to Absoloute Block", true, 0x00001000},
    {1120, "Space to Logical Block", true, 0x00004000},
    {1121, "Space Relative Blocks", true, 0x00020000},
    {1122, "Space Filemarks", true, 0x00040000},
    {1123, "Space Sequential Filemarks", true, 0x00080000},
    {1124, "Space Setmarks", true, 0x00100000},
    {1125, "Space Sequential Setmarks", true, 0x00200000},
    {1126, "Space to End of Data", true, 0x00010000},
    {1127, "Reverse Position", true, 0x00400000},
    {1110, "Erase", false, 0x00000080},
    {1112, "Load/Unload", true, 0x00000020},
    {1113, "Lock/Unlock", true, 0x00000080},
    {1114, "Rewind", true, 0x00000008},
    {1115, "Space", true, 0x00800000},
    {1116, "Space to Absolute Block", true, 0x00002000},
    {1117, "Space to Logical Block", true, 0x00008000},
    {1118, "Tension", true, 0x00000040},
    {1119, "Write Filemarks", true, 0x10000000},
    {1129, "Compression", false, 0x00020000},
    {1132, "Enable/Disable Compression", true, 0x00000200},
    {1130, "Current Absolute Block Address", false, 0x00100000},
    {1131, "Current Logical Block Address", false, 0x00200000},
    {1133, "Data Padding", false, 0x00040000},
    {1134, "Enable/Disable Data Padding", true, 0x00000400},
    {1135, "Eject Media", false, 0x01000000},
    {1136, "Error Correction", false, 0x00010000},
    {1137, "Enable/Disable Error Correction", true, 0x00000100},
    {1139, "Set EOT Warning Zone Size", false, 0x00400000},
    {1141, "Load/Unload", true, 0x00000001},
    {1142, "Lock/Unlock", true, 0x00000004},
    {1143, "Setmark Reporting", false, 0x00080000},
    {1144, "Enable/Disable Setmark Reporting", true, 0x00000800},
    {1145, "Tape Capacity", false, 0x00000100},
    {1146, "Tape Remaining", false, 0x00000200},
    {1147, "Tension Tape", true, 0x00000002},
    {1148, "Write Protect Notification", false, 0x00001000},
    // Shown but never set.
    {1128, "Cleanup Requests", false, 0},
    {1150, "Set Compression from BOP Only", false, 0},
    {1138, "EOT Warning Zone Size", false, 0},
    {1140, "Format Tape", false, 0},
    {1111, "Format", false, 0},
};

const std::size_t kTapeFeatureFieldCount = sizeof(kTapeFeatureFields) / sizeof(kTapeFeatureFields[0]);

TapeDriveParameters VariableBlockDrive(std::uint32_t maximum_block_size, std::uint32_t features_low,
                                       std::uint32_t features_high) {
  TapeDriveParameters p;
  p.default_block_size = 0;
  p.minimum_block_size = 1;
  p.maximum_block_size = maximum_block_size;
  p.maximum_partition_count = 0;
  p.features_low = features_low;
  p.features_high = features_high;
  return p;
}

bool TapeFeatureReported(const TapeFeatureField& field, std::uint32_t features_low,
                         std::uint32_t features_high) {
  if (field.bit == 0) return false;
  const std::uint32_t word = field.high_word ? (features_high & ~kTapeHighMarker) : features_low;
  return (word & field.bit) != 0;
}

}  // namespace kelvo

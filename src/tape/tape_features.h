// The feature flags a tape drive reports in its drive parameters (a low and
// a high 32-bit word), and the feature table of the "Drive Information"
// dialog that shows them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvo {

// Low feature word.
inline constexpr std::uint32_t kTapeFixed = 0x00000001;
inline constexpr std::uint32_t kTapeSelect = 0x00000002;
inline constexpr std::uint32_t kTapeInitiator = 0x00000004;
inline constexpr std::uint32_t kTapeEraseShort = 0x00000010;
inline constexpr std::uint32_t kTapeEraseLong = 0x00000020;
inline constexpr std::uint32_t kTapeEraseBopOnly = 0x00000040;
inline constexpr std::uint32_t kTapeEraseImmediate = 0x00000080;
inline constexpr std::uint32_t kTapeTapeCapacity = 0x00000100;
inline constexpr std::uint32_t kTapeTapeRemaining = 0x00000200;
inline constexpr std::uint32_t kTapeFixedBlock = 0x00000400;
inline constexpr std::uint32_t kTapeVariableBlock = 0x00000800;
inline constexpr std::uint32_t kTapeWriteProtect = 0x00001000;
inline constexpr std::uint32_t kTapeEcc = 0x00010000;
inline constexpr std::uint32_t kTapeCompression = 0x00020000;
inline constexpr std::uint32_t kTapePadding = 0x00040000;
inline constexpr std::uint32_t kTapeReportSetmarks = 0x00080000;
inline constexpr std::uint32_t kTapeGetAbsoluteBlock = 0x00100000;
inline constexpr std::uint32_t kTapeGetLogicalBlock = 0x00200000;
inline constexpr std::uint32_t kTapeSetEotWz = 0x00400000;
inline constexpr std::uint32_t kTapeEjectMedia = 0x01000000;

// High feature word (reported with the marker bit 0x80000000, which is not a
// feature).
inline constexpr std::uint32_t kTapeHighMarker = 0x80000000;
inline constexpr std::uint32_t kTapeLoadUnload = 0x00000001;
inline constexpr std::uint32_t kTapeTension = 0x00000002;
inline constexpr std::uint32_t kTapeLockUnlock = 0x00000004;
inline constexpr std::uint32_t kTapeRewindImmediate = 0x00000008;
inline constexpr std::uint32_t kTapeSetBlockSize = 0x00000010;
inline constexpr std::uint32_t kTapeLoadUnloadImmediate = 0x00000020;
inline constexpr std::uint32_t kTapeTensionImmediate = 0x00000040;
inline constexpr std::uint32_t kTapeLockUnlockImmediate = 0x00000080;
inline constexpr std::uint32_t kTapeSpaceFilemarks = 0x00040000;
inline constexpr std::uint32_t kTapeSpaceRelativeBlocks = 0x00020000;
inline constexpr std::uint32_t kTapeSpaceEndOfData = 0x00010000;
inline constexpr std::uint32_t kTapeReversePosition = 0x00400000;
inline constexpr std::uint32_t kTapeSpaceImmediate = 0x00800000;
inline constexpr std::uint32_t kTapeWriteFilemarks = 0x02000000;
inline constexpr std::uint32_t kTapeWriteFilemarksImmediate = 0x10000000;

// What a tape image offers: variable blocks, filemarks, spacing over
// filemarks both ways, long erase, load/unload and tension (all synchronous).
inline constexpr std::uint32_t kTapeImageFeaturesLow =
    kTapeVariableBlock | kTapeEraseLong | kTapeWriteProtect;
inline constexpr std::uint32_t kTapeImageFeaturesHigh =
    kTapeHighMarker | kTapeLoadUnload | kTapeTension | kTapeRewindImmediate |
    kTapeLoadUnloadImmediate | kTapeTensionImmediate | kTapeSpaceFilemarks |
    kTapeReversePosition | kTapeSpaceImmediate | kTapeWriteFilemarks |
    kTapeWriteFilemarksImmediate;

// One feature field of the "Drive Information" dialog.
struct TapeFeatureField {
  int field;           // control identifier
  const char* label;   // the label beside it
  bool high_word;      // which feature word holds the bit
  std::uint32_t bit;   // 0: never reported
};

// Every feature field in dialog order, including the five that are never set.
extern const TapeFeatureField kTapeFeatureFields[];
extern const std::size_t kTapeFeatureFieldCount;

// Whether the drive reports the feature of `field` (the high word's marker
// bit is not part of the test).
bool TapeFeatureReported(const TapeFeatureField& field, std::uint32_t features_low,
                         std::uint32_t features_high);

}  // namespace kelvo

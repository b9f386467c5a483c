// The kinds of place a transfer works between, as the explorer windows show
// them and a drag payload carries them (as a 32-bit number).
#pragma once

namespace kelvo {

enum class PlaceKind : int { PcFolder = 0, Floppy = 1, Tape = 2, DiskImage = 3 };

}  // namespace kelvo

// The kinds of place an explorer window shows.
#pragma once

namespace kelvo::gui {

enum class PlaceKind : int { PcFolder = 0, Floppy = 1, Tape = 2, DiskImage = 3 };

}  // namespace kelvo::gui

// Short size texts of the file lists ("1023 bytes", "1.00KB", "12.5MB" ...).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvo {

// Size text of a 64-bit byte count (PC folder totals, free space). Units are
// powers of two; from 1 GB the precision drops with the value: "%.2fGB" below
// 10, "%.1fGB" below 100, "%.0fGB" above.
std::string FormatSize(std::uint64_t bytes);

// Size text of a 32-bit byte count (selections, printer disk lists): the same
// as FormatSize below 1 GB, and "%.2fGB" for every larger count.
std::string FormatSize32(std::uint32_t bytes);

// The number in a size-column text: its decimal digits read from right to
// left, every other character ignored ("1,234" gives 1234, "12 KB" gives 12).
// Saturates instead of wrapping on absurdly long digit runs.
std::uint64_t ParseSizeColumn(const std::string& text);

// "%d file(s) selected (%s)": the number of selected entries and the size
// text of their total, given the size-column texts of the selected entries.
std::string SelectionSummary(const std::vector<std::string>& size_column_texts);

}  // namespace kelvo

#include <gtest/gtest.h>

#include "core/size_text.h"

namespace kelvo {
namespace {

constexpr std::uint64_t kGiB = 1073741824ull;

// Each unit's boundaries, with the values just below, which round up in the
// coarser unit; both variants agree below a gigabyte.
TEST(FormatSize, UnitBoundaries) {
  struct Case {
    std::uint64_t bytes;
    const char* text;
  } const cases[] = {
      {1023, "1023 bytes"}, {1024, "1.00KB"},   {10239, "10.00KB"},   {10240, "10.0KB"},
      {102400, "100KB"},    {1048575, "1024KB"}, {1048576, "1.00MB"}, {1073741823, "1024MB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(FormatSize(c.bytes), c.text);
    EXPECT_EQ(FormatSize32(static_cast<std::uint32_t>(c.bytes)), c.text);
  }
  EXPECT_EQ(FormatSize(10 * kGiB), "10.0GB");
  EXPECT_EQ(FormatSize(UINT64_MAX), "17179869184GB");
  EXPECT_EQ(FormatSize32(4294967295u), "4.00GB");
}

TEST(SelectionSummary, DigitsFromTheRightAndNoWrapAround) {
  EXPECT_EQ(ParseSizeColumn("1,234"), 1234u);
  EXPECT_EQ(ParseSizeColumn("<DIR>"), 0u);
  EXPECT_EQ(ParseSizeColumn("99999999999999999999999"), UINT64_MAX);
  EXPECT_EQ(SelectionSummary({"1,000", "24", ""}), "3 file(s) selected (1.00KB)");
  const std::string five_gb = std::to_string(5 * kGiB);
  EXPECT_EQ(SelectionSummary({five_gb, five_gb}), "2 file(s) selected (10.00GB)");
}

}  // namespace
}  // namespace kelvo

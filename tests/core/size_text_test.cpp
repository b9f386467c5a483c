#include <gtest/gtest.h>

#include "core/size_text.h"

namespace kelvo {
namespace {

constexpr std::uint64_t kGiB = 1073741824ull;

struct Case {
  std::uint64_t bytes;
  const char* text;
};

// Each boundary of the size texts, with the values just below it, which
// round up in the coarser unit.
const Case kBelowGigabyte[] = {
    {0, "0 bytes"},          {1, "1 bytes"},          {1023, "1023 bytes"},
    {1024, "1.00KB"},        {1536, "1.50KB"},        {10239, "10.00KB"},
    {10240, "10.0KB"},       {102399, "100.0KB"},     {102400, "100KB"},
    {1048575, "1024KB"},     {1048576, "1.00MB"},     {10485759, "10.00MB"},
    {10485760, "10.0MB"},    {104857599, "100.0MB"},  {104857600, "100MB"},
    {1073741823, "1024MB"},
};

TEST(FormatSize, BothVariantsAgreeBelowOneGigabyte) {
  for (const Case& c : kBelowGigabyte) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(FormatSize(c.bytes), c.text);
    EXPECT_EQ(FormatSize32(static_cast<std::uint32_t>(c.bytes)), c.text);
  }
}

TEST(FormatSize, SixtyFourBitGigabytesLosePrecisionAsTheyGrow) {
  EXPECT_EQ(FormatSize(kGiB), "1.00GB");
  EXPECT_EQ(FormatSize(5 * kGiB), "5.00GB");
  EXPECT_EQ(FormatSize(10 * kGiB - 1), "10.00GB");
  EXPECT_EQ(FormatSize(10 * kGiB), "10.0GB");
  EXPECT_EQ(FormatSize(10 * kGiB + kGiB / 2), "10.5GB");
  EXPECT_EQ(FormatSize(100 * kGiB - 1), "100.0GB");
  EXPECT_EQ(FormatSize(100 * kGiB), "100GB");
  EXPECT_EQ(FormatSize(2048 * kGiB), "2048GB");
  EXPECT_EQ(FormatSize(UINT64_MAX), "17179869184GB");
}

TEST(FormatSize, ThirtyTwoBitKeepsTwoDecimalsForEveryGigabyteCount) {
  EXPECT_EQ(FormatSize32(1073741824u), "1.00GB");
  EXPECT_EQ(FormatSize32(2147483648u), "2.00GB");
  EXPECT_EQ(FormatSize32(4294967295u), "4.00GB");
}

TEST(SelectionSummary, ParsesDigitsFromRightToLeftIgnoringTheRest) {
  EXPECT_EQ(ParseSizeColumn("1,234"), 1234u);
  EXPECT_EQ(ParseSizeColumn("12 KB"), 12u);
  EXPECT_EQ(ParseSizeColumn("1.5MB"), 15u);
  EXPECT_EQ(ParseSizeColumn(""), 0u);
  EXPECT_EQ(ParseSizeColumn("<DIR>"), 0u);
  EXPECT_EQ(ParseSizeColumn("007"), 7u);
  EXPECT_EQ(ParseSizeColumn("1 000 000"), 1000000u);
  // A digit run longer than any count saturates instead of wrapping.
  EXPECT_EQ(ParseSizeColumn("99999999999999999999999"), UINT64_MAX);
  EXPECT_EQ(ParseSizeColumn("000000000000000000000000001"), 1u);
}

TEST(SelectionSummary, CountsAndTotalsTheSelectedEntries) {
  EXPECT_EQ(SelectionSummary({}), "0 file(s) selected (0 bytes)");
  EXPECT_EQ(SelectionSummary({"512"}), "1 file(s) selected (512 bytes)");
  EXPECT_EQ(SelectionSummary({"1,000", "24", ""}), "3 file(s) selected (1.00KB)");
  EXPECT_EQ(SelectionSummary({"1,048,576", "9,437,184"}), "2 file(s) selected (10.0MB)");
}

TEST(SelectionSummary, TotalsBeyondFourGigabytesDoNotWrapAround) {
  const std::string five_gb = std::to_string(5 * kGiB);
  EXPECT_EQ(SelectionSummary({five_gb, five_gb}), "2 file(s) selected (10.00GB)");
  EXPECT_EQ(SelectionSummary({"99999999999999999999999", "1"}),
            "2 file(s) selected (17179869184.00GB)");
}

}  // namespace
}  // namespace kelvo

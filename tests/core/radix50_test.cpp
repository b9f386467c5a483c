#include "core/radix50.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

TEST(Radix50, ReferenceCodes) {
  EXPECT_EQ(RadixEncode("BAD"), 0x0CAC);
  EXPECT_EQ(RadixEncode("BLK"), 0x0E6B);
  EXPECT_EQ(RadixEncode("BIT"), 0x0DFC);
  EXPECT_EQ(RadixEncode("MAP"), 0x5178);
  EXPECT_EQ(RadixEncode("A"), 1600);
  EXPECT_EQ(RadixEncode(""), 0);
  EXPECT_EQ(RadixEncode("$Y$"), 0xACC3);
  EXPECT_EQ(RadixEncode("$y$"), 0xACC3);
}

TEST(Radix50, EncodingIgnoresCaseAndExtraCharacters) {
  EXPECT_EQ(RadixEncode("abc"), RadixEncode("ABC"));
  EXPECT_EQ(RadixEncode("ABCDEF"), RadixEncode("ABC"));
  EXPECT_EQ(RadixEncode("9.$"), (39 * 40 + 28) * 40 + 27);
  // Characters outside the alphabet become code 0, which ends the text.
  EXPECT_EQ(RadixEncode("a_b"), (1 * 40 + 0) * 40 + 2);
  EXPECT_EQ(RadixDecode(RadixEncode("a_b")), "A");
}

TEST(Radix50, DecodingStopsAtEndCodes) {
  EXPECT_EQ(RadixDecode(0xFFFF), "");  // first code 40
  EXPECT_EQ(RadixDecode(0x0640), "A");
  EXPECT_EQ(RadixDecode(29 * 1600), "");  // code 29 is no character
  EXPECT_EQ(RadixDecode(0), "");
  EXPECT_EQ(RadixDecode(RadixEncode("Z9.")), "Z9.");
  EXPECT_EQ(RadixDecode((1 * 40 + 29) * 40 + 2), "A");
}

TEST(Radix50, EveryCharacterRoundTrips) {
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ$.0123456789";
  for (char a : alphabet) {
    for (char b : alphabet) {
      std::string text{a, b, 'Q'};
      ASSERT_EQ(RadixDecode(RadixEncode(text)), text);
    }
  }
}

}  // namespace
}  // namespace kelvo

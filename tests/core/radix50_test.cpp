#include "core/radix50.h"

#include <gtest/gtest.h>

#include "support/words.h"

namespace kelvo {
namespace {

TEST(Radix50, ReferenceCodesAndEndCodes) {
  EXPECT_EQ(RadixEncode("BAD"), 0x0CAC);
  EXPECT_EQ(RadixEncode("$y$"), 0xACC3);
  EXPECT_EQ(RadixEncode("ABCDEF"), RadixEncode("ABC"));
  // Characters outside the alphabet are code 0, which ends the text.
  EXPECT_EQ(RadixDecode(RadixEncode("a_b")), "A");
  EXPECT_EQ(RadixDecode(0xFFFF), "");     // first code 40
  EXPECT_EQ(RadixDecode(29 * 1600), "");  // code 29 is no character
  EXPECT_EQ(RadixDecode((1 * 40 + 29) * 40 + 2), "A");
}

// Against the tests' own encoder, every pair of characters both ways.
TEST(Radix50, EveryCharacterMatchesTheReferenceEncoder) {
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ$.0123456789";
  for (char a : alphabet) {
    for (char b : alphabet) {
      const std::string text{a, b, 'Q'};
      ASSERT_EQ(RadixEncode(text), test::Rad50(text)) << text;
      ASSERT_EQ(RadixDecode(test::Rad50(text)), text);
    }
  }
}

}  // namespace
}  // namespace kelvo

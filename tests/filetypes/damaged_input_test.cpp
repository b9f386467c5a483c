// Arbitrary PC files: the stored content keeps its invariants and is never
// read past its end (run under the sanitizers to see the latter). Exports
// of damaged entry words are driven by the disk image fuzz target.
#include <gtest/gtest.h>

#include <random>

#include "filetypes/stored_content.h"

namespace kelvo {
namespace {

std::vector<std::uint8_t> RandomBytes(std::mt19937& rng, std::size_t size, bool textLike) {
  std::vector<std::uint8_t> bytes(size);
  const char* text = "ABC 0123\r\n\t{~$.*";
  for (std::uint8_t& b : bytes) b = textLike ? std::uint8_t(text[rng() % 16]) : std::uint8_t(rng());
  return bytes;
}

TEST(DamagedInput, StoredContentKeepsItsInvariants) {
  std::mt19937 rng(2024);
  const char* names[] = {"a.jsl", "b.tmp", "c.fnt", ".jsl", "x", "", "dir/LONGNAME.lib", "d.$y$"};
  for (int round = 0; round < 400; ++round) {
    const std::size_t size = rng() % 2000;
    const std::vector<std::uint8_t> file = RandomBytes(rng, size, round % 2 == 0);
    for (const char* name : names) {
      StoredContent c;
      ASSERT_EQ(PrepareStoredContent(name, file, {{int(rng() % 100) - 50, 10}, {bool(round % 3)}}, c),
                ERR_OK);
      ASSERT_EQ(c.blocks.size(), std::size_t(c.words.block_count) * 512);
      if (c.kind == ContentKind::Binary) {
        EXPECT_EQ(c.words.record_size, 512u);
        EXPECT_EQ(c.words.last_block_bytes, 0u);
        // The data is the file less its label, byte for byte.
        const std::size_t label = RetainedLabelLength(
            std::span(file).first(std::min<std::size_t>(size, 512)), name);
        ASSERT_EQ(c.words.block_count, (size - label + 511) / 512);
        EXPECT_TRUE(std::equal(file.begin() + label, file.end(), c.blocks.begin()));
      } else {
        EXPECT_EQ(c.words.record_size, 80u);
        EXPECT_LE(c.words.last_block_bytes, 480u);
        EXPECT_EQ(c.words.last_block_bytes % 80, 0u);
      }
    }
  }
}

}  // namespace
}  // namespace kelvo

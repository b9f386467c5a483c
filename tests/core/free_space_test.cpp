#include <gtest/gtest.h>

#include "support/test_support.h"
#include "core/free_space.h"

namespace kelvo {
namespace {

TEST(GetFreeSpace, MatchesTheSpaceAvailableToTheCaller) {
  test::TempDir dir;
  ErrorCode error = 99;
  const std::uint64_t free = GetFreeSpace(dir.path(), &error);
  EXPECT_EQ(error, 0u);
  const std::uint64_t expected = std::filesystem::space(dir.path()).available;
  // Other processes write meanwhile; the two answers must still be close.
  const std::uint64_t diff = free > expected ? free - expected : expected - free;
  EXPECT_LT(diff, 256ull << 20);
  EXPECT_GT(free, 0u);
}

TEST(GetFreeSpace, AFileCountsForItsFileSystem) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "f", "x");
  EXPECT_GT(GetFreeSpace(dir / "f"), 0u);
}

TEST(GetFreeSpace, MissingPathGivesZeroAndTheReason) {
  test::TempDir dir;
  ErrorCode error = 0;
  EXPECT_EQ(GetFreeSpace(dir / "missing/folder", &error), 0u);
  EXPECT_EQ(error, 2u);
  EXPECT_EQ(GetFreeSpace(dir / "missing/folder"), 0u);
}

}  // namespace
}  // namespace kelvo

#include <gtest/gtest.h>

#include "core/free_space.h"
#include "support/test_support.h"

namespace kelvo {
namespace {

TEST(GetFreeSpace, ThatOfTheFileSystemOrZeroWithTheReason) {
  test::TempDir dir;
  ErrorCode error = 99;
  const std::uint64_t free = GetFreeSpace(dir.path(), &error);
  EXPECT_EQ(error, 0u);
  // Other processes write meanwhile; the two answers must still be close.
  const std::uint64_t expected = std::filesystem::space(dir.path()).available;
  EXPECT_LT(free > expected ? free - expected : expected - free, 256ull << 20);
  EXPECT_EQ(GetFreeSpace(dir / "missing/folder", &error), 0u);
  EXPECT_EQ(error, 2u);
}

}  // namespace
}  // namespace kelvo

#include <gtest/gtest.h>

#include <cerrno>

#include "transfer/errno_map.h"

namespace kelvo {
namespace {

TEST(MapErrno, GeneralMeanings) {
  EXPECT_EQ(MapErrno(0), 0u);
  EXPECT_EQ(MapErrno(ENOENT), 2u);
  EXPECT_EQ(MapErrno(ENOTDIR), 3u);
  EXPECT_EQ(MapErrno(ENAMETOOLONG), 3u);
  EXPECT_EQ(MapErrno(EMFILE), 4u);
  EXPECT_EQ(MapErrno(ENFILE), 4u);
  EXPECT_EQ(MapErrno(EACCES), 5u);
  EXPECT_EQ(MapErrno(EPERM), 5u);
  EXPECT_EQ(MapErrno(EISDIR), 5u);
  EXPECT_EQ(MapErrno(EBADF), 6u);
  EXPECT_EQ(MapErrno(ENOMEM), 8u);
  EXPECT_EQ(MapErrno(EROFS), 19u);
  EXPECT_EQ(MapErrno(ENODEV), 20u);
  EXPECT_EQ(MapErrno(ENXIO), 21u);
  EXPECT_EQ(MapErrno(ENOMEDIUM), 21u);
  EXPECT_EQ(MapErrno(EIO), 31u);
  EXPECT_EQ(MapErrno(EBUSY), 32u);
  EXPECT_EQ(MapErrno(EAGAIN), 33u);
  EXPECT_EQ(MapErrno(ENOSPC), 39u);
  EXPECT_EQ(MapErrno(EDQUOT), 39u);
  EXPECT_EQ(MapErrno(EFBIG), 39u);
  EXPECT_EQ(MapErrno(ECONNRESET), 59u);
  EXPECT_EQ(MapErrno(ESTALE), 59u);
  EXPECT_EQ(MapErrno(EEXIST), 80u);
  EXPECT_EQ(MapErrno(ENOTEMPTY), 80u);
  EXPECT_EQ(MapErrno(ESPIPE), 132u);
  EXPECT_EQ(MapErrno(EINVAL), 1u);
  EXPECT_EQ(MapErrno(ENOTTY), 1u);
  EXPECT_EQ(MapErrno(EMEDIUMTYPE), 1785u);
}

TEST(MapErrno, UnknownValuesAreADeviceFailure) {
  EXPECT_EQ(MapErrno(EDOM), 31u);
  EXPECT_EQ(MapErrno(99999), 31u);
  EXPECT_EQ(MapErrno(-1), 31u);
}

TEST(MapErrno, FloppyReadsAndWrites) {
  EXPECT_EQ(MapErrno(EIO, IoContext::Read), 23u);
  EXPECT_EQ(MapErrno(EIO, IoContext::Write), 29u);
  EXPECT_EQ(MapErrno(EROFS, IoContext::Write), 19u);
  EXPECT_EQ(MapErrno(EACCES, IoContext::Write), 19u);
  EXPECT_EQ(MapErrno(ENXIO, IoContext::Read), 21u);
  EXPECT_EQ(MapErrno(ENODEV, IoContext::Format), 21u);
  EXPECT_EQ(MapErrno(ENOSPC, IoContext::Write), 39u);
  EXPECT_EQ(MapErrno(ENOMEM, IoContext::Read), 8u);
}

TEST(MapErrno, TapeOperations) {
  EXPECT_EQ(MapErrno(ENOMEM, IoContext::TapeRead), 234u);
  EXPECT_EQ(MapErrno(EIO, IoContext::TapeRead), 1104u);
  EXPECT_EQ(MapErrno(ENOSPC, IoContext::TapeWrite), 1100u);
  EXPECT_EQ(MapErrno(EACCES, IoContext::TapeWrite), 19u);
  EXPECT_EQ(MapErrno(EROFS, IoContext::TapeControl), 19u);
  EXPECT_EQ(MapErrno(ENOMEDIUM, IoContext::TapeControl), 1112u);
  EXPECT_EQ(MapErrno(ENOTTY, IoContext::TapeControl), 50u);
  EXPECT_EQ(MapErrno(EBUSY, IoContext::TapeControl), 32u);
  // Outside tape work the same values keep their general meaning.
  EXPECT_EQ(MapErrno(ENOMEM, IoContext::General), 8u);
  EXPECT_EQ(MapErrno(EACCES, IoContext::TapeControl), 5u);
}

}  // namespace
}  // namespace kelvo

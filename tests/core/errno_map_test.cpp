#include <gtest/gtest.h>

#include <cerrno>

#include "core/errno_map.h"

namespace kelvo {
namespace {

struct Case {
  int err;
  IoContext context;
  ErrorCode code;
};

constexpr IoContext G = IoContext::General;

const Case kCases[] = {
    // General meanings.
    {0, G, 0}, {ENOENT, G, 2}, {ENOTDIR, G, 3}, {ENAMETOOLONG, G, 3}, {EMFILE, G, 4},
    {ENFILE, G, 4}, {EACCES, G, 5}, {EPERM, G, 5}, {EISDIR, G, 5}, {EBADF, G, 6},
    {ENOMEM, G, 8}, {EROFS, G, 19}, {ENODEV, G, 20}, {ENXIO, G, 21}, {ENOMEDIUM, G, 21},
    {EIO, G, 31}, {EBUSY, G, 32}, {EAGAIN, G, 33}, {ENOSPC, G, 39}, {EDQUOT, G, 39},
    {EFBIG, G, 39}, {ECONNRESET, G, 59}, {ESTALE, G, 59}, {EEXIST, G, 80},
    {ENOTEMPTY, G, 80}, {ESPIPE, G, 132}, {EINVAL, G, 1}, {ENOTTY, G, 1},
    {EMEDIUMTYPE, G, 1785},
    // Values without a better match are a device failure.
    {EDOM, G, 31}, {99999, G, 31}, {-1, G, 31},
    // Floppy and image reads, writes and formats.
    {EIO, IoContext::Read, 23}, {EIO, IoContext::Write, 29}, {EROFS, IoContext::Write, 19},
    {EACCES, IoContext::Write, 19}, {ENXIO, IoContext::Read, 21},
    {ENODEV, IoContext::Format, 21}, {ENOSPC, IoContext::Write, 39},
    {ENOMEM, IoContext::Read, 8},
    // The floppy driver's own answers, then those of any read or write.
    {EIO, IoContext::FloppyRead, 27}, {EIO, IoContext::FloppyWrite, 27},
    {ENOENT, IoContext::FloppyRead, 15}, {ENODEV, IoContext::FloppyWrite, 21},
    {EBUSY, IoContext::FloppyRead, 108}, {EACCES, IoContext::FloppyWrite, 19},
    {EACCES, IoContext::FloppyRead, 5}, {ENOSPC, IoContext::FloppyWrite, 39},
    // Tapes.
    {ENOMEM, IoContext::TapeRead, 234}, {EIO, IoContext::TapeRead, 1104},
    {ENOSPC, IoContext::TapeWrite, 1100}, {EACCES, IoContext::TapeWrite, 19},
    {EROFS, IoContext::TapeControl, 19}, {ENOMEDIUM, IoContext::TapeControl, 1112},
    {ENOTTY, IoContext::TapeControl, 50}, {EBUSY, IoContext::TapeControl, 32},
    // Outside writes, a refused access is not a write protection.
    {EACCES, IoContext::TapeControl, 5}, {EACCES, IoContext::Read, 5},
};

TEST(MapErrno, EveryValueInItsContext) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << "errno " << c.err << " context "
                                    << static_cast<int>(c.context));
    EXPECT_EQ(MapErrno(c.err, c.context), c.code);
  }
}

TEST(MapErrno, GeneralIsTheDefaultContext) {
  EXPECT_EQ(MapErrno(EIO), MapErrno(EIO, IoContext::General));
  EXPECT_EQ(MapErrno(EACCES), 5u);
}

}  // namespace
}  // namespace kelvo

#include <gtest/gtest.h>

#include <cerrno>

#include "core/errno_map.h"

namespace kelvo {
namespace {

// The same errno means different things by context; unknown values are a
// device failure.
TEST(MapErrno, MeaningDependsOnTheContext) {
  struct Case {
    int err;
    IoContext context;
    ErrorCode code;
  } const cases[] = {
      {0, IoContext::General, 0},          {ENOENT, IoContext::General, 2},
      {ENOSPC, IoContext::General, 39},    {99999, IoContext::General, 31},
      {EIO, IoContext::Read, 23},          {EIO, IoContext::Write, 29},
      {EACCES, IoContext::Write, 19},      {EACCES, IoContext::Read, 5},
      {EIO, IoContext::FloppyRead, 27},    {ENOENT, IoContext::FloppyRead, 15},
      {EIO, IoContext::TapeRead, 1104},    {ENOSPC, IoContext::TapeWrite, 1100},
      {ENOMEM, IoContext::TapeRead, 234},  {ENOMEDIUM, IoContext::TapeControl, 1112},
      {EACCES, IoContext::TapeControl, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "errno " << c.err << " context " << static_cast<int>(c.context));
    EXPECT_EQ(MapErrno(c.err, c.context), c.code);
  }
}

}  // namespace
}  // namespace kelvo

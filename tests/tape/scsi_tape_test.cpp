#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mtio.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <utility>

#include "tape/scsi_tape.h"
#include "tape/tape_open.h"

namespace kelvo::test {
namespace {

// A drive behind the system-call seam: records every request and answers
// from scripts.
class FakeSyscalls : public CTapeSyscalls {
 public:
  std::vector<int> open_flags;
  std::deque<int> open_results;  // empty: succeed with descriptor 7
  std::vector<std::pair<short, int>> ops;
  std::map<short, int> op_errors;  // op -> errno
  long gstat = GMT_ONLINE(~0L) | GMT_BOT(~0L);
  std::deque<long> reads;  // > 0 bytes returned, 0, or -errno
  std::deque<long> writes;
  int closed = 0;
  // As the driver does: after an unload the descriptor answers "no medium"
  // until the device is opened again.
  bool unloaded = false;

  int Open(const std::string&, int flags) override {
    open_flags.push_back(flags);
    unloaded = false;
    if (open_results.empty()) return 7;
    int r = open_results.front();
    open_results.pop_front();
    return r;
  }
  void Close(int) override { ++closed; }
  int MtOp(int, short op, int count) override {
    ops.emplace_back(op, count);
    if (unloaded && op != MTLOAD) return -ENOMEDIUM;
    auto it = op_errors.find(op);
    if (it != op_errors.end()) return -it->second;
    unloaded = op == MTOFFL;
    return 0;
  }
  int MtGet(int, struct mtget& status) override {
    status.mt_gstat = gstat;
    status.mt_dsreg = 0;
    return 0;
  }
  long Read(int, void* buffer, std::size_t length) override {
    if (unloaded) return -ENOMEDIUM;
    if (reads.empty()) return -EIO;
    long r = reads.front();
    reads.pop_front();
    if (r > 0) std::memset(buffer, 'd', std::min<std::size_t>(length, static_cast<std::size_t>(r)));
    return r;
  }
  long Write(int, const void*, std::size_t length) override {
    if (writes.empty()) return static_cast<long>(length);
    long r = writes.front();
    writes.pop_front();
    return r;
  }
  bool ReadSmallFile(const std::string&, std::string&) override { return false; }
  std::string CanonicalPath(const std::string& path) override { return path; }
};

class ScsiTapeTest : public ::testing::Test {
 protected:
  FakeSyscalls sys;
  std::unique_ptr<CTapeDevice> Open(ErrorCode expected = 0) {
    std::unique_ptr<CTapeDevice> tape;
    EXPECT_EQ(OpenTapeDevice("/dev/nst0", tape, &sys), expected);
    return tape;
  }
  ErrorCode Read(CTapeDevice& t, std::size_t* n = nullptr) {
    char buf[64];
    std::size_t got = 0;
    ErrorCode rc = t.ReadBlock(buf, sizeof buf, got);
    if (n) *n = got;
    return rc;
  }
};

TEST_F(ScsiTapeTest, BuildsTheMagneticTapeRequests) {
  auto t = Open();
  ASSERT_TRUE(t);
  EXPECT_EQ(sys.open_flags[0] & O_ACCMODE, O_RDWR);
  EXPECT_NE(sys.open_flags[0] & O_NONBLOCK, 0);
  EXPECT_EQ(t->RewindTape(true), 0u);
  EXPECT_EQ(t->SpaceFilemarks(3, false), 0u);
  EXPECT_EQ(t->SpaceFilemarks(-1, false), 0u);
  EXPECT_EQ(t->PrepareTape(TapePrepareOperation::Load, true), 0u);
  EXPECT_EQ(t->PrepareTape(TapePrepareOperation::Tension, true), 0u);
  EXPECT_EQ(t->EraseTape(false), 0u);
  EXPECT_EQ(t->WriteTapemark(2, false), 0u);
  EXPECT_EQ(t->SetBlockSize(0), 0u);
  EXPECT_EQ(t->PrepareTape(TapePrepareOperation::Unload, true), 0u);
  std::vector<std::pair<short, int>> expected = {
      {MTREW, 1},  {MTFSF, 3},   {MTBSF, 1},  {MTLOAD, 1}, {MTRETEN, 1},
      {MTERASE, 1}, {MTWEOF, 2}, {MTSETBLK, 0}, {MTOFFL, 1}};
  EXPECT_EQ(sys.ops, expected);
  t->Close();
  EXPECT_EQ(sys.closed, 1);
}

// The next volume of a set: the tape is unloaded, another is put in, and
// the restore goes on through the same drive object.
TEST_F(ScsiTapeTest, TheRequestAfterAnUnloadOpensTheDeviceAgain) {
  auto t = Open();
  ASSERT_TRUE(t);
  EXPECT_EQ(t->MountNextVolume(), ERR_NO_MEDIA_IN_DRIVE);
  EXPECT_EQ(sys.ops.back(), (std::pair<short, int>{MTOFFL, 1}));
  EXPECT_EQ(t->RewindTape(false), 0u);
  sys.reads = {64};
  std::size_t n = 0;
  EXPECT_EQ(Read(*t, &n), 0u);
  EXPECT_EQ(n, 64u);
  EXPECT_EQ(sys.open_flags.size(), 2u);  // once, not per request
  EXPECT_EQ(sys.closed, 1);
}

// A busy drive fails to open; a write-protected tape opens read-only.
TEST_F(ScsiTapeTest, OpenFailuresAndStatus) {
  sys.open_results = {-EBUSY, -EROFS, 9};
  EXPECT_FALSE(Open(32));
  auto t = Open();
  ASSERT_TRUE(t);
  EXPECT_EQ(sys.open_flags[2] & O_ACCMODE, O_RDONLY);
  sys.gstat |= GMT_WR_PROT(~0L);
  TapeMediaParameters media;
  EXPECT_EQ(t->GetMediaParameters(media), 0u);
  EXPECT_TRUE(media.write_protected);
  sys.writes = {-EACCES};
  EXPECT_EQ(t->WriteBlock("x", 1), 19u);
  EXPECT_EQ(t->GetTapeStatus(), 0u);
  sys.gstat = GMT_DR_OPEN(~0L);
  EXPECT_EQ(t->GetTapeStatus(), 1112u);
  sys.gstat = 0;  // not online
  EXPECT_EQ(t->GetTapeStatus(), 1112u);
}

TEST_F(ScsiTapeTest, ReadResultsMapToTapeConditions) {
  auto t = Open();
  std::size_t n = 0;
  sys.reads = {40, 0};
  EXPECT_EQ(Read(*t, &n), 0u);
  EXPECT_EQ(n, 40u);
  EXPECT_EQ(Read(*t), 1101u);  // an empty read away from the end of data

  sys.gstat |= GMT_EOD(~0L);
  sys.reads = {0};
  EXPECT_EQ(Read(*t), 1104u);  // empty read where the drive reports end of data
  sys.reads = {-EIO};
  EXPECT_EQ(Read(*t), 1104u);  // blank check

  sys.gstat = GMT_ONLINE(~0L);
  sys.reads = {-EIO};
  EXPECT_EQ(Read(*t), 23u);  // a media error elsewhere
  sys.reads = {-ENOMEDIUM};
  EXPECT_EQ(Read(*t), 1112u);

  sys.ops.clear();
  sys.reads = {-ENOMEM};
  EXPECT_EQ(Read(*t), 234u);
  ASSERT_EQ(sys.ops.size(), 1u);  // stepped back before the oversized block
  EXPECT_EQ(sys.ops[0], std::make_pair(short(MTBSR), 1));

  sys.reads = {0, 0, 0};
  EXPECT_EQ(Read(*t), 1101u);
  EXPECT_EQ(Read(*t), 1101u);
  EXPECT_EQ(Read(*t), 1104u);  // never an endless run of filemarks
}

TEST_F(ScsiTapeTest, SpacingAndWritingFailures) {
  auto t = Open();
  sys.op_errors[MTFSF] = EIO;
  sys.gstat |= GMT_EOD(~0L);
  EXPECT_EQ(t->SpaceFilemarks(1, false), 1104u);
  sys.op_errors[MTBSF] = EIO;
  sys.gstat = GMT_ONLINE(~0L) | GMT_BOT(~0L);
  EXPECT_EQ(t->SpaceFilemarks(-1, false), 1102u);
  sys.writes = {-ENOSPC};
  EXPECT_EQ(t->WriteBlock("abc", 3), 1100u);
  sys.writes = {2};
  EXPECT_EQ(t->WriteBlock("abc", 3), 29u);
  sys.op_errors[MTLOAD] = ENOMEDIUM;
  EXPECT_EQ(t->PrepareTape(TapePrepareOperation::Load, true), 1112u);
}

}  // namespace
}  // namespace kelvo::test

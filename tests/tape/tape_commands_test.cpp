#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>

#include "support/tape_fixture.h"
#include "tape/tap_image.h"

namespace kelvo::test {
namespace {

const std::string kWriteProtected = "The media is write protected.";

// Initialise writes two filemarks; on a write-protected tape answered
// Cancel, Initialise and Erase write nothing.
TEST(TapeCommands, InitialiseAndEraseOnAWriteProtectedTape) {
  TapeBench bench;
  bench.Load(TapeImageBuilder().Record("old").Filemark().Filemark());
  EXPECT_EQ(InitialiseTape(bench.ctx, "Tape0"), 0u);
  EXPECT_EQ(bench.TapeBytes(), std::string(8, '\0'));
  bench.Load(TapeImageBuilder().Record("old").Filemark().Filemark());
  chmod(bench.tap.c_str(), 0444);
  bool busy_while_asked = false;
  bench.ui.on_ask = [&](const std::string&) { busy_while_asked = bench.busy; };
  bench.ui.answers = {Button::Retry, Button::Cancel};
  const std::string before = bench.TapeBytes();
  EXPECT_EQ(InitialiseTape(bench.ctx, "Tape0"), 0u);
  EXPECT_EQ(bench.ui.Texts(), (std::vector<std::string>{kWriteProtected, kWriteProtected}));
  EXPECT_TRUE(busy_while_asked);
  EXPECT_FALSE(bench.busy);
  EXPECT_EQ(bench.TapeBytes(), before);
  EXPECT_EQ(EraseTapeMedia(bench.ctx, "Tape0"), 0u);  // cancel again: nothing erased
  EXPECT_EQ(bench.TapeBytes(), before);
}

TEST(TapeCommands, DriveThatCannotBeOpened) {
  TapeBench bench;
  bench.ctx.bindings.device[1] = (bench.dir / "absent.tap").string();
  EXPECT_EQ(RewindTape(bench.ctx, "Tape1"), 5008u);
  EXPECT_EQ(LoadTape(bench.ctx, "Tape1"), 5008u);
  EXPECT_EQ(InitialiseTape(bench.ctx, "Tape1"), 5008u);
  EXPECT_TRUE(bench.ui.asks.empty());  // silent
  EXPECT_EQ(EraseTapeMedia(bench.ctx, "Tape1"), 5008u);
  EXPECT_EQ(bench.ui.asks.size(), 1u);  // Erase tells the user first
  EXPECT_FALSE(bench.busy);
}

// Positions with SpaceToEndOfData and writes a marker block there.
std::vector<TapItem> AppendAfterSpacing(const TapeImageBuilder& b) {
  TapeBench bench;
  bench.Load(b);
  {
    std::unique_ptr<CTapeDevice> tape = OpenTape(bench.ctx, "Tape0");
    EXPECT_TRUE(tape);
    EXPECT_EQ(SpaceToEndOfData(*tape), 0u);
    EXPECT_EQ(tape->WriteBlock("NEW", 3), 0u);
  }
  return bench.Items();
}

std::string Shape(const std::vector<TapItem>& items) {
  std::string s;
  for (const TapItem& i : items) s += i.filemark ? "|" : "[" + i.data + "]";
  return s;
}

// Where a new file goes: a blank or freshly initialised tape is rewound;
// data closed by two filemarks ends between them; one filemark or none is
// completed to one.
TEST(SpaceToEndOfData, NewDataGoesAfterTheLastFile) {
  struct Case {
    TapeImageBuilder tape;
    const char* after;
  } cases[] = {
      {TapeImageBuilder().Filemark().Filemark(), "[NEW]"},
      {TapeImageBuilder(), "[NEW]"},
      {TapeImageBuilder().Record("L1").Record("D1").Filemark().Record("L2").Filemark().Filemark(),
       "[L1][D1]|[L2]|[NEW]"},
      {TapeImageBuilder().Record("L1").Record("D1").Filemark(), "[L1][D1]|[NEW]"},
      {TapeImageBuilder().Record("L1").Record("D1"), "[L1][D1]|[NEW]"},
  };
  for (const Case& c : cases) EXPECT_EQ(Shape(AppendAfterSpacing(c.tape)), c.after);
}

TEST(SpaceToEndOfData, DamagedTapeIsNotWrittenTo) {
  TapeBench bench;
  bench.Load(TapeImageBuilder().Record("L1").Raw("\x10\x00\x00\x00xx"));
  std::unique_ptr<CTapeDevice> tape = OpenTape(bench.ctx, "Tape0");
  ASSERT_TRUE(tape);
  EXPECT_EQ(SpaceToEndOfData(*tape), 23u);
}

}  // namespace
}  // namespace kelvo::test

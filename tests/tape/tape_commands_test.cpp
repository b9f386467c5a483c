#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>

#include "support/tape_fixture.h"
#include "tape/tap_image.h"
#include "tape/tape_drive_info.h"
#include "tape/tape_features.h"

namespace kelvo::test {
namespace {

const std::string kWriteProtected = "The media is write protected.";

TEST(TapeCommands, InitialiseWritesTwoFilemarksAndClearsBusy) {
  TapeBench bench;
  bench.Load(TapeImageBuilder().Record("old").Filemark().Filemark());
  EXPECT_EQ(InitialiseTape(bench.ctx, "Tape0"), 0u);
  EXPECT_FALSE(bench.busy);
  EXPECT_EQ(bench.TapeBytes(), std::string(8, '\0'));
  EXPECT_TRUE(bench.ui.asks.empty());
}

TEST(TapeCommands, InitialiseOnAWriteProtectedTapeAnsweredCancelWritesNothing) {
  TapeBench bench;
  bench.Load(TapeImageBuilder().Record("old").Filemark().Filemark());
  chmod(bench.tap.c_str(), 0444);
  bool busy_while_asked = false;
  struct Watch : ScriptedInteraction {
    bool* busy = nullptr;
    bool* seen = nullptr;
    Button Ask(const std::string& t, const std::string& ti, Buttons b, Icon i) override {
      *seen = *busy;
      return ScriptedInteraction::Ask(t, ti, b, i);
    }
  } ui;
  ui.busy = &bench.busy;
  ui.seen = &busy_while_asked;
  ui.answers = {Button::Retry, Button::Cancel};
  TapeContext ctx{ui, bench.busy, bench.ctx.bindings};
  const std::string before = bench.TapeBytes();
  EXPECT_EQ(InitialiseTape(ctx, "Tape0"), 0u);
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{kWriteProtected, kWriteProtected}));
  EXPECT_EQ(ui.asks[0].buttons, Buttons::RetryCancel);
  EXPECT_TRUE(busy_while_asked);
  EXPECT_FALSE(bench.busy);
  EXPECT_EQ(bench.TapeBytes(), before);
  EXPECT_EQ(EraseTapeMedia(ctx, "Tape0"), 0u);  // cancel again: nothing erased
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
  ASSERT_EQ(bench.ui.asks.size(), 1u);  // Erase tells the user first
  EXPECT_EQ(bench.ui.asks[0].text, "The tape drive is either not present or is in use.");
  EXPECT_EQ(bench.ui.asks[0].icon, Icon::Exclamation);
  EXPECT_FALSE(bench.busy);
}

TEST(TapeCommands, SingleActionsAndErase) {
  TapeBench bench;
  bench.Load(TapeImageBuilder().Record("data").Filemark().Filemark());
  EXPECT_EQ(RewindTape(bench.ctx, "Tape0"), 0u);
  EXPECT_EQ(RetensionTape(bench.ctx, "Tape0"), 0u);
  EXPECT_EQ(LoadTape(bench.ctx, "Tape0"), 0u);
  EXPECT_EQ(UnloadTape(bench.ctx, "Tape0"), 0u);
  EXPECT_EQ(bench.TapeBytes().size(), 20u);
  EXPECT_EQ(EraseTapeMedia(bench.ctx, "Tape0"), 0u);
  EXPECT_EQ(bench.TapeBytes(), "");
  EXPECT_FALSE(bench.busy);
}

// Positions with SpaceToEndOfData and writes a marker block there.
std::vector<TapItem> AppendAfterSpacing(const TapeImageBuilder& b, ErrorCode* rc_out = nullptr) {
  TapeBench bench;
  bench.Load(b);
  {
    std::unique_ptr<CTapeDevice> tape = OpenTape(bench.ctx, "Tape0");
    EXPECT_TRUE(tape);
    ErrorCode rc = SpaceToEndOfData(*tape);
    if (rc_out) *rc_out = rc;
    EXPECT_EQ(rc, 0u);
    EXPECT_EQ(tape->WriteBlock("NEW", 3), 0u);
  }
  return ParseTapImage(bench.TapeBytes());
}

std::string Shape(const std::vector<TapItem>& items) {
  std::string s;
  for (const TapItem& i : items) s += i.filemark ? "|" : "[" + i.data + "]";
  return s;
}

TEST(SpaceToEndOfData, FreshlyInitialisedTapeIsRewound) {
  EXPECT_EQ(Shape(AppendAfterSpacing(TapeImageBuilder().Filemark().Filemark())), "[NEW]");
}

TEST(SpaceToEndOfData, BlankTapeIsRewound) {
  EXPECT_EQ(Shape(AppendAfterSpacing(TapeImageBuilder())), "[NEW]");
}

TEST(SpaceToEndOfData, FilesClosedByTwoFilemarksEndBetweenThem) {
  TapeImageBuilder b;
  b.Record("L1").Record("D1").Filemark().Record("L2").Filemark().Filemark();
  EXPECT_EQ(Shape(AppendAfterSpacing(b)), "[L1][D1]|[L2]|[NEW]");
}

TEST(SpaceToEndOfData, DataEndingInOneFilemarkIsAppendedTo) {
  TapeImageBuilder b;
  b.Record("L1").Record("D1").Filemark();
  EXPECT_EQ(Shape(AppendAfterSpacing(b)), "[L1][D1]|[NEW]");
}

TEST(SpaceToEndOfData, UnterminatedFileIsClosedBeforeAppending) {
  TapeImageBuilder b;
  b.Record("L1").Record("D1");
  EXPECT_EQ(Shape(AppendAfterSpacing(b)), "[L1][D1]|[NEW]");
}

TEST(SpaceToEndOfData, DamagedTapeIsNotWrittenTo) {
  TapeBench bench;
  bench.Load(TapeImageBuilder().Record("L1").Raw("\x10\x00\x00\x00xx"));
  std::unique_ptr<CTapeDevice> tape = OpenTape(bench.ctx, "Tape0");
  ASSERT_TRUE(tape);
  EXPECT_EQ(SpaceToEndOfData(*tape), 23u);
}

TEST(TapeDriveInformation, ImageDriveFacts) {
  TapeBench bench;
  TapeDriveInfo info = GetTapeDriveInfo(bench.ctx, "Tape0");
  EXPECT_TRUE(info.opened);
  EXPECT_EQ(info.caption, "Drive Information for Tape0");
  EXPECT_EQ(info.drive.maximum_block_size, 65536u);
  EXPECT_EQ(info.drive.minimum_block_size, 1u);
  EXPECT_FALSE(bench.busy);

  bench.ctx.bindings.device[3] = "/nonexistent/x.tap";
  TapeDriveInfo none = GetTapeDriveInfo(bench.ctx, "Tape3");
  EXPECT_FALSE(none.opened);
}

TEST(TapeDriveInformation, FeatureTable) {
  ASSERT_EQ(kTapeFeatureFieldCount, 54u);
  int never = 0;
  for (std::size_t i = 0; i < kTapeFeatureFieldCount; ++i) {
    const TapeFeatureField& f = kTapeFeatureFields[i];
    if (f.bit == 0) ++never;
    EXPECT_FALSE(TapeFeatureReported(f, 0, 0x80000000u)) << f.label;
    EXPECT_EQ(TapeFeatureReported(f, 0xFFFFFFFFu, 0xFFFFFFFFu), f.bit != 0) << f.label;
  }
  EXPECT_EQ(never, 5);
  auto find = [](int field) {
    for (std::size_t i = 0; i < kTapeFeatureFieldCount; ++i)
      if (kTapeFeatureFields[i].field == field) return &kTapeFeatureFields[i];
    return static_cast<const TapeFeatureField*>(nullptr);
  };
  EXPECT_STREQ(find(1151)->label, "Space to Absoloute Block");
  EXPECT_TRUE(TapeFeatureReported(*find(1103), 0, 0x82000000u));   // Filemarks, high word
  EXPECT_FALSE(TapeFeatureReported(*find(1103), 0x02000000u, 0));  // not in the low word
  EXPECT_TRUE(TapeFeatureReported(*find(1026), kTapeImageFeaturesLow, kTapeImageFeaturesHigh));
  EXPECT_FALSE(TapeFeatureReported(*find(1025), kTapeImageFeaturesLow, kTapeImageFeaturesHigh));
}

}  // namespace
}  // namespace kelvo::test

// QVA tape sets of several volumes: the volume prompts and their answers.
#include <gtest/gtest.h>

#include "support/qva_fixture.h"
#include "core/error_text.h"

namespace kelvo {
namespace {

using test::QvaBench;
using test::QvaFile;
using test::QvaTapeBuilder;
using test::QvaUnit;

constexpr const char* kMountVolume2 = "Mount QVA Volume 2. \nClick OK to continue, Cancel to abort.";
constexpr const char* kInsertVolume1 = "Insert QVA Volume 1. \nClick OK to continue, Cancel to abort.";

std::string Fill(std::size_t n, char c) {
  std::string s(n, c);
  for (std::size_t i = 0; i < n; i += 97) s[i] = static_cast<char>(i / 97);
  return s;
}

// One disk unit whose FNT data is cut by a volume break after `blocks`
// blocks of the whole tape.
QvaTapeBuilder TwoVolumeTape(std::size_t blocks = 8) {
  QvaUnit u;
  u.types = {{"$Y$", {}},
             {"FNT", {QvaFile{"ALPHA", Fill(6 * 512, 'a'), 512, 0},
                      QvaFile{"BETA", Fill(9 * 512, 'b'), 512, 0}}}};
  QvaTapeBuilder tape(1024);
  tape.BreakVolumeAfter(blocks).Start().Unit(u);
  return tape;
}

TEST(QvaVolumes, SecondVolumeIsAskedForAtTheEndOfTheFirst) {
  QvaTapeBuilder tape = TwoVolumeTape(7);  // inside ALPHA's data
  ASSERT_EQ(tape.VolumeCount(), 2u);
  QvaBench b;
  b.ui.answers = {Button::Ok};
  b.Load(tape);
  ASSERT_EQ(b.Restore(), ERR_OK);
  ASSERT_EQ(b.ui.asks.size(), 1u);
  EXPECT_EQ(b.ui.asks[0].text, kMountVolume2);
  EXPECT_EQ(b.ui.asks[0].title, "");
  EXPECT_EQ(b.ui.asks[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(b.ui.asks[0].icon, Icon::Exclamation);
  EXPECT_EQ(b.Read("ALPHA.FNT"), Fill(6 * 512, 'a'));
  EXPECT_EQ(b.Read("BETA.FNT"), Fill(9 * 512, 'b'));
  EXPECT_TRUE(b.progress.Saw("End of volume 1. Rewinding tape."));
}

TEST(QvaVolumes, VolumeBreakInsideADirectoryChain) {
  QvaUnit u;
  QvaFile f{"GAMMA", Fill(2 * 512, 'g'), 512, 0};
  u.types = {{"$Y$", {}}, {"IMG", {f}, 3, 1}};  // three directory blocks of one sector
  QvaTapeBuilder tape;
  tape.BreakVolumeAfter(5).Start().Unit(u);  // after the second directory block
  QvaBench b;
  b.ui.answers = {Button::Ok};
  b.Load(tape);
  ASSERT_EQ(b.Restore(), ERR_OK);
  EXPECT_EQ(b.Read("GAMMA.IMG"), f.data);
  ASSERT_EQ(b.ui.asks.size(), 1u);
  // After the mount the status tells again what is being done.
  const auto& s = b.progress.statuses;
  auto it = std::find(s.begin(), s.end(), "End of volume 1. Rewinding tape.");
  ASSERT_NE(it, s.end());
  EXPECT_EQ(*(it + 1), "Retrieving file names.");
}

TEST(QvaVolumes, WrongTapeIsAskedForAgain) {
  QvaTapeBuilder tape = TwoVolumeTape();
  QvaBench b;
  const std::vector<std::string> paths = tape.WriteVolumes(b.dir.path());
  // Two wrong tapes: volume 1 again (a large first block) and a third volume.
  test::TapeImageBuilder third;
  third.Record(QvaTapeBuilder::ControlRecord(3, 0));
  third.WriteTo(b.dir / "third.tap");
  b.ctx.bindings.device[0] =
      test::JoinVolumes({paths[0], paths[0], (b.dir / "third.tap").string(), paths[1]});
  b.ui.answers = {Button::Ok, Button::Ok, Button::Ok};
  ASSERT_EQ(b.Restore(), ERR_OK);
  EXPECT_EQ(b.ui.Texts(), (std::vector<std::string>{kMountVolume2, kMountVolume2, kMountVolume2}));
  EXPECT_EQ(b.Read("BETA.FNT"), Fill(9 * 512, 'b'));
}

TEST(QvaVolumes, CancelAtTheVolumePromptEndsTheRestore) {
  QvaBench b;
  b.ui.answers = {Button::Cancel};
  b.Load(TwoVolumeTape());
  const ErrorCode rc = b.Restore();
  EXPECT_EQ(rc, ERR_TAPE_RESTORE_CANCELLED);
  EXPECT_EQ(GetErrorText(rc), "Tape restore cancelled at user's request.");
  ASSERT_EQ(b.ui.Texts().size(), 2u);
  EXPECT_EQ(b.ui.Texts()[0], kMountVolume2);
  EXPECT_EQ(b.progress.Status(), " Restore aborted.");
  // ALPHA was complete before the break; what was read of BETA is kept.
  EXPECT_EQ(b.Listing(), (std::vector<std::string>{"ALPHA.FNT", "BETA.FNT.partial"}));
  EXPECT_FALSE(b.busy);
}

// The end of the last volume cuts BETA: the bytes read are kept, and the
// restore ends as cancelled (a failure).
TEST(QvaVolumes, SetUsedUpCountsAsCancelAndKeepsTheCutFile) {
  QvaTapeBuilder tape = TwoVolumeTape(9);
  QvaBench b;
  b.ui.default_answer = Button::Ok;
  b.Load(tape, {1});
  EXPECT_EQ(b.Restore(), ERR_TAPE_RESTORE_CANCELLED);
  ASSERT_EQ(b.report.outcome.partial.size(), 1u);
  const PartialFile& beta = b.report.outcome.partial[0];
  EXPECT_EQ(beta.name, "BETA.FNT");
  EXPECT_EQ(beta.bytes_promised, 9u * 512);
  EXPECT_GT(beta.bytes_read, 0u);
  EXPECT_LT(beta.bytes_read, 9u * 512);
  EXPECT_EQ(b.Read("BETA.FNT.partial"), Fill(9 * 512, 'b').substr(0, beta.bytes_read));
  EXPECT_EQ(b.Read("ALPHA.FNT"), Fill(6 * 512, 'a'));
  EXPECT_EQ(b.ui.Texts(), std::vector<std::string>{
                              "BETA.FNT: the tape holds " + std::to_string(beta.bytes_read) +
                              " of the 4608 bytes promised; what was read is kept as BETA.FNT.partial"});
}

TEST(QvaVolumes, SecondVolumeInsertedFirst) {
  QvaTapeBuilder tape = TwoVolumeTape();
  QvaBench b;
  b.ui.answers = {Button::Ok, Button::Ok};
  b.Load(tape, {2, 1, 2});
  ASSERT_EQ(b.Restore(), ERR_OK);
  ASSERT_EQ(b.ui.asks.size(), 2u);
  EXPECT_EQ(b.ui.asks[0].text, kInsertVolume1);
  EXPECT_EQ(b.ui.asks[0].title, "Error");
  EXPECT_EQ(b.ui.asks[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(b.ui.asks[1].text, kMountVolume2);
  EXPECT_EQ(b.Read("ALPHA.FNT"), Fill(6 * 512, 'a'));
  EXPECT_EQ(b.Read("BETA.FNT"), Fill(9 * 512, 'b'));

  QvaBench c;
  c.ui.answers = {Button::Cancel};
  c.Load(tape, {2, 1});
  EXPECT_EQ(c.Restore(), ERR_TAPE_RESTORE_CANCELLED);
  EXPECT_EQ(c.ui.Texts(), std::vector<std::string>{kInsertVolume1});
  EXPECT_TRUE(c.Listing().empty());
}

TEST(QvaVolumes, ThreeVolumes) {
  QvaUnit u;
  u.types = {{"$Y$", {}}, {"IMG", {QvaFile{"LONG", Fill(40 * 512, 'l'), 512, 0}}}};
  QvaTapeBuilder tape(512);
  tape.BreakVolumeAfter(15).Start();
  tape.Unit(u);
  ASSERT_EQ(tape.VolumeCount(), 2u);
  tape.EndVolume().Unit(u);  // a second unit alone on a third volume
  QvaBench b;
  b.ui.default_answer = Button::Ok;
  b.Load(tape);
  ASSERT_EQ(b.Restore("LONG.IMG"), ERR_OK);
  EXPECT_EQ(b.Read("LONG.IMG"), Fill(40 * 512, 'l'));
  EXPECT_EQ(b.ui.asks.size(), 1u);  // it ended at the first match

  QvaBench all;
  all.ui.default_answer = Button::Ok;
  all.options.type_dirs = true;
  all.Load(tape);
  ASSERT_EQ(all.Restore(), ERR_OK);
  EXPECT_EQ(all.ui.Texts(),
            (std::vector<std::string>{kMountVolume2,
                                      "Mount QVA Volume 3. \nClick OK to continue, Cancel to abort."}));
}

}  // namespace
}  // namespace kelvo

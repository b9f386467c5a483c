// QVA tape sets of several volumes: the volume prompts and their answers.
#include <gtest/gtest.h>

#include <map>

#include "support/qva_fixture.h"
#include "support/watchdog.h"
#include "support/words.h"
#include "tape/qva_format.h"

namespace kelvo {
namespace {

using test::QvaBench;
using test::QvaBinaryFile;
using test::SeededBytes;
using test::QvaFile;
using test::QvaTapeBuilder;
using test::QvaUnit;

constexpr const char* kMountVolume2 = "Mount QVA Volume 2. \nClick OK to continue, Cancel to abort.";
constexpr const char* kInsertVolume1 = "Insert QVA Volume 1. \nClick OK to continue, Cancel to abort.";

// One disk unit whose FNT data is cut by a volume break after `blocks`
// blocks of the whole tape.
QvaTapeBuilder TwoVolumeTape(std::size_t blocks = 8) {
  const QvaUnit u{.types = {{"$Y$", {}},
                            {"FNT", {QvaBinaryFile("ALPHA", 6, 'a'),
                                     QvaBinaryFile("BETA", 9, 'b')}}}};
  return QvaTapeBuilder(1024).BreakVolumeAfter(blocks).Start().Unit(u);
}

TEST(QvaVolumes, VolumeBreakInsideADirectoryChain) {
  const QvaFile f = QvaBinaryFile("GAMMA", 2, 'g');
  const QvaUnit u{.types = {{"$Y$", {}}, {"IMG", {f}, 3, 1}}};  // three directory blocks of one sector
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

// The volumes as they are put in (1 and 2, a third volume 3, in that
// order), the prompts they draw, the restore's result and the files kept.
// Cancelled at the prompt for volume 2, ALPHA, complete before the break,
// stays and BETA, begun after it, is kept as read (nothing).
TEST(QvaVolumes, EachVolumeIsAskedForUntilTheRightOneIsIn) {
  const std::string m2 = kMountVolume2;
  const std::vector<std::string> both = {"ALPHA.FNT", "BETA.FNT"};
  const struct {
    std::size_t blocks;
    std::vector<int> order;
    std::deque<Button> answers;
    std::vector<std::string> prompts;
    ErrorCode result;
    std::vector<std::string> listing;
  } cases[] = {
      {7, {1, 2}, {Button::Ok}, {m2}, ERR_OK, both},  // the break inside ALPHA's data
      {8, {1, 1, 3, 2}, {Button::Ok, Button::Ok, Button::Ok}, {m2, m2, m2}, ERR_OK, both},
      {8, {2, 1, 2}, {Button::Ok, Button::Ok}, {kInsertVolume1, m2}, ERR_OK, both},
      {8, {2, 1}, {Button::Cancel}, {kInsertVolume1}, ERR_TAPE_RESTORE_CANCELLED, {}},
      {8, {1, 2}, {Button::Cancel},
       {m2, "BETA.FNT: the tape holds 0 of the 4608 bytes promised; what was read is kept as BETA.FNT.partial"},
       ERR_TAPE_RESTORE_CANCELLED, {"ALPHA.FNT", "BETA.FNT.partial"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.order));
    QvaBench b;
    std::vector<std::string> paths = TwoVolumeTape(c.blocks).WriteVolumes(b.dir.path());
    test::TapeImageBuilder().Record(QvaTapeBuilder::ControlRecord(3, 0)).WriteTo(b.dir / "third.tap");
    paths.push_back((b.dir / "third.tap").string());
    std::vector<std::string> set;
    for (int v : c.order) set.push_back(paths[static_cast<std::size_t>(v - 1)]);
    b.ctx.bindings.device[0] = test::JoinVolumes(set);
    b.ui.answers = c.answers;
    ASSERT_EQ(b.Restore(), c.result);
    EXPECT_EQ(b.ui.Texts(), c.prompts);
    EXPECT_EQ(b.Listing(), c.listing);
    EXPECT_FALSE(b.busy);
    for (const std::string& name : c.listing) {
      const std::string whole = name[0] == 'A' ? SeededBytes(6 * 512, 'a') : SeededBytes(9 * 512, 'b');
      EXPECT_EQ(b.Read(name), name.ends_with(".partial") ? "" : whole) << name;
    }
  }
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
  EXPECT_EQ(b.Read("BETA.FNT.partial"), SeededBytes(9 * 512, 'b').substr(0, beta.bytes_read));
  EXPECT_EQ(b.Read("ALPHA.FNT"), SeededBytes(6 * 512, 'a'));
  EXPECT_EQ(b.ui.Texts(), std::vector<std::string>{
                              "BETA.FNT: the tape holds " + std::to_string(beta.bytes_read) +
                              " of the 4608 bytes promised; what was read is kept as BETA.FNT.partial"});
}

TEST(QvaVolumes, ThreeVolumes) {
  const QvaUnit u{.types = {{"$Y$", {}}, {"IMG", {QvaBinaryFile("LONG", 40, 'l')}}}};
  QvaTapeBuilder tape = QvaTapeBuilder(512).BreakVolumeAfter(15).Start();
  tape.Unit(u);
  ASSERT_EQ(tape.VolumeCount(), 2u);
  // A second unit alone on a third volume.
  tape.EndVolume().Unit({.types = {{"$Y$", {}}, {"IMG", {QvaBinaryFile("OTHER", 1, 'o')}}}});
  QvaBench b;
  b.ui.default_answer = Button::Ok;
  b.Load(tape);
  ASSERT_EQ(b.Restore(), ERR_OK);
  EXPECT_EQ(b.Listing(), (std::vector<std::string>{"LONG.IMG", "OTHER.IMG"}));
  EXPECT_EQ(b.Read("LONG.IMG"), SeededBytes(40 * 512, 'l'));
  EXPECT_EQ(b.ui.Texts(),
            (std::vector<std::string>{kMountVolume2,
                                      "Mount QVA Volume 3. \nClick OK to continue, Cancel to abort."}));
}

// A volume break inside ALPHA's data, then the second volume cut short or
// its first data record damaged: the restore ends, every file it kept whole
// is exact, and what it kept of a cut file is the start of that file.
TEST(QvaVolumes, DamageOrCutAfterAVolumeBreakKeepsOnlyExactData) {
  const test::Watchdog watchdog("restoring damaged two-volume sets", 90);
  const QvaTapeBuilder tape = TwoVolumeTape(7);
  const std::map<std::string, std::string> original = {{"ALPHA.FNT", SeededBytes(6 * 512, 'a')},
                                                       {"BETA.FNT", SeededBytes(9 * 512, 'b')}};
  const std::string second = tape.VolumeBytes(1);
  // The record after the continuation record, marked bad in both length words.
  std::string damaged = second;
  const std::size_t at = 8 + kQvaControlRecordSize;
  const std::uint32_t word = test::Le32At(damaged, at);
  test::PutLe32(damaged, at, word | 0x80000000u);
  test::PutLe32(damaged, at + 4 + (word + (word & 1)), word | 0x80000000u);
  std::vector<std::string> variants = {damaged};
  for (std::size_t cut = 8 + kQvaControlRecordSize; cut < second.size(); cut += 301)
    variants.push_back(second.substr(0, cut));
  for (std::size_t v = 0; v < variants.size(); ++v) {
    SCOPED_TRACE(v == 0 ? std::string("damaged record") : "cut at " + std::to_string(variants[v].size()));
    QvaBench b;
    b.ui.default_answer = Button::Ok;
    b.Load(tape);
    test::WriteFileBytes(b.dir / "vol2.tap", variants[v]);
    b.Restore();
    EXPECT_FALSE(b.busy);
    bool alpha_partial = false;
    for (const std::string& name : b.Listing()) {
      const std::string data = b.Read(name);
      const std::size_t dot = name.find(".partial");
      const std::string whole = original.at(name.substr(0, dot));
      if (dot == std::string::npos) {
        EXPECT_EQ(data, whole) << name;
      } else {
        EXPECT_TRUE(data.size() < whole.size() && whole.compare(0, data.size(), data) == 0) << name;
        alpha_partial |= name == "ALPHA.FNT.partial" && !data.empty();
      }
    }
    EXPECT_TRUE(alpha_partial || v != 0);
  }
}

}  // namespace
}  // namespace kelvo

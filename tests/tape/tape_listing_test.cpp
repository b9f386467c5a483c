#include <gtest/gtest.h>

#include <string>

#include "support/tape_fixture.h"
#include "tape/tape_listing.h"

namespace kelvo::test {
namespace {

class ListSink : public CTapeListSink {
 public:
  std::vector<std::string> texts;
  bool abort = false;
  int abort_after_texts = -1;  // presses Esc once this many texts were shown
  void SetStatusText(const std::string& t) override {
    texts.push_back(t);
    if (abort_after_texts >= 0 && static_cast<int>(texts.size()) >= abort_after_texts) abort = true;
  }
  bool AbortRequested() const override { return abort; }
  void ClearAbortRequest() override { abort = false; }
};

std::string Label(const std::string& name, const std::string& type, std::uint32_t blocks) {
  return MakeLabel({.name = name, .type = type, .blocks = blocks});
}

class TapeListingTest : public ::testing::Test {
 protected:
  TapeBench bench;
  TapeListView view;
  ListSink sink;
  ErrorCode List() { return ListTapeFiles(bench.ctx, "Tape0", true, view, sink); }
};

// A QVA save tape has no labels: the listing says what it is instead of
// showing an empty labelled tape.
TEST_F(TapeListingTest, QvaSaveTapeIsNamedAsSuch) {
  bench.Load(TapeImageBuilder().Record(std::string("\x77\x00\x08\x02", 4) + std::string(508, '\0')).Filemark());
  EXPECT_EQ(List(), 0u);
  EXPECT_TRUE(view.entries.empty());
  EXPECT_TRUE(ShowTapeList(view, "Tape0", "*.*").qva_tape);
  ListTapeFiles(bench.ctx, "Tape0", false, view, sink);
  EXPECT_FALSE(ShowTapeList(view, "Tape0", "*.*").qva_tape);
}

TEST_F(TapeListingTest, InvalidNamesAreLeftOutAndNumbersStayContiguous) {
  TapeImageBuilder b;
  b.LabelledFile(Label("ONE", "CMD", 1), std::string(512, '1'));
  b.LabelledFile(Label("BAD", "QQQ", 1), std::string(512, 'q'));
  b.LabelledFile(Label("DIR", "$Y$", 1), std::string(512, 'x'));
  b.LabelledFile(Label("TWO", "IMG", 20), std::string(10240, '2'));
  b.LabelledFile(Label("CON", "FNT", 2), std::string(1024, '3'));
  b.LabelledFile(Label("ENDFIL", "END", 0), "");
  b.LabelledFile(Label("LATE", "IMG", 1), "late");
  bench.Load(b.Filemark());
  EXPECT_EQ(List(), 0u);
  ASSERT_EQ(view.entries.size(), 3u);
  EXPECT_EQ(view.entries[1].name, "TWO.IMG");
  EXPECT_EQ(view.entries[1].sequence, 1);
  EXPECT_EQ(view.entries[2].sequence, 2);
  EXPECT_FALSE(IsTapeEntrySelectable(view.entries[2]));  // a reserved device name
  EXPECT_TRUE(IsTapeEntrySelectable(view.entries[0]));
  EXPECT_EQ(ShowTapeList(view, "Tape0", "*.*").total_bytes, 512u + 10240u + 1024u);
  EXPECT_EQ(ShowTapeList(view, "Tape0", "img").total_bytes, 10240u);
  view.sort_column = 1;
  EXPECT_EQ(ShowTapeList(view, "Tape0", "*.*").rows[2]->name, "TWO.IMG");  // by size
}

TEST_F(TapeListingTest, EscAbortEmptiesTheList) {
  TapeImageBuilder b;
  for (int i = 0; i < 5; ++i) b.LabelledFile(Label("F" + std::to_string(i), "IMG", 1), "x");
  bench.Load(b.Filemark());
  sink.abort_after_texts = 2;  // Esc as soon as reading starts
  EXPECT_EQ(List(), 5009u);
  EXPECT_TRUE(view.entries.empty());
  EXPECT_EQ(bench.ui.Texts(), std::vector<std::string>{"Tape list aborted."});
}

TEST_F(TapeListingTest, DamagedTapeKeepsWhatWasRead) {
  TapeImageBuilder good;
  good.LabelledFile(Label("ONE", "IMG", 1), "1");
  TapeImageBuilder b;
  b.Raw(good.Bytes()).Raw(std::string("\x80\x00\x00\x00partial", 11));
  bench.Load(b);
  EXPECT_EQ(List(), 23u);
  ASSERT_EQ(view.entries.size(), 1u);
  EXPECT_EQ(bench.ui.asks.size(), 1u);
  EXPECT_FALSE(bench.busy);
}

TEST_F(TapeListingTest, FreshTapeClearingAndOpenFailure) {
  bench.Load(TapeImageBuilder().Filemark().Filemark());
  view.entries.push_back({});
  EXPECT_EQ(List(), 0u);
  EXPECT_TRUE(view.entries.empty());
  EXPECT_EQ(ShowTapeList(view, "Tape0", "*.*").count_text, "0 File(s)");
  EXPECT_FALSE(bench.busy);
  view.entries.push_back({});
  EXPECT_EQ(ListTapeFiles(bench.ctx, "Tape0", false, view, sink), 0u);
  EXPECT_TRUE(view.entries.empty());
  bench.ctx.bindings.device[0] = (bench.dir / "gone.tap").string();
  EXPECT_EQ(List(), 5008u);
}

}  // namespace
}  // namespace kelvo::test

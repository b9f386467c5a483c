// The dispatch table: which pairs of places copy, which do nothing and which
// say they are not implemented; and floppy to floppy copies.
#include <gtest/gtest.h>

#include "support/floppy_media.h"
#include "support/transfer_fixture.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;
using K = PlaceKind;

// What each pair of places does: copy (tested in this folder's other
// tests), nothing at all, or say it is not implemented.
TEST(TransferDispatch, EveryPairOfPlaces) {
  enum Outcome { Copies, Nothing, NotImplemented };
  const K kinds[] = {K::PcFolder, K::Floppy, K::Tape, K::DiskImage};
  const auto place = [](int kind, const fs::path& folder) {
    return std::vector<std::string>{folder.string(), "A:", "Tape0", "image.kdi"}[static_cast<std::size_t>(kind)];
  };
  const Outcome table[4][4] = {
      // to:  PcFolder  Floppy          Tape            DiskImage
      {Nothing, Copies, Copies, Copies},                         // from PcFolder
      {Copies, Copies, NotImplemented, NotImplemented},          // from Floppy
      {Copies, NotImplemented, NotImplemented, NotImplemented},  // from Tape
      {Copies, NotImplemented, Nothing, NotImplemented},         // from DiskImage
  };
  for (int f = 0; f < 4; ++f) {
    for (int t = 0; t < 4; ++t) {
      if (table[f][t] == Copies) continue;
      SCOPED_TRACE(std::to_string(f) + " to " + std::to_string(t));
      TransferBench bench;
      bench.InsertEmptyDisk('A');
      const std::vector<std::uint8_t> before = ReadBytes(bench.Medium('A'));
      const fs::path from = bench.Folder("from");
      const fs::path to = bench.Folder("to");
      WriteFileBytes(from / "A.FNT", "a");
      bench.state.Bindings.tape[0] = (bench.dir / "t.tap").string();
      TransferReport report;
      EXPECT_EQ(bench.Copy(place(f, from), kinds[f], place(t, to), kinds[t], {"A.FNT"}, &report),
                ERR_OK);
      if (table[f][t] == NotImplemented) {
        ASSERT_EQ(bench.ui.asks.size(), 1u);
        EXPECT_EQ(bench.ui.asks[0].text, "Function Not Yet Implemented");
        EXPECT_EQ(bench.ui.asks[0].icon, Icon::Information);
        EXPECT_EQ(bench.ui.beeps, std::vector<BeepKind>{BeepKind::Information});
      } else {
        EXPECT_TRUE(bench.ui.asks.empty());
        EXPECT_TRUE(bench.ui.beeps.empty());
      }
      EXPECT_EQ(bench.progress.shown, 0);
      EXPECT_EQ(report.copied, 0);
      EXPECT_EQ(ReadBytes(bench.Medium('A')), before);
      EXPECT_TRUE(fs::is_empty(to));
      EXPECT_FALSE(fs::exists(bench.dir / "t.tap"));
    }
  }
  TransferBench bench;  // kinds outside the table
  bench.state.TransferSelection = {"A.FNT"};
  EXPECT_EQ(TransferFiles("x", 4, "A:", 1, bench.services), ERR_OK);
  EXPECT_EQ(TransferFiles("A:", 1, "x", -1, bench.services), ERR_OK);
  EXPECT_TRUE(bench.ui.asks.empty());
  EXPECT_EQ(bench.ui.pumps, 0);
}

// Two disks, each with files stored from a PC folder.
class FloppyToFloppy : public ::testing::Test {
 protected:
  void SetUp() override {
    bench.InsertEmptyDisk('A', "SOURCE");
    bench.InsertEmptyDisk('B', "TARGET");
    pc = bench.Folder("pc");
  }
  void PutOn(const std::string& drive, const std::string& name, const std::string& text) {
    WriteFileBytes(pc / name, text);
    ASSERT_EQ(bench.Copy(pc.string(), K::PcFolder, drive, K::Floppy, {name}), ERR_OK);
  }
  FileLocator Find(char letter, const std::string& name) { return bench.Find(letter, name); }
  std::vector<std::uint8_t> Blocks(char letter, const FileLocator& file) {
    const std::vector<std::uint8_t> medium = ReadBytes(bench.Medium(letter));
    const auto at = medium.begin() + std::ptrdiff_t{file.start_lbn} * 512;
    return {at, at + std::ptrdiff_t{file.blocks} * 512};
  }

  TransferBench bench;
  fs::path pc;
};

TEST_F(FloppyToFloppy, CopiesTheEntryUnchangedExceptItsStartBlock) {
  PutOn("B:", "FIRST.FNT", SeededBytes(2000, 1));  // so the copy starts elsewhere
  PutOn("A:", "REPORT.JSL", "SOME TEXT\r\nMORE\r\n");
  // Give the source entry words the store leaves zero, to see them travel.
  FileLocator source = Find('A', "REPORT.JSL");
  bench.EditEntry('A', source, [](FileEntry& entry) {
    entry.w2 = 0x1234;
    entry.w4 = 0x5678;
    entry.w6 = 0x9ABC;
    entry.w9 = 0xDEF0;
  });
  source = Find('A', "REPORT.JSL");
  RecordingWindow window;
  bench.services.views.destination = &window;

  TransferReport report;
  ASSERT_EQ(bench.Copy("A:", K::Floppy, "B:", K::Floppy, {"REPORT.JSL"}, &report), ERR_OK);
  EXPECT_EQ(report.copied, 1);
  EXPECT_TRUE(bench.ui.asks.empty());
  const FileLocator copy = Find('B', "REPORT.JSL");
  ASSERT_EQ(copy.name, "REPORT.JSL");
  EXPECT_NE(copy.start_lbn, source.start_lbn);
  FileEntry expected = source.entry;
  expected.start_lbn = copy.start_lbn;
  EXPECT_EQ(copy.entry, expected);
  EXPECT_EQ(Blocks('B', copy), Blocks('A', source));
  ASSERT_EQ(window.entries.size(), 1u);
  EXPECT_EQ(window.entries[0], expected);
  EXPECT_EQ(bench.progress.copying.back(), "A: REPORT.JSL");
}

// Failures end with their code and show nothing; a disk onto itself is
// left alone.
TEST_F(FloppyToFloppy, FailuresEndWithTheirCodeUnshown) {
  PutOn("A:", "A.FNT", "a");
  PutOn("A:", "C.FNT", "c");
  const std::vector<std::uint8_t> before = ReadBytes(bench.Medium('A'));
  EXPECT_EQ(bench.Copy("A:", K::Floppy, "a:\\", K::Floppy, {"A.FNT"}), ERR_OK);
  EXPECT_EQ(ReadBytes(bench.Medium('A')), before);

  TransferReport report;
  EXPECT_EQ(bench.Copy("A:", K::Floppy, "B:", K::Floppy, {"A.FNT", "B.FNT", "C.FNT"}, &report),
            ERR_FILE_NOT_FOUND);
  EXPECT_EQ(report.copied, 1);
  EXPECT_EQ(Find('B', "C.FNT").name, "");

  fs::remove(bench.Medium('B'));  // an unformatted disk
  bench.InsertNoDisk('B');
  const int windows_before = bench.progress.shown;
  EXPECT_NE(bench.Copy("A:", K::Floppy, "B:", K::Floppy, {"A.FNT"}), ERR_OK);
  EXPECT_EQ(bench.progress.shown, windows_before);
  EXPECT_TRUE(bench.ui.asks.empty());
}

}  // namespace
}  // namespace kelvo::test

// PC folder to floppy, floppy to PC folder and deleting from a floppy, on
// emulated drives.
#include <gtest/gtest.h>

#include "filetypes/stored_content.h"
#include "support/transfer_fixture.h"
#include "core/error_text.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;
using K = PlaceKind;

class FloppyTransfer : public ::testing::Test {
 protected:
  void SetUp() override {
    bench.InsertEmptyDisk('A');
    pc = bench.Folder("pc");
    out = bench.Folder("out");
  }
  void Write(const std::string& name, const std::string& text) { WriteFileBytes(pc / name, text); }
  ErrorCode Put(std::vector<std::string> names, TransferReport* report = nullptr) {
    return bench.Copy(pc.string(), K::PcFolder, "A:", K::Floppy, std::move(names), report);
  }
  ErrorCode Get(std::vector<std::string> names, TransferReport* report = nullptr) {
    return bench.Copy("A:", K::Floppy, out.string(), K::PcFolder, std::move(names), report);
  }
  // Which of A.FNT, B.FNT and C.FNT are on the disk in A:.
  std::vector<std::string> OnDisk() {
    std::vector<std::string> found;
    for (const char* name : {"A.FNT", "B.FNT", "C.FNT"})
      if (!bench.Find('A', name).name.empty()) found.push_back(name);
    return found;
  }

  TransferBench bench;
  fs::path pc;
  fs::path out;
};

// Binary files come back as whole blocks; text comes back as 80-column
// records (a line of 80 as it stands, a longer one continued), and those
// records stored again come back byte for byte.
TEST_F(FloppyTransfer, FilesComeBackAsTheConversionRulesSay) {
  const std::string font = SeededBytes(1000, 3);
  std::string source, exported;
  for (std::size_t length : {0, 5, 74, 80, 75, 100, 3, 200, 1}) {
    const std::string line(length, static_cast<char>('A' + length % 26));
    source += line + "\r\n";
    for (std::size_t at = 0; at < std::max<std::size_t>(length, 1) && length != 80; at += 74)
      exported += (line.substr(at, 74) + std::string(74, ' ')).substr(0, 74) + "000000\r\n";
    if (length == 80) exported += line + "\r\n";
  }
  Write("REPORT.FNT", font);
  Write("JOB.JSL", source);
  TransferReport report;
  ASSERT_EQ(Put({"REPORT.FNT", "JOB.JSL"}, &report), ERR_OK);
  EXPECT_EQ(report.copied, 2);
  // A PC file named in other letter case is replaced under its name.
  WriteFileBytes(out / "REPORT.FNT", "OLD COPY");
  WriteFileBytes(out / "report.fnt.bak", "kept");
  ASSERT_EQ(Get({"REPORT.FNT", "JOB.JSL"}, &report), ERR_OK);
  EXPECT_EQ(report.copied, 2);
  EXPECT_EQ(FolderNames(out), (std::vector<std::string>{"Job.jsl", "REPORT.FNT", "report.fnt.bak"}));
  EXPECT_EQ(ReadFileText(out / "REPORT.FNT"), font + std::string(24, '\0'));
  EXPECT_EQ(ReadFileText(out / "Job.jsl"), exported);
  Write("JOB.JSL", exported);
  ASSERT_EQ(Put({"JOB.JSL"}), ERR_OK);
  ASSERT_EQ(Get({"JOB.JSL"}), ERR_OK);
  EXPECT_EQ(ReadFileText(out / "Job.jsl"), exported);
  EXPECT_TRUE(bench.ui.asks.empty());
}

TEST_F(FloppyTransfer, ProgressWindowFlagAndTexts) {
  Write("A.FNT", "x");
  Write("B.FNT", "y");
  ASSERT_EQ(Put({"A.FNT", "B.FNT"}), ERR_OK);
  const RecordingCopyWindow& window = bench.progress;
  EXPECT_EQ(window.shown, 1);
  EXPECT_EQ(window.closed, 1);
  EXPECT_EQ(window.copying, (std::vector<std::string>{pc.string() + "/A.FNT", pc.string() + "/B.FNT"}));
  EXPECT_EQ(window.busy_while_copying, (std::vector<bool>{true, true}));
  ASSERT_EQ(Get({"A.FNT"}), ERR_OK);
  EXPECT_EQ(window.to, (std::vector<std::string>{"A:", out.string() + "/"}));
  EXPECT_FALSE(bench.state.CopyInProgress);
  EXPECT_GE(bench.ui.pumps, 2);  // once before dispatching, once per file
}

// A file stored again under its stored (shortened) name replaces the old
// copy (in its freed blocks: the fit test below), and the open window drops
// and adds its entry.
TEST_F(FloppyTransfer, ReplacingAFileKeepsTheOpenWindowInStep) {
  std::string lines;
  for (int i = 0; i < 20; ++i) lines += "LINE\r\n";  // four blocks of records
  Write("LONGNAME.JSL", lines);
  ASSERT_EQ(Put({"LONGNAME.JSL"}), ERR_OK);
  RecordingWindow window;
  window.names = {"LONGNA.JSL", "OTHER.FNT"};
  bench.services.views.destination = &window;

  Write("LONGNAME.JSL", "NEW TEXT\r\nAND MORE\r\n");
  ASSERT_EQ(Put({"LONGNAME.JSL"}), ERR_OK);
  EXPECT_EQ(window.log, (std::vector<std::string>{"drop LONGNA.JSL", "add LONGNA.JSL"}));
  EXPECT_EQ(window.names, (std::vector<std::string>{"OTHER.FNT", "LONGNA.JSL"}));
  ASSERT_EQ(window.entries.size(), 1u);
  EXPECT_EQ(window.entries[0].first_free_byte, 160);  // the new file's two records
}

TEST_F(FloppyTransfer, AReplacementThatDoesNotFitKeepsTheOldCopy) {
  // A 720 KB disk (1324 data blocks) with 29 blocks free beside a 60 KB
  // A.FNT: a 100 KB one does not fit even in the old one's place.
  const std::string old_font = SeededBytes(60 * 1024, 4);
  Write("FILL.FNT", SeededBytes((1324 - 120 - 29) * 512, 5));
  Write("A.FNT", old_font);
  ASSERT_EQ(Put({"FILL.FNT", "A.FNT"}), ERR_OK);
  RecordingWindow window;
  window.names = {"A.FNT"};
  bench.services.views.destination = &window;
  Write("A.FNT", SeededBytes(100 * 1024, 6));
  EXPECT_EQ(Put({"A.FNT"}), ERR_HANDLE_DISK_FULL);
  EXPECT_TRUE(bench.ui.asks.empty());
  EXPECT_EQ(window.names, std::vector<std::string>{"A.FNT"});
  ASSERT_EQ(Get({"A.FNT"}), ERR_OK);
  EXPECT_EQ(ReadFileText(out / "A.fnt"), old_font);

  // 148 blocks fit in the old copy's 120 and the 29 free: it is replaced.
  const std::string fits = SeededBytes(74 * 1024, 7);
  Write("A.FNT", fits);
  ASSERT_EQ(Put({"A.FNT"}), ERR_OK);
  ASSERT_EQ(Get({"A.FNT"}), ERR_OK);
  EXPECT_EQ(ReadFileText(out / "A.fnt"), fits);
}

TEST_F(FloppyTransfer, AnOldCopyTooLargeForItsOwnSpaceEndsWith39) {
  // A damaged entry claiming more blocks than the disk has fails the
  // replacement test; nothing is deleted.
  Write("A.FNT", "x");
  ASSERT_EQ(Put({"A.FNT"}), ERR_OK);
  bench.EditEntry('A', bench.Find('A', "A.FNT"), [](FileEntry& e) { e.blocks = 2000; });
  EXPECT_EQ(Put({"A.FNT"}), ERR_HANDLE_DISK_FULL);
  EXPECT_TRUE(bench.ui.asks.empty());
  EXPECT_EQ(bench.Find('A', "A.FNT").name, "A.FNT");
}

// A write-protected disk: Cancel ends the copy with nothing more shown;
// Retry after lifting the protection stores the file.
TEST_F(FloppyTransfer, WriteProtectedDiskCancelOrRetry) {
  Write("A.FNT", "x");
  Write("B.FNT", "y");
  bench.drives.at('A')->SetWriteProtected(true);
  TransferReport report;
  EXPECT_EQ(Put({"A.FNT", "B.FNT"}, &report), ERR_OK);
  ASSERT_EQ(bench.ui.Texts(), std::vector<std::string>{GetErrorText(ERR_WRITE_PROTECT)});
  EXPECT_TRUE(report.shown);
  EXPECT_EQ(bench.progress.copying.size(), 1u);
  EXPECT_FALSE(bench.state.CopyInProgress);

  bench.ui.answers = {Button::Retry};
  bench.ui.on_ask = [this](const std::string&) { bench.drives.at('A')->SetWriteProtected(false); };
  report = {};
  EXPECT_EQ(Put({"A.FNT"}, &report), ERR_OK);
  EXPECT_EQ(bench.ui.asks.size(), 2u);
  EXPECT_FALSE(report.shown);
  EXPECT_EQ(report.copied, 1);
  EXPECT_EQ(bench.Find('A', "A.FNT").name, "A.FNT");
}

// A name missing from the floppy is shown and ends the copy after the files
// before it; a PC folder that cannot be written ends it with its code; an
// unreadable source disk is shown with Retry.
TEST_F(FloppyTransfer, SourceAndDestinationFailures) {
  Write("A.FNT", "a");
  Write("C.FNT", "c");
  ASSERT_EQ(Put({"A.FNT", "C.FNT"}), ERR_OK);
  TransferReport report;
  EXPECT_EQ(Get({"A.FNT", "B.FNT", "C.FNT"}, &report), ERR_OK);
  EXPECT_EQ(FolderNames(out), std::vector<std::string>{"A.fnt"});
  EXPECT_EQ(bench.ui.Texts(), std::vector<std::string>{"The system cannot find the specified file."});
  EXPECT_EQ(report.copied, 1);
  EXPECT_TRUE(report.shown);
  EXPECT_EQ(bench.Copy("A:", K::Floppy, (out / "missing/deeper").string(), K::PcFolder, {"A.FNT"}),
            ERR_FILE_NOT_FOUND);
  EXPECT_EQ(bench.ui.asks.size(), 1u);

  bench.InsertNoDisk('B');  // no medium file: an unformatted disk
  bench.ui.answers = {Button::Retry, Button::Cancel};
  const int windows = bench.progress.shown;
  EXPECT_EQ(bench.Copy("B:", K::Floppy, out.string(), K::PcFolder, {"A.FNT"}, &report), ERR_OK);
  EXPECT_EQ(bench.ui.asks.size(), 3u);
  EXPECT_TRUE(report.shown);
  EXPECT_EQ(bench.progress.shown, windows);
}

TEST_F(FloppyTransfer, CancelStopsAfterTheFileBeingCopied) {
  for (const char* name : {"A.FNT", "B.FNT", "C.FNT"}) Write(name, name);
  bench.progress.cancel_after = 1;
  TransferReport report;
  ASSERT_EQ(Put({"A.FNT", "B.FNT", "C.FNT"}, &report), ERR_OK);
  EXPECT_TRUE(report.cancelled);
  EXPECT_EQ(report.copied, 1);
  EXPECT_EQ(OnDisk(), std::vector<std::string>{"A.FNT"});
}

TEST_F(FloppyTransfer, DeletingASelectionPassesOverMissingNames) {
  for (const char* name : {"A.FNT", "B.FNT", "C.FNT"}) Write(name, name);
  ASSERT_EQ(Put({"A.FNT", "B.FNT", "C.FNT"}), ERR_OK);
  RecordingWindow window;
  window.names = {"A.FNT", "B.FNT", "C.FNT"};
  bench.services.views.destination = &window;
  bench.state.TransferSelection = {"C.FNT", "NOPE.FNT", "A.FNT"};
  TransferReport report;
  EXPECT_EQ(DeleteFloppySelection("A:", bench.services, &report), ERR_OK);
  EXPECT_EQ(report.copied, 2);
  EXPECT_EQ(window.names, std::vector<std::string>{"B.FNT"});
  EXPECT_EQ(OnDisk(), std::vector<std::string>{"B.FNT"});
  EXPECT_FALSE(bench.state.CopyInProgress);

  bench.drives.at('A')->SetWriteProtected(true);
  bench.state.TransferSelection = {"B.FNT"};
  EXPECT_EQ(DeleteFloppySelection("A:", bench.services), ERR_WRITE_PROTECT);
  bench.InsertNoDisk('B');  // an unformatted disk
  EXPECT_NE(DeleteFloppySelection("B:", bench.services), ERR_OK);
  EXPECT_TRUE(bench.ui.asks.empty());
}

}  // namespace
}  // namespace kelvo::test

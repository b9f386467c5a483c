// PC folder to and from a disk image (the document of an open window) and
// a labelled tape image.
#include <gtest/gtest.h>

#include "diskfs/disk_image_doc.h"
#include "support/transfer_fixture.h"
#include "tape/tape_progress.h"
#include "core/error_text.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;
using K = PlaceKind;

class ImageTransfer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(doc.OnNewDocument("IMG"), ERR_OK);
    // The image is the destination of Put and the source of Get.
    bench.services.views = {&window, &window};
    pc = bench.Folder("pc");
    out = bench.Folder("out");
  }
  ErrorCode Put(std::vector<std::string> names, TransferReport* report = nullptr) {
    return bench.Copy(pc.string(), K::PcFolder, "disk.kdi", K::DiskImage, std::move(names),
                      report);
  }
  ErrorCode Get(std::vector<std::string> names, TransferReport* report = nullptr) {
    return bench.Copy("DISK.KDI", K::DiskImage, out.string(), K::PcFolder, std::move(names),
                      report);
  }

  TransferBench bench;
  CDiskImageDoc doc;
  RecordingWindow window{&doc};
  fs::path pc;
  fs::path out;
};

TEST_F(ImageTransfer, StoresReplacesAndExports) {
  WriteFileBytes(pc / "LONGNAME.JSL", "FIRST\r\n");
  WriteFileBytes(pc / "PIC.IMG", SeededBytes(700, 7));
  ASSERT_EQ(Put({"LONGNAME.JSL", "PIC.IMG"}), ERR_OK);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(window.names, (std::vector<std::string>{"LONGNA.JSL", "PIC.IMG"}));
  EXPECT_EQ(bench.progress.copying.front(), pc.string() + "/LONGNAME.JSL");
  EXPECT_EQ(bench.progress.to, std::vector<std::string>{"disk.kdi"});

  WriteFileBytes(pc / "LONGNAME.JSL", "SECOND\r\n");
  ASSERT_EQ(Put({"LONGNAME.JSL"}), ERR_OK);
  EXPECT_EQ(window.names, (std::vector<std::string>{"PIC.IMG", "LONGNA.JSL"}));

  ASSERT_EQ(Get({"LONGNA.JSL", "PIC.IMG"}), ERR_OK);
  EXPECT_EQ(FolderNames(out), (std::vector<std::string>{"Longna.jsl", "Pic.img"}));
  // Text stored in an image is numbered from 10 in steps of 10.
  EXPECT_EQ(ReadFileText(out / "Longna.jsl"), "SECOND" + std::string(68, ' ') + "000010\r\n");
  EXPECT_EQ(ReadFileText(out / "Pic.img"), SeededBytes(700, 7) + std::string(324, '\0'));
  EXPECT_TRUE(bench.ui.asks.empty());
}

TEST_F(ImageTransfer, AFailedStoreIsShownWithRetryAndKeepsTheOldCopy) {
  WriteFileBytes(pc / "A.FNT", "old");
  ASSERT_EQ(Put({"A.FNT"}), ERR_OK);
  const std::vector<std::uint8_t> before = doc.Bytes();
  WriteFileBytes(pc / "A.FNT", SeededBytes(2 * 1024 * 1024, 1));  // larger than the image
  bench.ui.answers = {Button::Retry, Button::Cancel};
  TransferReport report;
  EXPECT_EQ(Put({"A.FNT"}, &report), ERR_OK);
  EXPECT_TRUE(report.shown);
  EXPECT_EQ(bench.ui.Texts(), std::vector<std::string>(2, GetErrorText(ERR_HANDLE_DISK_FULL)));
  EXPECT_EQ(doc.Bytes(), before);
  EXPECT_EQ(window.names, std::vector<std::string>{"A.FNT"});
}

// A missing PC file ends the copy with its code; a name missing from the
// image is shown with Retry; an image without an open window is an error.
TEST_F(ImageTransfer, MissingFilesAndWindows) {
  EXPECT_EQ(Put({"NONE.FNT"}), ERR_FILE_NOT_FOUND);
  EXPECT_TRUE(bench.ui.asks.empty());
  EXPECT_FALSE(doc.IsModified());
  bench.ui.answers = {Button::Cancel};
  TransferReport report;
  EXPECT_EQ(Get({"NONE.FNT"}, &report), ERR_OK);
  EXPECT_EQ(bench.ui.Texts(), std::vector<std::string>{GetErrorText(ERR_FILE_NOT_FOUND)});
  EXPECT_TRUE(report.shown);
  bench.services.views = {};
  EXPECT_EQ(bench.Copy("other.kdi", K::DiskImage, out.string(), K::PcFolder, {"A.FNT"}),
            ERR_INVALID_HANDLE);
  EXPECT_EQ(bench.Copy(pc.string(), K::PcFolder, "other.kdi", K::DiskImage, {"A.FNT"}),
            ERR_INVALID_HANDLE);
}

TEST(TapeTransfer, WritesToAndRestoresFromALabelledTape) {
  TransferBench bench;
  CRestoreProgressModel tape_window(bench.state.TapeBusy);
  bench.services.tape_progress = &tape_window;
  bench.state.Bindings.tape[1] = (bench.dir / "t.tap").string();
  WriteFileBytes(bench.dir / "t.tap", "");  // a blank tape
  const fs::path pc = bench.Folder("pc");
  const fs::path out = bench.Folder("out");
  const std::string font = SeededBytes(1500, 9);
  WriteFileBytes(pc / "REPORT.FNT", font);
  WriteFileBytes(pc / "OTHER.FNT", "zz");
  TransferReport report;
  ASSERT_EQ(bench.Copy(pc.string(), K::PcFolder, "Tape1", K::Tape, {"REPORT.FNT", "OTHER.FNT"},
                       &report),
            ERR_OK);
  EXPECT_TRUE(bench.ui.asks.empty());
  EXPECT_FALSE(bench.state.TapeBusy);

  ASSERT_EQ(bench.Copy("Tape1", K::Tape, out.string(), K::PcFolder, {"REPORT.FNT"}, &report),
            ERR_OK);
  EXPECT_EQ(report.copied, 1);
  EXPECT_EQ(FolderNames(out), std::vector<std::string>{"REPORT.FNT"});
  EXPECT_EQ(ReadFileText(out / "REPORT.FNT"), font + std::string(36, '\0'));  // whole blocks
}

TEST(TapeTransfer, WithoutATapeWindowNothingIsTried) {
  TransferBench bench;
  const fs::path pc = bench.Folder("pc");
  EXPECT_EQ(bench.Copy(pc.string(), K::PcFolder, "Tape0", K::Tape, {"A.FNT"}),
            ERR_INVALID_FUNCTION);
}

}  // namespace
}  // namespace kelvo::test

// Storing PC files into an image, exporting them back, and renaming.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diskfs/kelvo_volume.h"
#include "diskfs/listing.h"
#include "core/radix50.h"
#include "diskfs/disk_image_doc.h"
#include "support/diskfs_image_builder.h"
#include "support/test_support.h"
#include "core/error_text.h"

namespace kelvo {
namespace {

using test::ImageBuilder;
using test::ReadFileText;
using test::TempDir;

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::string Lines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "LINE " + std::to_string(i) + "\n";
  return text;
}

struct Image {
  CDiskImageDoc doc;
  CKelvoVolume volume{doc};
  Image() { EXPECT_EQ(doc.OnNewDocument(), ERR_OK); }

  FileEntry Entry(const std::string& name) {
    FileLocator loc;
    EXPECT_EQ(volume.FindFile(name, loc), ERR_OK) << name;
    return loc.entry;
  }
  std::string Export(const std::string& name, ExportOptions options = {}) {
    TempDir dir;
    EXPECT_EQ(volume.ExportFile(name, dir / "out", options), ERR_OK) << name;
    return ReadFileText(dir / "out");
  }
};

TEST(ImageStore, ContentKindsGiveTheirEntryWords) {
  Image im;
  ASSERT_EQ(im.volume.StoreFile("data.fnt", std::vector<std::uint8_t>(600, 0xC7)), ERR_OK);
  FileEntry bin = im.Entry("DATA.FNT");
  EXPECT_EQ(bin.blocks, 2);
  EXPECT_EQ(bin.blocks_again, 2);
  EXPECT_EQ(bin.record_size, 512);
  EXPECT_EQ(bin.first_free_byte, 0);

  ASSERT_EQ(im.volume.StoreFile("seven.jsl", Bytes(Lines(7))), ERR_OK);
  FileEntry seven = im.Entry("SEVEN.JSL");
  EXPECT_EQ(seven.blocks, 2);
  EXPECT_EQ(seven.record_size, 80);
  EXPECT_EQ(seven.first_free_byte, 80);
  EXPECT_EQ(im.volume.LastStoredEntry(), seven);

  ASSERT_EQ(im.volume.StoreFile("twelve.jsl", Bytes(Lines(12))), ERR_OK);
  FileEntry twelve = im.Entry("TWELVE.JSL");
  EXPECT_EQ(twelve.blocks, 2);
  EXPECT_EQ(twelve.first_free_byte, 480);

  // Preformatted records: two records numbered "000010", "000020", no line feed.
  std::string records = std::string(74, 'R') + "000010" + std::string(74, 'S') + "000020";
  ASSERT_EQ(im.volume.StoreFile("pre.fsl", Bytes(records)), ERR_OK);
  FileEntry pre = im.Entry("PRE.FSL");
  EXPECT_EQ(pre.record_size, 80);
  EXPECT_EQ(pre.blocks, 1);
  EXPECT_EQ(pre.first_free_byte, 160);
  // One record alone is shorter than the 82-byte probe, whose zero fill makes it binary.
  ASSERT_EQ(im.volume.StoreFile("one.fsl", Bytes(records.substr(0, 80))), ERR_OK);
  EXPECT_EQ(im.Entry("ONE.FSL").record_size, 512);
}

TEST(ImageStore, NamesAreCutAndUpperCased) {
  Image im;
  ASSERT_EQ(im.volume.StoreFile("longname.fnt", Bytes("x")), ERR_OK);
  ASSERT_EQ(im.volume.StoreFile("some/folder/ab.cmd", Bytes("y")), ERR_OK);
  FileEntry longname = im.Entry("LONGNA.FNT");
  EXPECT_EQ(longname.name1, RadixEncode("LON"));
  EXPECT_EQ(longname.name2, RadixEncode("GNA"));
  FileEntry ab = im.Entry("AB.CMD");
  EXPECT_EQ(ab.name2, 0);
  FileLocator none;
  EXPECT_EQ(im.volume.FindFile("LONGNAME.FNT", none), ERR_FILE_NOT_FOUND);
}

TEST(ImageStore, ImageTextIsNumberedFromTen) {
  Image im;
  ASSERT_EQ(im.volume.StoreFile("ab.jsl", Bytes("A\nB\n")), ERR_OK);
  FileLocator loc;
  ASSERT_EQ(im.volume.FindFile("AB.JSL", loc), ERR_OK);
  std::vector<std::uint8_t> blocks;
  ASSERT_EQ(im.volume.ReadFileBlocks(loc, blocks), ERR_OK);
  std::string text(blocks.begin(), blocks.end());
  EXPECT_EQ(text.substr(0, 80), "A" + std::string(73, ' ') + "000010");
  EXPECT_EQ(text.substr(80, 80), "B" + std::string(73, ' ') + "000020");
  EXPECT_EQ(text.substr(160), std::string(512 - 160, '\0'));
  EXPECT_EQ(loc.first_free_byte, 160);
}

TEST(ImageStore, SourceTestsDecideTheKind) {
  Image im;
  // A JSL holding a tab and no line feed in its first 82 bytes is binary.
  ASSERT_EQ(im.volume.StoreFile("tab.jsl", Bytes(std::string(90, 'a') + "\tb")), ERR_OK);
  EXPECT_EQ(im.Entry("TAB.JSL").record_size, 512);
  std::string probe_tab = "abc\tdef" + std::string(100, 'x');
  ASSERT_EQ(im.volume.StoreFile("tab2.jsl", Bytes(probe_tab)), ERR_OK);
  EXPECT_EQ(im.Entry("TAB2.JSL").record_size, 512);
  // TMP: text is converted, a "{" makes it binary.
  ASSERT_EQ(im.volume.StoreFile("t1.tmp", Bytes("plain text\n")), ERR_OK);
  EXPECT_EQ(im.Entry("T1.TMP").record_size, 80);
  ASSERT_EQ(im.volume.StoreFile("t2.tmp", Bytes("brace { text\n")), ERR_OK);
  EXPECT_EQ(im.Entry("T2.TMP").record_size, 512);
  // Short source text without a line feed: the zero-filled probe makes it binary.
  ASSERT_EQ(im.volume.StoreFile("short.cmd", Bytes("HELLO")), ERR_OK);
  EXPECT_EQ(im.Entry("SHORT.CMD").record_size, 512);
}

TEST(ImageStore, RetainedLabelsAreStripped) {
  Image im;
  std::string label(128, ' ');
  label.replace(18, 4, "LOGO");
  label[127] = '*';
  ASSERT_EQ(im.volume.StoreFile("logo.img", Bytes(label + "DATA")), ERR_OK);
  FileLocator loc;
  ASSERT_EQ(im.volume.FindFile("LOGO.IMG", loc), ERR_OK);
  std::vector<std::uint8_t> blocks;
  ASSERT_EQ(im.volume.ReadFileBlocks(loc, blocks), ERR_OK);
  ASSERT_EQ(blocks.size(), 512u);
  EXPECT_EQ(std::string(blocks.begin(), blocks.begin() + 5), std::string("DATA\0", 5));

  label.replace(18, 5, "LOGO2");
  std::string block_label = label + std::string(384, '\0');
  ASSERT_EQ(im.volume.StoreFile("logo2.img", Bytes(block_label + "MORE")), ERR_OK);
  ASSERT_EQ(im.volume.FindFile("LOGO2.IMG", loc), ERR_OK);
  ASSERT_EQ(im.volume.ReadFileBlocks(loc, blocks), ERR_OK);
  EXPECT_EQ(std::string(blocks.begin(), blocks.begin() + 4), "MORE");
}

TEST(ImageStore, UnstorableNamesAndTheSystemTypeAreRefused) {
  Image im;
  const std::vector<std::uint8_t> before = im.doc.Bytes();
  for (const char* name : {".fnt", "___.fnt", "_ab.fnt", "BITMAP.$Y$", "bitmap.$y$"})
    EXPECT_EQ(im.volume.StoreFile(name, Bytes("data")), ERR_INVALID_FILE_NAME) << name;
  EXPECT_EQ(im.volume.StoreFile("notes.txt", Bytes("data")), ERR_TYPE_NOT_IN_INDEX);
  EXPECT_EQ(im.doc.Bytes(), before);
  EXPECT_EQ(GetErrorText(ERR_INVALID_FILE_NAME), "Invalid file name specified");
  EXPECT_EQ(GetErrorText(ERR_DIRECTORY_FULL), "The current file type directory is full.");
  EXPECT_FALSE(im.doc.IsModified());
}

TEST(ImageStore, FailuresLeaveTheImageByteIdentical) {
  Image im;
  for (int i = 0; i < 23; ++i)
    ASSERT_EQ(im.volume.StoreFile("f" + std::to_string(i) + ".sys", Bytes("x")), ERR_OK);
  for (int i = 0; i < 46; ++i)
    ASSERT_EQ(im.volume.StoreFile("c" + std::to_string(i) + ".tsk", Bytes("x")), ERR_OK);
  const std::vector<std::uint8_t> before = im.doc.Bytes();
  EXPECT_EQ(im.volume.StoreFile("f23.sys", Bytes("x")), ERR_DIRECTORY_FULL);
  EXPECT_EQ(im.volume.StoreFile("c46.tsk", Bytes("x")), ERR_DIRECTORY_FULL);
  EXPECT_EQ(im.volume.StoreFile("huge.fnt", std::vector<std::uint8_t>(1400 * 512, 1)),
            ERR_HANDLE_DISK_FULL);
  EXPECT_EQ(im.doc.Bytes(), before);
}

TEST(ImageStore, ReplacingKeepsTheOldFileWhenTheNewOneDoesNotFit) {
  Image im;
  ASSERT_EQ(im.volume.StoreFile("keep.fnt", std::vector<std::uint8_t>(1024, 7)), ERR_OK);
  const std::vector<std::uint8_t> before = im.doc.Bytes();
  EXPECT_EQ(im.volume.StoreFile("keep.fnt", std::vector<std::uint8_t>(1400 * 512, 1)),
            ERR_HANDLE_DISK_FULL);
  EXPECT_EQ(im.doc.Bytes(), before);
  // A replacement that fits takes the old file's place.
  ASSERT_EQ(im.volume.StoreFile("KEEP.FNT", std::vector<std::uint8_t>(512, 9)), ERR_OK);
  DiskListing listing;
  ASSERT_EQ(ListFiles(im.doc, listing, im.doc.BlockCount()), ERR_OK);
  ASSERT_EQ(listing.files.size(), 1u);
  EXPECT_EQ(listing.files[0].size, 512u);
}

TEST(ImageStore, ADirectoryPastTheEndOfTheImageIsAnEmptyTypeThatGrowsIt) {
  ImageBuilder b;
  b.bytes().resize(70 * 512);  // TSK's directory sectors, LBN 76 and 77, lie beyond
  CDiskImageDoc doc;
  ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  CKelvoVolume v(doc);
  ASSERT_EQ(v.StoreFile("job.tsk", Bytes("task")), ERR_OK);
  EXPECT_TRUE(v.Problems().empty());
  FileLocator job;
  ASSERT_EQ(v.FindFile("JOB.TSK", job), ERR_OK);
  EXPECT_EQ(job.directory_lbn, 76);
  EXPECT_EQ(doc.BlockCount(), 81u);  // the data at LBN 80
}

TEST(ImageExport, DecidesByRecordSize) {
  Image im;
  // A source type stored as binary keeps its whole block.
  ASSERT_EQ(im.volume.StoreFile("bin.jsl", Bytes("HELLO")), ERR_OK);
  ASSERT_EQ(im.Entry("BIN.JSL").record_size, 512);
  EXPECT_EQ(im.Export("BIN.JSL"), "HELLO" + std::string(507, '\0'));

  // A file of no blocks exports empty.
  ASSERT_EQ(im.volume.StoreFile("empty.fnt", {}), ERR_OK);
  EXPECT_EQ(im.Entry("EMPTY.FNT").blocks, 0);
  EXPECT_EQ(im.Export("EMPTY.FNT"), "");
  ASSERT_EQ(im.volume.StoreFile("empty.jsl", {}), ERR_OK);
  EXPECT_EQ(im.Export("EMPTY.JSL"), "");
}

TEST(ImageExport, RecordFileWithTwoRecordsInItsLastBlock) {
  Image im;
  ASSERT_EQ(im.volume.StoreFile("eight.jsl", Bytes(Lines(8))), ERR_OK);
  EXPECT_EQ(im.Entry("EIGHT.JSL").first_free_byte, 160);
  std::string text = im.Export("eight.jsl");
  ASSERT_EQ(text.size(), 8u * 82);
  EXPECT_EQ(text.substr(0, 82), "LINE 1" + std::string(68, ' ') + "000010\r\n");
  EXPECT_EQ(text.substr(7 * 82), "LINE 8" + std::string(68, ' ') + "000080\r\n");
  // Retained format: the useful bytes as stored.
  std::string raw = im.Export("eight.jsl", ExportOptions{true, false});
  EXPECT_EQ(raw.size(), 512u + 160);
  // Without line numbers (the floppy form's setting).
  std::string bare = im.Export("eight.jsl", ExportOptions{false, true});
  EXPECT_EQ(bare.substr(0, 8), "LINE 1\r\n");
}

TEST(ImageExport, ZeroRecordEndsTheConversion) {
  ImageBuilder b;
  std::string block(512, '\0');
  std::string hello = "HELLO" + std::string(69, ' ') + "000010";
  block.replace(0, 80, hello);
  block.replace(160, 80, hello);  // record 2 (offset 80) is all zeros
  b.PutEntry(ImageBuilder::DirectoryLbn("PCH"), 0, "Z", {0, 80, 0, 1, 0, 1, 240, 0, 80});
  b.bytes().resize(81 * 512);
  std::copy(block.begin(), block.end(), b.bytes().begin() + 80 * 512);
  CDiskImageDoc doc;
  ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  CKelvoVolume v(doc);
  TempDir dir;
  ASSERT_EQ(v.ExportFile("Z.PCH", dir / "z", {}), ERR_OK);
  EXPECT_EQ(ReadFileText(dir / "z"), hello + "\r\n");
  ASSERT_EQ(v.ExportFile("Z.PCH", dir / "z", {false, true}), ERR_OK);
  EXPECT_EQ(ReadFileText(dir / "z"), "HELLO\r\n");
  EXPECT_EQ(v.ExportFile("NONE.PCH", dir / "none", {}), ERR_FILE_NOT_FOUND);
  EXPECT_FALSE(std::filesystem::exists(dir / "none"));
}

TEST(ImageRoundTrip, TextComesBackPaddedAndNumbered) {
  Image im;
  std::string text, expected;
  for (int i = 0; i < 20; ++i) {
    std::string line;
    for (int c = 0; c < (i * 7) % 75; ++c) line += static_cast<char>(' ' + (i + c) % 90);
    text += line + "\n";
    char number[8];
    std::snprintf(number, sizeof number, "%06d", (i + 1) * 10);
    expected += line + std::string(74 - line.size(), ' ') + number + "\r\n";
  }
  ASSERT_EQ(im.volume.StoreFile("round.fsl", Bytes(text)), ERR_OK);
  EXPECT_EQ(im.Export("ROUND.FSL"), expected);
}

TEST(ImageRoundTrip, BinaryComesBackWithZerosToTheBlockEnd) {
  Image im;
  std::vector<std::uint8_t> data(1300);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 31 + 7);
  ASSERT_EQ(im.volume.StoreFile("pic.img", data), ERR_OK);
  std::string back = im.Export("Pic.img");
  ASSERT_EQ(back.size(), 1536u);
  EXPECT_EQ(back.substr(0, 1300), std::string(data.begin(), data.end()));
  EXPECT_EQ(back.substr(1300), std::string(236, '\0'));
}

TEST(ImageRename, ChecksOfTheFloppyRename) {
  Image im;
  ASSERT_EQ(im.volume.StoreFile("report.fnt", std::vector<std::uint8_t>(700, 3)), ERR_OK);
  ASSERT_EQ(im.volume.StoreFile("other.fnt", Bytes("o")), ERR_OK);
  const std::vector<std::uint8_t> before = im.doc.Bytes();
  EXPECT_EQ(im.volume.RenameFile("REPORT.FNT", "OTHER.FNT"), ERR_FILE_EXISTS);
  EXPECT_EQ(GetErrorText(ERR_FILE_EXISTS), "Cannot rename. File already exists.");
  EXPECT_EQ(im.volume.RenameFile("REPORT.FNT", "other.fnt"), ERR_FILE_EXISTS);
  EXPECT_EQ(im.volume.RenameFile("MISSING.FNT", "NEW.FNT"), ERR_FILE_NOT_FOUND);
  for (const char* bad : {"TOOLONGX.FNT", "NAME.XYZ", "NAME.FN", ".FNT", "___.FNT", "BITMAP.$Y$"})
    EXPECT_EQ(im.volume.RenameFile("REPORT.FNT", bad), ERR_INVALID_FILE_NAME) << bad;
  EXPECT_EQ(im.doc.Bytes(), before);

  ASSERT_EQ(im.volume.RenameFile("report.fnt", "AB.FNT"), ERR_OK);
  DiskListing listing;
  ASSERT_EQ(ListFiles(im.doc, listing, im.doc.BlockCount()), ERR_OK);
  // The entry moved to the type's first free slot (2) and only the new name is listed.
  ASSERT_EQ(listing.files.size(), 2u);
  EXPECT_EQ(listing.files[0].name, "OTHER.FNT");
  EXPECT_EQ(listing.files[1].name, "AB.FNT");
  EXPECT_EQ(listing.files[1].slot, 2);
  EXPECT_EQ(listing.files[1].entry.name2, 0);
  EXPECT_EQ(listing.files[1].size, 1024u);
}

TEST(ImageRename, ChangingTheTypeKeepsBlocksAndSizes) {
  Image im;
  ASSERT_EQ(im.volume.StoreFile("job.jsl", Bytes(Lines(8))), ERR_OK);
  FileEntry before = im.Entry("JOB.JSL");
  ASSERT_EQ(im.volume.RenameFile("JOB.JSL", "JOBX.CMD"), ERR_OK);
  FileEntry after = im.Entry("JOBX.CMD");
  EXPECT_EQ(after.start_lbn, before.start_lbn);
  EXPECT_EQ(after.blocks, before.blocks);
  EXPECT_EQ(after.first_free_byte, before.first_free_byte);
  EXPECT_EQ(after.record_size, 80);
  FileLocator gone;
  EXPECT_EQ(im.volume.FindFile("JOB.JSL", gone), ERR_FILE_NOT_FOUND);
}

TEST(ImageRename, FullDirectoryAndMissingType) {
  ImageBuilder b;
  // Drop KCS, the last type, from the index.
  for (int i = 0; i < 6; ++i) b.bytes()[512 + 100 + 6 * 34 + i] = 0;
  for (int i = 0; i < 23; ++i) b.PutEntry(73, i, "S" + std::to_string(i), {0, 512, 0, 0});
  b.AddBinaryFile("FNT", 0, "F", 80, 1, 1);
  CDiskImageDoc doc;
  ASSERT_EQ(doc.LoadImage(b.bytes()), ERR_OK);
  CKelvoVolume v(doc);
  EXPECT_EQ(v.RenameFile("F.FNT", "F.KCS"), ERR_TYPE_NOT_IN_INDEX);
  EXPECT_EQ(v.RenameFile("F.FNT", "F.SYS"), ERR_DIRECTORY_FULL);
  EXPECT_EQ(doc.Bytes(), b.bytes());
}

}  // namespace
}  // namespace kelvo

// Storing PC files into an image, exporting them back, and renaming.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diskfs/kelvo_volume.h"
#include "diskfs/listing.h"
#include "diskfs/disk_image_doc.h"
#include "support/diskfs_image_builder.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {


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
  // The entry's words reach the export (the conversion rules are tested in filetypes).
  EXPECT_EQ(im.Export("seven.jsl").size(), 7u * 82);
  EXPECT_EQ(im.Export("seven.jsl", ExportOptions{true, false}).size(), 512u + 80);

  // One record alone is shorter than the 82-byte probe, whose zero fill makes it binary.
  const std::string record = std::string(74, 'R') + "000010";
  ASSERT_EQ(im.volume.StoreFile("one.fsl", Bytes(record)), ERR_OK);
  EXPECT_EQ(im.Entry("ONE.FSL").record_size, 512);
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
  EXPECT_EQ(im.doc.Bytes(), before);
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

TEST(ImageRename, ChecksOfTheFloppyRename) {
  Image im;
  ASSERT_EQ(im.volume.StoreFile("report.fnt", std::vector<std::uint8_t>(700, 3)), ERR_OK);
  ASSERT_EQ(im.volume.StoreFile("other.fnt", Bytes("o")), ERR_OK);
  const std::vector<std::uint8_t> before = im.doc.Bytes();
  EXPECT_EQ(im.volume.RenameFile("REPORT.FNT", "OTHER.FNT"), ERR_FILE_EXISTS);
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

  // A new type keeps the blocks and the record words.
  ASSERT_EQ(im.volume.StoreFile("job.jsl", Bytes(Lines(8))), ERR_OK);
  const FileEntry job = im.Entry("JOB.JSL");
  ASSERT_EQ(im.volume.RenameFile("JOB.JSL", "JOBX.CMD"), ERR_OK);
  FileEntry moved = im.Entry("JOBX.CMD");
  EXPECT_EQ(moved.name2, test::Rad50("X"));
  moved.name2 = 0;
  EXPECT_EQ(moved, job);
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
}  // namespace kelvo::test

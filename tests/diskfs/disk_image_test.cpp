#include "diskfs/disk_image_doc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "core/radix50.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;

// An image file of `size` bytes with `code` at byte 100 of block 1.
std::string ImageBytes(std::size_t size, std::uint16_t code) {
  std::string bytes(size, '\0');
  if (size >= 614) {
    bytes[612] = static_cast<char>(code & 0xFF);
    bytes[613] = static_cast<char>(code >> 8);
  }
  return bytes;
}

TEST(DiskImage, ValidityEdges) {
  TempDir dir;
  CDiskImageDoc doc;
  WriteFileBytes(dir / "short.kdi", ImageBytes(35839, 0xACC3));
  EXPECT_EQ(doc.OnOpenDocument(dir / "short.kdi"), ERR_BAD_IMAGE);

  WriteFileBytes(dir / "min.kdi", ImageBytes(35840, 0xACC3));
  EXPECT_EQ(doc.OnOpenDocument(dir / "min.kdi"), ERR_OK);
  EXPECT_EQ(doc.Bytes().size(), 35840u);
  EXPECT_FALSE(doc.IsModified());

  // "$y$" in lower case encodes to the same word; any other code is refused.
  WriteFileBytes(dir / "lower.kdi", ImageBytes(35840, RadixEncode("$y$")));
  EXPECT_EQ(doc.OnOpenDocument(dir / "lower.kdi"), ERR_OK);
  WriteFileBytes(dir / "cmd.kdi", ImageBytes(40960, RadixEncode("CMD")));
  EXPECT_EQ(doc.OnOpenDocument(dir / "cmd.kdi"), ERR_BAD_IMAGE);
  WriteFileBytes(dir / "zero.kdi", ImageBytes(40960, 0));
  EXPECT_EQ(doc.OnOpenDocument(dir / "zero.kdi"), ERR_BAD_IMAGE);
  // A failed open leaves the document that was loaded.
  EXPECT_EQ(doc.Bytes().size(), 35840u);

  EXPECT_EQ(doc.OnOpenDocument(dir / "missing.kdi"), ERR_FILE_NOT_FOUND);
  EXPECT_NE(doc.OnOpenDocument(dir.path()), ERR_OK);
}

// Reading past the end gives zeros and never grows the image; writing
// there grows it, the gap read as zeros.
TEST(DiskImage, ReadsAndWritesPastTheEnd) {
  CDiskImageDoc doc;
  ASSERT_EQ(doc.OnNewDocument(), ERR_OK);
  std::vector<std::uint8_t> buf(3 * 512, 0x55);
  ASSERT_EQ(doc.ReadSectors(79, 3, buf.data()), ERR_OK);
  EXPECT_EQ(std::count(buf.begin() + 512, buf.end(), 0), 2 * 512);
  ASSERT_EQ(doc.ReadSectors(0xFFFFFFFFu, 1, buf.data()), ERR_OK);
  EXPECT_EQ(buf[0], 0);
  EXPECT_EQ(doc.Bytes().size(), 40960u);
  EXPECT_FALSE(doc.IsModified());

  const std::vector<std::uint8_t> data(2 * 512, 0xAB);
  ASSERT_EQ(doc.WriteSectors(100, 2, data.data()), ERR_OK);
  EXPECT_EQ(doc.Bytes().size(), 102u * 512);
  EXPECT_TRUE(doc.IsModified());
  ASSERT_EQ(doc.ReadSectors(99, 3, buf.data()), ERR_OK);
  EXPECT_EQ(std::count(buf.begin(), buf.begin() + 512, 0), 512);
  EXPECT_EQ(std::count(buf.begin() + 512, buf.end(), 0xAB), 2 * 512);
}

TEST(DiskImage, SaveWritesTheImageAndClearsTheFlag) {
  TempDir dir;
  CDiskImageDoc doc;
  ASSERT_EQ(doc.OnNewDocument(), ERR_OK);
  ASSERT_EQ(doc.OnSaveDocument(dir / "new.kdi"), ERR_OK);
  EXPECT_EQ(fs::file_size(dir / "new.kdi"), 40960u);

  std::vector<std::uint8_t> data(512, 0x11);
  ASSERT_EQ(doc.WriteSectors(80, 1, data.data()), ERR_OK);
  ASSERT_TRUE(doc.IsModified());
  ASSERT_EQ(doc.OnSaveDocument(dir / "new.kdi"), ERR_OK);
  EXPECT_FALSE(doc.IsModified());
  std::string saved = ReadFileText(dir / "new.kdi");
  ASSERT_EQ(saved.size(), 41472u);
  EXPECT_EQ(std::string(doc.Bytes().begin(), doc.Bytes().end()), saved);

  CDiskImageDoc again;
  ASSERT_EQ(again.OnOpenDocument(dir / "new.kdi"), ERR_OK);
  EXPECT_EQ(again.Bytes(), doc.Bytes());
  // A folder that does not exist: reported, nothing created.
  EXPECT_EQ(doc.OnSaveDocument(dir / "no" / "disk.kdi"), ERR_FILE_NOT_FOUND);
}

TEST(DiskImage, SaveKeepsTheFilePermissions) {
  TempDir dir;
  CDiskImageDoc doc;
  ASSERT_EQ(doc.OnNewDocument(), ERR_OK);
  ASSERT_EQ(doc.OnSaveDocument(dir / "p.kdi"), ERR_OK);
  fs::permissions(dir / "p.kdi", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(doc.OnSaveDocument(dir / "p.kdi"), ERR_OK);
  EXPECT_EQ(fs::status(dir / "p.kdi").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace kelvo::test

#include <gtest/gtest.h>

#include "filetypes/stored_content.h"
#include "support/filetypes_records.h"
#include "support/tape_builder.h"

namespace kelvo {
namespace {

using test::Bytes;
using test::RecordBlocks;
using test::SourceRecord;
using test::Text;

// A 128-byte tape label as the tape writer makes it.
std::string Label(const std::string& name, const std::string& type) {
  return test::MakeLabel({.name = name, .type = type});
}

StoredContent Prepare(std::string_view name, const std::vector<std::uint8_t>& file,
                      ImportOptions options = {kImageLineNumbering, {true}}) {
  StoredContent content;
  EXPECT_EQ(PrepareStoredContent(name, file, options, content), ERR_OK);
  return content;
}

std::string Export(std::string_view type, const StoredContent& content, ExportOptions options) {
  std::vector<std::uint8_t> out;
  CVectorSink sink(out);
  EXPECT_EQ(ExportStoredFile(type, content.words, content.blocks, options, sink), ERR_OK);
  return Text(out);
}

// Binary files, and source types stored as binary, are zero-padded blocks and
// come back whole, even with records of a type that is no source type.
TEST(StoredContent, BinaryFilesAreZeroPaddedBlocksAndComeBackWhole) {
  std::vector<std::uint8_t> file(600);
  for (std::size_t i = 0; i < file.size(); ++i) file[i] = std::uint8_t(i * 7 + 1);
  StoredContent c = Prepare("data.fnt", file);
  EXPECT_EQ(Export("FNT", c, {}), Text(file) + std::string(424, '\0'));
  c.words.record_size = 80;
  c.words.last_block_bytes = 80;
  EXPECT_EQ(Export("FNT", c, {}).size(), 1024u);
  ASSERT_EQ(ImportBinary(Bytes("PRINT\tX;"), c), ERR_OK);
  for (const ExportOptions options : {ExportOptions{}, ExportOptions{true, false}})
    EXPECT_EQ(Export("JSL", c, options), "PRINT\tX;" + std::string(504, '\0'));
  StoredContent empty;
  empty.words = {80, 0, 480};
  EXPECT_EQ(Export("JSL", empty, {}), "");
  EXPECT_EQ(Export("JSL", empty, {true, false}), "");
}

// Numbered as the writer numbers them (images from 10 by 10, floppies 0),
// exported with the numbers, without them, or as records.
TEST(StoredContent, TwoLinesStoredAndExported) {
  const StoredContent image = Prepare("ab.jsl", Bytes("A\r\nB  \n"));
  EXPECT_EQ(image.blocks, RecordBlocks({SourceRecord("A", 10), SourceRecord("B", 20)}));
  EXPECT_EQ(image.words.last_block_bytes, 160u);
  EXPECT_EQ(image.record_count, 2u);
  const StoredContent floppy = Prepare("ab.jsl", Bytes("A\r\nB\r\n"), {{0, 0}, {false}});
  EXPECT_EQ(floppy.blocks, RecordBlocks({SourceRecord("A", 0), SourceRecord("B", 0)}));
  EXPECT_EQ(Export("JSL", image, {}), SourceRecord("A", 10) + "\r\n" + SourceRecord("B", 20) + "\r\n");
  EXPECT_EQ(Export("jsl", image, {false, true}), "A\r\nB\r\n");
  EXPECT_EQ(Export("JSL", image, {true, false}), SourceRecord("A", 10) + SourceRecord("B", 20));
}

TEST(ImportChoice, DecidesByTypeFirstBytesAndWhetherRecordsKeepEveryByte) {
  const std::vector<std::uint8_t> records =
      RecordBlocks({SourceRecord("A", 10), SourceRecord("B", 20)}, false);
  std::vector<std::uint8_t> partial = RecordBlocks({SourceRecord("A", 10)}, false);
  for (char c : std::string("PARTIAL")) partial.push_back(static_cast<std::uint8_t>(c));
  const struct {
    const char* name;
    std::vector<std::uint8_t> data;
    ContentKind kind;
  } rows[] = {
      {"a.jsl", Bytes("PRINT\tX;"), ContentKind::Binary},
      {"a.jsl", Bytes("PRINT\tX;\n"), ContentKind::ConvertedText},
      {"a.tmp", Bytes("SOME TEXT\r\nMORE\r\n"), ContentKind::ConvertedText},
      {"a.tmp", Bytes("SOME {TEXT}\r\n"), ContentKind::Binary},
      {"a.fnt", Bytes("TEXT\n"), ContentKind::Binary},
      {"a.cmd", Bytes("HELLO"), ContentKind::Binary},
      {"a.cmd", Bytes(SourceRecord("A\xe9", 10)), ContentKind::Binary},
      // A line feed after the first 82 bytes does not count.
      {"a.cmd", Bytes(std::string(82, 'x') + "\n"), ContentKind::Binary},
      {"a.jsl", records, ContentKind::PreformattedRecords},
      // A partial record at the end would be cut off by the last-block count;
      // a file of 78 bytes would keep none of them.
      {"a.jsl", partial, ContentKind::Binary},
      {"a.jsl", Bytes(SourceRecord("A", 10).substr(0, 78)), ContentKind::Binary},
  };
  for (const auto& r : rows) EXPECT_EQ(ChooseImportKind(r.name, r.data), r.kind) << Text(r.data);
  EXPECT_FALSE(PreformattedKeepsAllBytes(partial));
  // Zero bytes beyond the records are padding and may go.
  const std::vector<std::uint8_t> padded = RecordBlocks({SourceRecord("A", 10)}, true);
  EXPECT_TRUE(PreformattedKeepsAllBytes(padded));
  EXPECT_EQ(PreformattedLastBlockBytes(padded), 80u);
  // A single record is binary only for the zero-filled image probe.
  const std::vector<std::uint8_t> one = Bytes(SourceRecord("ONE", 10));
  EXPECT_EQ(ChooseImportKind("a.jsl", one, {false}), ContentKind::PreformattedRecords);
  EXPECT_EQ(ChooseImportKind("a.jsl", one, {true}), ContentKind::Binary);

  const StoredContent c = Prepare("a.jsl", records);
  EXPECT_EQ(c.kind, ContentKind::PreformattedRecords);
  EXPECT_EQ(c.words.last_block_bytes, 160u);
  EXPECT_EQ(c.blocks, RecordBlocks({SourceRecord("A", 10), SourceRecord("B", 20)}));
}

TEST(ImportChoice, PreformattedLastBlockCountIsCappedAtSixRecords) {
  std::vector<std::uint8_t> full(512, 'x');
  full[74] = '0';
  EXPECT_EQ(PreformattedLastBlockBytes(full), 480u);
  EXPECT_FALSE(PreformattedKeepsAllBytes(full));
  EXPECT_EQ(PreformattedLastBlockBytes({}), 0u);
}

// A retained 128-byte label (or a 512-byte block holding one) matches the
// file by name or by type; files shorter than a label or without its mark
// have none.
TEST(RetainedLabel, MatchesByNameOrTypeAndIsStripped) {
  const std::string data = "\x01\x02 binary data", label = Label("REPORT", "FNT");
  const std::string block = label + std::string(384, '\0'), longName = Label("LONGNA", "FNT") + "data";
  const std::string shortFile = Label("SHORT", "JSL").substr(0, 100);
  std::string noMark = Label("NOMARK", "JSL");
  noMark[127] = ' ';
  noMark.resize(300, 'x');
  const struct {
    std::string file;
    const char* name;
    std::size_t length;
  } rows[] = {
      {label + data, "Report.fnt", 128}, {block + data, "REPORT.FNT", 512},
      {longName, "longna.xyz", 128},     {longName, "longname.fnt", 128},  // by type
      {longName, "other.img", 0},        {longName, "dir/.fnt", 128},  // empty name equal
      {shortFile, "short.jsl", 0},       {"", ".jsl", 0},
      {noMark, "nomark.jsl", 0},         {label, "report.fnt", 128},  // never past the end
  };
  for (const auto& r : rows) EXPECT_EQ(RetainedLabelLength(Bytes(r.file), r.name), r.length) << r.name;
  for (const std::string& file : {label + data, block + data}) {
    const StoredContent c = Prepare("Report.fnt", Bytes(file));
    EXPECT_EQ(c.words.block_count, 1u);
    EXPECT_EQ(Text(c.blocks).substr(0, data.size()), data);
  }
  EXPECT_EQ(Prepare("short.jsl", Bytes(shortFile)).words.block_count, 1u);
  EXPECT_EQ(Prepare("report.fnt", Bytes(label)).words.block_count, 0u);
  // Data starting with a zero byte is kept.
  std::string zeros(1000, '\0');
  zeros[200] = 9;
  const StoredContent z = Prepare("image.img", Bytes(Label("IMAGE", "IMG") + zeros));
  EXPECT_EQ(z.words.block_count, 2u);
  EXPECT_EQ(z.blocks[200], 9);
}

TEST(RetainedLabel, ALabelledTextFileIsConvertedAfterItsLabel) {
  const StoredContent c = Prepare("ab.jsl", Bytes(Label("AB", "JSL") + "A\nB\n"));
  EXPECT_EQ(c.kind, ContentKind::ConvertedText);
  EXPECT_EQ(c.blocks, RecordBlocks({SourceRecord("A", 10), SourceRecord("B", 20)}));
}

TEST(UsefulLength, FollowsTheRecordSize) {
  EXPECT_EQ(UsefulLength({80, 2, 160}, 1024), 672u);
  EXPECT_EQ(UsefulLength({512, 2, 0}, 1024), 1024u);
  EXPECT_EQ(UsefulLength({80, 0, 480}, 0), 0u);
  EXPECT_EQ(UsefulLength({80, 1, 0}, 512), 0u);
  EXPECT_EQ(UsefulLength({80, 1, 9999}, 512), 512u);
  EXPECT_EQ(UsefulLength({512, 4, 0}, 1024), 1024u);  // never past the blocks read
}

TEST(Export, ATextHoldingAZeroByteComesBackWhole) {
  // A record holding a zero byte would end the export there: such a text
  // is kept as binary, on images and floppies alike.
  for (const std::string& text : {std::string("ONE\r\n\0TWO\r\nTHREE\r\n", 17),
                                 std::string("ONE\r\nT\0O\r\nTHREE\r\n", 17)}) {
    for (const ImportOptions options :
         {ImportOptions{kImageLineNumbering, {true}}, ImportOptions{{0, 0}, {}}}) {
      const StoredContent c = Prepare("x.jsl", Bytes(text), options);
      EXPECT_EQ(c.kind, ContentKind::Binary);
      const std::string back = Export("JSL", c, {});
      ASSERT_EQ(back.size(), 512u);
      EXPECT_EQ(back.substr(0, text.size()), text);
    }
  }
}

}  // namespace
}  // namespace kelvo

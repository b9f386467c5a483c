#include <gtest/gtest.h>

#include <cstring>

#include "filetypes/source_conversion.h"
#include "filetypes/stored_content.h"
#include "support/filetypes_records.h"

namespace kelvo {
namespace {

using test::Bytes;
using test::RecordBlocks;
using test::SourceRecord;
using test::Text;

std::string ToText(const std::vector<std::uint8_t>& data, bool remove_line_numbers,
                   RecordsToTextResult* result = nullptr) {
  std::vector<std::uint8_t> out;
  CVectorSink sink(out);
  EXPECT_EQ(ConvertRecordsToText(data, remove_line_numbers, sink, result), ERR_OK);
  return Text(out);
}

std::vector<std::uint8_t> ToRecords(std::string_view text, LineNumbering numbering,
                                    std::uint64_t* records = nullptr) {
  std::vector<std::uint8_t> out;
  CVectorSink sink(out);
  CTextRecordEncoder encoder(numbering, sink);
  EXPECT_EQ(encoder.Append(Bytes(text)), ERR_OK);
  EXPECT_EQ(encoder.Finish(), ERR_OK);
  if (records != nullptr) *records = encoder.RecordCount();
  return out;
}

// Source types always; LIB, TMP and MSC when their first 256 useful bytes
// hold nothing outside printable text and line ends.
TEST(IsSourceFile, ByTypeAndByTheFirst256Bytes) {
  std::string late(256, 'A');
  late += '{';
  const std::vector<std::uint8_t> binary = {0, 1, 2, 0xFF, '\t'};
  const struct {
    const char* name;
    std::vector<std::uint8_t> data;
    bool source;
  } rows[] = {
      {"a.cmd", binary, true},   {"A.FSL", binary, true},  {"x/y.jsl", binary, true},
      {"PCH", binary, true},     {"a.fnt", Bytes("HELLO\r\n"), false},
      {"a.$y$", Bytes("HI"), false}, {"a", Bytes("HI"), false}, {"", Bytes("HI"), false},
      {"a.tmp", Bytes("PRINT 'X'\r\nEND\n"), true}, {"a.LIB", Bytes("z"), true},
      {"a.msc", {}, true},       {"a.tmp", Bytes("A{B"), false}, {"a.tmp", Bytes("A\tB"), false},
      {"a.lib", Bytes("AB\x1f"), false}, {"a.msc", Bytes(late), true},
      {"a.msc", Bytes(std::string(255, 'A') + "{"), false},
  };
  for (const auto& r : rows) EXPECT_EQ(IsSourceFile(r.name, r.data), r.source) << r.name;
  // A short text file: the caller passes its data, not the zero-padded block.
  std::vector<std::uint8_t> block = Bytes("SHORT TEXT\r\n");
  block.resize(512, 0);
  EXPECT_TRUE(IsSourceFile("a.tmp", std::span(block).first(12)));
  EXPECT_FALSE(IsSourceFile("a.tmp", block));
}

TEST(RecordsToText, NumbersKeptOrDroppedAndPartialRecordsLeftOut) {
  const std::vector<std::uint8_t> data = RecordBlocks({SourceRecord("HELLO", 10)}, false);
  EXPECT_EQ(ToText(data, false), "HELLO" + std::string(69, ' ') + "000010\r\n");
  EXPECT_EQ(ToText(data, true), "HELLO\r\n");
  std::vector<std::uint8_t> two =
      RecordBlocks({SourceRecord("", 1), SourceRecord("  X  ", 2)}, false);
  EXPECT_EQ(ToText(two, true), "\r\n  X\r\n");
  two.resize(159);
  EXPECT_EQ(ToText(two, true), "\r\n");
  EXPECT_EQ(ToText({}, false), "");
}

TEST(RecordsToText, RecordWithAZeroByteEndsTheConversion) {
  std::string broken = SourceRecord("BROKEN", 20);
  broken[40] = '\0';
  const std::vector<std::uint8_t> data =
      RecordBlocks({SourceRecord("A", 10), broken, SourceRecord("C", 30)});
  RecordsToTextResult result;
  EXPECT_EQ(ToText(data, true, &result), "A\r\n");
  EXPECT_EQ(result.lines, 1u);
  EXPECT_TRUE(result.stopped_at_zero_record);
}

TEST(RecordsToText, SkipsTheZeroTailOfEveryBlock) {
  std::vector<std::string> records;
  std::string expected;
  for (int i = 1; i <= 14; ++i) {
    records.push_back(SourceRecord("LINE " + std::to_string(i), i * 10));
    expected += "LINE " + std::to_string(i) + "\r\n";
  }
  // Useful length: two full blocks and two records.
  const std::vector<std::uint8_t> data = RecordBlocks(records);
  RecordsToTextResult result;
  EXPECT_EQ(ToText(std::vector<std::uint8_t>(data.begin(), data.begin() + 1024 + 160), true,
                   &result),
            expected);
  EXPECT_EQ(result.lines, 14u);
  EXPECT_FALSE(result.stopped_at_zero_record);
}

class FailingSink : public CByteSink {
 public:
  ErrorCode Write(std::span<const std::uint8_t>) override { return ERR_HANDLE_DISK_FULL; }
};

TEST(RecordsToText, AFailedWriteEndsWithItsError) {
  FailingSink sink;
  const std::vector<std::uint8_t> data = RecordBlocks({SourceRecord("A", 1)});
  EXPECT_EQ(ConvertRecordsToText(data, false, sink), ERR_HANDLE_DISK_FULL);
}

// Lines of 74 characters or less take the number; an 80-character line is a
// record as it stands; longer lines continue on further records; a CR is
// dropped only before a line feed; numbers keep their first six characters.
TEST(TextToRecords, LinesBecomeRecords) {
  std::string line200;
  for (int i = 0; i < 200; ++i) line200 += char('A' + i % 26);
  const std::string raw = std::string(74, 'R') + "123456", w80(80, 'w');
  const auto numbered = [](const char* text, const char* number) {
    return std::string(text) + std::string(74 - std::strlen(text), ' ') + number;
  };
  const struct {
    std::string text;
    LineNumbering numbering;
    std::vector<std::string> records;
  } rows[] = {
      {"", kImageLineNumbering, {}},
      {"A\r\nB\r\n", {0, 0}, {SourceRecord("A", 0), SourceRecord("B", 0)}},
      {"A\nB", kImageLineNumbering, {SourceRecord("A", 10), SourceRecord("B", 20)}},
      {"\n", {5, 1}, {SourceRecord("", 5)}},
      {"X\n" + raw + "\r\nY\n", kImageLineNumbering, {SourceRecord("X", 10), raw, SourceRecord("Y", 20)}},
      {std::string(79, 'x') + "\n", kImageLineNumbering,
       {SourceRecord(std::string(74, 'x'), 10), SourceRecord("xxxxx", 20)}},
      {line200 + "\r\nEND", {100, 5},
       {SourceRecord(line200.substr(0, 74), 100), SourceRecord(line200.substr(74, 74), 105),
        SourceRecord(line200.substr(148), 110), SourceRecord("END", 115)}},
      {std::string(148, 'q'), {1, 1},
       {SourceRecord(std::string(74, 'q'), 1), SourceRecord(std::string(74, 'q'), 2)}},
      {"A\rB\r\n", {1, 1}, {SourceRecord("A\rB", 1)}},
      {"A\r", {1, 1}, {SourceRecord("A\r", 1)}},
      {w80 + "\r", {1, 1}, {SourceRecord(w80.substr(0, 74), 1), SourceRecord("wwwwww\r", 2)}},
      {"A\nB\n", {999990, 10}, {SourceRecord("A", 999990), numbered("B", "100000")}},
      {"A\n", {-10, 10}, {numbered("A", "-00010")}},
  };
  for (const auto& r : rows) {
    std::uint64_t count = 99;
    EXPECT_EQ(ToRecords(r.text, r.numbering, &count), RecordBlocks(r.records)) << r.text;
    EXPECT_EQ(count, r.records.size());
  }
}

TEST(TextToRecords, PiecesOfAnySizeGiveTheSameRecords) {
  std::string text;
  for (const std::string& line : test::PrintableLines(60, 200, 7)) text += line + "\r\n";
  text += std::string(80, 'E') + "\n" + std::string(81, 'F') + "\r\r\n\n" + std::string(300, 'G');
  const std::vector<std::uint8_t> whole = ToRecords(text, kImageLineNumbering);
  for (std::size_t piece : {1u, 2u, 3u, 7u, 74u, 75u, 79u, 80u, 81u, 82u, 500u}) {
    std::vector<std::uint8_t> out;
    CVectorSink sink(out);
    CTextRecordEncoder encoder(kImageLineNumbering, sink);
    for (std::size_t at = 0; at < text.size(); at += piece) {
      const std::string_view part = std::string_view(text).substr(at, piece);
      ASSERT_EQ(encoder.Append(Bytes(part)), ERR_OK);
    }
    ASSERT_EQ(encoder.Finish(), ERR_OK);
    EXPECT_EQ(out, whole) << "pieces of " << piece;
  }
}

TEST(TextToRecords, CountingAloneGivesTheCountsOfTheConversion) {
  std::string text;
  for (const std::string& line : test::PrintableLines(700, 250, 11)) text += line + "\r\n";
  text += std::string(80, 'E') + "\n" + std::string(81, 'F') + "\r\r\n\n" + std::string(149, 'G');
  for (std::size_t cut : {text.size(), text.size() - 149, text.size() - 150}) {
    const std::string_view part = std::string_view(text).substr(0, cut);
    std::uint64_t records = 0;
    const std::size_t size = ToRecords(part, kImageLineNumbering, &records).size();
    CTextRecordEncoder counter;
    for (std::size_t at = 0; at < part.size(); at += 97) ASSERT_EQ(counter.Append(Bytes(part.substr(at, 97))), ERR_OK);
    ASSERT_EQ(counter.Finish(), ERR_OK);
    EXPECT_EQ(counter.RecordCount(), records);
    EXPECT_EQ(counter.BlockCount(), size / 512);
    EXPECT_EQ(counter.LastBlockBytes(), (records - 1) % 6 * 80 + 80);
  }
  CTextRecordEncoder none;
  ASSERT_EQ(none.Finish(), ERR_OK);
  EXPECT_EQ(none.RecordCount(), 0u);
  EXPECT_EQ(none.LastBlockBytes(), 0u);
}

TEST(TextToRecords, ASinkFailureIsReturnedAndSticks) {
  FailingSink sink;
  CTextRecordEncoder encoder({1, 1}, sink);
  EXPECT_EQ(encoder.Append(Bytes("A\nB\n")), ERR_OK);  // still buffered
  EXPECT_EQ(encoder.Finish(), ERR_HANDLE_DISK_FULL);
  EXPECT_EQ(encoder.Append(Bytes("C\n")), ERR_HANDLE_DISK_FULL);
}

// More than one buffer of blocks, ending in a part-filled block whose unused
// slots held records of the previous round.
TEST(SourceRoundTrip, ShortPrintableLinesComeBackPaddedAndNumbered) {
  const std::vector<std::string> lines = test::PrintableLines(6 * 300 + 2, 74, 42);
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  std::uint64_t count = 0;
  const std::vector<std::uint8_t> records = ToRecords(text, kImageLineNumbering, &count);
  ASSERT_EQ(count, lines.size());
  std::string expected, expectedBare;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    expected += SourceRecord(lines[i], int(10 * (i + 1))) + "\r\n";
    std::string bare = lines[i];
    while (!bare.empty() && bare.back() == ' ') bare.pop_back();
    expectedBare += bare + "\r\n";
  }
  EXPECT_EQ(ToText(records, false), expected);
  EXPECT_EQ(ToText(records, true), expectedBare);
}

TEST(Preformatted, LooksAtTheFirstDigitsOfTheLineNumber) {
  EXPECT_TRUE(IsPreformattedRecordFile(Bytes(SourceRecord("A", 10))));
  EXPECT_TRUE(IsPreformattedRecordFile(Bytes(std::string(75, 'x') + "0")));
  EXPECT_FALSE(IsPreformattedRecordFile(Bytes(SourceRecord("A", 990000))));
  EXPECT_FALSE(IsPreformattedRecordFile(Bytes(std::string(74, '0'))));
  EXPECT_FALSE(IsPreformattedRecordFile({}));
}

}  // namespace
}  // namespace kelvo

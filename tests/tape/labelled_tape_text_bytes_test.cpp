// The exact tape image written for source text files, compared byte for byte
// with images built here line by line from the record rules: a line of up to
// 74 characters is one numbered record, a line of exactly 80 is a record as
// it stands, a longer line continues on numbered records of 74; a CR before
// the LF is dropped; six records to a 512-byte block.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "support/filetypes_records.h"
#include "support/tape_fixture.h"
#include "tape/labelled_tape.h"

namespace kelvo::test {
namespace {

struct Numbering {
  std::int64_t start;
  std::int64_t step;
};

// The records of `text`, line by line by the rules above; a last line
// without a LF keeps a CR of its own.
std::vector<std::string> ReferenceRecords(const std::string& text, Numbering numbering) {
  std::vector<std::string> records;
  std::uint64_t number = static_cast<std::uint64_t>(numbering.start);
  const auto numbered = [&](const std::string& piece) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%06lld", static_cast<long long>(number));
    records.push_back(piece + std::string(74 - piece.size(), ' ') + std::string(digits, 6));
    number += static_cast<std::uint64_t>(numbering.step);
  };
  for (std::size_t start = 0; start < text.size();) {
    std::size_t lf = text.find('\n', start);
    std::string line = text.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
    if (lf != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
    start = lf == std::string::npos ? text.size() : lf + 1;
    if (line.size() == 80) records.push_back(line);
    for (std::size_t off = 0; line.size() != 80 && (off == 0 || off < line.size()); off += 74)
      numbered(line.substr(off, 74));
  }
  return records;
}

struct TextFile {
  std::string name;  // NAME.CMD
  std::string text;
};

class TextBytesTest : public ::testing::Test, public TapeBench {
 protected:
  // Writes `files` in one go onto an empty tape and checks the whole image.
  void ExpectImage(const std::vector<TextFile>& files, Numbering numbering, int blocking_factor) {
    WriteFileBytes(tap, "");
    std::vector<std::string> names;
    for (const TextFile& f : files) {
      WriteFileBytes(dir / f.name, f.text);
      names.push_back(f.name);
    }
    write_options.blocking_factor = blocking_factor;
    write_options.numbering = {numbering.start, numbering.step};
    ASSERT_EQ(Write(names), 0u);
    const std::string image = TapeBytes();
    ASSERT_GE(image.size(), 4u + 128u);
    const std::uint16_t date = WordAt(image, 4 + 10);

    TapeImageBuilder expected;
    for (const TextFile& f : files) {
      const std::vector<std::string> records = ReferenceRecords(f.text, numbering);
      const std::string data = Text(RecordBlocks(records));
      const LabelFields label = {
          .name = f.name.substr(0, f.name.find('.')), .type = "CMD",
          .blocks = static_cast<std::uint32_t>(data.size() / 512),
          .last_block_bytes = static_cast<std::uint16_t>(records.empty() ? 0 : ((records.size() - 1) % 6 + 1) * 80),
          .date = date, .record_length = 80, .block_size = static_cast<std::uint16_t>(blocking_factor * 512)};
      expected.LabelledFile(MakeLabel(label), data, static_cast<std::size_t>(blocking_factor) * 512);
    }
    expected.Filemark();
    ASSERT_EQ(image.size(), expected.Bytes().size());
    // The first differing offset, rather than two images of megabytes.
    std::size_t at = 0;
    while (at < image.size() && image[at] == expected.Bytes()[at]) ++at;
    EXPECT_EQ(at, image.size()) << "images differ from byte " << at;
  }
};

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string s;
  for (std::size_t i = 0; i < times; ++i) s += piece;
  return s;
}

// Line lengths 0 to 170 (74, 75, 79, 80, 81, 148 and 149 among them), CR LF.
std::string EveryLength() {
  std::string text;
  for (std::size_t n = 0; n <= 170; ++n) {
    for (std::size_t i = 0; i < n; ++i) text += static_cast<char>('A' + (n + i) % 26);
    text += "\r\n";
  }
  return text;
}

// Tabs, bare LFs, stray CRs, empty lines; last lines without a LF (short,
// long, of exactly two records, ending in CR, of 80); lines far longer than
// a record and of exactly 80 with and without their CR.
TEST_F(TextBytesTest, OddLinesAndLineEnds) {
  const std::string tabs = "\tINDENTED\tWITH TABS\r\nLF ONLY\n\n\r\nCR\rINSIDE\r\nTWO CRS\r\r\n" +
                           std::string(80, '\t') + "\n\n\n\n\n\n\n\n";
  ExpectImage({{"TABS.CMD", tabs},
               {"NOLF.CMD", "FIRST\r\nLAST LINE WITHOUT LF"},
               {"LONGLF.CMD", "FIRST\r\n" + std::string(200, 'Z')},
               {"EXACT.CMD", "FIRST\r\n" + std::string(148, 'Y')},
               {"CRLAST.CMD", "FIRST\r\nENDS IN CR\r"},
               {"EIGHTY.CMD", "FIRST\r\n" + std::string(80, 'E')}},
              {100, 5}, 16);
  std::string text = "SHORT FIRST LINE\r\n";
  text += std::string(500, 'L') + "\r\n";
  text += std::string(74, 'A') + "000010\r\n";  // 80: a record as it stands
  text += std::string(80, 'B') + "\r\r\n";      // 81 with its CR: continued
  text += std::string(79, 'C') + "\r\n";
  text += std::string(81, 'D') + "\n";
  text += std::string(74 * 3, 'E') + "\r\n";
  text += std::string(74 * 3 + 1, 'F') + "\r\n";
  ExpectImage({{"LONG.CMD", text}}, {1, 1}, 16);
}

// Line lengths 0 to 170 in blocks of 1, 16 and 128 records; line numbers
// past six digits, below zero and at the end of the 64-bit range.
TEST_F(TextBytesTest, EveryLengthEveryBlockingFactorAndNumbering) {
  const std::string text = EveryLength();
  ExpectImage({{"LENGTH.CMD", text}}, {10, 10}, 16);
  ExpectImage({{"BF1.CMD", text}}, {10, 10}, 1);
  ExpectImage({{"BF1.CMD", text}, {"BF128.CMD", text}}, {10, 10}, 128);
  const std::string numbered = Repeat("NUMBERED\r\n", 20);
  ExpectImage({{"WRAP.CMD", numbered}}, {999950, 10}, 16);
  ExpectImage({{"WRAP.CMD", numbered}, {"NEG.CMD", numbered}}, {-60, 7}, 16);
  ExpectImage({{"HUGE.CMD", Repeat("N\r\n", 5)}}, {INT64_MAX - 1, 1}, 16);
}

// Megabytes of text whose lines end, and whose long lines continue, right at
// the power-of-two offsets where readers and buffers tend to split data;
// followed on the same tape by smaller files, which must not see any of the
// larger one's data.
TEST_F(TextBytesTest, LargeTextsWithLinesAcrossBufferEdges) {
  std::string big;
  std::uint32_t state = 12345;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  for (std::size_t edge = 1u << 16; edge <= (3u << 20); edge += 1u << 16) {
    while (big.size() + 300 < edge) {
      const std::size_t n = next() % 120;
      for (std::size_t i = 0; i < n; ++i) big += static_cast<char>(0x20 + next() % 95);
      big += next() % 4 == 0 ? "\n" : "\r\n";
    }
    // Alternately a CR just before the edge and its LF just after, or a LF
    // as the last byte before it; then a long line.
    if ((edge >> 16) % 2 == 1) {
      big += std::string(edge - 1 - big.size(), 'P') + "\r\n";
    } else {
      big += std::string(edge - 1 - big.size(), 'R') + "\n";
    }
    big += std::string(300, 'Q') + "\r\n";
  }
  const std::string small = "ONE\r\nTWO\r\n";
  ExpectImage({{"BIG.CMD", big}, {"SMALL.CMD", small}, {"BIG2.CMD", big.substr(0, big.size() / 3)},
               {"SMALL2.CMD", small}},
              {10, 10}, 16);
}

}  // namespace
}  // namespace kelvo::test

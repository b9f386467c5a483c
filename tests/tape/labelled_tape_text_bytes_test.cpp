// The exact tape image written for source text files, compared byte for byte
// with images built here from the records the conversion makes (its line
// rules are checked on their own): what the tape adds is the label counted
// from the text, the records cut into tape blocks of the blocking factor,
// and a text read in pieces and converted straight onto the tape.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "filetypes/byte_sink.h"
#include "filetypes/source_conversion.h"
#include "support/filetypes_records.h"
#include "support/tape_fixture.h"
#include "tape/labelled_tape.h"

namespace kelvo::test {
namespace {

struct TextFile {
  std::string name;  // NAME.CMD
  std::string text;
};

class TextBytesTest : public ::testing::Test, public TapeBench {
 protected:
  // Writes `files` in one go onto an empty tape and checks the whole image.
  void ExpectImage(const std::vector<TextFile>& files, LineNumbering numbering, int blocking_factor) {
    WriteFileBytes(tap, "");
    std::vector<std::string> names;
    for (const TextFile& f : files) {
      WriteFileBytes(dir / f.name, f.text);
      names.push_back(f.name);
    }
    write_options.blocking_factor = blocking_factor;
    write_options.numbering = numbering;
    ASSERT_EQ(Write(names), 0u);
    const std::string image = TapeBytes();
    ASSERT_GE(image.size(), 4u + 128u);
    const std::uint16_t date = WordAt(image, 4 + 10);

    TapeImageBuilder expected;
    for (const TextFile& f : files) {
      // The records as the conversion, tested on its own, makes them.
      std::vector<std::uint8_t> records;
      CVectorSink sink(records);
      CTextRecordEncoder encoder(numbering, sink);
      ASSERT_EQ(encoder.Append(Bytes(f.text)), ERR_OK);
      ASSERT_EQ(encoder.Finish(), ERR_OK);
      const std::string data = Text(records);
      const LabelFields label = {
          .name = f.name.substr(0, f.name.find('.')), .type = "CMD",
          .blocks = static_cast<std::uint32_t>(data.size() / 512),
          .last_block_bytes = static_cast<std::uint16_t>(encoder.LastBlockBytes()),
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

// Line lengths 0 to 170 (74, 75, 79, 80, 81, 148 and 149 among them), CR LF.
std::string EveryLength() {
  std::string text;
  for (std::size_t n = 0; n <= 170; ++n) {
    for (std::size_t i = 0; i < n; ++i) text += static_cast<char>('A' + (n + i) % 26);
    text += "\r\n";
  }
  return text;
}

// Blocks of 1, 16 and 128 records; numbering up to the end of the 64-bit
// range; a text of several reading pieces followed on the same tape by
// smaller files, which must not see any of the larger one's data.
TEST_F(TextBytesTest, EveryBlockingFactorNumberingAndSize) {
  const std::string text = EveryLength();
  ExpectImage({{"BF1.CMD", text}}, {10, 10}, 1);
  ExpectImage({{"BF1.CMD", text}, {"BF128.CMD", text}}, {10, 10}, 128);
  ExpectImage({{"HUGE.CMD", "N\r\nN\r\nN\r\n"}}, {INT64_MAX - 1, 1}, 16);
  std::string big;
  while (big.size() < (600u << 10)) big += text;
  big += std::string(300, 'Q');
  ExpectImage({{"BIG.CMD", big}, {"SMALL.CMD", "ONE\r\nTWO\r\n"}, {"BIG2.CMD", big.substr(0, big.size() / 3)},
               {"SMALL2.CMD", text}},
              {10, 10}, 16);
}

}  // namespace
}  // namespace kelvo::test

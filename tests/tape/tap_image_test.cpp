#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <sstream>

#include "support/tape_builder.h"
#include "support/test_support.h"
#include "tape/tap_image.h"
#include "tape/tape_open.h"

namespace kelvo::test {
namespace {

struct Opened {
  std::unique_ptr<CTapeDevice> tape;
  ErrorCode rc = 0;
};

Opened OpenImage(const std::string& device) {
  Opened o;
  o.rc = OpenTapeDevice(device, o.tape);
  return o;
}

// Reads one block; returns the data or the error as text for compact checks.
std::string ReadOne(CTapeDevice& tape, std::size_t capacity = 65536) {
  std::string buf(capacity, '\0');
  std::size_t n = 0;
  ErrorCode rc = tape.ReadBlock(buf.data(), buf.size(), n);
  if (rc != 0) return "#" + std::to_string(rc);
  return buf.substr(0, n);
}

class TapImageTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string Image(const TapeImageBuilder& b, const std::string& name = "t.tap") {
    b.WriteTo(dir / name);
    return (dir / name).string();
  }
  // Opens `b` and runs `steps` on it, separated by spaces: "r" reads a block
  // ("rN" into N bytes), "sN" spaces over N filemarks (back when negative),
  // "rew" rewinds. Gives what each read gave (the data, or "#code") and each
  // other step's code ("@code"), separated by spaces.
  std::string Run(const TapeImageBuilder& b, const std::string& steps) {
    Opened o = OpenImage(Image(b));
    EXPECT_EQ(o.rc, 0u);
    if (!o.tape) return "not opened";
    std::istringstream in(steps);
    std::string out;
    for (std::string step; in >> step;) {
      if (!out.empty()) out += ' ';
      if (step[0] == 'r' && step != "rew")
        out += ReadOne(*o.tape, step.size() > 1 ? std::stoul(step.substr(1)) : 65536);
      else
        out += "@" + std::to_string(step == "rew" ? o.tape->RewindTape(false)
                                                   : o.tape->SpaceFilemarks(std::stoi(step.substr(1)), false));
    }
    return out;
  }
};

// Reads give one block each, an odd length without its pad byte; a block
// larger than the buffer fails and stays for a retry. Gaps and records of
// unknown classes are passed over; a record marked bad fails, and again on
// retry, and spacing passes over it; reading ends at the end of the medium.
// Spacing goes both ways over filemarks; a damaged image fails cleanly, and
// spacing back runs into the beginning.
TEST_F(TapImageTest, ReadsAndSpaces) {
  const std::string data = TapeImageBuilder().Record("data").Bytes();
  const std::string damaged = "r r s1 s-1";
  const struct {
    const char* what;
    TapeImageBuilder tape;
    std::string steps;
    std::string gives;
  } cases[] = {
      {"records and filemarks",
       TapeImageBuilder().Record("abc").Record("0123456789").Filemark().Record("x").Filemark().Filemark(),
       "r r r r r r r r rew r", "abc 0123456789 #1101 x #1101 #1101 #1104 #1104 @0 abc"},
      {"block larger than the buffer", TapeImageBuilder().Record(std::string(300, 'q')), "r200 r300",
       "#234 " + std::string(300, 'q')},
      {"gaps, unknown classes, bad record, end of medium",
       TapeImageBuilder().EraseGap().Record("private", 3).Record("good").Record("bad!", 8).Filemark()
           .Record("after").EndOfMedium().Record("never"),
       "r r r s1 r r", "good #23 #23 @0 after #1104"},
      // Past the second filemark; beyond the third is the end; back before
      // the third, the second, the first; back into the beginning.
      {"spacing", TapeImageBuilder().Record("a1").Record("a2").Filemark().Record("b1").Filemark().Filemark(),
       "s2 r s1 s-1 r s-2 r r s-3 r r s-3 r", "@0 #1101 @1104 @0 #1101 @0 #1101 #1101 @0 #1101 b1 @1102 a1"},
      {"partial length word", TapeImageBuilder().Raw(data + std::string("\x05\x00", 2)), damaged,
       "data #23 @23 @1102"},
      {"length beyond the file",
       TapeImageBuilder().Raw(data + TapeImageBuilder().Record(std::string(600, 'z')).Bytes().substr(0, 300)),
       damaged, "data #23 @23 @1102"},
      {"huge length", TapeImageBuilder().Raw(data + std::string("\xff\xff\xff\x0f", 4) + "abc"), damaged,
       "data #23 @23 @1102"},
      {"length words differ",
       TapeImageBuilder().Raw(data + std::string("\x02\x00\x00\x00" "ab" "\x03\x00\x00\x00", 10)), damaged,
       "data #23 @23 @1102"},
  };
  for (const auto& c : cases) EXPECT_EQ(Run(c.tape, c.steps), c.gives) << c.what;
}

// Erasing after the first file cuts the image there.
TEST_F(TapImageTest, ErasingTruncatesWhatFollowed) {
  TapeImageBuilder b;
  b.Record("keep").Filemark().Record("old").Filemark().Filemark();
  const std::string path = Image(b);
  Opened o = OpenImage(path);
  ASSERT_EQ(o.rc, 0u);
  EXPECT_EQ(o.tape->SpaceFilemarks(1, false), 0u);
  EXPECT_EQ(o.tape->EraseTape(false), 0u);
  EXPECT_EQ(ReadOne(*o.tape), "#1104");
  EXPECT_EQ(ReadFileText(path).size(), 16u);  // "keep" and its filemark
}

TEST_F(TapImageTest, ReadOnlyFileIsWriteProtected) {
  TapeImageBuilder b;
  b.Filemark().Filemark();
  std::string path = Image(b);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  Opened o = OpenImage(path);
  ASSERT_EQ(o.rc, 0u);
  TapeMediaParameters media;
  EXPECT_EQ(o.tape->GetMediaParameters(media), 0u);
  EXPECT_TRUE(media.write_protected);
  EXPECT_EQ(o.tape->WriteBlock("x", 1), 19u);
  EXPECT_EQ(o.tape->WriteTapemark(1, false), 19u);
  EXPECT_EQ(o.tape->EraseTape(false), 19u);
  EXPECT_EQ(ReadFileText(path).size(), 8u);
}

TEST(TapeDeviceStrings, DriveNamesAndImages) {
  TapeBindings bindings;
  bindings.device[2] = "x.tap";
  EXPECT_EQ(ResolveTapeDevice("Tape2", bindings), "x.tap");
  EXPECT_EQ(ResolveTapeDevice("tape0", bindings), "/dev/nst0");
  EXPECT_EQ(ResolveTapeDevice("Tape4", bindings), "Tape4");
  EXPECT_TRUE(IsTapImageDevice("a.TAP,b.tap"));
  EXPECT_FALSE(IsTapImageDevice("/dev/nst0"));
  EXPECT_EQ(SplitTapVolumes("a.tap,,b.tap"), (std::vector<std::string>{"a.tap", "b.tap"}));
}

// Many records in one call land exactly as one WriteBlock each would put
// them: after records still collected, odd lengths padded, more records than
// one system call takes, and over the rest of a tape written in the middle.
TEST_F(TapImageTest, BlocksWrittenManyAtATimeMatchOneByOne) {
  std::string data(300 * 1024 + 333, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 31 + i / 511);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
  TapeImageBuilder old;
  old.Record("keep").Filemark().Record(std::string(5000, 'o')).Filemark();
  for (std::size_t block : {std::size_t{1}, std::size_t{7}, std::size_t{512}, std::size_t{65536}}) {
    const std::string one = Image(old, "one.tap");
    const std::string many = Image(old, "many.tap");
    Opened a = OpenImage(one);
    Opened b = OpenImage(many);
    ASSERT_EQ(a.rc, 0u);
    ASSERT_EQ(b.rc, 0u);
    const std::size_t length = block == 1 ? 1000 : data.size();
    for (CTapeDevice* t : {a.tape.get(), b.tape.get()}) {
      ASSERT_EQ(t->SpaceFilemarks(1, false), 0u);
      ASSERT_EQ(t->WriteBlock("head!", 5), 0u);
    }
    for (std::size_t off = 0; off < length; off += block) {
      ASSERT_EQ(a.tape->WriteBlock(bytes + off, std::min(block, length - off)), 0u);
    }
    ASSERT_EQ(b.tape->WriteBlocks(bytes, length, block), 0u);
    for (CTapeDevice* t : {a.tape.get(), b.tape.get()}) {
      ASSERT_EQ(t->WriteTapemark(1, false), 0u);
      t->Close();
    }
    EXPECT_EQ(ReadFileText(many), ReadFileText(one)) << "blocks of " << block;
    Opened c = OpenImage(many);
    ASSERT_EQ(c.rc, 0u);
    ASSERT_EQ(c.tape->SpaceFilemarks(1, false), 0u);
    EXPECT_EQ(ReadOne(*c.tape), "head!");
    EXPECT_EQ(ReadOne(*c.tape), data.substr(0, std::min(block, length)));
  }
}

// What a sequence of reads gives: the data read between two non-data results
// joined, each non-data result as "#code"; spaces past a file that cannot be
// read; ends at end of data or where the image's structure is damaged.
std::vector<std::string> ReadAll(CTapeDevice& tape, bool many, std::size_t capacity,
                                 std::size_t block_capacity) {
  std::vector<std::string> out;
  std::string data;
  std::string buf(capacity, '\0');
  for (int i = 0; i < 1000; ++i) {
    std::size_t n = 0;
    const ErrorCode rc =
        many ? tape.ReadBlocks(reinterpret_cast<std::uint8_t*>(buf.data()), capacity, block_capacity, n)
             : tape.ReadBlock(buf.data(), block_capacity, n);
    if (rc == 0) {
      EXPECT_LE(n, capacity);
      data += buf.substr(0, n);
      continue;
    }
    if (!data.empty()) out.push_back(data);
    data.clear();
    out.push_back("#" + std::to_string(rc));
    if (rc == 1104) break;
    if (rc == 234 || rc == 23) {
      // Past the file that does not fit or holds a bad record, when the
      // image's structure allows.
      const ErrorCode space = tape.SpaceFilemarks(1, false);
      out.push_back("space #" + std::to_string(space));
      if (space != 0) break;
    }
  }
  return out;
}

TEST_F(TapImageTest, BlocksReadManyAtATimeMatchOneByOne) {
  auto block = [](char c, std::size_t n) { return std::string(n, c); };
  TapeImageBuilder b;
  for (char c = 'a'; c < 'h'; ++c) b.Record(block(c, 7));  // odd: pad bytes
  b.Record(block('X', 8)).Record(block('Y', 8)).Record(block('Z', 8), 8);  // a bad record
  b.Record(block('y', 8)).Filemark();
  b.Record(block('m', 8)).EraseGap().Record(block('n', 8)).Record(block('o', 8), 3);  // skipped
  b.Record(block('p', 8)).Record(block('q', 12)).Record(block('r', 8)).Filemark();
  b.Record(block('L', 40)).Filemark();  // too big for a block capacity of 32
  b.Record(block('s', 8)).Record(block('t', 8));
  b.Raw(std::string("\x08\x00\x00\x00" "uuuuuuuu" "\x09\x00\x00\x00", 16));  // words differ
  const std::string path = Image(b);
  for (std::size_t capacity : {32u, 33u, 56u, 64u, 4096u}) {
    SCOPED_TRACE(capacity);
    Opened one = OpenImage(path);
    ASSERT_EQ(one.rc, 0u);
    const std::vector<std::string> expected = ReadAll(*one.tape, false, capacity, 32);
    one.tape->Close();
    // Three runs of data, each ended by a bad record (spaced over), a
    // filemark and the 40-byte block (spaced over), or the damaged end.
    ASSERT_EQ(expected.size(), 10u) << testing::PrintToString(expected);
    Opened many = OpenImage(path);
    ASSERT_EQ(many.rc, 0u);
    EXPECT_EQ(ReadAll(*many.tape, true, capacity, 32), expected);
    // Again after a rewind, with the run length of the end in mind.
    EXPECT_EQ(many.tape->RewindTape(false), 0u);
    EXPECT_EQ(ReadAll(*many.tape, true, capacity, 32), expected);
  }
}

TEST_F(TapImageTest, FailedManyBlockReadMovesNothing) {
  TapeImageBuilder b;
  for (int i = 0; i < 40; ++i) b.Record(std::string(512, static_cast<char>('A' + i % 26)));
  b.Filemark();
  Opened o = OpenImage(Image(b));
  ASSERT_EQ(o.rc, 0u);
  auto* tap = dynamic_cast<CTapImage*>(o.tape.get());
  ASSERT_NE(tap, nullptr);
  std::vector<std::uint8_t> buf(8192);
  std::size_t n = 0;
  ASSERT_EQ(tap->ReadBlocks(buf.data(), buf.size(), 512, n), 0u);
  EXPECT_EQ(n, 8192u);
  tap->InjectFault(1, 1117);
  EXPECT_EQ(tap->ReadBlocks(buf.data(), buf.size(), 512, n), 1117u);
  ASSERT_EQ(tap->ReadBlocks(buf.data(), buf.size(), 512, n), 0u);
  EXPECT_EQ(n, 8192u);
  EXPECT_EQ(buf[0], 'A' + 16);
  ASSERT_EQ(tap->ReadBlocks(buf.data(), buf.size(), 512, n), 0u);
  EXPECT_EQ(n, 8 * 512u);  // to the filemark
  EXPECT_EQ(tap->ReadBlocks(buf.data(), buf.size(), 512, n), 1101u);
}

}  // namespace
}  // namespace kelvo::test

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cctype>
#include <filesystem>
#include <set>
#include <string>

#include "filetypes/name_text.h"
#include "support/qva_tape_builder.h"
#include "support/tape_builder.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;

TEST(KduTape, WriteThenRestoreGivesBackEveryFile) {
  TempDir dir;
  const std::string tap = (dir / "t.tap").string();
  fs::create_directory(dir / "in");
  std::string binary(20000, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 31 + 7);
  WriteFileBytes(dir / "in" / "LOGO.IMG", binary);
  WriteFileBytes(dir / "in" / "JOB.CMD", "FIRST LINE\r\nSECOND\r\n");
  WriteFileBytes(dir / "in" / "EMPTY.FNT", "");

  ASSERT_EQ(RunKdu({"tape", "init", tap}).exit_code, 0);
  CommandResult w = RunKdu({"tape", "write", tap, (dir / "in" / "LOGO.IMG").string(),
                            (dir / "in" / "JOB.CMD").string(), (dir / "in" / "EMPTY.FNT").string()});
  ASSERT_EQ(w.exit_code, 0) << w.err;

  CommandResult ls = RunKdu({"tape", "ls", tap, "--json"});
  ASSERT_EQ(ls.exit_code, 0) << ls.err;
  auto j = nlohmann::json::parse(ls.out);
  EXPECT_EQ(j["tape"], tap);
  ASSERT_EQ(j["files"].size(), 3u);
  EXPECT_EQ(j["files"][0]["name"], "LOGO.IMG");
  EXPECT_EQ(j["files"][0]["size"], 20480);
  EXPECT_EQ(j["files"][0]["record_length"], 512);
  EXPECT_EQ(j["files"][0]["seq"], 1);
  EXPECT_EQ(j["files"][1]["type"], "CMD");
  EXPECT_EQ(j["files"][1]["record_length"], 80);
  EXPECT_EQ(j["files"][1]["last_block_bytes"], 160);
  EXPECT_EQ(j["files"][2]["seq"], 3);

  const std::string out = (dir / "out").string();
  fs::create_directory(out);
  CommandResult r = RunKdu({"tape", "restore", tap, "--match", "*.*", "-C", out});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  std::string padded = binary;
  padded.resize(20480, '\0');  // binary files come back as whole blocks
  EXPECT_EQ(ReadFileText(fs::path(out) / "LOGO.IMG"), padded);
  EXPECT_EQ(ReadFileText(fs::path(out) / "JOB.CMD"),
            "FIRST LINE" + std::string(64, ' ') + "000000\r\n" + "SECOND" + std::string(68, ' ') +
                "000000\r\n");
  EXPECT_EQ(ReadFileText(fs::path(out) / "EMPTY.FNT"), "");

  CommandResult again = RunKdu({"tape", "restore", tap, "job.cmd", "-C", out, "--remove-line-numbers"});
  ASSERT_EQ(again.exit_code, 0) << again.err;
  EXPECT_EQ(ReadFileText(fs::path(out) / "JOB.CMD"), "FIRST LINE\r\nSECOND\r\n");

  // Restored with their labels and written back, files keep their data.
  const std::string tap2 = (dir / "t2.tap").string();
  fs::create_directory(dir / "kept");
  ASSERT_EQ(RunKdu({"tape", "restore", tap, "--match", "LOGO.IMG", "-C", (dir / "kept").string(),
                    "--retain-labels"}).exit_code, 0);
  ASSERT_EQ(RunKdu({"tape", "write", tap2, (dir / "kept" / "LOGO.IMG").string()}).exit_code, 0);
  auto items = ParseTapImage(ReadFileText(tap2));
  ASSERT_EQ(items.size(), 1u + 3u + 2u);
  EXPECT_EQ(items[1].data + items[2].data + items[3].data, padded);
}

TEST(KduTape, ListsTextAndReportsFailures) {
  TempDir dir;
  const std::string tap = (dir / "t.tap").string();
  ASSERT_EQ(RunKdu({"tape", "init", tap}).exit_code, 0);
  CommandResult ls = RunKdu({"tape", "ls", tap});
  EXPECT_EQ(ls.exit_code, 0);
  EXPECT_NE(ls.out.find("0 File(s)"), std::string::npos);

  CommandResult missing = RunKdu({"tape", "ls", (dir / "none.tap").string()});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("The tape drive is either not present or is in use."), std::string::npos);

  CommandResult notthere = RunKdu({"tape", "restore", tap, "NOPE.CMD", "-C", dir.path().string()});
  EXPECT_EQ(notthere.exit_code, 1);
  EXPECT_NE(notthere.err.find("NOPE.CMD: not on the tape"), std::string::npos);

  CommandResult usage = RunKdu({"tape", "restore", tap});
  EXPECT_EQ(usage.exit_code, 2);
  EXPECT_NE(usage.err.find("Usage:"), std::string::npos) << usage.err;

  // A write-protected tape: the message, and a failure once Cancel is answered.
  std::filesystem::permissions(tap, std::filesystem::perms::owner_write |
                                        std::filesystem::perms::group_write |
                                        std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"tape", "init", tap}, {"tape", "write", tap, tap}}) {
    CommandResult wp = RunKdu(args);
    EXPECT_EQ(wp.exit_code, 1) << args[1];
    EXPECT_NE(wp.err.find("The media is write protected."), std::string::npos) << wp.err;
  }

  CommandResult info = RunKdu({"tape", "info", tap});
  EXPECT_EQ(info.exit_code, 0);
  EXPECT_NE(info.out.find("Drive Information for " + tap), std::string::npos);
  EXPECT_NE(info.out.find("[x] Variable-length Block Mode"), std::string::npos);
  EXPECT_NE(info.out.find("Maximum block size: 65536"), std::string::npos);
}

LabelFields Image(const std::string& name, std::uint32_t blocks) {
  LabelFields f;
  f.name = name;
  f.type = "IMG";
  f.blocks = blocks;
  return f;
}

// kdu cp and kdu tape restore take names in any order; a name given twice
// takes the tape's first and then its second copy; a missing name is named
// and fails the run after the others are restored.
TEST(KduTape, RestoresEveryNamedFileWhateverTheOrder) {
  TempDir dir;
  const std::string tap = (dir / "t.tap").string();
  TapeImageBuilder b;
  for (const char* n : {"A", "B", "C"})
    b.LabelledFile(MakeLabel(Image(n, 1)), std::string(512, n[0]));
  b.LabelledFile(MakeLabel(Image("A", 1)), std::string(512, 'a'));
  b.Filemark();
  b.WriteTo(tap);
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string a_data;
  };
  const Case cases[] = {
      {{"cp", tap, "@", "C.IMG", "A.IMG"}, 0, std::string(512, 'A')},
      {{"cp", tap, "@", "B.IMG", "NOPE.IMG", "A.IMG", "C.IMG", "A.IMG"}, 1, std::string(512, 'a')},
      {{"tape", "restore", tap, "C.IMG", "a.img", "B.IMG", "A.IMG", "-C", "@"}, 0,
       std::string(512, 'a')},
      {{"tape", "restore", tap, "NOPE.IMG", "C.IMG", "A.IMG", "B.IMG", "-C", "@"}, 1,
       std::string(512, 'A')},
  };
  int n = 0;
  for (Case c : cases) {
    const fs::path out = dir / ("out" + std::to_string(++n));
    fs::create_directory(out);
    for (std::string& a : c.args) if (a == "@") a = out.string();
    CommandResult r = RunKdu(c.args);
    SCOPED_TRACE(c.args[0] + " case " + std::to_string(n) + ": " + r.err);
    EXPECT_EQ(r.exit_code, c.exit_code);
    EXPECT_EQ(ReadFileText(out / "A.IMG"), c.a_data);
    EXPECT_EQ(ReadFileText(out / "C.IMG"), std::string(512, 'C'));
    EXPECT_EQ(fs::exists(out / "B.IMG"), n != 1);
    EXPECT_EQ(r.err.find("NOPE.IMG: not on the tape") != std::string::npos, c.exit_code == 1);
  }
}

// A file the tape cuts short is kept as NAME.partial and fails the run: a
// labelled file whose label promises 3 blocks with 1 on the tape, and a QVA
// file cut by the end of its last volume.
TEST(KduTape, FileCutShortIsKeptAsPartial) {
  TempDir dir;
  const std::string tap = (dir / "short.tap").string();
  TapeImageBuilder b;
  b.Record(MakeLabel(Image("SHORT", 3))).Record(std::string(512, 's')).Filemark().Filemark();
  b.WriteTo(tap);
  CommandResult r = RunKdu({"tape", "restore", tap, "--match", "*.*", "-C", dir.path().string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(ReadFileText(dir / "SHORT.IMG.partial"), std::string(512, 's'));
  EXPECT_FALSE(fs::exists(dir / "SHORT.IMG"));
  EXPECT_NE(r.err.find("SHORT.IMG: the tape holds 512 of the 1536 bytes promised; what was read "
                       "is kept as SHORT.IMG.partial"),
            std::string::npos)
      << r.err;

  QvaUnit unit;
  unit.types = {{"$Y$", {}}, {"FNT", {QvaFile{"CUT", std::string(8 * 512, 'q'), 512, 0}}}};
  QvaTapeBuilder qva(1024);
  qva.BreakVolumeAfter(8).Start().Unit(unit);
  const fs::path out = dir / "qva";
  fs::create_directory(out);
  const std::vector<std::string> volumes = qva.WriteVolumes(dir.path());
  ASSERT_EQ(volumes.size(), 2u);
  CommandResult q = RunKdu({"--tape0", volumes[0], "tape", "restore", "Tape0", "--qva", "-C",
                            out.string()});
  EXPECT_EQ(q.exit_code, 1);
  const std::string kept = ReadFileText(out / "CUT.FNT.partial");
  EXPECT_GT(kept.size(), 0u);
  EXPECT_EQ(kept, std::string(kept.size(), 'q'));
  EXPECT_NE(q.err.find("bytes promised; what was read is kept as CUT.FNT.partial"),
            std::string::npos)
      << q.err;
}

// Names read from a tape are bytes: every byte value in a label's name
// lists as valid JSON (with the bytes in hex), as plain text, and restores
// under a name that stays in the folder.
TEST(KduTape, NamesHoldingEveryByteListAndRestoreSafely) {
  TempDir dir;
  const std::string tap = (dir / "bytes.tap").string();
  TapeImageBuilder b;
  std::vector<std::string> bases;
  for (int first = 1; first < 256; first += 6) {
    std::string base;
    for (int c = first; c < first + 6 && c < 256; ++c) base.push_back(static_cast<char>(c));
    bases.push_back(base);
    b.LabelledFile(MakeLabel(Image(base, 1)), std::string(512, 'x'));
  }
  b.Filemark();
  b.WriteTo(tap);

  CommandResult ls = RunKdu({"tape", "ls", tap, "--json"});
  ASSERT_EQ(ls.exit_code, 0) << ls.err;
  nlohmann::json j = nlohmann::json::parse(ls.out);
  ASSERT_EQ(j["files"].size(), bases.size());
  std::set<std::string> pc_names;
  for (std::size_t i = 0; i < bases.size(); ++i) {
    const nlohmann::json& f = j["files"][i];
    const std::string name = f["name"];
    const std::string hex = f.value("name_hex", std::string());
    std::string bytes = name;
    if (!hex.empty()) {
      bytes.clear();
      for (std::size_t k = 0; k + 1 < hex.size(); k += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(k, 2), nullptr, 16)));
    }
    std::string upper = bases[i] + ".IMG";
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(bytes, upper) << name;
    pc_names.insert(SafePcFileName(upper));
  }

  CommandResult text = RunKdu({"tape", "ls", tap});
  ASSERT_EQ(text.exit_code, 0);
  for (char c : text.out) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << int(c);

  const fs::path out = dir / "out";
  fs::create_directory(out);
  CommandResult r = RunKdu({"tape", "restore", tap, "--match", "*.*", "-C", out.string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.err.find("restored as +,-._0.IMG"), std::string::npos) << r.err;
  std::set<std::string> restored;
  for (const auto& e : fs::recursive_directory_iterator(dir.path())) {
    if (e.path().parent_path() == out)
      restored.insert(e.path().filename().string());
    else
      EXPECT_TRUE(e.path() == out || e.path() == tap) << e.path();
  }
  EXPECT_EQ(restored, pc_names);
  for (const std::string& name : restored)
    for (char c : name) EXPECT_TRUE(c >= 0x20 && c < 0x7F && c != '/' && c != '\\') << name;
}

TEST(KduTape, DriveNamesFollowTheDeviceOptions) {
  TempDir dir;
  const std::string tap = (dir / "bound.tap").string();
  ASSERT_EQ(RunKdu({"--tape2", tap, "tape", "init", "Tape2"}).exit_code, 0);
  EXPECT_EQ(ReadFileText(tap), std::string(8, '\0'));
  EXPECT_EQ(RunKdu({"tape", "rewind", "Tape2", "--tape2", tap}).exit_code, 0);
  EXPECT_EQ(RunKdu({"tape", "erase", "Tape2", "--tape2", tap}).exit_code, 0);
  EXPECT_EQ(ReadFileText(tap), "");
}

}  // namespace
}  // namespace kelvo::test

// kdu tape and kdu cp with tapes: labelled and QVA tape images end to end
// (the tape formats themselves are tested in tape/).
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cctype>
#include <set>

#include "filetypes/name_text.h"
#include "support/qva_tape_builder.h"
#include "support/tape_builder.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct KduTape : ::testing::Test {
  TempDir dir;
  std::string tap = (dir / "t.tap").string();
  fs::path Out(const std::string& name) const {
    fs::create_directories(dir / name);
    return dir / name;
  }
};

LabelFields Image(const std::string& name, std::uint32_t blocks) {
  return {.name = name, .type = "IMG", .blocks = blocks};
}

TEST_F(KduTape, WriteListAndRestore) {
  WriteFileBytes(dir / "LOGO.IMG", std::string(20000, 'i'));
  WriteFileBytes(dir / "JOB.CMD", "FIRST LINE\r\nSECOND\r\n");
  ASSERT_EQ(RunKdu({"--tape2", tap, "tape", "init", "Tape2"}).exit_code, 0);
  ASSERT_EQ(RunKdu({"tape", "write", tap, (dir / "LOGO.IMG").string(), (dir / "JOB.CMD").string()}).exit_code, 0);
  const CommandResult ls = RunKdu({"tape", "ls", tap, "--json"});
  ASSERT_EQ(ls.exit_code, 0) << ls.err;
  const json j = json::parse(ls.out);
  EXPECT_EQ(j["tape"], tap);
  ASSERT_EQ(j["files"].size(), 2u);
  EXPECT_EQ(j["files"][0]["name"], "LOGO.IMG");
  EXPECT_EQ(j["files"][0]["size"], 20480);
  EXPECT_EQ(j["files"][1]["record_length"], 80);
  EXPECT_NE(RunKdu({"tape", "ls", tap}).out.find("2 File(s)"), std::string::npos);

  const fs::path out = Out("out");
  ASSERT_EQ(RunKdu({"tape", "restore", tap, "--match", "*.*", "-C", out.string()}).exit_code, 0);
  EXPECT_EQ(fs::file_size(out / "LOGO.IMG"), 20480u);
  ASSERT_EQ(RunKdu({"tape", "restore", tap, "job.cmd", "-C", out.string(), "--remove-line-numbers"}).exit_code, 0);
  EXPECT_EQ(ReadFileText(out / "JOB.CMD"), "FIRST LINE\r\nSECOND\r\n");
  ASSERT_EQ(RunKdu({"tape", "restore", tap, "LOGO.IMG", "-C", out.string(), "--retain-labels"}).exit_code, 0);
  EXPECT_EQ(fs::file_size(out / "LOGO.IMG"), 128u + 20480u);  // after its label
}

// A missing name and a file cut short (kept as NAME.partial) fail the run
// after the other files; a write-protected tape fails with its message.
TEST_F(KduTape, FailuresExitWith1) {
  TapeImageBuilder b;
  for (const char* n : {"A", "B"}) b.LabelledFile(MakeLabel(Image(n, 1)), std::string(512, n[0]));
  b.Record(MakeLabel(Image("SHORT", 3))).Record(std::string(512, 's')).Filemark().Filemark();
  b.WriteTo(tap);
  const fs::path out = Out("out");
  const CommandResult r = RunKdu({"cp", tap, out.string(), "B.IMG", "NOPE.IMG", "SHORT.IMG", "A.IMG"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(ReadFileText(out / "A.IMG"), std::string(512, 'A'));
  EXPECT_EQ(ReadFileText(out / "B.IMG"), std::string(512, 'B'));
  EXPECT_EQ(ReadFileText(out / "SHORT.IMG.partial"), std::string(512, 's'));
  EXPECT_NE(r.err.find("NOPE.IMG: not on the tape"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("SHORT.IMG: the tape holds 512 of the 1536 bytes promised; what was read "
                       "is kept as SHORT.IMG.partial"), std::string::npos) << r.err;

  const CommandResult missing = RunKdu({"tape", "ls", (dir / "none.tap").string()});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("The tape drive is either not present or is in use."), std::string::npos);
  fs::permissions(tap, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  for (const std::string verb : {"init", "write", "erase"}) {
    std::vector<std::string> args = {"tape", verb, tap};
    if (verb == "write") args.push_back(tap);
    const CommandResult wp = RunKdu(args);
    EXPECT_EQ(wp.exit_code, 1) << verb;
    EXPECT_NE(wp.err.find("The media is write protected."), std::string::npos) << verb << wp.err;
  }
  fs::permissions(tap, fs::perms::owner_write, fs::perm_options::add);
  const CommandResult info = RunKdu({"tape", "info", tap});
  EXPECT_EQ(info.exit_code, 0);
  EXPECT_NE(info.out.find("Maximum block size: 65536"), std::string::npos);
  EXPECT_EQ(RunKdu({"tape", "rewind", "Tape2", "--tape2", tap}).exit_code, 0);
  EXPECT_EQ(RunKdu({"tape", "erase", "Tape2", "--tape2", tap}).exit_code, 0);
  EXPECT_EQ(ReadFileText(tap), "");
}

// Names read from a tape are bytes: every byte value in a label's name lists
// as valid JSON (with the bytes in hex) and as plain text, and every name,
// a literal ../X or /X included, restores inside the destination folder.
TEST_F(KduTape, NamesOfAnyBytesListAndRestoreInsideTheFolder) {
  std::vector<LabelFields> labels = {Image("../X", 1), Image("/X", 1), Image("..", 1), Image("../../", 1)};
  for (int first = 1; first < 256; first += 6) {
    std::string base;
    for (int c = first; c < first + 6 && c < 256; ++c) base.push_back(static_cast<char>(c));
    labels.push_back(Image(base, 1));
  }
  TapeImageBuilder b;
  for (const LabelFields& l : labels) b.LabelledFile(MakeLabel(l), std::string(512, 'x'));
  b.Filemark();
  b.WriteTo(tap);

  const CommandResult ls = RunKdu({"tape", "ls", tap, "--json"});
  ASSERT_EQ(ls.exit_code, 0) << ls.err;
  const json j = json::parse(ls.out);
  ASSERT_EQ(j["files"].size(), labels.size()) << ls.out;
  std::set<std::string> pc_names;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const std::string hex = j["files"][i].value("name_hex", std::string());
    std::string bytes = j["files"][i]["name"];
    if (!hex.empty()) bytes.clear();
    for (std::size_t k = 0; k + 1 < hex.size(); k += 2)
      bytes.push_back(static_cast<char>(std::stoi(hex.substr(k, 2), nullptr, 16)));
    std::string upper = labels[i].name + "." + labels[i].type;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(bytes, upper);
    pc_names.insert(SafePcFileName(upper));
  }
  const CommandResult text = RunKdu({"tape", "ls", tap});
  ASSERT_EQ(text.exit_code, 0);
  for (char c : text.out) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << int(c);

  const fs::path out = Out("a/b/out");
  const CommandResult r = RunKdu({"tape", "restore", tap, "--match", "*.*", "-C", out.string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.err.find("restored as +,-._0.IMG"), std::string::npos) << r.err;
  std::set<std::string> restored;
  for (const auto& e : fs::recursive_directory_iterator(dir.path())) {
    if (e.path().parent_path() == out) restored.insert(e.path().filename().string());
    else EXPECT_TRUE(e.is_directory() || e.path() == tap) << "outside the folder: " << e.path();
  }
  EXPECT_EQ(restored, pc_names);
}

// A QVA set of two volumes: the volume question is answered by --yes, and
// unanswered it cancels.
TEST_F(KduTape, QvaSetOfTwoVolumes) {
  QvaUnit u;
  u.types = {{"$Y$", {}}, {"FNT", {QvaBinaryFile("REPORT", 8, 'r'), QvaBinaryFile("TITLE", 4, 't')}}};
  const std::vector<std::string> volumes =
      QvaTapeBuilder(1024).BreakVolumeAfter(8).Start().Unit(u).WriteVolumes(dir.path());
  ASSERT_EQ(volumes.size(), 2u);
  const fs::path out = Out("out");
  const auto restore = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = {"tape", "restore", JoinVolumes(volumes), "--qva", "-C", out.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunKdu(args);
  };
  CommandResult r = restore({"--type-dirs", "--yes"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.err.find("Mount QVA Volume 2."), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("2 file(s) restored"), std::string::npos) << r.out;
  EXPECT_EQ(ReadFileText(out / "FNT/TITLE.FNT"), SeededBytes(2048, 't'));

  r = restore({});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("Tape restore cancelled at user's request."), std::string::npos) << r.err;
  TapeImageBuilder().Record(std::string(128, 'L')).WriteTo(tap);
  r = RunKdu({"tape", "restore", tap, "--qva", "-C", out.string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("This is not a valid QVA Volume"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kelvo::test

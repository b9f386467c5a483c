// kdu new, ls, put, get, rm, mv and check on image files: exit status,
// output shape and messages (the file system itself is tested in diskfs/).
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/diskfs_image_builder.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct KduDisk : ::testing::Test {
  TempDir dir;
  std::string img = (dir / "disk.kdi").string();
  std::string P(const std::string& name) const { return (dir / name).string(); }
  json Ls() { return json::parse(RunKdu({"ls", "--json", img}).out); }
};

TEST_F(KduDisk, NewAndListingShapes) {
  ASSERT_EQ(RunKdu({"new", img}).exit_code, 0);
  EXPECT_EQ(fs::file_size(img), 40960u);
  EXPECT_EQ(RunKdu({"ls", img}).out, "Contents of '" + img +
                                         "'\nDisk ID: Kelvo Disk Utility\n0 File(s)\n0 bytes "
                                         "(Disk free space: 662KB)\n");
  const CommandResult again = RunKdu({"new", img, "--id", "Other"});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_NE(again.err.find("already exists"), std::string::npos);
  ASSERT_EQ(RunKdu({"new", P("id.kdi"), "--id", "A disk ID that is far longer than thirty"}).exit_code, 0);
  EXPECT_EQ(json::parse(RunKdu({"ls", "--json", P("id.kdi")}).out)["disk_id"], "A disk ID that is far longer t");

  ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "REPORT", 80, 3, 0x41);
  b.PutEntry(ImageBuilder::DirectoryLbn("JSL"), 5, "JOB", {0, 80, 0, 2, 0, 2, 160, 0, 83});
  WriteFileBytes(img, b.Text());
  const std::string text = RunKdu({"ls", img}).out;
  EXPECT_NE(text.find("Report.fnt         1536  Font File (300 dpi)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("2 File(s)\n2.50KB (Disk free space: 659KB)\n"), std::string::npos);
  EXPECT_NE(RunKdu({"ls", "--long", img}).out.find("Job.jsl            1024     80     83    160  Job Source File"),
            std::string::npos);
  json j = Ls();
  EXPECT_EQ(j["place"], img);
  EXPECT_EQ(j["free"], 1403 * 512 - 40960 - 5 * 512);
  ASSERT_EQ(j["files"].size(), 2u);
  EXPECT_EQ(j["files"][1], json::parse(R"({"name":"Job.jsl","type":"JSL","description":"Job Source File",
      "size":1024,"blocks":2,"record_size":80,"start_lbn":83,"first_free_byte":160})"));

  // A disk ID of bytes that are not text is escaped, with its bytes in hex.
  const std::string odd_id("\xFE\x01 A\\", 5);
  std::fill_n(b.bytes().begin() + 512 + 68, 30, 0);
  std::copy(odd_id.begin(), odd_id.end(), b.bytes().begin() + 512 + 68);
  WriteFileBytes(img, b.Text());
  j = Ls();
  EXPECT_EQ(j["disk_id"], "\\xFE\\x01 A\\x5C");
  EXPECT_EQ(j["disk_id_hex"], "FE0120415C");
  EXPECT_NE(RunKdu({"ls", img}).out.find("Disk ID: \\xFE\\x01 A\\x5C\n"), std::string::npos);
  b.bytes()[512 + 66] = 0;  // no "ID" marker: no disk ID
  WriteFileBytes(img, b.Text());
  EXPECT_TRUE(Ls()["disk_id"].is_null());
}

TEST_F(KduDisk, DamageIsListedReportedAndChecked) {
  ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "REPORT", 80, 3, 0x11);
  b.AddBinaryFile("TSK", 0, "JOB", 82, 2, 0x22);  // shares LBN 82
  b.SetWord(17 * 512 + 2, 13);                    // the FNT chain loops
  WriteFileBytes(img, b.Text());
  const CommandResult ls = RunKdu({"ls", img, "--json"});
  EXPECT_EQ(ls.exit_code, 0);
  EXPECT_EQ(json::parse(ls.out)["problems"].size(), 1u);
  EXPECT_NE(ls.err.find("links back to LBN 13"), std::string::npos) << ls.err;

  const CommandResult text = RunKdu({"check", img});
  EXPECT_EQ(text.exit_code, 1);
  EXPECT_NE(text.out.find("damage: REPORT.FNT and JOB.TSK share 1 block(s) from LBN 82"), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("2 problem(s) found"), std::string::npos);
  const CommandResult js = RunKdu({"check", "--json", img});
  EXPECT_EQ(js.exit_code, 1);
  const json doc = json::parse(js.out);
  EXPECT_FALSE(doc["clean"].get<bool>());
  ASSERT_EQ(doc["findings"].size(), 2u);
  EXPECT_EQ(doc["findings"][0]["kind"], "chain-cycle");
  EXPECT_EQ(ReadFileText(img), b.Text());  // check changes nothing

  ASSERT_EQ(RunKdu({"new", P("new.kdi")}).exit_code, 0);
  const CommandResult clean = RunKdu({"check", P("new.kdi")});
  EXPECT_EQ(clean.exit_code, 0);
  EXPECT_NE(clean.out.find("0 file(s), 75 directory sector(s) checked; no damage found"), std::string::npos);
}

TEST_F(KduDisk, RefusalsNameTheirCause) {
  WriteFileBytes(img, std::string(35839, '\0'));
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"ls", img}, "kdu: The file is not a valid Kelvo disk image.\n"},
      {{"check", img}, "kdu: The file is not a valid Kelvo disk image.\n"},
      {{"ls", P("none.kdi")}, "kdu: The system cannot find the specified file.\n"},
  };
  for (const auto& c : cases) {
    const CommandResult r = RunKdu(c.args);
    EXPECT_EQ(r.exit_code, 1) << c.args[0];
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.out, "");
  }
}

TEST_F(KduDisk, PutGetRemoveAndRename) {
  ASSERT_EQ(RunKdu({"new", img}).exit_code, 0);
  const std::string empty_image = ReadFileText(img);
  WriteFileBytes(dir / "report.fnt", std::string(700, 'F'));
  WriteFileBytes(dir / "job.jsl", "FIRST LINE\nSECOND\n");
  WriteFileBytes(dir / "notes.txt", "no such type");
  WriteFileBytes(dir / "_x.fnt", "x");
  const CommandResult bad = RunKdu({"put", img, P("notes.txt"), P("report.fnt")});
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_NE(bad.err.find("stopped after 0 of 2 file(s)"), std::string::npos) << bad.err;
  EXPECT_EQ(ReadFileText(img), empty_image);  // saved only when every file arrived
  const CommandResult invalid = RunKdu({"put", img, P("_x.fnt")});
  EXPECT_EQ(invalid.exit_code, 1);
  EXPECT_NE(invalid.err.find("_x.fnt: Invalid file name specified"), std::string::npos) << invalid.err;

  ASSERT_EQ(RunKdu({"put", img, P("report.fnt"), P("job.jsl")}).exit_code, 0);
  fs::create_directory(dir / "out");
  ASSERT_EQ(RunKdu({"get", img, "REPORT.FNT", "job.JSL", "-C", P("out")}).exit_code, 0);
  EXPECT_EQ(ReadFileText(dir / "out/Report.fnt"), std::string(700, 'F') + std::string(324, '\0'));
  EXPECT_EQ(fs::file_size(dir / "out/Job.jsl"), 2u * 82);
  ASSERT_EQ(RunKdu({"get", "--retain-format", img, "JOB.JSL", "-C", P("out")}).exit_code, 0);
  EXPECT_EQ(fs::file_size(dir / "out/Job.jsl"), 160u);

  const struct {
    std::vector<std::string> args;
    std::string err;
  } refusals[] = {
      {{"get", img, "NONE.FNT", "-C", P("out")}, "kdu: NONE.FNT: The system cannot find the specified file.\n"},
      {{"mv", img, "report.fnt", "JOB.JSL"}, "kdu: Cannot rename. File already exists.\n"},
      {{"mv", img, "report.fnt", "report.txt"}, "kdu: Invalid file name specified\n"},
      {{"rm", img, "GONE.FNT"}, "kdu: GONE.FNT: The system cannot find the specified file.\n"},
  };
  for (const auto& c : refusals) {
    const CommandResult r = RunKdu(c.args);
    EXPECT_EQ(r.exit_code, 1) << c.args[0];
    EXPECT_EQ(r.err, c.err);
  }
  ASSERT_EQ(RunKdu({"mv", img, "report.fnt", "ab.fnt"}).exit_code, 0);
  ASSERT_EQ(RunKdu({"rm", img, "JOB.JSL"}).exit_code, 0);
  const json j = Ls();
  ASSERT_EQ(j["files"].size(), 1u);
  EXPECT_EQ(j["files"][0]["name"], "Ab.fnt");
}

TEST_F(KduDisk, AnEntryWhoseNameReadsAsEmptyIsCopiedByIndex) {
  ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "ONE", 80, 1, 'a');
  b.AddBinaryFile("FNT", 1, "X", 81, 1, 'b');
  b.SetWord(13 * 512 + 4 + 22, 29 * 1600);  // the second name decodes to nothing
  WriteFileBytes(img, b.Text());
  const CommandResult check = RunKdu({"check", img});
  EXPECT_EQ(check.exit_code, 1);
  EXPECT_NE(check.out.find("reads as empty (listed as .fnt)"), std::string::npos) << check.out;
  ASSERT_EQ(RunKdu({"get", img, "--index", "2", "-C", dir.path().string()}).exit_code, 0);
  EXPECT_EQ(ReadFileText(dir / "_2.fnt"), std::string(512, 'b'));
  EXPECT_EQ(RunKdu({"get", img, "--index", "3"}).exit_code, 1);
}

}  // namespace
}  // namespace kelvo::test

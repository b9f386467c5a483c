// kdu new, ls, check, put, get, rm and mv on image files: exit status,
// output shape and a message each (the file system is tested in diskfs/).
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

TEST_F(KduDisk, NewListAndCheck) {
  ASSERT_EQ(RunKdu({"new", img}).exit_code, 0);
  EXPECT_EQ(RunKdu({"ls", img}).out, "Contents of '" + img +
                                         "'\nDisk ID: Kelvo Disk Utility\n0 File(s)\n0 bytes "
                                         "(Disk free space: 662KB)\n");
  const CommandResult clean = RunKdu({"check", img});
  EXPECT_EQ(clean.exit_code, 0);
  EXPECT_NE(clean.out.find("0 file(s), 75 directory sector(s) checked; no damage found"), std::string::npos);
  const CommandResult again = RunKdu({"new", img, "--id", "Other"});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_NE(again.err.find("already exists"), std::string::npos);

  // Two files sharing a block, one chain looping back.
  ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "REPORT", 80, 3, 0x11);
  b.AddBinaryFile("TSK", 0, "JOB", 82, 2, 0x22);
  b.SetWord(17 * 512 + 2, 13);
  const std::string odd_id("\xFE\x01 A\\", 5);  // a disk ID that is not text
  std::fill_n(b.bytes().begin() + 512 + 68, 30, 0);
  std::copy(odd_id.begin(), odd_id.end(), b.bytes().begin() + 512 + 68);
  WriteFileBytes(img, b.Text());
  const CommandResult ls = RunKdu({"ls", img, "--json"});
  EXPECT_EQ(ls.exit_code, 0);
  EXPECT_NE(ls.err.find("links back to LBN 13"), std::string::npos) << ls.err;
  const json j = json::parse(ls.out);
  EXPECT_EQ(j["problems"].size(), 1u);
  EXPECT_EQ(j["disk_id_hex"], "FE0120415C");
  ASSERT_EQ(j["files"].size(), 2u);
  EXPECT_EQ(j["files"][1], json::parse(R"({"name":"Job.tsk","type":"TSK","description":"System Task File",
      "size":1024,"blocks":2,"record_size":512,"start_lbn":82,"first_free_byte":0})"));
  const CommandResult js = RunKdu({"check", "--json", img});
  EXPECT_EQ(js.exit_code, 1);
  EXPECT_EQ(json::parse(js.out)["findings"][0]["kind"], "chain-cycle");

  WriteFileBytes(img, std::string(35839, '\0'));
  const CommandResult bad = RunKdu({"ls", img});
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_EQ(bad.err, "kdu: The file is not a valid Kelvo disk image.\n");
}

TEST_F(KduDisk, PutGetRemoveAndRename) {
  ASSERT_EQ(RunKdu({"new", img}).exit_code, 0);
  const std::string empty_image = ReadFileText(img);
  WriteFileBytes(dir / "report.fnt", std::string(700, 'F'));
  WriteFileBytes(dir / "job.jsl", "FIRST LINE\nSECOND\n");
  WriteFileBytes(dir / "notes.txt", "no such type");
  const CommandResult bad = RunKdu({"put", img, P("notes.txt"), P("report.fnt")});
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_NE(bad.err.find("stopped after 0 of 2 file(s)"), std::string::npos) << bad.err;
  EXPECT_EQ(ReadFileText(img), empty_image);  // saved only when every file arrived
  WriteFileBytes(dir / "_x.fnt", "x");
  const CommandResult invalid = RunKdu({"put", img, P("_x.fnt")});
  EXPECT_EQ(invalid.exit_code, 1);
  EXPECT_NE(invalid.err.find("_x.fnt: Invalid file name specified"), std::string::npos) << invalid.err;

  ASSERT_EQ(RunKdu({"put", img, P("report.fnt"), P("job.jsl")}).exit_code, 0);
  fs::create_directory(dir / "out");
  ASSERT_EQ(RunKdu({"get", "--retain-format", img, "REPORT.FNT", "job.JSL", "-C", P("out")}).exit_code, 0);
  EXPECT_EQ(fs::file_size(dir / "out/Report.fnt"), 1024u);
  EXPECT_EQ(fs::file_size(dir / "out/Job.jsl"), 160u);  // the records as stored
  EXPECT_EQ(RunKdu({"rm", img, "GONE.FNT"}).exit_code, 1);
  ASSERT_EQ(RunKdu({"mv", img, "report.fnt", "ab.fnt"}).exit_code, 0);
  ASSERT_EQ(RunKdu({"rm", img, "JOB.JSL"}).exit_code, 0);
  const json j = Ls();
  ASSERT_EQ(j["files"].size(), 1u);
  EXPECT_EQ(j["files"][0]["name"], "Ab.fnt");

  // An entry whose name decodes to nothing is reached by its index.
  ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "ONE", 80, 1, 'a');
  b.AddBinaryFile("FNT", 1, "X", 81, 1, 'b');
  b.SetWord(13 * 512 + 4 + 22, 29 * 1600);
  WriteFileBytes(img, b.Text());
  const CommandResult check = RunKdu({"check", img});
  EXPECT_EQ(check.exit_code, 1);
  EXPECT_NE(check.out.find("reads as empty (listed as .fnt)"), std::string::npos) << check.out;
  ASSERT_EQ(RunKdu({"get", img, "--index", "2", "-C", P("out")}).exit_code, 0);
  EXPECT_EQ(ReadFileText(dir / "out/_2.fnt"), std::string(512, 'b'));
  EXPECT_EQ(RunKdu({"get", img, "--index", "3"}).exit_code, 1);
}

}  // namespace
}  // namespace kelvo::test

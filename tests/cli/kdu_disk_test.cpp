// kdu new, ls, put, get, rm, mv end to end.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

#include "support/diskfs_image_builder.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {
namespace fs = std::filesystem;

std::string Img(const TempDir& dir) { return (dir / "disk.kdi").string(); }

TEST(KduDisk, NewWritesAnEmpty720KImage) {
  TempDir dir;
  CommandResult r = RunKdu({"new", Img(dir)});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(fs::file_size(Img(dir)), 40960u);
  CommandResult ls = RunKdu({"ls", Img(dir)});
  ASSERT_EQ(ls.exit_code, 0) << ls.err;
  EXPECT_EQ(ls.out, "Contents of '" + Img(dir) +
                        "'\nDisk ID: Kelvo Disk Utility\n0 File(s)\n0 bytes (Disk free space: "
                        "662KB)\n");

  // An existing file is never overwritten.
  CommandResult again = RunKdu({"new", Img(dir), "--id", "Other"});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_NE(again.err.find("already exists"), std::string::npos);

  ASSERT_EQ(RunKdu({"new", (dir / "id.kdi").string(), "--id",
                    "A disk ID that is far longer than thirty characters"})
                .exit_code,
            0);
  nlohmann::json j = nlohmann::json::parse(RunKdu({"ls", "--json", (dir / "id.kdi").string()}).out);
  EXPECT_EQ(j["disk_id"], "A disk ID that is far longer t");
  EXPECT_EQ(RunKdu({"new"}).exit_code, 2);
}

TEST(KduDisk, ListsAnImageBuiltToTheFormat) {
  TempDir dir;
  ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "REPORT", 80, 3, 0x41);
  b.PutEntry(ImageBuilder::DirectoryLbn("JSL"), 5, "JOB", {0, 80, 0, 2, 0, 2, 160, 0, 83});
  WriteFileBytes(Img(dir), b.Text());

  CommandResult text = RunKdu({"ls", Img(dir)});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  EXPECT_NE(text.out.find("Report.fnt         1536  Font File (300 dpi)\n"), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("Job.jsl            1024  Job Source File\n"), std::string::npos);
  EXPECT_NE(text.out.find("2 File(s)\n2.50KB (Disk free space: 659KB)\n"), std::string::npos);

  CommandResult long_form = RunKdu({"ls", "--long", Img(dir)});
  EXPECT_NE(long_form.out.find("Job.jsl            1024     80     83    160  Job Source File"),
            std::string::npos)
      << long_form.out;

  CommandResult json = RunKdu({"ls", Img(dir), "--json"});
  ASSERT_EQ(json.exit_code, 0);
  nlohmann::json j = nlohmann::json::parse(json.out);
  EXPECT_EQ(j["place"], Img(dir));
  EXPECT_EQ(j["disk_id"], "Kelvo Disk Utility");
  EXPECT_EQ(j["capacity"], 1403 * 512);
  EXPECT_EQ(j["free"], 1403 * 512 - 40960 - 5 * 512);
  ASSERT_EQ(j["files"].size(), 2u);
  const nlohmann::json& job = j["files"][1];
  EXPECT_EQ(job["name"], "Job.jsl");
  EXPECT_EQ(job["type"], "JSL");
  EXPECT_EQ(job["description"], "Job Source File");
  EXPECT_EQ(job["size"], 1024);
  EXPECT_EQ(job["blocks"], 2);
  EXPECT_EQ(job["record_size"], 80);
  EXPECT_EQ(job["start_lbn"], 83);
  EXPECT_EQ(job["first_free_byte"], 160);

  // A disk ID holding bytes that are not text: escaped, its bytes in hex.
  const std::string odd_id("\xFE\x01 A\\", 5);
  std::fill_n(b.bytes().begin() + 512 + 68, 30, 0);
  std::copy(odd_id.begin(), odd_id.end(), b.bytes().begin() + 512 + 68);
  WriteFileBytes(Img(dir), b.Text());
  CommandResult odd = RunKdu({"ls", "--json", Img(dir)});
  ASSERT_EQ(odd.exit_code, 0) << odd.err;
  j = nlohmann::json::parse(odd.out);
  EXPECT_EQ(j["disk_id"], "\\xFE\\x01 A\\x5C");
  EXPECT_EQ(j["disk_id_hex"], "FE0120415C");
  EXPECT_NE(RunKdu({"ls", Img(dir)}).out.find("Disk ID: \\xFE\\x01 A\\x5C\n"), std::string::npos);

  b.bytes()[512 + 66] = 0;  // no "ID" marker: no disk ID
  WriteFileBytes(Img(dir), b.Text());
  EXPECT_TRUE(nlohmann::json::parse(RunKdu({"ls", "--json", Img(dir)}).out)["disk_id"].is_null());
}

TEST(KduDisk, DamagedImageListsWhatItCan) {
  TempDir dir;
  ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "ONE", 80, 1, 1);
  b.SetWord(17 * 512 + 2, 13);  // FNT chain loops
  WriteFileBytes(Img(dir), b.Text());
  CommandResult r = RunKdu({"ls", Img(dir), "--json"});
  EXPECT_EQ(r.exit_code, 0);
  nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["files"].size(), 1u);
  ASSERT_EQ(j["problems"].size(), 1u);
  EXPECT_NE(r.err.find("links back to LBN 13"), std::string::npos) << r.err;
}

TEST(KduDisk, RefusesWhatIsNotAnImage) {
  TempDir dir;
  WriteFileBytes(Img(dir), std::string(35839, '\0'));
  CommandResult r = RunKdu({"ls", Img(dir)});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "kdu: The file is not a valid Kelvo disk image.\n");
  CommandResult missing = RunKdu({"ls", (dir / "none.kdi").string()});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.err, "kdu: The system cannot find the specified file.\n");
}

TEST(KduDisk, PutGetRoundTrip) {
  TempDir dir;
  ASSERT_EQ(RunKdu({"new", Img(dir)}).exit_code, 0);
  WriteFileBytes(dir / "report.fnt", std::string(700, 'F'));
  WriteFileBytes(dir / "job.jsl", "FIRST LINE\nSECOND\n");
  CommandResult put = RunKdu({"put", Img(dir), (dir / "report.fnt").string(), (dir / "job.jsl").string()});
  ASSERT_EQ(put.exit_code, 0) << put.err;

  fs::create_directory(dir / "out");
  CommandResult get = RunKdu({"get", Img(dir), "REPORT.FNT", "job.JSL", "-C", (dir / "out").string()});
  ASSERT_EQ(get.exit_code, 0) << get.err;
  EXPECT_EQ(ReadFileText(dir / "out" / "Report.fnt"), std::string(700, 'F') + std::string(324, '\0'));
  EXPECT_EQ(ReadFileText(dir / "out" / "Job.jsl"),
            "FIRST LINE" + std::string(64, ' ') + "000010\r\nSECOND" + std::string(68, ' ') +
                "000020\r\n");
  CommandResult raw = RunKdu({"get", "--retain-format", Img(dir), "JOB.JSL", "-C", (dir / "out").string()});
  ASSERT_EQ(raw.exit_code, 0);
  EXPECT_EQ(fs::file_size(dir / "out" / "Job.jsl"), 160u);

  CommandResult none = RunKdu({"get", Img(dir), "NONE.FNT", "-C", (dir / "out").string()});
  EXPECT_EQ(none.exit_code, 1);
  EXPECT_EQ(none.err, "kdu: NONE.FNT: The system cannot find the specified file.\n");
}

TEST(KduDisk, PutSavesOnlyWhatSucceeded) {
  TempDir dir;
  ASSERT_EQ(RunKdu({"new", Img(dir)}).exit_code, 0);
  const std::string empty_image = ReadFileText(Img(dir));
  WriteFileBytes(dir / "notes.txt", "no such type");
  CommandResult one = RunKdu({"put", Img(dir), (dir / "notes.txt").string()});
  EXPECT_EQ(one.exit_code, 1);
  EXPECT_EQ(ReadFileText(Img(dir)), empty_image);

  WriteFileBytes(dir / "good.fnt", "font");
  CommandResult two = RunKdu({"put", Img(dir), (dir / "notes.txt").string(),
                              (dir / "missing.fnt").string(), (dir / "good.fnt").string()});
  EXPECT_EQ(two.exit_code, 1);
  // put runs as one transfer: it stops at the first failure and the image is
  // saved only when every file arrived, so nothing of this run is kept.
  EXPECT_NE(two.err.find("left unchanged"), std::string::npos) << two.err;
  EXPECT_NE(two.err.find("stopped after 0 of 3 file(s)"), std::string::npos) << two.err;
  EXPECT_EQ(ReadFileText(Img(dir)), empty_image);

  CommandResult good = RunKdu({"put", Img(dir), (dir / "good.fnt").string()});
  EXPECT_EQ(good.exit_code, 0) << good.err;
  nlohmann::json j = nlohmann::json::parse(RunKdu({"ls", "--json", Img(dir)}).out);
  ASSERT_EQ(j["files"].size(), 1u);
  EXPECT_EQ(j["files"][0]["name"], "Good.fnt");
}

TEST(KduDisk, AnUnstorableNameIsSaidToBeInvalid) {
  TempDir dir;
  ASSERT_EQ(RunKdu({"new", Img(dir)}).exit_code, 0);
  WriteFileBytes(dir / "_x.fnt", "x");
  CommandResult put = RunKdu({"put", Img(dir), (dir / "_x.fnt").string()});
  EXPECT_EQ(put.exit_code, 1);
  EXPECT_NE(put.err.find("_x.fnt: Invalid file name specified"), std::string::npos) << put.err;
}

TEST(KduDisk, AnEntryWhoseNameReadsAsEmptyIsReportedAndCopiedByIndex) {
  TempDir dir;
  ImageBuilder b;
  b.AddBinaryFile("FNT", 0, "ONE", 80, 1, 'a');
  b.AddBinaryFile("FNT", 1, "X", 81, 1, 'b');
  b.SetWord(13 * 512 + 4 + 22, 29 * 1600);  // the second name decodes to nothing
  WriteFileBytes(Img(dir), b.Text());
  CommandResult check = RunKdu({"check", Img(dir)});
  EXPECT_EQ(check.exit_code, 1);
  EXPECT_NE(check.out.find("reads as empty (listed as .fnt)"), std::string::npos) << check.out;

  fs::create_directory(dir / "out");
  CommandResult get = RunKdu({"get", Img(dir), "--index", "2", "-C", (dir / "out").string()});
  ASSERT_EQ(get.exit_code, 0) << get.err;
  EXPECT_EQ(ReadFileText(dir / "out" / "_2.fnt"), std::string(512, 'b'));
  EXPECT_EQ(RunKdu({"get", Img(dir), "--index", "3"}).exit_code, 1);
  EXPECT_EQ(RunKdu({"get", Img(dir)}).exit_code, 2);
}

TEST(KduDisk, RemoveAndRename) {
  TempDir dir;
  ASSERT_EQ(RunKdu({"new", Img(dir)}).exit_code, 0);
  WriteFileBytes(dir / "report.fnt", "r");
  WriteFileBytes(dir / "other.fnt", "o");
  ASSERT_EQ(RunKdu({"put", Img(dir), (dir / "report.fnt").string(), (dir / "other.fnt").string()}).exit_code, 0);

  CommandResult exists = RunKdu({"mv", Img(dir), "report.fnt", "OTHER.FNT"});
  EXPECT_EQ(exists.exit_code, 1);
  EXPECT_EQ(exists.err, "kdu: Cannot rename. File already exists.\n");
  CommandResult invalid = RunKdu({"mv", Img(dir), "report.fnt", "report.txt"});
  EXPECT_EQ(invalid.err, "kdu: Invalid file name specified\n");
  CommandResult ok = RunKdu({"mv", Img(dir), "report.fnt", "ab.fnt"});
  ASSERT_EQ(ok.exit_code, 0) << ok.err;
  nlohmann::json j = nlohmann::json::parse(RunKdu({"ls", "--json", Img(dir)}).out);
  ASSERT_EQ(j["files"].size(), 2u);
  EXPECT_EQ(j["files"][0]["name"], "Other.fnt");
  EXPECT_EQ(j["files"][1]["name"], "Ab.fnt");

  CommandResult rm = RunKdu({"rm", Img(dir), "AB.FNT", "GONE.FNT"});
  EXPECT_EQ(rm.exit_code, 1);
  EXPECT_EQ(rm.err, "kdu: GONE.FNT: The system cannot find the specified file.\n");
  j = nlohmann::json::parse(RunKdu({"ls", "--json", Img(dir)}).out);
  ASSERT_EQ(j["files"].size(), 1u);
  EXPECT_EQ(j["files"][0]["name"], "Other.fnt");
}

}  // namespace
}  // namespace kelvo::test

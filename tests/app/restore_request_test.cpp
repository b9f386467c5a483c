#include "app/restore_request.h"

#include <gtest/gtest.h>

#include "support/qva_fixture.h"
#include "support/tape_fixture.h"
#include "support/test_support.h"

namespace kelvo {
namespace {

struct Answer {
  const char* spec;
  const char* message;  // empty: accepted
  std::size_t start = 0;
  std::size_t length = std::string::npos;  // npos: the whole text
};

TEST(RestoreRequest, TypedFileNamesGetTheirMessages) {
  const Answer answers[] = {
      {"AB", "File specification is too short."},
      {"ABCDEFG.CMD", "File specification is too long."},
      {"ABC-1.CMD", "Invalid character specified.", 3, 1},
      {"ABCDEF", "File type not specified."},
      {"ABC.XYZ", "Invalid file type specified."},
      {"ABCDEFG.C*", "File name is too long.", 0, 7},
      {"X.$Y$", "Invalid character specified.", 2, 1},
      {"ABC.C*", ""},
      {"A?C.CMD", ""},
      {"*.SYS", ""},
  };
  for (const Answer& a : answers) {
    const RequestCheck c = CheckFileSpecification(a.spec, TapeFormat::Qva);
    EXPECT_EQ(c.message, a.message) << a.spec;
    if (c.ok()) {
      EXPECT_EQ(c.field, RequestCheck::Field::None);
      continue;
    }
    EXPECT_EQ(c.field, RequestCheck::Field::FileName) << a.spec;
    EXPECT_EQ(c.select_start, a.start) << a.spec;
    EXPECT_EQ(c.select_length, a.length == std::string::npos ? std::string(a.spec).size() : a.length)
        << a.spec;
  }
  // The labelled format checks the same way.
  EXPECT_EQ(CheckFileSpecification("ABC-1.CMD", TapeFormat::Labelled).message,
            "Invalid character specified.");
}

TEST(RestoreRequest, UnlabelledFormatChecksOnlyLengthAndDot) {
  EXPECT_EQ(CheckFileSpecification("AB", TapeFormat::Unlabelled).message,
            "File specification is too short.");
  EXPECT_EQ(CheckFileSpecification("ABCDEFGHIJ", TapeFormat::Unlabelled).message,
            "File type not specified.");
  EXPECT_TRUE(CheckFileSpecification("ABCDEFG-1.WHATEVER", TapeFormat::Unlabelled).ok());
}

// The destination must be a folder, and is checked before the specification.
TEST(RestoreRequest, DestinationIsCheckedFirstAndMustBeAFolder) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "file", "x");
  TapeRestoreRequest r;
  r.file_spec = "AB";
  for (const std::string& bad : {std::string(), (dir / "missing").string(), (dir / "file").string()}) {
    r.destination = bad;
    const RequestCheck c = CheckRestoreRequest(r);
    EXPECT_EQ(c.message, "The system cannot find the path specified.") << bad;
    EXPECT_EQ(c.field, RequestCheck::Field::Destination);
    EXPECT_EQ(c.select_start, 0u);
    EXPECT_EQ(c.select_length, bad.size());
  }
  r.destination = dir.path().string();
  EXPECT_EQ(CheckRestoreRequest(r).message, "File specification is too short.");
  r.file_spec = "*.FNT";
  EXPECT_TRUE(CheckRestoreRequest(r).ok());
}

// The dialog opens with the choices last made, stored even when the checks fail.
TEST(RestoreRequest, SettingsKeepTheLastFormatAndDestination) {
  const std::pair<TapeFormat, int> codes[] = {
      {TapeFormat::Labelled, 0}, {TapeFormat::Unlabelled, 1}, {TapeFormat::Qva, 2}};
  for (const auto& [format, code] : codes) {
    Settings s;
    TapeRestoreRequest r;
    r.destination = "/no/such/folder";
    r.format = format;
    r.user_files_only = true;
    StoreRestoreRequest(r, s);
    EXPECT_EQ(s.DefaultTapeFormat, code);
    const TapeRestoreRequest again = InitialRestoreRequest(s, "Tape1");
    EXPECT_EQ(again.format, format);
    EXPECT_EQ(again.destination, "/no/such/folder");
    EXPECT_EQ(again.file_spec, "*.*");
    EXPECT_TRUE(again.user_files_only);
  }
  EXPECT_EQ(TapeFormatFromSetting(7), TapeFormat::Labelled);
  EXPECT_EQ(TapeFormatFromSetting(-1), TapeFormat::Labelled);
}

TEST(RestoreRequest, RunsTheRestoreOfTheChosenFormat) {
  test::QvaBench b;
  test::QvaUnit u;
  u.types = {{"$Y$", {}}, {"CMD", {test::QvaSourceFile("JOB", {"ONE"})}}};
  b.Load(test::QvaTapeBuilder().Start().Unit(u));
  test::RecordingTapeProgress labelled(b.busy);
  TapeRestoreRun run{labelled, b.progress, nullptr, &b.report};
  Settings s;
  s.RemoveLineNumbers = 1;
  TapeRestoreRequest r = InitialRestoreRequest(s, "Tape0");
  r.destination = b.out.string();
  r.format = TapeFormat::Unlabelled;
  EXPECT_EQ(RunTapeRestoreRequest(b.ctx, r, s, run), ERR_OK);
  EXPECT_TRUE(b.Listing().empty());

  r.format = TapeFormat::Qva;
  r.type_dirs = true;
  ASSERT_EQ(RunTapeRestoreRequest(b.ctx, r, s, run), ERR_OK);
  EXPECT_EQ(b.Read("CMD/JOB.CMD"), "ONE\r\n");
  EXPECT_EQ(labelled.waited, 0);

  // A QVA tape read as a labelled tape holds no label: nothing restored.
  r.format = TapeFormat::Labelled;
  EXPECT_EQ(RunTapeRestoreRequest(b.ctx, r, s, run), ERR_OK);
  EXPECT_EQ(labelled.waited, 1);
  EXPECT_EQ(b.Listing(), std::vector<std::string>{"CMD/JOB.CMD"});
}

}  // namespace
}  // namespace kelvo

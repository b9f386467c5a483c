#include <gtest/gtest.h>

#include "support/scripted_interaction.h"
#include "core/error_text.h"

namespace kelvo {
namespace {

struct Box {
  Buttons buttons;
  Icon icon;
};
const Box kOk{Buttons::Ok, Icon::Exclamation};
const Box kRetry{Buttons::RetryCancel, Icon::Exclamation};
const Box kYesNo{Buttons::YesNo, Icon::None};

struct Expected {
  ErrorCode code;
  const char* text;
  Box box;
};

// Every code of the message table with its text and box.
const Expected kRows[] = {
    {1, "Invaild function specified to driver.", kOk},
    {2, "The system cannot find the specified file.", kOk},
    {3, "The system cannot find the path specified.", kOk},
    {4, "The number of files the system can open has been exceeded.", kOk},
    {5, "Access to the file or device has been denied.", kOk},
    {6, "Invalid handle specified.", kOk},
    {8, "Not enough storage is available to process this command.", kOk},
    {14, "Not enough storage is available to process this command.", kOk},
    {15, "The system cannot find the drive specified.", kOk},
    {19, "The media is write protected.", kRetry},
    {20, "The system cannot find the device specified.", kOk},
    {21, "The selected drive is not ready.", kRetry},
    {23, "A data error (cyclic redundancy check) has occurred.", kOk},
    {25, "A seek error has occured on the specified drive.", kOk},
    {27, "Sector not found on floppy drive.", kRetry},
    {29, "Cannot write to the specified device.", kOk},
    {30, "No ID address mark was found on the floppy disk.", kOk},
    {1122, "No ID address mark was found on the floppy disk.", kOk},
    {31, "The specified device is not functioning.", kOk},
    {32, "The specified device or file is being used by another process.", kOk},
    {33, "The specified device or file has been locked by another process.", kOk},
    {39, "There is insufficient disk space to complete the operation.", kOk},
    {50, "The tape driver does not support a requested function.", kOk},
    {53, "A network error has occurred.", kOk},
    {54, "A network error has occurred.", kOk},
    {55, "A network error has occurred.", kOk},
    {58, "A network error has occurred.", kOk},
    {59, "A network error has occurred.", kOk},
    {65, "A network error has occurred.", kOk},
    {82, "A network error has occurred.", kOk},
    {88, "A network error has occurred.", kOk},
    {80, "Cannot rename. File already exists.", kOk},
    {108, "The disk is in use or locked by another process.", kOk},
    {110, "The disk is in use or locked by another process.", kOk},
    {123, "Invalid file name specified", kOk},
    {132, "A seek error has occurred on the specified device or file.", kOk},
    {234, "Data read from tape exceeds tape buffer size.", kOk},
    {1005, "The volume does not contain a recognized file system.", kOk},
    {1100, "The end-of-tape marker was reached during an operation.", kOk},
    {1101, "A filemark was reached during an operation.", kOk},
    {1102, "An attempt to access data before the beginning-of-medium marker failed.", kOk},
    {1103, "A setmark was reached during an operation.", kOk},
    {1104, "The end-of-data marker was reached during an operation.", kOk},
    {1105, "The tape could not be partitioned.", kOk},
    {1106, "The block size is incorrect on a new tape in a multivolume partition.", kOk},
    {1107, "The partition information could not be found when a tape was being loaded.", kOk},
    {1108, "An attempt to lock the ejection mechanism failed.", kOk},
    {1109, "An attempt to unload the tape failed.", kOk},
    {1110, "The tape that was in the drive has been replaced or removed.", kOk},
    {1111, "A reset condition was detected on the bus.", kOk},
    {1112, "There is no media loaded in the current drive.", kRetry},
    {1123, "Mismatch between the floppy disk sector ID field and the floppy disk controller track address.", kOk},
    {1124, "The floppy disk controller reported an error that is not recognized by the floppy disk driver.", kOk},
    {1125, "The floppy disk controller returned inconsistent results in its registers.", kOk},
    {1785, "The disk media is not recognized.  It may not be formatted.", kOk},
    {5000, "Cannot access the selected drive.", kOk},
    {5002, "The media is not in Kelvo format. Would you like to format it now?", kYesNo},
    {5003, "The current file type directory is full.", kOk},
    {5005, "High density diskettes are not supported.", kRetry},
    {5006, "The file is not a valid Kelvo disk image.", kOk},
    {5007, "The media types for the source and destination do not match.", kOk},
    {5008, "The tape drive is either not present or is in use.", kOk},
    {5009, "Tape restore cancelled at user's request.", kOk},
};

TEST(ErrorText, EveryRowHasItsTextAndBox) {
  for (const Expected& row : kRows) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(GetErrorText(row.code), row.text);
    ErrorRow r = GetErrorRow(row.code);
    EXPECT_EQ(r.text, row.text);
    EXPECT_EQ(r.buttons, row.box.buttons);
    EXPECT_EQ(r.icon, row.box.icon);
  }
}

TEST(ErrorText, UnlistedCodesGetTheFallbackWithRetry) {
  for (ErrorCode code : {0u, 7u, 5001u, 5004u, 5010u, 12345u, 4294967295u}) {
    SCOPED_TRACE(code);
    const std::string expected = "Error message not available (" + std::to_string(code) + ")";
    EXPECT_EQ(GetErrorText(code), expected);
    ErrorRow r = GetErrorRow(code);
    EXPECT_EQ(r.text, expected);
    EXPECT_EQ(r.buttons, Buttons::RetryCancel);
    EXPECT_EQ(r.icon, Icon::Exclamation);
  }
  EXPECT_EQ(GetErrorText(5004), "Error message not available (5004)");
}

TEST(ReportError, ShowsTheRowWithTheAppTitleAndReturnsTheAnswer) {
  test::ScriptedInteraction ui;
  ui.answers = {Button::Retry, Button::Ok, Button::Yes, Button::Cancel};
  EXPECT_EQ(ui.ReportError(19), Button::Retry);
  EXPECT_EQ(ui.ReportError(2), Button::Ok);
  EXPECT_EQ(ui.ReportError(5002), Button::Yes);
  EXPECT_EQ(ui.ReportError(5008), Button::Cancel);
  ASSERT_EQ(ui.asks.size(), 4u);
  EXPECT_EQ(ui.asks[0].text, "The media is write protected.");
  EXPECT_EQ(ui.asks[0].buttons, Buttons::RetryCancel);
  EXPECT_EQ(ui.asks[1].buttons, Buttons::Ok);
  EXPECT_EQ(ui.asks[2].buttons, Buttons::YesNo);
  EXPECT_EQ(ui.asks[2].icon, Icon::None);
  EXPECT_EQ(ui.asks[3].text, "The tape drive is either not present or is in use.");
  for (const test::AskCall& a : ui.asks) EXPECT_EQ(a.title, "Kelvo Disk Utility");
  // Exclamation boxes come with the warning sound, the question does not.
  EXPECT_EQ(ui.beeps.size(), 3u);
}

TEST(ReportError, RetryLoopStopsWhenTheUserCancels) {
  test::ScriptedInteraction ui;
  ui.answers = {Button::Retry, Button::Retry, Button::Cancel};
  int attempts = 0;
  while (++attempts < 10 && ui.ReportError(21) == Button::Retry) {
  }
  EXPECT_EQ(attempts, 3);
  EXPECT_EQ(ui.Texts(), std::vector<std::string>(3, "The selected drive is not ready."));
}

}  // namespace
}  // namespace kelvo

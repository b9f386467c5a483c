#include <gtest/gtest.h>

#include "core/error_text.h"
#include "support/scripted_interaction.h"

namespace kelvo {
namespace {

// A few rows of the message table (one per box kind, a shared text, a
// printer's own code) and the fallback for codes not in it.
TEST(ErrorText, RowsAndFallback) {
  struct Row {
    ErrorCode code;
    const char* text;
    Buttons buttons;
    Icon icon;
  } const rows[] = {
      {19, "The media is write protected.", Buttons::RetryCancel, Icon::Exclamation},
      {2, "The system cannot find the specified file.", Buttons::Ok, Icon::Exclamation},
      {1122, "No ID address mark was found on the floppy disk.", Buttons::Ok, Icon::Exclamation},
      {5002, "The media is not in Kelvo format. Would you like to format it now?", Buttons::YesNo,
       Icon::None},
      {5004, "Error message not available (5004)", Buttons::RetryCancel, Icon::Exclamation},
      {4294967295u, "Error message not available (4294967295)", Buttons::RetryCancel,
       Icon::Exclamation},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(GetErrorText(row.code), row.text);
    const ErrorRow r = GetErrorRow(row.code);
    EXPECT_EQ(r.buttons, row.buttons);
    EXPECT_EQ(r.icon, row.icon);
  }
}

TEST(ReportError, AsksWithTheAppTitleUntilTheUserCancels) {
  test::ScriptedInteraction ui;
  ui.answers = {Button::Retry, Button::Retry, Button::Cancel};
  int attempts = 0;
  while (++attempts < 10 && ui.ReportError(21) == Button::Retry) {
  }
  EXPECT_EQ(attempts, 3);
  ASSERT_EQ(ui.asks.size(), 3u);
  EXPECT_EQ(ui.asks[0].text, "The selected drive is not ready.");
  EXPECT_EQ(ui.asks[0].title, "Kelvo Disk Utility");
  EXPECT_EQ(ui.asks[0].buttons, Buttons::RetryCancel);
  // Exclamation boxes come with the warning sound, the question does not.
  EXPECT_EQ(ui.beeps.size(), 3u);
  ui.answers = {Button::No};
  EXPECT_EQ(ui.ReportError(5002), Button::No);
  EXPECT_EQ(ui.beeps.size(), 3u);
}

}  // namespace
}  // namespace kelvo

// The program's settings: read once at start-up, written back once at exit.
// Each member is named after its value in the settings store; the defaults
// below are those of a first run.
#pragma once

#include <cstdint>
#include <string>

#include "app/key_value_store.h"

namespace kelvo {

struct Settings {
  std::int32_t MainWindowLeft = 135;
  std::int32_t MainWindowTop = 82;
  std::int32_t MainWindowWidth = 762;
  std::int32_t MainWindowHeight = 560;
  std::int32_t Maximized = 0;
  std::int32_t RetainPrinterFormat = 0;  // "Retain MQS Format"
  std::int32_t RetainTapeLabels = 0;
  std::int32_t ShowAllFileTypes = 0;
  std::int32_t RemoveLineNumbers = 0;
  // Saved placement of the PC explorer window.
  std::int32_t SystemWindowTop = 0;
  std::int32_t SystemWindowLeft = 0;
  std::int32_t SystemWindowRight = 640;
  std::int32_t SystemWindowBottom = 320;
  std::int32_t SystemWindowFlags = 0;
  std::int32_t SystemWindowCmdShow = 0;
  std::int32_t SystemWindowMinX = 0;
  std::int32_t SystemWindowMinY = 0;
  std::int32_t SystemWindowMaxX = 0;
  std::int32_t SystemWindowMaxY = 0;
  std::int32_t NameColumnWidth = 100;
  std::int32_t SizeColumnWidth = 75;
  std::int32_t TypeColumnWidth = 160;
  std::int32_t ModifiedColumnWidth = 125;
  std::int32_t FileViewWidth = 100;
  std::int32_t DriveViewWidth = 155;
  std::int32_t TapeBlockingFactor = 16;  // tape block size in 512-byte units
  std::int32_t EnableTraceFile = 0;
  std::int32_t LeftPrintMargin = 10;  // millimetres
  std::int32_t TopPrintMargin = 10;
  std::int32_t DefaultZoom = 50;  // percent
  std::int32_t ZoomIncrement = 5;
  std::int32_t TapeRestoreToTypeDirs = 0;
  std::int32_t TapeRestoreUserFilesOnly = 0;
  std::int32_t DefaultTapeFormat = 0;
  std::string StartupDirectory;  // empty: none
  std::string TapeRestorePath;
  // Device bindings of the floppy drives A: and B: and of Tape0..Tape3.
  std::string FloppyADevice = "/dev/fd0";
  std::string FloppyBDevice = "/dev/fd1";
  std::string TapeDevice[4] = {"/dev/nst0", "/dev/nst1", "/dev/nst2", "/dev/nst3"};
};

// Longest text a path setting may hold; a longer stored value cannot be read
// and counts as absent.
inline constexpr std::size_t kMaxSettingPath = 259;

// Reads every value in the store's order, applying each value's reading rule
// to what is absent or out of range.
Settings LoadSettings(const CKeyValueStore& store);

// Writes every value back. An empty path leaves the stored one as it was.
void SaveSettings(const Settings& settings, CKeyValueStore& store);

// Creates the settings key (first run); false when it cannot be created.
bool CreateSettingsKey(CKeyValueStore& store);

}  // namespace kelvo

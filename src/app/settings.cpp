#include "app/settings.h"

namespace kelvo {
namespace {

// How a numeric value is read back. Sizes that are zero or negative make no
// sense and take the default like an absent value.
enum class Rule {
  AbsentOnly,     // absent: the default
  PositiveOnly,   // absent, 0 or negative: the default
  UpToLimit,      // absent, 0, negative or greater than `limit`: the default
  UpToMember,     // absent, 0, negative or greater than another (already read) value
};

struct IntValue {
  const char* name;
  std::int32_t Settings::*member;
  Rule rule;
  std::int32_t fallback;
  std::int32_t limit = 0;
  std::int32_t Settings::*limit_member = nullptr;
};

constexpr std::int32_t kMaxMainWindowSize = 2048;

// Every numeric value in the order start-up reads it.
const IntValue kIntValues[] = {
    {"Main Window Left", &Settings::MainWindowLeft, Rule::PositiveOnly, 135},
    {"Main Window Top", &Settings::MainWindowTop, Rule::PositiveOnly, 82},
    {"Main Window Width", &Settings::MainWindowWidth, Rule::UpToLimit, 762, kMaxMainWindowSize},
    {"Main Window Height", &Settings::MainWindowHeight, Rule::UpToLimit, 560, kMaxMainWindowSize},
    {"Maximized", &Settings::Maximized, Rule::AbsentOnly, 0},
    {"Retain MQS Format", &Settings::RetainPrinterFormat, Rule::AbsentOnly, 0},
    {"Retain Tape Labels", &Settings::RetainTapeLabels, Rule::AbsentOnly, 0},
    {"Show All File Types", &Settings::ShowAllFileTypes, Rule::AbsentOnly, 0},
    {"Remove Line Numbers", &Settings::RemoveLineNumbers, Rule::AbsentOnly, 0},
    {"System Window Top", &Settings::SystemWindowTop, Rule::PositiveOnly, 0},
    {"System Window Left", &Settings::SystemWindowLeft, Rule::PositiveOnly, 0},
    {"System Window Right", &Settings::SystemWindowRight, Rule::UpToMember, 640, 0,
     &Settings::MainWindowWidth},
    {"System Window Bottom", &Settings::SystemWindowBottom, Rule::UpToMember, 320, 0,
     &Settings::MainWindowHeight},
    {"System Window Flags", &Settings::SystemWindowFlags, Rule::AbsentOnly, 0},
    {"System Window CmdShow", &Settings::SystemWindowCmdShow, Rule::AbsentOnly, 0},
    {"System Window Min X", &Settings::SystemWindowMinX, Rule::AbsentOnly, 0},
    {"System Window Min Y", &Settings::SystemWindowMinY, Rule::AbsentOnly, 0},
    {"System Window Max X", &Settings::SystemWindowMaxX, Rule::AbsentOnly, 0},
    {"System Window Max Y", &Settings::SystemWindowMaxY, Rule::AbsentOnly, 0},
    {"Name Column Width", &Settings::NameColumnWidth, Rule::PositiveOnly, 100},
    {"Size Column Width", &Settings::SizeColumnWidth, Rule::PositiveOnly, 75},
    {"Type Column Width", &Settings::TypeColumnWidth, Rule::PositiveOnly, 160},
    {"Modified Column Width", &Settings::ModifiedColumnWidth, Rule::PositiveOnly, 125},
    {"File View Width", &Settings::FileViewWidth, Rule::PositiveOnly, 100},
    {"Drive View Width", &Settings::DriveViewWidth, Rule::PositiveOnly, 155},
    {"Tape Blocking Factor", &Settings::TapeBlockingFactor, Rule::PositiveOnly, 16},
    {"Enable Trace File", &Settings::EnableTraceFile, Rule::AbsentOnly, 0},
    {"Left Print Margin", &Settings::LeftPrintMargin, Rule::PositiveOnly, 10},
    {"Top Print Margin", &Settings::TopPrintMargin, Rule::PositiveOnly, 10},
    {"Default Zoom", &Settings::DefaultZoom, Rule::PositiveOnly, 50},
    {"Zoom Increment", &Settings::ZoomIncrement, Rule::PositiveOnly, 5},
    {"TapeRestoreToTypeDirs", &Settings::TapeRestoreToTypeDirs, Rule::AbsentOnly, 0},
    {"TapeRestoreUserFilesOnly", &Settings::TapeRestoreUserFilesOnly, Rule::AbsentOnly, 0},
    {"DefaultTapeFormat", &Settings::DefaultTapeFormat, Rule::AbsentOnly, 0},
};

struct TextValue {
  const char* name;
  std::string Settings::*member;
};

// The two folders, read after the numbers.
const TextValue kPathValues[] = {
    {"Startup Directory", &Settings::StartupDirectory},
    {"Tape Restore Path", &Settings::TapeRestorePath},
};

constexpr const char* kFloppyNames[2] = {"Floppy A Device", "Floppy B Device"};
constexpr const char* kTapeNames[4] = {"Tape0 Device", "Tape1 Device", "Tape2 Device",
                                       "Tape3 Device"};
constexpr std::size_t kShortestPath = 3;

std::int32_t ReadInt(const CKeyValueStore& store, const IntValue& v, const Settings& s) {
  const std::optional<std::int32_t> stored = store.GetInt(v.name);
  if (!stored) return v.fallback;
  const std::int32_t n = *stored;
  switch (v.rule) {
    case Rule::AbsentOnly:
      return n;
    case Rule::PositiveOnly:
      return n > 0 ? n : v.fallback;
    case Rule::UpToLimit:
      return (n > 0 && n <= v.limit) ? n : v.fallback;
    case Rule::UpToMember:
      return (n > 0 && n <= s.*v.limit_member) ? n : v.fallback;
  }
  return v.fallback;
}

// A path of fewer than three characters (or one too long to read) is empty.
std::string ReadPath(const CKeyValueStore& store, const char* name) {
  std::optional<std::string> text = store.GetString(name);
  if (!text || text->size() < kShortestPath || text->size() > kMaxSettingPath) return {};
  return *text;
}

// A device binding that is absent or too short to name anything keeps its
// default.
void ReadDevice(const CKeyValueStore& store, const char* name, std::string& device) {
  std::optional<std::string> text = store.GetString(name);
  if (text && text->size() >= kShortestPath) device = *text;
}

void WriteIfNotEmpty(CKeyValueStore& store, const char* name, const std::string& text) {
  if (!text.empty()) store.SetString(name, text);
}

}  // namespace

Settings LoadSettings(const CKeyValueStore& store) {
  Settings s;
  for (const IntValue& v : kIntValues) s.*v.member = ReadInt(store, v, s);
  for (const TextValue& v : kPathValues) s.*v.member = ReadPath(store, v.name);
  ReadDevice(store, kFloppyNames[0], s.FloppyADevice);
  ReadDevice(store, kFloppyNames[1], s.FloppyBDevice);
  for (int i = 0; i < 4; ++i) ReadDevice(store, kTapeNames[i], s.TapeDevice[i]);
  return s;
}

void SaveSettings(const Settings& settings, CKeyValueStore& store) {
  for (const IntValue& v : kIntValues) store.SetInt(v.name, settings.*v.member);
  for (const TextValue& v : kPathValues) WriteIfNotEmpty(store, v.name, settings.*v.member);
  WriteIfNotEmpty(store, kFloppyNames[0], settings.FloppyADevice);
  WriteIfNotEmpty(store, kFloppyNames[1], settings.FloppyBDevice);
  for (int i = 0; i < 4; ++i) WriteIfNotEmpty(store, kTapeNames[i], settings.TapeDevice[i]);
  store.Flush();
}

bool CreateSettingsKey(CKeyValueStore& store) { return store.CreateKey(); }

}  // namespace kelvo

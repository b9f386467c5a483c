// kdu drives: the device table of this run.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>

#include "app/app_state.h"
#include "app/device_enumeration.h"
#include "cli/cli_context.h"

namespace kelvo::cli {
namespace {

struct Row {
  int index;
  std::string name;    // "A:", "Tape0"
  std::string device;  // the device string bound to it
};

// The entries Linux can fill: the two floppy drives and the four tapes.
std::vector<Row> Rows(const AppState& state) {
  std::vector<Row> rows = {{0, "A:", state.Bindings.floppy[0]},
                           {1, "B:", state.Bindings.floppy[1]}};
  for (int n = 0; n < kTapeDriveCount; ++n)
    rows.push_back({kFirstTapeEntry + n, "Tape" + std::to_string(n), state.Bindings.tape[n]});
  return rows;
}

const char* FormText(const DeviceEntry& e) {
  if (e.type != kDeviceRemovable) return "-";
  switch (e.drive_form) {
    case kDriveForm525:
      return "5.25";
    case kDriveForm35:
      return "3.5";
    default:
      return "none";
  }
}

const char* TypeText(int type) {
  switch (type) {
    case kDeviceRemovable:
      return "floppy";
    case kDeviceTape:
      return "tape";
    default:
      return "-";
  }
}

// printf pads by bytes; the display names hold two-byte characters (½, ¼).
int PadWidth(const std::string& text, int columns) {
  int continuation = 0;
  for (char c : text) continuation += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 1 : 0;
  return columns + continuation;
}

int PrintText(const AppState& state) {
  std::printf("%-6s %-8s %-7s %-5s %-16s %s\n", "DRIVE", "PRESENT", "TYPE", "FORM", "NAME",
              "DEVICE");
  for (const Row& r : Rows(state)) {
    const DeviceEntry& e = state.Devices[static_cast<std::size_t>(r.index)];
    const std::string& name = e.display_name;
    std::printf("%-6s %-8s %-7s %-5s %-*s %s\n", r.name.c_str(), e.present ? "yes" : "no",
                TypeText(e.type), FormText(e), PadWidth(name, 16), name.c_str(),
                r.device.c_str());
  }
  return kExitOk;
}

int PrintJson(const AppState& state) {
  nlohmann::json drives = nlohmann::json::array();
  for (const Row& r : Rows(state)) {
    const DeviceEntry& e = state.Devices[static_cast<std::size_t>(r.index)];
    drives.push_back({{"index", r.index},
                      {"name", r.name},
                      {"present", e.present},
                      {"type", e.type},
                      {"drive_form", e.drive_form},
                      {"display_name", e.display_name},
                      {"device", r.device}});
  }
  nlohmann::json out = {{"drives", drives},
                        {"any_tape_present", state.AnyTapePresent},
                        {"format_driver_present", state.FormatDriverPresent != 0}};
  std::cout << out.dump(2) << "\n";
  return kExitOk;
}

}  // namespace

void RegisterDeviceVerbs(CLI::App& app, CliContext& ctx) {
  CLI::App* drives = app.add_subcommand("drives", "List the floppy and tape drives of this run");
  auto json = std::make_shared<bool>(false);
  drives->add_flag("--json", *json, "Print the table as JSON");
  drives->callback([&ctx, json] {
    ctx.run = [&ctx, json] {
      const AppState& state = *ctx.state;
      const int code = *json ? PrintJson(state) : PrintText(state);
      if (state.FormatDriverPresent == 0)
        std::cerr << kFloppyDriverMissingText << "\n";
      return code;
    };
  });
}

}  // namespace kelvo::cli

// kdu check: what a damaged printer disk has wrong, without changing it.
#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_context.h"
#include "cli/disk_place.h"
#include "diskfs/consistency_check.h"
#include "diskfs/kelvo_volume.h"
#include "core/error_text.h"

namespace kelvo::cli {
namespace {

struct CheckOptions {
  std::string place;
  bool json = false;
};

void PrintText(const std::string& place, const CheckReport& report) {
  for (const CheckFinding& f : report.findings)
    std::cout << (f.damage ? "damage: " : "note: ") << f.text << "\n";
  std::cout << place << ": " << report.files << " file(s), " << report.directory_sectors
            << " directory sector(s) checked; ";
  if (report.Clean())
    std::cout << "no damage found\n";
  else
    std::cout << report.DamageCount() << " problem(s) found\n";
}

void PrintJson(const std::string& place, const CheckReport& report) {
  nlohmann::ordered_json doc;
  doc["place"] = place;
  doc["clean"] = report.Clean();
  doc["highest_lbn"] = report.highest_lbn;
  doc["files"] = report.files;
  doc["directory_sectors"] = report.directory_sectors;
  doc["findings"] = nlohmann::ordered_json::array();
  for (const CheckFinding& f : report.findings) {
    nlohmann::ordered_json item;
    item["kind"] = FindingKindName(f.kind);
    item["damage"] = f.damage;
    item["text"] = f.text;
    doc["findings"].push_back(std::move(item));
  }
  std::cout << doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

int RunCheck(CliContext& ctx, const CheckOptions& o) {
  std::unique_ptr<CDiskPlace> place;
  if (int rc = OpenDiskPlace(ctx, o.place, place)) return rc;
  CheckReport report;
  if (ErrorCode err = CheckDiskConsistency(place->Source(), report, place->CarrierBlocks())) {
    std::cerr << "kdu: " << GetErrorText(err) << "\n";
    return kExitFailed;
  }
  if (o.json)
    PrintJson(o.place, report);
  else
    PrintText(o.place, report);
  return report.Clean() ? kExitOk : kExitFailed;
}

}  // namespace

void RegisterCheckVerbs(CLI::App& app, CliContext& ctx) {
  auto o = std::make_shared<CheckOptions>();
  CLI::App* check = app.add_subcommand(
      "check", "Report what a printer disk has wrong (read only; exit 1 when damaged)");
  check->add_option("place", o->place, "IMAGE.kdi, a: or b:")->required();
  check->add_flag("--json", o->json, "Print one JSON object");
  check->callback([&ctx, o] { ctx.run = [&ctx, o] { return RunCheck(ctx, *o); }; });
}

}  // namespace kelvo::cli

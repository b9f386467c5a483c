// kdu new, ls, put, get, rm, mv: printer disks in image files (and drives,
// once their places are available).
#include <CLI/CLI.hpp>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <vector>

#include "app/app_state.h"
#include "cli/cli_context.h"
#include "cli/disk_listing_output.h"
#include "cli/disk_place.h"
#include "cli/verbs_transfer.h"
#include "diskfs/listing.h"
#include "diskfs/mount.h"
#include "filetypes/file_names.h"
#include "diskfs/disk_image_doc.h"
#include "core/file_handle.h"
#include "core/errno_map.h"
#include "core/error_text.h"

namespace kelvo::cli {
namespace {
namespace fs = std::filesystem;

struct DiskOptions {
  std::string place;
  std::string id;
  bool long_form = false;
  bool json = false;
  std::vector<std::string> names;
  std::vector<int> indexes;  // kdu get --index: places in the listing, from 1
  std::string folder = ".";
  std::string old_name;
  std::string new_name;
};

// "kdu: WHAT: message" on stderr.
void Complain(const std::string& what, ErrorCode code) {
  std::cerr << "kdu: " << what << ": " << GetErrorText(code) << "\n";
}

int FailWith(ErrorCode code) {
  if (code == 0) return kExitOk;
  std::cerr << "kdu: " << GetErrorText(code) << "\n";
  return kExitFailed;
}

int RunNew(CliContext& ctx, const DiskOptions& o) {
  std::error_code ec;
  if (fs::exists(o.place, ec)) return Fail("'" + o.place + "' already exists");
  CDiskImageDoc doc;
  if (ErrorCode err = doc.OnNewDocument(o.id, ctx.ui)) return FailWith(err);
  return FailWith(doc.OnSaveDocument(o.place));
}

// Opens the place of `o` and lists it; kExitOk or the exit status.
int OpenAndList(CliContext& ctx, const DiskOptions& o, std::unique_ptr<CDiskPlace>& place,
                DiskListing& listing) {
  if (int rc = OpenDiskPlace(ctx, o.place, place)) return rc;
  return FailWith(ListFiles(place->Source(), listing, place->CarrierBlocks()));
}

int RunList(CliContext& ctx, const DiskOptions& o) {
  std::unique_ptr<CDiskPlace> place;
  DiskListing listing;
  if (int rc = OpenAndList(ctx, o, place, listing)) return rc;
  if (o.json)
    PrintListingJson(std::cout, o.place, listing);
  else
    PrintListingText(std::cout, o.place, listing, ListingStyle{o.long_form});
  for (const std::string& problem : listing.problems)
    std::cerr << "kdu: damaged directory: " << problem << "\n";
  return kExitOk;
}

// Runs `step` for each name; saves when at least one succeeded; exit 1 when
// any failed (each failure said with its name).
template <typename Step>
int ForEachName(CliContext& ctx, CDiskPlace& place, const std::vector<std::string>& names,
                Step step) {
  int done = 0;
  int failed = 0;
  for (const std::string& name : names) {
    ctx.ui->PumpMessages();
    if (ErrorCode err = step(name)) {
      Complain(name, err);
      ++failed;
    } else {
      ++done;
    }
  }
  if (done > 0) {
    if (ErrorCode err = place.Commit()) {
      Complain(place.Name(), err);
      return kExitFailed;
    }
  }
  return failed ? kExitFailed : kExitOk;
}

int RunPut(CliContext& ctx, const DiskOptions& o) { return RunPutFiles(ctx, o.place, o.names); }

// The PC name a listed file is exported under: its listed name, or for a
// name that reads as empty "_N" and the type.
std::string ExportNameOf(const ListedFile& file, int index) {
  const std::string shown = DisplayName(file.name);
  return shown.front() == '.' ? "_" + std::to_string(index) + shown : shown;
}

// kdu get --index N: files by their place in the listing, so that an entry
// whose name cannot be looked up can still be copied.
int RunGetByIndex(CliContext& ctx, const DiskOptions& o) {
  std::unique_ptr<CDiskPlace> place;
  DiskListing listing;
  if (int rc = OpenAndList(ctx, o, place, listing)) return rc;
  ExportOptions options;
  options.retain_format = ctx.state->settings.RetainPrinterFormat != 0;
  options.remove_line_numbers =
      place->HonoursRemoveLineNumbers() && ctx.state->settings.RemoveLineNumbers != 0;
  int status = kExitOk;
  for (const int index : o.indexes) {
    if (index < 1 || static_cast<std::size_t>(index) > listing.files.size()) {
      std::cerr << "kdu: --index " << index << ": the listing has " << listing.files.size()
                << " file(s)\n";
      status = kExitFailed;
      continue;
    }
    const ListedFile& f = listing.files[static_cast<std::size_t>(index - 1)];
    const FileLocator file{f.name, f.type, f.directory_lbn, f.slot, f.entry.start_lbn,
                           f.entry.blocks, f.entry.first_free_byte, f.entry};
    const std::string pc_name = ExportNameOf(f, index);
    if (ErrorCode err = place->Volume().ExportEntry(file, fs::path(o.folder) / pc_name, options)) {
      Complain(DisplayName(f.name), err);
      status = kExitFailed;
    } else if (pc_name != DisplayName(f.name)) {
      std::cerr << "kdu: file " << index << " (" << DisplayName(f.name) << ") written as "
                << pc_name << "\n";
    }
  }
  return status;
}

int RunGet(CliContext& ctx, const DiskOptions& o) {
  if (o.names.empty() == o.indexes.empty()) {
    std::cerr << "kdu: get takes printer file names or --index, one of the two\n";
    return kExitUsage;
  }
  if (!o.indexes.empty()) return RunGetByIndex(ctx, o);
  return RunCopy(ctx, o.place, o.folder, o.names);
}

int RunRemove(CliContext& ctx, const DiskOptions& o) {
  std::unique_ptr<CDiskPlace> place;
  if (int rc = OpenDiskPlace(ctx, o.place, place)) return rc;
  return ForEachName(ctx, *place, o.names, [&](const std::string& name) -> ErrorCode {
    FileLocator file;
    if (ErrorCode err = place->Volume().FindFile(name, file)) return err;
    return place->Volume().DeleteFile(file);
  });
}

int RunMove(CliContext& ctx, const DiskOptions& o) {
  std::unique_ptr<CDiskPlace> place;
  if (int rc = OpenDiskPlace(ctx, o.place, place)) return rc;
  if (ErrorCode err = place->Volume().RenameFile(o.old_name, o.new_name)) {
    if (err == ERR_INVALID_FILE_NAME) ctx.ui->Beep(BeepKind::Exclamation);
    return FailWith(err);
  }
  return FailWith(place->Commit());
}

}  // namespace

void RegisterDiskVerbs(CLI::App& app, CliContext& ctx) {
  auto o = std::make_shared<DiskOptions>();

  CLI::App* nw = app.add_subcommand("new", "Create an empty disk image (720 KB layout)");
  nw->add_option("image", o->place, "Image file to create (.kdi)")->required();
  nw->add_option("--id", o->id, "Disk ID (at most 30 characters)");
  nw->callback([&ctx, o] { ctx.run = [&ctx, o] { return RunNew(ctx, *o); }; });

  CLI::App* ls = app.add_subcommand("ls", "List the files of a printer disk");
  ls->add_option("place", o->place, "IMAGE.kdi, a: or b:")->required();
  ls->add_flag("--long,-l", o->long_form, "Add record size, starting LBN and first free byte");
  ls->add_flag("--json", o->json, "Print one JSON object");
  ls->callback([&ctx, o] { ctx.run = [&ctx, o] { return RunList(ctx, *o); }; });

  CLI::App* put = app.add_subcommand("put", "Store PC files on a printer disk");
  put->add_option("place", o->place, "IMAGE.kdi, a: or b:")->required();
  put->add_option("files", o->names, "PC files")->required();
  put->callback([&ctx, o] { ctx.run = [&ctx, o] { return RunPut(ctx, *o); }; });

  CLI::App* get = app.add_subcommand("get", "Copy printer files to the PC");
  get->add_option("place", o->place, "IMAGE.kdi, a: or b:")->required();
  get->add_option("names", o->names, "Printer file names (NAME.TYP)");
  get->add_option("--index", o->indexes,
                  "Copy the file at this place in the listing (1 for the first; repeatable)");
  get->add_option("-C", o->folder, "PC folder to write into (default: the current one)");
  get->callback([&ctx, o] { ctx.run = [&ctx, o] { return RunGet(ctx, *o); }; });

  CLI::App* rm = app.add_subcommand("rm", "Delete files from a printer disk");
  rm->add_option("place", o->place, "IMAGE.kdi, a: or b:")->required();
  rm->add_option("names", o->names, "Printer file names (NAME.TYP)")->required();
  rm->callback([&ctx, o] { ctx.run = [&ctx, o] { return RunRemove(ctx, *o); }; });

  CLI::App* mv = app.add_subcommand("mv", "Rename a file on a printer disk");
  mv->add_option("place", o->place, "IMAGE.kdi, a: or b:")->required();
  mv->add_option("old", o->old_name, "Current name (NAME.TYP)")->required();
  mv->add_option("new", o->new_name, "New name (NAME.TYP)")->required();
  mv->callback([&ctx, o] { ctx.run = [&ctx, o] { return RunMove(ctx, *o); }; });
}

}  // namespace kelvo::cli

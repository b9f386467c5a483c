// Fuzz target: kdu's listing output over whatever bytes a medium holds. The
// first input byte picks the medium (0: a disk image, 1: a labelled tape,
// 2: a QVA tape set with volumes separated by kVolumeSeparator); the rest
// is the medium. Its listing is printed as text and as JSON (a disk image),
// the labelled tape is listed and restored, the QVA tape restored, and the
// restore outcome printed as kdu prints it.
//
// Besides crashes, the target checks what the output promises: the JSON is
// valid (UTF-8 included) and the text holds no control byte but line ends.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/disk_listing_output.h"
#include "cli/tape_listing_output.h"
#include "diskfs/listing.h"
#include "fuzz_support.h"
#include "diskfs/disk_image_doc.h"
#include "tape/labelled_tape.h"
#include "tape/qva_restore.h"
#include "tape/tape_progress.h"

namespace {

constexpr std::size_t kPaddedBlocks = 80;

class QuietListSink : public kelvo::CTapeListSink {
 public:
  void SetStatusText(const std::string&) override {}
  bool AbortRequested() const override { return false; }
  void ClearAbortRequest() override {}
};

void CheckText(const std::string& what, const std::string& text) {
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && u != '\n') || u == 0x7F) {
      std::fprintf(stderr, "%s output holds the control byte 0x%02X\n", what.c_str(), u);
      std::abort();
    }
  }
}

void CheckJson(const std::string& what, const std::string& text) {
  if (!nlohmann::json::accept(text)) {
    std::fprintf(stderr, "%s output is not valid JSON:\n%s\n", what.c_str(), text.c_str());
    std::abort();
  }
}

void DiskListingOutput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  if (bytes.size() < kelvo::kMinImageBytes) bytes.resize(kPaddedBlocks * kelvo::kBlockSize, 0);
  kelvo::CDiskImageDoc doc;
  if (doc.LoadImage(std::move(bytes)) != kelvo::ERR_OK) return;
  kelvo::DiskListing listing;
  if (kelvo::ListFiles(doc, listing, doc.BlockCount()) != kelvo::ERR_OK) return;
  for (bool long_form : {false, true}) {
    std::ostringstream text;
    kelvo::cli::PrintListingText(text, "disk.kdi", listing, kelvo::cli::ListingStyle{long_form});
    CheckText("disk listing", text.str());
  }
  std::ostringstream json;
  kelvo::cli::PrintListingJson(json, "disk.kdi", listing);
  CheckJson("disk listing", json.str());
}

void LabelledTapeOutput(const std::string& tap) {
  kelvo::fuzz::FuzzTape tape(tap);
  kelvo::TapeListView view;
  QuietListSink sink;
  (void)kelvo::ListTapeFiles(tape.ctx, "Tape0", true, view, sink);
  const kelvo::TapeListDisplay shown = kelvo::ShowTapeList(view, "Tape0", "*.*");
  std::ostringstream text;
  kelvo::cli::PrintTapeListText(text, shown);
  CheckText("tape listing", text.str());
  std::ostringstream json;
  kelvo::cli::PrintTapeListJson(json, "Tape0", shown);
  CheckJson("tape listing", json.str());

  const auto out = kelvo::fuzz::ScratchDir() / "out";
  std::filesystem::create_directory(out);
  kelvo::CRestoreProgressModel progress(tape.busy);
  kelvo::TapeRestoreReport report;
  (void)kelvo::RestoreLabelledTape(tape.ctx, "Tape0", out.string(), "*.*", {}, {}, progress,
                                   &report);
  std::ostringstream said;
  kelvo::cli::PrintRestoreOutcome(said, report.outcome);
  CheckText("labelled restore", said.str());
}

void QvaTapeOutput(const std::uint8_t* data, std::size_t size) {
  const std::string device = kelvo::fuzz::WriteVolumeSet(data, size);
  const auto out = kelvo::fuzz::ScratchDir() / "out";
  std::filesystem::create_directory(out);
  kelvo::fuzz::FuzzTape tape(device);
  kelvo::CQvaRestoreModel progress(tape.busy);
  kelvo::QvaRestoreReport report;
  (void)kelvo::RestoreQvaTape(tape.ctx, "Tape0", out.string(), "", {}, progress, &report);
  std::ostringstream said;
  kelvo::cli::PrintQvaRestoreReport(said, report);
  CheckText("QVA restore", said.str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  kelvo::fuzz::ClearScratch();
  const std::uint8_t* medium = data + 1;
  const std::size_t medium_size = size - 1;
  switch (data[0] % 3) {
    case 0:
      DiskListingOutput(medium, medium_size);
      break;
    case 1:
      LabelledTapeOutput(kelvo::fuzz::WriteScratchFile("tape.tap", medium, medium_size).string());
      break;
    default:
      QvaTapeOutput(medium, medium_size);
      break;
  }
  return 0;
}

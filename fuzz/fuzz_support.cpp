#include "fuzz_support.h"

#include "diskfs/listing.h"
#include "diskfs/disk_image_doc.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace kelvo::fuzz {
namespace fs = std::filesystem;

Button QuietInteraction::Ask(const std::string&, const std::string&, Buttons buttons, Icon) {
  ++asked;
  switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
      return Button::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
      return Button::Yes;
    case Buttons::RetryCancel:
      return Button::Cancel;
    case Buttons::AbortRetryIgnore:
      return Button::Abort;
  }
  return Button::Cancel;
}

namespace {

class Scratch {
 public:
  Scratch() {
    // Memory-backed when possible: the operations flush what they write, and
    // a flush to a disk would make an input's time depend on the disk.
    std::error_code ec;
    fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "kdu-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace

const fs::path& ScratchDir() {
  static Scratch scratch;
  return scratch.path();
}

void ClearScratch() {
  std::error_code ec;
  for (fs::directory_iterator it(ScratchDir(), ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code remove_ec;
    fs::remove_all(it->path(), remove_ec);
  }
}

fs::path WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
  fs::path path = ScratchDir() / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (size > 0) out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) std::abort();  // the scratch folder must be writable
  return path;
}

std::vector<std::string_view> SplitInput(const std::uint8_t* data, std::size_t size,
                                         std::string_view separator, std::size_t max_parts) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < max_parts) {
    std::size_t at = rest.find(separator);
    if (at == std::string_view::npos) break;
    parts.push_back(rest.substr(0, at));
    rest.remove_prefix(at + separator.size());
  }
  parts.push_back(rest);
  return parts;
}

std::string WriteVolumeSet(const std::uint8_t* data, std::size_t size) {
  const auto volumes = SplitInput(data, size, kVolumeSeparator, 3);
  std::string device;
  for (std::size_t i = 0; i < volumes.size(); ++i) {
    const auto path = WriteScratchFile(
        "vol" + std::to_string(i + 1) + ".tap",
        reinterpret_cast<const std::uint8_t*>(volumes[i].data()), volumes[i].size());
    if (i > 0) device += ",";
    device += path.string();
  }
  return device;
}

void CheckTrackDisk(const TrackDisk& disk) {
  const std::size_t blocks = std::size_t(disk.cylinders) * 2 * std::size_t(disk.sectors);
  bool ok = disk.bytes.size() == blocks * kBlockSize && disk.unreadable.size() == blocks &&
            disk.report.good + disk.report.recovered + disk.report.missing == blocks &&
            disk.report.missing_lbns.size() == disk.report.missing;
  for (std::size_t lbn = 0; ok && lbn < blocks; ++lbn)
    if (disk.unreadable[lbn])
      for (std::size_t i = 0; ok && i < kBlockSize; ++i) ok = disk.bytes[lbn * kBlockSize + i] == 0;
  if (!ok) {
    std::fprintf(stderr, "a track image decoded into blocks that disagree with its account\n");
    std::abort();
  }
  CDiskImageDoc doc;
  if (doc.LoadImage(disk.bytes) != ERR_OK) return;
  DiskListing listing;
  (void)ListFiles(doc, listing, doc.BlockCount());
}

}  // namespace kelvo::fuzz

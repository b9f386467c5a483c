// Shared pieces of the fuzz targets: a user who answers every question the
// same way, and a private scratch folder for inputs that must be files and
// for what an operation writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/interaction.h"
#include "media/track_disk.h"
#include "tape/tape_commands.h"

namespace kelvo::fuzz {

// Answers so that no operation can loop on a question: OK, Yes, Cancel
// after an error, Abort for Abort/Retry/Ignore.
class QuietInteraction : public Interaction {
 public:
  Button Ask(const std::string&, const std::string&, Buttons buttons, Icon) override;
  void Beep(BeepKind) override {}
  void PumpMessages() override {}
  int asked = 0;
};

// A tape context whose drive Tape0 is bound to `device` (image files).
struct FuzzTape {
  explicit FuzzTape(const std::string& device) { ctx.bindings.device[0] = device; }
  QuietInteraction ui;
  bool busy = false;
  TapeContext ctx{ui, busy, {}};
};

// The option bits carried by an input's last byte (0 for an empty input).
inline std::uint8_t OptionBits(const std::uint8_t* data, std::size_t size) {
  return size > 0 ? data[size - 1] : 0;
}

// One scratch folder per process, made on first use under the temporary
// folder and removed when the process ends.
const std::filesystem::path& ScratchDir();
// Removes everything inside the scratch folder.
void ClearScratch();
// Writes `bytes` to `name` in the scratch folder (replacing it) and returns
// its path.
std::filesystem::path WriteScratchFile(const std::string& name, const std::uint8_t* data,
                                       std::size_t size);

// Splits an input into parts at each occurrence of `separator` (for inputs
// that stand for several files, such as the volumes of a tape set).
std::vector<std::string_view> SplitInput(const std::uint8_t* data, std::size_t size,
                                         std::string_view separator, std::size_t max_parts);

// Checks what a track image decoder made of an input (the blocks and marks
// agree with the geometry, the sector counts add up, the unreadable blocks
// are zeros), aborting on a broken promise, then lists the disk when it
// holds a printer file system.
void CheckTrackDisk(const TrackDisk& disk);

// The separator of the volumes in a tape set input.
inline constexpr std::string_view kVolumeSeparator = "\n--KVOL--\n";

// Writes the volumes of a tape set input (up to three, split at
// kVolumeSeparator) as vol1.tap ... in the scratch folder; returns the
// device string of the set.
std::string WriteVolumeSet(const std::uint8_t* data, std::size_t size);

}  // namespace kelvo::fuzz

#include "app/floppy_description.h"

#include <string_view>
#include <vector>

#include "media/device_table.h"
#include "media/floppy_drive.h"
#include "media/linux_floppy.h"

namespace kelvo {
namespace {

constexpr std::string_view kEmuPrefix = "emu:";

std::string DriveName(int form, char letter) {
  const std::string suffix = std::string("(") + letter + ":)";
  if (form == kDriveForm525) return "5\u00bc Floppy " + suffix;
  if (form == kDriveForm35) return "3\u00bd Floppy " + suffix;
  return suffix;
}

// The form option of an emulated drive's device string (3.5-inch by default).
int EmulatedForm(std::string_view options) {
  int form = kDriveForm35;
  while (!options.empty()) {
    const std::size_t comma = options.find(',');
    const std::string_view item = options.substr(0, comma);
    if (item == "form=5.25") form = kDriveForm525;
    if (item == "form=3.5") form = kDriveForm35;
    if (comma == std::string_view::npos) break;
    options.remove_prefix(comma + 1);
  }
  return form;
}

}  // namespace

FloppyDescription DescribeFloppyDevice(const std::string& device, char letter,
                                       std::shared_ptr<CFloppySyscalls> calls) {
  FloppyDescription d;
  std::string_view text = device;
  if (text.substr(0, kEmuPrefix.size()) == kEmuPrefix) {
    text.remove_prefix(kEmuPrefix.size());
    const std::size_t comma = text.find(',');
    d.exists = !text.substr(0, comma).empty();
    d.emulated = true;
    d.drive_form =
        comma == std::string_view::npos ? kDriveForm35 : EmulatedForm(text.substr(comma + 1));
  } else if (!device.empty()) {
    CFloppyDrive drive(std::string(1, letter) + ":",
                       std::make_shared<CLinuxFloppy>(device, calls ? calls : SystemFloppyCalls()));
    std::vector<MediaKind> types;
    d.exists = drive.GetMediaTypes(types) == ERR_OK;
    if (d.exists) d.drive_form = drive.DescribeDrive().form;
  }
  d.display_name = DriveName(d.drive_form, letter);
  return d;
}

}  // namespace kelvo

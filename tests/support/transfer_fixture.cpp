#include "support/transfer_fixture.h"

#include <stdexcept>

#include "diskfs/floppy_volume_session.h"
#include "diskfs/mount.h"
#include "support/floppy_media.h"

namespace kelvo::test {

TransferBench::TransferBench() {
  services.make_drive = [this](char letter) -> std::unique_ptr<CFloppyDrive> {
    auto it = drives.find(letter);
    if (it == drives.end()) return nullptr;
    return std::make_unique<CFloppyDrive>(std::string(1, letter) + ":", it->second);
  };
}

std::filesystem::path TransferBench::Medium(char letter) const {
  return dir / (std::string("drive_") + letter + ".img");
}

void TransferBench::InsertEmptyDisk(char letter, const std::string& id, int media_code) {
  WriteKelvoMedium(Medium(letter), media_code, id);
  InsertNoDisk(letter);
}

void TransferBench::InsertNoDisk(char letter) { drives[letter] = MakeEmulatedFloppy(Medium(letter)); }

std::filesystem::path TransferBench::Folder(const std::string& name) {
  std::filesystem::path path = dir / name;
  std::filesystem::create_directories(path);
  return path;
}

FileLocator TransferBench::Find(char letter, const std::string& name) {
  CFloppyDrive drive(std::string(1, letter) + ":", drives.at(letter));
  CFloppyVolumeSession session(drive);
  ScriptedInteraction quiet;
  FileLocator file;
  if (session.Open(quiet) == ERR_OK && session.Volume().FindFile(name, file) != ERR_OK)
    file = FileLocator{};
  return file;
}

void TransferBench::EditEntry(char letter, const FileLocator& file,
                              const std::function<void(FileEntry&)>& edit) {
  CFloppyDrive drive(std::string(1, letter) + ":", drives.at(letter));
  CFloppySession session(drive);
  Block block{};
  if (session.Status() != ERR_OK || SetMediaFromDisk(drive) != ERR_OK ||
      drive.ReadSectors(file.directory_lbn, 1, block.data()) != ERR_OK)
    throw std::runtime_error("cannot read the directory sector");
  DirectorySector sector = DirectorySector::Decode(block.data());
  edit(sector.slots[file.slot]);
  sector.Encode(block.data());
  if (drive.WriteSectors(file.directory_lbn, 1, block.data()) != ERR_OK)
    throw std::runtime_error("cannot write the directory sector");
}

ErrorCode TransferBench::Copy(const std::string& from, PlaceKind from_kind,
                              const std::string& to, PlaceKind to_kind,
                              std::vector<std::string> names, TransferReport* report) {
  state.TransferSelection = std::move(names);
  const auto place = [](const std::string& text, PlaceKind kind, CPlaceView* view) {
    TransferPlace p{kind, text};
    if (const auto* w = dynamic_cast<RecordingWindow*>(view); w && kind == PlaceKind::DiskImage)
      p.document = w->Document();
    return p;
  };
  return TransferFiles(place(from, from_kind, services.views.source),
                       place(to, to_kind, services.views.destination), services, report);
}

std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace kelvo::test

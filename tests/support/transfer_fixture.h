// What the transfer tests share: emulated floppy drives in a temporary
// folder, a recording place view and "Copy Files" window, and the
// services of a transfer over them (a test puts its views in
// services.views).
#pragma once

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/engine_setup.h"
#include "diskfs/kelvo_volume.h"
#include "media/emulated_floppy.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"
#include "transfer/transfer_engine.h"

namespace kelvo::test {

// A place view that keeps its list as names in order; the view of a disk
// image place holds the image's document.
class RecordingWindow final : public CPlaceView {
 public:
  explicit RecordingWindow(CDiskImageDoc* doc = nullptr) : doc_(doc) {}
  void DropEntry(std::string_view name) override {
    auto it = std::find(names.begin(), names.end(), name);
    if (it != names.end()) names.erase(it);
    log.push_back("drop " + std::string(name));
  }
  void AddEntry(std::string_view name, const FileEntry* entry) override {
    names.emplace_back(name);
    log.push_back("add " + std::string(name));
    if (entry) entries.push_back(*entry);
  }
  CDiskImageDoc* Document() const { return doc_; }

  std::vector<std::string> names;
  std::vector<std::string> log;
  std::vector<FileEntry> entries;

 private:
  CDiskImageDoc* doc_;
};

// A "Copy Files" window that records what it shows; `cancel_after` presses
// Cancel once that many "Copying:" texts were shown (0: never).
class RecordingCopyWindow final : public CCopyFilesSink {
 public:
  explicit RecordingCopyWindow(const bool* busy_flag = nullptr) : busy_flag_(busy_flag) {}
  void Show() override { ++shown; }
  void SetTo(const std::string& text) override { to.push_back(text); }
  void SetCopying(const std::string& text) override {
    copying.push_back(text);
    busy_while_copying.push_back(busy_flag_ && *busy_flag_);
  }
  bool CancelRequested() const override {
    return cancel_after > 0 && copying.size() >= cancel_after;
  }
  void Close() override { ++closed; }

  std::size_t cancel_after = 0;
  int shown = 0;
  int closed = 0;
  std::vector<std::string> to;
  std::vector<std::string> copying;
  std::vector<bool> busy_while_copying;

 private:
  const bool* busy_flag_;
};

// Emulated drives A: and B: over media files in a temporary folder, and
// the services of a transfer among them and the folder's PC files.
struct TransferBench {
  TempDir dir;
  AppState state;
  ScriptedInteraction ui;
  RecordingCopyWindow progress{&state.CopyInProgress};
  std::map<char, std::shared_ptr<CEmulatedFloppy>> drives;
  TransferServices services = MakeTransferServices(state, ui, progress);

  TransferBench();
  // Drive `letter` holding an empty printer disk (720 KB unless another
  // media code is given), or no disk.
  void InsertEmptyDisk(char letter, const std::string& id = "TEST", int media_code = 5);
  void InsertNoDisk(char letter);
  std::filesystem::path Medium(char letter) const;
  // A PC folder under the temporary folder (created).
  std::filesystem::path Folder(const std::string& name);

  // The file `name` on the disk in `letter` (an empty name when absent).
  FileLocator Find(char letter, const std::string& name);
  // Rewrites the directory entry of `file` on the disk in `letter`.
  void EditEntry(char letter, const FileLocator& file,
                 const std::function<void(FileEntry&)>& edit);

  // Copies between the places of two texts; a disk image place is the
  // document of the recording view given for it.
  ErrorCode Copy(const std::string& from, PlaceKind from_kind, const std::string& to,
                 PlaceKind to_kind, std::vector<std::string> names,
                 TransferReport* report = nullptr);
};

// The names in a PC folder, sorted.
std::vector<std::string> FolderNames(const std::filesystem::path& folder);

}  // namespace kelvo::test

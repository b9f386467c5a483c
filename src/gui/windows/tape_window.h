// The window of a tape drive (place kind 2): the files of the labelled tape
// in the drive, one row per file with its name, size, type description and
// sequence number on the tape. The list is read from the tape when the
// window opens and when a command asks for it; Esc aborts a long listing.
#pragma once

#include "gui/windows/child_frame_window.h"
#include "tape/tape_commands.h"
#include "tape/tape_listing.h"

class QShortcut;
class QPrinter;

namespace kelvo::gui {

class CWindowManager;

class CTapeWindow : public CChildFrameWindow, private CTapeListSink {
  Q_OBJECT
 public:
  // `drive` is the drive name ("Tape0" ...), which is also the place text.
  CTapeWindow(ShellContext& ctx, const QString& drive, QWidget* parent = nullptr);
  ~CTapeWindow() override;

  QString PlaceText() const override { return drive_; }
  QString Drive() const { return drive_; }
  QString ListingHeadingText() const override;
  // Reads the tape again (as ListTape).
  void Refresh() override;
  // Asks for the Tape ID before printing; false when the user cancels.
  bool PrepareListingPrint() override;
  // Name, size, description and sequence number of the selected entry.
  void ShowProperties() override;

  // Reads the labels of the tape and lists them. Refused (with a beep)
  // while this window or another tape operation is busy. Returns 0 or the
  // error that stopped the listing (already shown to the user); 5009 after
  // an Esc abort.
  ErrorCode ListTape();
  // Empties the list (after the tape was initialised, erased, loaded or
  // unloaded); the tape is not touched.
  void ClearList();
  // Fills the list from the entries: "*.*" shows all, a type code only the
  // files of that type.
  void ShowList(const QString& filter = QStringLiteral("*.*"));
  // The Esc key during a listing.
  void RequestListingAbort() { abort_requested_ = true; }
  bool ListingRunning() const { return listing_; }
  // Shows the Tape ID dialog, then prints the list to `printer`; false when
  // cancelled or when printing failed.
  bool PrintList(QPrinter& printer);

  const TapeListView& List() const { return view_; }
  QString TapeId() const;
  void SetTapeId(const QString& id);
  QString StatusText() const;

 protected:
  ErrorCode DoDelete(const QStringList& names) override;
  ErrorCode DoRename(const QString& old_name, const QString& new_name) override;
  // Selected names in tape order, as restoring from the list needs.
  QStringList TransferNames() const override;

 private:
  void SetStatusText(const std::string& text) override;
  bool AbortRequested() const override { return abort_requested_; }
  void ClearAbortRequest() override { abort_requested_ = false; }
  void SetWaitCursor(bool on);

  QString drive_;
  TapeListView view_;
  QShortcut* abort_key_;
  bool abort_requested_ = false;
  bool listing_ = false;
  bool wait_cursor_ = false;
};

// The tape operations' view of the program: its Interaction, TapeBusy and
// the tape drives bound for this run.
TapeContext MakeTapeContext(ShellContext& ctx);

// The open window of tape drive `drive`, or null.
CTapeWindow* FindTapeWindow(const CWindowManager& windows, const QString& drive);
// Brings the window of `drive` to the front, opening one when there is
// none; then, with `list`, reads the tape into it.
CTapeWindow* OpenTapeWindow(CWindowManager& windows, const QString& drive, bool list = true);

}  // namespace kelvo::gui

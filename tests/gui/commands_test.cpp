// The enabling rule of every menu command in each kind of active window.
#include <QTest>

#include "gui/shell/commands.h"

using namespace kelvo::gui;

namespace {

CommandContext Explorer(PlaceKind k) {
  CommandContext c;
  c.explorer_kind = k;
  return c;
}

}  // namespace

class CommandsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void AlwaysEnabledCommandsIgnoreTheWindow() {
    for (Cmd cmd : {Cmd::Open, Cmd::AllFileTypes, Cmd::RetainTapeLabels, Cmd::Preferences,
                    Cmd::Close, Cmd::CloseAll, Cmd::About, Cmd::PrintSetup, Cmd::Exit}) {
      QVERIFY(IsCommandEnabled(cmd, CommandContext{}));
      QVERIFY(IsCommandEnabled(cmd, Explorer(PlaceKind::Tape)));
    }
  }

  void ExplorerCommandsNeedAnExplorerWindow() {
    for (Cmd cmd : {Cmd::Delete, Cmd::Print, Cmd::SaveFileList, Cmd::SelectAll, Cmd::Refresh,
                    Cmd::LargeIcons, Cmd::SmallIcons, Cmd::List, Cmd::Details, Cmd::ByName,
                    Cmd::ByType, Cmd::BySize, Cmd::ByDate}) {
      QVERIFY(!IsCommandEnabled(cmd, CommandContext{}));
      for (PlaceKind k : {PlaceKind::PcFolder, PlaceKind::Floppy, PlaceKind::Tape, PlaceKind::DiskImage})
        QVERIFY(IsCommandEnabled(cmd, Explorer(k)));
    }
  }

  void RenameIsGreyedForTapesAndPropertiesForPcFolders() {
    QVERIFY(IsCommandEnabled(Cmd::Rename, Explorer(PlaceKind::PcFolder)));
    QVERIFY(IsCommandEnabled(Cmd::Rename, Explorer(PlaceKind::Floppy)));
    QVERIFY(IsCommandEnabled(Cmd::Rename, Explorer(PlaceKind::DiskImage)));
    QVERIFY(!IsCommandEnabled(Cmd::Rename, Explorer(PlaceKind::Tape)));
    QVERIFY(!IsCommandEnabled(Cmd::Rename, CommandContext{}));
    QVERIFY(!IsCommandEnabled(Cmd::Properties, Explorer(PlaceKind::PcFolder)));
    QVERIFY(IsCommandEnabled(Cmd::Properties, Explorer(PlaceKind::Floppy)));
    QVERIFY(IsCommandEnabled(Cmd::Properties, Explorer(PlaceKind::Tape)));
    QVERIFY(IsCommandEnabled(Cmd::Properties, Explorer(PlaceKind::DiskImage)));
    QVERIFY(!IsCommandEnabled(Cmd::Properties, CommandContext{}));
  }

  void PrintFollowsThePrintableList() {
    CommandContext c = Explorer(PlaceKind::Tape);
    c.list_printable = false;
    QVERIFY(!IsCommandEnabled(Cmd::Print, c));
    QVERIFY(IsCommandEnabled(Cmd::SaveFileList, c));
  }

  void SaveAsNeedsAnImageWindow() {
    QVERIFY(IsCommandEnabled(Cmd::SaveAs, Explorer(PlaceKind::DiskImage)));
    for (PlaceKind k : {PlaceKind::PcFolder, PlaceKind::Floppy, PlaceKind::Tape})
      QVERIFY(!IsCommandEnabled(Cmd::SaveAs, Explorer(k)));
    QVERIFY(!IsCommandEnabled(Cmd::SaveAs, CommandContext{}));
  }

  void SaveNeedsAModifiedDocument() {
    CommandContext c;
    QVERIFY(!IsCommandEnabled(Cmd::Save, c));
    c.document_modified = true;
    QVERIFY(IsCommandEnabled(Cmd::Save, c));
  }

  void ImageCommandsFollowTheImageViewer() {
    CommandContext c = Explorer(PlaceKind::DiskImage);
    for (Cmd cmd : {Cmd::ZoomIn, Cmd::ZoomOut, Cmd::Rotate}) {
      QVERIFY(!CommandRule(cmd, c));
      c.image_viewer_active = true;
      QVERIFY(CommandRule(cmd, c));
      c.image_viewer_active = false;
    }
    // An image window at the end of its zoom range greys that direction only.
    c.image_viewer_active = true;
    c.image_zoom_at_top = true;
    QVERIFY(!IsCommandEnabled(Cmd::ZoomIn, c));
    QVERIFY(IsCommandEnabled(Cmd::ZoomOut, c));
    QVERIFY(IsCommandEnabled(Cmd::Rotate, c));
    c.image_zoom_at_top = false;
    c.image_zoom_at_bottom = true;
    QVERIFY(IsCommandEnabled(Cmd::ZoomIn, c));
    QVERIFY(!IsCommandEnabled(Cmd::ZoomOut, c));
  }

  void LabelDiskNeedsAFloppyWindow() {
    QVERIFY(CommandRule(Cmd::LabelDisk, Explorer(PlaceKind::Floppy)));
    for (PlaceKind k : {PlaceKind::PcFolder, PlaceKind::Tape, PlaceKind::DiskImage})
      QVERIFY(!CommandRule(Cmd::LabelDisk, Explorer(k)));
    QVERIFY(!CommandRule(Cmd::LabelDisk, CommandContext{}));
    for (Cmd cmd : {Cmd::CopyDisk, Cmd::FormatDisk, Cmd::DiskDriveInfo})
      QVERIFY(CommandRule(cmd, CommandContext{}));
  }

  void TapeCommandsNeedADriveAndNoRunningOperation() {
    for (Cmd cmd : {Cmd::TapeList, Cmd::TapeRestore, Cmd::TapeInit, Cmd::TapeErase, Cmd::TapeLoad,
                    Cmd::TapeUnload, Cmd::TapeRewind, Cmd::TapeRetension, Cmd::TapeDriveInfo}) {
      CommandContext c;
      QVERIFY(!CommandRule(cmd, c));
      c.tape_present = true;
      QVERIFY(CommandRule(cmd, c));
      QVERIFY(IsCommandEnabled(cmd, c));
      c.tape_busy = true;
      QVERIFY(!CommandRule(cmd, c));
      QVERIFY(!IsCommandEnabled(cmd, c));
    }
  }

  void DiskCommandsFollowTheirRules() {
    // Copy, Format and Drive Information always; Label only for a floppy window.
    for (Cmd cmd : {Cmd::CopyDisk, Cmd::LabelDisk, Cmd::FormatDisk, Cmd::DiskDriveInfo})
      QVERIFY(CommandAvailable(cmd));
    for (Cmd cmd : {Cmd::CopyDisk, Cmd::FormatDisk, Cmd::DiskDriveInfo}) {
      QVERIFY(IsCommandEnabled(cmd, CommandContext{}));
      QVERIFY(IsCommandEnabled(cmd, Explorer(PlaceKind::Tape)));
    }
    QVERIFY(IsCommandEnabled(Cmd::LabelDisk, Explorer(PlaceKind::Floppy)));
    QVERIFY(!IsCommandEnabled(Cmd::LabelDisk, Explorer(PlaceKind::DiskImage)));
    QVERIFY(!IsCommandEnabled(Cmd::LabelDisk, CommandContext{}));
  }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"

// Floppy windows over emulated drives: opening from the device bar, listing,
// the drive's errors, drops in and drags out, delete and rename in place.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include "gui/windows/device_bar.h"
#include "gui/dialogs/file_properties_dialog.h"
#include "gui/windows/floppy_window.h"
#include "gui/dialogs/format_dialog.h"
#include "gui/windows/pc_explorer_window.h"
#include "support/floppy_fixture.h"
#include "support/floppy_media.h"
#include "support/gui_fixture.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

CFloppyWindow* ActiveFloppy(Shell& shell) {
  QMdiSubWindow* sub = shell.frame->MdiArea()->activeSubWindow();
  return sub ? qobject_cast<CFloppyWindow*>(sub->widget()) : nullptr;
}

QStringList Sorted(QStringList names) {
  names.sort();
  return names;
}

}  // namespace

class FloppyWindowTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void TheDeviceButtonOpensTheFloppyWindow() {
    FloppyShell f;
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    QCOMPARE(shell.frame->DeviceBar()->Buttons().size(), 1);
    shell.frame->DeviceBar()->Buttons().first()->click();
    CFloppyWindow* floppy = ActiveFloppy(shell);
    QVERIFY(floppy);
    QCOMPARE(floppy->Kind(), PlaceKind::Floppy);
    QCOMPARE(floppy->PlaceText(), QStringLiteral("Floppy Drive A:\\"));
    QCOMPARE(Sorted(Names(floppy)), (QStringList{"A.jsl", "Report.fnt"}));
    QCOMPARE(floppy->Model()->Headers(), (QStringList{"Name", "Size", "Type"}));
    const QStringList caps = floppy->ListView()->CaptionTexts();
    QCOMPARE(caps[0], QStringLiteral("Contents of 'Floppy Drive A:\\'"));
    QCOMPARE(caps[1], QStringLiteral("2 File(s)"));
    QVERIFY2(caps[2].startsWith(QStringLiteral("2.00KB (Disk free space: ")), qPrintable(caps[2]));
    QVERIFY(floppy->Listed());
    QCOMPARE(floppy->DiskId(), QStringLiteral("TEST DISK"));
    QVERIFY(shell.ui.asks.empty());
    QVERIFY(!floppy->Busy());

    // The Disk menu's Label command follows the active window's kind.
    shell.frame->OnIdle();
    QVERIFY(shell.frame->Action(Cmd::LabelDisk)->isEnabled());
    QVERIFY(shell.frame->Action(Cmd::Properties)->isEnabled());
    for (Cmd always : {Cmd::CopyDisk, Cmd::FormatDisk, Cmd::DiskDriveInfo})
      QVERIFY(shell.frame->Action(always)->isEnabled());
    // Pressing the button again brings the same window forward.
    shell.frame->MdiArea()->activateNextSubWindow();
    shell.frame->OnIdle();
    QVERIFY(!ActiveFloppy(shell));
    QVERIFY(!shell.frame->Action(Cmd::LabelDisk)->isEnabled());
    shell.frame->DeviceBar()->Buttons().first()->click();
    QCOMPARE(ActiveFloppy(shell), floppy);
    QCOMPARE(shell.frame->MdiArea()->subWindowList().size(), 2);

    // While a transfer holds a drive the disk is not read again.
    QVERIFY(MakeFloppyMedium(f.a, {}));
    shell.ctx.app.CopyInProgress = true;
    floppy->Refresh();
    QCOMPARE(Names(floppy).size(), 2);
    QCOMPARE(shell.ui.beeps.back(), kelvo::BeepKind::Exclamation);
    shell.ctx.app.CopyInProgress = false;
    floppy->Refresh();
    QVERIFY(Names(floppy).isEmpty());
  }

  void DriveErrorsAreReportedAndRetried() {
    FloppyShell f(DriveB::None, false);  // no medium yet
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    const QString& medium = f.a;
    CFloppyWindow* floppy = f.OpenA();
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{
                                   "The disk media is not recognized.  It may not be formatted."});
    QVERIFY(Names(floppy).isEmpty());
    QVERIFY(!floppy->Listed());
    QVERIFY(!floppy->Busy());
    QCOMPARE(floppy->ListView()->CaptionTexts()[1], QStringLiteral("0 File(s)"));

    // A volume block that claims another geometry than the medium has: the
    // drive cannot find the sectors; Retry reads again, Cancel gives up.
    kelvo::test::WritePatternMedium(QFile::encodeName(medium).toStdString(), 9);
    kelvo::test::WriteVolumeWords(QFile::encodeName(medium).toStdString(), 2339, 15);
    shell.ui.asks.clear();
    shell.ui.answers = {kelvo::Button::Retry, kelvo::Button::Cancel};
    shell.frame->RunCommand(Cmd::Refresh);
    QCOMPARE(shell.ui.Texts(), (std::vector<std::string>{"Sector not found on floppy drive.",
                                                         "Sector not found on floppy drive."}));
    QCOMPARE(shell.ui.asks[0].buttons, kelvo::Buttons::RetryCancel);
    QVERIFY(!floppy->Listed());
    QVERIFY(!floppy->Busy());

    // The disk inserted, Refresh (F5) lists it.
    QVERIFY(MakeFloppyMedium(medium, kTwoFiles));
    shell.ui.asks.clear();
    shell.frame->RunCommand(Cmd::Refresh);
    QCOMPARE(Sorted(Names(floppy)), (QStringList{"A.jsl", "Report.fnt"}));
    QVERIFY(shell.ui.asks.empty());
  }

  void DamagedAndForeignDisksEndTheListing() {
    FloppyShell f(DriveB::None, false);
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    const QString& medium = f.a;

    // A truncated medium file: the drive cannot read it.
    {
      QFile f(medium);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(QByteArray(100000, '\x5a'));
    }
    CFloppyWindow* floppy = shell.frame->Floppies().OpenFloppyWindow(shell.frame->Devices()[0]);
    QCOMPARE(shell.ui.asks.size(), size_t{1});
    QVERIFY(Names(floppy).isEmpty());

    // A disk of another kind: the question offers the Format dialog.
    kelvo::test::WritePatternMedium(QFile::encodeName(medium).toStdString(), 9);
    shell.ui.asks.clear();
    shell.ui.answers = {kelvo::Button::No};
    floppy->Refresh();
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{
                                   "The media is not in Kelvo format. Would you like to format it now?"});
    QVERIFY(Names(floppy).isEmpty());

    // Yes opens the Format dialog for that drive.
    QString dialog_drive;
    WhenModal<CFormatDlg>([&](CFormatDlg* d) {
      dialog_drive = d->findChild<QComboBox*>(QStringLiteral("DriveType"))->currentText();
      d->reject();
    });
    shell.ui.answers = {kelvo::Button::Yes};
    floppy->Refresh();
    QTRY_COMPARE(dialog_drive, QStringLiteral("3\u00BD Floppy (A:)"));

    // A directory chain that runs in a circle is listed once, not forever.
    QVERIFY(MakeFloppyMedium(medium, kTwoFiles));
    {
      QFile f(medium);
      QVERIFY(f.open(QIODevice::ReadWrite));
      // The second type of the type index (in the volume block from byte
      // 100, six bytes an entry) gets a first directory sector linking
      // back to itself.
      QVERIFY(f.seek(512));
      const QByteArray volume = f.read(512);
      const int first_dir = quint8(volume[110]) | (quint8(volume[111]) << 8);
      QVERIFY(first_dir > 4 && first_dir < 80);
      QVERIFY(f.seek(first_dir * 512));
      QByteArray sector = f.read(512);
      sector[2] = char(first_dir & 0xFF);
      sector[3] = char(first_dir >> 8);
      QVERIFY(f.seek(first_dir * 512));
      f.write(sector);
    }
    shell.ui.asks.clear();
    floppy->Refresh();
    QVERIFY(!floppy->Busy());
    QVERIFY(floppy->Listed());
    QVERIFY(!floppy->LastListing().problems.empty());
  }

  void PcFilesDroppedOnTheWindowGoToTheDisk() {
    FloppyShell f;
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    const QString& medium = f.a;
    MakeFile(f.dir.path(), "NEWFIL.JSL", 1500);
    f.pc->Refresh();
    CFloppyWindow* floppy = f.OpenA();

    f.pc->ListView()->SelectNames({"NEWFIL.JSL"});
    std::unique_ptr<QMimeData> data(f.pc->ListView()->make_drag_data());
    QVERIFY(data);
    shell.frame->HandleDrop(floppy, data.get());
    QVERIFY2(shell.ui.asks.empty(), shell.ui.asks.empty() ? "" : shell.ui.asks[0].text.c_str());
    QCOMPARE(Sorted(Names(floppy)), (QStringList{"A.jsl", "Newfil.jsl", "Report.fnt"}));
    QCOMPARE(MediumNames(medium), (QStringList{"A.jsl", "Newfil.jsl", "Report.fnt"}));
    QCOMPARE(floppy->ListView()->CaptionTexts()[1], QStringLiteral("3 File(s)"));

    // Files dragged in from the desktop's file manager arrive alike, and
    // the device button of the drive is a drop target too.
    MakeFile(f.dir.path(), "DESK.JSL", 100);
    QMimeData from_desktop;
    from_desktop.setUrls({QUrl::fromLocalFile(f.dir.filePath("DESK.JSL"))});
    shell.frame->HandleDeviceDrop(shell.frame->Devices()[0], &from_desktop);
    QVERIFY(Names(floppy).contains("Desk.jsl"));
  }

  void FloppyFilesDraggedToThePcArriveWhole() {
    FloppyShell f;
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    QTemporaryDir out;
    CPcExplorerWindow* pc = f.pc;
    QVERIFY(pc->OpenFolder(out.path()));
    CFloppyWindow* floppy = f.OpenA();
    shell.ctx.settings.RetainPrinterFormat = 1;

    floppy->ListView()->SelectNames({"Report.fnt"});
    std::unique_ptr<QMimeData> data(floppy->ListView()->make_drag_data());
    QVERIFY(data);
    shell.frame->HandleDrop(pc, data.get());
    QVERIFY(shell.ui.asks.empty());
    QFile copied(QDir(out.path()).filePath("Report.fnt"));
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QCOMPARE(copied.readAll(), QByteArray(3 * 512, 'A'));
    QVERIFY(Names(pc).contains("Report.fnt"));
  }

  void DeleteAsksFirstAndRemovesTheFilesFromTheDisk() {
    FloppyShell f;
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    const QString& medium = f.a;
    CFloppyWindow* floppy = f.OpenA();

    floppy->ListView()->Selection()->clearSelection();
    shell.frame->RunCommand(Cmd::Delete);
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"There are no files selected."});

    floppy->ListView()->SelectNames({"Report.fnt"});
    shell.ui.asks.clear();
    shell.ui.answers = {kelvo::Button::No};
    floppy->DeleteSelected();
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"Delete the currently selected files?"});
    QCOMPARE(MediumNames(medium), (QStringList{"A.jsl", "Report.fnt"}));

    shell.ui.answers = {kelvo::Button::Yes};
    floppy->DeleteSelected();
    QCOMPARE(Names(floppy), QStringList{"A.jsl"});
    QCOMPARE(MediumNames(medium), QStringList{"A.jsl"});
    QCOMPARE(shell.ui.asks.size(), size_t{2});
  }

  void RenamingInPlaceRenamesOnTheDisk() {
    FloppyShell f;
    QVERIFY(f.ok);
    Shell& shell = *f.shell;
    const QString& medium = f.a;
    CFloppyWindow* floppy = f.OpenA();
    const QModelIndex a = floppy->Model()->index(floppy->Model()->FindRow("A.jsl"), 0);
    QVERIFY(floppy->Model()->flags(a) & Qt::ItemIsEditable);
    // A name that is taken is refused once; list and disk keep both files.
    QVERIFY(floppy->Model()->setData(a, QStringLiteral("REPORT.FNT"), Qt::EditRole));
    QCoreApplication::processEvents();
    QCOMPARE(shell.ui.asks.size(), size_t{1});
    QCOMPARE(Sorted(Names(floppy)), (QStringList{"A.jsl", "Report.fnt"}));
    QCOMPARE(MediumNames(medium), (QStringList{"A.jsl", "Report.fnt"}));

    const QModelIndex b = floppy->Model()->index(floppy->Model()->FindRow("Report.fnt"), 0);
    shell.ui.asks.clear();
    QVERIFY(floppy->Model()->setData(b, QStringLiteral("LOGO.FNT"), Qt::EditRole));
    QTRY_VERIFY(Names(floppy).contains("Logo.fnt"));
    QVERIFY(shell.ui.asks.empty());
    QVERIFY(MediumNames(medium).contains("Logo.fnt"));
    QVERIFY(!MediumNames(medium).contains("Report.fnt"));
  }

  void PropertiesShowTheSelectedFloppyFile() {
    FloppyShell f;
    QVERIFY(f.ok);
    CFloppyWindow* floppy = f.OpenA();
    floppy->ListView()->SelectNames({"Report.fnt"});
    QStringList values;
    WhenModal<CFilePropertiesDlg>([&](CFilePropertiesDlg* d) {
      for (const char* label : {"File Name:", "File Size:", "File Description:"})
        values << d->Value(QString::fromLatin1(label));
      d->accept();
    });
    f.shell->frame->RunCommand(Cmd::Properties);
    QCOMPARE(values, (QStringList{"Report.fnt", "1,536", "Font File (300 dpi)"}));
  }
};

QTEST_MAIN(FloppyWindowTest)
#include "floppy_window_test.moc"

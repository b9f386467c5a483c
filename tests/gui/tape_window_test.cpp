// The tape window: listing a tape image, its columns and captions, the
// listing's failures and Esc abort, the selection rule, and the Tape ID.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "gui/windows/device_bar.h"
#include "gui/windows/listing.h"
#include "gui/dialogs/tape_id_dialog.h"
#include "gui/windows/tape_window.h"
#include "support/gui_fixture.h"
#include "support/tape_builder.h"
#include "support/tape_media.h"
#include "core/error_text.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// A main window whose Tape0 is an image file in a temporary folder, with
// its button on the bar.
struct TapeShell {
  QTemporaryDir dir;
  QString tap;
  std::vector<PresentDevice> devices;
  Shell shell;
  explicit TapeShell(const QString& tap_name = QStringLiteral("t.tap"))
      : tap(dir.filePath(tap_name)), devices{{"Tape0", tap, true, true}}, shell(devices) {
    shell.ctx.app.Bindings.tape[0] = tap.toStdString();
  }
  CTapeWindow* PressTapeButton() {
    QList<QToolButton*> buttons = shell.frame->DeviceBar()->Buttons();
    if (buttons.isEmpty()) return nullptr;
    buttons.first()->click();
    return FindTapeWindow(shell.frame->Windows(), "Tape0");
  }
  // Puts `files` on the tape, shows the main window and presses the button.
  CTapeWindow* OpenWith(const std::vector<TapeFileSpec>& files) {
    if (!WriteLabelledTapeImage(tap, files)) return nullptr;
    shell.Start(dir.path());
    return PressTapeButton();
  }
};

QStringList Column(const CChildFrameWindow* w, int column) {
  QStringList out;
  for (int r = 0; r < w->Model()->rowCount(); ++r) out << w->Model()->CellText(r, column);
  return out;
}

std::vector<TapeFileSpec> ThreeFiles() {
  return {BinaryTapeFile("REPORT", "FNT", 4096, 1),
          SourceTapeFile("JOB1", "JSL", {"START", "PRINT A", "END"}),
          BinaryTapeFile("LOGO", "IMG", 1024, 2)};
}

// Answers the next modal dialog (the Tape ID dialog) once it is up.
void AnswerTapeIdDialog(const QString& id, bool ok) {
  QTimer::singleShot(0, [id, ok] {
    auto* dlg = qobject_cast<CTapeIdDlg*>(QApplication::activeModalWidget());
    if (!dlg) return;
    if (ok) {
      dlg->Field()->setText(id);
      dlg->accept();
    } else {
      dlg->reject();
    }
  });
}

}  // namespace

class TapeWindowTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void TapeButtonOpensTheWindowAndListsTheTape() {
    TapeShell t;
    CTapeWindow* tape = t.OpenWith(ThreeFiles());
    QVERIFY(tape);
    QCOMPARE(tape->Kind(), PlaceKind::Tape);
    QCOMPARE(tape->PlaceText(), QStringLiteral("Tape0"));
    QCOMPARE(t.shell.frame->Windows().ActiveExplorer(), tape);
    QVERIFY(t.shell.ui.asks.empty());
    QCOMPARE(tape->Model()->Headers(), (QStringList{"Name", "Size", "Type", "Seq No."}));
    QCOMPARE(Names(tape), (QStringList{"REPORT.FNT", "JOB1.JSL", "LOGO.IMG"}));
    QCOMPARE(Column(tape, 1), (QStringList{"4,096", "512", "1,024"}));
    QCOMPARE(Column(tape, 3), (QStringList{"1", "2", "3"}));
    QVERIFY(Column(tape, 2)[0].startsWith("Font File"));
    const QStringList captions = tape->ListView()->CaptionTexts();
    QCOMPARE(captions[0], QStringLiteral("Contents of 'Tape0'"));
    QCOMPARE(captions[1], QStringLiteral("3 File(s)"));
    QVERIFY(!captions[2].isEmpty());
    // Widths in the proportions 90 : 75 : 140 : 55, wide enough for a name.
    const QList<int> widths = tape->ListView()->ColumnWidths();
    QVERIFY(widths[0] >= 90);
    QVERIFY(qAbs(widths[2] * 90 - widths[0] * 140) <= 140);
    QVERIFY(qAbs(widths[3] * 90 - widths[0] * 55) <= 90);
    QVERIFY(widths[0] > tape->fontMetrics().horizontalAdvance("REPORT.FNT") + 20);
    QVERIFY(!tape->Busy());
    QVERIFY(!t.shell.ctx.app.TapeBusy);

    // Sorting by a column, and back to tape order by the fourth key.
    tape->Model()->sort(0);
    QCOMPARE(Names(tape), (QStringList{"JOB1.JSL", "LOGO.IMG", "REPORT.FNT"}));
    t.shell.frame->Action(Cmd::ByDate)->trigger();
    QCOMPARE(Names(tape), (QStringList{"REPORT.FNT", "JOB1.JSL", "LOGO.IMG"}));

    // The button again brings the same window forward and reads the tape
    // again: a file appended meanwhile shows up.
    std::vector<TapeFileSpec> four = ThreeFiles();
    four.push_back(BinaryTapeFile("EXTRA", "FNT", 512, 4));
    QVERIFY(WriteLabelledTapeImage(t.tap, four));
    QCOMPARE(t.PressTapeButton(), tape);
    QCOMPARE(t.shell.frame->Windows().Explorers().size(), 2);
    QCOMPARE(Names(tape).size(), 4);
    QCOMPARE(tape->ListView()->CaptionTexts()[1], QStringLiteral("4 File(s)"));

    // Clearing empties the list without reading the tape; Refresh reads it.
    tape->ClearList();
    QVERIFY(Names(tape).isEmpty());
    QCOMPARE(tape->ListView()->CaptionTexts()[1], QStringLiteral("0 File(s)"));
    t.shell.frame->Action(Cmd::Refresh)->trigger();
    QCOMPARE(Names(tape).size(), 4);
    QVERIFY(WriteLabelledTapeImage(t.tap, {}));
    t.shell.frame->Action(Cmd::Refresh)->trigger();
    QVERIFY(Names(tape).isEmpty());
  }

  void AFreshlyInitialisedTapeListsNoFiles() {
    TapeShell t;
    CTapeWindow* tape = t.OpenWith({});
    QVERIFY(tape);
    QVERIFY(Names(tape).isEmpty());
    QCOMPARE(tape->ListView()->CaptionTexts()[1], QStringLiteral("0 File(s)"));
    QVERIFY(t.shell.ui.asks.empty());
  }

  void SkipsOddLabelsAndStopsAtEndfil() {
    using kelvo::test::LabelFields;
    using kelvo::test::MakeLabel;
    TapeShell t;
    kelvo::test::TapeImageBuilder b;
    auto label = [](const char* name, const char* type) {
      LabelFields f;
      f.name = name;
      f.type = type;
      f.blocks = 1;
      return MakeLabel(f);
    };
    const std::string block(512, 'x');
    b.LabelledFile(label("FIRST", "FNT"), block)
        .LabelledFile(label("BAD", "XQZ"), block)  // not a printer file type
        .LabelledFile(label("CON", "FNT"), block)  // a reserved device name
        .LabelledFile(label("SECOND", "IMG"), block)
        .LabelledFile(label("ENDFIL", "END"), "")
        .LabelledFile(label("AFTER", "FNT"), block)
        .Filemark();
    b.WriteTo(t.tap.toStdString());
    t.shell.Start(t.dir.path());
    CTapeWindow* tape = t.PressTapeButton();
    QVERIFY(tape);
    QCOMPARE(Names(tape), (QStringList{"FIRST.FNT", "CON.FNT", "SECOND.IMG"}));
    QCOMPARE(Column(tape, 3), (QStringList{"1", "2", "3"}));
    QVERIFY(t.shell.ui.asks.empty());
    // The reserved name refuses selection.
    tape->ListView()->SelectAll();
    QCOMPARE(tape->ListView()->SelectedNames(), (QStringList{"FIRST.FNT", "SECOND.IMG"}));
  }

  void MissingDriveAndDamagedTapeAreReported() {
    TapeShell t("absent/none.tap");
    t.shell.Start(t.dir.path());
    CTapeWindow* tape = t.PressTapeButton();
    QVERIFY(tape);
    QCOMPARE(t.shell.ui.Texts(),
             std::vector<std::string>{"The tape drive is either not present or is in use."});
    QCOMPARE(t.shell.ui.asks[0].icon, kelvo::Icon::Exclamation);
    QVERIFY(Names(tape).isEmpty());
    QVERIFY(!tape->Busy());

    // A record cut short after the first file: that file stays listed, the
    // read error is shown once, nothing is left busy.
    const QString cut = t.dir.filePath("cut.tap");
    QVERIFY(WriteLabelledTapeImage(cut, ThreeFiles()));
    QFile f(cut);
    QVERIFY(f.open(QIODevice::ReadWrite));
    const QByteArray whole = f.readAll();
    const int second_label = whole.indexOf(QByteArray("JOB1"));
    QVERIFY(second_label > 0);
    QVERIFY(f.resize(second_label + 20));
    f.close();
    t.shell.ctx.app.Bindings.tape[0] = cut.toStdString();
    t.shell.ui.asks.clear();
    QCOMPARE(tape->ListTape(), kelvo::ErrorCode{kelvo::ERR_CRC});
    QCOMPARE(Names(tape), QStringList{"REPORT.FNT"});
    QCOMPARE(t.shell.ui.Texts(), std::vector<std::string>{kelvo::GetErrorText(kelvo::ERR_CRC)});
    QVERIFY(!tape->Busy());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!t.shell.ctx.app.TapeBusy);
  }

  void EscAbortsALongListing() {
    TapeShell t;
    std::vector<TapeFileSpec> files;
    for (int i = 0; i < 40; ++i)
      files.push_back(BinaryTapeFile(QStringLiteral("F%1").arg(i), "FNT", 512, i));
    QVERIFY(WriteLabelledTapeImage(t.tap, files));
    PumpHookInteraction ui;
    t.shell.ctx.ui = &ui;
    t.shell.Start(t.dir.path());
    CTapeWindow* tape = OpenTapeWindow(t.shell.frame->Windows(), "Tape0", false);
    QVERIFY(tape);
    QMdiSubWindow* sub = t.shell.frame->MdiArea()->activeSubWindow();
    int pumps = 0;
    bool closed_while_busy = true;
    ui.on_pump = [&] {
      if (++pumps != 5) return;
      QVERIFY(tape->ListingRunning());
      QVERIFY(tape->Busy());
      QVERIFY(t.shell.ctx.app.TapeBusy);
      // Neither the tape window nor the main window closes meanwhile.
      sub->close();
      t.shell.frame->close();
      closed_while_busy = !t.shell.frame->isVisible() || !sub->isVisible();
      QTest::keyClick(t.shell.frame.get(), Qt::Key_Escape);
    };
    const kelvo::ErrorCode rc = tape->ListTape();
    QCOMPARE(rc, kelvo::ErrorCode{kelvo::ERR_TAPE_RESTORE_CANCELLED});
    QVERIFY(!closed_while_busy);
    QCOMPARE(ui.Texts(), std::vector<std::string>{"Tape list aborted."});
    QCOMPARE(ui.asks[0].icon, kelvo::Icon::Information);
    QVERIFY(Names(tape).isEmpty());
    QVERIFY(!tape->Busy());
    QVERIFY(!t.shell.ctx.app.TapeBusy);
    QVERIFY(!QApplication::overrideCursor());
    // Esc outside a listing changes nothing; the next listing reads all.
    QTest::keyClick(t.shell.frame.get(), Qt::Key_Escape);
    ui.on_pump = nullptr;
    QCOMPARE(tape->ListTape(), kelvo::ErrorCode{0});
    QCOMPARE(Names(tape).size(), 40);
  }

  void TapeFilesCannotBeDeletedOrRenamed() {
    TapeShell t;
    CTapeWindow* tape = t.OpenWith(ThreeFiles());
    tape->ListView()->SelectAll();
    t.shell.frame->Action(Cmd::Delete)->trigger();
    QCOMPARE(t.shell.ui.Texts(), std::vector<std::string>{"Cannot delete tape files."});
    QVERIFY(!t.shell.frame->Action(Cmd::Rename)->isEnabled());
    QCOMPARE(Names(tape).size(), 3);
    QVERIFY(QFile(t.tap).size() > 4096);
  }

  void ACommandOnTheDriveHoldsItsWindow() {
    TapeShell t;
    CTapeWindow* tape = t.OpenWith(ThreeFiles());
    QVERIFY(tape);
    QMdiSubWindow* sub = t.shell.frame->MdiArea()->activeSubWindow();
    tape->SetCommandRunning(true);
    QVERIFY(!tape->isEnabled());
    QVERIFY(!sub->close());  // busy: refused with a beep
    QVERIFY(FindTapeWindow(t.shell.frame->Windows(), "tape0") == tape);
    QCOMPARE(tape->ListTape(), kelvo::ErrorCode{0});  // refused while the command runs
    QCOMPARE(t.shell.ui.beeps.size(), size_t{2});
    QCOMPARE(Names(tape).size(), 3);
    tape->SetCommandRunning(false);
    QVERIFY(tape->isEnabled());
    tape->ClearList();
    QVERIFY(Names(tape).isEmpty());
    // Another window is in front: opening without listing brings it back.
    t.shell.frame->Windows().OpenPcExplorer();
    QVERIFY(t.shell.frame->Windows().ActiveExplorer() != tape);
    QCOMPARE(OpenTapeWindow(t.shell.frame->Windows(), "Tape0", false), tape);
    QCOMPARE(t.shell.frame->Windows().ActiveExplorer(), tape);
    QVERIFY(Names(tape).isEmpty());
    QVERIFY(sub->close());
  }

  void SavesTheTapeListWithSequenceNumbersFirst() {
    TapeShell t;
    CTapeWindow* tape = t.OpenWith(ThreeFiles());
    QVERIFY(tape);
    const QString out = t.dir.filePath("tape.lst");
    QVERIFY(t.shell.frame->Documents().SaveFileListTo(out));
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QStringLiteral("Listing of files contained on: Tape0"));
    QVERIFY(lines[1].startsWith("Created on "));
    QVERIFY(lines[2].contains(QRegularExpression("^Seq\\. No\\. +Name +Size +Description$")));
    QVERIFY(lines[3].contains(QRegularExpression("^ +1 +REPORT\\.FNT +4,096 +Font File")));
    QVERIFY(lines[4].contains(QRegularExpression("^ +2 +JOB1\\.JSL +512 ")));
    QVERIFY(lines[5].contains(QRegularExpression("^ +3 +LOGO\\.IMG +1,024 ")));
  }

  void TapeIdIsAskedBeforePrinting() {
    TapeShell t;
    CTapeWindow* tape = t.OpenWith(ThreeFiles());
    QVERIFY(tape);

    // The dialog opens with the current ID in its field, focused.
    tape->SetTapeId("VOL-1");
    {
      CTapeIdDlg dlg(tape->TapeId());
      QCOMPARE(dlg.windowTitle(), QStringLiteral("Tape ID"));
      QCOMPARE(dlg.Field()->text(), QStringLiteral("VOL-1"));
      dlg.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dlg));
      QApplication::setActiveWindow(&dlg);
      QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg.Field()));
    }

    // Cancel: nothing printed, the ID kept.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = OutputPath("kdisk_tape_list.pdf");
    QFile::remove(pdf);
    printer.setOutputFileName(pdf);
    AnswerTapeIdDialog("IGNORED", false);
    QVERIFY(!tape->PrintList(printer));
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(tape->TapeId(), QStringLiteral("VOL-1"));

    // OK: the new ID heads the printed list.
    AnswerTapeIdDialog("ARCHIVE 2026/12", true);
    QVERIFY(tape->PrintList(printer));
    QCOMPARE(tape->TapeId(), QStringLiteral("ARCHIVE 2026/12"));
    QCOMPARE(MakeListing(*tape, QDateTime::currentDateTime()).heading,
             QStringLiteral("Listing of files contained on: ARCHIVE 2026/12"));
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.read(5), QByteArray("%PDF-"));
    QVERIFY(f.size() > 500);
  }
};

QTEST_MAIN(TapeWindowTest)
#include "tape_window_test.moc"

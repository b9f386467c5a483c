// Transfers to and from a tape: PC files dropped on the tape window or the
// tape button are written to the labelled tape, tape files dragged to a PC
// window are restored with the conversion settings, and an Abort in the
// progress window stops a restore.
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "gui/shell/drag_payload.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/dialogs/restore_progress_dialog.h"
#include "gui/windows/tape_window.h"
#include "support/gui_fixture.h"
#include "support/tape_builder.h"
#include "support/tape_media.h"
#include "core/error_text.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(path));
}

// A main window on `folder` with Tape0 bound to `tap`, its window open.
struct TapeDesk {
  std::vector<PresentDevice> devices;
  Shell shell;
  CPcExplorerWindow* pc = nullptr;
  CTapeWindow* tape = nullptr;
  TapeDesk(const QString& folder, const QString& tap, bool open_tape = true)
      : devices{{"Tape0", tap, true, true}}, shell(devices) {
    shell.ctx.app.Bindings.tape[0] = tap.toStdString();
    pc = shell.Start(folder);
    if (open_tape) tape = OpenTapeWindow(shell.frame->Windows(), "Tape0");
  }
  std::unique_ptr<QMimeData> DragFrom(CChildFrameWindow* from, const QStringList& names) {
    from->ListView()->SelectNames(names);
    return std::unique_ptr<QMimeData>(from->ListView()->make_drag_data());
  }
};

}  // namespace

class TapeTransferTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void PcFilesDroppedOnTheTapeWindowAreWrittenAndListed() {
    QTemporaryDir dir;
    const QString tap = dir.filePath("t.tap");
    QVERIFY(WriteLabelledTapeImage(tap, {BinaryTapeFile("REPORT", "FNT", 1024, 1)}));
    QDir().mkpath(dir.filePath("pc"));
    QDir().mkpath(dir.filePath("back"));
    const QByteArray font = BinaryTapeFile("X", "FNT", 3072, 7).data;
    WriteBytes(dir.filePath("pc/NEWFIL.FNT"), font);
    WriteBytes(dir.filePath("pc/MEMO.JSL"), "HELLO\r\nWORLD\r\n");
    TapeDesk desk(dir.filePath("pc"), tap);
    QVERIFY(desk.tape);
    QCOMPARE(Names(desk.tape), QStringList{"REPORT.FNT"});
    ProgressCloser closer(desk.shell.frame.get(), desk.shell.ctx.app.TapeBusy);

    auto data = desk.DragFrom(desk.pc, {"NEWFIL.FNT", "MEMO.JSL"});
    QVERIFY(data);
    desk.shell.frame->HandleDrop(desk.tape, data.get());
    QVERIFY(desk.shell.ui.asks.empty());
    QCOMPARE(closer.closed, 1);
    QCOMPARE(closer.final_statuses, QStringList{" Done."});
    // The window lists the tape again: the new files follow the old one.
    const QStringList names = Names(desk.tape);
    QCOMPARE(names.size(), 3);
    QCOMPARE(names[0], QStringLiteral("REPORT.FNT"));
    QVERIFY(names.contains("NEWFIL.FNT") && names.contains("MEMO.JSL"));
    QCOMPARE(desk.tape->Model()->Row(desk.tape->Model()->FindRow("NEWFIL.FNT")).size, quint64{3072});
    QVERIFY(!desk.shell.ctx.app.TapeBusy);

    // And back: both arrive in another folder, the font byte for byte, the
    // source as text again.
    desk.shell.ctx.settings.RemoveLineNumbers = true;
    QVERIFY(desk.pc->OpenFolder(dir.filePath("back")));
    auto back = desk.DragFrom(desk.tape, {"NEWFIL.FNT", "MEMO.JSL"});
    QVERIFY(back);
    desk.shell.frame->HandleDrop(desk.pc, back.get());
    QVERIFY(desk.shell.ui.asks.empty());
    QCOMPARE(closer.closed, 2);
    QCOMPARE(ReadAll(dir.filePath("back/NEWFIL.FNT")), font);
    QCOMPARE(ReadAll(dir.filePath("back/MEMO.JSL")), QByteArray("HELLO\r\nWORLD\r\n"));
    QVERIFY(desk.pc->Model()->FindRow("NEWFIL.FNT") >= 0);
  }

  void PcFilesDroppedOnTheTapeButtonAreWritten() {
    QTemporaryDir dir;
    const QString tap = dir.filePath("t.tap");
    QVERIFY(WriteLabelledTapeImage(tap, {}));
    QDir().mkpath(dir.filePath("pc"));
    WriteBytes(dir.filePath("pc/LOGO.IMG"), QByteArray(700, '\x5A'));
    TapeDesk desk(dir.filePath("pc"), tap, false);
    desk.shell.ctx.settings.TapeBlockingFactor = 1;  // tape blocks of 512 bytes
    ProgressCloser closer(desk.shell.frame.get(), desk.shell.ctx.app.TapeBusy);
    auto data = desk.DragFrom(desk.pc, {"LOGO.IMG"});
    QVERIFY(data);
    desk.shell.frame->HandleDeviceDrop(desk.devices[0], data.get());
    QVERIFY(desk.shell.ui.asks.empty());
    QCOMPARE(closer.closed, 1);
    // Label, two data blocks of 512 bytes, and the two closing filemarks.
    const auto items = kelvo::test::ParseTapImage(ReadAll(tap).toStdString());
    QCOMPARE(items.size(), size_t{5});
    QCOMPARE(items[0].data.size(), size_t{128});
    QCOMPARE(items[1].data.size(), size_t{512});
    QCOMPARE(items[2].data, std::string(188, '\x5A') + std::string(324, '\0'));
    QVERIFY(items[3].filemark && items[4].filemark);
    CTapeWindow* tape = OpenTapeWindow(desk.shell.frame->Windows(), "Tape0");
    QCOMPARE(Names(tape), QStringList{"LOGO.IMG"});
    QCOMPARE(tape->Model()->Row(0).size, quint64{1024});

    // With the window open, a drop on the button lists the tape again.
    WriteBytes(dir.filePath("pc/SECOND.IMG"), QByteArray(10, 'x'));
    desk.pc->Relist();
    auto more = desk.DragFrom(desk.pc, {"SECOND.IMG"});
    desk.shell.frame->HandleDeviceDrop(desk.devices[0], more.get());
    QCOMPARE(Names(tape), (QStringList{"LOGO.IMG", "SECOND.IMG"}));
    QCOMPARE(tape->Model()->CellText(1, 3), QStringLiteral("2"));
  }

  void SourceFilesArriveByTheConversionSettings() {
    QTemporaryDir dir;
    const QString tap = dir.filePath("t.tap");
    const TapeFileSpec job = SourceTapeFile("JOB1", "JSL", {"START", "PRINT A", "END"});
    QVERIFY(WriteLabelledTapeImage(tap, {BinaryTapeFile("REPORT", "FNT", 1024, 1), job,
                                         BinaryTapeFile("LOGO", "IMG", 512, 2)}));
    QDir().mkpath(dir.filePath("pc"));
    TapeDesk desk(dir.filePath("pc"), tap);
    ProgressCloser closer(desk.shell.frame.get(), desk.shell.ctx.app.TapeBusy);
    const auto restore = [&](const QStringList& names) {
      auto data = desk.DragFrom(desk.tape, names);
      QVERIFY(data);
      desk.shell.frame->HandleDrop(desk.pc, data.get());
      QVERIFY(desk.shell.ui.asks.empty());
    };

    // Records as text lines of 80 characters, line numbers kept.
    restore({"JOB1.JSL"});
    QByteArray expected;
    const char* lines[] = {"START", "PRINT A", "END"};
    for (int i = 0; i < 3; ++i)
      expected += QByteArray(lines[i]).leftJustified(74, ' ') +
                  QByteArray::number((i + 1) * 100).rightJustified(6, '0') + "\r\n";
    QCOMPARE(ReadAll(dir.filePath("pc/JOB1.JSL")), expected);

    // "Retain MQS Format": the records unchanged, up to the last one.
    desk.shell.ctx.settings.RetainPrinterFormat = true;
    restore({"JOB1.JSL"});
    QCOMPARE(ReadAll(dir.filePath("pc/JOB1.JSL")), job.data.left(240));

    // "Retain Tape Labels": the 128-byte label comes first.
    desk.shell.ctx.settings.RetainPrinterFormat = false;
    desk.shell.ctx.settings.RemoveLineNumbers = true;
    desk.shell.ctx.settings.RetainTapeLabels = true;
    restore({"JOB1.JSL"});
    const QByteArray labelled = ReadAll(dir.filePath("pc/JOB1.JSL"));
    QCOMPARE(labelled.mid(18, 4), QByteArray("JOB1"));
    QCOMPARE(labelled.at(127), '*');
    QCOMPARE(labelled.mid(128), QByteArray("START\r\nPRINT A\r\nEND\r\n"));

    // "TapeRestoreToTypeDirs": into a folder named after the type.
    desk.shell.ctx.settings.RetainTapeLabels = false;
    desk.shell.ctx.settings.TapeRestoreToTypeDirs = true;
    restore({"LOGO.IMG"});
    QCOMPARE(ReadAll(dir.filePath("pc/IMG/LOGO.IMG")), BinaryTapeFile("L", "IMG", 512, 2).data);
    QVERIFY(!QFile::exists(dir.filePath("pc/LOGO.IMG")));
    QCOMPARE(closer.closed, 4);
  }

  void DraggedTapeFilesGoInTapeOrderWhateverTheSort() {
    QTemporaryDir dir;
    const QString tap = dir.filePath("t.tap");
    QVERIFY(WriteLabelledTapeImage(tap, {BinaryTapeFile("REPORT", "FNT", 1024, 1),
                                         BinaryTapeFile("MIDDLE", "FNT", 512, 3),
                                         BinaryTapeFile("LOGO", "IMG", 512, 2)}));
    QDir().mkpath(dir.filePath("pc"));
    TapeDesk desk(dir.filePath("pc"), tap);
    ProgressCloser closer(desk.shell.frame.get(), desk.shell.ctx.app.TapeBusy);
    desk.tape->Model()->sort(0);  // LOGO.IMG, MIDDLE.FNT, REPORT.FNT
    auto data = desk.DragFrom(desk.tape, {"LOGO.IMG", "REPORT.FNT"});
    QVERIFY(data);
    const auto payload = DecodeFileList(data->data(kFileListMimeType));
    QVERIFY(payload);
    QCOMPARE(payload->kind, 2);
    QCOMPARE(desk.shell.ctx.TransferSelection(), (QStringList{"REPORT.FNT", "LOGO.IMG"}));
    desk.shell.frame->HandleDrop(desk.pc, data.get());
    QVERIFY(desk.shell.ui.asks.empty());
    QCOMPARE(ReadAll(dir.filePath("pc/REPORT.FNT")), BinaryTapeFile("R", "FNT", 1024, 1).data);
    QCOMPARE(ReadAll(dir.filePath("pc/LOGO.IMG")), BinaryTapeFile("L", "IMG", 512, 2).data);
    QVERIFY(!QFile::exists(dir.filePath("pc/MIDDLE.FNT")));
  }

  void AbortStopsARestoreFromTheTapeWindow() {
    QTemporaryDir dir;
    const QString tap = dir.filePath("t.tap");
    QVERIFY(WriteFontTapeImage(tap, {"ONE", "TWO", "THREE"}));
    QDir().mkpath(dir.filePath("pc"));
    TapeDesk desk(dir.filePath("pc"), tap);
    PumpHookInteraction ui;
    desk.shell.ctx.ui = &ui;
    ProgressCloser closer(desk.shell.frame.get(), desk.shell.ctx.app.TapeBusy);
    QString button_after;
    const auto pressed = PressAbortAt(ui, desk.shell.frame.get(), "TWO.FNT", &button_after);
    desk.tape->ListView()->SelectAll();
    std::unique_ptr<QMimeData> data(desk.tape->ListView()->make_drag_data());
    desk.shell.frame->HandleDrop(desk.pc, data.get());
    QVERIFY(*pressed);
    QCOMPARE(button_after, QStringLiteral("Close"));
    QCOMPARE(closer.closed, 1);
    QCOMPARE(closer.final_statuses, QStringList{" Restore aborted."});
    QCOMPARE(ui.Texts(), std::vector<std::string>{"Tape restore cancelled at user's request."});
    QVERIFY(QFile::exists(dir.filePath("pc/ONE.FNT")));
    QVERIFY(!QFile::exists(dir.filePath("pc/THREE.FNT")));
    QVERIFY(!desk.shell.ctx.app.TapeBusy);
  }

  void TapeTransfersWaitForTheTapeAndSkipPairsWithoutARoutine() {
    QTemporaryDir dir;
    const QString tap = dir.filePath("t.tap");
    QVERIFY(WriteLabelledTapeImage(tap, {BinaryTapeFile("REPORT", "FNT", 1024, 1)}));
    QDir().mkpath(dir.filePath("pc"));
    WriteBytes(dir.filePath("pc/NEW.FNT"), QByteArray(512, 'n'));
    TapeDesk desk(dir.filePath("pc"), tap);
    const QByteArray before = ReadAll(tap);

    // While another tape operation runs, a drop is refused with a beep.
    desk.shell.ctx.app.TapeBusy = true;
    auto data = desk.DragFrom(desk.pc, {"NEW.FNT"});
    desk.shell.frame->HandleDrop(desk.tape, data.get());
    desk.shell.ctx.app.TapeBusy = false;
    QCOMPARE(ReadAll(tap), before);
    QVERIFY(desk.shell.ui.asks.empty());
    QCOMPARE(desk.shell.ui.beeps.size(), size_t{1});

    // A tape drive that cannot be opened: the message, nothing written.
    desk.shell.ctx.app.Bindings.tape[0] = dir.filePath("gone/none.tap").toStdString();
    desk.shell.frame->HandleDrop(desk.tape, data.get());
    QCOMPARE(desk.shell.ui.Texts(),
             std::vector<std::string>{"The tape drive is either not present or is in use."});
    desk.shell.ctx.app.Bindings.tape[0] = tap.toStdString();

    // A PC file gone before the drop: the failure is shown once, the tape
    // keeps its files.
    {
      ProgressCloser closer(desk.shell.frame.get(), desk.shell.ctx.app.TapeBusy);
      QVERIFY(QFile::remove(dir.filePath("pc/NEW.FNT")));
      desk.shell.ui.asks.clear();
      desk.shell.frame->HandleDrop(desk.tape, data.get());
      QCOMPARE(closer.closed, 1);
      QCOMPARE(desk.shell.ui.Texts(),
               std::vector<std::string>{kelvo::GetErrorText(kelvo::ERR_FILE_NOT_FOUND)});
      QCOMPARE(Names(desk.tape), QStringList{"REPORT.FNT"});
    }

    // Tape to tape has no routine.
    desk.shell.ui.asks.clear();
    auto tape_data = desk.DragFrom(desk.tape, {"REPORT.FNT"});
    desk.shell.frame->HandleDeviceDrop(desk.devices[0], tape_data.get());
    QCOMPARE(desk.shell.ui.Texts(), std::vector<std::string>{"Function Not Yet Implemented"});
    QCOMPARE(ReadAll(tap), before);
  }
};

QTEST_MAIN(TapeTransferTest)
#include "tape_transfer_test.moc"

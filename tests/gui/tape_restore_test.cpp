// Tape to PC and back through kdisk: the restore dialog, its progress
// windows, restores from the Tape menu, and drops on and from tape windows.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/error_text.h"
#include "gui/dialogs/restore_progress_dialog.h"
#include "gui/dialogs/select_directory_dialog.h"
#include "gui/dialogs/tape_restore_dialog.h"
#include "gui/windows/qva_restore_dialog.h"
#include "support/qva_tape_builder.h"
#include "support/tape_builder.h"
#include "support/tape_fixture.h"

using namespace kelvo;
using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// A QVA save tape (unit DP2:) of BITMAP.$Y$, the source JOB.CMD and fonts
// F0, F1 ... of `size` bytes of 'a', 'b' ..., as `folder`/vol1.tap; its
// device string.
std::string MakeQvaSet(const QString& folder, int files, int size) {
  using kelvo::test::QvaFile;
  kelvo::test::QvaUnit unit;
  unit.marker_word4 = 3;
  std::vector<QvaFile> fonts;
  for (int i = 0; i < files; ++i)
    fonts.push_back(QvaFile{"F" + std::to_string(i), std::string(static_cast<size_t>(size), char('a' + i % 26)), 512, 0});
  // The Master File Directory's first type is always the system type.
  unit.types = {{"$Y$", {QvaFile{"BITMAP", std::string(512, '\1'), 512, 0}}},
                {"CMD", {kelvo::test::QvaSourceFile("JOB", {"FIRST LINE", "SECOND LINE"})}},
                {"FNT", fonts}};
  kelvo::test::QvaTapeBuilder tape(1024);
  tape.Start().Unit(unit);
  return kelvo::test::JoinVolumes(tape.WriteVolumes(folder.toStdString()));
}

// The visible window of type T, if any.
template <class T>
T* FindShown() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
  return nullptr;
}

QString StatusOf(const CRestoreProgressDlg* w) { return w->StatusText(); }
QString StatusOf(const CQvaRestoreDlg* w) { return w->FieldText("status"); }

// The user of the tape progress windows of type W: `during` sees the shown
// window at each pump of the tape work (where a test presses Abort); once
// the work has ended the window's Status is recorded and "Close" pressed.
template <class W>
class ProgressUser {
 public:
  explicit ProgressUser(Shell& shell, std::function<void(W*)> during = {}) : shell_(shell) {
    shell.ui.on_pump = [this, during] {
      if (W* w = FindShown<W>(); w && during && shell_.ctx.app.TapeBusy) during(w);
    };
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      W* w = FindShown<W>();
      if (!w || shell_.ctx.app.TapeBusy) return;
      final_statuses << StatusOf(w);
      w->Button()->click();
    });
    timer_.start(5);
  }
  ~ProgressUser() { shell_.ui.on_pump = nullptr; }
  QStringList final_statuses;  // one per window closed

 private:
  Shell& shell_;
  QTimer timer_;
};

// Runs "Restore Files..." of the shell for the file name pattern `spec` (the
// dialog's other fields as the settings give them).
void RestoreFromMenu(Shell& shell, const QString& spec) {
  shell.modals.Expect<CTapeRestoreDlg>([spec](CTapeRestoreDlg* d) {
    d->FileName()->setText(spec);
    d->accept();
  });
  shell.frame->RunCommand(Cmd::TapeRestore);
}

}  // namespace

class TapeRestoreTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void initTestCase() { start_ = QDir::currentPath(); }
  void cleanup() { QCOMPARE(QDir::currentPath(), start_); }  // the working folder is put back

  void RestoreDialogTakesTheSettingsBrowsesAndChecksTheRequest() {
    QTemporaryDir dir;
    Shell shell;  // also keeps the working folder, which the folder dialog walks
    ShellContext& ctx = shell.ctx;
    ctx.settings.TapeRestorePath = dir.path().toStdString();
    ctx.settings.TapeRestoreToTypeDirs = 1;
    ctx.settings.DefaultTapeFormat = 2;
    std::vector<TapeRestoreRequest> runs;  // what the dialog's runner was asked
    CTapeRestoreDlg d(ctx, QStringList{"Tape0", "Tape1"}, [&runs](const TapeRestoreRequest& r) {
      runs.push_back(r);
      return ErrorCode{0};
    });
    d.show();
    QCOMPARE(d.Destination()->text(), dir.path());
    QVERIFY(d.TypeDirs()->isChecked() && d.FormatButton(TapeFormat::Qva)->isChecked());
    // Browse puts the chosen folder into the destination; Cancel leaves it.
    QDir(dir.path()).mkdir("Chosen");
    const QString chosen = QDir(dir.filePath("Chosen")).canonicalPath();
    shell.modals.Expect<CSelectDirectoryDlg>([&](CSelectDirectoryDlg* s) {
      s->path_->setText(chosen);
      s->accept();
    });
    d.Browse();
    shell.modals.Expect<CSelectDirectoryDlg>([](CSelectDirectoryDlg* s) { s->reject(); });
    d.Browse();
    QCOMPARE(d.Destination()->text(), chosen);
    // A bad file name pattern keeps the dialog open with the culprit selected.
    d.FileName()->setText("ABC-1.CMD");
    d.accept();
    QVERIFY(d.isVisible() && runs.empty());
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"Invalid character specified."});
    QCOMPARE(d.FileName()->selectedText(), QStringLiteral("-"));
    // Corrected, the request runs with the dialog's fields.
    d.Source()->setCurrentIndex(1);
    d.FileName()->setText("ABC.C*");
    d.FormatButton(TapeFormat::Labelled)->setChecked(true);
    d.accept();
    QVERIFY(!d.isVisible());
    QCOMPARE(runs.size(), size_t{1});
    QCOMPARE(runs[0].source_drive, std::string("Tape1"));
    QCOMPARE(runs[0].file_spec, std::string("ABC.C*"));
    QCOMPARE(runs[0].destination, chosen.toStdString());
    QCOMPARE(runs[0].format, TapeFormat::Labelled);
    QVERIFY(runs[0].type_dirs);
    QCOMPARE(ctx.settings.DefaultTapeFormat, 0);
  }

  void ProgressWindowsForwardTheButtonEscAndClose() {
    bool busy = true;
    CRestoreProgressDlg labelled(busy);
    CQvaRestoreDlg qva(busy);
    labelled.SetTitle("Restoring from Kelvo Labeled Tape");  // shows the window
    qva.StartClock();
    QVERIFY(labelled.isVisible() && qva.isVisible());
    // While busy Esc aborts (the button's abort is the menu restores') and
    // the close request is refused.
    const auto check = [&](QDialog* w, auto aborted) {
      QTest::keyClick(w, Qt::Key_Escape);
      QVERIFY(aborted() && w->isVisible());
      w->close();
      QVERIFY(w->isVisible());
    };
    check(&labelled, [&] { return labelled.AbortRequested(); });
    check(&qva, [&] { return qva.AbortRequested(); });
    // After the work the button closes; waiting handles events until then.
    busy = false;
    QTimer::singleShot(0, labelled.Button(), &QPushButton::click);
    labelled.WaitForClose();
    QVERIFY(!labelled.isVisible() && !labelled.IsOpen());
    // The main window closing hides its windows: waiting ends then too.
    QTimer::singleShot(0, &qva, [&] { qva.hide(); });
    qva.WaitForClose();
    QVERIFY(!qva.isVisible());
  }

  // The labelled restore from the menu with its file name pattern: the Tape
  // menu greyed while it runs, Abort ending it.
  void LabelledRestoreFromTheMenuAborts() {
    TapeDesk t;
    QVERIFY(WriteLabelledTapeImage(t.tape0, FontFiles(30, 8192), 1024));
    t.shell.ctx.settings.DefaultTapeFormat = 0;
    bool greyed = true;
    QString button_after_abort;
    ProgressUser<CRestoreProgressDlg> user(t.shell, [&](CRestoreProgressDlg* w) {
      t.Frame().OnIdle();
      greyed = greyed && !t.Frame().Action(Cmd::TapeRestore)->isEnabled();
      if (!button_after_abort.isEmpty() || w->CounterText() != QStringLiteral(" 2")) return;
      QTest::mouseClick(w->Button(), Qt::LeftButton);
      button_after_abort = w->Button()->text();
    });
    RestoreFromMenu(t.shell, "F1?.FNT");
    QVERIFY(greyed && !t.shell.ctx.app.TapeBusy);
    QCOMPARE(button_after_abort, QStringLiteral("Close"));
    QCOMPARE(user.final_statuses, QStringList{" Restore aborted."});
    QCOMPARE(t.Asked(), std::vector<std::string>{"Tape restore cancelled at user's request."});
    const QStringList restored = QDir(t.out).entryList(QDir::Files);
    QVERIFY2(restored.size() >= 2 && restored.size() < 10 && restored.first() == "F10.FNT", qPrintable(restored.join(' ')));
  }

  void QvaRestoreFromTheMenu() {
    const struct {
      int files, size;
      int abort_at;  // files restored when Abort is pressed, or 0
      const char* status;
      std::vector<std::string> asked;
    } rows[] = {
        {6, 3072, 0, " Done.", {}},
        {40, 8192, 3, " Restore aborted.", {"Tape restore cancelled at user's request."}},
        {0, 0, 0, nullptr, {"The tape drive is either not present or is in use."}},  // no tape
    };
    for (const auto& r : rows) {
      QTemporaryDir dir;
      TapeDesk t(r.status ? QString::fromStdString(MakeQvaSet(dir.path(), r.files, r.size))
                          : QStringLiteral("/no/such/folder/vol1.tap"));
      t.shell.ctx.settings.DefaultTapeFormat = 2;
      bool greyed = true;
      bool pressed = false;
      ProgressUser<CQvaRestoreDlg> user(t.shell, [&](CQvaRestoreDlg* w) {
        t.Frame().OnIdle();
        greyed = greyed && !t.Frame().Action(Cmd::TapeInit)->isEnabled();
        if (r.abort_at && !pressed && w->FieldText("files_restored") == " " + QString::number(r.abort_at)) {
          pressed = true;
          QTest::mouseClick(w->Button(), Qt::LeftButton);
        }
      });
      RestoreFromMenu(t.shell, r.abort_at ? "*.FNT" : "*.*");
      QCOMPARE(user.final_statuses, r.status ? QStringList{r.status} : QStringList());  // no window without a tape
      QCOMPARE(t.Asked(), r.asked);
      QVERIFY(greyed && !t.shell.ctx.app.TapeBusy);
      const int restored = QDir(t.out).entryList(QDir::Files).size();
      if (r.abort_at) QVERIFY2(pressed && restored >= r.abort_at && restored <= r.abort_at + 1, qPrintable(QString::number(restored)));
      if (r.status && !r.abort_at) QCOMPARE(ReadAll(QDir(t.out).filePath("F5.FNT")), QByteArray(r.size, 'f'));
    }
  }

  // Drops between the PC window and a tape window or button, both ways, on
  // one tape of REPORT.FNT, the source JOB1.JSL, LOGO.IMG and two files
  // whose labels are literally "../X" and "/X".
  void FilesGoBetweenPcAndTapeWindowsAndButtons() {
    const TapeFileSpec job = SourceTapeFile("JOB1", "JSL", {"START", "PRINT A", "END"});
    const TapeFileSpec up = BinaryTapeFile("../X", "FNT", 512, 3), root = BinaryTapeFile("/X", "FNT", 512, 4);
    TapeDesk t;
    QVERIFY(WriteLabelledTapeImage(t.tape0, {BinaryTapeFile("REPORT", "FNT", 1024, 1), job, BinaryTapeFile("LOGO", "IMG", 512, 2), up, root}));
    CTapeWindow* tape = OpenTapeWindow(t.Frame().Windows(), "Tape0");
    QVERIFY(tape);
    WriteFile(t.pc_folder, "NEWFIL.FNT", BinaryTapeFile("X", "FNT", 3072, 7).data);
    WriteFile(t.pc_folder, "MEMO.JSL", "HELLO\r\nWORLD\r\n");
    t.pc->Relist();
    auto data = DragFrom(t.pc, {"NEWFIL.FNT", "MEMO.JSL"});
    // While another tape operation runs a drop is refused with a beep.
    t.shell.ctx.app.TapeBusy = true;
    t.Frame().HandleDrop(tape, data.get());
    t.shell.ctx.app.TapeBusy = false;
    QCOMPARE(t.shell.ui.beeps.size(), size_t{1});
    ProgressUser<CRestoreProgressDlg> user(t.shell);
    t.Frame().HandleDrop(tape, data.get());
    QVERIFY(t.Asked().empty());
    QCOMPARE(user.final_statuses, QStringList{" Done."});
    // The window lists the tape again: the new files follow the old ones.
    QCOMPARE(Names(tape).size(), 7);
    QCOMPARE(Names(tape).first(), QStringLiteral("REPORT.FNT"));
    // On the tape button: written in blocks of 512 bytes, and the open window listed again.
    t.shell.ctx.settings.TapeBlockingFactor = 1;
    WriteFile(t.pc_folder, "PIC.IMG", QByteArray(700, '\x5A'));
    t.pc->Relist();
    auto picture = DragFrom(t.pc, {"PIC.IMG"});
    t.Frame().HandleDeviceDrop(t.Frame().Devices()[0], picture.get());
    QCOMPARE(Names(tape).last(), QStringLiteral("PIC.IMG"));
    const auto items = kelvo::test::ParseTapImage(ReadAll(t.tape0).toStdString());
    QVERIFY(items.size() >= 5);
    QCOMPARE(items[items.size() - 3].data, std::string(188, '\x5A') + std::string(324, '\0'));
    // A PC file gone before the drop: the failure once, the tape keeps its files.
    const QByteArray before = ReadAll(t.tape0);
    QVERIFY(QFile::remove(t.pc_folder + "/PIC.IMG"));
    t.Frame().HandleDrop(tape, picture.get());
    QCOMPARE(t.Asked(), std::vector<std::string>{GetErrorText(ERR_FILE_NOT_FOUND)});
    QCOMPARE(Names(tape).size(), 8);
    QCOMPARE(ReadAll(t.tape0), before);
    t.shell.ui.asks.clear();

    // Back to the PC, dragged in another order than the tape's: restored in one pass.
    const qsizetype windows = user.final_statuses.size();
    tape->Model()->sort(0);
    auto back = DragFrom(tape, {"LOGO.IMG", "REPORT.FNT"});
    QCOMPARE(t.shell.ctx.TransferSelection(), (QStringList{"REPORT.FNT", "LOGO.IMG"}));
    t.Frame().HandleDrop(t.pc, back.get());
    QCOMPARE(ReadAll(t.pc_folder + "/LOGO.IMG"), BinaryTapeFile("L", "IMG", 512, 2).data);
    QCOMPARE(user.final_statuses.size(), windows + 1);
    // The settings reach the restore: "Retain Tape Labels" puts the label first.
    t.shell.ctx.settings.RetainTapeLabels = true;
    t.shell.ctx.settings.RemoveLineNumbers = true;
    t.Frame().HandleDrop(t.pc, DragFrom(tape, {"JOB1.JSL"}).get());
    const QByteArray labelled = ReadAll(t.pc_folder + "/JOB1.JSL");
    QCOMPARE(labelled.mid(18, 4), QByteArray("JOB1"));
    QCOMPARE(labelled.mid(128), QByteArray("START\r\nPRINT A\r\nEND\r\n"));
    QVERIFY(t.Asked().empty());
    // The path-like labels are restored inside the destination folder, each renaming told.
    t.shell.ctx.settings.RetainTapeLabels = false;
    QVERIFY(QDir().mkpath(t.pc_folder + "/in") && t.pc->OpenFolder(t.pc_folder + "/in"));
    t.Frame().HandleDrop(t.pc, DragFrom(tape, {"../X.FNT", "/X.FNT"}).get());
    QCOMPARE(ReadAll(t.pc_folder + "/in/_._X.FNT"), up.data);
    QCOMPARE(ReadAll(t.pc_folder + "/in/_X.FNT"), root.data);
    QVERIFY(!QFile::exists(t.pc_folder + "/X.FNT") && !QFile::exists("/X.FNT"));
    const std::string why = " (bytes a PC file name cannot hold replaced by _)";
    QCOMPARE(t.Asked(), std::vector<std::string>{"../X.FNT: restored as _._X.FNT" + why + "\n/X.FNT: restored as _X.FNT" + why});
  }

 private:
  QString start_;
};

QTEST_MAIN(TapeRestoreTest)
#include "tape_restore_test.moc"

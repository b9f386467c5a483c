// Tape to PC and back through kdisk: the restore dialog, its progress
// windows, restores from the Tape menu, and drops on and from tape windows.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "core/error_text.h"
#include "gui/dialogs/select_directory_dialog.h"
#include "gui/dialogs/tape_restore_dialog.h"
#include "support/tape_builder.h"
#include "support/tape_fixture.h"

using namespace kelvo;
using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// The restore dialog on two drives, its runner recording what it was asked.
struct RestoreBench {
  kelvo::test::ScriptedInteraction ui;
  ShellContext ctx;
  QTemporaryDir dir;
  std::vector<TapeRestoreRequest> runs;
  std::unique_ptr<CTapeRestoreDlg> Make() {
    ctx.ui = &ui;
    auto d = std::make_unique<CTapeRestoreDlg>(ctx, QStringList{"Tape0", "Tape1"}, [this](const TapeRestoreRequest& r) {
      runs.push_back(r);
      return ErrorCode{0};
    });
    d->show();
    return d;
  }
};

}  // namespace

class TapeRestoreTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void initTestCase() { start_ = QDir::currentPath(); }
  void cleanup() { QCOMPARE(QDir::currentPath(), start_); }  // the working folder is put back

  void RestoreDialogTakesTheSettingsAndChecksTheRequest() {
    RestoreBench b;
    b.ctx.settings.TapeRestorePath = b.dir.path().toStdString();
    b.ctx.settings.TapeRestoreToTypeDirs = 1;
    b.ctx.settings.DefaultTapeFormat = 2;
    auto d = b.Make();
    QCOMPARE(d->Destination()->text(), b.dir.path());
    QVERIFY(d->TypeDirs()->isChecked() && d->FormatButton(TapeFormat::Qva)->isChecked());
    // A bad specification keeps the dialog open with the culprit selected.
    d->FileName()->setText("ABC-1.CMD");
    d->accept();
    QVERIFY(d->isVisible() && b.runs.empty());
    QCOMPARE(b.ui.Texts(), std::vector<std::string>{"Invalid character specified."});
    QCOMPARE(d->FileName()->selectedText(), QStringLiteral("-"));
    // Corrected, the request runs with the dialog's fields.
    d->Source()->setCurrentIndex(1);
    d->FileName()->setText("ABC.C*");
    d->FormatButton(TapeFormat::Labelled)->setChecked(true);
    d->accept();
    QVERIFY(!d->isVisible());
    QCOMPARE(b.runs.size(), size_t{1});
    QCOMPARE(b.runs[0].source_drive, std::string("Tape1"));
    QCOMPARE(b.runs[0].file_spec, std::string("ABC.C*"));
    QCOMPARE(b.runs[0].format, TapeFormat::Labelled);
    QVERIFY(b.runs[0].type_dirs);
    QCOMPARE(b.ctx.settings.DefaultTapeFormat, 0);
  }

  void BrowsePutsTheChosenFolderIntoTheDestination() {
    KeepWorkingFolder keep;  // the folder dialog walks the working folder
    RestoreBench b;
    QDir(b.dir.path()).mkdir("Chosen");
    const QString chosen = QDir(b.dir.filePath("Chosen")).canonicalPath();
    ModalScript modals;
    auto d = b.Make();
    modals.Expect<CSelectDirectoryDlg>([&](CSelectDirectoryDlg* s) {
      s->path_->setText(chosen);
      s->accept();
    });
    d->Browse();
    QCOMPARE(d->Destination()->text(), chosen);
    d->Destination()->setText("/tmp");
    modals.Expect<CSelectDirectoryDlg>([](CSelectDirectoryDlg* s) { s->reject(); });
    d->Browse();
    QCOMPARE(d->Destination()->text(), QStringLiteral("/tmp"));  // Cancel leaves it
  }

  void ProgressWindowsForwardTheButtonEscAndClose() {
    bool busy = true;
    CRestoreProgressDlg labelled(busy);
    CQvaRestoreDlg qva(busy);
    labelled.SetTitle("Restoring from Kelvo Labeled Tape");  // shows the window
    qva.StartClock();
    QVERIFY(labelled.isVisible() && qva.isVisible());
    const auto check = [&](QDialog* w, QPushButton* button, auto aborted, auto clear) {
      button->click();  // while busy the button aborts; the window stays
      QVERIFY(aborted() && w->isVisible());
      clear();
      QTest::keyClick(w, Qt::Key_Escape);  // Esc likewise
      QVERIFY(aborted() && w->isVisible());
      w->close();  // and the close request
      QVERIFY(w->isVisible());
    };
    check(&labelled, labelled.Button(), [&] { return labelled.AbortRequested(); }, [&] { labelled.ClearAbortRequest(); });
    check(&qva, qva.Button(), [&] { return qva.AbortRequested(); }, [&] { qva.ClearAbortRequest(); });
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

  void LabelledRestoreFromTheMenu() {
    for (bool abort : {false, true}) {
      TapeDesk t;
      QVERIFY(WriteLabelledTapeImage(t.tape0, FontFiles(abort ? 30 : 3, abort ? 8192 : 2048), 1024));
      t.shell.ctx.settings.DefaultTapeFormat = 0;
      std::vector<bool> greyed;
      QString button_after_abort;
      ProgressUser<CRestoreProgressDlg> user(t.shell, [&](CRestoreProgressDlg* w) {
        t.Frame().OnIdle();
        greyed.push_back(!t.Frame().Action(Cmd::TapeRestore)->isEnabled());
        if (!abort || !button_after_abort.isEmpty() || w->CounterText() != QStringLiteral(" 2")) return;
        QTest::mouseClick(w->Button(), Qt::LeftButton);
        button_after_abort = w->Button()->text();
      });
      RestoreFromMenu(t.shell, abort ? "*.*" : "F?.FNT");
      QVERIFY(!greyed.empty() && std::all_of(greyed.begin(), greyed.end(), [](bool g) { return g; }));
      QVERIFY(!t.shell.ctx.app.TapeBusy);
      const int restored = QDir(t.out).entryList(QDir::Files).size();
      if (!abort) {
        QCOMPARE(user.final_statuses, QStringList{" Done."});
        QVERIFY(t.Asked().empty());
        for (const TapeFileSpec& f : FontFiles(3, 2048)) QCOMPARE(ReadAll(QDir(t.out).filePath(f.name + ".FNT")), f.data);
        continue;
      }
      QCOMPARE(button_after_abort, QStringLiteral("Close"));
      QCOMPARE(user.final_statuses, QStringList{" Restore aborted."});
      QCOMPARE(t.Asked(), std::vector<std::string>{"Tape restore cancelled at user's request."});
      QVERIFY2(restored >= 2 && restored < 30, qPrintable(QString::number(restored)));
    }
  }

  void QvaRestoreFromTheMenu() {
    const std::string mount = "Mount QVA Volume 2. \nClick OK to continue, Cancel to abort.";
    const std::string cancelled = "Tape restore cancelled at user's request.";
    const struct {
      int files, size, volume_blocks;
      kelvo::Button at_mount;
      int abort_at;  // files restored when Abort is pressed, or 0
      const char* status;
      std::vector<std::string> asked;
    } rows[] = {
        {6, 3072, 8, Button::Ok, 0, " Done.", {mount}},
        {6, 3072, 8, Button::Cancel, 0, " Restore aborted.", {mount, cancelled}},
        {40, 8192, 0, Button::Ok, 3, " Restore aborted.", {cancelled}},
        {0, 0, 0, Button::Ok, 0, nullptr, {"The tape drive is either not present or is in use."}},  // no tape
    };
    for (const auto& r : rows) {
      QTemporaryDir dir;
      TapeDesk t(r.status ? QString::fromStdString(MakeQvaSet(dir.path(), r.files, r.size, r.volume_blocks))
                          : QStringLiteral("/no/such/folder/vol1.tap"));
      t.shell.ctx.settings.DefaultTapeFormat = 2;
      t.shell.ui.answers = {r.at_mount};
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
      if (r.at_mount == Button::Ok && r.status && !r.abort_at)  // both volumes came
        QCOMPARE(ReadAll(QDir(t.out).filePath(QStringLiteral("F%1.FNT").arg(r.files - 1))), QByteArray(r.size, char('a' + r.files - 1)));
    }
  }

  void PcFilesGoToTheTapeWindowAndButton() {
    TapeDesk t;
    CTapeWindow* tape = t.OpenTape0({BinaryTapeFile("REPORT", "FNT", 1024, 1)});
    QVERIFY(tape);
    WriteFile(t.pc_folder, "NEWFIL.FNT", BinaryTapeFile("X", "FNT", 3072, 7).data);
    WriteFile(t.pc_folder, "MEMO.JSL", "HELLO\r\nWORLD\r\n");
    t.pc->Relist();
    ProgressUser<CRestoreProgressDlg> user(t.shell);
    t.Frame().HandleDrop(tape, DragFrom(t.pc, {"NEWFIL.FNT", "MEMO.JSL"}).get());
    QVERIFY(t.Asked().empty());
    QCOMPARE(user.final_statuses, QStringList{" Done."});
    // The window lists the tape again: the new files follow the old one.
    QCOMPARE(Names(tape).size(), 3);
    QCOMPARE(Names(tape).first(), QStringLiteral("REPORT.FNT"));
    // On the tape button: written in blocks of 512 bytes, and the open window listed again.
    t.shell.ctx.settings.TapeBlockingFactor = 1;
    WriteFile(t.pc_folder, "LOGO.IMG", QByteArray(700, '\x5A'));
    t.pc->Relist();
    t.Frame().HandleDeviceDrop(t.Frame().Devices()[0], DragFrom(t.pc, {"LOGO.IMG"}).get());
    QCOMPARE(Names(tape).last(), QStringLiteral("LOGO.IMG"));
    const auto items = kelvo::test::ParseTapImage(ReadAll(t.tape0).toStdString());
    QVERIFY(items.size() >= 5);
    QCOMPARE(items[items.size() - 3].data, std::string(188, '\x5A') + std::string(324, '\0'));
  }

  void TapeFilesArriveByTheSettingsInTapeOrder() {
    const TapeFileSpec job = SourceTapeFile("JOB1", "JSL", {"START", "PRINT A", "END"});
    TapeDesk t;
    CTapeWindow* tape = t.OpenTape0({BinaryTapeFile("REPORT", "FNT", 1024, 1), job, BinaryTapeFile("LOGO", "IMG", 512, 2)});
    QVERIFY(tape);
    ProgressUser<CRestoreProgressDlg> user(t.shell);
    // Dragged in another order than the tape's: restored in one pass.
    tape->Model()->sort(0);
    auto data = DragFrom(tape, {"LOGO.IMG", "REPORT.FNT"});
    QCOMPARE(t.shell.ctx.TransferSelection(), (QStringList{"REPORT.FNT", "LOGO.IMG"}));
    t.Frame().HandleDrop(t.pc, data.get());
    QCOMPARE(ReadAll(t.pc_folder + "/LOGO.IMG"), BinaryTapeFile("L", "IMG", 512, 2).data);
    QCOMPARE(user.final_statuses.size(), 1);
    // The settings reach the restore: "Retain Tape Labels" puts the label first.
    t.shell.ctx.settings.RetainTapeLabels = true;
    t.shell.ctx.settings.RemoveLineNumbers = true;
    t.Frame().HandleDrop(t.pc, DragFrom(tape, {"JOB1.JSL"}).get());
    const QByteArray labelled = ReadAll(t.pc_folder + "/JOB1.JSL");
    QCOMPARE(labelled.mid(18, 4), QByteArray("JOB1"));
    QCOMPARE(labelled.mid(128), QByteArray("START\r\nPRINT A\r\nEND\r\n"));
    QVERIFY(t.Asked().empty());
  }

  void LabelNamesThatArePathsStayInTheDestination() {
    // Labels named literally "../X" and "/X": the restore makes names of
    // them that cannot leave the folder, and says so.
    const std::pair<const char*, const char*> rows[] = {{"../X", "_._X.FNT"}, {"/X", "_X.FNT"}};
    std::vector<TapeFileSpec> files;
    for (const auto& r : rows) files.push_back(BinaryTapeFile(r.first, "FNT", 512, int(files.size())));
    TapeDesk t;
    CTapeWindow* tape = t.OpenTape0(files);
    QVERIFY(tape);
    QVERIFY(QDir().mkpath(t.pc_folder + "/in") && t.pc->OpenFolder(t.pc_folder + "/in"));
    ProgressUser<CRestoreProgressDlg> user(t.shell);
    std::vector<std::string> told;
    for (std::size_t i = 0; i < files.size(); ++i) {
      const QString listed = QString::fromLatin1(rows[i].first) + ".FNT";
      t.Frame().HandleDrop(t.pc, DragFrom(tape, {listed}).get());
      QCOMPARE(ReadAll(t.pc_folder + "/in/" + rows[i].second), files[i].data);
      told.push_back(listed.toStdString() + ": restored as " + rows[i].second + " (bytes a PC file name cannot hold replaced by _)");
    }
    QCOMPARE(QDir(t.pc_folder + "/in").entryList(QDir::Files).size(), int(files.size()));
    QCOMPARE(QDir(t.pc_folder).entryList(QDir::Files), QStringList());
    QCOMPARE(QDir(t.dir.path()).entryList(QDir::Files), QStringList{"t0.tap"});
    QVERIFY(!QFile::exists("/X.FNT"));
    QCOMPARE(t.Asked(), told);  // each renaming is told
  }

  void BusyAndFailedTapeTransfers() {
    TapeDesk t;
    CTapeWindow* tape = t.OpenTape0(FontFiles(3, 4096), 512);
    QVERIFY(tape);
    WriteFile(t.pc_folder, "NEW.FNT", QByteArray(512, 'n'));
    t.pc->Relist();
    const QByteArray before = ReadAll(t.tape0);
    // While another tape operation runs a drop is refused with a beep.
    auto data = DragFrom(t.pc, {"NEW.FNT"});
    const size_t beeps = t.shell.ui.beeps.size();
    t.shell.ctx.app.TapeBusy = true;
    t.Frame().HandleDrop(tape, data.get());
    t.shell.ctx.app.TapeBusy = false;
    QVERIFY(t.Asked().empty());
    QCOMPARE(t.shell.ui.beeps.size(), beeps + 1);
    // A PC file gone before the drop: the failure once, the tape keeps its files.
    QVERIFY(QFile::remove(t.pc_folder + "/NEW.FNT"));
    {
      ProgressUser<CRestoreProgressDlg> user(t.shell);
      t.Frame().HandleDrop(tape, data.get());
    }
    QCOMPARE(t.Asked(), std::vector<std::string>{GetErrorText(ERR_FILE_NOT_FOUND)});
    QCOMPARE(Names(tape).size(), 3);
    QCOMPARE(ReadAll(t.tape0), before);
  }

 private:
  QString start_;
};

QTEST_MAIN(TapeRestoreTest)
#include "tape_restore_test.moc"

// "Restore Files from Tape": initial values from the settings, every input
// check with its message and selection, Browse, and the report of a result.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "gui/dialogs/select_directory_dialog.h"
#include "gui/dialogs/tape_restore_dialog.h"
#include "support/gui_fixture.h"
#include "support/tape_dialog_fixture.h"

using namespace kelvo;
using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// A dialog on two drives whose runner records what it was asked to run.
struct RestoreBench {
  kelvo::test::ScriptedInteraction ui;
  ShellContext ctx;
  QTemporaryDir dir;
  std::vector<TapeRestoreRequest> runs;
  ErrorCode run_result = 0;

  RestoreBench() {
    ctx.ui = &ui;
    ctx.settings.TapeRestorePath = dir.path().toStdString();
  }
  std::unique_ptr<CTapeRestoreDlg> Make() {
    auto d = std::make_unique<CTapeRestoreDlg>(ctx, QStringList{"Tape0", "Tape1"},
                                               [this](const TapeRestoreRequest& r) {
                                                 runs.push_back(r);
                                                 return run_result;
                                               });
    d->show();
    return d;
  }
};

}  // namespace

class TapeRestoreDialogTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void OpensWithTheSettings() {
    RestoreBench b;
    b.ctx.settings.TapeRestorePath = "/tmp/Mixed Case";
    b.ctx.settings.TapeRestoreToTypeDirs = 1;
    b.ctx.settings.TapeRestoreUserFilesOnly = 0;
    b.ctx.settings.DefaultTapeFormat = 2;
    auto d = b.Make();
    QCOMPARE(d->windowTitle(), QStringLiteral("Restore Files from Tape"));
    QCOMPARE(d->Source()->count(), 2);
    QCOMPARE(d->Source()->currentText(), QStringLiteral("Tape0"));
    QCOMPARE(d->FileName()->text(), QStringLiteral("*.*"));
    // PC paths are case-sensitive here: the folder is shown as stored.
    QCOMPARE(d->Destination()->text(), QStringLiteral("/tmp/Mixed Case"));
    QVERIFY(d->TypeDirs()->isChecked());
    QVERIFY(!d->UserFilesOnly()->isChecked());
    QCOMPARE(d->TypeDirs()->text(), QStringLiteral("Restore using File Type directories"));
    QCOMPARE(d->UserFilesOnly()->text(), QStringLiteral("Restore User files only"));
    QVERIFY(d->FormatButton(TapeFormat::Qva)->isChecked());
    QVERIFY(!d->FormatButton(TapeFormat::Unlabelled)->isEnabled());
    QCOMPARE(d->FormatButton(TapeFormat::Labelled)->text(), QStringLiteral("Kelvo Labelled Tape"));
    QCOMPARE(d->FormatButton(TapeFormat::Unlabelled)->text(), QStringLiteral("Unlabelled Tape"));
    QCOMPARE(d->FormatButton(TapeFormat::Qva)->text(), QStringLiteral("QVA Tape"));
    QStringList groups;
    for (QGroupBox* g : d->findChildren<QGroupBox*>()) groups << g->title();
    groups.sort();
    QCOMPARE(groups, (QStringList{"Restore Options ", "Tape Format "}));
    QCOMPARE(d->BrowseButton()->text(), QStringLiteral("Browse..."));
  }

  void FormatSettingSelectsItsButton() {
    for (auto [value, format] : {std::pair{0, TapeFormat::Labelled}, std::pair{1, TapeFormat::Unlabelled},
                                 std::pair{2, TapeFormat::Qva}, std::pair{7, TapeFormat::Labelled},
                                 std::pair{-1, TapeFormat::Labelled}}) {
      RestoreBench b;
      b.ctx.settings.DefaultTapeFormat = value;
      auto d = b.Make();
      QVERIFY2(d->FormatButton(format)->isChecked(), qPrintable(QString::number(value)));
    }
  }

  void FileSpecificationChecksKeepTheDialogOpen_data() {
    QTest::addColumn<QString>("spec");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("selected");
    QTest::newRow("short") << "AB" << "File specification is too short." << "AB";
    QTest::newRow("empty") << "" << "File specification is too short." << "";
    QTest::newRow("long") << "ABCDEFG.CMD" << "File specification is too long." << "ABCDEFG.CMD";
    QTest::newRow("minus") << "ABC-1.CMD" << "Invalid character specified." << "-";
    QTest::newRow("blank") << "AB C.CMD" << "Invalid character specified." << " ";
    QTest::newRow("no type") << "ABCDEF" << "File type not specified." << "ABCDEF";
    QTest::newRow("short type") << "ABC.CM" << "Invalid file type specified." << "ABC.CM";
    QTest::newRow("long type") << "A.CMDX" << "Invalid file type specified." << "A.CMDX";
    QTest::newRow("unknown type") << "ABC.XYZ" << "Invalid file type specified." << "ABC.XYZ";
    QTest::newRow("long name") << "ABCDEFG.C*" << "File name is too long." << "ABCDEFG";
  }

  void FileSpecificationChecksKeepTheDialogOpen() {
    QFETCH(QString, spec);
    QFETCH(QString, message);
    QFETCH(QString, selected);
    RestoreBench b;
    auto d = b.Make();
    d->FileName()->setText(spec);
    d->accept();
    QVERIFY(d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QVERIFY(b.runs.empty());
    QCOMPARE(b.ui.asks.size(), size_t{1});
    QCOMPARE(QString::fromStdString(b.ui.asks[0].text), message);
    QCOMPARE(b.ui.asks[0].icon, Icon::Exclamation);
    QCOMPARE(d->FileName()->selectedText(), selected);
    // The user corrects the field and the request passes.
    d->FileName()->setText(QStringLiteral("ABC.C*"));
    d->accept();
    QVERIFY(!d->isVisible());
    QCOMPARE(b.runs.size(), size_t{1});
    QCOMPARE(b.runs[0].file_spec, std::string("ABC.C*"));
  }

  void AcceptedSpecificationsRunTheRestore() {
    for (const char* spec : {"*.*", "ABC.C*", "REPORT.FNT", "?EP*.FNT", "abc.cmd", "ABCDEF.*"}) {
      RestoreBench b;
      auto d = b.Make();
      d->Source()->setCurrentIndex(1);
      d->FileName()->setText(QString::fromLatin1(spec));
      d->accept();
      QVERIFY2(b.ui.asks.empty(), spec);
      QCOMPARE(b.runs.size(), size_t{1});
      QCOMPARE(b.runs[0].source_drive, std::string("Tape1"));
      QCOMPARE(b.runs[0].file_spec, std::string(spec));
      QCOMPARE(b.runs[0].format, TapeFormat::Labelled);
      QCOMPARE(b.runs[0].destination, b.dir.path().toStdString());
    }
  }

  void UnlabelledFormatSkipsTheNameChecks() {
    RestoreBench b;
    b.ctx.settings.DefaultTapeFormat = 1;
    auto d = b.Make();
    d->FileName()->setText(QStringLiteral("LONGER-NAME.X"));
    d->accept();
    QVERIFY(b.ui.asks.empty());
    QCOMPARE(b.runs.size(), size_t{1});
    QCOMPARE(b.runs[0].format, TapeFormat::Unlabelled);
    // The length and "." checks still apply.
    RestoreBench c;
    c.ctx.settings.DefaultTapeFormat = 1;
    auto e = c.Make();
    e->FileName()->setText(QStringLiteral("NODOTATALL"));
    e->accept();
    QCOMPARE(c.ui.Texts(), std::vector<std::string>{"File type not specified."});
  }

  void MissingDestinationIsRefusedAfterTheSettingsAreStored() {
    for (const QString& dest : {QString(), QStringLiteral("/no/such/folder"), QStringLiteral("NOT A FOLDER")}) {
      RestoreBench b;
      auto d = b.Make();
      d->Destination()->setText(dest);
      d->FileName()->setText(QStringLiteral("AB"));  // also bad: the destination is checked first
      d->TypeDirs()->setChecked(true);
      d->UserFilesOnly()->setChecked(true);
      d->FormatButton(TapeFormat::Qva)->setChecked(true);
      d->accept();
      QVERIFY(d->isVisible());
      QCOMPARE(b.ui.Texts(), std::vector<std::string>{"The system cannot find the path specified."});
      QCOMPARE(d->Destination()->selectedText(), dest);
      QVERIFY(b.runs.empty());
      QCOMPARE(QString::fromStdString(b.ctx.settings.TapeRestorePath), dest);
      QCOMPARE(b.ctx.settings.TapeRestoreToTypeDirs, 1);
      QCOMPARE(b.ctx.settings.TapeRestoreUserFilesOnly, 1);
      QCOMPARE(b.ctx.settings.DefaultTapeFormat, 2);
    }
    // A file where a folder is expected is no destination either.
    RestoreBench b;
    MakeFile(b.dir.path(), QStringLiteral("plain"), 3);
    auto d = b.Make();
    d->Destination()->setText(b.dir.filePath(QStringLiteral("plain")));
    d->accept();
    QCOMPARE(b.ui.Texts(), std::vector<std::string>{"The system cannot find the path specified."});
  }

  void TypingKeepsTheSpecificationCurrent() {
    RestoreBench b;
    auto d = b.Make();
    d->FileName()->clear();
    QTest::keyClicks(d->FileName(), QStringLiteral("REP*.FNT"));
    QCOMPARE(d->Request().file_spec, std::string("REP*.FNT"));
  }

  void ANonzeroResultIsReportedOnce() {
    RestoreBench b;
    b.run_result = ERR_TAPE_RESTORE_CANCELLED;
    auto d = b.Make();
    d->accept();
    QCOMPARE(d->Result(), ERR_TAPE_RESTORE_CANCELLED);
    QCOMPARE(b.ui.Texts(), std::vector<std::string>{"Tape restore cancelled at user's request."});
  }

  void BrowsePutsTheChosenFolderIntoTheDestination() {
    const QString cwd = QDir::currentPath();
    RestoreBench b;
    QDir(b.dir.path()).mkdir(QStringLiteral("Chosen"));
    const QString chosen = QDir(b.dir.filePath(QStringLiteral("Chosen"))).canonicalPath();
    auto d = b.Make();
    auto choose = std::make_unique<WhenShown<CSelectDirectoryDlg>>([&](CSelectDirectoryDlg* s) {
      s->path_->setText(chosen);
      s->accept();
    });
    d->Browse();
    QVERIFY(choose->Seen());
    QCOMPARE(d->Destination()->text(), chosen);
    QCOMPARE(QString::fromStdString(b.ctx.settings.TapeRestorePath), chosen);
    // Cancel leaves the field alone.
    d->Destination()->setText(QStringLiteral("/tmp"));
    choose = std::make_unique<WhenShown<CSelectDirectoryDlg>>([](CSelectDirectoryDlg* s) { s->reject(); });
    d->Browse();
    QVERIFY(choose->Seen());
    QCOMPARE(d->Destination()->text(), QStringLiteral("/tmp"));
    QDir::setCurrent(cwd);
  }

  void Screenshot() {
    RestoreBench b;
    b.ctx.settings.TapeRestorePath = "/home/operator/restored";
    auto d = b.Make();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QVERIFY(d->grab().save(OutputPath(QStringLiteral("tape_restore_dialog.png"))));
  }
};

QTEST_MAIN(TapeRestoreDialogTest)
#include "tape_restore_dialog_test.moc"

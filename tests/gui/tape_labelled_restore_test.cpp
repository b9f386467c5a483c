// "Restore Files..." on a labelled tape, run from the Tape menu with the tape
// progress window: to the end, and aborted part way.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "gui/dialogs/restore_progress_dialog.h"
#include "gui/dialogs/tape_restore_dialog.h"
#include "support/gui_fixture.h"
#include "support/tape_dialog_fixture.h"

using namespace kelvo;
using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// What the window showed once the restore had ended.
struct FinalView {
  QString title, source, status, counter, output, button;
};

// A main window whose Tape0 is a labelled tape of `files` fonts F0, F1 ...
// of `blocks` blocks each, restoring into dir/out.
struct LabelledShell {
  QTemporaryDir dir;
  PumpingInteraction ui;
  std::unique_ptr<Shell> shell;
  QString out = dir.filePath(QStringLiteral("out"));

  std::vector<TapeFileSpec> files;

  LabelledShell(int count, int bytes) {
    for (int i = 0; i < count; ++i)
      files.push_back(BinaryTapeFile(QStringLiteral("F%1").arg(i), QStringLiteral("FNT"), bytes, i));
    const QString path = dir.filePath(QStringLiteral("l.tap"));
    if (!WriteLabelledTapeImage(path, files, 1024)) qFatal("cannot write %s", qPrintable(path));
    QDir(dir.path()).mkdir(QStringLiteral("out"));
    shell = std::make_unique<Shell>(std::vector<gui::PresentDevice>{{"Tape0", path, true, true}});
    shell->ctx.ui = &ui;
    shell->ctx.settings.TapeRestorePath = out.toStdString();
    shell->ctx.settings.DefaultTapeFormat = 0;
    shell->Start(dir.path());
  }

  FinalView Restore(const QString& spec) {
    FinalView end;
    RestoreFromMenu<CRestoreProgressDlg>(*shell->frame, spec, [&](CRestoreProgressDlg* w) {
      end = {w->windowTitle(), w->SourceText(), w->StatusText(), w->CounterText(),
             w->OutputDirectoryText(), w->Button()->text()};
    });
    return end;
  }
};

}  // namespace

class TapeLabelledRestoreTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void RestoresTheMatchingFiles() {
    LabelledShell t(3, 2048);
    std::vector<bool> greyed;
    t.ui.on_pump = [&] {
      if (!t.shell->ctx.app.TapeBusy) return;
      t.shell->frame->OnIdle();
      greyed.push_back(!t.shell->frame->Action(Cmd::TapeRestore)->isEnabled());
    };
    const FinalView end = t.Restore(QStringLiteral("F?.FNT"));
    QCOMPARE(end.title, QStringLiteral("Restoring from Kelvo Labeled Tape"));
    QCOMPARE(end.source, QStringLiteral(" Tape0"));
    QCOMPARE(end.status, QStringLiteral(" Done."));
    QCOMPARE(end.counter, QStringLiteral(" 3"));
    QCOMPARE(end.button, QStringLiteral("Close"));
    QVERIFY(t.ui.asks.empty());
    QVERIFY(!greyed.empty());
    QVERIFY(std::all_of(greyed.begin(), greyed.end(), [](bool b) { return b; }));
    for (int i = 0; i < 3; ++i) {
      QFile f(QDir(t.out).filePath(QStringLiteral("F%1.FNT").arg(i)));
      QVERIFY(f.open(QIODevice::ReadOnly));
      QCOMPARE(f.readAll(), t.files[static_cast<size_t>(i)].data);
    }
    QVERIFY(!FindShown<CRestoreProgressDlg>());
  }

  void AbortPressedMidRestore() {
    LabelledShell t(30, 8192);
    QString button_after_abort;
    t.ui.on_pump = [&] {
      CRestoreProgressDlg* w = FindShown<CRestoreProgressDlg>();
      if (!w || !button_after_abort.isEmpty() || w->CounterText() != QStringLiteral(" 2")) return;
      QTest::mouseClick(w->Button(), Qt::LeftButton);
      button_after_abort = w->Button()->text();
    };
    const FinalView end = t.Restore(QStringLiteral("*.*"));
    QCOMPARE(button_after_abort, QStringLiteral("Close"));
    QCOMPARE(end.status, QStringLiteral(" Restore aborted."));
    QCOMPARE(t.ui.Texts(), std::vector<std::string>{"Tape restore cancelled at user's request."});
    const int restored = QDir(t.out).entryList(QDir::Files).size();
    QVERIFY2(restored >= 2 && restored < 30, qPrintable(QString::number(restored)));
    QVERIFY(!t.shell->ctx.app.TapeBusy);
  }
};

QTEST_MAIN(TapeLabelledRestoreTest)
#include "tape_labelled_restore_test.moc"

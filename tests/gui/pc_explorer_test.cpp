// The PC explorer window: filter, captions, sorting, delete, rename in place,
// presentations, folder watching, and the time to list a large folder.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "gui/windows/main_drive_view.h"
#include "gui/windows/pc_explorer_window.h"
#include "support/gui_fixture.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

void SetModified(const QString& path, const QDateTime& when) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::ReadWrite));
  QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
}

}  // namespace

class PcExplorerTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void ListsOnlyPrinterFilesUnlessAllTypesAreShown() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"A.JSL", "B.TXT", "D.$Y$", "LONGNAME.FNT", "X.FNT"});
    QDir(dir.path()).mkdir("SUB.JSL");
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    QStringList names = Names(pc);
    names.sort();
    QCOMPARE(names, (QStringList{"A.JSL", "X.FNT"}));
    QCOMPARE(pc->Model()->Row(pc->Model()->FindRow("A.JSL")).type, QStringLiteral("Job Source File"));
    QCOMPARE(pc->ListView()->CaptionTexts().value(1), QStringLiteral("2 File(s)"));

    shell.frame->Action(Cmd::AllFileTypes)->trigger();
    QVERIFY(shell.ctx.settings.ShowAllFileTypes);
    names = Names(pc);
    names.sort();
    QCOMPARE(names, (QStringList{"A.JSL", "B.TXT", "D.$Y$", "LONGNAME.FNT", "X.FNT"}));
    QVERIFY(!pc->Model()->Row(pc->Model()->FindRow("B.TXT")).type.isEmpty());
    QCOMPARE(pc->Model()->Row(pc->Model()->FindRow("D.$Y$")).type, QStringLiteral("$Y$ File"));
    shell.frame->OnIdle();
    QVERIFY(shell.frame->Action(Cmd::AllFileTypes)->isChecked());
  }

  void CaptionsNameTheFolderCountAndSpace() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"A.JSL"}, 2048);
    MakeFiles(dir.path(), {"B.JSL"}, 1024);
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    const QStringList caps = pc->ListView()->CaptionTexts();
    QCOMPARE(caps[0], QStringLiteral("Contents of '%1'").arg(pc->PlaceText()));
    QCOMPARE(caps[1], QStringLiteral("2 File(s)"));
    QVERIFY2(caps[2].contains(QStringLiteral(" (Disk free space: ")), qPrintable(caps[2]));
    QCOMPARE(pc->Model()->CellText(pc->Model()->FindRow("A.JSL"), 1), QStringLiteral("2,048"));
  }

  void SortsByHeaderClickAndByMenu() {
    QTemporaryDir dir;
    MakeFile(dir.path(), "b.JSL", 300);
    MakeFile(dir.path(), "A.JSL", 200);
    MakeFile(dir.path(), "C.FNT", 100);
    SetModified(dir.filePath("C.FNT"), QDateTime(QDate(2001, 1, 1), QTime(0, 0)));
    SetModified(dir.filePath("A.JSL"), QDateTime(QDate(2002, 1, 1), QTime(0, 0)));
    SetModified(dir.filePath("b.JSL"), QDateTime(QDate(2003, 1, 1), QTime(0, 0)));
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    QHeaderView* header = pc->ListView()->DetailsView()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    QCOMPARE(Names(pc), (QStringList{"C.FNT", "A.JSL", "b.JSL"}));
    shell.frame->Action(Cmd::ByName)->trigger();
    QCOMPARE(Names(pc), (QStringList{"A.JSL", "b.JSL", "C.FNT"}));
    shell.frame->Action(Cmd::ByType)->trigger();
    QCOMPARE(Names(pc).first(), QStringLiteral("C.FNT"));  // "Font File" before "Job Source File"
    shell.frame->Action(Cmd::ByDate)->trigger();
    QCOMPARE(Names(pc), (QStringList{"C.FNT", "A.JSL", "b.JSL"}));
    shell.frame->Action(Cmd::BySize)->trigger();
    QCOMPARE(Names(pc), (QStringList{"C.FNT", "A.JSL", "b.JSL"}));
  }

  void DeleteAsksFirst() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"A.JSL", "B.JSL", "C.JSL"});
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    shell.frame->Action(Cmd::Delete)->trigger();
    QCOMPARE(shell.ui.Texts().back(), std::string("There are no files selected."));

    pc->ListView()->SelectNames({"A.JSL", "C.JSL"});
    shell.ui.answers = {kelvo::Button::No};
    shell.frame->Action(Cmd::Delete)->trigger();
    QCOMPARE(shell.ui.Texts().back(), std::string("Delete the currently selected files?"));
    QVERIFY(QFile::exists(dir.filePath("A.JSL")));

    shell.ui.answers = {kelvo::Button::Yes};
    QTest::keyClick(pc->ListView()->DetailsView(), Qt::Key_Delete);
    QCOMPARE(shell.ui.asks.back().buttons, kelvo::Buttons::YesNo);
    QVERIFY(!QFile::exists(dir.filePath("A.JSL")));
    QVERIFY(!QFile::exists(dir.filePath("C.JSL")));
    QVERIFY(QFile::exists(dir.filePath("B.JSL")));
    QCOMPARE(Names(pc), QStringList{"B.JSL"});
  }

  void RenamesInPlace() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"A.JSL", "B.JSL"});
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    pc->ListView()->SelectNames({"A.JSL"});
    shell.frame->Action(Cmd::Rename)->trigger();
    QVERIFY(pc->ListView()->Editing());
    auto* editor = pc->ListView()->DetailsView()->findChild<QLineEdit*>();
    QVERIFY(editor);
    // The Delete key edits the name, it deletes no file.
    QTest::keyClick(editor, Qt::Key_Delete);
    QVERIFY(shell.ui.asks.empty());
    editor->setText("NEW.JSL");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!pc->ListView()->Editing());
    QVERIFY(QFile::exists(dir.filePath("NEW.JSL")));
    QVERIFY(!QFile::exists(dir.filePath("A.JSL")));
    QVERIFY(Names(pc).contains("NEW.JSL"));

    // A name already taken is refused and nothing is replaced.
    pc->ListView()->SelectNames({"NEW.JSL"});
    QVERIFY(pc->ListView()->EditCurrent());
    editor = pc->ListView()->DetailsView()->findChild<QLineEdit*>();
    editor->setText("B.JSL");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!pc->ListView()->Editing());
    QCOMPARE(shell.ui.Texts().back(), std::string("Cannot rename. File already exists."));
    QVERIFY(QFile::exists(dir.filePath("NEW.JSL")));
    QCOMPARE(QFileInfo(dir.filePath("B.JSL")).size(), 10);

    // The same name in other case changes nothing.
    const size_t asked = shell.ui.asks.size();
    pc->ListView()->SelectNames({"B.JSL"});
    QVERIFY(pc->ListView()->EditCurrent());
    editor = pc->ListView()->DetailsView()->findChild<QLineEdit*>();
    editor->setText("b.jsl");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!pc->ListView()->Editing());
    QVERIFY(QFile::exists(dir.filePath("B.JSL")));
    QCOMPARE(shell.ui.asks.size(), asked);
  }

  void PresentationsSelectAllAndRefresh() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"A.JSL", "B.JSL"});
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    const std::pair<Cmd, Presentation> views[] = {{Cmd::LargeIcons, Presentation::LargeIcons},
                                                  {Cmd::SmallIcons, Presentation::SmallIcons},
                                                  {Cmd::List, Presentation::List},
                                                  {Cmd::Details, Presentation::Details}};
    for (auto [cmd, p] : views) {
      shell.frame->Action(cmd)->trigger();
      QCOMPARE(pc->ListView()->CurrentPresentation(), p);
      QVERIFY(shell.frame->Action(cmd)->isChecked());
    }
    shell.frame->Action(Cmd::SelectAll)->trigger();
    QCOMPARE(pc->ListView()->SelectedNames().size(), 2);
    MakeFiles(dir.path(), {"C.JSL"});
    shell.frame->Action(Cmd::Refresh)->trigger();
    QCOMPARE(pc->Model()->rowCount(), 3);
  }

  void WatchesTheFolderAndItsTree() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"A.JSL"});
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    MakeFiles(dir.path(), {"B.JSL"});
    QTRY_COMPARE(pc->Model()->rowCount(), 2);
    QFile::remove(dir.filePath("A.JSL"));
    QTRY_COMPARE(Names(pc), QStringList{"B.JSL"});
    // A new sub-folder appears in the tree under the shown folder.
    CMainDriveView* tree = pc->Tree();
    tree->currentItem()->setExpanded(true);
    QDir(dir.path()).mkdir("NEWSUB");
    QTRY_COMPARE(tree->currentItem()->childCount(), 1);
    QCOMPARE(tree->currentItem()->child(0)->text(0), QStringLiteral("NEWSUB"));
    QCOMPARE(QDir(pc->PlaceText()).canonicalPath(), QDir(dir.path()).canonicalPath());
  }

  void ListsTwentyThousandFiles() {
    QTemporaryDir dir;
    QStringList names;
    for (int i = 0; i < 20000; ++i) names << QStringLiteral("F%1.JSL").arg(i, 5, 10, QLatin1Char('0'));
    MakeFiles(dir.path(), names, 1);
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    QElapsedTimer timer;
    timer.start();
    pc->Relist();
    const qint64 ms = timer.elapsed();
    QCOMPARE(pc->Model()->rowCount(), 20000);
    qInfo("listing a PC folder of 20,000 files took %lld ms (listing alone %lld ms)", ms,
          pc->LastListMs());
  }
};

QTEST_MAIN(PcExplorerTest)
#include "pc_explorer_test.moc"

// Disk image windows: opening an image and seeing its files, Properties,
// delete with its confirmation, Save, New, the closing question and the
// enabling of the menu commands while an image window is active.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "gui/windows/disk_image_window.h"
#include "gui/dialogs/file_properties_dialog.h"
#include "gui/windows/kelvo_directory_view.h"
#include "support/gui_fixture.h"
#include "support/image_builder.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

CDiskImageWindow* ActiveImage(Shell& shell) {
  QMdiSubWindow* sub = shell.frame->MdiArea()->activeSubWindow();
  return sub ? qobject_cast<CDiskImageWindow*>(sub->widget()) : nullptr;
}

}  // namespace

class DiskImageWindowTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void OpensAnImageAndListsItsFiles() {
    QTemporaryDir dir;
    const QString path = dir.filePath("demo.kdi");
    QVERIFY(MakeImage(path, {{"REP", "ORT", "FNT", 3}, {"A", "", "JSL", 1}}));
    Shell shell;
    shell.Start(dir.path());
    QVERIFY(shell.frame->OpenDocument(path));
    CDiskImageWindow* image = ActiveImage(shell);
    QVERIFY(image);
    QCOMPARE(image->Kind(), PlaceKind::DiskImage);
    QCOMPARE(image->PlaceText(), QStringLiteral("demo.kdi"));
    QStringList names = Names(image);
    names.sort();
    QCOMPARE(names, (QStringList{"A.jsl", "Report.fnt"}));
    QCOMPARE(image->Model()->Headers(), (QStringList{"Name", "Size", "Type"}));
    const int row = image->Model()->FindRow("Report.fnt");
    QCOMPARE(image->Model()->CellText(row, 1), QStringLiteral("1,536"));
    QCOMPARE(image->Model()->CellText(row, 2), QStringLiteral("Font File (300 dpi)"));
    const QStringList caps = image->ListView()->CaptionTexts();
    QCOMPARE(caps[0], QStringLiteral("Contents of 'demo.kdi'"));
    QCOMPARE(caps[1], QStringLiteral("2 File(s)"));
    QVERIFY2(caps[2].startsWith(QStringLiteral("2.00KB (Disk free space: ")), qPrintable(caps[2]));
    // Opening it again brings the same window forward.
    QVERIFY(shell.frame->OpenDocument(path));
    QCOMPARE(shell.frame->MdiArea()->subWindowList().size(), 2);
    QCOMPARE(shell.frame->Recent().Files(), QStringList{QFileInfo(path).absoluteFilePath()});
  }

  void RefusesAFileThatIsNoImage() {
    QTemporaryDir dir;
    MakeFile(dir.path(), "bad.kdi", 40000);
    Shell shell;
    shell.Start(dir.path());
    QVERIFY(!shell.frame->OpenDocument(dir.filePath("bad.kdi")));
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"The file is not a valid Kelvo disk image."});
    QCOMPARE(shell.frame->MdiArea()->subWindowList().size(), 1);
  }

  void DirectoryTreeListsTheTypeDirectories() {
    QTemporaryDir dir;
    QVERIFY(MakeImage(dir.filePath("d.kdi"), {}));
    Shell shell;
    shell.Start(dir.path());
    QVERIFY(shell.frame->OpenDocument(dir.filePath("d.kdi")));
    QTreeWidgetItem* all = ActiveImage(shell)->Tree()->AllFiles();
    QCOMPARE(all->text(0), QStringLiteral("All Files"));
    all->setExpanded(true);
    QCOMPARE(all->childCount(), 35);
    QCOMPARE(all->child(0)->text(0), QStringLiteral("$y$"));
    for (int i = 1; i < 35; ++i) QVERIFY(all->child(i - 1)->text(0) < all->child(i)->text(0));
    all->setExpanded(false);
    QCOMPARE(all->childCount(), 0);
  }

  void ShowsProperties() {
    QTemporaryDir dir;
    QVERIFY(MakeImage(dir.filePath("p.kdi"), {{"FOR", "M1", "FRM", 2}}));
    Shell shell;
    shell.Start(dir.path());
    QVERIFY(shell.frame->OpenDocument(dir.filePath("p.kdi")));
    CDiskImageWindow* image = ActiveImage(shell);
    image->ListView()->SelectNames({"Form1.frm"});
    QMap<QString, QString> values;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<CFilePropertiesDlg*>(QApplication::activeModalWidget());
      if (!dialog) return;
      for (const char* label : {"File Name:", "File Size:", "Record Size:", "File Description:"})
        values[label] = dialog->Value(label);
      dialog->accept();
    });
    shell.frame->OnIdle();
    QVERIFY(shell.frame->Action(Cmd::Properties)->isEnabled());
    shell.frame->Action(Cmd::Properties)->trigger();
    QCOMPARE(values["File Name:"], QStringLiteral("Form1.frm"));
    QCOMPARE(values["File Size:"], QStringLiteral("1,024"));
    QCOMPARE(values["Record Size:"], QStringLiteral("512"));
    QCOMPARE(values["File Description:"], QStringLiteral("Form File (300 dpi)"));
  }

  void DeletesAfterConfirmationAndSaves() {
    QTemporaryDir dir;
    const QString path = dir.filePath("del.kdi");
    QVERIFY(MakeImage(path, {{"A", "", "JSL", 1}, {"B", "", "JSL", 1}}));
    Shell shell;
    shell.Start(dir.path());
    QVERIFY(shell.frame->OpenDocument(path));
    CDiskImageWindow* image = ActiveImage(shell);
    shell.frame->OnIdle();
    QVERIFY(!shell.frame->Action(Cmd::Save)->isEnabled());
    QVERIFY(shell.frame->Action(Cmd::SaveAs)->isEnabled());
    QVERIFY(shell.frame->Action(Cmd::Rename)->isEnabled());

    image->ListView()->SelectNames({"A.jsl"});
    shell.ui.answers = {kelvo::Button::No};
    shell.frame->Action(Cmd::Delete)->trigger();
    QCOMPARE(Names(image).size(), 2);
    QVERIFY(!image->Modified());

    shell.ui.answers = {kelvo::Button::Yes};
    shell.frame->Action(Cmd::Delete)->trigger();
    QCOMPARE(Names(image), QStringList{"B.jsl"});
    QVERIFY(image->Modified());
    shell.frame->OnIdle();
    QVERIFY(shell.frame->Action(Cmd::Save)->isEnabled());
    // The file on disk is unchanged until the image is saved.
    Shell other;
    other.Start(dir.path());
    QVERIFY(other.frame->OpenDocument(path));
    QCOMPARE(ActiveImage(other)->Model()->rowCount(), 2);
    other.frame->MdiArea()->closeAllSubWindows();

    shell.frame->Action(Cmd::Save)->trigger();
    QVERIFY(!image->Modified());
    QVERIFY(other.frame->OpenDocument(path));
    QCOMPARE(Names(ActiveImage(other)), QStringList{"B.jsl"});
  }

  void RenamingAFileOfTheImageRenamesItInTheDocument() {
    QTemporaryDir dir;
    const QString path = dir.filePath("ren.kdi");
    QVERIFY(MakeImage(path, {{"A", "", "JSL", 1}, {"B", "", "JSL", 1}}));
    Shell shell;
    shell.Start(dir.path());
    QVERIFY(shell.frame->OpenDocument(path));
    CDiskImageWindow* image = ActiveImage(shell);
    const QModelIndex first = image->Model()->index(image->Model()->FindRow("A.jsl"), 0);
    QVERIFY(image->Model()->flags(first) & Qt::ItemIsEditable);

    // The list ends the edit by handing the new name to the window.
    QVERIFY(image->Model()->setData(first, QStringLiteral("C.JSL"), Qt::EditRole));
    QCoreApplication::processEvents();
    QCOMPARE(Names(image), (QStringList{"B.jsl", "C.jsl"}));
    QVERIFY(image->Modified());
    QVERIFY(shell.ui.asks.empty());

    // A name that is taken is refused and the file keeps its name.
    const QModelIndex second = image->Model()->index(image->Model()->FindRow("B.jsl"), 0);
    image->Model()->setData(second, QStringLiteral("C.JSL"), Qt::EditRole);
    QCoreApplication::processEvents();
    QCOMPARE(shell.ui.asks.size(), size_t{1});
    QCOMPARE(Names(image), (QStringList{"B.jsl", "C.jsl"}));
  }

  void AsksToSaveAModifiedImageOnClosing() {
    QTemporaryDir dir;
    const QString path = dir.filePath("c.kdi");
    QVERIFY(MakeImage(path, {{"A", "", "JSL", 1}}));
    Shell shell;
    shell.Start(dir.path());
    QVERIFY(shell.frame->OpenDocument(path));
    CDiskImageWindow* image = ActiveImage(shell);
    image->ListView()->SelectAll();
    shell.ui.answers = {kelvo::Button::Yes, kelvo::Button::Cancel};
    shell.frame->Action(Cmd::Delete)->trigger();
    shell.frame->Action(Cmd::Close)->trigger();
    QCOMPARE(shell.ui.Texts().back(), std::string("Save changes to c.kdi?"));
    QCOMPARE(shell.frame->MdiArea()->subWindowList().size(), 2);  // Cancel keeps it open
    shell.ui.answers = {kelvo::Button::No};
    shell.frame->Action(Cmd::Close)->trigger();
    QTRY_COMPARE(shell.frame->MdiArea()->subWindowList().size(), 1);
    Shell again;
    again.Start(dir.path());
    QVERIFY(again.frame->OpenDocument(path));
    QCOMPARE(ActiveImage(again)->Model()->rowCount(), 1);  // not saved
  }

  void NewCreatesAnEmptyImage() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    shell.frame->Action(Cmd::New)->trigger();
    CDiskImageWindow* image = ActiveImage(shell);
    QVERIFY(image);
    QCOMPARE(image->PlaceText(), QStringLiteral("Disk Image File1"));
    QCOMPARE(image->Model()->rowCount(), 0);
    QVERIFY(image->Path().isEmpty());
    QCOMPARE(image->SaveTo(dir.filePath("new.kdi")), kelvo::ErrorCode{0});
    QCOMPARE(image->PlaceText(), QStringLiteral("new.kdi"));
    QVERIFY(QFile::exists(dir.filePath("new.kdi")));
  }
};

QTEST_MAIN(DiskImageWindowTest)
#include "disk_image_window_test.moc"

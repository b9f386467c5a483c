// The explorer windows over a PC folder, a disk image and a floppy: the PC
// window's filter, sorting and watching; delete, rename and Properties in
// each kind of window; the image window's Save, New and closing question.
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>
#include <QTreeWidgetItem>

#include "gui/dialogs/file_properties_dialog.h"
#include "gui/windows/disk_image_window.h"
#include "gui/windows/floppy_window.h"
#include "gui/windows/kelvo_directory_view.h"
#include "gui/windows/main_drive_view.h"
#include "gui/windows/pc_explorer_window.h"
#include "support/gui_fixture.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// A PC window on dir/pc, an image window and the window of drive A:, each
// holding a file "A" and a file "B" of type JSL.
struct ThreeWindows {
  FloppyShell f;
  CDiskImageWindow* image = nullptr;
  CFloppyWindow* floppy = nullptr;
  struct Kind {
    CChildFrameWindow* window;
    QString a, b;                         // the names it lists
    std::function<QStringList()> stored;  // what its medium holds
  };
  std::vector<Kind> kinds;

  bool Make() {
    const QString pc = f.dir.filePath("pc");
    if (!f.ok || !QDir().mkpath(pc) || !MakeFloppyMedium(f.a, {{"A", "", "JSL", 1}, {"B", "", "JSL", 1}}) ||
        !MakeImage(f.dir.filePath("d.kdi"), {{"A", "", "JSL", 1}, {"B", "", "JSL", 1}}))
      return false;
    MakeFiles(pc, {"A.JSL", "B.JSL"});
    f.pc->OpenFolder(pc);
    image = OpenImage(*f.shell, f.dir.filePath("d.kdi"));
    floppy = f.OpenA();
    kinds = {{f.pc, "A.JSL", "B.JSL", [pc] { return QDir(pc).entryList(QDir::Files); }},
             {image, "A.jsl", "B.jsl", [this] { return Names(image); }},
             {floppy, "A.jsl", "B.jsl", [this] { return MediumNames(f.a); }}};
    return image && floppy;
  }
};

}  // namespace

class ExplorerTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void PcWindowListsItsFolderAndImageWindowsSaveAndAsk() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"b.JSL", "B.TXT", "D.$Y$", "LONGNAME.FNT"});
    WriteFile(dir.path(), "A.JSL", QByteArray(200, 'a'));
    WriteFile(dir.path(), "C.FNT", QByteArray(100, 'c'));
    QDir(dir.path()).mkdir("SUB.JSL");
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    QCOMPARE(Sorted(Names(pc)), (QStringList{"A.JSL", "C.FNT", "b.JSL"}));
    shell.frame->Action(Cmd::AllFileTypes)->trigger();
    QCOMPARE(Names(pc).size(), 6);
    shell.frame->Action(Cmd::AllFileTypes)->trigger();
    // A header click sorts by that column; the View menu sorts and presents.
    QHeaderView* header = pc->ListView()->DetailsView()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    QCOMPARE(Names(pc), (QStringList{"b.JSL", "C.FNT", "A.JSL"}));  // by size
    shell.frame->Action(Cmd::ByName)->trigger();
    QCOMPARE(Names(pc), (QStringList{"A.JSL", "b.JSL", "C.FNT"}));
    shell.frame->Action(Cmd::List)->trigger();
    QCOMPARE(pc->ListView()->CurrentPresentation(), Presentation::List);
    // The folder is watched: files and sub-folders come and go by themselves.
    MakeFiles(dir.path(), {"E.JSL"});
    QTRY_COMPARE(Names(pc).size(), 4);
    QFile::remove(dir.filePath("A.JSL"));
    QTRY_VERIFY(!Names(pc).contains("A.JSL"));
    // The tree may list its folder again meanwhile: the shown folder is expanded each time.
    const auto subfolders = [pc] {
      pc->Tree()->currentItem()->setExpanded(true);
      return pc->Tree()->currentItem()->childCount();
    };
    QTRY_COMPARE(subfolders(), 1);
    QDir(dir.path()).mkdir("NEWSUB");
    QTRY_COMPARE(subfolders(), 2);

    // The image window: opened, saved, asking before closing; New.
    const QString path = dir.filePath("c.kdi");
    QVERIFY(MakeImage(path, {{"A", "", "JSL", 1}, {"B", "", "JSL", 1}}));
    WriteFile(dir.path(), "bad.kdi", QByteArray(40000, 'x'));
    QVERIFY(!shell.frame->OpenDocument(dir.filePath("bad.kdi")));
    QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"The file is not a valid Kelvo disk image."});
    CDiskImageWindow* image = OpenImage(shell, path);
    QVERIFY(image);
    QCOMPARE(OpenImage(shell, path), image);  // the same window again
    QCOMPARE(shell.frame->MdiArea()->subWindowList().size(), 2);

    image->ListView()->SelectNames({"A.jsl"});
    shell.ui.answers = {kelvo::Button::Yes};
    shell.frame->RunCommand(Cmd::Delete);
    shell.frame->OnIdle();
    QVERIFY(shell.frame->Action(Cmd::Save)->isEnabled());
    // Closing asks, by the full path while another open image has the same
    // name; Cancel keeps the window, No closes it unsaved.
    QVERIFY(QDir(dir.path()).mkdir("y") && MakeImage(dir.filePath("y/c.kdi"), {}));
    CDiskImageWindow* twin = OpenImage(shell, dir.filePath("y/c.kdi"));
    QVERIFY(twin && twin != image);
    twin->Document().SetModifiedFlag();
    const auto question = [&](const QString& p) {
      return "Save changes to " + QDir::toNativeSeparators(QFileInfo(dir.filePath(p)).absoluteFilePath()).toStdString() + "?";
    };
    shell.ui.asks.clear();
    shell.ui.answers = {kelvo::Button::Cancel, kelvo::Button::No, kelvo::Button::Cancel};
    QVERIFY(!image->parentWidget()->close());
    QVERIFY(twin->parentWidget()->close());
    shell.frame->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(image->parentWidget()));
    shell.frame->RunCommand(Cmd::Close);  // alone now, named as before
    QCOMPARE(shell.ui.Texts(), (std::vector<std::string>{question("c.kdi"), question("y/c.kdi"), "Save changes to c.kdi?"}));
    QCOMPARE(shell.frame->MdiArea()->subWindowList().size(), 2);
    // Save writes the file.
    shell.frame->Action(Cmd::Save)->trigger();
    QVERIFY(!image->Modified());
    Shell other;
    other.Start(dir.path());
    CDiskImageWindow* saved = OpenImage(other, path);
    QVERIFY(saved);
    QCOMPARE(Names(saved), QStringList{"B.jsl"});

    // New opens an empty, unnamed image.
    shell.frame->Action(Cmd::New)->trigger();
    CDiskImageWindow* fresh = ActiveChild<CDiskImageWindow>(*shell.frame);
    QVERIFY(fresh && fresh != image && fresh->Path().isEmpty() && Names(fresh).isEmpty());
  }

  // Rename in place, Delete and Properties in each kind of window.
  void RenameDeleteAndPropertiesInEachKindOfWindow() {
    ThreeWindows t;
    QVERIFY(t.Make());
    Shell& shell = *t.f.shell;
    for (const auto& k : t.kinds) {
      shell.frame->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(k.window->parentWidget()));
      CFileListModel* m = k.window->Model();
      // A name that is taken is refused once and nothing is replaced.
      shell.ui.asks.clear();
      m->setData(m->index(m->FindRow(k.a), 0), k.b, Qt::EditRole);
      QCOMPARE(shell.ui.asks.size(), size_t{1});
      QCOMPARE(Sorted(k.stored()), (QStringList{k.a, k.b}));
      m->setData(m->index(m->FindRow(k.a), 0), QStringLiteral("C.JSL"), Qt::EditRole);
      QTRY_COMPARE(Sorted(k.stored()).join(' ').toUpper(), QStringLiteral("B.JSL C.JSL"));
      QTRY_COMPARE(Sorted(Names(k.window)).join(' ').toUpper(), QStringLiteral("B.JSL C.JSL"));
      QCOMPARE(shell.ui.asks.size(), size_t{1});
      // Delete asks first, and says when nothing is selected.
      k.window->ListView()->Selection()->clearSelection();
      shell.ui.asks.clear();
      shell.frame->RunCommand(Cmd::Delete);
      QCOMPARE(shell.ui.Texts(), std::vector<std::string>{"There are no files selected."});
      k.window->ListView()->SelectNames({Sorted(Names(k.window)).last()});
      shell.ui.answers = {kelvo::Button::No};
      shell.frame->RunCommand(Cmd::Delete);
      QCOMPARE(k.stored().size(), 2);
      shell.ui.answers = {kelvo::Button::Yes};
      QTest::keyClick(k.window->ListView()->DetailsView(), Qt::Key_Delete);
      QCOMPARE(shell.ui.asks.back().text, std::string("Delete the currently selected files?"));
      QCOMPARE(Names(k.window), QStringList{k.b});
      QCOMPARE(k.stored(), QStringList{k.b});
      if (k.window == t.f.pc) continue;  // PC files have no Properties
      k.window->ListView()->SelectNames({k.b});
      QString name;
      shell.modals.Expect<CFilePropertiesDlg>([&](CFilePropertiesDlg* d) {
        name = d->Value("File Name:") + " " + d->Value("File Size:");
        d->accept();
      });
      shell.frame->OnIdle();
      shell.frame->Action(Cmd::Properties)->trigger();
      QCOMPARE(name, QStringLiteral("B.jsl 512"));
    }
    QVERIFY(t.image->Modified());
    // In the PC window the Delete key edits the name and deletes no file.
    t.f.pc->ListView()->SelectNames({"B.JSL"});
    shell.frame->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(t.f.pc->parentWidget()));
    shell.frame->RunCommand(Cmd::Rename);
    auto* editor = t.f.pc->ListView()->DetailsView()->findChild<QLineEdit*>();
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Delete);
    editor->setText("NEW.JSL");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!t.f.pc->ListView()->Editing());
    QCOMPARE(t.kinds[0].stored(), QStringList{"NEW.JSL"});
  }
};

QTEST_MAIN(ExplorerTest)
#include "explorer_test.moc"

// The desktop's habits: keys of the file lists, the folder tree, window
// placement, mounts, the wait cursor, the closing question and the palette.
#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QSplitter>
#include <QTreeView>
#include <QTreeWidget>

#include "gui/viewers/font_frame.h"
#include "gui/viewers/image_frame.h"
#include "gui/viewers/text_frame.h"
#include "gui/viewers/viewer_ink.h"
#include "gui/windows/disk_image_window.h"
#include "gui/windows/kelvo_directory_view.h"
#include "gui/windows/main_drive_view.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/windows/status_window.h"
#include "support/gui_fixture.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// Drops `data` on `item` of `tree` as the mouse would: the drop goes to the
// widget that accepted the drag's entry.
void DropOnItem(QTreeWidget* tree, QTreeWidgetItem* item, const QMimeData* data) {
  tree->scrollToItem(item);
  const QPointF pos = tree->visualItemRect(item).center();
  QVERIFY(tree->itemAt(pos.toPoint()) == item);
  QDragEnterEvent enter(pos.toPoint(), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(tree->viewport(), &enter);
  QDropEvent drop(pos, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(tree->viewport(), &drop);
}

// The best contrast any pixel of `view` has against the background.
double BestContrast(QAbstractScrollArea* view, const QColor& background) {
  view->viewport()->repaint();
  const QImage picture = view->viewport()->grab().toImage();
  double best = 1;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) best = std::max(best, ContrastRatio(picture.pixelColor(x, y), background));
  return best;
}

}  // namespace

class DesktopTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void EachKeyReachesItsCommand() {
    const std::pair<QKeyCombination, std::function<bool(Shell&, CPcExplorerWindow*)>> cases[] = {
        {Qt::Key_F2, [](Shell&, CPcExplorerWindow* pc) { return pc->ListView()->Editing(); }},
        {Qt::CTRL | Qt::Key_A, [](Shell&, CPcExplorerWindow* pc) { return pc->ListView()->SelectedRows().size() == 3; }},
        {Qt::Key_Return, [](Shell& shell, CPcExplorerWindow*) { return ActiveChild<CImgFrame>(*shell.frame) != nullptr; }},
        {Qt::CTRL | Qt::Key_W,
         [](Shell& shell, CPcExplorerWindow*) {
           QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
           return shell.frame->MdiArea()->subWindowList().isEmpty();
         }},
        {Qt::Key_F5, [](Shell&, CPcExplorerWindow* pc) { return pc->Model()->FindRow("NEW.JSL") >= 0; }},
    };
    for (const auto& [key, reached] : cases) {
      QTemporaryDir dir;
      MakeFiles(dir.path(), {"A.JSL", "B.JSL"});
      WriteFile(dir.path(), "VIEW.IMG", QByteArray::fromStdString(BlockImageFile(64, 16, 8, 8)));
      Shell shell;
      CPcExplorerWindow* pc = shell.Start(dir.path());
      QTreeView* view = pc->ListView()->DetailsView();
      view->setFocus();
      view->setCurrentIndex(pc->Model()->index(pc->Model()->FindRow("VIEW.IMG"), 0));
      MakeFiles(dir.path(), {"NEW.JSL"}, 10);
      QTest::keyClick(view, key.key(), key.keyboardModifiers());
      QVERIFY2(reached(shell, pc), qPrintable(QKeySequence(key).toString()));
    }
  }

  // After a re-read the tree shows the folder the list shows, not a parent.
  void TreeKeepsTheListedFolderAfterARead() {
    const std::function<void(Shell&, CPcExplorerWindow*, const QString& root)> acts[] = {
        [](Shell&, CPcExplorerWindow* pc, const QString&) { pc->Refresh(); },
        [](Shell&, CPcExplorerWindow* pc, const QString& root) {  // the watched parent changes
          QVERIFY(QDir(root).mkpath("a/new"));
          pc->Tree()->OnFolderChanged(root + "/a");
        },
        [](Shell& shell, CPcExplorerWindow* pc, const QString& root) {  // a drop on the list
          CDiskImageWindow* image = OpenImage(shell, root + "/d.kdi");
          QVERIFY(image);
          shell.frame->HandleDrop(pc, DragFrom(image, {"A.jsl"}).get());
          QVERIFY(pc->Model()->FindRow("A.JSL") >= 0);
        }};
    for (const auto& act : acts) {
      QTemporaryDir dir;
      const QString leaf = QDir::cleanPath(dir.path() + "/a/b/c");
      QVERIFY(QDir(dir.path()).mkpath("a/b/c/d") && MakeImage(dir.filePath("d.kdi"), {{"A", "", "JSL", 1}}));
      Shell shell;
      CPcExplorerWindow* pc = shell.Start(leaf);
      QCOMPARE(pc->Tree()->SelectedFolder(), leaf);
      act(shell, pc, QDir::cleanPath(dir.path()));
      QCOMPARE(pc->Tree()->SelectedFolder(), leaf);
      QCOMPARE(pc->PlaceText(), leaf);
    }
  }

  // A drop on a tree item does what a drop on the matching list does.
  void DropsOnTreeItemsTransfer() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub") && MakeImage(dir.filePath("d.kdi"), {{"A", "", "JSL", 1}}));
    MakeFiles(dir.path(), {"B.JSL"}, 700);
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    CDiskImageWindow* image = OpenImage(shell, dir.filePath("d.kdi"));
    QVERIFY(image);
    // PC files dropped on "All Files" of the image's tree go into the image.
    QApplication::processEvents();  // the windows laid out
    DropOnItem(image->Tree(), image->Tree()->AllFiles(), DragFrom(pc, {"B.JSL"}).get());
    QVERIFY(image->Model()->FindRow("B.jsl") >= 0);
    // Image files dropped on a folder of the PC tree go into that folder.
    CMainDriveView* tree = pc->Tree();
    tree->currentItem()->setExpanded(true);
    QApplication::processEvents();  // a folder change read again first: items are replaced
    QTreeWidgetItem* sub = tree->currentItem()->child(0);
    QVERIFY(sub && sub->text(0) == QStringLiteral("sub"));
    DropOnItem(tree, sub, DragFrom(image, {"A.jsl"}).get());
    QCOMPARE(QDir(dir.filePath("sub")).entryList({"a.jsl"}, QDir::Files).size(), 1);
    QCOMPARE(pc->PlaceText(), QDir::cleanPath(dir.filePath("sub")));
    QVERIFY(shell.ui.asks.empty());
  }

  // Window placement. The pane widths come from the settings and go back to
  // them. New windows fit: viewers stay wholly inside the area however far
  // the cascade has gone and however large their content; an image window
  // opens wide enough for its whole caption strip; a viewer opened over a
  // maximized window opens maximized. A saved placement off the screen, or
  // larger than it, is brought inside.
  void NewWindowsFitTheArea() {
    QTemporaryDir dir;
    Shell shell;
    shell.ctx.settings.DriveViewWidth = 180;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    CMainFrame& f = *shell.frame;
    auto* splitter = pc->findChild<QSplitter*>();
    QCOMPARE(splitter->sizes().value(0), 180);
    QWidget* handle = splitter->handle(1);
    const QPoint from(handle->width() / 2, handle->height() / 2);
    for (auto [type, at, buttons] : {std::tuple{QEvent::MouseButtonPress, from, Qt::MouseButtons(Qt::LeftButton)},
                                     {QEvent::MouseMove, from + QPoint(40, 0), Qt::LeftButton},
                                     {QEvent::MouseButtonRelease, from + QPoint(40, 0), Qt::NoButton}}) {
      QMouseEvent e(type, at, handle->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
      QApplication::sendEvent(handle, &e);
    }
    QCOMPARE(shell.ctx.settings.DriveViewWidth, 220);
    QCOMPARE(shell.ctx.settings.FileViewWidth, splitter->sizes().value(1));

    QVERIFY(MakeImage(dir.filePath("archive-1998.kdi"), {{"A", "", "JSL", 1}}));
    QVERIFY(f.OpenDocument(dir.filePath("archive-1998.kdi")));
    QApplication::processEvents();
    for (CStatusWnd* strip : ActiveChild<CDiskImageWindow>(f)->ListView()->findChildren<CStatusWnd*>())
      QVERIFY2(strip->width() >= strip->fontMetrics().horizontalAdvance(strip->Text()), qPrintable(strip->Text()));
    f.resize(640, 420);
    QApplication::processEvents();
    const QRect area(QPoint(0, 0), f.MdiArea()->viewport()->size());
    for (int i = 0; i < 8; ++i) {
      const QString name = QStringLiteral("V%1.IMG").arg(i);
      QVERIFY(OpenViewer<CImgFrame>(f, dir.path(), name, BlockImageFile(2400, 1600, 16, 8)));
      QVERIFY2(area.contains(f.MdiArea()->activeSubWindow()->geometry()), qPrintable(name));
    }
    f.MdiArea()->activeSubWindow()->showMaximized();
    QVERIFY(OpenViewer<CImgFrame>(f, dir.path(), "MAX.IMG", BlockImageFile(200, 40, 16, 8)));
    QVERIFY(f.MdiArea()->activeSubWindow()->isMaximized());

    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QRect& r : {QRect(5000, 4000, 700, 500), QRect(available.right() - 50, 100, 700, 500),
                           QRect(100, 100, 2048, 2048)}) {
      Shell other;
      kelvo::Settings& s = other.ctx.settings;
      std::tie(s.MainWindowLeft, s.MainWindowTop, s.MainWindowWidth, s.MainWindowHeight) =
          std::tuple(r.left(), r.top(), r.width(), r.height());
      CMainFrame frame(other.ctx, {});
      QVERIFY(available.contains(frame.geometry()));
    }
  }

  // A volume mounted while the program runs appears in the tree at once,
  // and goes when it is unmounted.
  void MountedVolumesComeAndGo() {
    QTemporaryDir dir;
    const QString volume = dir.filePath("my disk");
    QVERIFY(QDir().mkpath(volume));
    const QString table = WriteFile(dir.path(), "mounts", "/dev/root / ext4 rw 0 0\n");
    CMainDriveView tree;
    tree.SetMountTable(table);
    QVERIFY(!tree.VolumeFolders().contains(volume));
    WriteFile(dir.path(), "mounts", "/dev/root / ext4 rw 0 0\n/dev/sdz1 " + dir.path().toUtf8() + "/my\\040disk vfat rw 0 0\n");
    QTRY_VERIFY(tree.VolumeFolders().contains(volume));
    WriteFile(dir.path(), "mounts", "/dev/root / ext4 rw 0 0\n");
    QTRY_VERIFY(!tree.VolumeFolders().contains(volume));
  }

  void ViewersAreReadableOnADarkPalette() {
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Base, QColor(0x20, 0x22, 0x26));
    dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    QApplication::setPalette(dark);
    QTemporaryDir dir;
    {
      Shell shell;
      shell.Start(dir.path());
      CMainFrame& f = *shell.frame;
      auto* source = OpenViewer<CSourceFrame>(f, dir.path(), "DARK.JSL", "plain text\n");
      auto* comment = OpenViewer<CSourceFrame>(f, dir.path(), "NOTE.PCH", "; a comment\n");
      auto* glyphs = OpenViewer<CFontFrame>(f, dir.path(), "DARK.FNT", FontWithA());
      auto* image = OpenViewer<CImgFrame>(f, dir.path(), "DARK.IMG", BlockImageFile(64, 16, 32, 8));
      QVERIFY(source && comment && glyphs && image);
      for (QAbstractScrollArea* view : std::initializer_list<QAbstractScrollArea*>{source->View(), comment->View(), glyphs->View(), image->View()}) {
        const double contrast = BestContrast(view, dark.color(QPalette::Base));
        QVERIFY2(contrast >= 4.5, qPrintable(QStringLiteral("%1: %2").arg(view->metaObject()->className()).arg(contrast)));
      }
    }
    QApplication::setPalette(light);
  }

};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"

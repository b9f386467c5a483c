// The viewer windows as drawn and driven through the View menu, the scroll
// bars, the Open dialog and the PC window (the documents' rules are the
// viewer tests').
#include <QAbstractItemView>
#include <QImage>
#include <QFileDialog>
#include <QLineEdit>
#include <QScrollBar>

#include "gui/viewers/viewer_display_font.h"
#include "gui/viewers/font_frame.h"
#include "gui/viewers/image_frame.h"
#include "gui/viewers/text_frame.h"
#include "gui/windows/pc_explorer_window.h"
#include "support/gui_fixture.h"

using namespace kelvo;
using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// The colours found in an area, with anti-aliased text counted by its hue
// against the white background.
struct ColourTally {
  int black = 0, green = 0, magenta = 0, other = 0;
  int Any() const { return black + green + magenta + other; }
};
ColourTally TallyColours(const QImage& image, const QRect& area) {
  ColourTally t;
  const QRect a = area.intersected(image.rect());
  const auto near = [](int x, int y) { return std::abs(x - y) <= 3; };
  for (int y = a.top(); y <= a.bottom(); ++y) {
    for (int x = a.left(); x <= a.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const int r = c.red(), g = c.green(), b = c.blue();
      // The background, and anti-aliasing too faint to tell its hue.
      if (std::min({r, g, b}) >= 235) continue;
      if (near(r, g) && near(g, b))
        ++t.black;
      else if (near(r, b) && g < r)
        ++t.magenta;
      else if (near(r, b) && g > r)
        ++t.green;
      else
        ++t.other;
    }
  }
  return t;
}

QImage Painted(QAbstractScrollArea* view) {
  view->viewport()->repaint();
  return view->viewport()->grab().toImage();
}

// The area of `cols` columns from `col` of window row `row` of a source view.
QRect SourceCellRect(int col, int row, int cols = 1) {
  const DisplayFont& f = TheDisplayFont();
  return QRect(16 + col * f.char_width, row * f.char_height, cols * f.char_width, f.char_height);
}

void ResizeView(CMainFrame& frame, int width, int height) {
  frame.resize(width + 200, height + 300);
  frame.MdiArea()->activeSubWindow()->resize(width, height);
  QCoreApplication::processEvents();
}

struct Viewers {
  QTemporaryDir dir;
  Shell shell;
  Viewers() { shell.Start(dir.path()); }
  template <class T>
  T* Open(const QString& name, const std::string& bytes) {
    return OpenViewer<T>(*shell.frame, dir.path(), name, bytes);
  }
};

}  // namespace

class ViewerTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void ImagesAreDrawnTurnedAndZoomedThroughTheViewMenu() {
    Viewers v;
    v.shell.ctx.settings.DefaultZoom = 100;
    CMainFrame& f = *v.shell.frame;
    f.OnIdle();
    QVERIFY(!f.Action(Cmd::Rotate)->isEnabled());  // a PC window is active
    kelvo::test::ImageFileSpec red;
    red.colour = "RED";
    CImgFrame* frame = v.Open<CImgFrame>("TURN.IMG", BlockImageFile(64, 32, 16, 8, red));
    QVERIFY(frame && frame->Document().Bitmap() == nullptr);  // once shown, the view owns the picture
    CImgView* view = frame->View();
    v.shell.frame->MdiArea()->activeSubWindow()->resize(300, 300);
    const QImage p = Painted(view);
    // The ink block of the raster's top left corner, turned a quarter
    // counter-clockwise, lies at the bottom left of the 32 x 64 bitmap
    // drawn in its ink at (20, 20).
    QCOMPARE(p.pixel(23, 80), qRgb(255, 0, 0));
    QCOMPARE(p.pixel(23, 60), qRgb(255, 255, 255));
    f.OnIdle();
    QVERIFY(!f.Action(Cmd::ZoomIn)->isEnabled());  // at 100 %
    f.Action(Cmd::Rotate)->trigger();
    QCOMPARE(view->ScrollSize(), QSize(64 + 40, 32 + 40));  // two turns
    f.Action(Cmd::Rotate)->trigger();
    f.OnIdle();
    f.Action(Cmd::ZoomOut)->trigger();
    // Three turns at 95 %: 32 wide, 64 x 95 % = 60 rounded to 64 high.
    QCOMPARE(view->Model().Zoom(), 95);
    QCOMPARE(view->ScrollSize(), QSize(32 + 40, 64 + 40));
    // The zoom step comes from the settings.
    v.shell.ctx.settings.DefaultZoom = 50;
    v.shell.ctx.settings.ZoomIncrement = 7;
    CImgFrame* other = v.Open<CImgFrame>("STEP.IMG", BlockImageFile(64, 32, 16, 8));
    f.OnIdle();
    f.Action(Cmd::ZoomIn)->trigger();
    QCOMPARE(other->View()->Model().Zoom(), 57);
    // A file that is no image opens no window.
    const int windows = f.MdiArea()->subWindowList().size();
    QVERIFY(!f.OpenDocument(WriteFile(v.dir.path(), "BAD.IMG", QByteArray(600, 'x'))));
    QCOMPARE(v.shell.ui.Texts(), std::vector<std::string>{"Unsupported Image Format"});
    QCOMPARE(f.MdiArea()->subWindowList().size(), windows);
  }

  void SourceLinesAreDrawnInTheirColoursAndScrollByTheBars() {
    Viewers v;
    const DisplayFont& font = TheDisplayFont();
    CSourceFrame* frame = v.Open<CSourceFrame>("COLOUR.PCH", "LOOP: MOV A ; count down\n\tX\nplain\n");
    QVERIFY(frame);
    ResizeView(*v.shell.frame, 16 + 82 * font.char_width + 60, 10 * font.char_height + 80);
    const QImage p = Painted(frame->View());
    // "LOOP:" magenta, "MOV A" black, "; count down" green; the tab takes
    // the X to column 8; the margin stays blank.
    const ColourTally label = TallyColours(p, SourceCellRect(0, 0, 5));
    QVERIFY(label.magenta > 0 && label.black + label.green == 0);
    const ColourTally remark = TallyColours(p, SourceCellRect(12, 0, 12));
    QVERIFY(remark.green > 0 && remark.black + remark.magenta == 0);
    QVERIFY(TallyColours(p, SourceCellRect(8, 1)).black > 0);
    QCOMPARE(TallyColours(p, QRect(0, 0, 16, p.height())).Any(), 0);
    // The bars and the keys move the first line and column; the text moves with them.
    const DisplayFont& f = font;
    std::string lines;
    for (int i = 0; i < 200; ++i) lines += "LINE" + std::to_string(i) + ": NOP ; line " + std::to_string(i) + "\n";
    CSourceView* view = v.Open<CSourceFrame>("LONG.fsl", lines)->View();
    ResizeView(*v.shell.frame, 300, 20 * f.char_height);
    const CTextViewScroll& s = view->Scroll();
    view->verticalScrollBar()->setSliderPosition(10 * f.char_height + 1);
    QCOMPARE(s.FirstLine(), 11);
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    Painted(view);
    QCOMPARE(view->LastPaintedLastLine(), 199LL);
    view->horizontalScrollBar()->setSliderPosition(4 * f.char_width - 1);
    QCOMPARE(s.FirstColumn(), 3);
    QVERIFY(TallyColours(Painted(view), QRect(0, 0, 16, 100)).Any() > 0);  // the text moved into the margin
  }

  void ViewersOpenFromTheDialogAndThePcWindowAndFontsDrawCellByCell() {
    Viewers v;
    const QString path = WriteFile(v.dir.path(), "DIALOG.JSL", "JOB: RUN\n");
    v.shell.modals.Expect<QFileDialog>([&](QFileDialog* d) {
      // The user picks the type's filter, then types the file's name.
      d->selectNameFilter(QStringLiteral("Job Source (*.JSL *.jsl)"));
      d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
      static_cast<QDialog*>(d)->accept();
    });
    v.shell.ctx.app.LastOpenDirectory = v.dir.path().toStdString();
    v.shell.frame->RunCommand(Cmd::Open);
    QTRY_VERIFY(ActiveChild<CSourceFrame>(*v.shell.frame));
    QCOMPARE(ActiveChild<CSourceFrame>(*v.shell.frame)->Document().SourceType(), kSourceJobSource);
    // A double click in the PC window.
    WriteFile(v.dir.path(), "GLYPHS.FNT", QByteArray::fromStdString(FontWithA('L')));
    CPcExplorerWindow* pc = v.shell.frame->Windows().PcExplorer();
    pc->Relist();
    v.shell.frame->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(pc->parentWidget()));
    QAbstractItemView* list = pc->ListView()->CurrentView();
    const QModelIndex index = list->model()->index(pc->Model()->FindRow("GLYPHS.FNT"), 0);
    list->scrollTo(index);
    const QPoint at = list->visualRect(index).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &twice);
    CFontFrame* frame = ActiveChild<CFontFrame>(*v.shell.frame);
    QVERIFY(frame);
    // The font is drawn cell by cell: rows of 16 codes from 0 to 127 in
    // cells 40 high, 16 x 20 dots plus 30 wide.
    QCOMPARE(frame->View()->ScrollSize(), QSize(350, 360));
    const QImage picture = Painted(frame->View());
    // "A" is code 65: row 2, the second cell; "B" is blank.
    QVERIFY(TallyColours(picture, QRect(30, 80, 20, 60)).black > 0);
    QCOMPARE(TallyColours(picture, QRect(50, 80, 20, 60)).Any(), 0);
    // Only the rows in the clip box are drawn.
    CFontView* view = frame->View();
    view->viewport()->repaint(QRect(0, 45, 60, 10));  // inside row 1, up to 55
    QCOMPARE(view->LastPaintedFirstRow(), 1);
    QCOMPARE(view->LastPaintedLastRow(), 2);
    QVERIFY(v.shell.ui.asks.empty());
  }
};

QTEST_MAIN(ViewerTest)
#include "viewer_test.moc"

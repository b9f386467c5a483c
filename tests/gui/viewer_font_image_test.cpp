// The font and image windows: opening generated fonts in each orientation and
// images of each header kind and colour, the properties pane, the glyph
// view's rows, and Zoom In, Zoom Out and Rotate through the View menu.
#include <QAction>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

#include "gui/windows/pc_explorer_window.h"
#include "gui/viewers/font_frame.h"
#include "gui/viewers/image_frame.h"
#include "support/gui_fixture.h"
#include "support/viewer_files.h"
#include "support/viewer_font_builder.h"

using namespace kelvo;
using namespace kelvo::gui;
using namespace kelvo::gui::test;
using kelvo::test::FontSpec;

namespace {

// A font with a solid glyph for "A" (code 65) and nothing for "B".
FontSpec FontWithA(char orientation) {
  FontSpec spec = kelvo::test::DefaultFontSpec(20);
  spec.orientation = orientation;
  spec.inverse_landscape_height = 16;
  spec.glyphs.push_back(kelvo::test::SolidGlyph(65, 8, 2));
  return spec;
}

QImage ViewportPicture(QAbstractScrollArea* view) {
  view->viewport()->repaint();
  return view->viewport()->grab().toImage();
}

}  // namespace

class ViewerFontImageTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void FontsOpenInEachOrientation() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    for (char o : {'P', 'L', 'I', 'J'}) {
      const QString name = QStringLiteral("FONT%1.FNT").arg(QLatin1Char(o));
      const QString path = WriteViewerFile(dir.path(), name, kelvo::test::BuildFont(FontWithA(o)));
      QVERIFY(shell.frame->OpenDocument(path));
      auto* frame = ActiveChild<CFontFrame>(*shell.frame);
      const QByteArray which(1, o);
      QVERIFY2(frame, which.constData());
      QCOMPARE(frame->windowTitle(), name);
      QCOMPARE(frame->Splitter()->count(), 2);
      QVERIFY(frame->Splitter()->widget(0) == frame->Properties());
      QVERIFY(frame->Splitter()->widget(1) == frame->View());
      // Rows of 16 codes from code 0 to 127: 8 rows + 1, cells 40 high;
      // the widest row 16 x 20 dots plus 30.
      QCOMPARE(frame->View()->ScrollSize(), QSize(350, 360));
      QCOMPARE(frame->Properties()->ScrollSize(), QSize(100, 280));
      QTest::qWait(20);
      const QImage picture = ViewportPicture(frame->View());
      // "A" is code 65: row 2, the second cell (x 30 to 50); "B" beside it
      // has no glyph.
      const ColourTally a = TallyColours(picture, QRect(30, 80, 20, 60));
      const ColourTally b = TallyColours(picture, QRect(50, 80, 20, 60));
      QVERIFY2(a.black > 0, which.constData());
      QCOMPARE(b.Any(), 0);
      // The space before it (code 32, row 0) is blank too.
      QCOMPARE(TallyColours(picture, QRect(0, 0, 350, 40)).Any(), 0);
      QVERIFY(SaveScreenshot(shell.frame->MdiArea()->activeSubWindow(),
                             QStringLiteral("viewer_font_%1.png").arg(QLatin1Char(o))));
    }
    QVERIFY(shell.ui.asks.empty());
  }

  void GlyphInkFollowsTheOrientation() {
    // A glyph 16 dots wide and 8 rows high stands upright as 8 x 16 for
    // portrait fonts and lies as 16 x 8 for landscape ones.
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    QSize box[2];
    int i = 0;
    for (char o : {'P', 'L'}) {
      const QString path =
          WriteViewerFile(dir.path(), QStringLiteral("O%1.fnt").arg(QLatin1Char(o)),
                          kelvo::test::BuildFont(FontWithA(o)));
      QVERIFY(shell.frame->OpenDocument(path));
      const QImage picture = ActiveChild<CFontFrame>(*shell.frame)->View()->Picture();
      QRect ink;
      for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
          if (qGray(picture.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
      box[i++] = ink.size();
    }
    QCOMPARE(box[0], QSize(8, 16));
    QCOMPARE(box[1], QSize(16, 8));
  }

  void GlyphViewDrawsOnlyTheRowsOfTheClipBox() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    const QString path = WriteViewerFile(dir.path(), QStringLiteral("ROWS.FNT"),
                                         kelvo::test::BuildFont(FontWithA('L')));
    QVERIFY(shell.frame->OpenDocument(path));
    CFontView* view = ActiveChild<CFontFrame>(*shell.frame)->View();
    QTRY_VERIFY(view->PaintCount() > 0);  // the first full paint is done
    QTest::qWait(20);
    view->viewport()->repaint(QRect(0, 45, 60, 10));  // inside row 1, up to 55
    QCOMPARE(view->LastPaintedFirstRow(), 1);
    QCOMPARE(view->LastPaintedLastRow(), 2);
    view->viewport()->repaint(QRect(0, 0, 60, 10));
    QCOMPARE(view->LastPaintedFirstRow(), 0);
    QCOMPARE(view->LastPaintedLastRow(), 1);
  }

  void PropertiesPaneListsTheHeader() {
    FontSpec spec = kelvo::test::DefaultFontSpec(20);
    spec.orientation = 'J';
    spec.pitch = 'F';
    spec.font_type = 4;
    spec.line_spacing = 300;
    spec.average_spacing = 21;
    spec.baseline_to_top = 240;
    spec.baseline_to_bottom = 60;
    QTemporaryDir dir;
    const QString path =
        WriteViewerFile(dir.path(), QStringLiteral("P.FNT"), kelvo::test::BuildFont(spec));
    CFontDoc doc;
    QVERIFY(doc.Load(path.toStdString()));
    QStringList texts;
    QStringList headings;
    for (const FontPropertyLine& l : FontPropertyLines(doc)) {
      texts << l.text;
      if (l.heading) headings << l.text;
    }
    QCOMPARE(texts,
             (QStringList{"Orientation", "Inverse Landscape", "Pitch", "Fixed", "Font Type",
                          "Alphanumeric", "Size", "72 point", "Line Spacing", "300 dots", "Average",
                          "Character Spacing", "21 dots", "Baseline to", "Top of Cell", "240 dots",
                          "Baseline to", "Bottom of Cell", "60 dots"}));
    QCOMPARE(headings.size(), 11);
    // The pane paints the lines centred: ink on both sides of the middle
    // and the wider bold heading row reaches further out than its value.
    Shell shell;
    shell.Start(dir.path());
    QVERIFY(shell.frame->OpenDocument(path));
    CFontProperties* pane = ActiveChild<CFontFrame>(*shell.frame)->Properties();
    pane->resize(200, 300);
    const QImage picture = ViewportPicture(pane);
    const int mid = pane->viewport()->width() / 2;
    const QFontMetrics fm(pane->font());
    const QRect first_line(0, 0, picture.width(), fm.height());
    QVERIFY(TallyColours(picture, first_line.adjusted(0, 0, mid - picture.width(), 0)).Any() > 0);
    QVERIFY(TallyColours(picture, first_line.adjusted(mid, 0, 0, 0)).Any() > 0);
    QVERIFY(SaveScreenshot(pane, QStringLiteral("viewer_font_properties.png")));
  }

  void ImagesOpenForEachHeaderKind() {
    struct Case {
      const char* version;
      const char* orientation;
      std::size_t base;
      int kind;
      bool portrait;
    } cases[] = {
        {"/2.1/RasterEncoding/1.0", "", 0, 2, true},
        {"/2.1/RasterEncoding/1.0", "Landscape", 128, 2, false},
        {"/2.0/ImgFormat/2.0", "", 512, 0, true},
        {"/1.0/ImgFormat/1.0", "Landscape", 0, 0, true},
    };
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    int n = 0;
    for (const Case& c : cases) {
      kelvo::test::ImageFileSpec header;
      header.version = c.version;
      header.orientation = c.orientation;
      header.base = c.base;
      const QString path = WriteViewerFile(dir.path(), QStringLiteral("K%1.IMG").arg(n++),
                                           BlockImageFile(64, 32, 16, 8, header));
      QVERIFY(shell.frame->OpenDocument(path));
      CImgFrame* frame = ActiveChild<CImgFrame>(*shell.frame);
      QVERIFY(frame);
      QCOMPARE(frame->Document().Kind(), c.kind);
      QCOMPARE(frame->Document().Portrait(), c.portrait);
      // Once shown, the view owns the picture: the document's raster is gone.
      QVERIFY(frame->Document().Bitmap() == nullptr);
      const CImgViewModel& m = frame->View()->Model();
      QCOMPARE(m.Zoom(), 50);
      QCOMPARE(m.QuarterTurns(), 1);
      // 32 x 16 at 50 %, turned once: 16 wide, 32 high, plus 40 each way.
      QCOMPARE(frame->View()->ScrollSize(), QSize(56, 72));
    }
    QVERIFY(shell.ui.asks.empty());
  }

  void ImageIsDrawnTurnedInItsInkColourInsideItsFrame() {
    struct Case {
      const char* colour;
      QRgb ink;
    } cases[] = {{"RED", qRgb(255, 0, 0)},
                 {"BLUE", qRgb(0, 0, 255)},
                 {"GREEN", qRgb(0, 255, 0)},
                 {"", qRgb(0, 0, 0)},
                 {"PURPLE", qRgb(0, 0, 0)}};
    QTemporaryDir dir;
    Shell shell;
    shell.ctx.settings.DefaultZoom = 100;
    shell.Start(dir.path());
    for (const Case& c : cases) {
      kelvo::test::ImageFileSpec header;
      header.colour = c.colour;
      const QString path = WriteViewerFile(dir.path(), QStringLiteral("C%1.img").arg(c.colour),
                                           BlockImageFile(64, 32, 16, 8, header));
      QVERIFY(shell.frame->OpenDocument(path));
      CImgView* view = ActiveChild<CImgFrame>(*shell.frame)->View();
      shell.frame->MdiArea()->activeSubWindow()->resize(300, 300);
      const QImage picture = ViewportPicture(view);
      // The ink block of the stored raster's top left corner (16 dots of 8
      // lines) shows one quarter turn counter-clockwise: at the bottom left
      // of the 32 x 64 display bitmap, drawn at (20, 20).
      QCOMPARE(picture.pixel(20 + 3, 20 + 60), c.ink);
      QCOMPARE(picture.pixel(20 + 3, 20 + 40), qRgb(255, 255, 255));
      QCOMPARE(picture.pixel(20 + 20, 20 + 60), qRgb(255, 255, 255));
      // The frame runs through (19, 19) and (w + 21, h + 21).
      QCOMPARE(picture.pixel(19, 19), qRgb(0, 0, 0));
      QCOMPARE(picture.pixel(32 + 21, 64 + 21), qRgb(0, 0, 0));
      QCOMPARE(picture.pixel(32 + 21, 40), qRgb(0, 0, 0));
      QCOMPARE(picture.pixel(32 + 20, 40), qRgb(255, 255, 255));
      if (c.colour == std::string("RED"))
        QVERIFY(SaveScreenshot(shell.frame->MdiArea()->activeSubWindow(),
                               QStringLiteral("viewer_image_red.png")));
    }
  }

  void ZoomRunsFromTenToAHundredAndTheCommandsGreyAtTheLimits() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    CMainFrame& f = *shell.frame;
    f.OnIdle();
    // A PC window is active: no image commands.
    for (Cmd cmd : {Cmd::ZoomIn, Cmd::ZoomOut, Cmd::Rotate}) QVERIFY(!f.Action(cmd)->isEnabled());
    CImgFrame* frame = OpenViewer<CImgFrame>(f, dir.path(), QStringLiteral("ZOOM.IMG"),
                                             BlockImageFile(1000, 40, 16, 8));
    QVERIFY(frame);
    CImgView* view = frame->View();
    f.OnIdle();
    QVERIFY(f.Action(Cmd::ZoomIn)->isEnabled());
    QVERIFY(f.Action(Cmd::ZoomOut)->isEnabled());
    QVERIFY(f.Action(Cmd::Rotate)->isEnabled());
    // 1000 dots at 50 %: 500 rounded up to 512, which the turn makes the height.
    QCOMPARE(view->Model().Display().Height(), 512);
    QList<int> zooms;
    while (f.Action(Cmd::ZoomIn)->isEnabled()) {
      f.Action(Cmd::ZoomIn)->trigger();
      zooms << view->Model().Zoom();
      QVERIFY(zooms.size() < 50);
    }
    QCOMPARE(zooms, (QList<int>{55, 60, 65, 70, 75, 80, 85, 90, 95, 100}));
    QVERIFY(f.Action(Cmd::ZoomOut)->isEnabled());
    f.RunCommand(Cmd::ZoomIn);  // greyed: nothing happens
    QCOMPARE(view->Model().Zoom(), 100);
    zooms.clear();
    while (f.Action(Cmd::ZoomOut)->isEnabled()) {
      f.Action(Cmd::ZoomOut)->trigger();
      zooms << view->Model().Zoom();
      QVERIFY(zooms.size() < 50);
    }
    QCOMPARE(zooms.size(), 18);
    QCOMPARE(zooms.back(), 10);
    QVERIFY(f.Action(Cmd::ZoomIn)->isEnabled());
    // At 10 %: 100 x 4 dots, rounded to 112 x 16 and turned once.
    QCOMPARE(view->ScrollSize(), QSize(16 + 40, 112 + 40));
  }

  void RotateCountsQuarterTurnsAndZoomingKeepsThem() {
    QTemporaryDir dir;
    Shell shell;
    shell.ctx.settings.DefaultZoom = 100;
    shell.Start(dir.path());
    CMainFrame& f = *shell.frame;
    CImgFrame* frame = OpenViewer<CImgFrame>(f, dir.path(), QStringLiteral("TURN.IMG"),
                                             BlockImageFile(64, 32, 16, 8));
    QVERIFY(frame);
    CImgView* view = frame->View();
    const QImage first = view->DisplayImage();
    f.OnIdle();
    f.Action(Cmd::Rotate)->trigger();
    QCOMPARE(view->Model().QuarterTurns(), 2);
    // Two turns: the stored raster upside down, 64 x 32 with the ink at the
    // bottom right.
    QCOMPARE(view->ScrollSize(), QSize(64 + 40, 32 + 40));
    QCOMPARE(view->DisplayImage().pixel(60, 30), qRgb(0, 0, 0));
    QCOMPARE(view->DisplayImage().pixel(3, 3), qRgb(255, 255, 255));
    f.Action(Cmd::Rotate)->trigger();
    f.OnIdle();
    f.Action(Cmd::ZoomOut)->trigger();
    QCOMPARE(view->Model().QuarterTurns(), 3);
    QCOMPARE(view->Model().Zoom(), 95);
    // Three turns: 32 wide, 64 x 95 % = 60 rounded to 64 high; ink top right.
    QCOMPARE(view->ScrollSize(), QSize(32 + 40, 64 + 40));
    QCOMPARE(view->DisplayImage().pixel(28, 3), qRgb(0, 0, 0));
    f.Action(Cmd::ZoomIn)->trigger();
    f.Action(Cmd::Rotate)->trigger();
    f.Action(Cmd::Rotate)->trigger();
    QCOMPARE(view->Model().QuarterTurns(), 5);
    QCOMPARE(view->DisplayImage(), first);
    QVERIFY(SaveScreenshot(shell.frame->MdiArea()->activeSubWindow(),
                           QStringLiteral("viewer_image_turned.png")));
  }

  void ZoomSettingsThatMissTheLimitsNeverGreyTheCommands() {
    QTemporaryDir dir;
    Shell shell;
    shell.ctx.settings.ZoomIncrement = 7;
    shell.Start(dir.path());
    CMainFrame& f = *shell.frame;
    QVERIFY(f.OpenDocument(
        WriteViewerFile(dir.path(), QStringLiteral("S.IMG"), BlockImageFile(64, 32, 16, 8))));
    CImgView* view = ActiveChild<CImgFrame>(f)->View();
    for (int i = 0; i < 8; ++i) {
      f.OnIdle();
      QVERIFY(f.Action(Cmd::ZoomIn)->isEnabled());
      f.Action(Cmd::ZoomIn)->trigger();
    }
    QCOMPARE(view->Model().Zoom(), 50 + 8 * 7);
    // Down by 7 from 106 misses 10: the zoom stops at 1, the least it keeps.
    for (int i = 0; i < 40 && f.Action(Cmd::ZoomOut)->isEnabled(); ++i) {
      f.Action(Cmd::ZoomOut)->trigger();
      f.OnIdle();
    }
    QCOMPARE(view->Model().Zoom(), 1);
    QVERIFY(!f.Action(Cmd::ZoomOut)->isEnabled());
  }

  void RefusedImagesOpenNoWindow() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    const int windows = shell.frame->MdiArea()->subWindowList().size();
    const QString path =
        WriteViewerFile(dir.path(), QStringLiteral("BAD.IMG"), std::string(600, 'x'));
    QVERIFY(!shell.frame->OpenDocument(path));
    QVERIFY(shell.ui.Texts() == std::vector<std::string>{"Unsupported Image Format"});
    QCOMPARE(shell.frame->MdiArea()->subWindowList().size(), windows);
    shell.frame->OnIdle();
    QVERIFY(!shell.frame->Action(Cmd::Rotate)->isEnabled());
  }
};

QTEST_MAIN(ViewerFontImageTest)
#include "viewer_font_image_test.moc"

// Readable on a dark theme: the viewers' text and ink contrast with the
// palette's background; and texts that fit: caption strips show counts and
// sizes whole, child windows show every column, the font properties their labels.
#include <QApplication>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPalette>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "gui/viewers/font_frame.h"
#include "gui/viewers/image_frame.h"
#include "gui/viewers/viewer_ink.h"
#include "gui/viewers/text_frame.h"
#include "gui/windows/disk_image_window.h"
#include "gui/windows/status_window.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/windows/tape_window.h"
#include "support/gui_fixture.h"
#include "support/viewer_files.h"
#include "support/viewer_font_builder.h"

using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// The best contrast any pixel of `view` has against the background.
double BestContrast(QAbstractScrollArea* view, const QColor& background) {
  view->viewport()->repaint();
  const QImage picture = view->viewport()->grab().toImage();
  double best = 1;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      best = std::max(best, ContrastRatio(picture.pixelColor(x, y), background));
  return best;
}

}  // namespace

class DesktopThemeTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void ViewersAreReadableOnADarkPalette() {
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Base, QColor(0x20, 0x22, 0x26));
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2d, 0x31));
    dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
    QApplication::setPalette(dark);
    QTemporaryDir dir;
    {
      Shell shell;
      shell.Start(dir.path());
      CMainFrame& f = *shell.frame;
      const QColor base = dark.color(QPalette::Base);
      kelvo::test::FontSpec font = kelvo::test::DefaultFontSpec(20);
      font.glyphs.push_back(kelvo::test::SolidGlyph(65, 8, 2));
      struct Case {
        const char* what;
        QAbstractScrollArea* view;
      };
      auto* source = OpenViewer<CSourceFrame>(f, dir.path(), "DARK.JSL", "plain text\n");
      auto* comment = OpenViewer<CSourceFrame>(f, dir.path(), "NOTE.PCH", "; a comment\n");
      auto* glyphs = OpenViewer<CFontFrame>(f, dir.path(), "DARK.FNT", kelvo::test::BuildFont(font));
      auto* image = OpenViewer<CImgFrame>(f, dir.path(), "DARK.IMG", BlockImageFile(64, 16, 32, 8));
      QVERIFY(source && comment && glyphs && image);
      const Case cases[] = {{"source text", source->View()},
                            {"source comment", comment->View()},
                            {"font glyphs", glyphs->View()},
                            {"image ink", image->View()}};
      for (const Case& c : cases) {
        const double contrast = BestContrast(c.view, base);
        QVERIFY2(contrast >= 4.5, qPrintable(QStringLiteral("%1: %2").arg(c.what).arg(contrast)));
      }
    }
    QApplication::setPalette(light);
  }

  void TextsFitTheirPlaces() {
    QTemporaryDir dir;
    MakeFiles(dir.path(), {"A.JSL"}, 9728);
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    pc->parentWidget()->resize(640, 320);
    QApplication::processEvents();
    // The count and the sizes are shown whole; the heading takes what is left.
    const auto strips = pc->ListView()->findChildren<CStatusWnd*>();
    QCOMPARE(strips.size(), 3);
    for (CStatusWnd* strip : strips.mid(1))
      QVERIFY2(strip->width() >= strip->fontMetrics().horizontalAdvance(strip->Text()), qPrintable(strip->Text()));

    // An image window opens wide enough for its whole caption strip.
    QVERIFY(MakeImage(dir.filePath("archive-1998.kdi"), {{"A", "", "JSL", 1}}));
    QVERIFY(shell.frame->OpenDocument(dir.filePath("archive-1998.kdi")));
    QApplication::processEvents();
    auto* image = ActiveChild<CDiskImageWindow>(*shell.frame);
    QVERIFY(image);
    const auto image_strips = image->ListView()->findChildren<CStatusWnd*>();
    QCOMPARE(image_strips.size(), 3);
    for (CStatusWnd* strip : image_strips)
      QVERIFY2(strip->width() >= strip->fontMetrics().horizontalAdvance(strip->Text()), qPrintable(strip->Text()));

    // A tape window opens wide enough for all its columns, "Seq No." whole.
    auto* tape = new CTapeWindow(shell.ctx, "Tape0");
    QMdiSubWindow* sub = shell.frame->Windows().AddChild(tape);
    QApplication::processEvents();
    QHeaderView* header = tape->ListView()->DetailsView()->header();
    const int last = header->count() - 1;
    QVERIFY(header->sectionSize(last) > header->fontMetrics().horizontalAdvance("Seq No."));
    QVERIFY2(header->sectionViewportPosition(last) + header->sectionSize(last) <= header->width(),
             qPrintable(QStringLiteral("window %1 wide").arg(sub->width())));

    // The font properties are as wide as their longest label.
    kelvo::test::FontSpec font = kelvo::test::DefaultFontSpec(20);
    font.glyphs.push_back(kelvo::test::SolidGlyph(65, 8, 2));
    auto* viewer = OpenViewer<CFontFrame>(*shell.frame, dir.path(), "FIT.FNT", kelvo::test::BuildFont(font));
    QVERIFY(viewer);
    QFont bold = viewer->font();
    bold.setBold(true);
    QVERIFY(viewer->findChild<CFontProperties*>()->viewport()->width() >=
            QFontMetrics(bold).horizontalAdvance("Character Spacing"));
  }
};

QTEST_MAIN(DesktopThemeTest)
#include "desktop_theme_test.moc"

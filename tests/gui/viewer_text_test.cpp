// The source and task windows: colouring, tabs and the scrolling rules of
// the text views, the task view's scaled range on a large dump, and opening
// viewer files from the Open dialog, a double click and the command line.
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "gui/shell/command_line.h"
#include "gui/windows/file_list_model.h"
#include "gui/windows/file_list_view.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/viewers/viewer_display_font.h"
#include "gui/viewers/font_frame.h"
#include "gui/viewers/text_frame.h"
#include "support/gui_fixture.h"
#include "support/viewer_files.h"
#include "support/viewer_font_builder.h"

using namespace kelvo;
using namespace kelvo::gui;
using namespace kelvo::gui::test;

namespace {

// The area of column `col` of window row `row` in a source view at its
// first column.
QRect SourceCell(int col, int row, int cols = 1) {
  const DisplayFont& f = TheDisplayFont();
  return QRect(16 + col * f.char_width, row * f.char_height, cols * f.char_width, f.char_height);
}

QImage Painted(QAbstractScrollArea* view) {
  view->viewport()->repaint();
  return view->viewport()->grab().toImage();
}

std::string Record(const std::string& text, int number) {
  std::string r = text;
  r.resize(74, ' ');
  char digits[8];
  std::snprintf(digits, sizeof digits, "%06d", number);
  return r + digits;
}

std::string ManyLines(int n) {
  std::string s;
  for (int i = 0; i < n; ++i)
    s += "LINE" + std::to_string(i) + ": NOP ; line " + std::to_string(i) + "\n";
  return s;
}

std::string TaskBytes(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 512) & 0xFF);
  return s;
}

void MakeViewLarge(CMainFrame& frame, int columns, int rows) {
  const DisplayFont& f = TheDisplayFont();
  frame.resize(16 + columns * f.char_width + 200, rows * f.char_height + 300);
  frame.MdiArea()->activeSubWindow()->resize(16 + columns * f.char_width + 60,
                                             rows * f.char_height + 80);
}

}  // namespace

class ViewerTextTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void PatchLinesAreColouredByTheirSyntax() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    CSourceFrame* frame =
        OpenViewer<CSourceFrame>(*shell.frame, dir.path(), QStringLiteral("COLOUR.PCH"),
                                 "LOOP: MOV A ; count down\n\tX\nplain\n");
    QVERIFY(frame);
    QCOMPARE(frame->windowTitle(), QStringLiteral("COLOUR.PCH"));
    MakeViewLarge(*shell.frame, 80, 10);
    const QImage p = Painted(frame->View());
    // "LOOP:" magenta, "MOV A" black, "; count down" dark green.
    const ColourTally label = TallyColours(p, SourceCell(0, 0, 5));
    QVERIFY(label.magenta > 0);
    QCOMPARE(label.black + label.green + label.blue, 0);
    const ColourTally operand = TallyColours(p, SourceCell(6, 0, 5));
    QVERIFY(operand.black > 0);
    QCOMPARE(operand.magenta + operand.green, 0);
    const ColourTally comment = TallyColours(p, SourceCell(12, 0, 12));
    QVERIFY(comment.green > 0);
    QCOMPARE(comment.black + comment.magenta, 0);
    // The tab takes the X to column 8; the 16-pixel margin stays blank.
    QCOMPARE(TallyColours(p, SourceCell(0, 1, 8)).Any(), 0);
    QVERIFY(TallyColours(p, SourceCell(8, 1)).black > 0);
    QCOMPARE(TallyColours(p, QRect(0, 0, 16, p.height())).Any(), 0);
    // Rows past the last line stay empty.
    QCOMPARE(TallyColours(p, SourceCell(0, 3, 80)).Any(), 0);
    QVERIFY(SaveScreenshot(shell.frame->MdiArea()->activeSubWindow(),
                           QStringLiteral("viewer_source_patch.png")));
  }

  void CommandFileDotAndStarLinesAreWholeLineColours() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    CSourceFrame* frame =
        OpenViewer<CSourceFrame>(*shell.frame, dir.path(), QStringLiteral("RUN.cmd"),
                                 ".SET X /* a */ Y\n* NOTE: all green\nRUN /* note */ JOB\n");
    QVERIFY(frame);
    QCOMPARE(frame->Document().SourceType(), kSourceCommandFile);
    MakeViewLarge(*shell.frame, 80, 10);
    const QImage p = Painted(frame->View());
    const ColourTally dot = TallyColours(p, SourceCell(0, 0, 4));
    QVERIFY(dot.magenta > 0);
    QCOMPARE(dot.black + dot.green, 0);
    const ColourTally star = TallyColours(p, SourceCell(0, 1, 17));
    QVERIFY(star.green > 0);
    QCOMPARE(star.black + star.magenta, 0);
    QVERIFY(TallyColours(p, SourceCell(0, 2, 3)).black > 0);
    QVERIFY(TallyColours(p, SourceCell(4, 2, 10)).green > 0);
    QCOMPARE(TallyColours(p, SourceCell(4, 2, 10)).black, 0);
  }

  void RecordFilesShowSixLinesPerBlockWithTheSequenceAreaInBlue() {
    std::string file;
    for (int i = 0; i < 6; ++i) file += Record("JOB STEP " + std::to_string(i), (i + 1) * 100);
    file += std::string(32, '\0');
    file += Record("NEXT", 700) + Record("LAST", 800);
    file += std::string("ZERO") + '\0' + std::string(75, 'Z');  // ends its block
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    CSourceFrame* frame =
        OpenViewer<CSourceFrame>(*shell.frame, dir.path(), QStringLiteral("RECORDS.JSL"), file);
    QVERIFY(frame);
    QVERIFY(frame->Document().IsRecords());
    QCOMPARE(frame->Document().SourceType(), kSourceJobSource);
    QCOMPARE(frame->Document().LineCount(), std::size_t{8});
    MakeViewLarge(*shell.frame, 82, 10);
    const QImage p = Painted(frame->View());
    for (int row = 0; row < 8; ++row) {
      const ColourTally seq = TallyColours(p, SourceCell(74, row, 6));
      QVERIFY2(seq.blue > 0, qPrintable(QString::number(row)));
      QCOMPARE(seq.black, 0);
      QVERIFY(TallyColours(p, SourceCell(0, row, 4)).black > 0);
    }
    QCOMPARE(TallyColours(p, SourceCell(0, 8, 80)).Any(), 0);
    QVERIFY(SaveScreenshot(shell.frame->MdiArea()->activeSubWindow(),
                           QStringLiteral("viewer_source_records.png")));
  }

  void SourceViewScrollsByLinesAndColumns() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    QVERIFY(shell.frame->OpenDocument(
        WriteViewerFile(dir.path(), QStringLiteral("LONG.fsl"), ManyLines(200))));
    CSourceView* view = ActiveChild<CSourceFrame>(*shell.frame)->View();
    const DisplayFont& f = TheDisplayFont();
    shell.frame->MdiArea()->activeSubWindow()->resize(300, 20 * f.char_height);
    QTest::qWait(20);
    const CTextViewScroll& s = view->Scroll();
    const int lpp = s.LinesPerPage();
    QVERIFY(lpp > 3);
    QCOMPARE(s.MaxFirstLine(), 200 - lpp + 1);
    QCOMPARE(view->verticalScrollBar()->maximum(), 201 * f.char_height);
    // The thumb leads to its position divided by the character height, rounded up.
    view->verticalScrollBar()->setSliderPosition(10 * f.char_height + 1);
    QCOMPARE(s.FirstLine(), 11);
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(s.FirstLine(), 12);
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(s.FirstLine(), std::max(12 - lpp, 0));
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(s.FirstLine(), s.MaxFirstLine());
    Painted(view);
    QCOMPARE(view->LastPaintedLastLine(), 199LL);
    QCOMPARE(view->LastPaintedFirstLine(), static_cast<long long>(s.MaxFirstLine()));
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(s.FirstLine(), s.MaxFirstLine());
    // A window narrower than 80 columns scrolls sideways by columns.
    QCOMPARE(view->horizontalScrollBar()->maximum(), 80 * f.char_width);
    view->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(s.FirstColumn(), s.ColumnsPerPage());
    view->horizontalScrollBar()->setSliderPosition(3 * f.char_width + f.char_width - 1);
    QCOMPARE(s.FirstColumn(), 3);
    // The text moves with it: column 3 is drawn 3 columns left of the margin's edge.
    const QImage p = Painted(view);
    QVERIFY(TallyColours(p, QRect(0, 0, 16, p.height())).Any() > 0);
    view->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(s.FirstColumn(), 0);
    QCOMPARE(TallyColours(Painted(view), QRect(0, 0, 16, p.height())).Any(), 0);
    // Wide enough for 80 columns: no sideways range, back at column 0.
    MakeViewLarge(*shell.frame, 90, 20);
    QTest::qWait(20);
    QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
    QCOMPARE(s.FirstColumn(), 0);
  }

  void TaskDumpShowsItsLinesInTheDisplayFont() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    std::string bytes = TaskBytes(17);
    bytes[0] = 1;
    bytes[1] = 0;
    CTaskFrame* frame =
        OpenViewer<CTaskFrame>(*shell.frame, dir.path(), QStringLiteral("SMALL.TSK"), bytes);
    QVERIFY(frame);
    QCOMPARE(frame->Document().LineCount(), std::size_t{2});
    MakeViewLarge(*shell.frame, 110, 6);
    const DisplayFont& f = TheDisplayFont();
    const QImage p = Painted(frame->View());
    // The dump starts at x 0: "00000000: " then the words.
    QVERIFY(TallyColours(p, QRect(0, 0, f.char_width, f.char_height)).black > 0);
    QVERIFY(TallyColours(p, QRect(0, f.char_height, f.char_width, f.char_height)).black > 0);
    QCOMPARE(TallyColours(p, QRect(0, 2 * f.char_height, p.width(), f.char_height)).Any(), 0);
    QCOMPARE(frame->View()->horizontalScrollBar()->maximum(), 0);
    QVERIFY(SaveScreenshot(shell.frame->MdiArea()->activeSubWindow(),
                           QStringLiteral("viewer_task_small.png")));
  }

  void LargeDumpReachesItsLastLinesThroughTheScaledRange() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    CTaskFrame* frame = OpenViewer<CTaskFrame>(*shell.frame, dir.path(),
                                               QStringLiteral("LARGE.TSK"), TaskBytes(200000));
    QVERIFY(frame);
    CTaskView* view = frame->View();
    const DisplayFont& f = TheDisplayFont();
    shell.frame->MdiArea()->activeSubWindow()->resize(400, 30 * f.char_height);
    QTest::qWait(20);
    const CTextViewScroll& s = view->Scroll();
    const long long lines = static_cast<long long>(frame->Document().LineCount());
    QCOMPARE(lines, 12500LL + 390);
    QCOMPARE(view->verticalScrollBar()->maximum(), 32767);
    // Only the lines in view are drawn.
    Painted(view);
    QCOMPARE(view->LastPaintedFirstLine(), 0LL);
    QVERIFY(view->LastPaintedLastLine() <= s.LinesPerPage() + 1);
    // One line down is one line, whatever the scale.
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(s.FirstLine(), 1);
    // The thumb in the middle leads to the middle of the dump.
    view->verticalScrollBar()->setSliderPosition(16384);
    const long long middle = (16384 * (lines + 1) + 32766) / 32767;
    QVERIFY(std::abs(s.FirstLine() - middle) <= 1);
    // Dragged to the end of the range, the thumb shows the last lines.
    view->verticalScrollBar()->setSliderPosition(32767);
    QCOMPARE(s.FirstLine(), s.MaxFirstLine());
    const QImage p = Painted(view);
    QCOMPARE(view->LastPaintedLastLine(), lines - 1);
    const int last_row = static_cast<int>(lines - 1 - s.FirstLine());
    QVERIFY(TallyColours(p, QRect(0, last_row * f.char_height, p.width(), f.char_height)).black >
            0);
    QVERIFY(SaveScreenshot(shell.frame->MdiArea()->activeSubWindow(),
                           QStringLiteral("viewer_task_end.png")));
    // Sideways by columns of the 110-column line.
    QCOMPARE(view->horizontalScrollBar()->maximum(), 110 * f.char_width);
    view->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(s.FirstColumn(), 110 - s.ColumnsPerPage());
  }

  void LargeTaskFileShowsItsFirstPage() {
    // 64 MiB: the first page is measured, not asserted on time.
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    const std::size_t size = std::size_t{64} << 20;
    const QString path = WriteViewerFile(dir.path(), QStringLiteral("HUGE.TSK"), TaskBytes(size));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(shell.frame->OpenDocument(path));
    const qint64 opened = timer.elapsed();
    CTaskView* view = ActiveChild<CTaskFrame>(*shell.frame)->View();
    while (view->PaintCount() == 0 && timer.elapsed() < 20000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const qint64 painted = timer.elapsed();
    QVERIFY(view->PaintCount() > 0);
    qInfo(
        "task view: 64 MiB task file: window open after %lld ms, first page painted after %lld ms",
        opened, painted);
    QCOMPARE(view->LastPaintedFirstLine(), 0LL);
    view->verticalScrollBar()->setSliderPosition(32767);
    Painted(view);
    QCOMPARE(
        view->LastPaintedLastLine(),
        static_cast<long long>(ActiveChild<CTaskFrame>(*shell.frame)->Document().LineCount()) - 1);
  }

  void ViewerFilesOpenFromTheOpenDialog() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    const QString path = WriteViewerFile(dir.path(), QStringLiteral("DIALOG.JSL"), "JOB: RUN\n");
    bool seen = false;
    int ticks = 0;
    auto* poll = new QTimer(shell.frame.get());
    connect(poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog || dialog->objectName() != QStringLiteral("OpenDialog")) return;
      if (++ticks > 500) {  // give up rather than wait for ever
        poll->stop();
        static_cast<QDialog*>(dialog)->done(QDialog::Rejected);
        return;
      }
      // The user picks the type's filter, then types the file's name.
      const QString filter = QStringLiteral("Job Source (*.JSL *.jsl)");
      if (!dialog->nameFilters().contains(filter)) return;
      dialog->selectNameFilter(filter);
      dialog->selectFile(path);
      if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(QStringLiteral("DIALOG.JSL"));
      if (dialog->selectedFiles() != QStringList{path}) return;  // not listed yet
      seen = true;
      poll->stop();
      static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    });
    poll->start(20);
    shell.ctx.app.LastOpenDirectory = dir.path().toStdString();
    shell.frame->RunCommand(Cmd::Open);
    QVERIFY(seen);
    // The window becomes the active one once the main window is active again.
    QTRY_VERIFY(ActiveChild<CSourceFrame>(*shell.frame));
    CSourceFrame* frame = ActiveChild<CSourceFrame>(*shell.frame);
    QCOMPARE(frame->Document().SourceType(), kSourceJobSource);
    QCOMPARE(frame->Document().LineCount(), std::size_t{1});
  }

  void ViewerFilesOpenByDoubleClickInThePcWindow() {
    QTemporaryDir dir;
    WriteViewerFile(dir.path(), QStringLiteral("DUMP.TSK"), TaskBytes(100));
    kelvo::test::FontSpec font = kelvo::test::DefaultFontSpec(20);
    font.glyphs.push_back(kelvo::test::SolidGlyph(65, 8, 2));
    WriteViewerFile(dir.path(), QStringLiteral("GLYPHS.FNT"), kelvo::test::BuildFont(font));
    Shell shell;
    CPcExplorerWindow* pc = shell.Start(dir.path());
    QVERIFY(pc);
    for (const char* name : {"DUMP.TSK", "GLYPHS.FNT"}) {
      const int row = pc->Model()->FindRow(QString::fromLatin1(name));
      QVERIFY2(row >= 0, name);
      QAbstractItemView* list = pc->ListView()->CurrentView();
      const QModelIndex index = list->model()->index(row, 0);
      list->scrollTo(index);
      // A click, then the double click the system makes of a second one.
      const QPoint at = list->visualRect(index).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
      QMouseEvent twice(QEvent::MouseButtonDblClick, at, list->viewport()->mapToGlobal(at),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(list->viewport(), &twice);
    }
    QCOMPARE(shell.frame->MdiArea()->subWindowList().size(), 3);
    QVERIFY(ActiveChild<CFontFrame>(*shell.frame));
    QVERIFY(shell.ui.asks.empty());
  }

  void ViewerFilesOpenFromTheCommandLine() {
    QTemporaryDir dir;
    const QString task = WriteViewerFile(dir.path(), QStringLiteral("cmd.tsk"), TaskBytes(40));
    const QString patch = WriteViewerFile(dir.path(), QStringLiteral("cmd.pch"), "A: B\n");
    const CommandLine cmd = ParseCommandLine({QStringLiteral("kdisk"), task, patch});
    QVERIFY(cmd.ok);
    Shell shell;
    shell.Start(dir.path());
    for (const QString& file : cmd.files) QVERIFY(shell.frame->OpenDocument(file));
    QStringList titles;
    for (QMdiSubWindow* sub : shell.frame->MdiArea()->subWindowList())
      titles << sub->widget()->windowTitle();
    QVERIFY(titles.contains(QStringLiteral("cmd.tsk")));
    QVERIFY(titles.contains(QStringLiteral("cmd.pch")));
  }

  void UnreadableViewerFilesSayWhy() {
    QTemporaryDir dir;
    Shell shell;
    shell.Start(dir.path());
    const int windows = shell.frame->MdiArea()->subWindowList().size();
    QVERIFY(!shell.frame->OpenDocument(QDir(dir.path()).filePath(QStringLiteral("GONE.TSK"))));
    QVERIFY(!shell.frame->OpenDocument(QDir(dir.path()).filePath(QStringLiteral("GONE.PCH"))));
    QCOMPARE(shell.ui.asks.size(), std::size_t{2});
    QCOMPARE(shell.frame->MdiArea()->subWindowList().size(), windows);
  }
};

QTEST_MAIN(ViewerTextTest)
#include "viewer_text_test.moc"

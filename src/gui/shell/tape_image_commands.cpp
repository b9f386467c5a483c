#include "gui/shell/tape_image_commands.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>

#include "gui/shell/shell_host.h"
#include "gui/dialogs/select_tape_drive_dialog.h"
#include "gui/windows/tape_window.h"
#include "tape/tape_imaging.h"

namespace kelvo::gui {
namespace {

QString CountsText(const TapeImagingReport& r) {
  return QObject::tr("%1 record(s), %2 filemark(s), %3 bytes")
      .arg(r.records)
      .arg(r.filemarks)
      .arg(r.bytes);
}

// The progress window: counts of what has gone through, and Abort. Events
// are pumped a few times a second so that the window and Abort answer.
class CImagingProgressDlg : public CTapeImagingProgress {
 public:
  CImagingProgressDlg(const QString& title, QWidget* parent)
      : dialog_(title, QObject::tr("Abort"), 0, 0, parent) {
    dialog_.setObjectName(QStringLiteral("TapeImagingProgress"));
    dialog_.setWindowTitle(title);
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(0);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.show();
    clock_.start();
    QCoreApplication::processEvents();
  }
  void Update(const TapeImagingReport& report) override {
    if (clock_.elapsed() < 100) return;
    clock_.restart();
    dialog_.setLabelText(CountsText(report));
    QCoreApplication::processEvents();
  }
  bool AbortRequested() const override { return dialog_.wasCanceled(); }

 private:
  QProgressDialog dialog_;
  QElapsedTimer clock_;
};

}  // namespace

void RunTapeImaging(const ShellHost& host, bool save) {
  ShellContext& ctx = host.ctx;
  if (!AskForTapeDrive(ctx, TapeDriveNames(host.devices), host.parent)) return;
  const std::string tape = ctx.app.SelectedTapeName;
  const QString filter = QObject::tr("Tape images (*.tap)");
  const QString path =
      save ? QFileDialog::getSaveFileName(host.parent, QObject::tr("Save Tape Image"), {}, filter)
           : QFileDialog::getOpenFileName(host.parent, QObject::tr("Write Tape Image"), {}, filter);
  if (path.isEmpty()) return;
  const TapeContext tc = MakeTapeContext(ctx);
  TapeImagingReport report;
  ErrorCode rc = 0;
  {
    CImagingProgressDlg progress(save ? QObject::tr("Save Tape Image") : QObject::tr("Write Tape Image"),
                                 host.parent);
    const std::string file = path.toStdString();
    rc = save ? SaveTapeImage(tc, tape, file, progress, report)
              : WriteTapeImage(tc, file, tape, progress, report);
  }
  if (rc != 0) {
    ctx.ui->ReportError(rc);
    return;
  }
  QString text = CountsText(report);
  if (report.damaged > 0)
    text += QObject::tr("\n%1 record(s) could not be read and are kept as error records.")
                .arg(report.damaged);
  if (report.aborted) text += QObject::tr("\nAborted: the image ends where the run stopped.");
  QMessageBox::information(host.parent, save ? QObject::tr("Save Tape Image") : QObject::tr("Write Tape Image"),
                           text);
}

}  // namespace kelvo::gui

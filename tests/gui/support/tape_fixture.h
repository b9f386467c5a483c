// Tapes for the kdisk tests (labelled tape images and QVA volume sets made
// with the engine tests' generators) and the user of the tape progress
// windows.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "gui/dialogs/restore_progress_dialog.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/windows/qva_restore_dialog.h"
#include "gui/windows/tape_window.h"
#include "support/gui_fixture.h"

namespace kelvo::gui::test {

struct TapeFileSpec {
  QString name;  // up to six characters
  QString type;  // three letters
  QByteArray data;
  bool source = false;  // 80-byte records (record length 80)
  int last_block_bytes = 0;
};

// A binary file of `bytes` bytes whose content depends on `seed`.
TapeFileSpec BinaryTapeFile(const QString& name, const QString& type, int bytes, int seed);
// Fonts F0, F1 ... of `bytes` bytes each.
std::vector<TapeFileSpec> FontFiles(int count, int bytes);
// A source file of `lines` as printer records (text, then the line number
// in columns 75 to 80; six records and 32 zero bytes per 512 bytes).
TapeFileSpec SourceTapeFile(const QString& name, const QString& type, const QStringList& lines);

// Writes a labelled tape of `files` in data blocks of `block_size` bytes.
bool WriteLabelledTapeImage(const QString& path, const std::vector<TapeFileSpec>& files,
                            int block_size = 8192);

// A QVA save tape (unit DP2:) of BITMAP.$Y$, the source JOB.CMD and fonts
// F0, F1 ... of `size` bytes of 'a', 'b' ..., in two volumes after
// `blocks_per_volume` blocks (0: one), as `folder`/volN.tap; its device string.
std::string MakeQvaSet(const QString& folder, int files, int size, int blocks_per_volume);

// A main window on dir/pc with Tape0 and Tape1 bound to the images
// dir/t0.tap and dir/t1.tap (Tape0 to `device0` when given), restoring
// into dir/out.
struct TapeDesk {
  QTemporaryDir dir;
  QString tape0 = dir.filePath("t0.tap"), tape1 = dir.filePath("t1.tap");
  QString pc_folder = dir.filePath("pc"), out = dir.filePath("out");
  Shell shell;
  CPcExplorerWindow* pc = nullptr;

  explicit TapeDesk(const QString& device0 = {});
  CMainFrame& Frame() { return *shell.frame; }
  std::vector<std::string> Asked() const { return shell.ui.Texts(); }
  // Opens the window of Tape0 with the tape `files` in it, listed.
  CTapeWindow* OpenTape0(const std::vector<TapeFileSpec>& files, int block_size = 8192);
  // Answers the next drive question with the drive at `index`, or Cancel.
  void ChooseDrive(int index);
};

// The visible window of type T, if any.
template <class T>
T* FindShown() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
  return nullptr;
}

inline QString StatusOf(const CRestoreProgressDlg* w) { return w->StatusText(); }
inline QString StatusOf(const CQvaRestoreDlg* w) { return w->FieldText("status"); }

// The user of the tape progress windows of type W: `during` sees the shown
// window at each pump of the tape work (where a test presses Abort); once
// the work has ended the window's Status is recorded and "Close" pressed.
template <class W>
class ProgressUser {
 public:
  explicit ProgressUser(Shell& shell, std::function<void(W*)> during = {}) : shell_(shell) {
    shell.ui.on_pump = [this, during] {
      if (W* w = FindShown<W>(); w && during && shell_.ctx.app.TapeBusy) during(w);
    };
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      W* w = FindShown<W>();
      if (!w || shell_.ctx.app.TapeBusy) return;
      final_statuses << StatusOf(w);
      w->Button()->click();
    });
    timer_.start(5);
  }
  ~ProgressUser() { shell_.ui.on_pump = nullptr; }
  QStringList final_statuses;  // one per window closed

 private:
  Shell& shell_;
  QTimer timer_;
};

// Runs "Restore Files..." of the shell for the specification `spec` (the
// dialog's other fields as the settings give them).
void RestoreFromMenu(Shell& shell, const QString& spec);

}  // namespace kelvo::gui::test

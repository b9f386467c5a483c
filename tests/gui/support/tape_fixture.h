// Labelled tapes for the kdisk tests, made with the engine tests'
// generators, and a main window with two tape drives over tape images.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "gui/windows/pc_explorer_window.h"
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
};

}  // namespace kelvo::gui::test

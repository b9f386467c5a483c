#include "tape_media.h"

#include <QFile>
#include <QFileInfo>

#include <QPushButton>

#include "gui/dialogs/restore_progress_dialog.h"
#include "support/tape_builder.h"

namespace kelvo::gui::test {

TapeFileSpec BinaryTapeFile(const QString& name, const QString& type, int bytes, int seed) {
  TapeFileSpec f{name, type, QByteArray(), false, 0};
  f.data.resize(bytes);
  for (int i = 0; i < bytes; ++i) f.data[i] = static_cast<char>((i * 7 + seed * 13 + i / 512) & 0xFF);
  return f;
}

TapeFileSpec SourceTapeFile(const QString& name, const QString& type, const QStringList& lines) {
  TapeFileSpec f{name, type, QByteArray(), true, 0};
  int n = 0;
  for (const QString& line : lines) {
    QByteArray record = line.toLatin1().left(74).leftJustified(74, ' ');
    record += QByteArray::number((n + 1) * 100).rightJustified(6, '0');
    f.data += record;
    if (++n % 6 == 0) f.data += QByteArray(32, '\0');
  }
  if (f.data.size() % 512) f.data += QByteArray(512 - f.data.size() % 512, '\0');
  f.last_block_bytes = n % 6 == 0 ? 480 : (n % 6) * 80;
  return f;
}

bool WriteLabelledTapeImage(const QString& path, const std::vector<TapeFileSpec>& files,
                            int block_size) {
  kelvo::test::TapeImageBuilder tape;
  for (const TapeFileSpec& f : files) {
    kelvo::test::LabelFields label;
    label.name = f.name.toStdString();
    label.type = f.type.toStdString();
    label.blocks = static_cast<std::uint32_t>((f.data.size() + 511) / 512);
    label.last_block_bytes = static_cast<std::uint16_t>(f.last_block_bytes);
    label.record_length = f.source ? 80 : 512;
    label.block_size = static_cast<std::uint16_t>(block_size);
    tape.LabelledFile(kelvo::test::MakeLabel(label), f.data.toStdString(),
                      static_cast<std::size_t>(block_size));
  }
  tape.Filemark();
  if (files.empty()) tape.Filemark();
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const std::string& bytes = tape.Bytes();
  return out.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
         static_cast<qint64>(bytes.size());
}

bool WriteFontTapeImage(const QString& path, const QStringList& names, int bytes) {
  std::vector<TapeFileSpec> files;
  for (const QString& name : names)
    files.push_back(BinaryTapeFile(name, "FNT", bytes, static_cast<int>(files.size()) + 1));
  return WriteLabelledTapeImage(path, files, 512);
}

namespace {

QList<CRestoreProgressDlg*> ProgressWindows(QWidget* owner) {
  QList<CRestoreProgressDlg*> out = owner->findChildren<CRestoreProgressDlg*>();
  if (auto* self = qobject_cast<CRestoreProgressDlg*>(owner)) out << self;
  return out;
}

}  // namespace

std::shared_ptr<bool> PressAbortAt(PumpHookInteraction& ui, QWidget* owner, const QString& file,
                                   QString* button_after) {
  auto pressed = std::make_shared<bool>(false);
  ui.on_pump = [=] {
    if (*pressed) return;
    for (CRestoreProgressDlg* dlg : ProgressWindows(owner)) {
      if (dlg->CurrentFileText() != file) continue;
      *pressed = true;
      dlg->Button()->click();
      if (button_after) *button_after = dlg->Button()->text();
    }
  };
  return pressed;
}

ProgressCloser::ProgressCloser(QWidget* owner, const bool& tape_busy)
    : owner_(owner), tape_busy_(tape_busy) {
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (tape_busy_) return;
    for (CRestoreProgressDlg* dlg : ProgressWindows(owner_)) {
      if (!dlg->IsOpen()) continue;
      final_statuses << dlg->StatusText();
      dlg->Button()->click();
      ++closed;
    }
  });
  timer_.start(5);
}

}  // namespace kelvo::gui::test

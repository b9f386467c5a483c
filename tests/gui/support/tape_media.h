// Tape images for the kdisk tests, made with the tape generator of the
// engine tests, and an Interaction that lets a test act while an operation
// hands control to the interface.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "support/scripted_interaction.h"

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
// A source file of `lines` as printer records: text in columns 1 to 74, the
// line number in 75 to 80, six records and 32 zero bytes per 512 bytes.
TapeFileSpec SourceTapeFile(const QString& name, const QString& type, const QStringList& lines);

// Writes a labelled tape holding `files` (then the closing filemarks) to
// `path`, in data blocks of `block_size` bytes. False when it cannot write.
bool WriteLabelledTapeImage(const QString& path, const std::vector<TapeFileSpec>& files,
                            int block_size = 8192);

// A tape of font files named `names` (BinaryTapeFile, `bytes` each, seeds
// 1, 2, ...) in data blocks of 512 bytes, so that each file takes several
// reads.
bool WriteFontTapeImage(const QString& path, const QStringList& names, int bytes = 4096);

// Scripted answers, plus a hook run at every PumpMessages: the moment a
// running operation lets the user act.
class PumpHookInteraction : public kelvo::test::ScriptedInteraction {
 public:
  std::function<void()> on_pump;
  void PumpMessages() override {
    ScriptedInteraction::PumpMessages();
    if (on_pump) on_pump();
  }
};

// The user presses "Abort" in the progress window under `owner` (or in
// `owner` itself) at the first pump while it shows `file` as the current
// file. The returned flag tells whether that happened; the window's button
// text right after the press goes to `button_after`.
std::shared_ptr<bool> PressAbortAt(PumpHookInteraction& ui, QWidget* owner, const QString& file,
                                   QString* button_after = nullptr);

// The user of the tape progress window: presses its "Close" as soon as the
// tape work has ended, as an operator who waits for the end would.
class ProgressCloser : public QObject {
 public:
  // Watches the progress windows that are children of `owner`; `tape_busy`
  // is the program's TapeBusy flag.
  ProgressCloser(QWidget* owner, const bool& tape_busy);
  int closed = 0;             // windows closed
  QStringList final_statuses;  // their Status texts when closed

 private:
  QWidget* owner_;
  const bool& tape_busy_;
  QTimer timer_;
};

}  // namespace kelvo::gui::test

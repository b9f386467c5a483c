#include "support/gui_fixture.h"

#include <QApplication>
#include <QFile>
#include <QTest>

#include "diskfs/disk_image_doc.h"
#include "diskfs/kelvo_volume.h"
#include "gui/windows/disk_image_window.h"
#include "gui/windows/child_frame_window.h"
#include "gui/windows/pc_explorer_window.h"
#include "tape/tape_open.h"

namespace kelvo::gui::test {

Shell::Shell(std::vector<PresentDevice> devices) {
  ctx.ui = &ui;
  // The program makes its tape buttons from the bindings; the tests give the
  // buttons, so the bindings follow them.
  for (const PresentDevice& d : devices) {
    const int n = d.tape ? kelvo::TapeDriveNumber(d.name.toStdString()) : -1;
    if (n >= 0) ctx.app.Bindings.tape[n] = d.device.toStdString();
  }
  frame = std::make_unique<CMainFrame>(ctx, std::move(devices));
}

Shell::~Shell() { frame.reset(); }

CPcExplorerWindow* Shell::Start(const QString& folder) {
  ctx.settings.StartupDirectory = folder.toStdString();
  CPcExplorerWindow* pc = frame->Windows().OpenPcExplorer();
  frame->show();
  QApplication::setActiveWindow(frame.get());
  return QTest::qWaitForWindowExposed(frame.get()) ? pc : nullptr;
}

KdiskRun::KdiskRun(const QString& ini) : store(ini.toStdString()) { ctx.ui = &ui; }

bool KdiskRun::Start(const QString& root, const CommandLine& cmd, bool warn,
                     const QString& recently_used_xbel) {
  kelvo::StartupOptions o;
  o.trace_log_path = QDir(root).filePath("kdisk32.log").toStdString();
  o.system_root = root.toStdString();
  o.warn_missing_floppy_driver = warn;
  frame = StartKdisk(ctx, store, cmd, o, recently_used_xbel);
  return frame != nullptr;
}

CDiskImageWindow* OpenImage(Shell& shell, const QString& path) {
  return shell.frame->OpenDocument(path) ? ActiveChild<CDiskImageWindow>(*shell.frame) : nullptr;
}

QString WriteFile(const QString& folder, const QString& name, const QByteArray& bytes) {
  const QString path = QDir(folder).filePath(name);
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(path));
  return path;
}

void MakeFiles(const QString& folder, const QStringList& names, int size) {
  for (const QString& n : names) WriteFile(folder, n, QByteArray(size, 'x'));
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::unique_ptr<QMimeData> DragFrom(CChildFrameWindow* from, const QStringList& names) {
  from->ListView()->SelectNames(names);
  return std::unique_ptr<QMimeData>(from->ListView()->make_drag_data());
}

QStringList Names(const CChildFrameWindow* window) {
  QStringList out;
  for (const FileRow& r : window->Model()->Rows()) out << r.name;
  return out;
}

QStringList Sorted(QStringList names) {
  names.sort();
  return names;
}

bool MakeImage(const QString& path, const std::vector<ImageFile>& files) {
  CDiskImageDoc doc;
  if (doc.OnNewDocument("TEST DISK") != 0) return false;
  CKelvoVolume volume(doc);
  for (const ImageFile& f : files) {
    std::vector<std::uint8_t> data(static_cast<size_t>(f.blocks) * 512, 0x41);
    NewFile nf;
    nf.first = f.first;
    nf.second = f.second;
    nf.type = f.type;
    nf.words.block_count = static_cast<std::uint32_t>(f.blocks);
    nf.data = data;
    if (volume.StoreNewFile(nf) != 0) return false;
  }
  return doc.OnSaveDocument(QFile::encodeName(path).toStdString()) == 0;
}

}  // namespace kelvo::gui::test

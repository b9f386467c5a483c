#include "gui_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

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

Shell::~Shell() {
  // Close without questions: the test's windows hold nothing unsaved.
  frame.reset();
}

CPcExplorerWindow* Shell::Start(const QString& folder) {
  ctx.settings.StartupDirectory = folder.toStdString();
  CPcExplorerWindow* pc = frame->Windows().OpenPcExplorer();
  frame->show();
  QApplication::setActiveWindow(frame.get());
  if (!QTest::qWaitForWindowExposed(frame.get())) return nullptr;
  return pc;
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
  if (!shell.frame->OpenDocument(path)) return nullptr;
  return qobject_cast<CDiskImageWindow*>(shell.frame->MdiArea()->activeSubWindow()->widget());
}

void MakeFile(const QString& folder, const QString& name, int bytes) {
  QFile f(QDir(folder).filePath(name));
  if (!f.open(QIODevice::WriteOnly)) qFatal("cannot create %s", qPrintable(f.fileName()));
  f.write(QByteArray(bytes, 'x'));
}

void MakeFiles(const QString& folder, const QStringList& names, int size) {
  for (const QString& n : names) MakeFile(folder, n, size);
}

QStringList Names(const CChildFrameWindow* window) {
  QStringList out;
  for (const FileRow& r : window->Model()->Rows()) out << r.name;
  return out;
}

QString OutputPath(const QString& name) {
  return QDir(QStringLiteral(KDISK_TEST_OUTPUT_DIR)).filePath(name);
}

}  // namespace kelvo::gui::test

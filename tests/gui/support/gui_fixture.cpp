#include "gui_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include "gui/pc_explorer.h"

namespace kelvo::gui::test {

Shell::Shell(std::vector<DeviceEntry> devices) {
  ctx.ui = &ui;
  frame = std::make_unique<CMainFrame>(ctx, std::move(devices));
}

Shell::~Shell() {
  // Close without questions: the test's windows hold nothing unsaved.
  frame.reset();
}

CPcExplorerWindow* Shell::Start(const QString& folder) {
  ctx.settings.StartupDirectory = folder.toStdString();
  CPcExplorerWindow* pc = frame->OpenPcExplorer();
  frame->show();
  QApplication::setActiveWindow(frame.get());
  if (!QTest::qWaitForWindowExposed(frame.get())) return nullptr;
  return pc;
}

void MakeFile(const QString& folder, const QString& name, int bytes) {
  QFile f(QDir(folder).filePath(name));
  if (!f.open(QIODevice::WriteOnly)) qFatal("cannot create %s", qPrintable(f.fileName()));
  f.write(QByteArray(bytes, 'x'));
}

void MakeFiles(const QString& folder, const QStringList& names, int size) {
  for (const QString& n : names) MakeFile(folder, n, size);
}

QString OutputPath(const QString& name) {
  return QDir(QStringLiteral(KDISK_TEST_OUTPUT_DIR)).filePath(name);
}

}  // namespace kelvo::gui::test

// kdisk_screenshots: opens kdisk on the demo media and saves pictures of its
// windows, viewers and main dialogs for the user guide.
//
//   kdisk_screenshots [--dark] DEMO_DIR OUT_DIR
//
// DEMO_DIR is what scripts/make-demo-media made. Run with
// QT_QPA_PLATFORM=offscreen; QT_SCALE_FACTOR scales as usual and is added
// to the picture names. The settings live in a private INI file in OUT_DIR.
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QScreen>
#include <QSettings>
#include <QStyleFactory>
#include <QToolButton>
#include <cstdio>

#include "gui/shell/command_line.h"
#include "gui/shell/gui_interaction.h"
#include "gui/shell/kdisk_app.h"
#include "gui/shell/main_frame.h"
#include "gui/windows/device_bar.h"
#include "gui/windows/child_frame_window.h"
#include "gui/windows/file_list_view.h"
#include "gui/windows/main_drive_view.h"
#include "gui/windows/pc_explorer_window.h"
#include "gui/windows/tape_window.h"
#include "settings_store/qt_settings_store.h"
#include "shooter.h"

namespace {

using namespace kelvo::gui;
using kelvo::screenshots::Settle;
using kelvo::screenshots::CShooter;
using kelvo::screenshots::WaitUntil;

QPalette DarkPalette() {
  QPalette p;
  const QColor text(222, 222, 222);
  const QColor disabled(128, 128, 128);
  p.setColor(QPalette::Window, QColor(45, 45, 48));
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, QColor(30, 30, 32));
  p.setColor(QPalette::AlternateBase, QColor(40, 40, 44));
  p.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::PlaceholderText, disabled);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, QColor(55, 55, 58));
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::BrightText, QColor(255, 90, 90));
  p.setColor(QPalette::Light, QColor(75, 75, 78));
  p.setColor(QPalette::Midlight, QColor(62, 62, 66));
  p.setColor(QPalette::Mid, QColor(40, 40, 42));
  p.setColor(QPalette::Dark, QColor(25, 25, 26));
  p.setColor(QPalette::Shadow, QColor(10, 10, 10));
  p.setColor(QPalette::Link, QColor(100, 160, 255));
  p.setColor(QPalette::Highlight, QColor(42, 110, 200));
  p.setColor(QPalette::HighlightedText, Qt::white);
  for (QPalette::ColorRole r : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, r, disabled);
  return p;
}

QString ScaleSuffix() {
  const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
  return scale.isEmpty() || scale == "1" ? QString() : QStringLiteral("-%1x").arg(QString::fromLatin1(scale));
}

QToolButton* DeviceButton(CMainFrame& frame, const QString& name) {
  for (QToolButton* b : frame.DeviceBar()->Buttons())
    if (b->text().contains(name, Qt::CaseInsensitive)) return b;
  return nullptr;
}

QMdiSubWindow* ActiveSub(CMainFrame& frame) { return frame.MdiArea()->activeSubWindow(); }

// Makes `sub` active and selects the row of the list showing `name`.
void SelectFile(CMainFrame& frame, QMdiSubWindow* sub, const QString& name) {
  frame.MdiArea()->setActiveSubWindow(sub);
  auto* window = qobject_cast<CChildFrameWindow*>(sub->widget());
  if (window == nullptr) return;
  QAbstractItemView* view = window->ListView()->CurrentView();
  QAbstractItemModel* model = view->model();
  for (int r = 0; r < model->rowCount(); ++r) {
    const QModelIndex i = model->index(r, 0);
    if (i.data().toString().compare(name, Qt::CaseInsensitive) == 0) {
      view->setCurrentIndex(i);
      return;
    }
  }
}

void Run(CMainFrame& frame, CShooter& shoot, const QString& demo) {
  // The main window fills the screen (1400 x 900 with the configuration
  // scripts/screenshots gives the offscreen platform), frame included.
  Settle(200);
  const QRect screen = frame.screen()->availableGeometry();
  frame.resize(screen.size() - (frame.frameGeometry().size() - frame.geometry().size()));
  frame.move(screen.topLeft());
  Settle(400);
  const auto idle = [&frame] { return !frame.Windows().OperationRunning(); };
  QMdiSubWindow* pc = ActiveSub(frame);
  for (QMdiSubWindow* s : frame.MdiArea()->subWindowList())
    if (s->widget() == frame.Windows().PcExplorer()) pc = s;
  QMdiSubWindow* image = nullptr;
  for (QMdiSubWindow* s : frame.MdiArea()->subWindowList())
    if (s->windowTitle().contains(QStringLiteral("demo.kdi"))) image = s;

  // The device windows, each opened by its button.
  QMdiSubWindow* floppy = nullptr;
  QMdiSubWindow* tape = nullptr;
  const std::pair<QString, QMdiSubWindow**> devices[] = {{QStringLiteral("A:"), &floppy},
                                                           {QStringLiteral("Tape0"), &tape}};
  for (const auto& [name, sub] : devices) {
    QToolButton* button = DeviceButton(frame, name);
    if (button == nullptr) continue;
    button->click();
    WaitUntil(idle, 20000);
    Settle(300);
    *sub = ActiveSub(frame);
  }
  for (auto [name, sub] : {std::pair{"pc", pc}, {"disk-image", image}, {"floppy", floppy}, {"tape", tape}})
    shoot.Shoot(QStringLiteral("window-") + name, sub);
  frame.MdiArea()->tileSubWindows();
  Settle(300);
  // The folder tree from its top, which looks alike on every machine (its
  // end lists this machine's mounts).
  if (frame.Windows().PcExplorer() != nullptr)
    for (CMainDriveView* tree : frame.Windows().PcExplorer()->findChildren<CMainDriveView*>()) {
      tree->scrollToTop();
      tree->horizontalScrollBar()->setValue(0);
    }
  shoot.Shoot(QStringLiteral("main-window"), &frame);

  // The dialogs, opened as the menus open them.
  if (image != nullptr) {
    SelectFile(frame, image, QStringLiteral("SANSP.FNT"));
    shoot.ShootModal(QStringLiteral("dialog-file-properties"), [&] { frame.RunCommand(Cmd::Properties); });
  }
  shoot.ShootModal(QStringLiteral("dialog-copy-disk"), [&] { frame.RunCommand(Cmd::CopyDisk); });
  shoot.ShootModal(QStringLiteral("dialog-format"), [&] { frame.Floppies().ShowFormatDialog(QStringLiteral("A:")); });
  shoot.ShootModal(QStringLiteral("dialog-preferences"), [&] { frame.RunCommand(Cmd::Preferences); });
  if (tape != nullptr) frame.MdiArea()->setActiveSubWindow(tape);
  shoot.ShootModal(QStringLiteral("dialog-tape-restore"), [&] { frame.RunCommand(Cmd::TapeRestore); });
  shoot.ShootModal(QStringLiteral("dialog-about"), [&] { frame.RunCommand(Cmd::About); });

  // Each viewer on the demo's files, at the size it opens with.
  const std::pair<const char*, const char*> viewers[] = {
      {"viewer-font-portrait", "SANSP.FNT"}, {"viewer-font-landscape", "SANSL.FNT"},
      {"viewer-image", "LOGO.IMG"},          {"viewer-source-job", "LETTER.JSL"},
      {"viewer-source-commands", "START.CMD"}, {"viewer-task", "LETTER.TSK"}};
  for (const auto& [name, file] : viewers) {
    const QString path = QDir(demo).filePath(QStringLiteral("samples/") + QString::fromLatin1(file));
    if (!frame.OpenDocument(path)) {
      shoot.Shoot(QString::fromLatin1(name), nullptr);
      continue;
    }
    Settle(300);
    shoot.Shoot(QString::fromLatin1(name), ActiveSub(frame));
  }
}

// kdisk's command line for the demo media in `demo`, as scripts/demo gives it.
CommandLine DemoCommandLine(const QString& demo) {
  const QDir dir(demo);
  const QString qva = dir.filePath(QStringLiteral("qva1.tap")) + QLatin1Char(',') + dir.filePath(QStringLiteral("qva2.tap"));
  const QString floppy = QStringLiteral("emu:") + dir.filePath(QStringLiteral("demo_floppy.img")) + QStringLiteral(",form=3.5");
  return ParseCommandLine({QStringLiteral("kdisk"), QStringLiteral("--drive-a"), floppy, QStringLiteral("--tape0"),
                           dir.filePath(QStringLiteral("demo.tap")), QStringLiteral("--tape1"), qva,
                           dir.filePath(QStringLiteral("demo.kdi"))});
}

int Fail(const QString& why) {
  std::fprintf(stderr, "kdisk_screenshots: %s\n", qPrintable(why));
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStringList args = QApplication::arguments().mid(1);
  const bool dark = args.removeAll(QStringLiteral("--dark")) > 0;
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: kdisk_screenshots [--dark] DEMO_DIR OUT_DIR\n");
    return 2;
  }
  const QString demo = QDir(args[0]).absolutePath();
  const QString out = QDir(args[1]).absolutePath();
  QDir().mkpath(out);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  if (dark) QApplication::setPalette(DarkPalette());
  QApplication::setApplicationName(QStringLiteral("Kelvo Disk Utility"));
  QApplication::setOrganizationName(QStringLiteral("Kelvo"));

  // A private settings file that starts in the demo's samples folder.
  const QString ini = QDir(out).filePath(QStringLiteral("kdisk-screenshots.ini"));
  QFile::remove(ini);
  {
    QSettings s(ini, QSettings::IniFormat);
    s.setValue(QStringLiteral("Settings/Startup Directory"), QDir(demo).filePath(QStringLiteral("samples")));
  }
  kelvo::CQtSettingsStore store(ini.toStdString());
  const CommandLine cmd = DemoCommandLine(demo);
  if (!cmd.ok) return Fail(cmd.error);
  CGuiInteraction ui;
  ShellContext ctx;
  ctx.ui = &ui;
  kelvo::StartupOptions options;
  options.trace_log_path = QDir(out).filePath(QStringLiteral("kdisk32.log")).toStdString();
  options.warn_missing_floppy_driver = false;
  std::unique_ptr<CMainFrame> frame = StartKdisk(ctx, store, cmd, options);
  if (!frame) return 1;
  ui.SetParent(frame.get());
  CShooter shoot(out, QString::fromLatin1(dark ? "dark" : "light") + ScaleSuffix());
  Run(*frame, shoot, demo);
  for (const QString& note : shoot.Notes()) std::printf("%s\n", qPrintable(note));
  ui.SetParent(nullptr);
  frame.reset();
  return shoot.Failures() == 0 ? 0 : 1;
}

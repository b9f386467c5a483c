#include "gui/shell/command_line.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QUrl>

namespace kelvo::gui {

CommandLine ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Kelvo Disk Utility"));
  const QCommandLineOption drive_a(QStringLiteral("drive-a"),
                                   QStringLiteral("Device for floppy drive A: (/dev/fd0, emu:PATH)"),
                                   QStringLiteral("DEVICE"));
  const QCommandLineOption drive_b(QStringLiteral("drive-b"),
                                   QStringLiteral("Device for floppy drive B:"), QStringLiteral("DEVICE"));
  parser.addOption(drive_a);
  parser.addOption(drive_b);
  QList<QCommandLineOption> tapes;
  for (int n = 0; n < 4; ++n) {
    tapes << QCommandLineOption(QStringLiteral("tape%1").arg(n),
                                QStringLiteral("Device for Tape%1 (/dev/nstN, FILE.tap[,FILE.tap...])").arg(n),
                                QStringLiteral("DEVICE"));
    parser.addOption(tapes.back());
  }
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Files to open"),
                               QStringLiteral("[FILE...]"));
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and exit"));
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Show the version and exit"));
  parser.addOption(help);
  parser.addOption(version);
  CommandLine out;
  if (!parser.parse(arguments)) {
    out.ok = false;
    out.error = parser.errorText();
    return out;
  }
  out.overrides.floppy[0] = parser.value(drive_a).toStdString();
  out.overrides.floppy[1] = parser.value(drive_b).toStdString();
  for (int n = 0; n < 4; ++n) out.overrides.tape[n] = parser.value(tapes[n]).toStdString();
  out.show_help = parser.isSet(help);
  out.show_version = parser.isSet(version);
  if (out.show_help) {
    // "Usage: kdisk ...", whatever path the program was started by.
    out.help_text = parser.helpText();
    out.help_text.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")), QStringLiteral("Usage: kdisk"));
  }
  for (const QString& arg : parser.positionalArguments()) {
    // A file manager may pass file:// URLs (%U); other URLs stay as given
    // and fail to open with a message.
    const QUrl url(arg, QUrl::StrictMode);
    out.files << (url.isLocalFile() ? url.toLocalFile() : arg);
  }
  return out;
}

}  // namespace kelvo::gui

#include "settings_store/qt_settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <limits>

namespace kelvo {
namespace {

QString Key(const std::string& name) {
  return QStringLiteral("Settings/") + QString::fromStdString(name);
}

}  // namespace

CQtSettingsStore::CQtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Kelvo"),
                                            QStringLiteral("Kelvo Disk Utility"))) {}

CQtSettingsStore::CQtSettingsStore(const std::string& ini_path)
    : settings_(std::make_unique<QSettings>(QString::fromStdString(ini_path),
                                            QSettings::IniFormat)) {}

CQtSettingsStore::~CQtSettingsStore() = default;

std::string CQtSettingsStore::FilePath() const { return settings_->fileName().toStdString(); }

bool CQtSettingsStore::HasKey() const { return QFileInfo::exists(settings_->fileName()); }

bool CQtSettingsStore::CreateKey() {
  const QString path = settings_->fileName();
  if (QFileInfo::exists(path)) return true;
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

std::optional<std::int32_t> CQtSettingsStore::GetInt(const std::string& name) const {
  const QVariant v = settings_->value(Key(name));
  if (!v.isValid() || v.typeId() == QMetaType::QStringList) return std::nullopt;
  bool ok = false;
  const qlonglong n = v.toString().trimmed().toLongLong(&ok);
  if (!ok || n < std::numeric_limits<std::int32_t>::min() ||
      n > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(n);
}

std::optional<std::string> CQtSettingsStore::GetString(const std::string& name) const {
  const QVariant v = settings_->value(Key(name));
  if (!v.isValid()) return std::nullopt;
  // An unquoted value with commas (a list of tape volumes typed by hand)
  // comes back as a list.
  if (v.typeId() == QMetaType::QStringList) {
    return v.toStringList().join(QLatin1Char(',')).toStdString();
  }
  if (!v.canConvert<QString>()) return std::nullopt;
  return v.toString().toStdString();
}

void CQtSettingsStore::SetInt(const std::string& name, std::int32_t value) {
  settings_->setValue(Key(name), static_cast<int>(value));
}

void CQtSettingsStore::SetString(const std::string& name, const std::string& value) {
  settings_->setValue(Key(name), QString::fromStdString(value));
}

bool CQtSettingsStore::Flush() {
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

}  // namespace kelvo

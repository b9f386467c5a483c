// The production settings store: an INI file through QSettings, shared by
// kdisk and kdu ($XDG_CONFIG_HOME/Kelvo/Kelvo Disk Utility.ini, group
// "Settings").
#pragma once

#include <memory>
#include <string>

#include "app/key_value_store.h"

class QSettings;

namespace kelvo {

class CQtSettingsStore : public CKeyValueStore {
 public:
  // The user's store: organisation "Kelvo", application "Kelvo Disk Utility".
  CQtSettingsStore();
  // A store in the INI file at `ini_path`.
  explicit CQtSettingsStore(const std::string& ini_path);
  ~CQtSettingsStore() override;

  // The INI file behind the store.
  std::string FilePath() const;

  bool HasKey() const override;
  bool CreateKey() override;
  std::optional<std::int32_t> GetInt(const std::string& name) const override;
  std::optional<std::string> GetString(const std::string& name) const override;
  void SetInt(const std::string& name, std::int32_t value) override;
  void SetString(const std::string& name, const std::string& value) override;
  bool Flush() override;

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace kelvo

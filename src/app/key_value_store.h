// The settings store as the engine sees it: named 32-bit integers and texts
// under one key. The desktop program and kdu back it with an INI file; tests
// use CMemoryKeyValueStore.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace kelvo {

class CKeyValueStore {
 public:
  virtual ~CKeyValueStore() = default;

  // Whether the settings key exists at all (false on a first run).
  virtual bool HasKey() const = 0;
  // Creates the settings key; returns false when that is not possible.
  virtual bool CreateKey() = 0;

  // A value that is missing or cannot be read as the asked type is absent.
  virtual std::optional<std::int32_t> GetInt(const std::string& name) const = 0;
  virtual std::optional<std::string> GetString(const std::string& name) const = 0;

  virtual void SetInt(const std::string& name, std::int32_t value) = 0;
  virtual void SetString(const std::string& name, const std::string& value) = 0;

  // Makes written values durable; returns false when that failed.
  virtual bool Flush() { return true; }
};

// A store held in memory.
class CMemoryKeyValueStore : public CKeyValueStore {
 public:
  using Value = std::variant<std::int32_t, std::string>;

  bool HasKey() const override { return has_key_; }
  bool CreateKey() override {
    has_key_ = true;
    return true;
  }
  std::optional<std::int32_t> GetInt(const std::string& name) const override;
  std::optional<std::string> GetString(const std::string& name) const override;
  void SetInt(const std::string& name, std::int32_t value) override;
  void SetString(const std::string& name, const std::string& value) override;

  // Every stored value, for inspection.
  const std::map<std::string, Value>& values() const { return values_; }
  void Remove(const std::string& name) { values_.erase(name); }

 private:
  bool has_key_ = false;
  std::map<std::string, Value> values_;
};

}  // namespace kelvo

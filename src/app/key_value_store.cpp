#include "app/key_value_store.h"

namespace kelvo {

std::optional<std::int32_t> CMemoryKeyValueStore::GetInt(const std::string& name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  if (const auto* v = std::get_if<std::int32_t>(&it->second)) return *v;
  return std::nullopt;
}

std::optional<std::string> CMemoryKeyValueStore::GetString(const std::string& name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  if (const auto* v = std::get_if<std::string>(&it->second)) return *v;
  return std::nullopt;
}

void CMemoryKeyValueStore::SetInt(const std::string& name, std::int32_t value) {
  has_key_ = true;
  values_[name] = value;
}

void CMemoryKeyValueStore::SetString(const std::string& name, const std::string& value) {
  has_key_ = true;
  values_[name] = value;
}

}  // namespace kelvo

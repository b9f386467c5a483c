// Names read from media in kdu's JSON: always valid text.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

#include "filetypes/name_text.h"

namespace kelvo::cli {

// Sets `key` to the name as text (EscapedName); when the name holds bytes
// that are not plain text, `key`_hex holds its bytes in hexadecimal too.
template <typename Json>
void PutName(Json& object, const std::string& key, std::string_view bytes) {
  object[key] = EscapedName(bytes);
  if (!IsPlainName(bytes)) object[key + "_hex"] = HexBytes(bytes);
}

// The document as text; a string that is not valid UTF-8 is replaced rather
// than thrown on.
template <typename Json>
std::string JsonText(const Json& document) {
  return document.dump(2, ' ', false, Json::error_handler_t::replace);
}

}  // namespace kelvo::cli

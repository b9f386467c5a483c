#include "cli/cli_context.h"

#include <iostream>

#include "core/error_text.h"

namespace kelvo::cli {

int Finish(ErrorCode code) {
  if (code == 0) return kExitOk;
  std::cerr << "kdu: " << GetErrorText(code) << "\n";
  return kExitFailed;
}

int Fail(const std::string& message) {
  std::cerr << "kdu: " << message << "\n";
  return kExitFailed;
}

}  // namespace kelvo::cli

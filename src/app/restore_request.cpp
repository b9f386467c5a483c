#include "app/restore_request.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>

#include "app/engine_setup.h"
#include "filetypes/file_names.h"

namespace kelvo {
namespace {

RequestCheck FileNameProblem(const std::string& spec, const char* message, std::size_t start = 0,
                             std::size_t length = std::string::npos) {
  RequestCheck c;
  c.message = message;
  c.field = RequestCheck::Field::FileName;
  c.select_start = start;
  c.select_length = length == std::string::npos ? spec.size() : length;
  return c;
}

bool IsSpecCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '?' || c == '*' || c == '.';
}

}  // namespace

TapeFormat TapeFormatFromSetting(int value) {
  switch (value) {
    case 1:
      return TapeFormat::Unlabelled;
    case 2:
      return TapeFormat::Qva;
    default:
      return TapeFormat::Labelled;
  }
}

TapeRestoreRequest InitialRestoreRequest(const Settings& settings, const std::string& first_drive) {
  TapeRestoreRequest r;
  r.source_drive = first_drive;
  r.destination = settings.TapeRestorePath;
  r.type_dirs = settings.TapeRestoreToTypeDirs != 0;
  r.user_files_only = settings.TapeRestoreUserFilesOnly != 0;
  r.format = TapeFormatFromSetting(settings.DefaultTapeFormat);
  return r;
}

void StoreRestoreRequest(const TapeRestoreRequest& request, Settings& settings) {
  settings.TapeRestoreToTypeDirs = request.type_dirs ? 1 : 0;
  settings.TapeRestoreUserFilesOnly = request.user_files_only ? 1 : 0;
  settings.TapeRestorePath = request.destination;
  settings.DefaultTapeFormat = request.format == TapeFormat::Labelled     ? 0
                               : request.format == TapeFormat::Unlabelled ? 1
                                                                          : 2;
}

void ApplyChosenFolder(TapeRestoreRequest& request, const Settings& settings) {
  request.destination = settings.TapeRestorePath;
}

RequestCheck CheckRestoreDestination(const std::string& destination) {
  // Changing into the folder is what the check asks; entering it needs a
  // folder with search permission. The process's current folder is left
  // alone.
  struct stat st {};
  if (!destination.empty() && ::stat(destination.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
      ::access(destination.c_str(), X_OK) == 0) {
    return {};
  }
  RequestCheck c;
  c.message = "The system cannot find the path specified.";
  c.field = RequestCheck::Field::Destination;
  c.select_length = destination.size();
  return c;
}

RequestCheck CheckFileSpecification(const std::string& spec, TapeFormat format) {
  const bool full = format != TapeFormat::Unlabelled;
  if (spec.size() < 3) return FileNameProblem(spec, "File specification is too short.");
  if (full && spec.size() > 10) return FileNameProblem(spec, "File specification is too long.");
  if (full) {
    for (std::size_t i = 0; i < spec.size(); ++i) {
      if (!IsSpecCharacter(spec[i])) return FileNameProblem(spec, "Invalid character specified.", i, 1);
    }
  }
  const std::size_t dot = spec.find('.');
  if (dot == std::string::npos) return FileNameProblem(spec, "File type not specified.");
  if (!full) return {};
  const std::string type = spec.substr(dot + 1);
  const bool type_wild = type.find('*') != std::string::npos;
  if (type.size() > 3 || (type.size() < 3 && !type_wild)) {
    return FileNameProblem(spec, "Invalid file type specified.");
  }
  if (!type_wild && !IsKelvoFileName(spec)) {
    return FileNameProblem(spec, "Invalid file type specified.");
  }
  if (dot > 6) return FileNameProblem(spec, "File name is too long.", 0, dot);
  return {};
}

RequestCheck CheckRestoreRequest(const TapeRestoreRequest& request) {
  RequestCheck c = CheckRestoreDestination(request.destination);
  if (!c.ok()) return c;
  return CheckFileSpecification(request.file_spec, request.format);
}

ErrorCode RunTapeRestoreRequest(const TapeContext& ctx, const TapeRestoreRequest& request,
                                const Settings& settings, TapeRestoreRun& run) {
  const TapeRestoreOptions from_settings = RestoreOptionsFromSettings(settings);
  switch (request.format) {
    case TapeFormat::Labelled: {
      TapeRestoreOptions options = from_settings;
      options.type_dirs = request.type_dirs;
      options.user_files_only = request.user_files_only;
      return RestoreLabelledTape(ctx, request.source_drive, request.destination, request.file_spec,
                                 {}, options, run.labelled_progress, run.labelled_report);
    }
    case TapeFormat::Qva: {
      QvaRestoreOptions options;
      options.user_files_only = request.user_files_only;
      options.type_dirs = request.type_dirs;
      options.retain_format = from_settings.retain_format;
      options.remove_line_numbers = from_settings.remove_line_numbers;
      return RestoreQvaTape(ctx, request.source_drive, request.destination, request.file_spec,
                            options, run.qva_progress, run.qva_report);
    }
    case TapeFormat::Unlabelled:
      return ERR_OK;
  }
  return ERR_OK;
}

}  // namespace kelvo

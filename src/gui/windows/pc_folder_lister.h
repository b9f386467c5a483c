// Reads one PC folder into file list rows: every file that is not a folder,
// only printer-form names unless "Show All File Types" is on.
#pragma once

#include <QString>
#include <vector>

#include "gui/windows/file_list_model.h"

namespace kelvo::gui {

struct PcFolderListing {
  std::vector<FileRow> rows;
  quint64 total_size = 0;
  quint64 free_space = 0;
};

PcFolderListing ListPcFolder(const QString& folder, bool show_all_types);

// The "Type" column text of a PC file.
QString PcTypeText(const QString& file_name);

}  // namespace kelvo::gui

// What the windows of kdisk share: the Interaction port, the settings, the
// transfer selection, and where the Open dialog starts.
#pragma once

#include <QString>
#include <QStringList>

#include "app/interaction.h"

namespace kelvo::gui {

// The settings the windows read and change while the program runs. They are
// loaded from the settings store at start-up and written back at exit.
struct ShellSettings {
  int main_left = 135, main_top = 82, main_width = 762, main_height = 560;
  bool maximized = false;
  int system_left = 0, system_top = 0, system_right = 640, system_bottom = 320;
  int system_cmd_show = 0;
  int name_width = 100, size_width = 75, type_width = 160, modified_width = 125;
  int file_view_width = 100, drive_view_width = 155;
  bool show_all_file_types = false;
  bool retain_tape_labels = false;
  int left_print_margin = 10, top_print_margin = 10;
  QString startup_directory;
  QString tape_restore_path;
  bool retain_mqs_format = false;
  int default_zoom = 50, zoom_increment = 5;
};

struct ShellContext {
  Interaction* ui = nullptr;
  ShellSettings settings;
  // The names the window where a drag started had selected, in list order.
  QStringList transfer_selection;
  QString last_open_directory;
  int last_open_filter_index = 0;
};

}  // namespace kelvo::gui

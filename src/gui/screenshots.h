// Pictures of the windows for the documentation, drawn without a person:
// every window is built with sample contents and grabbed into a PNG file.
#pragma once

#include <string>

namespace kestrel {

// Writes main_window.png, about_box.png, settings_<list>.png,
// rebuilder_dialog.png, rebuild_progress.png, merger_dialog.png,
// settings_software_lists.png, main_window_software_list.png and
// results_software_list.png into `folder`. With a datfile and the collection made from it (a folder with
// "roms/" and "samples/", ending with '/'), also scans that collection and
// writes scanner_dialog.png, progress_dialog.png, ask_dialog.png,
// statistics_window.png and results_window.png.
bool RenderScreenshots(const std::string& folder, const std::string& datfile = "",
                       const std::string& collection = "");

}  // namespace kestrel

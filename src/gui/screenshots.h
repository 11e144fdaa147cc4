// Pictures of the windows for the documentation, drawn without a person:
// every window is built with sample contents and grabbed into a PNG file.
#pragma once

#include <string>

namespace kestrel {

// Writes main_window.png, about_box.png, progress_dialog.png,
// ask_dialog.png, settings_<list>.png, rebuilder_dialog.png,
// rebuild_progress.png and merger_dialog.png into `folder`.
bool RenderScreenshots(const std::string& folder);

}  // namespace kestrel

// "Undo Last Run" and "Run History" of the main window: the desktop side of
// the undo journal every tool run keeps in the data folder.
#pragma once

#include <string>

class QWidget;

namespace kestrel {

class UserInterface;

// Names the last run not undone yet with its changes, asks, reverts it off
// the GUI thread and tells what was done, set aside and left. Says so when
// there is no run to undo.
void UndoLastRun(UserInterface* ui, const std::string& dataFolder);

// The runs on record, one line each, in a window that asks nothing.
void ShowRunHistory(QWidget* owner, const std::string& dataFolder);

}  // namespace kestrel

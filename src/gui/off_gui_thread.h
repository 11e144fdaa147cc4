// Long work off the GUI thread: the tool runs on a thread of its own while
// the GUI thread goes on turning its event loop, so the windows redraw,
// take input and answer the tool's questions. The caller still reads as
// before: the call returns once the work has ended.
#pragma once

#include <functional>
#include <thread>
#include <type_traits>

#include "gui/gui_thread_interface.h"

namespace kestrel {

// Runs `work` on a thread of its own and returns once it has ended; an
// exception it throws is thrown again here. Called on the GUI thread.
void RunOffGuiThread(const std::function<void()>& work);

// Whether the GUI thread is now waiting for work it handed to a worker: its
// event loop turns by itself then, and nothing needs to turn it by hand.
bool WaitingForWorker();

// Frees `value` on a thread of its own: freeing the million strings of a
// big scan's results takes longer than a redraw may.
template <class Value>
void FreeOffGuiThread(Value value) {
  std::thread([doomed = std::move(value)]() mutable { Value{std::move(doomed)}; }).detach();
}

// Runs a tool of the core on a worker thread; it talks to the user through
// `ui`, whose calls are carried out on the GUI thread. Returns the tool's
// result. The core is not built for two tools at once: the caller keeps
// the windows that would change the tool's inputs closed to the user.
template <class Tool>
auto RunToolOffGuiThread(UserInterface* ui, Tool tool) {
  GuiThreadInterface worker(ui);
  std::invoke_result_t<Tool, UserInterface*> result{};
  RunOffGuiThread([&] { result = tool(&worker); });
  return result;
}

}  // namespace kestrel

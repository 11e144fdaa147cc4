#include "gui/off_gui_thread.h"

#include <QEventLoop>
#include <atomic>
#include <exception>
#include <thread>

namespace kestrel {
namespace {

int waitingForWorker = 0;  // touched by the GUI thread only

}  // namespace

void RunOffGuiThread(const std::function<void()>& work) {
  QEventLoop loop;
  std::atomic<bool> done = false;
  std::exception_ptr failure;
  ++waitingForWorker;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    done = true;
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  // The loop may be ended early by others (the program quitting); the
  // worker may still need the GUI thread to answer it.
  while (!done) loop.exec();
  worker.join();
  --waitingForWorker;
  if (failure) std::rethrow_exception(failure);
}

bool WaitingForWorker() { return waitingForWorker > 0; }

}  // namespace kestrel

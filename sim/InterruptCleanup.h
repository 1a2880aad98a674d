// A script run ended by SIGINT, SIGTERM or SIGHUP would leave its temporary device root behind,
// since a signal's default action runs no destructor. While this object lives, those signals are
// taken by a thread of its own, which removes the folder it was given and then ends the process
// by the same signal, so the exit status still says what ended it. A signal the process was
// started with ignored stays ignored.
#pragma once

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace sim {

class InterruptCleanup {
 public:
  // Blocks the signals in the calling thread, and so in every thread it makes afterwards; to be
  // made before any other thread.
  InterruptCleanup();
  ~InterruptCleanup();
  InterruptCleanup(const InterruptCleanup&) = delete;
  InterruptCleanup& operator=(const InterruptCleanup&) = delete;

  // The folder to remove when a signal comes; "" for none.
  void removeOnInterrupt(std::string folder);

 private:
  void waitForSignals();

  sigset_t signals_;
  std::mutex mutex_;
  std::string folder_;
  std::atomic<bool> stopping_ = false;
  std::thread waiter_;
};

}  // namespace sim

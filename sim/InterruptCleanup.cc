#include "sim/InterruptCleanup.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace sim {

namespace {

// Wakes the waiting thread when this object goes; never sent to the process as a whole.
constexpr int kStopSignal = SIGUSR1;
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

}  // namespace

InterruptCleanup::InterruptCleanup() {
  sigemptyset(&signals_);
  for (int signal : kEndingSignals) sigaddset(&signals_, signal);
  sigaddset(&signals_, kStopSignal);
  pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
  waiter_ = std::thread([this] { waitForSignals(); });
}

InterruptCleanup::~InterruptCleanup() {
  stopping_ = true;
  pthread_kill(waiter_.native_handle(), kStopSignal);
  waiter_.join();
  pthread_sigmask(SIG_UNBLOCK, &signals_, nullptr);
}

void InterruptCleanup::removeOnInterrupt(std::string folder) {
  std::lock_guard lock(mutex_);
  folder_ = std::move(folder);
}

void InterruptCleanup::waitForSignals() {
  while (true) {
    int signal = 0;
    if (sigwait(&signals_, &signal) != 0) continue;
    if (signal == kStopSignal) {
      if (stopping_) return;
      continue;
    }
    std::string folder;
    {
      std::lock_guard lock(mutex_);
      folder = folder_;
    }
    // The run goes on meanwhile and may be writing a file into the folder; a second pass takes
    // what the first found too late.
    for (int pass = 0; pass < 3 && !folder.empty(); ++pass) {
      std::error_code error;
      std::filesystem::remove_all(folder, error);
      if (!std::filesystem::exists(folder, error)) break;
    }
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    _exit(128 + signal);  // reached only if the default action does not end the process
  }
}

}  // namespace sim

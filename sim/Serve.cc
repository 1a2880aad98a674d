// The playground's HTTP side: the page, and the session behind it, on 127.0.0.1 only.
#include <httplib.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <thread>

#include "Engine.h"
#include "Playground.h"
#include "PlaygroundPage.h"
#include "RequestPolicy.h"

namespace sim {

namespace {

// Marks a relaunched playground's device root as a temporary one it must remove at the end.
constexpr const char* kOwnsRootVariable = "GLIDEPAD_PLAYGROUND_OWNS_ROOT";
constexpr size_t kLargestRequest = 64 * 1024;

double wallMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

std::optional<std::string> header(const httplib::Request& request, const char* name) {
  if (!request.has_header(name)) return std::nullopt;
  return request.get_header_value(name);
}

double ageOf(const httplib::Request& request) {
  if (!request.has_param("age")) return 0;
  char* end = nullptr;
  std::string text = request.get_param_value("age");
  double age = std::strtod(text.c_str(), &end);
  return end != text.c_str() && std::isfinite(age) ? age : 0;
}

void relaunch(DeviceRoot& device, int port) {
  if (device.temporary()) setenv(kOwnsRootVariable, "1", 1);
  std::string portText = std::to_string(port);
  std::string root = device.path();
  char* args[] = {const_cast<char*>("glidepad-sim"),
                  const_cast<char*>("--root"),
                  root.data(),
                  const_cast<char*>("--serve"),
                  portText.data(),
                  nullptr};
  std::cout << "glidepad-sim: relaunching the playground" << std::endl;
  execv("/proc/self/exe", args);
  std::cerr << "glidepad-sim: cannot relaunch: " << std::strerror(errno) << "\n";
}

}  // namespace

int serve(DeviceRoot& device, int port) {
  if (const char* owns = std::getenv(kOwnsRootVariable); owns && std::string(owns) == "1") {
    device.setTemporary(true);
    unsetenv(kOwnsRootVariable);
  }
  // The signals are taken by a thread of their own, so that the server stops between requests.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGUSR1);
  // A shell starts background jobs with SIGINT ignored, and an ignored signal is never waited for.
  signal(SIGINT, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  std::mutex mutex;
  std::unique_ptr<Playground> playground;
  try {
    playground = std::make_unique<Playground>(device, wallMs());
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 2;
  }

  httplib::Server server;
  server.set_payload_max_length(kLargestRequest);
  server.set_keep_alive_timeout(2);
  std::atomic<bool> relaunchAsked = false;

  server.set_pre_routing_handler(
      [port](const httplib::Request& request, httplib::Response& response) {
        auto host = header(request, "Host");
        auto origin = header(request, "Origin");
        std::optional<std::string_view> hostView, originView;
        if (host) hostView = *host;
        if (origin) originView = *origin;
        if (requestAllowed(hostView, originView, port)) {
          return httplib::Server::HandlerResponse::Unhandled;
        }
        response.status = 403;
        response.set_content("refused: the playground answers pages of its own origin only\n",
                             "text/plain");
        return httplib::Server::HandlerResponse::Handled;
      });
  auto state = [&](const httplib::Request& request, httplib::Response& response) {
    std::lock_guard lock(mutex);
    playground->sync(wallMs(), ageOf(request));
    response.set_header("Cache-Control", "no-store");
    response.set_content(playground->stateJson(), "application/json");
  };
  server.Get("/", [](const httplib::Request&, httplib::Response& response) {
    response.set_header("Cache-Control", "no-store");
    response.set_content(playgroundPage(), "text/html; charset=utf-8");
  });
  server.Get("/state", state);
  server.Post("/tick", state);
  server.Post("/command", [&](const httplib::Request& request, httplib::Response& response) {
    std::lock_guard lock(mutex);
    playground->sync(wallMs(), ageOf(request));
    std::string problem = playground->command(request.body);
    if (!problem.empty()) response.status = 400;
    std::string json = playground->stateJson(problem);
    response.set_header("Cache-Control", "no-store");
    response.set_content(json, "application/json");
  });
  server.Get("/snapshot.svg", [&](const httplib::Request&, httplib::Response& response) {
    std::lock_guard lock(mutex);
    playground->sync(wallMs());
    response.set_header("Cache-Control", "no-store");
    response.set_content(playground->snapshotSvg(), "image/svg+xml");
  });
  server.Get("/session.script", [&](const httplib::Request&, httplib::Response& response) {
    std::lock_guard lock(mutex);
    playground->sync(wallMs());
    response.set_header("Cache-Control", "no-store");
    response.set_header("Content-Disposition", "attachment; filename=\"playground.session\"");
    response.set_content(playground->sessionScript(), "text/plain; charset=utf-8");
  });
  server.Post("/relaunch", [&](const httplib::Request&, httplib::Response& response) {
    relaunchAsked = true;
    response.set_content("{\"relaunching\":true}", "application/json");
    server.stop();
  });

  if (!server.bind_to_port("127.0.0.1", port)) {
    std::cerr << "glidepad-sim: cannot listen on 127.0.0.1:" << port << "\n";
    return 2;
  }
  std::thread signalWaiter([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    if (signal == SIGUSR1) return;
    while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    server.stop();
  });
  std::cout << "glidepad-sim: the playground is at http://127.0.0.1:" << port << "/ (device root "
            << device.path() << "); Ctrl-C stops it" << std::endl;
  server.listen_after_bind();
  if (!relaunchAsked) std::cout << "glidepad-sim: the playground stopped" << std::endl;
  pthread_kill(signalWaiter.native_handle(), SIGUSR1);
  signalWaiter.join();
  if (relaunchAsked) {
    playground.reset();
    relaunch(device, port);
    return 2;
  }
  return 0;
}

}  // namespace sim

// The playground's HTTP side: the page, and the session behind it, on 127.0.0.1 only.
#include "sim/Serve.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <thread>

#include "sim/Engine.h"
#include "sim/HttpServer.h"
#include "sim/Playground.h"
#include "sim/PlaygroundPage.h"
#include "sim/RequestPolicy.h"
#include "sim/SettingsTableJson.h"

namespace sim {

namespace {

// Marks a relaunched playground's device root as a temporary one it must remove at the end.
constexpr const char* kOwnsRootVariable = "GLIDEPAD_PLAYGROUND_OWNS_ROOT";

double wallMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

HttpResponse text(int status, std::string body) {
  return {status, "text/plain; charset=utf-8", std::move(body), {}, false};
}

HttpResponse fresh(std::string type, std::string body) {
  return {200, std::move(type), std::move(body), {{"Cache-Control", "no-store"}}, false};
}

// What a route answers from, once the request passed the policy.
struct Exchange {
  Playground& playground;
  const HttpRequest& request;
  double age;  // milliseconds before now that the page saw the event
};

HttpResponse state(Exchange& e) {
  e.playground.sync(wallMs(), e.age);
  return fresh("application/json", e.playground.stateJson());
}

HttpResponse command(Exchange& e) {
  e.playground.sync(wallMs(), e.age);
  std::string problem = e.playground.command(e.request.body);
  HttpResponse response = fresh("application/json", e.playground.stateJson(problem));
  if (!problem.empty()) response.status = 400;
  return response;
}

HttpResponse snapshot(Exchange& e) {
  e.playground.sync(wallMs());
  return fresh("image/svg+xml", e.playground.snapshotSvg());
}

HttpResponse sessionScript(Exchange& e) {
  e.playground.sync(wallMs());
  HttpResponse response = fresh("text/plain; charset=utf-8", e.playground.sessionScript());
  response.headers.emplace_back("Content-Disposition",
                                "attachment; filename=\"playground.session\"");
  return response;
}

HttpResponse stopForRelaunch(Exchange&) {
  HttpResponse response = fresh("application/json", "{\"relaunching\":true}");
  response.stopsServer = true;
  return response;
}

HttpResponse settingsTable(Exchange&) { return fresh("application/json", settingsTableJson()); }

struct Route {
  std::string_view method, path;
  HttpResponse (*answer)(Exchange&);
};

constexpr Route kRoutes[] = {
    {"GET", "/state", state},
    {"GET", "/settings-table", settingsTable},
    {"POST", "/tick", state},
    {"POST", "/command", command},
    {"GET", "/snapshot.svg", snapshot},
    {"GET", "/session.script", sessionScript},
    {"POST", "/relaunch", stopForRelaunch},
};

// The session's answers to the page. The server calls it on one thread, one request at a time.
HttpResponse route(Playground& playground, const HttpRequest& request, int port) {
  std::optional<std::string_view> host, origin;
  if (request.host) host = *request.host;
  if (request.origin) origin = *request.origin;
  if (!requestAllowed(host, origin, port)) {
    return text(403, "refused: the playground answers pages of its own origin only\n");
  }
  Exchange exchange{playground, request, 0};
  if (auto given = request.queryValue("age")) {
    auto parsed = requestAge(*given);
    if (!parsed) return text(400, "refused: expected an age in milliseconds from 0 to 86400000\n");
    exchange.age = *parsed;
  }
  for (const auto& known : kRoutes) {
    if (request.method == known.method && request.path == known.path) return known.answer(exchange);
  }
  if (request.method == "GET") {
    if (auto file = playgroundFile(request.path)) {
      return fresh(std::string(file->type), std::string(file->body));
    }
  }
  return text(404, "not found\n");
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

  std::unique_ptr<Playground> playground;
  bool relaunchAsked = false;
  auto server = std::make_unique<HttpServer>([&](const HttpRequest& request) {
    HttpResponse response = route(*playground, request, port);
    relaunchAsked = relaunchAsked || response.stopsServer;
    // No page of another site may show this one in a frame, where it could be clicked unseen; and
    // the page takes its scripts, styles and requests from this server alone.
    response.headers.emplace_back("X-Frame-Options", "DENY");
    response.headers.emplace_back("Content-Security-Policy",
                                  "default-src 'self'; img-src 'self' data:; base-uri 'none'; "
                                  "form-action 'none'; frame-ancestors 'none'");
    response.headers.emplace_back("X-Content-Type-Options", "nosniff");
    return response;
  });
  // The port comes first: a playground that cannot be reached says so before it starts the app.
  if (std::string problem = server->listen(port); !problem.empty()) {
    std::cerr << "glidepad-sim: cannot listen on 127.0.0.1:" << port << ": " << problem << "\n";
    return 2;
  }
  try {
    playground = std::make_unique<Playground>(device, wallMs());
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 2;
  }

  std::thread signalWaiter([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    if (signal != SIGUSR1) server->stop();
  });
  std::cout << "glidepad-sim: the playground is at http://127.0.0.1:" << port << "/ (device root "
            << device.path() << "); Ctrl-C stops it" << std::endl;
  server->run();
  if (!relaunchAsked) std::cout << "glidepad-sim: the playground stopped" << std::endl;
  pthread_kill(signalWaiter.native_handle(), SIGUSR1);
  signalWaiter.join();
  if (relaunchAsked) {
    server.reset();  // its sockets go before the new process binds the port
    playground.reset();
    relaunch(device, port);
    return 2;
  }
  return 0;
}

}  // namespace sim

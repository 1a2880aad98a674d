#include "sim/HttpServer.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <unordered_map>

namespace sim {

using Clock = std::chrono::steady_clock;

// The daemon and what the server keeps per connection. libmicrohttpd calls back on run()'s thread
// only (no polling thread of its own), so none of this needs a lock.
struct HttpServer::Daemon {
  HttpServer& server;
  MHD_Daemon* mhd = nullptr;
  int listenSocket = -1;  // ours until the daemon takes it
  // By when each connection's request must have arrived; none while a request is being answered.
  std::unordered_map<MHD_Connection*, std::optional<Clock::time_point>> deadlines;
  bool stopping = false;

  explicit Daemon(HttpServer& s) : server(s) {}
  ~Daemon() {
    if (mhd)
      MHD_stop_daemon(mhd);  // closes the listening socket too
    else if (listenSocket >= 0)
      close(listenSocket);
  }

  static MHD_Result answer(void* cls, MHD_Connection* connection, const char* url,
                           const char* method, const char* version, const char* upload,
                           size_t* uploadSize, void** context);
  static void completed(void* cls, MHD_Connection* connection, void** context,
                        MHD_RequestTerminationCode code);
  static void notified(void* cls, MHD_Connection* connection, void** socketContext,
                       MHD_ConnectionNotificationCode code);
};

namespace {

// One request as it arrives, from its headers to the end of its body.
struct Arriving {
  HttpRequest request;
  bool stopsServer = false;
};

MHD_Result queue(MHD_Connection* connection, const HttpResponse& r) {
  MHD_Response* response = MHD_create_response_from_buffer(
      r.body.size(), const_cast<char*>(r.body.data()), MHD_RESPMEM_MUST_COPY);
  if (!response) return MHD_NO;
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, r.contentType.c_str());
  for (const auto& [name, value] : r.headers) {
    MHD_add_response_header(response, name.c_str(), value.c_str());
  }
  MHD_Result result = MHD_queue_response(connection, static_cast<unsigned>(r.status), response);
  MHD_destroy_response(response);
  return result;
}

HttpResponse tooLarge(const HttpLimits& limits) {
  return {413,
          "text/plain; charset=utf-8",
          "refused: a request body holds at most " + std::to_string(limits.bodyBytes) + " bytes\n",
          {},
          false};
}

// A Content-Length above `limit`, or one that is no number at all.
bool declaresMoreThan(MHD_Connection* connection, size_t limit) {
  const char* text =
      MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
  if (!text) return false;
  uint64_t length = 0;
  const char* end = text + std::strlen(text);
  auto [stop, error] = std::from_chars(text, end, length);
  return error != std::errc() || stop != end || length > limit;
}

HttpRequest requestOf(MHD_Connection* connection, const char* url, const char* method) {
  HttpRequest request;
  request.method = std::strcmp(method, MHD_HTTP_METHOD_HEAD) == 0 ? "GET" : method;
  request.path = url;
  if (const char* host = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "Host")) {
    request.host = host;
  }
  if (const char* origin = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "Origin")) {
    request.origin = origin;
  }
  MHD_get_connection_values(
      connection, MHD_GET_ARGUMENT_KIND,
      [](void* cls, MHD_ValueKind, const char* key, const char* value) {
        static_cast<HttpRequest*>(cls)->query.emplace_back(key, value ? value : "");
        return MHD_YES;
      },
      &request);
  return request;
}

}  // namespace

MHD_Result HttpServer::Daemon::answer(void* cls, MHD_Connection* connection, const char* url,
                                      const char* method, const char*, const char* upload,
                                      size_t* uploadSize, void** context) {
  auto& daemon = *static_cast<Daemon*>(cls);
  const HttpLimits& limits = daemon.server.limits_;
  auto* arriving = static_cast<Arriving*>(*context);
  if (!arriving) {  // the headers are in; the body, if any, follows
    if (declaresMoreThan(connection, limits.bodyBytes)) return queue(connection, tooLarge(limits));
    *context = arriving = new Arriving{requestOf(connection, url, method)};
    return MHD_YES;
  }
  if (*uploadSize != 0) {
    if (arriving->request.body.size() + *uploadSize > limits.bodyBytes) {
      // A body that said nothing of its length (chunked) is over the limit: the daemon takes no
      // answer in the middle of a body, so the connection is closed instead of read on.
      return MHD_NO;
    }
    arriving->request.body.append(upload, *uploadSize);
    *uploadSize = 0;
    return MHD_YES;
  }
  HttpResponse response;
  try {
    response = daemon.server.handler_(arriving->request);
  } catch (const std::exception& error) {
    response = {500, "text/plain; charset=utf-8", std::string(error.what()) + "\n", {}, false};
  }
  arriving->stopsServer = response.stopsServer;
  daemon.deadlines[connection].reset();
  return queue(connection, response);
}

void HttpServer::Daemon::completed(void* cls, MHD_Connection* connection, void** context,
                                   MHD_RequestTerminationCode code) {
  auto& daemon = *static_cast<Daemon*>(cls);
  auto* arriving = static_cast<Arriving*>(*context);
  *context = nullptr;
  if (code == MHD_REQUEST_TERMINATED_COMPLETED_OK) {
    // A connection kept alive has as long for its next request as a new one has for its first.
    auto found = daemon.deadlines.find(connection);
    if (found != daemon.deadlines.end()) {
      found->second = Clock::now() + daemon.server.limits_.receiveTime;
    }
  }
  // Sent or not (the client may have gone), a response that stops the server has been given.
  if (arriving && arriving->stopsServer) daemon.stopping = true;
  delete arriving;
}

void HttpServer::Daemon::notified(void* cls, MHD_Connection* connection, void**,
                                  MHD_ConnectionNotificationCode code) {
  auto& daemon = *static_cast<Daemon*>(cls);
  if (code == MHD_CONNECTION_NOTIFY_STARTED) {
    daemon.deadlines[connection] = Clock::now() + daemon.server.limits_.receiveTime;
  } else {
    daemon.deadlines.erase(connection);
  }
}

std::optional<std::string> HttpRequest::queryValue(const std::string& name) const {
  for (const auto& [key, value] : query) {
    if (key == name) return value;
  }
  return std::nullopt;
}

HttpServer::HttpServer(Handler handler, HttpLimits limits)
    : handler_(std::move(handler)), limits_(limits), stopEvent_(eventfd(0, EFD_CLOEXEC)) {}

HttpServer::~HttpServer() {
  daemon_.reset();
  if (stopEvent_ >= 0) close(stopEvent_);
}

std::string HttpServer::listen(int port) {
  daemon_ = std::make_unique<Daemon>(*this);
  int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (s < 0) return std::strerror(errno);
  daemon_->listenSocket = s;
  // SO_REUSEADDR lets a restarted server bind over its predecessor's closed connections (TIME_WAIT)
  // but never over a socket that listens; SO_REUSEPORT, which would, is never set.
  int on = 1;
  setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(s, 64) != 0) {
    return std::strerror(errno);
  }
  socklen_t length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  daemon_->mhd = MHD_start_daemon(
      MHD_USE_EPOLL, 0, nullptr, nullptr, &Daemon::answer, daemon_.get(), MHD_OPTION_LISTEN_SOCKET,
      s, MHD_OPTION_CONNECTION_MEMORY_LIMIT, limits_.headerBytes, MHD_OPTION_CONNECTION_LIMIT,
      limits_.connections, MHD_OPTION_CONNECTION_TIMEOUT, limits_.idleSeconds,
      MHD_OPTION_NOTIFY_COMPLETED, &Daemon::completed, daemon_.get(), MHD_OPTION_NOTIFY_CONNECTION,
      &Daemon::notified, daemon_.get(), MHD_OPTION_END);
  if (!daemon_->mhd) return "libmicrohttpd does not start";
  return "";
}

void HttpServer::run() {
  if (!daemon_ || !daemon_->mhd) return;
  Daemon& d = *daemon_;
  int events = MHD_get_daemon_info(d.mhd, MHD_DAEMON_INFO_EPOLL_FD)->epoll_fd;
  while (!d.stopping) {
    auto now = Clock::now();
    long long wait = -1;
    MHD_UNSIGNED_LONG_LONG daemonWait = 0;
    if (MHD_get_timeout(d.mhd, &daemonWait) == MHD_YES) {
      wait = static_cast<long long>(std::min<MHD_UNSIGNED_LONG_LONG>(daemonWait, INT_MAX));
    }
    for (const auto& [connection, deadline] : d.deadlines) {
      if (!deadline) continue;
      auto due = std::chrono::ceil<std::chrono::milliseconds>(*deadline - now).count();
      due = std::max<long long>(due, 0);
      if (wait < 0 || due < wait) wait = due;
    }
    pollfd watched[] = {{events, POLLIN, 0}, {stopEvent_, POLLIN, 0}};
    if (poll(watched, 2, static_cast<int>(wait)) < 0 && errno != EINTR) break;
    if (watched[1].revents != 0) break;
    MHD_run(d.mhd);
    // A request that takes too long to arrive loses its connection. Shutting the socket down
    // (rather than closing it) leaves it to the daemon, which sees the end of the stream at its
    // next run and closes the connection in its own order.
    now = Clock::now();
    for (auto& [connection, deadline] : d.deadlines) {
      if (!deadline || *deadline > now) continue;
      deadline.reset();
      const MHD_ConnectionInfo* info =
          MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
      if (info) shutdown(info->connect_fd, SHUT_RDWR);
    }
  }
}

void HttpServer::stop() {
  uint64_t one = 1;
  [[maybe_unused]] ssize_t written = write(stopEvent_, &one, sizeof one);
}

}  // namespace sim

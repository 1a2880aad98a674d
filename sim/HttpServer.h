// The playground's HTTP server: libmicrohttpd on one thread of the caller's, on 127.0.0.1 only,
// with every request bounded in size and in the time it takes to arrive, so that no client can
// hold the server's memory or keep others from being answered.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sim {

struct HttpRequest {
  std::string method;  // "HEAD" arrives as "GET": the server leaves the body out itself
  std::string path;
  std::optional<std::string> host;                         // the Host header, when there is one
  std::optional<std::string> origin;                       // the Origin header, when there is one
  std::vector<std::pair<std::string, std::string>> query;  // decoded, in order
  std::string body;

  // The first query value named `name`.
  std::optional<std::string> queryValue(const std::string& name) const;
};

struct HttpResponse {
  int status = 200;
  std::string contentType = "text/plain; charset=utf-8";
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
  bool stopsServer = false;  // run() returns once this response has been sent (or has failed)
};

struct HttpLimits {
  // The request line and the headers together, and the server's own bookkeeping of them, per
  // connection: libmicrohttpd keeps them in one pool of this size, and answers 431 past it.
  size_t headerBytes = 64 * 1024;
  size_t bodyBytes = 64 * 1024;  // past it, 413; a chunked body is counted as it arrives
  unsigned connections = 64;
  // From a connection's start, or from the end of its last response, to a whole request: a
  // client that sends its request more slowly is cut off, however often it sends a byte.
  std::chrono::milliseconds receiveTime{10000};
  unsigned idleSeconds = 5;  // a connection with no traffic for this long is closed
};

class HttpServer {
 public:
  // The handler runs on the thread that calls run(), one request at a time.
  using Handler = std::function<HttpResponse(const HttpRequest&)>;

  explicit HttpServer(Handler handler, HttpLimits limits = {});
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Listens on 127.0.0.1:PORT (0: any free port) and no other socket may share the port; answers
  // "" or why it cannot, such as "address already in use".
  std::string listen(int port);
  int port() const { return port_; }

  // Serves on this thread until stop() is called or a response that stops the server is sent.
  void run();
  // From any thread, before or during run(): run() returns soon after.
  void stop();

 private:
  struct Daemon;

  Handler handler_;
  HttpLimits limits_;
  int port_ = 0;
  int stopEvent_ = -1;  // an eventfd that run() polls along with the daemon
  std::unique_ptr<Daemon> daemon_;
};

}  // namespace sim

// The playground's HTTP server under raw requests over a socket: its bounds and its port. What the
// playground process answers through it is checked by tests/scenarios/serve.sh.
#include "sim/HttpServer.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

int connectTo(int port) {
  int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(s);
    return -1;
  }
  timeval timeout{3, 0};
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  return s;
}

void sendAll(int s, const std::string& data) {
  for (size_t sent = 0; sent < data.size();) {
    ssize_t n = send(s, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;  // the server has closed the connection
    sent += static_cast<size_t>(n);
  }
}

// Reads until the server closes the connection (every request here asks it to, or is cut off).
std::string readAll(int s) {
  std::string out;
  char buffer[4096];
  ssize_t n;
  while ((n = recv(s, buffer, sizeof buffer, 0)) > 0) out.append(buffer, static_cast<size_t>(n));
  return out;
}

std::string roundTrip(int port, const std::string& request) {
  int s = connectTo(port);
  sendAll(s, request);
  std::string response = readAll(s);
  close(s);
  return response;
}

int statusOf(const std::string& response) {
  return response.rfind("HTTP/1.1 ", 0) == 0 ? std::stoi(response.substr(9, 3)) : 0;
}

std::string requestWith(const std::string& headers, const std::string& body = "") {
  return "POST /echo HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" + headers + "\r\n" +
         body;
}

// A server on a free port, serving on a thread of its own; each answer is the body's size.
class Running {
 public:
  explicit Running(sim::HttpLimits limits)
      : server_(
            [this](const sim::HttpRequest& request) {
              largestBody_ = std::max(largestBody_.load(), request.body.size());
              return sim::HttpResponse{
                  200, "text/plain", std::to_string(request.body.size()), {}, false};
            },
            limits) {
    EXPECT_EQ(server_.listen(0), "");
    thread_ = std::thread([this] { server_.run(); });
  }
  ~Running() {
    server_.stop();
    thread_.join();
  }
  int port() const { return server_.port(); }
  size_t largestBody() const { return largestBody_; }  // read once the requests are answered

 private:
  std::atomic<size_t> largestBody_ = 0;
  sim::HttpServer server_;
  std::thread thread_;
};

TEST(HttpServer, BoundsTheBodyExactlyChunkedOrNotAndTheHeaders) {
  sim::HttpLimits limits;
  limits.bodyBytes = 1000;
  Running server(limits);
  std::string full(1000, 'x');
  auto chunked = [](const std::vector<size_t>& sizes) {
    std::string body;
    for (size_t size : sizes) {
      char length[16];
      std::snprintf(length, sizeof length, "%zx\r\n", size);
      body += length + std::string(size, 'x') + "\r\n";
    }
    return requestWith("Transfer-Encoding: chunked\r\n", body + "0\r\n\r\n");
  };

  std::string answer = roundTrip(server.port(), requestWith("Content-Length: 1000\r\n", full));
  EXPECT_EQ(statusOf(answer), 200);
  EXPECT_EQ(answer.substr(answer.size() - 4), "1000");
  EXPECT_EQ(statusOf(roundTrip(server.port(), requestWith("Content-Length: 1001\r\n", full + "x"))),
            413);
  EXPECT_EQ(statusOf(roundTrip(server.port(), requestWith("Content-Length: 300000000\r\n"))), 413);
  EXPECT_EQ(statusOf(roundTrip(server.port(), chunked({600, 400}))), 200);
  // A chunked body says nothing of its length up front: past the limit, its connection is closed.
  EXPECT_EQ(statusOf(roundTrip(server.port(), chunked({600, 401}))), 0);

  std::string headers;
  for (int i = 0; i < 20000; ++i) headers += "X-Header-" + std::to_string(i) + ": y\r\n";
  EXPECT_EQ(statusOf(roundTrip(server.port(), requestWith(headers))), 431);
  EXPECT_EQ(server.largestBody(), 1000u);
}

TEST(HttpServer, CutsOffRequestsThatArriveTooSlowlyAndAnswersOthersMeanwhile) {
  sim::HttpLimits limits;
  limits.receiveTime = milliseconds(300);
  Running server(limits);
  auto start = Clock::now();
  auto since = [&] { return std::chrono::duration_cast<milliseconds>(Clock::now() - start); };

  // Eight clients trickle a header line every 40 ms, never idle long enough to time out. The
  // ninth sends a whole request at 200 ms and then trickles its next one on the same connection.
  std::vector<int> slow;
  std::vector<milliseconds> cutAt(9, milliseconds::max());
  for (int i = 0; i < 9; ++i) {
    slow.push_back(connectTo(server.port()));
    if (i < 8) sendAll(slow.back(), "GET /slow HTTP/1.1\r\nHost: 127.0.0.1\r\n");
  }
  for (int step = 1; step <= 20; ++step) {
    std::this_thread::sleep_for(milliseconds(40));
    for (size_t i = 0; i < slow.size(); ++i) {
      if (cutAt[i] != milliseconds::max() || (i == 8 && step <= 5)) continue;
      pollfd p{slow[i], POLLIN, 0};
      char byte;
      if (poll(&p, 1, 0) == 1 && recv(slow[i], &byte, 1, MSG_DONTWAIT) <= 0) {
        cutAt[i] = since();
      } else {
        sendAll(slow[i], "X-Slow-" + std::to_string(step) + ": y\r\n");
      }
    }
    if (step == 5) {
      sendAll(slow[8], "GET /kept HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
      char buffer[512];
      EXPECT_GT(recv(slow[8], buffer, sizeof buffer, 0), 0);
      sendAll(slow[8], "GET /kept HTTP/1.1\r\nHost: 127.0.0.1\r\n");
    }
    if (step % 5 == 0) {
      auto asked = Clock::now();
      EXPECT_EQ(statusOf(roundTrip(server.port(), requestWith(""))), 200) << step;
      EXPECT_LT(Clock::now() - asked, milliseconds(300)) << step;
    }
  }
  for (size_t i = 0; i < slow.size(); ++i) {
    milliseconds due = i < 8 ? milliseconds(300) : milliseconds(500);
    EXPECT_GE(cutAt[i], due) << i;
    EXPECT_LT(cutAt[i], due + milliseconds(250)) << i;
    close(slow[i]);
  }
}

}  // namespace

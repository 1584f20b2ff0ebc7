// A scripted HTTP/1.1 server on 127.0.0.1 for tests: it answers each request from a route
// table or a handler, can misbehave on purpose (short bodies, dropped or held connections)
// and records what it received. It also serves as a proxy: a proxied request simply carries
// the absolute address as its target.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace nimbalo::test {

// Where a response waits for HttpTestServer::Release (or the server's end, at most
// HttpTestServer::HoldLimit).
enum class HoldPoint { None, BeforeResponse, AfterBody };

struct HttpTestResponse {
  int status = 200;
  std::vector<std::pair<std::string, std::string>> headers;  // besides Content-Length
  std::string body;
  // Announced instead of the body's size; a longer announcement makes the server close the
  // connection after the body it has.
  std::optional<std::size_t> contentLength;
  bool sendContentLength = true;  // false: the body ends with the connection
  HoldPoint hold = HoldPoint::None;
  bool dropConnection = false;  // close without answering

  static HttpTestResponse Text(int status, std::string body,
                               std::string contentType = "text/plain");
  static HttpTestResponse Redirect(int status, std::string location);
};

struct HttpTestRequest {
  std::string method;
  std::string target;  // as on the request line: a path, or an absolute address for a proxy
  std::vector<std::pair<std::string, std::string>> headers;
  int connection = 0;  // which connection it came on, counting from 1

  // The first value of the header (name case-insensitive); nullopt when absent.
  std::optional<std::string> Header(std::string_view name) const;
};

class HttpTestServer {
 public:
  using Handler = std::function<HttpTestResponse(const HttpTestRequest&)>;
  static constexpr std::chrono::seconds HoldLimit{20};

  HttpTestServer();  // listening when it returns
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  int Port() const { return port_; }
  std::string Url(const std::string& path) const;  // "http://127.0.0.1:<port>" + path

  // Answers requests for `target` with `response`.
  void Serve(const std::string& target, HttpTestResponse response);
  // Answers requests that have no route (called on a server thread); without it: 404.
  void SetHandler(Handler handler);
  // Lets every response held so far go on.
  void Release();

  std::vector<HttpTestRequest> Requests() const;
  std::size_t RequestCount() const;
  int ConnectionCount() const;
  // Held responses whose client closed the connection while they waited.
  int AbandonedCount() const;

  // Checks `condition` until it holds or `bound` passes; its last result.
  static bool WaitUntil(const std::function<bool()>& condition,
                        std::chrono::milliseconds bound = std::chrono::seconds(10));

 private:
  void AcceptLoop();
  void ServeConnection(int fd, int number);
  bool ReadRequest(int fd, std::string& buffer, HttpTestRequest& request);
  HttpTestResponse ResponseFor(const HttpTestRequest& request);
  bool Hold(int fd);
  void CloseConnection(int fd);

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> releases_{0};
  std::thread acceptor_;

  mutable std::mutex mutex_;
  std::map<std::string, HttpTestResponse> routes_;
  Handler handler_;
  std::vector<HttpTestRequest> requests_;
  std::vector<std::thread> connections_;
  std::set<int> openSockets_;
  int connectionCount_ = 0;
  int abandoned_ = 0;
};

// A 127.0.0.1 port that nothing listens on.
int UnusedLocalPort();

}  // namespace nimbalo::test

#include "tests/support/http_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <system_error>

namespace nimbalo::test {

namespace {

constexpr int PollSliceMs = 20;

std::string ReasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 206:
      return "Partial Content";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 404:
      return "Not Found";
    case 407:
      return "Proxy Authentication Required";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::string Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

bool SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

int BoundLoopbackSocket(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::system_error(errno, std::generic_category(), "socket");
  const int yes = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    const int error = errno;
    ::close(fd);
    throw std::system_error(error, std::generic_category(), "bind");
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

HttpTestResponse HttpTestResponse::Text(int status, std::string body, std::string contentType) {
  HttpTestResponse response;
  response.status = status;
  response.body = std::move(body);
  response.headers.emplace_back("Content-Type", std::move(contentType));
  return response;
}

HttpTestResponse HttpTestResponse::Redirect(int status, std::string location) {
  HttpTestResponse response;
  response.status = status;
  response.headers.emplace_back("Location", std::move(location));
  return response;
}

std::optional<std::string> HttpTestRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (EqualsIgnoringCase(key, name)) return value;
  return std::nullopt;
}

HttpTestServer::HttpTestServer() {
  listener_ = BoundLoopbackSocket(port_);
  if (::listen(listener_, 16) != 0) {
    const int error = errno;
    ::close(listener_);
    throw std::system_error(error, std::generic_category(), "listen");
  }
  acceptor_ = std::thread(&HttpTestServer::AcceptLoop, this);
}

HttpTestServer::~HttpTestServer() {
  stopping_ = true;
  acceptor_.join();
  std::vector<std::thread> connections;
  {
    std::lock_guard lock(mutex_);
    // Wakes connections blocked in send or recv.
    for (const int fd : openSockets_)
      ::shutdown(fd, SHUT_RDWR);
    connections.swap(connections_);
  }
  for (auto& connection : connections)
    connection.join();
  ::close(listener_);
}

std::string HttpTestServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void HttpTestServer::Serve(const std::string& target, HttpTestResponse response) {
  std::lock_guard lock(mutex_);
  routes_[target] = std::move(response);
}

void HttpTestServer::SetHandler(Handler handler) {
  std::lock_guard lock(mutex_);
  handler_ = std::move(handler);
}

void HttpTestServer::Release() {
  ++releases_;
}

std::vector<HttpTestRequest> HttpTestServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::size_t HttpTestServer::RequestCount() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

int HttpTestServer::ConnectionCount() const {
  std::lock_guard lock(mutex_);
  return connectionCount_;
}

int HttpTestServer::AbandonedCount() const {
  std::lock_guard lock(mutex_);
  return abandoned_;
}

bool HttpTestServer::WaitUntil(const std::function<bool()>& condition,
                               std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void HttpTestServer::AcceptLoop() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, PollSliceMs) <= 0) continue;
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    std::lock_guard lock(mutex_);
    openSockets_.insert(fd);
    connections_.emplace_back(&HttpTestServer::ServeConnection, this, fd, ++connectionCount_);
  }
}

bool HttpTestServer::ReadRequest(int fd, std::string& buffer, HttpTestRequest& request) {
  std::size_t headEnd;
  char chunk[4096];
  while ((headEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
    pollfd waiting{fd, POLLIN, 0};
    if (stopping_) return false;
    if (::poll(&waiting, 1, PollSliceMs) <= 0) continue;
    const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) return false;
    buffer.append(chunk, static_cast<std::size_t>(n));
  }
  const std::string head = buffer.substr(0, headEnd);
  buffer.erase(0, headEnd + 4);

  std::size_t lineEnd = head.find("\r\n");
  const std::string requestLine = head.substr(0, lineEnd);
  const std::size_t firstBlank = requestLine.find(' ');
  const std::size_t secondBlank = requestLine.find(' ', firstBlank + 1);
  if (firstBlank == std::string::npos || secondBlank == std::string::npos) return false;
  request.method = requestLine.substr(0, firstBlank);
  request.target = requestLine.substr(firstBlank + 1, secondBlank - firstBlank - 1);
  while (lineEnd != std::string::npos) {
    const std::size_t start = lineEnd + 2;
    lineEnd = head.find("\r\n", start);
    const std::string line =
        head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos)
      request.headers.emplace_back(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)));
  }

  // A request body is read and dropped.
  const std::size_t bodySize = std::stoul(request.Header("Content-Length").value_or("0"));
  while (buffer.size() < bodySize) {
    const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) return false;
    buffer.append(chunk, static_cast<std::size_t>(n));
  }
  buffer.erase(0, bodySize);
  return true;
}

HttpTestResponse HttpTestServer::ResponseFor(const HttpTestRequest& request) {
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    if (const auto route = routes_.find(request.target); route != routes_.end())
      return route->second;
    handler = handler_;
  }
  return handler ? handler(request) : HttpTestResponse::Text(404, "no route");
}

bool HttpTestServer::Hold(int fd) {
  const int releasesAtStart = releases_;
  const auto deadline = std::chrono::steady_clock::now() + HoldLimit;
  while (releases_ == releasesAtStart && !stopping_ &&
         std::chrono::steady_clock::now() < deadline) {
    pollfd waiting{fd, POLLIN, 0};
    if (::poll(&waiting, 1, PollSliceMs) <= 0) continue;
    char probe;
    const ssize_t n = ::recv(fd, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) {
      std::lock_guard lock(mutex_);
      ++abandoned_;
      return false;
    }
    if (n > 0) std::this_thread::sleep_for(std::chrono::milliseconds(PollSliceMs));
  }
  return !stopping_;
}

void HttpTestServer::ServeConnection(int fd, int number) {
  std::string buffer;
  for (;;) {
    HttpTestRequest request;
    request.connection = number;
    if (!ReadRequest(fd, buffer, request)) break;
    const HttpTestResponse response = ResponseFor(request);
    if (response.dropConnection) break;
    if (response.hold == HoldPoint::BeforeResponse && !Hold(fd)) break;

    const std::size_t announced = response.contentLength.value_or(response.body.size());
    const auto connectionHeader = request.Header("Connection");
    const bool close = !response.sendContentLength || announced > response.body.size() ||
                       (connectionHeader && EqualsIgnoringCase(*connectionHeader, "close"));
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " +
                       ReasonPhrase(response.status) + "\r\n";
    for (const auto& [name, value] : response.headers)
      head += name + ": " + value + "\r\n";
    if (response.sendContentLength) head += "Content-Length: " + std::to_string(announced) + "\r\n";
    if (close) head += "Connection: close\r\n";
    head += "\r\n";
    if (!SendAll(fd, head) || !SendAll(fd, response.body)) break;
    if (response.hold == HoldPoint::AfterBody) {
      Hold(fd);
      break;
    }
    if (close) break;
  }
  CloseConnection(fd);
}

void HttpTestServer::CloseConnection(int fd) {
  std::lock_guard lock(mutex_);
  openSockets_.erase(fd);
  ::close(fd);
}

int UnusedLocalPort() {
  int port = 0;
  ::close(BoundLoopbackSocket(port));
  return port;
}

}  // namespace nimbalo::test

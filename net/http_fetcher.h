// The program's HTTP download component: one GET per Fetch on a worker thread, its outcome
// reported as exactly one event on the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/dispatcher.h"

namespace nimbalo {

// Cache options, one bit each. Only coPragmaNoCache changes the request ("Pragma: no-cache");
// the others request behaviour of a download cache, and no cache is kept.
enum CacheOption : unsigned {
  coAlwaysReload = 1u << 0,
  coReloadIfNoExpireInformation = 1u << 1,
  coReloadUpdatedObjects = 1u << 2,
  coPragmaNoCache = 1u << 3,
  coNoCacheWrite = 1u << 4,
  coCreateTempFilesIfCantCache = 1u << 5,
  coUseCacheIfNetFail = 1u << 6,
};
using CacheOptionSet = unsigned;

// Connection options, one bit each. No cookies are ever stored or sent, so ioNoCookies always
// holds. A certificate with an expired date cannot be accepted on its own: it fails the check
// unless ioIgnoreUnknownCertificateAuthority switches the chain check off.
enum InternetOption : unsigned {
  ioIgnoreCertificateInvalid = 1u << 0,  // host name mismatch accepted
  ioIgnoreCertificateDateInvalid = 1u << 1,
  ioIgnoreUnknownCertificateAuthority = 1u << 2,  // certificate chain not checked
  ioIgnoreRedirectToHTTP = 1u << 3,
  ioIgnoreRedirectToHTTPS = 1u << 4,
  ioKeepConnection = 1u << 5,
  ioNoAuthentication = 1u << 6,  // Username and Password are not offered to the server
  ioNoAutoRedirect = 1u << 7,
  ioNoCookies = 1u << 8,
};
using InternetOptionSet = unsigned;

enum ProxyAccessType : std::uint8_t {
  atPreconfig =
      0,           // the system's settings: the http_proxy/https_proxy/all_proxy/no_proxy variables
  atDirect = 1,    // never a proxy, whatever the environment says
  atUseProxy = 2,  // ProxyServer:ProxyPort
};

struct HttpProxySettings {
  ProxyAccessType AccessType = atPreconfig;
  std::string ProxyServer;
  std::int32_t ProxyPort = 8080;
  // Hosts reached without the proxy under atUseProxy, separated by ";" (or "," or blanks);
  // "*.example.org" covers the domain's hosts.
  std::string ProxyBypass = "127.0.0.1;";
  // Sent only when both are non-empty.
  std::string ProxyUsername;
  std::string ProxyPassword;
};

// Milliseconds; 0 leaves the default (connect: 60 s; receive/send: a transfer that moves no
// byte for 60 s is given up).
struct HttpTimeouts {
  std::uint32_t ConnectTimeout = 0;
  std::uint32_t ReceiveTimeout = 0;
  std::uint32_t SendTimeout = 0;
};

// What a transfer is made of. Fetch gives the worker its own copy, so the caller may change
// these while a transfer runs.
struct HttpRequestSettings {
  std::string URL;  // "http://" is assumed when it has no "://"; only http and https are fetched
  std::string Referer;
  std::string Agent = "HttpFetcher";
  std::string AcceptTypes = "text/html, */*";
  CacheOptionSet CacheOptions =
      coReloadIfNoExpireInformation | coReloadUpdatedObjects | coCreateTempFilesIfCantCache;
  InternetOptionSet InternetOptions = ioKeepConnection;
  HttpProxySettings Proxy;
  int TransferBufferSize = 4096;
  HttpTimeouts Timeouts;
  // Used when the URL carries no credentials of its own.
  std::string Username;
  std::string Password;
  // No cache to serve from: every fetch then ends as an unreachable host.
  bool WorkOffline = false;
};

// A longer body is cut off there and reported as a lost connection.
inline constexpr std::int64_t HttpMaxBodySize = 8 * 1024 * 1024;

class HttpFetcher : public HttpRequestSettings {
 public:
  // The body passed to OnDone, OnHTTPError and OnConnLost is valid only during the call.
  using DoneEvent = std::function<void(HttpFetcher& sender, const std::string& contentType,
                                       std::int64_t fileSize, const std::string& stream)>;
  using HTTPErrorEvent =
      std::function<void(HttpFetcher& sender, int errorCode, const std::string& stream)>;
  using ConnLostEvent =
      std::function<void(HttpFetcher& sender, const std::string& contentType, std::int64_t fileSize,
                         std::int64_t bytesRead, const std::string& stream)>;
  using NotifyEvent = std::function<void(HttpFetcher& sender)>;
  using WaitTimeoutEvent = std::function<void(HttpFetcher& sender, bool& terminateThread)>;

  // Events are delivered through `dispatcher`, which must outlive the component.
  explicit HttpFetcher(Dispatcher& dispatcher = UiDispatcher());
  ~HttpFetcher();
  HttpFetcher(const HttpFetcher&) = delete;
  HttpFetcher& operator=(const HttpFetcher&) = delete;

  // Starts a transfer and returns true; false, doing nothing, while one runs (also from inside
  // an outcome event). With `forceWait` or WaitThread it returns only when the outcome event
  // has been raised, running the dispatcher's events meanwhile; when WaitTimeout (ms, 0 = no
  // limit) passes first, OnWaitTimeoutExpired decides: stop the transfer without an outcome
  // event and return false, or return true and let it run on.
  bool Fetch(bool forceWait);
  // From Fetch until its outcome event has returned.
  bool Busy() const { return busy_; }

  bool WaitThread = false;
  int WaitTimeout = 0;

  // Exactly one of these per transfer: OnDone (status 200/206, body complete), OnConnLost
  // (200/206, body short or cut off), OnHostUnreachable (no status), OnHTTPError (any other
  // status); then OnAnyError unless OnDone. An error thrown by a handler is caught and goes
  // to OnAnyError instead; one thrown by OnAnyError is dropped. Destroying the component
  // during a transfer stops it without an event.
  DoneEvent OnDone;
  HTTPErrorEvent OnHTTPError;
  ConnLostEvent OnConnLost;
  NotifyEvent OnHostUnreachable;
  // Never raised by a fetch into memory; kept for handlers that expect them.
  NotifyEvent OnOutputFileError;
  NotifyEvent OnDoneInterrupted;
  NotifyEvent OnAborted;
  WaitTimeoutEvent OnWaitTimeoutExpired;
  NotifyEvent OnAnyError;

 private:
  struct Transfer;
  class ConnectionCache;

  static void Work(std::shared_ptr<Transfer> transfer, Dispatcher& dispatcher,
                   ConnectionCache& connections);
  bool WaitForOutcome(const std::shared_ptr<Transfer>& transfer);
  void Complete(Transfer& transfer);
  void RaiseOutcome(const Transfer& transfer);
  void StopTransfer();

  Dispatcher& dispatcher_;
  std::unique_ptr<ConnectionCache> connections_;
  bool busy_ = false;
  std::shared_ptr<Transfer> transfer_;
  std::thread worker_;
};

}  // namespace nimbalo

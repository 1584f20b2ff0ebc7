#include "net/http_fetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <utility>

namespace nimbalo {

namespace {

constexpr long DefaultConnectTimeoutMs = 60000;
constexpr long DefaultStallSeconds = 60;
constexpr long MaxRedirects = 10;

void InitialiseCurlOnce() {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)initialised;
}

bool HasUserInfo(const std::string& url) {
  const std::size_t start = url.find("://") + 3;
  const std::size_t end = url.find_first_of("/?#", start);
  return url.substr(start, end == std::string::npos ? std::string::npos : end - start).find('@') !=
         std::string::npos;
}

// The bypass list in the form curl takes: comma-separated names, a leading "." for a domain.
// Entries curl cannot express ("<local>", other wildcards) are left out.
std::string NoProxyList(const std::string& bypass) {
  std::string list;
  std::size_t pos = 0;
  while (pos < bypass.size()) {
    const std::size_t end = std::min(bypass.find_first_of(";, \t", pos), bypass.size());
    std::string entry = bypass.substr(pos, end - pos);
    pos = end + 1;
    if (entry.starts_with("*.")) entry.erase(0, 1);
    if (entry.empty() || entry.find_first_of("*<>") != std::string::npos) continue;
    if (!list.empty()) list += ",";
    list += entry;
  }
  return list;
}

long StallSeconds(const HttpTimeouts& timeouts) {
  const std::uint32_t ms = std::max(timeouts.ReceiveTimeout, timeouts.SendTimeout);
  return ms == 0 ? DefaultStallSeconds : static_cast<long>((ms + 999) / 1000);
}

}  // namespace

class HttpFetcher::ConnectionCache {
 public:
  // Finished connections stay open in the multi handle for the next transfer.
  ConnectionCache() : multi_(curl_multi_init()) {}
  ~ConnectionCache() {
    if (multi_ != nullptr) curl_multi_cleanup(multi_);
  }
  ConnectionCache(const ConnectionCache&) = delete;
  ConnectionCache& operator=(const ConnectionCache&) = delete;

  CURLM* Multi() const { return multi_; }
  void Wake() {
    if (multi_ != nullptr) curl_multi_wakeup(multi_);
  }

 private:
  CURLM* multi_;
};

struct HttpFetcher::Transfer {
  Transfer(const HttpRequestSettings& settings, HttpFetcher* component)
      : request(settings), owner(component) {}

  const HttpRequestSettings request;
  // The component while it still wants the outcome; cleared on the user-interface thread when
  // it is destroyed or gives the transfer up.
  std::atomic<HttpFetcher*> owner;
  std::atomic<bool> cancel{false};

  // Written by the worker before it posts the completion.
  int status = -1;
  bool success = false;
  std::string contentType;
  std::int64_t announcedSize = 0;
  std::string body;

  // User-interface thread only.
  bool completed = false;

  std::mutex mutex;
  std::condition_variable posted;
  bool completionPosted = false;
};

namespace {

struct WriteTarget {
  std::string* body;
  const std::atomic<bool>* cancel;
  CURL* easy;
  bool reserved = false;
};

// Called from C: it must not throw.
std::size_t WriteBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* target = static_cast<WriteTarget*>(user);
  const std::size_t bytes = size * count;
  if (target->cancel->load()) return 0;
  try {
    if (!target->reserved) {
      target->reserved = true;
      curl_off_t announced = -1;
      curl_easy_getinfo(target->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
      if (announced > 0)
        target->body->reserve(
            static_cast<std::size_t>(std::min<curl_off_t>(announced, HttpMaxBodySize)));
    }
    const std::size_t room = static_cast<std::size_t>(HttpMaxBodySize) - target->body->size();
    if (bytes > room) {
      target->body->append(data, room);
      return 0;  // ends the transfer as incomplete
    }
    target->body->append(data, bytes);
    return bytes;
  } catch (...) {
    return 0;
  }
}

// Sets up `easy` for the request; false when an option is refused.
bool Configure(CURL* easy, const HttpRequestSettings& r, const std::string& url,
               curl_slist* headers, WriteTarget* target) {
  bool ok = true;
  const auto set = [&](CURLoption option, auto value) {
    if (curl_easy_setopt(easy, option, value) != CURLE_OK) ok = false;
  };
  set(CURLOPT_URL, url.c_str());
  set(CURLOPT_PROTOCOLS_STR, "http,https");
  set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  set(CURLOPT_NOSIGNAL, 1L);
  set(CURLOPT_WRITEFUNCTION, &WriteBody);
  set(CURLOPT_WRITEDATA, static_cast<void*>(target));
  if (!r.Agent.empty()) set(CURLOPT_USERAGENT, r.Agent.c_str());
  if (!r.Referer.empty()) set(CURLOPT_REFERER, r.Referer.c_str());
  if (headers != nullptr) set(CURLOPT_HTTPHEADER, headers);
  set(CURLOPT_BUFFERSIZE,
      static_cast<long>(r.TransferBufferSize > 0 ? r.TransferBufferSize : 4096));

  const bool follow = (r.InternetOptions & ioNoAutoRedirect) == 0;
  set(CURLOPT_FOLLOWLOCATION, follow ? 1L : 0L);
  set(CURLOPT_MAXREDIRS, MaxRedirects);
  set(CURLOPT_FORBID_REUSE, (r.InternetOptions & ioKeepConnection) != 0 ? 0L : 1L);
  if ((r.InternetOptions & ioIgnoreCertificateInvalid) != 0) set(CURLOPT_SSL_VERIFYHOST, 0L);
  if ((r.InternetOptions & ioIgnoreUnknownCertificateAuthority) != 0)
    set(CURLOPT_SSL_VERIFYPEER, 0L);

  if ((r.InternetOptions & ioNoAuthentication) == 0 && !HasUserInfo(url) &&
      !(r.Username.empty() && r.Password.empty())) {
    set(CURLOPT_USERNAME, r.Username.c_str());
    set(CURLOPT_PASSWORD, r.Password.c_str());
    set(CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
  }

  const HttpProxySettings& proxy = r.Proxy;
  if (proxy.AccessType == atDirect) {
    set(CURLOPT_PROXY, "");
  } else if (proxy.AccessType == atUseProxy) {
    const std::string address = proxy.ProxyServer + ":" + std::to_string(proxy.ProxyPort);
    set(CURLOPT_PROXY, address.c_str());  // curl copies option strings
    // Always set, so that the no_proxy variable does not apply to a named proxy.
    set(CURLOPT_NOPROXY, NoProxyList(proxy.ProxyBypass).c_str());
  }
  if (proxy.AccessType != atDirect && !proxy.ProxyUsername.empty() &&
      !proxy.ProxyPassword.empty()) {
    set(CURLOPT_PROXYUSERNAME, proxy.ProxyUsername.c_str());
    set(CURLOPT_PROXYPASSWORD, proxy.ProxyPassword.c_str());
    set(CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_ANY));
  }

  set(CURLOPT_CONNECTTIMEOUT_MS, r.Timeouts.ConnectTimeout != 0
                                     ? static_cast<long>(r.Timeouts.ConnectTimeout)
                                     : DefaultConnectTimeoutMs);
  // A server that stops sending must not hold the transfer for ever.
  set(CURLOPT_LOW_SPEED_LIMIT, 1L);
  set(CURLOPT_LOW_SPEED_TIME, StallSeconds(r.Timeouts));
  return ok;
}

// Runs the transfer on `multi` until it ends or `cancel` is set. CURLE_OK or the error.
CURLcode Perform(CURLM* multi, CURL* easy, const std::atomic<bool>& cancel) {
  if (curl_multi_add_handle(multi, easy) != CURLM_OK) return CURLE_FAILED_INIT;
  CURLcode result = CURLE_ABORTED_BY_CALLBACK;
  int running = 1;
  while (running != 0 && !cancel.load()) {
    if (curl_multi_perform(multi, &running) != CURLM_OK) break;
    if (running != 0 && curl_multi_poll(multi, nullptr, 0, 1000, nullptr) != CURLM_OK) break;
  }
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
    if (message->msg == CURLMSG_DONE && message->easy_handle == easy) result = message->data.result;
  }
  curl_multi_remove_handle(multi, easy);
  return result;
}

}  // namespace

HttpFetcher::HttpFetcher(Dispatcher& dispatcher) : dispatcher_(dispatcher) {
  InitialiseCurlOnce();
  connections_ = std::make_unique<ConnectionCache>();
}

HttpFetcher::~HttpFetcher() {
  StopTransfer();
}

void HttpFetcher::StopTransfer() {
  if (transfer_ != nullptr) {
    transfer_->owner.store(nullptr);
    transfer_->cancel.store(true);
    connections_->Wake();
  }
  if (worker_.joinable()) worker_.join();
  transfer_.reset();
  busy_ = false;
}

bool HttpFetcher::Fetch(bool forceWait) {
  if (busy_) return false;
  // The previous worker has posted its completion and is ending.
  if (worker_.joinable()) worker_.join();
  auto transfer = std::make_shared<Transfer>(*this, this);
  worker_ =
      std::thread(&HttpFetcher::Work, transfer, std::ref(dispatcher_), std::ref(*connections_));
  transfer_ = transfer;
  busy_ = true;
  if (!forceWait && !WaitThread) return true;
  return WaitForOutcome(transfer);
}

void HttpFetcher::Work(std::shared_ptr<Transfer> transfer, Dispatcher& dispatcher,
                       ConnectionCache& connections) {
  Transfer& t = *transfer;
  const HttpRequestSettings& r = t.request;
  CURL* easy = nullptr;
  curl_slist* headers = nullptr;
  try {
    easy = (r.WorkOffline || connections.Multi() == nullptr) ? nullptr : curl_easy_init();
    if (easy != nullptr) {
      const std::string url = r.URL.find("://") == std::string::npos ? "http://" + r.URL : r.URL;
      const auto addHeader = [&headers](const std::string& line) {
        curl_slist* longer = curl_slist_append(headers, line.c_str());
        if (longer == nullptr) throw std::bad_alloc();
        headers = longer;
      };
      if (!r.AcceptTypes.empty()) addHeader("Accept: " + r.AcceptTypes);
      if ((r.CacheOptions & coPragmaNoCache) != 0) addHeader("Pragma: no-cache");
      WriteTarget target{&t.body, &t.cancel, easy};
      if (Configure(easy, r, url, headers, &target)) {
        const CURLcode result = Perform(connections.Multi(), easy, t.cancel);
        long code = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
        long proxyCode = 0;
        curl_easy_getinfo(easy, CURLINFO_HTTP_CONNECTCODE, &proxyCode);
        // A proxy that refused the tunnel answered with a status of its own.
        if (code == 0 && proxyCode >= 300) code = proxyCode;
        if (code != 0) t.status = static_cast<int>(code);
        const char* type = nullptr;
        if (curl_easy_getinfo(easy, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type != nullptr)
          t.contentType = type;
        curl_off_t announced = -1;
        curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
        t.announcedSize = announced > 0 ? announced : 0;
        const auto received = static_cast<std::int64_t>(t.body.size());
        t.success = result == CURLE_OK && (t.status == 200 || t.status == 206) &&
                    (t.announcedSize == 0 || received == t.announcedSize);
      }
    }
  } catch (...) {
    t.success = false;
  }
  curl_slist_free_all(headers);
  if (easy != nullptr) curl_easy_cleanup(easy);
  if (t.cancel.load()) return;

  dispatcher.Post([transfer] {
    if (HttpFetcher* owner = transfer->owner.load()) owner->Complete(*transfer);
  });
  {
    std::lock_guard lock(t.mutex);
    t.completionPosted = true;
  }
  t.posted.notify_all();
}

void HttpFetcher::RaiseOutcome(const Transfer& t) {
  const auto bytesRead = static_cast<std::int64_t>(t.body.size());
  if (t.success) {
    if (OnDone) OnDone(*this, t.contentType, bytesRead, t.body);
  } else if (t.status == 200 || t.status == 206) {
    if (OnConnLost) OnConnLost(*this, t.contentType, t.announcedSize, bytesRead, t.body);
  } else if (t.status == -1) {
    if (OnHostUnreachable) OnHostUnreachable(*this);
  } else {
    if (OnHTTPError) OnHTTPError(*this, t.status, t.body);
  }
}

void HttpFetcher::Complete(Transfer& t) {
  bool handlerFailed = false;
  try {
    RaiseOutcome(t);
  } catch (...) {
    handlerFailed = true;
  }
  if (t.owner.load() != this) return;  // a handler destroyed the component
  if (handlerFailed || !t.success) {
    try {
      if (OnAnyError) OnAnyError(*this);
    } catch (...) {
    }
    if (t.owner.load() != this) return;
  }
  t.completed = true;
  transfer_.reset();
  busy_ = false;
}

bool HttpFetcher::WaitForOutcome(const std::shared_ptr<Transfer>& transfer) {
  using Clock = std::chrono::steady_clock;
  // Measured from the start: a stream of unrelated events must not postpone it for ever.
  const bool limited = WaitTimeout > 0;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(WaitTimeout);
  constexpr auto slice = std::chrono::milliseconds(10);
  for (;;) {
    dispatcher_.ProcessEvents();
    // Ended, or the component was destroyed by an event that just ran.
    if (transfer->completed || transfer->owner.load() != this) return true;
    if (limited && Clock::now() >= deadline) {
      bool terminate = true;
      try {
        if (OnWaitTimeoutExpired) OnWaitTimeoutExpired(*this, terminate);
      } catch (...) {
      }
      if (transfer->owner.load() != this) return false;
      if (!terminate) return true;
      StopTransfer();
      return false;
    }
    std::unique_lock lock(transfer->mutex);
    if (transfer->completionPosted) {
      // Already queued: the next round runs it, unless the dispatcher serves another thread.
      lock.unlock();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } else {
      const auto until = limited ? std::min(deadline, Clock::now() + slice) : Clock::now() + slice;
      transfer->posted.wait_until(lock, until, [&] { return transfer->completionPosted; });
    }
  }
}

}  // namespace nimbalo

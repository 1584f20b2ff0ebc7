#include "net/http_fetcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/queue_dispatcher.h"
#include "tests/support/http_test_server.h"

namespace nimbalo {
namespace {

using std::chrono_literals::operator""s;
using test::HoldPoint;
using test::HttpTestRequest;
using test::HttpTestResponse;
using test::HttpTestServer;

struct Event {
  std::string name;
  int code = 0;
  std::string contentType{};
  std::int64_t fileSize = 0;
  std::int64_t bytesRead = 0;
  std::string body{};
};

// Counts posted work, so that a test can tell a completion is waiting in the queue.
class CountingDispatcher : public QueueDispatcher {
 public:
  void Post(std::function<void()> fn) override {
    QueueDispatcher::Post(std::move(fn));
    ++posted;
  }
  std::atomic<int> posted{0};
};

// Sets (or with nullopt removes) an environment variable until the end of the scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ~ScopedEnv() { Set(old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Set(const std::optional<std::string>& value) {
    if (value)
      ::setenv(name_, value->c_str(), 1);
    else
      ::unsetenv(name_);
  }
  const char* name_;
  std::optional<std::string> old_;
};

HttpTestResponse WithoutLength(HttpTestResponse response) {
  response.sendContentLength = false;
  return response;
}

HttpTestResponse Announcing(std::size_t length, HttpTestResponse response) {
  response.contentLength = length;
  return response;
}

HttpTestResponse Held(HoldPoint point, HttpTestResponse response) {
  response.hold = point;
  return response;
}

HttpTestResponse Dropped() {
  HttpTestResponse response;
  response.dropConnection = true;
  return response;
}

// Answers `challenge` (401 or 407) until the request carries `header`.
HttpTestServer::Handler Challenging(int challenge, std::string header) {
  return [challenge, header](const HttpTestRequest& request) {
    if (request.Header(header)) return HttpTestResponse::Text(200, "authorised");
    HttpTestResponse response = HttpTestResponse::Text(challenge, "who are you?");
    response.headers.emplace_back(challenge == 407 ? "Proxy-Authenticate" : "WWW-Authenticate",
                                  "Basic realm=\"test\"");
    return response;
  };
}

class HttpFetcherTest : public ::testing::Test {
 protected:
  HttpFetcherTest() : fetcher(std::make_unique<HttpFetcher>(dispatcher)) { Record(*fetcher); }

  void Record(HttpFetcher& f) {
    f.OnDone = [this](HttpFetcher&, const std::string& type, std::int64_t size,
                      const std::string& body) {
      events.push_back({"Done", 0, type, size, 0, body});
    };
    f.OnHTTPError = [this](HttpFetcher&, int code, const std::string& body) {
      events.push_back({"HTTPError", code, "", 0, 0, body});
    };
    f.OnConnLost = [this](HttpFetcher&, const std::string& type, std::int64_t size,
                          std::int64_t read, const std::string& body) {
      events.push_back({"ConnLost", 0, type, size, read, body});
    };
    const auto notify = [this](const char* name) {
      return [this, name](HttpFetcher&) { events.push_back({name}); };
    };
    f.OnHostUnreachable = notify("HostUnreachable");
    f.OnOutputFileError = notify("OutputFileError");
    f.OnDoneInterrupted = notify("DoneInterrupted");
    f.OnAborted = notify("Aborted");
    f.OnAnyError = notify("AnyError");
    f.OnWaitTimeoutExpired = [this](HttpFetcher&, bool& terminate) {
      events.push_back({"WaitTimeoutExpired", terminate ? 1 : 0});
      terminate = terminateOnTimeout;
    };
  }

  bool Finished() {
    return dispatcher.RunUntil([&] { return !fetcher->Busy(); }, 30s);
  }

  void FetchAndFinish(const std::string& url) {
    fetcher->URL = url;
    ASSERT_TRUE(fetcher->Fetch(false));
    ASSERT_TRUE(Finished());
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const Event& e : events)
      names.push_back(e.name);
    return names;
  }

  void UseProxy(const HttpTestServer& proxy, const std::string& bypass = "") {
    fetcher->Proxy.AccessType = atUseProxy;
    fetcher->Proxy.ProxyServer = "127.0.0.1";
    fetcher->Proxy.ProxyPort = proxy.Port();
    fetcher->Proxy.ProxyBypass = bypass;
  }

  const std::vector<std::string> hostUnreachable{"HostUnreachable", "AnyError"};

  HttpTestServer server;
  CountingDispatcher dispatcher;
  std::unique_ptr<HttpFetcher> fetcher;
  std::vector<Event> events;
  bool terminateOnTimeout = true;
};

// --- Outcomes of one response -------------------------------------------------------------

struct OutcomeCase {
  const char* name;
  std::vector<std::pair<std::string, HttpTestResponse>> routes;  // the first is fetched
  std::vector<std::string> events;
  int code;
  std::int64_t fileSize;
  std::int64_t bytesRead;
  std::optional<std::string> body;  // checked when given
};

class HttpOutcomeTest : public HttpFetcherTest,
                        public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(HttpOutcomeTest, RaisesExactlyTheOutcomeEvent) {
  const OutcomeCase& c = GetParam();
  for (const auto& [target, response] : c.routes)
    server.Serve(target, response);
  FetchAndFinish(server.Url(c.routes.front().first));

  ASSERT_EQ(Names(), c.events);
  const Event& e = events.front();
  EXPECT_EQ(e.code, c.code);
  EXPECT_EQ(e.fileSize, c.fileSize);
  EXPECT_EQ(e.bytesRead, c.bytesRead);
  if (c.body) {
    EXPECT_EQ(e.body, *c.body);
  }
  if (e.name == "Done" || e.name == "ConnLost") {
    EXPECT_EQ(e.contentType, "text/plain");
  }
  EXPECT_FALSE(fetcher->Busy());
}

const std::string shortReport = "KEET 301853Z";
const std::string overLimit(static_cast<std::size_t>(HttpMaxBodySize) + 1000, 'x');
constexpr std::int64_t overLimitSize = HttpMaxBodySize + 1000;

INSTANTIATE_TEST_SUITE_P(
    Responses, HttpOutcomeTest,
    ::testing::Values(
        OutcomeCase{"OkWithLength",
                    {{"/r", HttpTestResponse::Text(200, shortReport)}},
                    {"Done"},
                    0,
                    12,
                    0,
                    shortReport},
        OutcomeCase{"OkWithoutLengthEndsWithConnection",
                    {{"/r", WithoutLength(HttpTestResponse::Text(200, shortReport))}},
                    {"Done"},
                    0,
                    12,
                    0,
                    shortReport},
        OutcomeCase{"PartialContent",
                    {{"/r", HttpTestResponse::Text(206, shortReport)}},
                    {"Done"},
                    0,
                    12,
                    0,
                    shortReport},
        OutcomeCase{"EmptyBody", {{"/r", HttpTestResponse::Text(200, "")}}, {"Done"}, 0, 0, 0, ""},
        OutcomeCase{"NotFoundWithPage",
                    {{"/r", HttpTestResponse::Text(404, "<html>gone</html>", "text/html")}},
                    {"HTTPError", "AnyError"},
                    404,
                    0,
                    0,
                    "<html>gone</html>"},
        OutcomeCase{"ServerError",
                    {{"/r", HttpTestResponse::Text(500, "boom")}},
                    {"HTTPError", "AnyError"},
                    500,
                    0,
                    0,
                    "boom"},
        OutcomeCase{"BodyShorterThanAnnounced",
                    {{"/r", Announcing(1000, HttpTestResponse::Text(200, std::string(600, 'm')))}},
                    {"ConnLost", "AnyError"},
                    0,
                    1000,
                    600,
                    std::string(600, 'm')},
        OutcomeCase{"ClosedWithoutAnswer",
                    {{"/r", Dropped()}},
                    {"HostUnreachable", "AnyError"},
                    0,
                    0,
                    0,
                    std::nullopt},
        OutcomeCase{"RedirectFollowed",
                    {{"/r", HttpTestResponse::Redirect(302, "/moved")},
                     {"/moved", HttpTestResponse::Text(200, "moved here")}},
                    {"Done"},
                    0,
                    10,
                    0,
                    "moved here"},
        OutcomeCase{"OverSizeLimitAnnounced",
                    {{"/r", HttpTestResponse::Text(200, overLimit)}},
                    {"ConnLost", "AnyError"},
                    0,
                    overLimitSize,
                    HttpMaxBodySize,
                    std::nullopt},
        OutcomeCase{"OverSizeLimitUnannounced",
                    {{"/r", WithoutLength(HttpTestResponse::Text(200, overLimit))}},
                    {"ConnLost", "AnyError"},
                    0,
                    0,
                    HttpMaxBodySize,
                    std::nullopt}),
    [](const ::testing::TestParamInfo<OutcomeCase>& test) { return std::string(test.param.name); });

// --- No HTTP status at all ------------------------------------------------------------------

TEST_F(HttpFetcherTest, NoStatusMeansHostUnreachable) {
  struct Case {
    const char* name;
    std::function<void(HttpFetcher&)> configure;
    std::string url;
  };
  const std::string closedPort = "http://127.0.0.1:" + std::to_string(test::UnusedLocalPort());
  server.Serve("/stall", Held(HoldPoint::BeforeResponse, HttpTestResponse::Text(200, "late")));
  const std::vector<Case> cases{
      {"connection refused", [](HttpFetcher&) {}, closedPort + "/r"},
      {"unreachable proxy",
       [&](HttpFetcher& f) {
         f.Proxy.AccessType = atUseProxy;
         f.Proxy.ProxyServer = "127.0.0.1";
         f.Proxy.ProxyPort = test::UnusedLocalPort();
         f.Proxy.ProxyBypass = "";
       },
       server.Url("/r")},
      {"offline", [](HttpFetcher& f) { f.WorkOffline = true; }, server.Url("/r")},
      {"not an http address", [](HttpFetcher&) {}, "file:///etc/hostname"},
      {"server silent past the receive time-out",
       [](HttpFetcher& f) { f.Timeouts.ReceiveTimeout = 1000; }, server.Url("/stall")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    events.clear();
    HttpFetcher f(dispatcher);
    Record(f);
    c.configure(f);
    f.URL = c.url;
    ASSERT_TRUE(f.Fetch(false));
    ASSERT_TRUE(dispatcher.RunUntil([&] { return !f.Busy(); }, 30s));
    EXPECT_EQ(Names(), hostUnreachable);
  }
  // Only the silent server was reached.
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].target, "/stall");
}

TEST_F(HttpFetcherTest, ServerStallingMidBodyIsALostConnection) {
  server.Serve("/r", Held(HoldPoint::AfterBody,
                          Announcing(100, HttpTestResponse::Text(200, std::string(10, 'b')))));
  fetcher->Timeouts.ReceiveTimeout = 1000;
  FetchAndFinish(server.Url("/r"));
  ASSERT_EQ(Names(), (std::vector<std::string>{"ConnLost", "AnyError"}));
  EXPECT_EQ(events[0].fileSize, 100);
  EXPECT_EQ(events[0].bytesRead, 10);
}

// --- Request settings -----------------------------------------------------------------------

TEST_F(HttpFetcherTest, RequestCarriesTheSettings) {
  server.Serve("/r", HttpTestResponse::Text(200, "ok"));
  FetchAndFinish(server.Url("/r"));
  fetcher->Agent = "Nimbalo https://nimbalo.example.org";
  fetcher->Referer = "https://nimbalo.example.org";
  fetcher->CacheOptions |= coPragmaNoCache;
  FetchAndFinish(server.Url("/r"));

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].Header("User-Agent"), "HttpFetcher");
  EXPECT_EQ(requests[0].Header("Accept"), "text/html, */*");
  EXPECT_FALSE(requests[0].Header("Referer"));
  EXPECT_FALSE(requests[0].Header("Pragma"));
  EXPECT_EQ(requests[1].Header("User-Agent"), "Nimbalo https://nimbalo.example.org");
  EXPECT_EQ(requests[1].Header("Referer"), "https://nimbalo.example.org");
  EXPECT_EQ(requests[1].Header("Pragma"), "no-cache");
}

TEST_F(HttpFetcherTest, AddressWithoutSchemeIsHttp) {
  server.Serve("/r", HttpTestResponse::Text(200, "ok"));
  FetchAndFinish("127.0.0.1:" + std::to_string(server.Port()) + "/r");
  EXPECT_EQ(Names(), std::vector<std::string>{"Done"});
}

TEST_F(HttpFetcherTest, KeepsTheConnectionOnlyWhenAsked) {
  for (const bool keep : {true, false}) {
    SCOPED_TRACE(keep);
    HttpTestServer own;
    own.Serve("/r", HttpTestResponse::Text(200, "ok"));
    fetcher->InternetOptions = keep ? InternetOptionSet{ioKeepConnection} : 0;
    FetchAndFinish(own.Url("/r"));
    FetchAndFinish(own.Url("/r"));
    EXPECT_EQ(own.RequestCount(), 2u);
    EXPECT_EQ(own.ConnectionCount(), keep ? 1 : 2);
  }
}

TEST_F(HttpFetcherTest, RedirectNotFollowedWhenForbidden) {
  server.Serve("/r", HttpTestResponse::Redirect(302, "/moved"));
  fetcher->InternetOptions |= ioNoAutoRedirect;
  FetchAndFinish(server.Url("/r"));
  ASSERT_EQ(Names(), (std::vector<std::string>{"HTTPError", "AnyError"}));
  EXPECT_EQ(events[0].code, 302);
  EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(HttpFetcherTest, ServerCredentials) {
  struct Case {
    const char* name;
    std::string userInfo;  // in the address
    std::string username;
    std::string password;
    InternetOptionSet options;
    std::optional<std::string> authorization;  // as finally sent; nullopt: refused (401)
  };
  const std::vector<Case> cases{
      {"from the settings", "", "user", "secret", ioKeepConnection, "Basic dXNlcjpzZWNyZXQ="},
      {"address wins", "url:pass@", "user", "secret", ioKeepConnection, "Basic dXJsOnBhc3M="},
      {"authentication off", "", "user", "secret", ioNoAuthentication, std::nullopt},
      {"none", "", "", "", ioKeepConnection, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpTestServer own;
    own.SetHandler(Challenging(401, "Authorization"));
    events.clear();
    fetcher->Username = c.username;
    fetcher->Password = c.password;
    fetcher->InternetOptions = c.options;
    FetchAndFinish("http://" + c.userInfo + "127.0.0.1:" + std::to_string(own.Port()) + "/r");
    const auto requests = own.Requests();
    if (c.authorization) {
      EXPECT_EQ(Names(), std::vector<std::string>{"Done"});
      EXPECT_EQ(requests.back().Header("Authorization"), *c.authorization);
    } else {
      ASSERT_EQ(Names(), (std::vector<std::string>{"HTTPError", "AnyError"}));
      EXPECT_EQ(events[0].code, 401);
      EXPECT_FALSE(requests.back().Header("Authorization"));
    }
  }
}

// --- Proxies --------------------------------------------------------------------------------

TEST_F(HttpFetcherTest, NamedProxyCarriesTheRequest) {
  HttpTestServer proxy;
  proxy.Serve("http://weather.invalid/KEET.TXT", HttpTestResponse::Text(200, "via proxy"));
  UseProxy(proxy);
  FetchAndFinish("http://weather.invalid/KEET.TXT");
  ASSERT_EQ(Names(), std::vector<std::string>{"Done"});
  EXPECT_EQ(events[0].body, "via proxy");
  ASSERT_EQ(proxy.RequestCount(), 1u);
  EXPECT_FALSE(proxy.Requests()[0].Header("Proxy-Authorization"));
}

TEST_F(HttpFetcherTest, ProxyCredentialsOnlyWhenBothGiven) {
  struct Case {
    std::string user;
    std::string password;
    bool sent;
  };
  for (const Case& c :
       {Case{"user", "secret", true}, Case{"user", "", false}, Case{"", "secret", false}}) {
    SCOPED_TRACE(c.user + ":" + c.password);
    HttpTestServer proxy;
    proxy.SetHandler(Challenging(407, "Proxy-Authorization"));
    UseProxy(proxy);
    fetcher->Proxy.ProxyUsername = c.user;
    fetcher->Proxy.ProxyPassword = c.password;
    events.clear();
    FetchAndFinish("http://weather.invalid/KEET.TXT");
    const auto requests = proxy.Requests();
    if (c.sent) {
      EXPECT_EQ(Names(), std::vector<std::string>{"Done"});
      EXPECT_EQ(requests.back().Header("Proxy-Authorization"), "Basic dXNlcjpzZWNyZXQ=");
    } else {
      ASSERT_EQ(Names(), (std::vector<std::string>{"HTTPError", "AnyError"}));
      EXPECT_EQ(events[0].code, 407);
      for (const auto& request : requests)
        EXPECT_FALSE(request.Header("Proxy-Authorization"));
    }
  }
}

TEST_F(HttpFetcherTest, ProxyRefusingTheTunnelReportsItsStatus) {
  HttpTestServer proxy;
  proxy.SetHandler(Challenging(407, "Proxy-Authorization"));
  UseProxy(proxy);
  FetchAndFinish("https://weather.invalid/KEET.TXT");
  ASSERT_EQ(Names(), (std::vector<std::string>{"HTTPError", "AnyError"}));
  EXPECT_EQ(events[0].code, 407);
  ASSERT_EQ(proxy.RequestCount(), 1u);
  EXPECT_EQ(proxy.Requests()[0].method, "CONNECT");
}

TEST_F(HttpFetcherTest, BypassListSendsHostsDirect) {
  struct Case {
    std::string bypass;
    bool direct;
  };
  for (const Case& c :
       {Case{"127.0.0.1;", true}, Case{"", false}, Case{"example.org; 127.0.0.1", true},
        Case{"*.example.org", false}, Case{"<local>", false}}) {
    SCOPED_TRACE(c.bypass);
    HttpTestServer proxy;
    HttpTestServer origin;
    proxy.Serve(origin.Url("/r"), HttpTestResponse::Text(200, "via proxy"));
    origin.Serve("/r", HttpTestResponse::Text(200, "direct"));
    UseProxy(proxy, c.bypass);
    events.clear();
    FetchAndFinish(origin.Url("/r"));
    ASSERT_EQ(Names(), std::vector<std::string>{"Done"});
    EXPECT_EQ(events[0].body, c.direct ? "direct" : "via proxy");
  }
}

TEST_F(HttpFetcherTest, EnvironmentProxyOnlyForPreconfig) {
  HttpTestServer proxy;
  proxy.Serve(server.Url("/r"), HttpTestResponse::Text(200, "via proxy"));
  server.Serve("/r", HttpTestResponse::Text(200, "direct"));
  const std::string proxyUrl = "http://127.0.0.1:" + std::to_string(proxy.Port());
  const ScopedEnv httpProxy("http_proxy", proxyUrl);
  const ScopedEnv noProxy("no_proxy", std::nullopt);
  const ScopedEnv noProxyUpper("NO_PROXY", std::nullopt);
  for (const auto& [type, body] : {std::pair{atPreconfig, "via proxy"}, {atDirect, "direct"}}) {
    SCOPED_TRACE(static_cast<int>(type));
    fetcher->Proxy.AccessType = type;
    events.clear();
    FetchAndFinish(server.Url("/r"));
    ASSERT_EQ(Names(), std::vector<std::string>{"Done"});
    EXPECT_EQ(events[0].body, body);
  }
}

// --- Busy, handlers, destruction ------------------------------------------------------------

TEST_F(HttpFetcherTest, FetchWhileBusyIsRefusedAndTheRunningOneEndsOnce) {
  server.Serve("/slow", Held(HoldPoint::BeforeResponse, HttpTestResponse::Text(200, "slow")));
  server.Serve("/other", HttpTestResponse::Text(200, "other"));
  fetcher->URL = server.Url("/slow");
  ASSERT_TRUE(fetcher->Fetch(false));
  ASSERT_TRUE(HttpTestServer::WaitUntil([&] { return server.RequestCount() == 1; }));
  fetcher->URL = server.Url("/other");
  fetcher->Proxy.AccessType = atUseProxy;
  EXPECT_FALSE(fetcher->Fetch(false));
  EXPECT_TRUE(fetcher->Busy());
  server.Release();
  ASSERT_TRUE(Finished());
  ASSERT_EQ(Names(), std::vector<std::string>{"Done"});
  EXPECT_EQ(events[0].body, "slow");
  EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(HttpFetcherTest, FetchFromInsideTheOutcomeIsRefused) {
  server.Serve("/r", HttpTestResponse::Text(200, "ok"));
  std::optional<bool> accepted;
  fetcher->OnDone = [&](HttpFetcher& sender, const std::string&, std::int64_t, const std::string&) {
    accepted = sender.Fetch(false);
  };
  FetchAndFinish(server.Url("/r"));
  EXPECT_EQ(accepted, false);
  EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(HttpFetcherTest, ErrorInAHandlerIsSwallowedAndTheNextFetchAccepted) {
  struct Case {
    const char* name;
    HttpTestResponse response;
    std::function<void(HttpFetcher&)> makeThrow;
    std::vector<std::string> events;
  };
  const auto throwing = [](auto handler) {
    return [handler](auto&&... args) {
      handler(args...);
      throw std::runtime_error("handler failed");
    };
  };
  const std::vector<Case> cases{
      {"OnDone",
       HttpTestResponse::Text(200, "ok"),
       [&](HttpFetcher& f) { f.OnDone = throwing(f.OnDone); },
       {"Done", "AnyError"}},
      {"OnHTTPError",
       HttpTestResponse::Text(404, "gone"),
       [&](HttpFetcher& f) { f.OnHTTPError = throwing(f.OnHTTPError); },
       {"HTTPError", "AnyError"}},
      {"OnAnyError",
       HttpTestResponse::Text(500, "boom"),
       [&](HttpFetcher& f) { f.OnAnyError = throwing(f.OnAnyError); },
       {"HTTPError", "AnyError"}},
      {"OnDone throwing a non-exception",
       HttpTestResponse::Text(200, "ok"),
       [](HttpFetcher& f) { f.OnDone = [](auto&&...) { throw 42; }; },
       {"AnyError"}},
  };
  server.Serve("/next", HttpTestResponse::Text(200, "next"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpFetcher f(dispatcher);
    Record(f);
    c.makeThrow(f);
    server.Serve("/r", c.response);
    events.clear();
    f.URL = server.Url("/r");
    ASSERT_TRUE(f.Fetch(false));
    ASSERT_TRUE(dispatcher.RunUntil([&] { return !f.Busy(); }, 30s));
    EXPECT_EQ(Names(), c.events);

    Record(f);
    events.clear();
    f.URL = server.Url("/next");
    ASSERT_TRUE(f.Fetch(false));
    ASSERT_TRUE(dispatcher.RunUntil([&] { return !f.Busy(); }, 30s));
    EXPECT_EQ(Names(), std::vector<std::string>{"Done"});
  }
}

TEST_F(HttpFetcherTest, DestroyedMidTransferStopsWithoutEvent) {
  server.Serve("/slow", Held(HoldPoint::BeforeResponse, HttpTestResponse::Text(200, "slow")));
  fetcher->URL = server.Url("/slow");
  ASSERT_TRUE(fetcher->Fetch(false));
  ASSERT_TRUE(HttpTestServer::WaitUntil([&] { return server.RequestCount() == 1; }));
  fetcher.reset();
  dispatcher.ProcessEvents();
  EXPECT_TRUE(events.empty());
  // The connection was given up, not waited out.
  EXPECT_TRUE(HttpTestServer::WaitUntil([&] { return server.AbandonedCount() == 1; }));
}

TEST_F(HttpFetcherTest, DestroyedWithTheOutcomeQueuedRaisesNothing) {
  server.Serve("/r", HttpTestResponse::Text(200, "ok"));
  fetcher->URL = server.Url("/r");
  ASSERT_TRUE(fetcher->Fetch(false));
  ASSERT_TRUE(HttpTestServer::WaitUntil([&] { return dispatcher.posted == 1; }));
  fetcher.reset();
  dispatcher.ProcessEvents();
  EXPECT_TRUE(events.empty());
}

// --- Waiting --------------------------------------------------------------------------------

TEST_F(HttpFetcherTest, WaitingFetchReturnsAfterTheOutcome) {
  server.Serve("/r", HttpTestResponse::Text(200, "ok"));
  for (const auto& [forceWait, waitThread] : {std::pair{true, false}, {false, true}}) {
    SCOPED_TRACE(forceWait);
    fetcher->WaitThread = waitThread;
    events.clear();
    fetcher->URL = server.Url("/r");
    EXPECT_TRUE(fetcher->Fetch(forceWait));
    EXPECT_EQ(Names(), std::vector<std::string>{"Done"});
    EXPECT_FALSE(fetcher->Busy());
  }
}

TEST_F(HttpFetcherTest, WaitTimeoutLetsTheHandlerDecide) {
  server.Serve("/slow", Held(HoldPoint::BeforeResponse, HttpTestResponse::Text(200, "slow")));
  server.Serve("/r", HttpTestResponse::Text(200, "ok"));
  fetcher->WaitTimeout = 200;

  terminateOnTimeout = true;
  fetcher->URL = server.Url("/slow");
  EXPECT_FALSE(fetcher->Fetch(true));
  EXPECT_FALSE(fetcher->Busy());
  dispatcher.ProcessEvents();
  ASSERT_EQ(Names(), std::vector<std::string>{"WaitTimeoutExpired"});
  EXPECT_EQ(events[0].code, 1);  // TerminateThread was true on entry
  EXPECT_TRUE(HttpTestServer::WaitUntil([&] { return server.AbandonedCount() == 1; }));

  terminateOnTimeout = false;
  events.clear();
  EXPECT_TRUE(fetcher->Fetch(true));
  EXPECT_TRUE(fetcher->Busy());
  server.Release();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Names(), (std::vector<std::string>{"WaitTimeoutExpired", "Done"}));
}

}  // namespace
}  // namespace nimbalo

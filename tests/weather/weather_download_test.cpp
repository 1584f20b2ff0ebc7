#include "weather/weather_download.h"

#include <gtest/gtest.h>

#include "app/paths.h"
#include "config/ezcrypt.h"
#include "config/options.h"
#include "platform/queue_dispatcher.h"
#include "tests/support/http_test_server.h"
#include "tests/support/test_home.h"
#include "weather/weather.h"

namespace nimbalo {
namespace {

const char* kReport =
    "Sample Field Airport, AL, United States (KEET) 33-11N 086-47W\r\n"
    "Dec 08, 2009 - 09:15 PM EST / 2009.12.09 0215 UTC\r\n"
    "Wind: from the NW (320 degrees) at 5 MPH (4 KT):0\r\n"
    "Visibility: 10 mile(s):0\r\n"
    "Sky conditions: mostly cloudy\r\n"
    "Weather: light rain\r\n"
    "Temperature: 44 F (7 C)\r\n"
    "Dew Point: 30 F (-1 C)\r\n"
    "Relative Humidity: 57%\r\n"
    "Pressure (altimeter): 30.19 in. Hg (1022 hPa)\r\n";

class ManualClock : public TimerClock {
 public:
  std::int64_t NowMs() override { return now; }
  std::int64_t now = 0;
};

class FakeHost : public WeatherHost {
 public:
  void SetStatusText(const std::string& text) override { status = text; }
  void ShowObservation(const std::string& location, const std::string& temperature) override {
    labels = location + "|" + temperature;
  }
  void SetTrayHint(const std::string& hint) override { tray_hint = hint; }
  void GenerateSignatures() override { ++generated; }
  void ShowSigCreatedNotice() override { ++notices; }
  void ActivateSigTimer() override { ++sig_timer_activations; }
  void ConfigureUpdateCheck(bool automatic, const HttpProxySettings& proxy) override {
    update_automatic = automatic;
    update_proxy = proxy;
  }
  void StartUpdateCheck() override { ++update_checks; }

  std::string status, labels, tray_hint;
  int generated = 0, notices = 0, sig_timer_activations = 0, update_checks = 0;
  bool update_automatic = false;
  HttpProxySettings update_proxy;
};

class WeatherDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TempFolder = home_.RuntimeFolder();
    DataFolder = home_.DataHome() + "/Nimbalo/";
    LoadSettings();
    CurrentWeather = TWeather{};
    ::setenv("NIMBALO_OBSERVATION_URL", server_.Url("/obs/").c_str(), 1);
    server_.Serve("/obs/KEET.TXT", test::HttpTestResponse::Text(200, kReport));
  }
  void TearDown() override { SetUiDispatcher(nullptr); }
  // Starts a download and runs the event loop until its outcome has been handled.
  void Download() {
    download_.StartDownload();
    ASSERT_TRUE(
        dispatcher_.RunUntil([&] { return !download_.acHTTP1.Busy(); }, std::chrono::seconds(20)));
  }

  test::TestHome home_;
  test::HttpTestServer server_;
  QueueDispatcher dispatcher_;
  // Installed before the download exists: its fetcher keeps the dispatcher it was made with.
  struct Install {
    explicit Install(Dispatcher& d) { SetUiDispatcher(&d); }
  } install_{dispatcher_};
  // Lets one minute pass for the weather timer and delivers its tick.
  void Minute() {
    clock_.now += 60000;
    timers_.Poll();
    dispatcher_.ProcessEvents();
  }

  FakeHost host_;
  ManualClock clock_;
  TimerService timers_{clock_};
  WeatherDownload download_{host_, timers_};
};

TEST_F(WeatherDownloadTest, SuccessStoresParsesAndShows) {
  Download();
  EXPECT_EQ(host_.status.rfind("Weather Successfully downloaded " +
                                   std::to_string(std::string(kReport).size()) + " bytes at:",
                               0),
            0u)
      << host_.status;
  EXPECT_EQ(test::ReadFile(TempFolder + "/weather.dat"), kReport);
  EXPECT_EQ(host_.labels,
            "Alabaster, Alabama|44\xB0"
            "F(7\xB0"
            "C)");
  EXPECT_EQ(host_.tray_hint,
            "Light Rain, 44\xB0"
            "F(7\xB0"
            "C)\r\nAlabaster, Alabama");
  EXPECT_EQ(host_.generated, 0);  // nobody asked for signatures
  const auto request = server_.Requests().back();
  EXPECT_EQ(request.Header("Referer"), "https://nimbalo.example.org");
  EXPECT_EQ(request.Header("User-Agent"), "Nimbalo https://nimbalo.example.org");

  // Without present weather the hint falls back to the sky.
  std::string no_weather = kReport;
  no_weather.erase(no_weather.find("Weather: light rain\r\n"), 21);
  server_.Serve("/obs/KEET.TXT", test::HttpTestResponse::Text(200, no_weather));
  Download();
  EXPECT_EQ(host_.tray_hint,
            "Mostly Cloudy, 44\xB0"
            "F(7\xB0"
            "C)\r\nAlabaster, Alabama");
}

TEST_F(WeatherDownloadTest, FailureTexts) {
  struct Case {
    test::HttpTestResponse response;
    std::string status;
  };
  test::HttpTestResponse short_body = test::HttpTestResponse::Text(200, std::string(600, 'x'));
  short_body.contentLength = 1000;
  const Case cases[] = {
      {test::HttpTestResponse::Text(404, "<h1>Not Found</h1>"),
       "HTTP Error #404: Document not found"},
      {test::HttpTestResponse::Text(500, "oops"), "HTTP Error #500: CGI script failed"},
      {test::HttpTestResponse::Text(403, "no"), "HTTP Error #403"},
      {short_body, "Connection Lost"},
  };
  for (const Case& c : cases) {
    server_.Serve("/obs/KEET.TXT", c.response);
    Download();
    EXPECT_EQ(host_.status, c.status);
  }
  ::setenv("NIMBALO_OBSERVATION_URL", "http://127.0.0.1:9/obs/", 1);
  Download();
  EXPECT_EQ(host_.status, "Host Unreachable");
  EXPECT_EQ(CurrentWeather.Temperature, "");  // failures leave the fields alone
  EXPECT_EQ(host_.labels, "");
}

TEST_F(WeatherDownloadTest, RequestsWaitForTheNextSuccess) {
  server_.Serve("/obs/KEET.TXT", test::HttpTestResponse::Text(404, ""));
  download_.SigRequested = true;
  Download();
  EXPECT_EQ(host_.generated, 0);
  EXPECT_TRUE(download_.SigRequested);

  server_.Serve("/obs/KEET.TXT", test::HttpTestResponse::Text(200, kReport));
  Download();
  EXPECT_EQ(host_.generated, 1);
  EXPECT_EQ(host_.notices, 1);
  EXPECT_FALSE(download_.SigRequested);
  Download();  // an unrequested download only refreshes the weather
  EXPECT_EQ(host_.generated, 1);
  EXPECT_EQ(host_.notices, 1);

  // The start-up request generates only while SigOnStart is on, and shows no notice.
  download_.StartupSigPending = true;
  Options.SigOnStart = false;
  Download();
  EXPECT_EQ(host_.generated, 1);
  EXPECT_FALSE(download_.StartupSigPending);
  download_.StartupSigPending = true;
  Options.SigOnStart = true;
  Download();
  EXPECT_EQ(host_.generated, 2);
  EXPECT_EQ(host_.notices, 1);
}

TEST_F(WeatherDownloadTest, RequestDuringRunningDownloadIsServedByIt) {
  test::HttpTestResponse held = test::HttpTestResponse::Text(200, kReport);
  held.hold = test::HoldPoint::BeforeResponse;
  server_.Serve("/obs/KEET.TXT", held);
  download_.StartDownload();
  ASSERT_TRUE(test::HttpTestServer::WaitUntil([&] { return server_.RequestCount() == 1; }));
  download_.SigRequested = true;
  download_.StartDownload();  // refused: one is running
  server_.Release();
  ASSERT_TRUE(
      dispatcher_.RunUntil([&] { return !download_.acHTTP1.Busy(); }, std::chrono::seconds(20)));
  EXPECT_EQ(host_.generated, 1);
  EXPECT_EQ(host_.notices, 1);
  EXPECT_EQ(server_.RequestCount(), 1u);
}

TEST_F(WeatherDownloadTest, ProxyFromConnectType) {
  // The server acts as a proxy that asks for credentials.
  server_.SetHandler([](const test::HttpTestRequest& request) {
    if (!request.Header("Proxy-Authorization")) {
      test::HttpTestResponse challenge = test::HttpTestResponse::Text(407, "who are you?");
      challenge.headers.emplace_back("Proxy-Authenticate", "Basic realm=\"proxy\"");
      return challenge;
    }
    return test::HttpTestResponse::Text(200, kReport);
  });
  Options.ConnectType = 2;
  Options.ProxyServer = "127.0.0.1";
  Options.ProxyPort = server_.Port();
  Options.ProxyUser = "";
  Options.ProxyPassword = EncryptText("secret", kPasswordKey);
  ::setenv("NIMBALO_OBSERVATION_URL", "http://weather.invalid/obs/", 1);
  Download();
  EXPECT_EQ(server_.Requests().back().target, "http://weather.invalid/obs/KEET.TXT");
  EXPECT_EQ(host_.status, "HTTP Error #407");  // no user: no credentials offered
  EXPECT_EQ(download_.acHTTP1.Proxy.ProxyPassword, "secret");

  Options.ProxyUser = "me";
  Download();
  EXPECT_EQ(host_.status.rfind("Weather Successfully downloaded", 0), 0u) << host_.status;
  EXPECT_EQ(server_.Requests().back().Header("Proxy-Authorization"),
            "Basic bWU6c2VjcmV0");  // me:secret

  Options.ConnectType = 7;  // unknown: the proxy stays as it was
  download_.acHTTP1.Proxy.AccessType = atDirect;
  download_.acHTTP1.Proxy.ProxyServer = "kept";
  download_.ApplyProxy(download_.acHTTP1.Proxy);
  EXPECT_EQ(download_.acHTTP1.Proxy.AccessType, atDirect);
  EXPECT_EQ(download_.acHTTP1.Proxy.ProxyServer, "kept");
  Options.ConnectType = 0;  // the system's settings; server and user are kept
  download_.ApplyProxy(download_.acHTTP1.Proxy);
  EXPECT_EQ(download_.acHTTP1.Proxy.AccessType, atPreconfig);
  EXPECT_EQ(download_.acHTTP1.Proxy.ProxyServer, "kept");
}

TEST_F(WeatherDownloadTest, ScheduleAndStatus) {
  Options.UpdateInterval = 3;
  download_.ApplySettings();
  EXPECT_TRUE(download_.WeatherTimer.Active());
  EXPECT_EQ(host_.sig_timer_activations, 1);
  EXPECT_TRUE(host_.update_automatic);
  EXPECT_EQ(host_.status, "Auto Weather:True Interval:3 minute(s) Next update:3 minute(s)");

  // Ticks 1 and 2 only count; tick 3 downloads and starts counting afresh.
  for (int tick = 1; tick <= 3; ++tick) {
    Minute();
    if (tick < 3) {
      download_.ShowWeatherStatus();
      EXPECT_EQ(host_.status, "Auto Weather:True Interval:3 minute(s) Next update:" +
                                  std::to_string(3 - tick) + " minute(s)");
      EXPECT_EQ(server_.RequestCount(), 0u);
    }
    EXPECT_TRUE(download_.WeatherTimer.Active());
  }
  ASSERT_TRUE(
      dispatcher_.RunUntil([&] { return !download_.acHTTP1.Busy(); }, std::chrono::seconds(20)));
  EXPECT_EQ(server_.RequestCount(), 1u);
  EXPECT_EQ(download_.WeatherTimer.TickCount(), 0u);
  EXPECT_EQ(host_.update_checks, 0);  // checked today already (the load set the date)

  Options.UpdateCheckDate = "yesterday";
  Options.WeatherAutoUpdate = false;
  Minute();
  EXPECT_EQ(host_.update_checks, 1);
  EXPECT_FALSE(download_.WeatherTimer.Active());  // switched off: stays off after its tick
  download_.ShowWeatherStatus();
  EXPECT_EQ(host_.status, "Auto Weather:False");
}

}  // namespace
}  // namespace nimbalo

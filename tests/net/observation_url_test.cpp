#include "net/observation_url.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace nimbalo {
namespace {

// The test environment points NIMBALO_OBSERVATION_URL at a local port; each case sets its own.
class ObservationUrlTest : public ::testing::Test {
 protected:
  ObservationUrlTest() {
    if (const char* old = std::getenv(variable)) saved_ = old;
  }
  ~ObservationUrlTest() override {
    if (saved_)
      ::setenv(variable, saved_->c_str(), 1);
    else
      ::unsetenv(variable);
  }
  static constexpr const char* variable = "NIMBALO_OBSERVATION_URL";

 private:
  std::optional<std::string> saved_;
};

TEST_F(ObservationUrlTest, PrefixFromEnvironmentOrDefault) {
  ::unsetenv(variable);
  EXPECT_EQ(ObservationUrl("KEET"),
            "https://tgftp.nws.noaa.gov/data/observations/metar/decoded/KEET.TXT");
  ::setenv(variable, "", 1);
  EXPECT_EQ(ObservationUrl("KEET"),
            "https://tgftp.nws.noaa.gov/data/observations/metar/decoded/KEET.TXT");
  ::setenv(variable, "http://127.0.0.1:8080/obs/", 1);
  EXPECT_EQ(ObservationUrl("KEET"), "http://127.0.0.1:8080/obs/KEET.TXT");
}

TEST_F(ObservationUrlTest, StationIdKeptAsTypedExceptUnsafeBytes) {
  ::setenv(variable, "http://h/", 1);
  struct Case {
    std::string stationId;
    std::string url;
  };
  for (const Case& c : {
           Case{"keet", "http://h/keet.TXT"},
           {" KEET ", "http://h/%20KEET%20.TXT"},
           {"", "http://h/.TXT"},
           {"K-E_T.~1", "http://h/K-E_T.~1.TXT"},
           {"A\"<>#%{}|\\^`?Z",
            "http://h/A%22%3C%3E%23%25%7B%7D%7C%5C%5E%60%3FZ"
            ".TXT"},
           {"\x01\t\x7F", "http://h/%01%09%7F.TXT"},
           {"M\xDCN\xE9", "http://h/M%DCN%E9.TXT"},
       }) {
    EXPECT_EQ(ObservationUrl(c.stationId), c.url) << c.stationId;
  }
}

}  // namespace
}  // namespace nimbalo

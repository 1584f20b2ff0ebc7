#include "signature/weather_line.h"

#include <gtest/gtest.h>

#include "config/options.h"
#include "weather/weather.h"

namespace nimbalo {
namespace {

TEST(WeatherLine, Fields) {
  struct Case {
    const char* what;
    TWeather weather;
    const char* expected;
  };
  TWeather report;
  report.SkyConditions = "Mostly Cloudy";
  report.PresentWeather = "Light Rain";
  report.Temperature =
      "44\xB0"
      "F";
  report.Wind = "NW-320\xB0 at 5mph";
  TWeather noPresent = report;
  noPresent.PresentWeather = "N/A";
  TWeather noSky = report;
  noSky.SkyConditions = "N/A";

  const Case cases[] = {
      {"full report", report,
       "Currently in Alabaster, Alabama Mostly Cloudy, Light Rain 44\xB0"
       "F Wind:NW-320\xB0 at 5mph"},
      {"present weather N/A is dropped with its blank", noPresent,
       "Currently in Alabaster, Alabama Mostly Cloudy, 44\xB0"
       "F Wind:NW-320\xB0 at 5mph"},
      {"other fields keep N/A", noSky,
       "Currently in Alabaster, Alabama N/A, Light Rain 44\xB0"
       "F Wind:NW-320\xB0 at 5mph"},
      {"before the first download", TWeather{}, "Currently in Alabaster, Alabama ,   Wind:"},
  };
  Options = TOptions{};
  for (const auto& c : cases) {
    CurrentWeather = c.weather;
    EXPECT_EQ(WeatherLine("Currently in"), c.expected) << c.what;
  }
}

TEST(WeatherLine, UsesTheGivenLeadInAndTheCity) {
  Options = TOptions{};
  Options.CityState = "Oslo";
  CurrentWeather = TWeather{};
  CurrentWeather.SkyConditions = "Clear";
  CurrentWeather.PresentWeather = "N/A";
  CurrentWeather.Temperature =
      "5\xB0"
      "C";
  CurrentWeather.Wind = "Calm";
  EXPECT_EQ(WeatherLine(""),
            " Oslo Clear, 5\xB0"
            "C Wind:Calm");
}

}  // namespace
}  // namespace nimbalo

#include "signature/weather_line.h"

#include "config/options.h"
#include "weather/weather.h"

namespace nimbalo {

std::string WeatherLine(const std::string& preText) {
  const TWeather& w = CurrentWeather;
  const std::string present = w.PresentWeather == "N/A" ? std::string() : w.PresentWeather + " ";
  return preText + " " + Options.CityState + " " + w.SkyConditions + ", " + present +
         w.Temperature + " Wind:" + w.Wind;
}

}  // namespace nimbalo

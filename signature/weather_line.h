// The weather line that signatures and previews carry.
#pragma once

#include <string>

namespace nimbalo {

// preText + " " + CityState + " " + SkyConditions + ", " + PresentWeather (and a blank,
// unless it is "N/A") + Temperature + " Wind:" + Wind, from Options and CurrentWeather.
std::string WeatherLine(const std::string& preText);

}  // namespace nimbalo

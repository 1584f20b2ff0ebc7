// The fields of the last observation report.
#pragma once

#include <string>

namespace nimbalo {

struct TWeather {
  std::string Station;
  std::string ObservedAt;
  std::string Wind;
  std::string Visibility;
  std::string SkyConditions;
  std::string PresentWeather;
  std::string Temperature;
  std::string DewPoint;
  std::string RelativeHumidity;
  std::string Pressure;
};

// Empty strings until the first parse; "N/A" for every line a parse did not find.
extern TWeather CurrentWeather;

}  // namespace nimbalo

#include "weather/weather.h"

namespace nimbalo {

TWeather CurrentWeather;

}  // namespace nimbalo

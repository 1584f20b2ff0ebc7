// Turns the decoded observation report that the download stores as weather.dat into the
// fields of CurrentWeather, with wind and temperature written for the measurement mode.
#pragma once

#include <string>

#include "weather/weather.h"

namespace nimbalo {

// Sets every field of CurrentWeather to "N/A", then fills it from TempFolder + "/weather.dat"
// for Options.Measure. Throws std::runtime_error, with the fields left "N/A", when the file
// cannot be read.
void ParseObservation();

// The fields of one report (Windows-1252 bytes). `measure` 1 is US, 2 metric, any other
// value both. Fewer than 5 lines give "N/A" everywhere.
TWeather ParseObservationText(const std::string& report, int measure);

// Upper-cases the first character and every character after a blank, lower-cases all
// others; only the ASCII letters change.
std::string CapitaliseWords(const std::string& text);

}  // namespace nimbalo

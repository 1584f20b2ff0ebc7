// libFuzzer target for the observation report parser, in every measurement mode.
//
//   cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DNIMBALO_BUILD_GUI=OFF \
//         -DNIMBALO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
//   cmake --build build-fuzz --target observation_parser_fuzz
//   mkdir -p fuzz-corpus && cp tests/weather/data/* fuzz-corpus/
//   build-fuzz/tests/weather/observation_parser_fuzz -max_total_time=60 \
//       -dict=tests/weather/observation_parser_fuzz.dict fuzz-corpus
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "weather/observation_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string report(reinterpret_cast<const char*>(data), size);
  for (const int measure : {1, 2, 3}) {
    const nimbalo::TWeather w = nimbalo::ParseObservationText(report, measure);
    for (const std::string* value :
         {&w.Station, &w.ObservedAt, &w.Wind, &w.Visibility, &w.SkyConditions, &w.PresentWeather,
          &w.Temperature, &w.DewPoint, &w.RelativeHumidity, &w.Pressure}) {
      // A value comes from within lines, at most two pieces of them.
      if (value->find_first_of("\r\n") != std::string::npos) std::abort();
      if (value->size() > 2 * size + 3) std::abort();
    }
  }
  return 0;
}

#include "weather/observation_parser.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

#include "app/myutil.h"
#include "app/paths.h"
#include "config/options.h"
#include "platform/text_file.h"

namespace nimbalo {

namespace {

// The rules below count characters from 1, with 0 for "not found". These helpers keep that
// arithmetic signed and clamp every copy to the string, so no label position or count taken
// from arbitrary input can reach outside it.
using Position = std::ptrdiff_t;
constexpr Position kToEnd = std::numeric_limits<Position>::max();

// "\260" is the degree sign, 0xB0 in Windows-1252.

Position Pos(const std::string& what, const std::string& text) {
  const std::size_t at = text.find(what);
  return at == std::string::npos ? 0 : static_cast<Position>(at) + 1;
}

// Up to `count` characters from position `from`; empty when `from` lies outside the text or
// `count` is not positive.
std::string Copy(const std::string& text, Position from, Position count) {
  const auto size = static_cast<Position>(text.size());
  if (from < 1 || from > size || count <= 0) return {};
  return text.substr(static_cast<std::size_t>(from - 1),
                     static_cast<std::size_t>(std::min(count, size - from + 1)));
}

std::string From(const std::string& text, Position from) {
  return Copy(text, from, kToEnd);
}

char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// ReplaceAll comparing ASCII letters without regard to case.
std::string ReplaceAllIgnoreCase(const std::string& text, const std::string& search,
                                 const std::string& replacement) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    bool match = text.size() - i >= search.size();
    for (std::size_t k = 0; match && k < search.size(); ++k)
      match = AsciiUpper(text[i + k]) == AsciiUpper(search[k]);
    if (match) {
      out += replacement;
      i += search.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

// Removes the bracket syntax of "NW (320°)" and "13KT)": " (" becomes "-", ")" goes.
std::string Dashed(const std::string& text) {
  return RemoveChar(ReplaceAll(text, " (", "-"), ')');
}

// `s` and `u` are the parse's working strings: they keep their text from one wind line to
// the next, so a later line that the rules cannot take apart repeats the earlier pieces.
std::string WindText(const std::string& line, Position p, int measure, std::string& s,
                     std::string& u) {
  std::string r = ReplaceAll(line, ":0", "");
  r = ReplaceAll(r, "from the ", "");
  r = ReplaceAll(r, " degrees)", "\260)");
  r = ReplaceAll(r, " MPH", "mph");
  r = ReplaceAll(r, " KT)", "KT)");
  if (line.find("Calm") != std::string::npos) return From(r, p + 6);

  if (measure == 1) {
    // The text after the label up to and including the first "mph", then any gust up to
    // its own "mph".
    if (const Position q = Pos("mph", r); q > 0) s = Copy(r, p + 6, q - p - 3);
    s = Dashed(s);
    if (const Position g = Pos(" gusting", r); g > 0) {
      u = From(r, g);
      if (const Position k = Pos("mph (", u); k > 0) u = Copy(u, 1, k + 2);
    }
    return s + u;
  }
  if (measure == 2) {
    // Direction and degrees through " at ", then the speeds in knots after the first "mph (".
    const Position a = Pos(") at ", r);
    const Position b = Pos("mph (", r);
    const Position c = Pos("KT)", r);
    if (a > 0 && b > 0 && c > 0) s = Copy(r, p + 6, a - p - 1) + From(r, b + 5);
    s = ReplaceAllIgnoreCase(s, "KT)", "KT");
    const Position g = Pos("to ", s);
    const Position h = Pos("mph (", s);
    if (g > 0 && h > 0) {
      u = RemoveChar(From(s, h + 4), '(');
      s = Copy(s, 1, g + 2);
    }
    s = Dashed(s);
    return s + u;
  }
  return From(r, p + 6);
}

// `current` is what a line that the mode cannot use leaves in place.
std::string TemperatureText(const std::string& line, Position t, int measure,
                            const std::string& current) {
  std::string r = ReplaceAll(line, " F ", "\260F");
  r = ReplaceAll(r, ".0F", "F");
  r = ReplaceAll(r, " C)", "\260C)");
  if (measure == 1) {
    // The text after the label through "°F".
    const Position m = Pos("\260F", r);
    return m > 0 ? Copy(r, t + 13, m - t - 11) : current;
  }
  if (measure == 2) {
    const Position m = Pos("(", r);
    const Position n = Pos(")", r);
    return m > 0 && n > 0 ? Copy(r, m + 1, n - m - 1) : current;
  }
  return From(r, t + 13);
}

TWeather NotAvailable() {
  const std::string na = "N/A";
  return TWeather{na, na, na, na, na, na, na, na, na, na};
}

}  // namespace

std::string CapitaliseWords(const std::string& text) {
  std::string out = text;
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = i == 0 || out[i - 1] == ' ' ? AsciiUpper(out[i]) : AsciiLower(out[i]);
  return out;
}

TWeather ParseObservationText(const std::string& report, int measure) {
  TWeather w = NotAvailable();
  const std::vector<std::string> lines = SplitLines(report);
  if (lines.size() < 5) return w;

  w.Station = lines[0];
  w.ObservedAt = lines[1];
  std::string s;
  std::string u;
  for (const std::string& line : lines) {
    // Each value starts after the label and the blank that follows it.
    if (const Position p = Pos("Wind:", line); p > 0) w.Wind = WindText(line, p, measure, s, u);
    if (const Position p = Pos("Visibility:", line); p > 0)
      w.Visibility = From(ReplaceAll(line, ":0", ""), p + 12);
    if (const Position p = Pos("Sky conditions:", line); p > 0)
      w.SkyConditions = CapitaliseWords(From(line, p + 16));
    if (const Position p = Pos("Weather:", line); p > 0)
      w.PresentWeather = CapitaliseWords(From(line, p + 9));
    if (const Position p = Pos("Temperature:", line); p > 0)
      w.Temperature = TemperatureText(line, p, measure, w.Temperature);
    if (const Position p = Pos("Dew Point:", line); p > 0) w.DewPoint = From(line, p + 11);
    if (const Position p = Pos("Relative Humidity:", line); p > 0)
      w.RelativeHumidity = From(line, p + 19);
    if (const Position p = Pos("Pressure (altimeter):", line); p > 0)
      w.Pressure = From(line, p + 22);
  }
  return w;
}

void ParseObservation() {
  CurrentWeather = NotAvailable();
  const std::string path = TempFolder + "/weather.dat";
  const auto report = ReadFileBytes(path);
  if (!report) {
    throw std::runtime_error("Cannot open file \"" + path + "\". " + std::strerror(errno));
  }
  CurrentWeather = ParseObservationText(*report, Options.Measure);
}

}  // namespace nimbalo

#include "weather/observation_parser.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/paths.h"
#include "config/options.h"
#include "tests/support/test_home.h"

namespace nimbalo {
namespace {

using Field = std::string TWeather::*;

struct NamedField {
  Field field;
  const char* name;
};

const std::array<NamedField, 10> kFields{{{&TWeather::Station, "Station"},
                                          {&TWeather::ObservedAt, "ObservedAt"},
                                          {&TWeather::Wind, "Wind"},
                                          {&TWeather::Visibility, "Visibility"},
                                          {&TWeather::SkyConditions, "SkyConditions"},
                                          {&TWeather::PresentWeather, "PresentWeather"},
                                          {&TWeather::Temperature, "Temperature"},
                                          {&TWeather::DewPoint, "DewPoint"},
                                          {&TWeather::RelativeHumidity, "RelativeHumidity"},
                                          {&TWeather::Pressure, "Pressure"}}};

std::string Join(const std::vector<std::string>& lines, const std::string& lineBreak = "\n") {
  std::string text;
  for (const auto& line : lines)
    text += line + lineBreak;
  return text;
}

const std::string kStation = "Sample Field Airport, AL, United States (KEET) 33-11N 086-47W";
const std::string kDate = "Dec 08, 2009 - 09:15 PM EST / 2009.12.09 0215 UTC";

const std::vector<std::string> kExample{kStation,
                                        kDate,
                                        "Wind: from the NW (320 degrees) at 5 MPH (4 KT):0",
                                        "Visibility: 10 mile(s):0",
                                        "Sky conditions: mostly cloudy",
                                        "Weather: light rain",
                                        "Temperature: 44 F (7 C)",
                                        "Dew Point: 30 F (-1 C)",
                                        "Relative Humidity: 57%",
                                        "Pressure (altimeter): 30.19 in. Hg (1022 hPa)"};

// A five-line report around `line`, whose other lines carry no wind or temperature.
std::vector<std::string> Around(const std::string& line) {
  return {kStation, kDate, line, "Visibility: 10 mile(s):0", "Relative Humidity: 57%"};
}

void ExpectAllNotAvailable(const TWeather& w, const std::string& context) {
  for (const auto& f : kFields)
    EXPECT_EQ(w.*f.field, "N/A") << context << ": " << f.name;
}

TEST(ParseObservationText, ExampleAndWindAndTemperatureTablesInEveryMode) {
  struct Row {
    std::vector<std::string> report;
    Field field;
    std::array<std::string, 3> byMode;  // measure 1, 2, 3
  };
  const std::vector<Row> rows{
      {kExample, &TWeather::Station, {kStation, kStation, kStation}},
      {kExample, &TWeather::ObservedAt, {kDate, kDate, kDate}},
      {kExample,
       &TWeather::Wind,
       {"NW-320\260 at 5mph", "NW-320\260 at 4KT", "NW (320\260) at 5mph (4KT)"}},
      {kExample, &TWeather::Visibility, {"10 mile(s)", "10 mile(s)", "10 mile(s)"}},
      {kExample, &TWeather::SkyConditions, {"Mostly Cloudy", "Mostly Cloudy", "Mostly Cloudy"}},
      {kExample, &TWeather::PresentWeather, {"Light Rain", "Light Rain", "Light Rain"}},
      {kExample, &TWeather::Temperature, {"44\260F", "7\260C", "44\260F(7\260C)"}},
      {kExample, &TWeather::DewPoint, {"30 F (-1 C)", "30 F (-1 C)", "30 F (-1 C)"}},
      {kExample, &TWeather::RelativeHumidity, {"57%", "57%", "57%"}},
      {kExample,
       &TWeather::Pressure,
       {"30.19 in. Hg (1022 hPa)", "30.19 in. Hg (1022 hPa)", "30.19 in. Hg (1022 hPa)"}},
      {Around("Wind: from the NNW (340 degrees) at 15 MPH (13 KT) gusting to 24 MPH (21 KT):0"),
       &TWeather::Wind,
       {"NNW-340\260 at 15mph gusting to 24mph", "NNW-340\260 at 13KT gusting to 21KT",
        "NNW (340\260) at 15mph (13KT) gusting to 24mph (21KT)"}},
      {Around("Wind: Calm:0"), &TWeather::Wind, {"Calm", "Calm", "Calm"}},
      {Around("Wind: Variable at 3 MPH (3 KT):0"),
       &TWeather::Wind,
       {"Variable at 3mph", "", "Variable at 3mph (3KT)"}},
      {Around("Temperature: 44.1 F (6.7 C)"),
       &TWeather::Temperature,
       {"44.1\260F", "6.7\260C", "44.1\260F(6.7\260C)"}},
      {Around("Temperature: 23 F (-5 C)"),
       &TWeather::Temperature,
       {"23\260F", "-5\260C", "23\260F(-5\260C)"}},
      {Around("Temperature: 44F (7C)"), &TWeather::Temperature, {"N/A", "7C", "44F (7C)"}},
  };
  for (const Row& row : rows) {
    for (int measure = 1; measure <= 3; ++measure) {
      const TWeather w = ParseObservationText(Join(row.report), measure);
      EXPECT_EQ(w.*row.field, row.byMode[measure - 1]) << row.report[2] << ", measure " << measure;
    }
  }
}

TEST(ParseObservationText, NeedsFiveLines) {
  ExpectAllNotAvailable(ParseObservationText("", 3), "empty");
  ExpectAllNotAvailable(
      ParseObservationText(Join({kStation, kDate, "Wind: Calm:0", "Temperature: 44 F (7 C)"}), 3),
      "four lines");
  // A break at the end does not start a fifth line.
  ExpectAllNotAvailable(ParseObservationText("a\r\nb\r\nc\r\nd\r\n", 3), "trailing break");

  const TWeather w = ParseObservationText(kStation + "\r\n" + kDate + "\rnothing\n\ncycle: 21", 3);
  EXPECT_EQ(w.Station, kStation);
  EXPECT_EQ(w.ObservedAt, kDate);
  for (const auto& f : kFields) {
    if (f.field != &TWeather::Station && f.field != &TWeather::ObservedAt) {
      EXPECT_EQ(w.*f.field, "N/A") << f.name;
    }
  }
}

TEST(ParseObservationText, LineBreaksDoNotReachTheValues) {
  for (const char* lineBreak : {"\n", "\r\n", "\r"}) {
    const TWeather w = ParseObservationText(Join(kExample, lineBreak), 3);
    EXPECT_EQ(w.Station, kStation) << "break " << int{lineBreak[0]};
    EXPECT_EQ(w.Pressure, "30.19 in. Hg (1022 hPa)");
    EXPECT_EQ(w.Wind, "NW (320\260) at 5mph (4KT)");
  }
}

TEST(ParseObservationText, LabelAnywhereInTheLineUsesItsOwnPosition) {
  struct Case {
    std::string line;
    int measure;
    Field field;
    std::string expected;
  };
  const std::vector<Case> cases{
      {"Remark Weather: haze", 3, &TWeather::PresentWeather, "Haze"},
      {"Remark Temperature: 44 F (7 C)", 1, &TWeather::Temperature, "44\260F"},
      {"Remark Temperature: 44 F (7 C)", 3, &TWeather::Temperature, "44\260F(7\260C)"},
      {"Remark Wind: from the NW (320 degrees) at 5 MPH (4 KT):0", 1, &TWeather::Wind,
       "NW-320\260 at 5mph"},
      {"Remark Wind: from the NW (320 degrees) at 5 MPH (4 KT):0", 2, &TWeather::Wind,
       "NW-320\260 at 4KT"},
      {"Remark Visibility: 10 mile(s):0", 3, &TWeather::Visibility, "10 mile(s)"},
      // One line can carry several labels.
      {"Dew Point: 30 F (-1 C) Relative Humidity: 57%", 3, &TWeather::DewPoint,
       "30 F (-1 C) Relative Humidity: 57%"},
      {"Dew Point: 30 F (-1 C) Relative Humidity: 57%", 3, &TWeather::RelativeHumidity, "57%"},
      // A label at the very end of the line has an empty value.
      {"Sky conditions:", 3, &TWeather::SkyConditions, ""},
      {"Wind:", 1, &TWeather::Wind, ""},
  };
  for (const Case& c : cases) {
    const TWeather w = ParseObservationText(Join(Around(c.line)), c.measure);
    EXPECT_EQ(w.*c.field, c.expected) << c.line << ", measure " << c.measure;
  }
}

TEST(ParseObservationText, LaterLineDecidesUnlessItCannotBeUsed) {
  const std::string first = "Temperature: 44 F (7 C)";
  const std::vector<std::string> report{kStation, kDate, first, "Temperature: 50 F (10 C)",
                                        "cycle: 2"};
  EXPECT_EQ(ParseObservationText(Join(report), 1).Temperature, "50\260F");
  EXPECT_EQ(ParseObservationText(Join(report), 2).Temperature, "10\260C");

  // A later line the mode cannot read leaves the earlier value in place.
  const std::vector<std::string> unusable{kStation, kDate, first, "Temperature: n/a", "cycle: 2"};
  EXPECT_EQ(ParseObservationText(Join(unusable), 1).Temperature, "44\260F");
  EXPECT_EQ(ParseObservationText(Join(unusable), 2).Temperature, "7\260C");
  EXPECT_EQ(ParseObservationText(Join(unusable), 3).Temperature, "n/a");
}

TEST(ParseObservationText, WindPiecesCarryOverToLaterWindLines) {
  const std::string gusting =
      "Wind: from the NNW (340 degrees) at 15 MPH (13 KT) gusting to 24 MPH (21 KT):0";
  const std::string variable = "Wind: Variable at 3 MPH (3 KT):0";
  const auto parse = [](const std::string& a, const std::string& b, int measure) {
    return ParseObservationText(Join({kStation, kDate, a, b, "cycle: 2"}), measure).Wind;
  };
  // Mode 1 keeps the earlier gust; mode 2 cannot take the variable wind apart and keeps all.
  EXPECT_EQ(parse(gusting, variable, 1), "Variable at 3mph gusting to 24mph");
  EXPECT_EQ(parse(gusting, variable, 2), "NNW-340\260 at 13KT gusting to 21KT");
  EXPECT_EQ(parse(gusting, "Wind: unknown:0", 1), "NNW-340\260 at 15mph gusting to 24mph");
  EXPECT_EQ(parse(gusting, variable, 3), "Variable at 3mph (3KT)");
  EXPECT_EQ(parse(gusting, "Wind: Calm:0", 1), "Calm");
}

TEST(CapitaliseWords, Cases) {
  struct Case {
    const char* text;
    const char* expected;
  };
  for (const Case c : {Case{"overcast", "Overcast"},
                       {"BKN clouds", "Bkn Clouds"},
                       {"rain/snow", "Rain/snow"},
                       {"light rain, mist", "Light Rain, Mist"},
                       {"  two  blanks ", "  Two  Blanks "},
                       {"tab\tSEPARATED", "Tab\tseparated"},
                       {"\xC9T\xC9 x", "\xC9t\xC9 X"},
                       {"", ""}}) {
    EXPECT_EQ(CapitaliseWords(c.text), c.expected) << c.text;
  }
}

// Inputs stitched together from the pieces the rules look for, in every order, so that labels
// land at line ends, brackets come before labels and counts go negative.
TEST(ParseObservationText, ArbitraryInputStaysInsideItsLines) {
  const std::vector<std::string> pieces{"Wind:",
                                        "Visibility:",
                                        "Sky conditions:",
                                        "Weather:",
                                        "Temperature:",
                                        "Dew Point:",
                                        "Relative Humidity:",
                                        "Pressure (altimeter):",
                                        " ",
                                        "Calm",
                                        "mph",
                                        "mph (",
                                        " MPH",
                                        " KT)",
                                        "KT)",
                                        "kt)",
                                        ") at ",
                                        " gusting",
                                        "to ",
                                        "from the ",
                                        " degrees)",
                                        "(",
                                        ")",
                                        ":0",
                                        " F ",
                                        ".0F",
                                        " C)",
                                        "\260",
                                        "\260F",
                                        "1",
                                        "\r",
                                        "\n",
                                        "\r\n",
                                        std::string(1, '\0'),
                                        "\xFF"};
  std::mt19937 random(20091208);
  for (int round = 0; round < 3000; ++round) {
    std::string report;
    const auto count = random() % 40;
    for (std::uint32_t i = 0; i < count; ++i) {
      if (random() % 8 == 0)
        report += static_cast<char>(random() % 256);
      else
        report += pieces[random() % pieces.size()];
    }
    for (const int measure : {0, 1, 2, 3, 255}) {
      const TWeather w = ParseObservationText(report, measure);
      for (const auto& f : kFields) {
        const std::string& value = w.*f.field;
        ASSERT_EQ(value.find_first_of("\r\n"), std::string::npos) << f.name << " round " << round;
        // Every value is at most two pieces of the report's lines, or "N/A".
        ASSERT_LE(value.size(), 2 * report.size() + 3) << f.name;
      }
    }
  }
}

class ParseObservationFile : public ::testing::Test {
 protected:
  void SetUp() override {
    savedTempFolder_ = TempFolder;
    savedMeasure_ = Options.Measure;
    TempFolder = home_.Root() + "/tmp";
    test::MakeFolders(TempFolder);
  }
  void TearDown() override {
    TempFolder = savedTempFolder_;
    Options.Measure = savedMeasure_;
  }

  test::TestHome home_;
  std::string savedTempFolder_;
  std::uint8_t savedMeasure_ = 3;
};

TEST_F(ParseObservationFile, ReadsAFullReportForTheMeasurementMode) {
  const std::string report =
      test::ReadFile(std::string(NIMBALO_WEATHER_TEST_DATA) + "/keet_gusting_report.txt");
  struct Case {
    std::uint8_t measure;
    const char* wind;
    const char* temperature;
  };
  for (const Case c :
       {Case{1, "NNW-340\260 at 15mph gusting to 24mph", "35.1\260F"},
        {2, "NNW-340\260 at 13KT gusting to 21KT", "1.7\260C"},
        {3, "NNW (340\260) at 15mph (13KT) gusting to 24mph (21KT)", "35.1\260F(1.7\260C)"},
        {0, "NNW (340\260) at 15mph (13KT) gusting to 24mph (21KT)", "35.1\260F(1.7\260C)"},
        {7, "NNW (340\260) at 15mph (13KT) gusting to 24mph (21KT)", "35.1\260F(1.7\260C)"}}) {
    test::WriteFile(TempFolder + "/weather.dat", report);
    Options.Measure = c.measure;
    ParseObservation();
    const TWeather& w = CurrentWeather;
    const int measure = c.measure;
    EXPECT_EQ(w.Wind, c.wind) << measure;
    EXPECT_EQ(w.Temperature, c.temperature) << measure;
    EXPECT_EQ(w.Station,
              "Sample Field Airport, AL, United States (KEET) 33-10-42N 086-46-58W 179M");
    EXPECT_EQ(w.ObservedAt, "Jan 15, 2024 - 03:53 PM EST / 2024.01.15 2053 UTC");
    EXPECT_EQ(w.Visibility, "greater than 7 mile(s)");
    EXPECT_EQ(w.SkyConditions, "Overcast");
    EXPECT_EQ(w.PresentWeather, "Light Rain; Mist");
    EXPECT_EQ(w.DewPoint, "32.0 F (0.0 C)");
    EXPECT_EQ(w.RelativeHumidity, "88%");
    EXPECT_EQ(w.Pressure, "30.19 in. Hg (1022 hPa)");
  }
}

TEST_F(ParseObservationFile, UnreadableFileThrowsWithEveryFieldNotAvailable) {
  CurrentWeather.Temperature = "44\260F";
  EXPECT_THROW(ParseObservation(), std::runtime_error);
  ExpectAllNotAvailable(CurrentWeather, "missing");

  test::MakeFolders(TempFolder + "/weather.dat");  // a folder cannot be read as a file
  CurrentWeather.Wind = "Calm";
  EXPECT_THROW(ParseObservation(), std::runtime_error);
  ExpectAllNotAvailable(CurrentWeather, "folder");
}

}  // namespace
}  // namespace nimbalo

#include "signature/template_converter.h"

#include <gtest/gtest.h>

#include "tests/support/test_home.h"

namespace nimbalo {
namespace {

TEST(UpperCase1252, FoldsAsciiAndWesternLetters) {
  EXPECT_EQ(UpperCase1252("%weather% abc XYZ 09"), "%WEATHER% ABC XYZ 09");
  // Lower-case accented letters, š, œ, ž and ÿ have upper-case partners in Windows-1252;
  // the division sign, ß and µ do not.
  EXPECT_EQ(UpperCase1252("\xE9\xFE\x9A\x9C\x9E\xFF"), "\xC9\xDE\x8A\x8C\x8E\x9F");
  EXPECT_EQ(UpperCase1252("\xF7\xDF\xB5"), "\xF7\xDF\xB5");
}

struct ConvertCase {
  const char* what;
  std::vector<TemplateParam> params;
  const char* text;
  const char* expected;
};

TEST(DuzTextTemplateConverter, OrderingRules) {
  const ConvertCase cases[] = {
      {"no parameters: unchanged", {}, "a %WEATHER% b", "a %WEATHER% b"},
      {"every occurrence", {{"%X%", "1"}}, "%X%%X% %X%", "11 1"},
      {"case ignored in the match", {{"%WEATHER%", "sun"}}, "%weather% %WeAtHeR%", "sun sun"},
      {"case ignored for accented letters", {{"%\xE9T\xC9%", "v"}}, "%\xC9t\xE9%", "v"},
      {"value keeps its own case", {{"%x%", "MiXeD"}}, "%X%", "MiXeD"},
      {"no rescan by the same parameter",
       {{"%PERSONAL_MSG1%", "x %PERSONAL_MSG1% y"}},
       "%PERSONAL_MSG1%",
       "x %PERSONAL_MSG1% y"},
      {"left to right, no overlap", {{"aa", "a"}}, "aaaa", "aa"},
      {"later parameters see earlier values",
       {{"%PERSONAL_MSG1%", "quote: %COOKIE%"}, {"%COOKIE%", "be kind"}},
       "%PERSONAL_MSG1%",
       "quote: be kind"},
      {"earlier parameters do not see later values",
       {{"%WEATHER%", "rain"}, {"%COOKIE%", "said %WEATHER%"}},
       "%COOKIE% / %WEATHER%",
       "said %WEATHER% / rain"},
      {"empty value removes the placeholder",
       {{"%PERSONAL_MSG1%", ""}},
       "%PERSONAL_MSG1%<BR>",
       "<BR>"},
      {"empty name changes nothing", {{"", "x"}}, "abc", "abc"},
      {"bytes kept around a match", {{"%X%", "y"}}, "\r\n%x%\xFF\r\n", "\r\ny\xFF\r\n"},
  };
  for (const auto& c : cases) {
    DuzTextTemplateConverter converter;
    converter.Params = c.params;
    EXPECT_EQ(converter.Convert(c.text), c.expected) << c.what;
  }
}

TEST(DuzTextTemplateConverter, EmbeddedZeroBytesStay) {
  DuzTextTemplateConverter converter;
  converter.Params = {{"%x%", "y"}};
  const std::string text("a\0%X%\0b", 7);
  EXPECT_EQ(converter.Convert(text), std::string("a\0y\0b", 5));
}

TEST(DuzTextTemplateConverter, MatchesCaseWhenAsked) {
  DuzTextTemplateConverter converter;
  converter.IgnoreCaseOfParams = false;
  converter.Params = {{"%WEATHER%", "sun"}};
  EXPECT_EQ(converter.Convert("%weather% %WEATHER%"), "%weather% sun");
}

TEST(DuzTextTemplateConverter, WritesTheResultToTheOutputPath) {
  test::TestHome home;
  const std::string out = home.Root() + "/SIG_a.txt";
  test::WriteFile(out, "an older and much longer signature");
  DuzTextTemplateConverter converter;
  converter.Params = {{"%COOKIE%", "c"}};
  EXPECT_TRUE(converter.Convert("%cookie%\r\n", out));
  EXPECT_EQ(test::ReadFile(out), "c\r\n");

  EXPECT_FALSE(converter.Convert("x", home.Root() + "/missing/SIG_a.txt"));
  EXPECT_FALSE(test::FileExists(home.Root() + "/missing"));
}

}  // namespace
}  // namespace nimbalo

#include "config/logfont.h"

#include <gtest/gtest.h>

namespace nimbalo {
namespace {

TEST(FontValue, LayoutAndRoundTrip) {
  StoredFont font;
  font.Color = 0x00FF8040;
  font.Height = -13;
  font.Weight = 700;
  font.Italic = 1;
  font.CharSet = 0;
  font.PitchAndFamily = 34;
  font.FaceName = "Verdana";
  const std::string bytes = EncodeFontValue(font);
  ASSERT_EQ(bytes.size(), 64u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x40\x80\xFF\x00", 4));   // colour, little-endian
  EXPECT_EQ(bytes.substr(4, 4), std::string("\xF3\xFF\xFF\xFF", 4));   // height -13
  EXPECT_EQ(bytes.substr(20, 4), std::string("\xBC\x02\x00\x00", 4));  // weight 700
  EXPECT_EQ(bytes[24], 1);                                             // italic
  EXPECT_EQ(bytes.substr(32, 8), std::string("Verdana\0", 8));
  EXPECT_EQ(DecodeFontValue(bytes), font);

  EXPECT_FALSE(DecodeFontValue(bytes.substr(0, 20)));
  EXPECT_FALSE(DecodeFontValue(bytes + "x"));

  font.FaceName = std::string(40, 'A');  // longer than LOGFONTA holds: cut to 31
  EXPECT_EQ(DecodeFontValue(EncodeFontValue(font))->FaceName, std::string(31, 'A'));
}

}  // namespace
}  // namespace nimbalo

#include "app/myutil.h"

#include <gtest/gtest.h>

#include <atomic>

#include "tests/support/counting_dispatcher.h"
#include "tests/support/test_home.h"

namespace nimbalo {
namespace {

TEST(IsHex, Cases) {
  EXPECT_FALSE(IsHex(""));
  EXPECT_TRUE(IsHex("1f A0"));
  EXPECT_TRUE(IsHex("   "));
  EXPECT_FALSE(IsHex("0x1F"));
  EXPECT_FALSE(IsHex("g"));
}

TEST(IsNumeric, Cases) {
  struct Case {
    const char* text;
    bool numeric;
  };
  for (const Case c : {Case{"", true},
                       {"007", true},
                       {"2147483647", true},
                       {"-1", false},
                       {" 5", false},
                       {"2147483648", false},
                       {"99999999999999999999", false},
                       {"0x10", false},
                       {"+1", false}}) {
    EXPECT_EQ(IsNumeric(c.text), c.numeric) << c.text;
  }
}

TEST(ReplaceInList, NoRescanOfInsertedText) {
  std::vector<std::string> lines{"aaaa", "x%PERSONAL_MSG1%", "none", "AA"};
  ReplaceInList(lines, "aa", "a");
  EXPECT_EQ(lines[0], "aa");
  EXPECT_EQ(lines[3], "AA");  // case-sensitive
  ReplaceInList(lines, "%PERSONAL_MSG1%", "x %PERSONAL_MSG1% y");
  EXPECT_EQ(lines[1], "xx %PERSONAL_MSG1% y");
  ReplaceInList(lines, "", "zzz");
  EXPECT_EQ(lines[2], "none");
}

TEST(StripAndTrim, Cases) {
  EXPECT_EQ(StripLeading("\\\\a\\b\\", '\\'), "a\\b\\");
  EXPECT_EQ(StripTrailing("\\a\\b\\\\", '\\'), "\\a\\b");
  EXPECT_EQ(TrimChar("\\C:\\Data\\", '\\'), "C:\\Data");
  EXPECT_EQ(TrimChar("", '\\'), "");
  EXPECT_EQ(TrimChar("\\\\\\", '\\'), "");
  EXPECT_EQ(StripLeading("xxx", 'x'), "");
  EXPECT_EQ(RemoveChar("&Save && go&", '&'), "Save  go");
}

TEST(RandomName, Shape) {
  const std::string name = RandomName();
  ASSERT_GE(name.size(), 5u);
  EXPECT_TRUE(name[0] >= 'a' && name[0] <= 'z');
  EXPECT_TRUE(name[1] >= 'a' && name[1] <= 'z');
  for (std::size_t i = 2; i < name.size(); ++i)
    EXPECT_TRUE(name[i] >= '0' && name[i] <= '9');
}

std::atomic<std::uint32_t> fake_ticks{0};
std::uint32_t FakeTicks() {
  return fake_ticks.fetch_add(7);
}

TEST(Delay, SurvivesCounterWrapAndPumpsEvents) {
  fake_ticks = 0xFFFFFF00u;  // wraps after about 37 calls
  SetTickSource(&FakeTicks);
  test::CountingDispatcher dispatcher;
  int& pumped = dispatcher.pumped;
  Delay(1000);
  SetTickSource(nullptr);
  // 1000 ms at 7 ms a reading: about 143 turns, not a near-immediate return at the wrap.
  EXPECT_GE(pumped, 142);
  EXPECT_LE(pumped, 145);
  pumped = 0;
  Delay(0);
  Delay(-5);
  EXPECT_EQ(pumped, 0);
}

TEST(CopyFileBlocks, Codes) {
  test::TestHome home;
  const std::string src = home.Root() + "/src.bin";
  const std::string dst = home.Root() + "/dst.bin";
  test::WriteFile(src, "");
  EXPECT_EQ(CopyFileBlocks(src, dst), 0);
  EXPECT_EQ(test::ReadFile(dst), "");

  std::string big(5000, 'x');
  big[4999] = '\x95';
  test::WriteFile(src, big);
  EXPECT_EQ(CopyFileBlocks(" " + src + " ", dst), 0);
  EXPECT_EQ(test::ReadFile(dst), big);

  EXPECT_EQ(CopyFileBlocks(src, "  " + src), 1);
  EXPECT_EQ(CopyFileBlocks(home.Root() + "/missing", dst), 2);
  EXPECT_EQ(CopyFileBlocks(src, home.Root() + "/no/such/folder/x"), 3);
  EXPECT_EQ(CopyFileBlocks(src, "/dev/full"), 4);
}

}  // namespace
}  // namespace nimbalo

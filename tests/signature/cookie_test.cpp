#include "signature/cookie.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/support/test_home.h"

namespace nimbalo {
namespace {

class PickCookieTest : public ::testing::Test {
 protected:
  std::string File(const std::string& bytes) {
    const std::string path = home_.Root() + "/cookies.txt";
    test::WriteFile(path, bytes);
    return path;
  }
  test::TestHome home_;
};

TEST_F(PickCookieTest, SingleLineAlwaysChosen) {
  const std::string path = File("Be kind.\r\n");
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(PickCookie(path), "Be kind.");
}

TEST_F(PickCookieTest, EveryLineCanBeChosen) {
  const std::string path = File("one\ntwo\r\n\rfour");
  std::set<std::string> seen;
  for (int i = 0; i < 400; ++i)
    seen.insert(PickCookie(path));
  EXPECT_EQ(seen, (std::set<std::string>{"one", "two", "", "four"}));
}

TEST_F(PickCookieTest, NothingToPickGivesEmptyCookie) {
  EXPECT_EQ(PickCookie(File("")), "");
  EXPECT_EQ(PickCookie(home_.Root()), "");  // exists but cannot be read as a file
  EXPECT_EQ(PickCookie(home_.Root() + "/missing.txt"), "");
}

}  // namespace
}  // namespace nimbalo

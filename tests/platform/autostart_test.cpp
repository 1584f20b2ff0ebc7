#include "platform/autostart.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/test_home.h"

namespace nimbalo {
namespace {

class AutostartTest : public ::testing::Test {
 protected:
  test::TestHome home_;
  std::string EntryPath() const { return home_.ConfigFolder() + "/autostart/nimbalo.desktop"; }
};

TEST(DesktopExecArgumentTest, QuotesAndEscapesWhatTheLauncherWouldSplitOrExpand) {
  struct Case {
    std::string argument;
    std::string expected;
  };
  const Case cases[] = {
      {"/usr/lib/nimbalo/nimbalo", "/usr/lib/nimbalo/nimbalo"},
      {"/home/ann smith/nimbalo", "\"/home/ann smith/nimbalo\""},
      {"/opt/100%/nimbalo", "/opt/100%%/nimbalo"},
      {"/opt/$HOME/nimbalo", "\"/opt/\\$HOME/nimbalo\""},
      {"/opt/a\\b/nimbalo", "\"/opt/a\\\\b/nimbalo\""},
      {"/opt/say \"hi\"/nimbalo", "\"/opt/say \\\"hi\\\"/nimbalo\""},
      {"/opt/`x`/nimbalo", "\"/opt/\\`x\\`/nimbalo\""},
      {"/opt/it's/nimbalo", "\"/opt/it's/nimbalo\""},
      {"", "\"\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DesktopExecArgument(c.argument), c.expected) << c.argument;
  }
}

TEST_F(AutostartTest, EntryStartsTheProgramMinimizedAndCreatesTheFolder) {
  EXPECT_EQ(AutostartEntryPath("Nimbalo"), EntryPath());
  ASSERT_TRUE(WriteAutostartEntry("Nimbalo", "/home/ann smith/bin/nimbalo"));
  const std::string entry = test::ReadFile(EntryPath());
  EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
  EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
  EXPECT_NE(entry.find("\nName=Nimbalo\n"), std::string::npos);
  EXPECT_NE(entry.find("\nExec=\"/home/ann smith/bin/nimbalo\" /minimized\n"), std::string::npos);
}

TEST_F(AutostartTest, BackslashIsEscapedOnceForTheArgumentAndOnceForTheValue) {
  ASSERT_TRUE(WriteAutostartEntry("Nimbalo", "/opt/a\\b/nimbalo"));
  EXPECT_NE(test::ReadFile(EntryPath()).find("\nExec=\"/opt/a\\\\\\\\b/nimbalo\" /minimized\n"),
            std::string::npos);
}

TEST_F(AutostartTest, WritingAgainReplacesTheEntry) {
  ASSERT_TRUE(WriteAutostartEntry("Nimbalo", "/old/nimbalo"));
  ASSERT_TRUE(WriteAutostartEntry("Nimbalo", "/new/nimbalo"));
  const std::string entry = test::ReadFile(EntryPath());
  EXPECT_EQ(entry.find("/old/"), std::string::npos);
  EXPECT_NE(entry.find("Exec=/new/nimbalo /minimized"), std::string::npos);
}

TEST_F(AutostartTest, RemoveDeletesOnlyAnExistingEntry) {
  ASSERT_TRUE(WriteAutostartEntry("Nimbalo", "/usr/bin/nimbalo"));
  EXPECT_TRUE(RemoveAutostartEntry("Nimbalo"));
  EXPECT_FALSE(test::FileExists(EntryPath()));
  EXPECT_FALSE(RemoveAutostartEntry("Nimbalo"));
}

TEST_F(AutostartTest, UnwritableConfigFolderFailsWithoutThrowing) {
  const std::string blocker = home_.Root() + "/not-a-folder";
  test::WriteFile(blocker, "x");
  ::setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);
  EXPECT_FALSE(WriteAutostartEntry("Nimbalo", "/usr/bin/nimbalo"));
}

}  // namespace
}  // namespace nimbalo

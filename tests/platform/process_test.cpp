#include "platform/process.h"

#include <gtest/gtest.h>

#include "tests/support/counting_dispatcher.h"
#include "tests/support/test_home.h"

namespace nimbalo {
namespace {

TEST(SplitCommandLine, QuotesGroupBlanks) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitCommandLine("-cpf \"/a b/t\" \"/c d\" "), (V{"-cpf", "/a b/t", "/c d"}));
  EXPECT_EQ(SplitCommandLine(""), V{});
  EXPECT_EQ(SplitCommandLine("  a  b "), (V{"a", "b"}));
  EXPECT_EQ(SplitCommandLine("\"\" x"), (V{"", "x"}));
}

TEST(RunAndWait, ExitCodesFolderAndEvents) {
  test::TestHome home;
  test::CountingDispatcher dispatcher;
  EXPECT_EQ(RunAndWait("open", "/bin/sh", "-c \"exit 7\"", true, SW_SHOW, ""), 7);
  EXPECT_EQ(
      RunAndWait("open", "/bin/sh", "-c \"sleep 0.3; pwd > here\"", true, SW_SHOW, home.Root()), 0);
  EXPECT_EQ(test::ReadFile(home.Root() + "/here"), home.Root() + "\n");
  EXPECT_GE(dispatcher.pumped, 1);  // the wait kept the event loop going
  EXPECT_EQ(RunAndWait("open", home.Root() + "/missing", "", true, SW_SHOW, ""), -1);
  EXPECT_EQ(RunAndWait("open", "/bin/true", "", false, SW_SHOW, ""), 0);
  EXPECT_EQ(RunAndWait("open", "/bin/sh", "-c \"kill -9 $$\"", true, SW_SHOW, ""), -1);
}

}  // namespace
}  // namespace nimbalo

#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace nimbalo {
namespace {

TEST(CommandLine, HelpVersionAndDesktop) {
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine({"--version"}, out, err), 0);
  EXPECT_NE(out.str().find("Nimbalo v1.5"), std::string::npos);
  EXPECT_EQ(RunCommandLine({"--help"}, out, err), 0);
  EXPECT_NE(out.str().find("--make-sig"), std::string::npos);
  EXPECT_EQ(RunCommandLine({"--bogus"}, out, err), 2);
  EXPECT_NE(err.str().find("--bogus"), std::string::npos);
  EXPECT_EQ(RunCommandLine({}, out, err), std::nullopt);
  EXPECT_EQ(RunCommandLine({"/MINIMIZED"}, out, err), std::nullopt);
}

}  // namespace
}  // namespace nimbalo

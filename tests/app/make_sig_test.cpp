// The command-line modes end to end: the real program, its own HOME, a server on 127.0.0.1.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/http_test_server.h"
#include "tests/support/test_home.h"

extern char** environ;

namespace nimbalo {
namespace {

struct Outcome {
  int code = -1;
  std::string out, err;
};

Outcome RunNimbalo(const test::TestHome& home, const std::vector<std::string>& args) {
  const std::string out_path = home.Root() + "/stdout";
  const std::string err_path = home.Root() + "/stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  std::vector<std::string> all{NIMBALO_PROGRAM};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& arg : all)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  Outcome run;
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  run.out = test::ReadFile(out_path);
  run.err = test::ReadFile(err_path);
  return run;
}

class CommandLineEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    server_.Serve("/obs/KEET.TXT",
                  test::HttpTestResponse::Text(200, test::ReadFile(NIMBALO_TEST_DATA "/KEET.TXT")));
    ::setenv("NIMBALO_OBSERVATION_URL", server_.Url("/obs/").c_str(), 1);
  }
  std::string Sigs() const { return home_.DataHome() + "/Nimbalo/sigs/"; }

  test::TestHome home_;
  test::HttpTestServer server_;
};

const char* kLine =
    "Currently in Alabaster, Alabama Mostly Cloudy, Light Rain 44°F(7°C) Wind:NW (320°) at 5mph "
    "(4KT)";

TEST_F(CommandLineEndToEnd, MakeSigInstallsGeneratesAndPrints) {
  const Outcome run = RunNimbalo(home_, {"--make-sig"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.out.find(kLine), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Created by Nimbalo v1.5"), std::string::npos);
  EXPECT_EQ(run.out.find("<a href"), std::string::npos);  // the plain "Created by" form
  const std::string data = home_.DataHome() + "/Nimbalo/";
  EXPECT_TRUE(test::FileExists(data + "templates/nb_html.htm"));
  for (const char* name :
       {"SIG_nb_text.txt", "SIG_nb_html.htm", "SIG_nb_rtf.rtf", "SIG_eyes-animated.htm",
        "SIG_nb_centered_html.htm", "SIG_nb_default.htm"}) {
    EXPECT_TRUE(test::FileExists(Sigs() + name)) << name;
  }
  EXPECT_NE(test::ReadFile(Sigs() + "SIG_nb_default.htm").find("Alabaster"), std::string::npos);
  EXPECT_TRUE(test::FileExists(home_.ConfigFolder() + "/nimbalo/hkcu.reg"));
}

TEST_F(CommandLineEndToEnd, FailedDownloadLeavesSignaturesAlone) {
  ASSERT_EQ(RunNimbalo(home_, {"--make-sig"}).code, 0);
  const std::string before = test::ReadFile(Sigs() + "SIG_nb_html.htm");
  server_.Serve("/obs/KEET.TXT", test::HttpTestResponse::Text(404, "<h1>Not Found</h1>"));
  const Outcome run = RunNimbalo(home_, {"--make-sig"});
  EXPECT_NE(run.code, 0);
  EXPECT_EQ(run.err, "HTTP Error #404: Document not found\n");
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(test::ReadFile(Sigs() + "SIG_nb_html.htm"), before);
}

TEST_F(CommandLineEndToEnd, WeatherFromFileAndFromServer) {
  const std::string file = std::string(NIMBALO_TEST_DATA) + "/KEET.TXT";
  Outcome run = RunNimbalo(home_, {"--weather", file, "--measure", "1"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(
      run.out,
      "Currently in Alabaster, Alabama Mostly Cloudy, Light Rain 44°F Wind:NW-320° at 5mph\n");
  run = RunNimbalo(home_, {"--weather", "--measure", "2"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out,
            "Currently in Alabaster, Alabama Mostly Cloudy, Light Rain 7°C Wind:NW-320° at 4KT\n");

  ::setenv("NIMBALO_OBSERVATION_URL", "http://127.0.0.1:9/", 1);
  run = RunNimbalo(home_, {"--weather"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "Host Unreachable\n");
  EXPECT_EQ(RunNimbalo(home_, {"--weather", "--measure", "4"}).code, 2);
}

}  // namespace
}  // namespace nimbalo

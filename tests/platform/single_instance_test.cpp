#include "platform/single_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "platform/registry.h"
#include "tests/support/test_home.h"

extern char** environ;

namespace nimbalo {
namespace {

class Probe {
 public:
  Probe(const std::string& folder, const std::string& output) : output_(output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::string program = NIMBALO_PROBE;
    std::vector<char*> argv{program.data(), const_cast<char*>(folder.c_str()), nullptr};
    EXPECT_EQ(posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Probe() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  // Waits (bounded) until the output contains `text`.
  bool Says(const std::string& text) const {
    for (int i = 0; i < 200; ++i) {
      if (Output().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  std::string Output() const {
    return test::FileExists(output_) ? test::ReadFile(output_) : std::string();
  }
  bool Exited() {
    for (int i = 0; i < 200; ++i) {
      if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  void Kill() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  pid_t Pid() const { return pid_; }

 private:
  std::string output_;
  pid_t pid_ = -1;
};

std::uint32_t RecordedPid() {
  const auto key = RegKey::Open(Hive::ClassesRoot, kInstanceRecordKey, false);
  if (!key || !key->Read("Nimbalo")) return 0;
  return key->Read("Nimbalo")->AsDword();
}

TEST(SingleInstance, OneFirstTheOtherReachesItAndEnds) {
  test::TestHome home;
  const std::string folder = home.RuntimeFolder();
  Probe a(folder, home.Root() + "/a.out");
  Probe b(folder, home.Root() + "/b.out");
  ASSERT_TRUE(a.Says("\n") && b.Says("\n"));
  const bool a_first = a.Output().rfind("first", 0) == 0;
  Probe& first = a_first ? a : b;
  Probe& second = a_first ? b : a;
  ASSERT_TRUE(first.Says("first"));
  ASSERT_TRUE(second.Says("second 1")) << second.Output();
  EXPECT_TRUE(second.Exited());
  EXPECT_TRUE(first.Says("raised"));
  EXPECT_EQ(RecordedPid(), static_cast<std::uint32_t>(first.Pid()));

  // After the first dies without cleaning up, the stale record does not block a new start.
  first.Kill();
  Probe c(folder, home.Root() + "/c.out");
  ASSERT_TRUE(c.Says("first")) << c.Output();
  for (int i = 0; i < 100 && RecordedPid() != static_cast<std::uint32_t>(c.Pid()); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(RecordedPid(), static_cast<std::uint32_t>(c.Pid()));
}

TEST(SingleInstance, CleanEndRemovesOwnRecordOnly) {
  test::TestHome home;
  {
    SingleInstanceGuard guard("Nimbalo", home.RuntimeFolder());
    ASSERT_TRUE(guard.IsFirstInstance());
    EXPECT_EQ(RecordedPid(), static_cast<std::uint32_t>(::getpid()));
  }
  EXPECT_EQ(RecordedPid(), 0u);
  {
    SingleInstanceGuard guard("Nimbalo", home.RuntimeFolder());
    RegKey::Open(Hive::ClassesRoot, kInstanceRecordKey, false)->WriteDword("Nimbalo", 1);
  }
  EXPECT_EQ(RecordedPid(), 1u);  // another instance's record is left alone
}

}  // namespace
}  // namespace nimbalo

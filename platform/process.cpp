#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/dispatcher.h"
#include "platform/folders.h"

extern char** environ;

namespace nimbalo {

namespace {
// Spawns argv[0] (looked up in PATH when it has no "/"). -1 when it cannot be started.
pid_t Spawn(const std::vector<std::string>& args, const std::string& folder) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const auto& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t pid = -1;
  const int rc = args.front().find('/') == std::string::npos
                     ? posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ)
                     : posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}
}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& parameters) {
  std::vector<std::string> args;
  std::string current;
  bool quoted = false;
  bool have = false;
  for (const char c : parameters) {
    if (c == '"') {
      quoted = !quoted;
      have = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (have) args.push_back(current);
      current.clear();
      have = false;
    } else {
      current += c;
      have = true;
    }
  }
  if (have) args.push_back(current);
  return args;
}

int RunAndWait(const std::string& /*verb*/, const std::string& file, const std::string& parameters,
               bool wait, int /*showMode*/, const std::string& folder) {
  std::vector<std::string> args{file};
  for (auto& arg : SplitCommandLine(parameters))
    args.push_back(std::move(arg));
  const pid_t pid = Spawn(args, folder);
  if (pid < 0) return -1;
  if (!wait) {
    // Reap it in the background so that it leaves no zombie.
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
    return 0;
  }
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0 && errno != EINTR) return -1;
    UiDispatcher().ProcessEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

bool OpenWithDesktop(const std::string& target) {
  const bool is_address = target.find("://") != std::string::npos;
  if (!is_address && !FileExists(target)) return false;
  const pid_t pid = Spawn({"xdg-open", target}, {});
  if (pid < 0) return false;
  std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
  return true;
}

}  // namespace nimbalo

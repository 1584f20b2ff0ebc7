// Keeps one copy of the program per user. The first copy holds a lock file (flock, so the
// kernel releases it when the process dies, however it dies) and listens on a local
// socket; its process id is recorded as a REG_DWORD named after the application title
// under HKEY_CLASSES_ROOT\DuzOnlyOne. A later copy finds the lock taken, reads the record,
// sends message 14951 over the socket, gets 1 back, and ends.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace nimbalo {

inline constexpr std::uint32_t kBringForwardMessage = 14951;
inline constexpr const char* kInstanceRecordKey = "DuzOnlyOne";

class SingleInstanceGuard {
 public:
  // `folder` is the private temporary folder that holds the lock file and the socket.
  SingleInstanceGuard(const std::string& title, const std::string& folder);
  ~SingleInstanceGuard();
  SingleInstanceGuard(const SingleInstanceGuard&) = delete;
  SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

  bool IsFirstInstance() const { return first_; }

  // First instance: the listening socket, for the event loop to watch for reading.
  int ListenFd() const { return listen_fd_; }
  // First instance: answers every waiting message; 14951 runs OnBringForward first.
  void ServePending();
  std::function<void()> OnBringForward;

  // Later instance: tells the first one to come forward. Retries until `timeout` while
  // the first one is still starting. The first instance's answer (1), or 0 when it could
  // not be reached.
  int NotifyFirstInstance(std::chrono::milliseconds timeout) const;

 private:
  std::string SocketPath(std::uint32_t pid) const;

  std::string title_;
  std::string folder_;
  int lock_fd_ = -1;
  int listen_fd_ = -1;
  bool first_ = false;
};

}  // namespace nimbalo

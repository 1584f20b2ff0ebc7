#include "platform/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "platform/registry.h"

namespace nimbalo {

namespace {
struct Message {
  std::uint32_t Msg;
  std::uint32_t WParam;
  std::uint32_t LParam;
};

bool FillAddress(sockaddr_un& address, const std::string& path) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// Reads or writes exactly `size` bytes, waiting at most `timeout_ms` for each step.
bool Transfer(int fd, void* data, std::size_t size, bool reading, int timeout_ms) {
  auto* bytes = static_cast<char*>(data);
  std::size_t done = 0;
  while (done < size) {
    pollfd p{fd, static_cast<short>(reading ? POLLIN : POLLOUT), 0};
    if (::poll(&p, 1, timeout_ms) <= 0) return false;
    const ssize_t n = reading ? ::recv(fd, bytes + done, size - done, 0)
                              : ::send(fd, bytes + done, size - done, MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::uint32_t RecordedPid(const std::string& title) {
  try {
    const auto key = RegKey::Open(Hive::ClassesRoot, kInstanceRecordKey, /*create=*/false);
    if (!key) return 0;
    const auto value = key->Read(title);
    return value && value->Type == RegType::Dword ? value->AsDword() : 0;
  } catch (const RegistryError&) {
    return 0;
  }
}
}  // namespace

SingleInstanceGuard::SingleInstanceGuard(const std::string& title, const std::string& folder)
    : title_(title), folder_(folder) {
  const std::string lock_path = folder_ + "/DuzOnlyOne" + title_ + ".lock";
  lock_fd_ = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // Without a usable lock file nothing can tell the copies apart; run as the first one.
  first_ = lock_fd_ < 0 || ::flock(lock_fd_, LOCK_EX | LOCK_NB) == 0;
  if (!first_) return;

  const auto pid = static_cast<std::uint32_t>(::getpid());
  const std::string path = SocketPath(pid);
  sockaddr_un address{};
  if (FillAddress(address, path)) {
    ::unlink(path.c_str());
    listen_fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listen_fd_ >= 0 &&
        (::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
         ::listen(listen_fd_, 8) != 0)) {
      ::close(listen_fd_);
      listen_fd_ = -1;
    }
  }
  try {
    if (auto key = RegKey::Open(Hive::ClassesRoot, kInstanceRecordKey, /*create=*/true)) {
      key->WriteDword(title_, pid);
    }
  } catch (const RegistryError&) {
    // A later copy then simply cannot reach this one; it still ends.
  }
}

SingleInstanceGuard::~SingleInstanceGuard() {
  if (first_) {
    const auto pid = static_cast<std::uint32_t>(::getpid());
    if (listen_fd_ >= 0) {
      ::close(listen_fd_);
      ::unlink(SocketPath(pid).c_str());
    }
    try {
      if (RecordedPid(title_) == pid) {
        if (auto key = RegKey::Open(Hive::ClassesRoot, kInstanceRecordKey, false)) {
          key->DeleteValue(title_);
        }
      }
    } catch (const RegistryError&) {
      // The next first instance overwrites a record left behind.
    }
  }
  if (lock_fd_ >= 0) ::close(lock_fd_);
}

std::string SingleInstanceGuard::SocketPath(std::uint32_t pid) const {
  return folder_ + "/instance-" + std::to_string(pid) + ".sock";
}

void SingleInstanceGuard::ServePending() {
  if (listen_fd_ < 0) return;
  for (;;) {
    const int client = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    Message message{};
    std::uint32_t answer = 0;
    if (Transfer(client, &message, sizeof message, true, 1000)) {
      if (message.Msg == kBringForwardMessage) {
        if (OnBringForward) OnBringForward();
        answer = 1;
      }
      Transfer(client, &answer, sizeof answer, false, 1000);
    }
    ::close(client);
  }
}

int SingleInstanceGuard::NotifyFirstInstance(std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  do {
    const std::uint32_t pid = RecordedPid(title_);
    sockaddr_un address{};
    if (pid != 0 && FillAddress(address, SocketPath(pid))) {
      const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      if (fd >= 0) {
        std::uint32_t answer = 0;
        const Message message{kBringForwardMessage, 0, 0};
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                        Transfer(fd, const_cast<Message*>(&message), sizeof message, false, 2000) &&
                        Transfer(fd, &answer, sizeof answer, true, 5000);
        ::close(fd);
        if (ok) return static_cast<int>(answer);
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (std::chrono::steady_clock::now() < deadline);
  return 0;
}

}  // namespace nimbalo

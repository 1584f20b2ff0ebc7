// Test program: takes the single-instance guard and reports its role on standard output.
// The first instance serves messages for up to 20 seconds, printing "raised" for each.
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/single_instance.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  nimbalo::SingleInstanceGuard guard("Nimbalo", argv[1]);
  if (!guard.IsFirstInstance()) {
    const int answer = guard.NotifyFirstInstance(std::chrono::seconds(5));
    std::printf("second %d\n", answer);
    return 0;
  }
  std::printf("first\n");
  std::fflush(stdout);
  guard.OnBringForward = [] {
    std::printf("raised\n");
    std::fflush(stdout);
  };
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{guard.ListenFd(), POLLIN, 0};
    if (::poll(&p, 1, 100) > 0) guard.ServePending();
  }
  return 0;
}

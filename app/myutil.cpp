#include "app/myutil.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <thread>

#include "platform/dispatcher.h"

namespace nimbalo {

namespace {
TickSource tick_source = nullptr;

[[noreturn]] void ThrowErrno(const std::string& what) {
  throw std::system_error(errno, std::generic_category(), what);
}

// Closes `fd`, throwing on failure unless an error is already on its way.
void CloseChecked(int fd, const std::string& path) {
  if (::close(fd) != 0) ThrowErrno("Cannot close " + path);
}
}  // namespace

std::uint32_t SystemTickCount() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

void SetTickSource(TickSource source) {
  tick_source = source;
}

void Delay(int milliseconds) {
  if (milliseconds <= 0) return;
  const TickSource ticks = tick_source != nullptr ? tick_source : &SystemTickCount;
  const std::uint32_t start = ticks();
  const auto wanted = static_cast<std::uint32_t>(milliseconds);
  while (static_cast<std::uint32_t>(ticks() - start) < wanted) {
    UiDispatcher().ProcessEvents();
    std::this_thread::yield();
  }
}

bool IsHex(const std::string& text) {
  if (text.empty()) return false;
  for (const char c : text) {
    const bool ok =
        c == ' ' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    if (!ok) return false;
  }
  return true;
}

std::string RandomName() {
  std::string name;
  name += static_cast<char>('a' + std::rand() % 26);
  name += static_cast<char>('a' + std::rand() % 26);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  name += std::to_string(local.tm_min);
  name += std::to_string(local.tm_sec);
  name += std::to_string(std::rand() % 100);
  return name;
}

std::string ReplaceAll(const std::string& text, const std::string& search,
                       const std::string& replacement) {
  if (search.empty()) return text;
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = text.find(search); at != std::string::npos; at = text.find(search, from)) {
    out.append(text, from, at - from);
    out += replacement;
    from = at + search.size();
  }
  out.append(text, from, std::string::npos);
  return out;
}

std::vector<std::string>& ReplaceInList(std::vector<std::string>& lines, const std::string& search,
                                        const std::string& replacement) {
  if (search.empty()) return lines;
  for (auto& line : lines)
    line = ReplaceAll(line, search, replacement);
  return lines;
}

std::string StripLeading(const std::string& text, char c) {
  const auto first = text.find_first_not_of(c);
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string StripTrailing(const std::string& text, char c) {
  const auto last = text.find_last_not_of(c);
  return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string TrimChar(const std::string& text, char c) {
  return StripTrailing(StripLeading(text, c), c);
}

std::string RemoveChar(const std::string& text, char c) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    if (ch != c) out += ch;
  }
  return out;
}

bool IsNumeric(const std::string& text) {
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > 2147483647LL) return false;
  }
  return true;
}

int CopyFileBlocks(const std::string& source, const std::string& target) {
  const std::string from = TrimChar(source, ' ');
  const std::string to = TrimChar(target, ' ');
  if (from == to) return 1;
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return 2;
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) {
    ::close(in);
    return 3;
  }
  char buffer[2048];
  bool complete = true;
  try {
    for (;;) {
      const ssize_t got = ::read(in, buffer, sizeof buffer);
      if (got < 0) {
        if (errno == EINTR) continue;
        ThrowErrno("Cannot read " + from);
      }
      if (got == 0) break;
      ssize_t put = ::write(out, buffer, static_cast<std::size_t>(got));
      if (put < 0 && errno != ENOSPC) ThrowErrno("Cannot write " + to);
      if (put < got) {
        complete = false;
        break;
      }
    }
  } catch (...) {
    ::close(in);
    ::close(out);
    throw;
  }
  const int in_closed = ::close(in);
  CloseChecked(out, to);
  if (in_closed != 0) ThrowErrno("Cannot close " + from);
  return complete ? 0 : 4;
}

}  // namespace nimbalo

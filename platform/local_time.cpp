#include "platform/local_time.h"

#include <ctime>

namespace nimbalo {

std::string FormatLocalTime(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[128];
  const std::size_t n = std::strftime(text, sizeof text, format, &local);
  return std::string(text, n);
}

}  // namespace nimbalo

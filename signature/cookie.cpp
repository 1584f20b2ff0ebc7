#include "signature/cookie.h"

#include <random>

#include "signature/template_files.h"

namespace nimbalo {

std::string PickCookie(const std::string& path) {
  const auto lines = ReadLines(path);
  if (lines.empty()) return {};
  static std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, lines.size() - 1);
  return lines[pick(random)];
}

}  // namespace nimbalo

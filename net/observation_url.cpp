#include "net/observation_url.h"

#include <cstdlib>
#include <string_view>

#include "app/program_info.h"

namespace nimbalo {

namespace {

bool NeedsEscape(unsigned char c) {
  static constexpr std::string_view unsafe = " \"<>#%{}|\\^`?";
  return c < 0x20 || c >= 0x7F || unsafe.find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string ObservationUrl(const std::string& stationId) {
  const char* configured = std::getenv("NIMBALO_OBSERVATION_URL");
  std::string url =
      configured != nullptr && *configured != '\0' ? configured : DefaultObservationUrlPrefix;
  static constexpr char hex[] = "0123456789ABCDEF";
  for (const char ch : stationId) {
    const auto c = static_cast<unsigned char>(ch);
    if (NeedsEscape(c)) {
      url += '%';
      url += hex[c >> 4];
      url += hex[c & 0x0F];
    } else {
      url += ch;
    }
  }
  return url + ".TXT";
}

std::string DownloadAgent() {
  return std::string(ApplicationTitle) + " " + MakerAddress;
}

}  // namespace nimbalo

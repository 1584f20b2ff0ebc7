// The small stream cipher with which the proxy password is stored.
#pragma once

#include <cstdint>
#include <string>

namespace nimbalo {

struct CipherKey {
  std::uint16_t Multiplier;
  std::uint16_t Increment;
  std::uint16_t StartKey;
};

// The one key the program uses everywhere.
inline constexpr CipherKey kPasswordKey{9143, 8795, 39738};

// Both keep the length; DecryptText inverts EncryptText for every input.
std::string EncryptText(const std::string& plain, CipherKey key);
std::string DecryptText(const std::string& cipher, CipherKey key);

}  // namespace nimbalo

#include "config/ezcrypt.h"

namespace nimbalo {

namespace {
std::uint16_t NextKey(std::uint16_t k, unsigned char plain, CipherKey key) {
  const unsigned sum = (plain + (k & 0xFFu)) & 0xFFu;
  return static_cast<std::uint16_t>((sum * key.Multiplier + key.Increment) & 0xFFFFu);
}
}  // namespace

std::string EncryptText(const std::string& plain, CipherKey key) {
  std::string out(plain.size(), '\0');
  std::uint16_t k = key.StartKey;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const auto p = static_cast<unsigned char>(plain[i]);
    out[i] = static_cast<char>(p ^ (k >> 8));
    k = NextKey(k, p, key);
  }
  return out;
}

std::string DecryptText(const std::string& cipher, CipherKey key) {
  std::string out(cipher.size(), '\0');
  std::uint16_t k = key.StartKey;
  for (std::size_t i = 0; i < cipher.size(); ++i) {
    const auto p = static_cast<unsigned char>(static_cast<unsigned char>(cipher[i]) ^ (k >> 8));
    out[i] = static_cast<char>(p);
    k = NextKey(k, p, key);
  }
  return out;
}

}  // namespace nimbalo

#include "config/ezcrypt.h"

#include <gtest/gtest.h>

namespace nimbalo {
namespace {

TEST(EzCrypt, KnownBytesAndRoundTrip) {
  // First key byte 0x9B; after 'A' the key becomes 0x4B48.
  EXPECT_EQ(EncryptText("AB", kPasswordKey), std::string("\xDA\x09", 2));
  EXPECT_EQ(EncryptText("", kPasswordKey), "");
  EXPECT_EQ(DecryptText("", kPasswordKey), "");
  for (const std::string& plain : {std::string("secret"), std::string("p\x95ss w\xF6rd"),
                                   std::string(300, '\xFF'), std::string("\0x", 2)}) {
    const std::string cipher = EncryptText(plain, kPasswordKey);
    EXPECT_EQ(cipher.size(), plain.size());
    EXPECT_EQ(DecryptText(cipher, kPasswordKey), plain);
  }
  const CipherKey other{1, 2, 3};
  EXPECT_EQ(DecryptText(EncryptText("secret", other), other), "secret");
}

}  // namespace
}  // namespace nimbalo

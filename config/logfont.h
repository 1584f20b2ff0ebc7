// The stored "Font" value: a 4-byte colour and the 60-byte LOGFONTA layout.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace nimbalo {

struct StoredFont {
  std::uint32_t Color = 0;  // 0x00BBGGRR, or a system colour with the high byte set
  std::int32_t Height = 0;  // negative: character height in pixels
  std::int32_t Width = 0;
  std::int32_t Escapement = 0;
  std::int32_t Orientation = 0;
  std::int32_t Weight = 400;  // 400 normal, 700 bold
  std::uint8_t Italic = 0;
  std::uint8_t Underline = 0;
  std::uint8_t StrikeOut = 0;
  std::uint8_t CharSet = 0;
  std::uint8_t OutPrecision = 0;
  std::uint8_t ClipPrecision = 0;
  std::uint8_t Quality = 0;
  std::uint8_t PitchAndFamily = 0;
  std::string FaceName;  // up to 31 bytes, Windows-1252

  bool operator==(const StoredFont&) const = default;
};

inline constexpr std::size_t kFontValueSize = 64;

// 64 bytes: colour (little-endian) then LOGFONTA.
std::string EncodeFontValue(const StoredFont& font);
// std::nullopt unless `bytes` is exactly 64 bytes long.
std::optional<StoredFont> DecodeFontValue(const std::string& bytes);

}  // namespace nimbalo

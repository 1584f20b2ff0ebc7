#include "config/logfont.h"

namespace nimbalo {

namespace {
void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
std::uint32_t GetU32(const std::string& in, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) {
    v = (v << 8) | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
  }
  return v;
}
std::uint8_t GetU8(const std::string& in, std::size_t at) {
  return static_cast<unsigned char>(in[at]);
}
constexpr std::size_t kFaceSize = 32;  // LF_FACESIZE, zero-terminated
}  // namespace

std::string EncodeFontValue(const StoredFont& font) {
  std::string out;
  out.reserve(kFontValueSize);
  PutU32(out, font.Color);
  for (const std::int32_t v :
       {font.Height, font.Width, font.Escapement, font.Orientation, font.Weight}) {
    PutU32(out, static_cast<std::uint32_t>(v));
  }
  for (const std::uint8_t b :
       {font.Italic, font.Underline, font.StrikeOut, font.CharSet, font.OutPrecision,
        font.ClipPrecision, font.Quality, font.PitchAndFamily}) {
    out += static_cast<char>(b);
  }
  std::string face = font.FaceName.substr(0, kFaceSize - 1);
  face.resize(kFaceSize, '\0');
  out += face;
  return out;
}

std::optional<StoredFont> DecodeFontValue(const std::string& bytes) {
  if (bytes.size() != kFontValueSize) return std::nullopt;
  StoredFont font;
  font.Color = GetU32(bytes, 0);
  font.Height = static_cast<std::int32_t>(GetU32(bytes, 4));
  font.Width = static_cast<std::int32_t>(GetU32(bytes, 8));
  font.Escapement = static_cast<std::int32_t>(GetU32(bytes, 12));
  font.Orientation = static_cast<std::int32_t>(GetU32(bytes, 16));
  font.Weight = static_cast<std::int32_t>(GetU32(bytes, 20));
  font.Italic = GetU8(bytes, 24);
  font.Underline = GetU8(bytes, 25);
  font.StrikeOut = GetU8(bytes, 26);
  font.CharSet = GetU8(bytes, 27);
  font.OutPrecision = GetU8(bytes, 28);
  font.ClipPrecision = GetU8(bytes, 29);
  font.Quality = GetU8(bytes, 30);
  font.PitchAndFamily = GetU8(bytes, 31);
  const std::string face = bytes.substr(32, kFaceSize);
  font.FaceName = face.substr(0, face.find('\0'));
  return font;
}

}  // namespace nimbalo

#include "signature/template_converter.h"

#include <array>

#include "platform/atomic_file.h"

namespace nimbalo {

namespace {

constexpr std::array<unsigned char, 256> MakeUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c)
    table[c] = static_cast<unsigned char>(c);
  for (int c = 'a'; c <= 'z'; ++c)
    table[c] = static_cast<unsigned char>(c - 0x20);
  table[0x9A] = 0x8A;  // s caron
  table[0x9C] = 0x8C;  // oe
  table[0x9E] = 0x8E;  // z caron
  table[0xFF] = 0x9F;  // y diaeresis
  for (int c = 0xE0; c <= 0xFE; ++c) {
    if (c != 0xF7) table[c] = static_cast<unsigned char>(c - 0x20);  // 0xF7 is the division sign
  }
  return table;
}

constexpr auto kUpper = MakeUpperTable();

void AppendUpper(std::string& out, std::string_view text) {
  for (const char c : text)
    out += static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
}

}  // namespace

std::string UpperCase1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendUpper(out, text);
  return out;
}

std::string DuzTextTemplateConverter::Convert(std::string_view text) const {
  std::string current(text);
  // With case ignored, `folded` is the upper-cased twin of `current`, kept in step as values
  // go in, so that every parameter costs one pass over the text.
  std::string folded = IgnoreCaseOfParams ? UpperCase1252(current) : std::string();
  for (const auto& param : Params) {
    if (param.Name.empty()) continue;
    const std::string key = IgnoreCaseOfParams ? UpperCase1252(param.Name) : param.Name;
    const std::string& haystack = IgnoreCaseOfParams ? folded : current;
    std::size_t at = haystack.find(key);
    if (at == std::string::npos) continue;

    const std::string foldedValue = IgnoreCaseOfParams ? UpperCase1252(param.Value) : std::string();
    std::string next;
    std::string nextFolded;
    next.reserve(current.size() + param.Value.size());
    std::size_t from = 0;
    for (; at != std::string::npos; at = haystack.find(key, from)) {
      next.append(current, from, at - from);
      next += param.Value;
      if (IgnoreCaseOfParams) {
        nextFolded.append(folded, from, at - from);
        nextFolded += foldedValue;
      }
      from = at + key.size();
    }
    next.append(current, from, std::string::npos);
    if (IgnoreCaseOfParams) nextFolded.append(folded, from, std::string::npos);
    current = std::move(next);
    folded = std::move(nextFolded);
  }
  return current;
}

bool DuzTextTemplateConverter::Convert(std::string_view text, const std::string& outputPath) const {
  return WriteFileAtomically(outputPath, Convert(text));
}

}  // namespace nimbalo

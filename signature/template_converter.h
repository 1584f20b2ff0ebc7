// Fills placeholders such as "%WEATHER%" in a template text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nimbalo {

// Windows-1252 upper-casing, byte for byte (the length never changes).
std::string UpperCase1252(std::string_view text);

struct TemplateParam {
  std::string Name;
  std::string Value;
};

class DuzTextTemplateConverter {
 public:
  // Applied one after the other, in list order.
  std::vector<TemplateParam> Params;
  bool IgnoreCaseOfParams = true;

  // Each parameter replaces every occurrence of its name, left to right; a parameter does
  // not search the text it inserted, later parameters do.
  std::string Convert(std::string_view text) const;
  // Converts and writes the result to `outputPath` in one piece; false when it could not
  // be written.
  bool Convert(std::string_view text, const std::string& outputPath) const;
};

}  // namespace nimbalo

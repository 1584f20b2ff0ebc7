// Conversion between the program's internal Windows-1252 text and UTF-8 at the edges
// (files meant for other programs, Qt strings, the terminal).
#pragma once

#include <string>
#include <string_view>

namespace nimbalo {

// Every byte maps to one code point. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same number, as Windows
// does, so that any byte string survives the round trip.
std::string Cp1252ToUtf8(std::string_view text);
// Code points without a Windows-1252 byte become "?"; malformed UTF-8 bytes become "?".
std::string Utf8ToCp1252(std::string_view text);

// UTF-16LE without terminator, as used by the regedit hex(1)/hex(2) forms.
std::string Cp1252ToUtf16Le(std::string_view text);
std::string Utf16LeToCp1252(std::string_view bytes);

}  // namespace nimbalo

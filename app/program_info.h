// Fixed facts about the program, each in one place.
#pragma once

namespace nimbalo {

inline constexpr const char* ApplicationTitle = "Nimbalo";
inline constexpr const char* ProgramTitle = "Nimbalo v1.5";
inline constexpr const char* ReleaseDate = "June 30th, 2013";
// The maker's web address: the Referer and user agent of downloads and the "Created by" link.
inline constexpr const char* MakerAddress = "https://nimbalo.example.org";

}  // namespace nimbalo

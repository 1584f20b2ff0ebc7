// The cookie: one line of the user's file of quotes.
#pragma once

#include <string>

namespace nimbalo {

// One line of the file, every line equally likely (an empty line gives an empty cookie).
// A missing, unreadable or empty file gives an empty cookie.
std::string PickCookie(const std::string& path);

}  // namespace nimbalo

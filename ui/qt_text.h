// Conversion between the program's Windows-1252 text and Qt strings.
#pragma once

#include <QString>
#include <string>

namespace nimbalo {

QString FromCp1252(const std::string& text);
std::string ToCp1252(const QString& text);
// File names are bytes in the file system's encoding, not Windows-1252.
QString FromPath(const std::string& path);

}  // namespace nimbalo

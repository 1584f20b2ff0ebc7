#include "ui/qt_text.h"

#include <QFile>

#include "platform/encoding.h"

namespace nimbalo {

QString FromCp1252(const std::string& text) {
  return QString::fromStdString(Cp1252ToUtf8(text));
}

std::string ToCp1252(const QString& text) {
  return Utf8ToCp1252(text.toStdString());
}

QString FromPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace nimbalo

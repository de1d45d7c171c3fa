#include "platform/text.h"

#include "core/cp1252.h"

namespace vantrel {

QString ToQString(const std::string& cp1252) {
  QString text;
  text.reserve(static_cast<qsizetype>(cp1252.size()));
  for (unsigned char byte : cp1252) text += QChar(static_cast<char16_t>(Cp1252ToCodePoint(byte)));
  return text;
}

std::string FromQString(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (QChar c : text) {
    const int byte = c.isSurrogate() ? -1 : CodePointToCp1252(c.unicode());
    bytes += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return bytes;
}

}  // namespace vantrel

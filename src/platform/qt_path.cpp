#include "platform/qt_path.h"

namespace vantrel {

QString PathToQString(const std::filesystem::path& path) {
  return QString::fromStdU16String(path.u16string());
}

std::filesystem::path PathFromQString(const QString& text) {
  return std::filesystem::path(text.toStdU16String());
}

}  // namespace vantrel

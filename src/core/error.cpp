#include "core/error.h"

#include "core/cp1252.h"
#include "core/os_file.h"

namespace vantrel {
namespace {

std::string PathText(const std::filesystem::path& path) { return Utf8ToCp1252(os::Utf8Of(path)); }

}  // namespace

Error CannotOpenFile(const std::filesystem::path& path) {
  return Error("Impossible d'ouvrir le fichier " + PathText(path));
}

Error CannotCreateFile(const std::filesystem::path& path) {
  return Error(
      "Impossible de cr\xe9"
      "er le fichier " +
      PathText(path));
}

Error NotAnInteger(const std::string& text) {
  return Error("'" + text + "' n'est pas une valeur enti\xe8re correcte");
}

Error NotAFloat(const std::string& text) {
  return Error("'" + text + "' n'est pas une valeur en virgule flottante correcte");
}

Error NotADate(const std::string& text) {
  return Error("'" + text + "' n'est pas une date correcte");
}

}  // namespace vantrel

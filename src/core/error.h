#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace vantrel {

// The one failure of the file and conversion layers. what() is the French message in
// Windows-1252 bytes, ready for the error box.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "Impossible d'ouvrir le fichier %s"
Error CannotOpenFile(const std::filesystem::path& path);
// "Impossible de créer le fichier %s"
Error CannotCreateFile(const std::filesystem::path& path);
// "'%s' n'est pas une valeur entière correcte"
Error NotAnInteger(const std::string& text);
// "'%s' n'est pas une valeur en virgule flottante correcte"
Error NotAFloat(const std::string& text);
// "'%s' n'est pas une date correcte"
Error NotADate(const std::string& text);

}  // namespace vantrel

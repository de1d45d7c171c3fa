#include "support/temp_folder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace vantrel::testing {

TempFolder::TempFolder() {
  std::random_device random;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    m_path = base / ("vantrel-test-" + std::to_string(random()));
    std::error_code error;
    if (std::filesystem::create_directory(m_path, error)) break;
  }
}

TempFolder::~TempFolder() {
  std::error_code error;
  // Tests may leave read-only files or folders behind; give write access back first.
  for (auto it = std::filesystem::recursive_directory_iterator(m_path, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
  }
  std::filesystem::remove_all(m_path, error);
}

ProgramFolder::ProgramFolder() {
  WriteFile(path() / "Vantrel.ini",
            "[Fichier]\r\nEntit\xe9=Ardevanne\r\nSigle=KVR\r\nExercice=2026-2027\r\n"
            "Exercice1=\r\nbilan=\r\nresultat=\r\n");
  std::filesystem::create_directories(exerciseFolder());
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::u8string name = it->path().filename().u8string();
    names.emplace_back(name.begin(), name.end());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string CrLfBytes(const Lines& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += line + "\r\n";
  return bytes;
}

std::string NativeSeparators(std::string text) {
#ifdef _WIN32
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
#endif
  return text;
}

}  // namespace vantrel::testing

// libFuzzer target: archive bytes from a drive are hostile input. Every run must end
// without a crash, a sanitizer report, unbounded memory or a file written outside the
// target folder.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/settings.h"
#include "utilities/backup_file.h"
#include "utilities/club_backup.h"

namespace {

namespace fs = std::filesystem;
using vantrel::utilities::ArchiveError;
using vantrel::utilities::PathToText;
using vantrel::utilities::TBackupFile;

const fs::path& Sandbox() {
  static const fs::path sandbox = [] {
    std::string name = (fs::temp_directory_path() / "vantrel-fuzz-XXXXXX").string();
    if (!mkdtemp(name.data())) std::abort();
    return fs::path(name);
  }();
  return sandbox;
}

bool Inside(const fs::path& path, const fs::path& folder) {
  const fs::path relative = path.lexically_normal().lexically_relative(folder);
  return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const fs::path target = Sandbox() / "prog";
  std::error_code error;
  fs::remove_all(target, error);
  fs::create_directories(target, error);
  const int mode = data[0] % 4;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  TBackupFile backup;
  try {
    if (mode == 3) {
      const fs::path archive = Sandbox() / "SvgVantrel.bck";
      std::ofstream(archive, std::ios::binary) << bytes;
      vantrel::utilities::RestoreClub(backup, PathToText(archive), target);
    } else {
      std::stringstream stream(bytes);
      backup.setStream(&stream);
      if (mode == 2) {
        backup.List(vantrel::utilities::kStreamName);
      } else {
        backup.setRestoreFullPath(mode == 1);
        backup.OnRestoreFile = [&](std::string& name, bool& restore, std::uint32_t) {
          if (restore && !Inside(vantrel::FolderPath(name), target)) std::abort();
        };
        backup.Restore(vantrel::utilities::kStreamName, PathToText(target));
      }
    }
  } catch (const ArchiveError&) {
  }
  // Nothing but the program folder and the archive may appear in the sandbox.
  for (const auto& entry : fs::directory_iterator(Sandbox(), error)) {
    const std::string name = entry.path().filename().string();
    if (name != "prog" && name != "SvgVantrel.bck") std::abort();
  }
  return 0;
}

#include "cli/cli.h"

#include <cstdio>

#include "core/cp1252.h"
#include "core/os_file.h"
#include "core/record_file.h"
#include "core/text_helpers.h"

namespace vantrel::cli {

void WriteOutputFile(const std::filesystem::path& path, const std::string& bytes) {
  WriteBytes(path, bytes);
}

void PrintLine(const std::string& cp1252Text) {
  const std::string utf8 = Cp1252ToUtf8(cp1252Text);
  std::fputs(utf8.c_str(), stdout);
  std::fputc('\n', stdout);
}

std::string LowerExtension(const std::filesystem::path& path) {
  return LowerAscii(os::Utf8Of(path.extension()));
}

}  // namespace vantrel::cli

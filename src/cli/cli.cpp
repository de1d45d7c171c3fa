#include "cli/cli.h"

#include <cstdio>
#include <ctime>

#include "core/cp1252.h"
#include "core/error.h"
#include "core/os_file.h"
#include "core/record_file.h"
#include "core/text_helpers.h"
#include "platform/program_lock.h"

namespace vantrel::cli {

void WriteOutputFile(const std::filesystem::path& path, const std::string& bytes) {
  WriteBytes(path, bytes);
}

void PrintLine(const std::string& cp1252Text) {
  const std::string utf8 = Cp1252ToUtf8(cp1252Text);
  std::fputs(utf8.c_str(), stdout);
  std::fputc('\n', stdout);
}

void PrintWarning(const std::string& utf8Text) {
  std::fputs(utf8Text.c_str(), stderr);
  std::fputc('\n', stderr);
}

std::unique_ptr<FolderHold> HoldForWriting(const CliContext& context) {
  auto hold = platform::HoldProgramFolder(context.programFolder);
  if (!hold) throw Error(kFolderInUseText);
  return hold;
}

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return *Date::FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::string LowerExtension(const std::filesystem::path& path) {
  return LowerAscii(os::Utf8Of(path.extension()));
}

}  // namespace vantrel::cli

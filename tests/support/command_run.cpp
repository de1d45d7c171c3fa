#include "support/command_run.h"

#include <sys/wait.h>

#include <cstdio>

#include "support/temp_folder.h"

namespace vantrel::testing {

std::optional<CommandRun> RunCommand(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  CommandRun run;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string ShellQuoted(const std::string& text) { return "'" + text + "'"; }

ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments,
                const std::filesystem::path& errorFile) {
  std::string command = ShellQuoted(program);
  for (const auto& argument : arguments) command += " " + ShellQuoted(argument);
  command += " 2>" + ShellQuoted(errorFile.string());
  ToolRun run;
  const auto ran = RunCommand(command);
  if (!ran) return run;
  run.out = ran->output;
  run.status = ran->status;
  run.err = ReadFile(errorFile);
  return run;
}

std::string LastLine(const std::string& text) {
  std::string last = text;
  if (!last.empty() && last.back() == '\n') last.pop_back();
  const std::size_t lineStart = last.rfind('\n');
  return lineStart == std::string::npos ? last : last.substr(lineStart + 1);
}

}  // namespace vantrel::testing

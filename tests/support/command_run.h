#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::testing {

struct CommandRun {
  int status = -1;     // the exit status, -1 when the command did not exit normally
  std::string output;  // everything it wrote to standard output
};

// Runs command through the shell; nothing when the shell could not be started.
std::optional<CommandRun> RunCommand(const std::string& command);

// text between single quotes, for the shell (text holds no single quote).
std::string ShellQuoted(const std::string& text);

// One run of a batch tool (vantrel-cli): its exit status (-1 when it could not be run or did
// not exit normally), what it wrote to standard output, and to standard error, apart.
struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs program with arguments, each passed as it is; standard error goes through errorFile,
// which is read back.
ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments,
                const std::filesystem::path& errorFile);

// The last line of text, without its line end: the toolkit may write to standard error before
// the tool's own message.
std::string LastLine(const std::string& text);

}  // namespace vantrel::testing

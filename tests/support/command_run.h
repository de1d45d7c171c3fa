#pragma once

#include <optional>
#include <string>

namespace vantrel::testing {

struct CommandRun {
  int status = -1;     // the exit status, -1 when the command did not exit normally
  std::string output;  // everything it wrote to standard output
};

// Runs command through the shell; nothing when the shell could not be started.
std::optional<CommandRun> RunCommand(const std::string& command);

}  // namespace vantrel::testing

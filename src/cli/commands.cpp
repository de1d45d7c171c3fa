#include "cli/cli.h"
#include "cli/cli_exemple.h"
#include "cli/cli_import.h"
#include "cli/cli_print.h"
#include "cli/cli_print_members.h"
#include "cli/cli_results.h"

namespace vantrel::cli {

// Each command lives in a file of its own (cli_<command>.cpp) and is listed here.
const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"print", RunPrint},
      {"import", RunImport},
      {"results", RunResults},
      {"export", RunExport},
      {"exemple", RunExemple, false},
  };
  return commands;
}

}  // namespace vantrel::cli

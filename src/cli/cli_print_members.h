#pragma once

#include "cli/cli.h"

namespace vantrel::cli {

// "print annuaire|cotisations|assemblee OUT": the directory, the dues list or the assembly
// list of the listings screen over every member of the member file, in file order.
int PrintDirectory(CliContext& context, const Arguments& args);
int PrintDuesList(CliContext& context, const Arguments& args);
int PrintAssemblyList(CliContext& context, const Arguments& args);

// "export publipostage|csv|html OUT": the listings screen's text export, spreadsheet export or
// HTML directory page over every member of the member file, written to OUT as the screen
// writes it.
int RunExport(CliContext& context, const Arguments& args);

}  // namespace vantrel::cli

#pragma once

#include "cli/cli.h"

namespace vantrel::cli {

// "print annuaire|cotisations|assemblee OUT": the directory, the dues list or the assembly
// list of the listings screen over every member of the member file, in file order.
int PrintDirectory(CliContext& context, const Arguments& args);
int PrintDuesList(CliContext& context, const Arguments& args);
int PrintAssemblyList(CliContext& context, const Arguments& args);

// "print enveloppes OUT": the envelope of the consultation screen for every member of the
// member file, in file order: one envelope after the other in one PDF, or as CSV the member
// line each envelope is addressed from. An empty member file fails: there is nothing to print.
int PrintEnvelopes(CliContext& context, const Arguments& args);

// "export publipostage|csv|html OUT": the listings screen's text export, spreadsheet export or
// HTML directory page over every member of the member file, written to OUT as the screen
// writes it.
int RunExport(CliContext& context, const Arguments& args);

}  // namespace vantrel::cli

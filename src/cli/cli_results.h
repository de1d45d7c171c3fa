#pragma once

#include "cli/cli.h"

namespace vantrel::cli {

// "results PAGE.htm OUT.chr [--k K]": the result file of a saved result page, with the members
// of the current exercise found and the cup points computed with K (default 100000). A page
// that is not a result page, that holds no pair or that ends before the names of a ranked
// pair fails (French message, exit status 1, no file written).
int RunResults(CliContext& context, const Arguments& args);

}  // namespace vantrel::cli

#pragma once

#include "cli/cli.h"

namespace vantrel::cli {

// "exemple DOSSIER": makes in DOSSIER (missing or empty; anything else is refused) the
// program folder of the demonstration club: its data (demo/demo_club.h), the report
// templates and the help documents of this installation, and a copy of vantrel and
// vantrel-cli to start it from. Prints the path of the program to start. On a failure,
// DOSSIER is left as it was found.
int RunExemple(CliContext& context, const Arguments& args);

}  // namespace vantrel::cli

#pragma once

#include "cli/cli.h"

namespace vantrel::cli {

// "import FILE.csv [--ajout toujours|jamais] [--modif toujours|jamais] [--essai]": merges a
// federation extraction into the member file of the current exercise as the import screen
// does with those choices, sorts and writes the file once, and prints
// "<n> nouveaux, <m> modifiés, <k> inchangés". With --essai nothing is written.
int RunImport(CliContext& context, const Arguments& args);

}  // namespace vantrel::cli

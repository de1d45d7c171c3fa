#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/folder_lock.h"
#include "core/settings.h"

namespace vantrel::cli {

// What every command of vantrel-cli is handed: the program folder given by --dossier (or the
// executable's), and the settings read from its "Vantrel.ini".
struct CliContext {
  std::filesystem::path programFolder;
  // The folder of the executable: the installation with its templates and help documents.
  std::filesystem::path installationFolder;
  Settings settings;
};

// A bad argument: main() prints the message (French, UTF-8) and the usage, exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Arguments = std::vector<std::string>;

// One command of the tool. Returns the exit status. Throws Error (French message in
// Windows-1252, printed on standard error, exit status 1) and UsageError. A command that
// fails leaves no output file created or changed.
using CommandFunction = int (*)(CliContext& context, const Arguments& args);

struct Command {
  const char* name;
  CommandFunction run;
  // False for a command that makes a program folder rather than reading one: main() then
  // neither requires nor reads "Vantrel.ini".
  bool readsProgramFolder = true;
};

// The commands main() dispatches to.
const std::vector<Command>& Commands();

// The output of a command, written whole: bytes go to a temporary file beside path, renamed
// over it once complete (see WriteBytes). Text to standard output is UTF-8.
void WriteOutputFile(const std::filesystem::path& path, const std::string& bytes);
void PrintLine(const std::string& cp1252Text);
// One line to standard error (UTF-8): the report engine's warnings.
void PrintWarning(const std::string& utf8Text);

// Holds the program folder for a command that writes into it (import, results) as long as
// the hold lives. Throws Error "Vantrel est déjà ouvert sur ce dossier." while the program
// or another command holds it.
std::unique_ptr<FolderHold> HoldForWriting(const CliContext& context);

// Today on this computer's clock.
Date Today();

// The last extension of path in lower case, with its dot (".pdf", ".csv").
std::string LowerExtension(const std::filesystem::path& path);

}  // namespace vantrel::cli

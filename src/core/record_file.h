#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel {

// A data file is a list of record lines of Windows-1252 bytes, fields separated by ";".
//   sample line:  00123456;M.;DUPONT;Jean;12;...;OUI;
// Files come from Windows: names are matched without regard to case, lines may end in
// CR LF, lone LF or lone CR, and the last line may lack its end.
using Lines = std::vector<std::string>;

// The existing file or folder that matches path when every component is compared without
// regard to the case of a-z; where no component matches, path itself from that point on.
std::filesystem::path ResolvePath(const std::filesystem::path& path);

// True when ResolvePath(path) names an existing regular file.
bool FileExists(const std::filesystem::path& path);

// Reads the whole file. Throws Error "Impossible d'ouvrir le fichier %s" when it cannot be
// read. An empty file gives no line.
Lines ReadLines(const std::filesystem::path& path);

// As ReadLines, but a missing file gives no line.
Lines ReadLinesIfExists(const std::filesystem::path& path);

// Splits raw bytes into lines by the reading rules above.
Lines SplitLines(const std::string& bytes);

// Writes every line followed by CR LF, replacing the file atomically: the old file stays
// whole until the new one is complete. An existing file of the same name in another letter
// case is replaced under its own name. Throws Error "Impossible de créer le fichier %s".
void WriteLines(const std::filesystem::path& path, const Lines& lines);

// Reads or writes a whole file as bytes, with the same errors and atomic replacement.
std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// A field fit for a record line: ";" becomes ",", CR and LF become a blank.
std::string CleanField(std::string field);

// Joins fields with ";" after each one (the last included), each cleaned by CleanField.
std::string JoinFields(const std::vector<std::string>& fields);

// The fields of a line, split at every ";"; the text after the last ";" is one more field
// only when it is not empty.
std::vector<std::string> SplitFields(const std::string& line);

}  // namespace vantrel

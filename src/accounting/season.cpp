#include "accounting/season.h"

#include <system_error>

#include "accounting/accounting_files.h"
#include "core/cp1252.h"
#include "core/error.h"
#include "core/ini_file.h"
#include "core/numbers.h"
#include "core/os_file.h"
#include "core/text_helpers.h"
#include "core/transaction.h"
#include "members/member_file.h"

namespace vantrel::accounting {

namespace fs = std::filesystem;

namespace {

// The first dues list line of the account, if any.
const std::string* DuesLineOf(const Lines& dues, const std::string& account) {
  if (account.empty()) return nullptr;
  for (const std::string& line : dues) {
    if (FieldAt(line, dues_list::kAccount) == account) return &line;
  }
  return nullptr;
}

}  // namespace

MemberLists BuildMemberLists(const Lines& chartLines, const Lines& oldDues) {
  MemberLists lists;
  for (const std::string& line : chartLines) {
    const std::string link = FieldAt(line, chart::kLink);
    const std::string number = FieldAt(line, chart::kNumber);
    const std::string name = FieldAt(line, chart::kName);
    if (link == chart::kLinkDues) {
      const std::string* old = DuesLineOf(oldDues, number);
      lists.dues.push_back(number + ";" + name + ";" +
                           (old ? FieldAt(*old, dues_list::kAmount) : std::string("0")));
    } else if (link == chart::kLinkPayment) {
      lists.payments.push_back(number + ";" + name + ";");
    }
  }
  return lists;
}

MemberLists RebuildMemberLists(const fs::path& exerciseFolder) {
  const Lines chartLines = ReadLines(exerciseFolder / kChartFileName);
  const Lines oldDues = ReadLines(exerciseFolder / kDuesListFileName);
  MemberLists lists = BuildMemberLists(chartLines, oldDues);
  FileTransaction transaction;
  transaction.Stage(exerciseFolder / kDuesListFileName, LinesToBytes(lists.dues));
  transaction.Stage(exerciseFolder / kPaymentListFileName, LinesToBytes(lists.payments));
  transaction.Commit();
  return lists;
}

MemberLists ReadMemberLists(const fs::path& exerciseFolder) {
  return {ReadLinesIfExists(exerciseFolder / kDuesListFileName),
          ReadLinesIfExists(exerciseFolder / kPaymentListFileName)};
}

bool SetDuesAmount(const fs::path& exerciseFolder, Lines& dues, int selection,
                   const std::string& amount) {
  const std::int32_t value = ParseInteger(amount);
  if (value == -1 || selection < 1 || selection > static_cast<int>(dues.size())) return false;
  Lines changed = dues;
  std::string& line = changed[static_cast<std::size_t>(selection - 1)];
  line = JoinFields(
      {FieldAt(line, dues_list::kAccount), FieldAt(line, dues_list::kName), std::to_string(value)});
  WriteLines(exerciseFolder / kDuesListFileName, changed);
  dues = std::move(changed);
  return true;
}

void StoreSettings(const Settings& settings) {
  IniFile ini = IniFile::Load(settings.settingsFile());
  SetExerciseKeys(ini, settings);
  ini.SetValue(kSectionFile, kKeySpare, settings.spare);
  ini.Save();
}

bool HoldsChart(const fs::path& folder) { return FileExists(folder / "Plan_Comptable.DBP"); }

void CreateExercise(const fs::path& currentFolder, const fs::path& newFolder) {
  struct Copy {
    fs::path target;
    std::string bytes;
  };
  std::vector<Copy> copies;
  for (const char* name : kSeasonFiles) {
    const fs::path source = ResolvePath(currentFolder / name);
    if (!FileExists(source)) throw CannotOpenFile(currentFolder / name);
    copies.push_back({newFolder / source.filename(), ReadBytes(source)});
  }
  // The folders this call makes, deepest first, are removed again when it fails.
  std::vector<fs::path> made;
  for (fs::path up = newFolder; !up.empty() && !os::Exists(up); up = up.parent_path()) {
    made.push_back(up);
    if (up == up.parent_path()) break;
  }
  const auto removeMade = [&made] {
    for (const fs::path& folder : made) os::RemoveEmptyFolder(folder);
  };
  if (os::CreateFolders(newFolder)) {
    removeMade();
    throw CannotCreateFile(newFolder);
  }
  try {
    FileTransaction transaction;
    for (const Copy& copy : copies) transaction.Stage(copy.target, copy.bytes);
    transaction.Commit();
  } catch (const Error&) {
    // A folder that existed keeps whatever was in it; one made here goes once it is empty.
    std::vector<fs::path> placed;
    for (const Copy& copy : copies) {
      if (!made.empty() && os::IsFile(copy.target)) placed.push_back(copy.target);
    }
    for (const fs::path& file : placed) os::DiscardFile(file);
    removeMade();
    throw;
  }
}

std::string ExerciseNameOf(const fs::path& chosen, const fs::path& programFolder) {
  // A folder outside the program folder keeps its whole path, which the exercise folder
  // (program folder / name) then names as it is.
  const fs::path relative =
      chosen.lexically_normal().lexically_relative(programFolder.lexically_normal());
  if (!relative.empty() && *relative.begin() == "..") {
    return Utf8ToCp1252(os::Utf8Of(chosen.lexically_normal()));
  }
  std::string folder = Utf8ToCp1252(os::Utf8Of(programFolder));
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') {
    folder += static_cast<char>(fs::path::preferred_separator);
  }
  return StripProgramFolder(Utf8ToCp1252(os::Utf8Of(chosen)), folder);
}

Lines ResetDues(const Lines& members, const Lines& duesList) {
  using members::AccountLine;
  Lines result;
  result.reserve(members.size());
  for (const std::string& line : members) {
    // Everything after field 68's separator is kept as it is.
    std::size_t separators = 0;
    std::size_t tailStart = line.size();
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == ';' && ++separators == 69) {
        tailStart = i + 1;
        break;
      }
    }
    const std::string tail = line.substr(tailStart);

    std::string reset;
    for (int k = 0; k < members::field::kFirstDuesLine; ++k) reset += FieldAt(line, k) + ";";
    std::int64_t sum = 0;
    for (int i = 0; i < members::kDuesLineCount + members::kPaymentLineCount; ++i) {
      const int first = members::field::kFirstDuesLine + 4 * i;
      const std::string account = FieldAt(line, first);
      const auto amount = TryParseInteger(FieldAt(line, first + 2));
      const std::string* listed = DuesLineOf(duesList, account);
      if (listed && amount && *amount != 0) {
        const std::string newAmount = FieldAt(*listed, dues_list::kAmount);
        sum += TryParseInteger(newAmount).value_or(0);
        reset += FieldAt(*listed, dues_list::kAccount) + ";" + FieldAt(*listed, dues_list::kName) +
                 ";" + newAmount + ";" + members::kNotPosted + ";";
      } else {
        reset += std::string(";;;") + members::kNotPosted + ";";
      }
    }
    reset += (sum > 0 ? std::to_string(-sum) : std::string()) + ";";
    result.push_back(reset + tail);
  }
  return result;
}

bool ResetMemberDues(const fs::path& exerciseFolder, const Lines& duesList) {
  const Lines memberLines = members::ReadMemberFile(exerciseFolder);
  if (memberLines.empty()) return false;
  members::WriteMemberFile(exerciseFolder, ResetDues(memberLines, duesList));
  return true;
}

}  // namespace vantrel::accounting

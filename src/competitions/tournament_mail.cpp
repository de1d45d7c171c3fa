#include "competitions/tournament_mail.h"

#include <algorithm>
#include <unordered_set>

#include "core/external_text.h"
#include "core/mail_link.h"
#include "core/text_helpers.h"
#include "members/member_file.h"

namespace vantrel::competitions {
namespace {

constexpr int kSeanceField = 0;
constexpr int kFirstDisplayField = 1;
constexpr int kLicenceField = 7;
constexpr std::size_t kGroupSize = 50;

// The key a licence number is compared under: a number of digits without its leading zeros
// (a spreadsheet drops them), any other text as it is. An empty licence or one of zeros alone
// (the card writes "00000000" for a member without licence) is nobody's: nothing.
std::optional<std::string> LicenceKey(const std::string& field) {
  const std::string text = Trim(field);
  if (text.empty()) return std::nullopt;
  const bool digits =
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!digits) return text;
  const std::size_t first = text.find_first_not_of('0');
  if (first == std::string::npos) return std::nullopt;
  return text.substr(first);
}

}  // namespace

Lines ReadTournamentCsv(const std::filesystem::path& path) {
  return TournamentCsvLines(ReadBytes(path));
}

Lines TournamentCsvLines(const std::string& bytes) {
  Lines lines = SplitLines(bytes);
  for (std::string& line : lines) line = DecodeExternalText(line);
  return lines;
}

void AddSeances(std::vector<std::string>& seances, const Lines& csv) {
  std::unordered_set<std::string> known;
  for (const std::string& seance : seances) known.insert(UpperCp1252(seance));
  for (std::size_t i = 1; i < csv.size(); ++i) {
    std::string seance = FieldAt(csv[i], kSeanceField);
    if (Trim(seance).empty()) continue;  // a blank line left by the spreadsheet
    if (known.insert(UpperCp1252(seance)).second) seances.push_back(std::move(seance));
  }
}

SeanceSelection SelectSeance(const Lines& csv, const std::string& seance, const Lines& members) {
  SeanceSelection selection;
  std::vector<std::pair<std::string, std::string>> players;  // licence key, address
  if (members.size() >= 2) {
    for (const std::string& member : members) {
      const auto key = LicenceKey(FieldAt(member, members::field::kLicence));
      const std::string address = FieldAt(member, members::field::kMail);
      if (key && !address.empty()) players.emplace_back(*key, address);
    }
  }
  for (std::size_t i = 1; i < csv.size(); ++i) {
    const std::string& line = csv[i];
    if (FieldAt(line, kSeanceField) != seance) continue;
    std::array<std::string, 4> display;
    for (int k = 0; k < 4; ++k) display[k] = FieldAt(line, kFirstDisplayField + k);
    selection.display = std::move(display);
    const auto licence = LicenceKey(FieldAt(line, kLicenceField));
    if (!licence) continue;
    for (const auto& [key, address] : players) {
      if (key == *licence) selection.addresses.push_back(address);
    }
  }
  return selection;
}

std::vector<std::vector<std::string>> AddressGroups(const std::vector<std::string>& addresses) {
  std::vector<std::vector<std::string>> groups;
  for (std::size_t k = 1; k <= addresses.size(); ++k) {
    const std::size_t group = k / kGroupSize;
    if (groups.size() <= group) groups.resize(group + 1);
    groups[group].push_back(addresses[k - 1]);
  }
  return groups;
}

std::vector<std::string> TournamentMailLinks(const std::vector<std::string>& addresses) {
  std::vector<std::string> links;
  for (const auto& group : AddressGroups(addresses)) links.push_back(MailtoMany(group));
  return links;
}

}  // namespace vantrel::competitions

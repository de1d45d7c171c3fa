#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/record_file.h"

namespace vantrel::members {

// The member file "Joueur.DBP" of an exercise folder: one member per line, seventy fields
// (0 to 69) of Windows-1252 bytes, each closed by ";", no header line.
//   00123456;M.;DUPONT;Jean;12;BRIDGE CLUB;2 rue Haute;;;75001;PARIS;01 02 03 04 05;;
//   06 07 08 09 10;jean@example.fr;21/06/1958;Licence Senior;67;12/09/2026;;7560;Cotisations;
//   4000;V;...(eight dues lines, four payment lines, 4 fields each)...;0;OUI;
// (one line in the file). The file is kept in ascending byte order of the last name.
inline constexpr char kMemberFileName[] = "Joueur.DBP";
// The member file as it was before the last "Remise à zèro membres", beside it.
inline constexpr char kMemberBackupFileName[] = "Joueur.DBP.bak";

inline constexpr int kMemberFieldCount = 70;
inline constexpr int kDuesLineCount = 8;
inline constexpr int kPaymentLineCount = 4;

// Field indices of a member record.
namespace field {
inline constexpr int kLicence = 0;   // federation licence number, digits
inline constexpr int kTitle = 1;     // "M." or "Mme"
inline constexpr int kLastName = 2;  // the sort key of the file
inline constexpr int kFirstName = 3;
inline constexpr int kValueIndex = 4;  // the federation's player rating
inline constexpr int kClub = 5;
inline constexpr int kAddress1 = 6;
inline constexpr int kAddress2 = 7;
inline constexpr int kAddress3 = 8;
inline constexpr int kPostalCode = 9;
inline constexpr int kTown = 10;
inline constexpr int kHomePhone = 11;
inline constexpr int kOfficePhone = 12;
inline constexpr int kMobilePhone = 13;
inline constexpr int kMail = 14;
inline constexpr int kBirthDate = 15;         // day/month/year
inline constexpr int kLicenceKind = 16;       // "Licence Senior", "Licence", "Club"...
inline constexpr int kAge = 17;               // whole years on the day the record was written
inline constexpr int kLastDuesPosting = 18;   // day/month/year
inline constexpr int kSpare = 19;             // "libre" in an imported record; nothing reads it
inline constexpr int kFirstDuesLine = 20;     // 8 lines of 4 fields: 20 to 51
inline constexpr int kFirstPaymentLine = 52;  // 4 lines of 4 fields: 52 to 67
inline constexpr int kBalance = 68;           // cents, payments minus dues; empty when none
inline constexpr int kMailConvocations = 69;  // "OUI" or "NON"; missing or empty reads "OUI"
}  // namespace field

// The four fields of one dues or payment line.
enum class LinePart { kAccount = 0, kName = 1, kAmount = 2, kMark = 3 };

// Field index of a part of dues line i (0 to 7) or payment line i (0 to 3).
constexpr int DuesField(int i, LinePart part) {
  return field::kFirstDuesLine + 4 * i + static_cast<int>(part);
}
constexpr int PaymentField(int i, LinePart part) {
  return field::kFirstPaymentLine + 4 * i + static_cast<int>(part);
}

// Posting marks of a dues or payment line.
inline constexpr char kPosted[] = "V";
inline constexpr char kNotPosted[] = "F";

// One dues or payment line: account number, account name, amount in cents (empty for none)
// and posting mark ("V" posted, "F" not).
struct AccountLine {
  std::string account;
  std::string name;
  std::string amount;
  std::string mark = kNotPosted;

  bool posted() const { return mark == kPosted; }
  friend bool operator==(const AccountLine&, const AccountLine&) = default;
};

// A member record taken apart into its seventy fields. Fields the line does not reach are
// empty; field 69 keeps its stored text (see mailConvocations() for its reading).
class MemberRecord {
 public:
  MemberRecord() = default;
  static MemberRecord FromLine(const std::string& line);

  // Seventy fields, each cleaned (";" -> ",", line breaks -> blank) and closed by ";".
  std::string ToLine() const;

  // k in 0..69.
  const std::string& get(int k) const { return m_fields.at(static_cast<std::size_t>(k)); }
  void set(int k, std::string value) {
    m_fields.at(static_cast<std::size_t>(k)) = std::move(value);
  }

  const std::string& licence() const { return get(field::kLicence); }
  const std::string& lastName() const { return get(field::kLastName); }
  const std::string& firstName() const { return get(field::kFirstName); }
  // "OUI" when field 69 is empty, otherwise its text.
  std::string mailConvocations() const;

  AccountLine duesLine(int i) const;  // i in 0..7
  void setDuesLine(int i, const AccountLine& line);
  AccountLine paymentLine(int i) const;  // i in 0..3
  void setPaymentLine(int i, const AccountLine& line);

 private:
  AccountLine accountLineAt(int first) const;
  void setAccountLineAt(int first, const AccountLine& line);

  std::array<std::string, kMemberFieldCount> m_fields;
};

// Field 17: |days between birthDate and today| / 365.25, rounded to the nearest whole number,
// as decimal text. Throws Error "'%s' n'est pas une date correcte" when birthDate is no
// day/month/year date.
std::string MemberAge(const std::string& birthDate, Date today);

// The record the member card's "Ajouter" appends: value index "20", address line 1 three
// blanks, birth date "01/01/2000", age "0", field 18 today, field 19 "libre", twelve empty
// lines marked "F", empty balance, and no field 69 (the line ends after field 68's ";").
std::string NewMemberLine(Date today);

// The record the federation import appends for a new member. federation holds fields 0 to 16
// as they come (fewer read as empty, more are ignored); field 17 is the age on today from
// field 15; field 18 "01/01/1900", field 19 "libre", twelve empty lines marked "F", empty
// balance, field 69 "OUI". Throws Error "'%s' n'est pas une date correcte" for a bad birth
// date.
std::string ImportedMemberLine(const std::vector<std::string>& federation, Date today);

// Which screen sorts: the member card breaks no ties; the consultation screen and the import
// compare the first names (field 3) of records whose keys are equal.
enum class SortVariant { kMemberCard, kConsultation, kImport };

// Sorts members in place on keyField (0 or 2) by the club's exchange sort: for each i, for each
// j after i, records i and j are exchanged when the key of i is greater, bytes compared
// unsigned and a prefix first (ties per variant). The order it leaves among equal records is
// that exact procedure's, which is not stable. current is a position in members (-1 for none);
// the result is the position the same record holds after sorting (the import ignores it).
int SortMembers(Lines& members, int keyField, SortVariant variant, int current = -1);

// The member file of an exercise folder, name matched without regard to case.
std::filesystem::path MemberFilePath(const std::filesystem::path& exerciseFolder);

// Reads the whole member file. Throws Error "Impossible d'ouvrir le fichier %s" when it is
// missing or unreadable; an empty file gives no member.
Lines ReadMemberFile(const std::filesystem::path& exerciseFolder);

// Writes the whole member file atomically (CR LF after every line). Throws Error
// "Impossible de créer le fichier %s".
void WriteMemberFile(const std::filesystem::path& exerciseFolder, const Lines& members);

// True when the bytes of a member file hold a line that is not blank.
bool HoldsAMember(const std::string& bytes);

// "Remise à zèro membres": the member file becomes empty (no line at all). The file it
// replaces is kept first, whole, as "Joueur.DBP.bak" beside it (an older copy is replaced);
// with no member file, or one that holds no member (HoldsAMember), there is nothing to keep
// and the copy stays as it is. Throws Error "Impossible d'ouvrir le
// fichier %s" or "Impossible de créer le fichier %s"; a failed copy leaves the member file
// untouched.
void ResetMemberFile(const std::filesystem::path& exerciseFolder);

}  // namespace vantrel::members

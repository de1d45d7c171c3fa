#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/record_file.h"
#include "members/member_file.h"

namespace vantrel::members {

// What the member card's edit boxes hold: fields 0 to 16, 18 and 69 of a member as typed
// (Windows-1252 bytes). The dues and payment lines and the balance live in MemberCard.
using CardFields = MemberRecord;

// The fields the card's boxes show and save (fields 0 to 16, 18 and 69).
bool IsCardField(int k);

// A grid row of the card: dues line i (0 to 7) or payment line i (0 to 3).
struct CardRow {
  enum class Kind { kDues, kPayment };
  Kind kind = Kind::kDues;
  int index = 0;
  friend bool operator==(const CardRow&, const CardRow&) = default;
};

// Why "Passage en Comptabilité" posted nothing.
enum class PostingRefusal {
  kNone,           // posted
  kNothingToPost,  // no unposted line with an account
  kSingleLine,     // one line: an entry needs a debit and a credit
  kTooManyLines,   // more than five: an entry holds at most five lines
};

// The journal entry of the unposted lines of a member, ready for PostJournalEntry: groups of
// (account, name, debit, credit) in cents, dues first (credited), then payments (debited).
struct DuesEntry {
  std::string date;
  std::string label;
  std::vector<std::array<std::string, 4>> groups;
};

// The member card ("Modification de la fiche adhérent"): the member file held in memory,
// the member shown, the search sort, and the dues and payment lines being edited with the
// balance. Every routine that changes the file writes it whole.
class MemberCard {
 public:
  // Reads "Joueur.DBP" (throws Error "Impossible d'ouvrir le fichier %s" when missing); the
  // first member becomes current, the list is in name order (sort field 2).
  void load(const std::filesystem::path& exerciseFolder);
  // Drops the list (another window became active).
  void clear();

  const Lines& members() const { return m_members; }
  int current() const { return m_current; }
  int sortField() const { return m_sortField; }
  bool empty() const { return m_members.empty(); }
  // The current member's record; an empty record when there is none.
  MemberRecord currentRecord() const;

  bool canGoBack() const { return m_current > 0; }
  bool canGoForward() const { return m_current >= 0 && m_current + 1 < size(); }
  void first();
  void previous();
  void next();
  void last();

  // Sorts on field 0 (licence search) or 2 (name search) unless already sorted so; the
  // current member stays current.
  void sortFor(int keyField);
  // The last member, going back from the end, whose licence read as a whole number is at most
  // that of text; members whose licence is no number are passed over. Throws Error
  // "'%s' n'est pas une valeur entière correcte" when text is no whole number; the current
  // member stays when none matches.
  void searchLicence(const std::string& text);
  // The first member whose last name begins with text raised to capitals (accented letters
  // included), bytes compared; the current member stays when none matches.
  void searchName(const std::string& text);

  // True when the boxes or the lines being edited differ from the current member as held in
  // the list, so that moving on would lose them. The balance box is left out: it is
  // recomputed from the lines. False without a current member.
  bool hasChanges(const CardFields& boxes) const;

  // Appends the record of "Ajouter" (not written) and makes it current.
  void add(Date today);

  // Normalises the boxes and the lines into the current member's record, sorts on the name and
  // writes the whole file. Licence on 8 digits, postal code on 5, value index never empty or
  // zero ("1"), age from the birth date on today, field 19 empty. Throws Error
  // "'%s' n'est pas une date correcte" for a bad birth date before anything changes.
  void save(const std::filesystem::path& exerciseFolder, const CardFields& boxes, Date today);
  // The record save() would store for these boxes (same normalisation and errors).
  MemberRecord buildRecord(const CardFields& boxes, Date today) const;
  // save() in two steps, for a save written together with other files: the list to write
  // (throws as save() does, changing nothing), then taking it as the card's list.
  struct PendingSave {
    Lines members;
    int current = -1;
  };
  PendingSave prepareSave(const CardFields& boxes, Date today) const;
  void applySave(PendingSave saved);

  // Removes the current member and writes the whole file; the member after it becomes
  // current, or the one before when it was the last.
  void remove(const std::filesystem::path& exerciseFolder);

  // The lines being edited, taken from the current member by showCurrent().
  const AccountLine& line(CardRow row) const;
  // The balance box: field 68 as stored until computeBalance() runs; cents, empty for none.
  const std::string& balance() const { return m_balance; }
  // Sum of payments minus sum of dues over every line, posted or not; sets the balance.
  std::int64_t computeBalance();
  // Loads the current member's lines and balance into the edit state.
  void showCurrent();

  // Selecting a row: true (it becomes the pick list's target) unless it is posted.
  bool target(CardRow row);
  std::optional<CardRow> pickTarget() const { return m_target; }
  // Choosing line `choice` of the pick list (its lines as read from the dues or payment list
  // file; 0 is the blank row) for the target: 0 empties the target and computes the balance;
  // another copies account and name, empties the amount and returns the amount to propose
  // in cents (the list's amount for dues, |balance| for a payment).
  std::optional<std::string> choose(const Lines& pickLines, int choice);
  // "<<" or ">>": the amount typed (cents; everything but digits dropped) becomes the
  // target's amount and the balance is computed. Throws Error "'%s' n'est pas une valeur
  // entière correcte" beyond 32 bits.
  void confirmAmount(const std::string& typed);

  // The unposted lines with an account, dues rows first, as entry groups.
  std::vector<CardRow> unpostedRows() const;
  // Checks that the unposted lines make one entry (two to five lines); kNone when they do.
  PostingRefusal postingRefusal() const;
  // The entry of the unposted lines for these boxes: dated today, labelled "Payement de "
  // + title + " " + name + " " + first name.
  DuesEntry duesEntry(const CardFields& boxes, Date today) const;
  // Marks the unposted lines as posted and returns the date of posting for field 18.
  std::string markPosted(Date today);

 private:
  int size() const { return static_cast<int>(m_members.size()); }
  AccountLine& lineRef(CardRow row);

  Lines m_members;
  int m_current = -1;
  int m_sortField = field::kLastName;
  std::array<AccountLine, kDuesLineCount> m_dues;
  std::array<AccountLine, kPaymentLineCount> m_payments;
  std::string m_balance;
  std::optional<CardRow> m_target;
};

// A member's balance (field 68) or a line's amount (cents) shown as money, empty when empty;
// a stored text that is no whole number is shown as it is.
std::string ShowCents(const std::string& cents);

}  // namespace vantrel::members

#include "demo/demo_club.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "accounting/accounting_files.h"
#include "accounting/chart_editor.h"
#include "accounting/dues_posting.h"
#include "accounting/posting.h"
#include "accounting/season.h"
#include "competitions/cup_file.h"
#include "competitions/registrant_page.h"
#include "competitions/tournament_result.h"
#include "core/cp1252.h"
#include "core/date.h"
#include "core/os_file.h"
#include "core/record_file.h"
#include "core/settings.h"
#include "core/text_helpers.h"
#include "demo/demo_pages.h"
#include "members/member_card.h"
#include "members/member_file.h"

namespace vantrel::demo {
namespace {

namespace fs = std::filesystem;
using accounting::EntryGroup;
using accounting::JournalEntry;
using members::CardRow;
using members::MemberRecord;
namespace mf = members::field;

// A small deterministic generator: the demonstration is the same on every machine.
class Dice {
 public:
  explicit Dice(std::uint32_t seed) : m_state(seed) {}
  int below(int n) {
    m_state = m_state * 1103515245u + 12345u;
    return static_cast<int>((m_state >> 16) % static_cast<std::uint32_t>(n));
  }
  int between(int low, int high) { return low + below(high - low + 1); }

 private:
  std::uint32_t m_state;
};

std::string W(const std::string& utf8) { return Utf8ToCp1252(utf8); }

Date Day(int year, int month, int day) { return *Date::FromYmd(year, month, day); }
Date Plus(Date date, int days) { return Date::FromSerial(date.Serial() + days); }

// ---------------------------------------------------------------------------------------
// The members.

const char* const kLastNames[] = {
    "LÉCUYER",  "BÉRANGER", "LEFÈVRE", "MÉNARD",  "NOËL",    "GRÉGOIRE", "HÉBERT",    "PRÉVOST",
    "CÔTÉ",     "ROUSSEL",  "DURAND",  "MOREAU",  "FAURE",   "GARNIER",  "CHEVALIER", "BOUCHER",
    "MERCIER",  "GIRAUD",   "PÉRON",   "LAMBERT", "BONNET",  "FRANÇOIS", "ROUSSEAU",  "BLANCHARD",
    "THÉVENIN", "MÉTAYER",  "FERRAND", "COLLIN",  "BARBIER", "ARNAUD",   "LEMAÎTRE",  "POIRIER",
    "RENAUD",   "VÉRON",    "JOUBERT", "BRETON",  "CARON",   "FOURNIER", "ÉTIENNE",   "AUBRY",
    "MAILLARD", "PERRIN",   "BESSON",  "CLÉMENT", "GUÉRIN",  "PÉPIN",    "DUMAS",     "CHARPENTIER",
    "MARÉCHAL", "DESCHÊNES"};
const char* const kMen[] = {"Jean",     "Jérôme",   "Noël",    "Benoît", "François",
                            "André",    "Hervé",    "Gérard",  "Michel", "René",
                            "Stéphane", "Frédéric", "Loïc",    "Joël",   "Raphaël",
                            "Jacques",  "Pierre",   "Bernard", "Aimé",   "Honoré"};
const char* const kWomen[] = {"Hélène",  "Geneviève", "Françoise", "Agnès",    "Chloé",
                              "Léa",     "Éliane",    "Thérèse",   "Béatrice", "Cécile",
                              "Mélanie", "Anaïs",     "Noémie",    "Maïté",    "Zoé",
                              "Josée",   "Andrée",    "Renée",     "Odile",    "Monique"};
struct Town {
  const char* postalCode;
  const char* name;
};
const Town kTowns[] = {{"45000", "ORLÉANS"},
                       {"45100", "ORLÉANS"},
                       {"45160", "OLIVET"},
                       {"45650", "SAINT-JEAN-LE-BLANC"},
                       {"45800", "SAINT-JEAN-DE-BRAYE"},
                       {"45430", "CHÉCY"},
                       {"45140", "INGRÉ"},
                       {"45770", "SARAN"}};
const char* const kStreets[] = {
    "rue des Tilleuls", "avenue de la Gare", "rue Jeanne d'Arc",       "place du Martroi",
    "rue de l'Église",  "chemin des Prés",   "allée des Châtaigniers", "boulevard Aristide-Briand"};

// Members who join in the first exercise, then in the second and the third.
constexpr int kFirstMembers = 72;
constexpr int kJoining[] = {0, 8, 6};

// A name without accents or blanks, in small letters, for a mail address.
std::string MailPart(const std::string& utf8) {
  static const std::map<std::string, char> plain = {
      {"é", 'e'}, {"è", 'e'}, {"ê", 'e'}, {"ë", 'e'}, {"É", 'e'}, {"È", 'e'}, {"Ê", 'e'},
      {"Ë", 'e'}, {"à", 'a'}, {"â", 'a'}, {"î", 'i'}, {"ï", 'i'}, {"Î", 'i'}, {"ô", 'o'},
      {"Ô", 'o'}, {"û", 'u'}, {"ü", 'u'}, {"ç", 'c'}, {"Ç", 'c'}, {"Â", 'a'}};
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      if (c != ' ' && c != '\'') out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
      ++i;
      continue;
    }
    const auto found = plain.find(utf8.substr(i, 2));
    if (found != plain.end()) out += found->second;
    i += 2;
  }
  return out;
}

struct Person {
  std::string title;  // "M." or "Mme"
  std::string lastName;
  std::string firstName;
  bool young = false;    // pays the young member's dues
  bool licensed = true;  // pays the federal licence through the club
};

// The card's boxes of member n (UTF-8 names turned to Windows-1252 here).
MemberRecord CardOf(int n, const Person& person, Dice& dice) {
  MemberRecord boxes;
  const Town& town = kTowns[dice.below(std::size(kTowns))];
  const int birthYear = person.young ? dice.between(2002, 2010) : dice.between(1940, 1975);
  char licence[16];
  std::snprintf(licence, sizeof licence, "%08d", 1203000 + n * 37 + dice.below(30));
  boxes.set(mf::kLicence, licence);
  boxes.set(mf::kTitle, person.title);
  boxes.set(mf::kLastName, W(person.lastName));
  boxes.set(mf::kFirstName, W(person.firstName));
  boxes.set(mf::kValueIndex,
            std::to_string(person.young ? dice.between(4, 30) : dice.between(12, 98)));
  boxes.set(mf::kClub, W("BRIDGE CLUB DES TILLEULS"));
  boxes.set(mf::kAddress1, W(std::to_string(dice.between(1, 120)) + " " +
                             kStreets[dice.below(std::size(kStreets))]));
  boxes.set(mf::kPostalCode, town.postalCode);
  boxes.set(mf::kTown, W(town.name));
  char phone[32];
  std::snprintf(phone, sizeof phone, "02 38 %02d %02d %02d", dice.between(10, 99),
                dice.between(10, 99), dice.between(10, 99));
  if (dice.below(4) != 0) boxes.set(mf::kHomePhone, phone);
  std::snprintf(phone, sizeof phone, "06 %02d %02d %02d %02d", dice.between(10, 99),
                dice.between(10, 99), dice.between(10, 99), dice.between(10, 99));
  boxes.set(mf::kMobilePhone, phone);
  if (dice.below(8) != 0) {
    boxes.set(mf::kMail,
              MailPart(person.firstName) + "." + MailPart(person.lastName) + "@exemple.fr");
  }
  boxes.set(mf::kBirthDate, FormatDate(Day(birthYear, dice.between(1, 12), dice.between(1, 28))));
  boxes.set(mf::kLicenceKind, !person.licensed ? "Club"
                              : person.young   ? "Licence Jeune"
                                               : "Licence Senior");
  boxes.set(mf::kMailConvocations, dice.below(6) == 0 ? "NON" : "OUI");
  return boxes;
}

std::vector<Person> People() {
  std::vector<Person> people;
  const int total = kFirstMembers + kJoining[1] + kJoining[2];
  int family = -1;
  for (int n = 0; n < total; ++n) {
    Person person;
    const bool woman = n % 2 == 1;
    person.title = woman ? "Mme" : "M.";
    // Couples share a name now and then; every name and first name of the lists is used.
    if (n % 3 != 1) ++family;
    person.lastName = kLastNames[static_cast<std::size_t>(family * 7) % std::size(kLastNames)];
    const std::size_t pick = static_cast<std::size_t>(n / 2 * 7 + (woman ? 3 : 0));
    person.firstName = woman ? kWomen[pick % std::size(kWomen)] : kMen[pick % std::size(kMen)];
    person.young = n % 13 == 5;
    person.licensed = n % 11 != 3;
    people.push_back(person);
  }
  return people;
}

// Adds members through the member card's "Ajouter" and "Enregistrer".
void AddMembers(const fs::path& folder, const std::vector<Person>& people, int from, int count,
                Date day, Dice& dice) {
  members::MemberCard card;
  card.load(folder);
  for (int n = from; n < from + count; ++n) {
    card.add(day);
    card.save(folder, CardOf(n, people[static_cast<std::size_t>(n)], dice), day);
  }
}

// ---------------------------------------------------------------------------------------
// The books.

// The line (counted from 1) of a list whose account is `account`; 0 when none.
int ListChoice(const Lines& list, const std::string& account) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (FieldAt(list[i], 0) == account) return static_cast<int>(i) + 1;
  }
  return 0;
}

// The season's work in the order of its dates, as a treasurer posts it: entries and dues
// postings are gathered first, then run day by day (same day: in the order they were given).
class Schedule {
 public:
  void at(Date date, std::function<void()> work) { m_work.emplace_back(date, std::move(work)); }
  void run() {
    std::stable_sort(m_work.begin(), m_work.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [date, work] : m_work) work();
    m_work.clear();
  }

 private:
  std::vector<std::pair<Date, std::function<void()>>> m_work;
};

// The card's "Passage en Comptabilité" for every member who pays this season: dues chosen
// when the lines are empty (a member of the first season or a new one), then the payment by
// cheque to the bank or in cash, proposed at the balance. The card and the lists outlive the
// schedule; postings do not reorder the file, which is already in name order.
struct DuesDesk {
  accounting::MemberLists lists;
  members::MemberCard card;
};

void ScheduleSeasonDues(Schedule& schedule, DuesDesk& desk, const fs::path& folder, Date start,
                        Dice& dice) {
  desk.lists = accounting::ReadMemberLists(folder);
  desk.card.load(folder);
  const int count = static_cast<int>(desk.card.members().size());
  for (int i = 0; i < count; ++i) {
    if (dice.below(10) == 0) continue;  // has not paid yet
    const char* payment = dice.below(4) == 0 ? "5300" : "5120";
    const Date day = Plus(start, dice.between(0, 75));
    schedule.at(day, [&desk, folder, i, payment, day] {
      members::MemberCard& card = desk.card;
      const accounting::MemberLists& lists = desk.lists;
      card.first();
      for (int k = 0; k < i; ++k) card.next();
      card.showCurrent();
      MemberRecord boxes = card.currentRecord();
      const std::string kind = boxes.get(mf::kLicenceKind);
      int row = 0;
      const auto addDues = [&](const char* account) {
        card.target({CardRow::Kind::kDues, row++});
        if (auto proposed = card.choose(lists.dues, ListChoice(lists.dues, account))) {
          card.confirmAmount(*proposed);
        }
      };
      if (card.line({CardRow::Kind::kDues, 0}).account.empty()) {
        addDues(kind == "Licence Jeune" ? "7562" : "7560");
        if (kind != "Club") addDues("7561");
      }
      card.target({CardRow::Kind::kPayment, 0});
      if (auto proposed = card.choose(lists.payments, ListChoice(lists.payments, payment))) {
        card.confirmAmount(*proposed);
      }
      accounting::PostMemberDues(folder, card, boxes, day);
    });
  }
}

class Books {
 public:
  explicit Books(const fs::path& folder) : m_folder(folder) {
    for (const std::string& line : ReadLines(folder / accounting::kChartFileName)) {
      m_names[FieldAt(line, accounting::chart::kNumber)] = FieldAt(line, accounting::chart::kName);
    }
  }
  // One entry; amounts in cents, positive for a debit and negative for a credit.
  void post(Date date, const std::string& utf8Label,
            const std::vector<std::pair<std::string, std::int64_t>>& lines) const {
    JournalEntry entry{FormatDate(date), W(utf8Label), {}};
    for (std::size_t g = 0; g < lines.size(); ++g) {
      const auto& [account, cents] = lines[g];
      EntryGroup& group = entry.groups[g];
      group.account = account;
      group.name = m_names.count(account) ? m_names.at(account) : "";
      (cents >= 0 ? group.debit : group.credit) = std::to_string(cents >= 0 ? cents : -cents);
    }
    accounting::PostJournalEntry(m_folder, entry);
  }
  // The balance of an account's ledger (debit minus credit), in cents.
  std::int64_t balance(const std::string& account) const {
    const std::string text = accounting::LastBalanceText(accounting::ReadLedger(m_folder, account));
    return text.empty() ? 0 : std::stoll(text);
  }
  // A payment from one account to another: debit `to`, credit `from`.
  void move(Date date, const std::string& label, const std::string& to, const std::string& from,
            std::int64_t cents) const {
    post(date, label, {{to, cents}, {from, -cents}});
  }

 private:
  fs::path m_folder;
  std::map<std::string, std::string> m_names;
};

// The balances of the balance-sheet accounts (classes 1 to 5) at the end of an exercise, the
// result (classes 6 and 7) carried into 1110.
std::vector<std::pair<std::string, std::int64_t>> ClosingBalances(const fs::path& folder) {
  std::map<std::string, std::int64_t> balances;
  std::int64_t result = 0;
  std::vector<os::FolderEntry> entries;
  os::ListFolder(folder, entries);
  for (const os::FolderEntry& entry : entries) {
    const std::string stem = os::Utf8Of(entry.name.stem());
    if (!accounting::IsAccountNumber(stem)) continue;
    const std::string text = accounting::LastBalanceText(accounting::ReadLedger(folder, stem));
    const std::int64_t balance = text.empty() ? 0 : std::stoll(text);
    if (stem[0] >= '6') {
      result += balance;
    } else {
      balances[stem] += balance;
    }
  }
  balances["1110"] += result;
  std::vector<std::pair<std::string, std::int64_t>> out;
  for (const auto& [account, balance] : balances) {
    if (balance != 0) out.emplace_back(account, balance);
  }
  return out;
}

// The opening entries of a new exercise: the balances of the last one, four accounts to an
// entry balanced on 1110 "Report à nouveau", whose last line leaves it at its own balance.
void PostOpening(const Books& books, const std::vector<std::pair<std::string, std::int64_t>>& all,
                 Date date, const std::string& previous) {
  std::vector<std::pair<std::string, std::int64_t>> others;
  for (const auto& line : all) {
    if (line.first != "1110") others.push_back(line);
  }
  const std::string label = "Reprise des soldes de l'exercice " + previous;
  for (std::size_t i = 0; i < others.size(); i += 4) {
    std::vector<std::pair<std::string, std::int64_t>> entry;
    std::int64_t sum = 0;
    for (std::size_t k = i; k < std::min(others.size(), i + 4); ++k) {
      entry.push_back(others[k]);
      sum += others[k].second;
    }
    if (sum != 0) entry.emplace_back("1110", -sum);
    books.post(date, label, entry);
  }
}

// A season's entries besides the dues: tournaments, licences, rent, purchases, a subsidy...
void ScheduleSeason(Schedule& schedule, const Books& books, int season, int year, int licensed,
                    Dice& dice) {
  const auto move = [&](Date day, const std::string& label, const char* to, const char* from,
                        std::int64_t cents) {
    schedule.at(day,
                [&books, day, label, to, from, cents] { books.move(day, label, to, from, cents); });
  };
  // Table fees of the club's tournaments, every Thursday; at the end of the month the cash
  // box (table fees and dues paid in cash) goes to the bank, but for a float of 100,00.
  Date thursday = Day(year, 9, 4);
  while (thursday.Serial() % 7 != 5) thursday = Plus(thursday, 1);  // serial 5 is a Thursday
  for (Date day = thursday; day < Day(year + 1, 7, 1); day = Plus(day, 7)) {
    if (day.month() == 8 || (day.month() == 12 && day.day() > 20)) continue;
    move(day, "Droits de table du tournoi du " + FormatDate(day), "5300", "7060",
         300 * dice.between(16, 34));
    if (Plus(day, 7).month() != day.month()) {
      schedule.at(day, [&books, day] {
        const std::int64_t cash = books.balance("5300") - 10000;
        if (cash > 0) books.move(day, "Remise d'espèces en banque", "5120", "5300", cash);
      });
    }
  }
  // The rent of the room, every month.
  for (int m = 0; m < 10; ++m) {
    const int month = (8 + m) % 12 + 1;
    const Date day = Day(month >= 9 ? year : year + 1, month, 5);
    move(day, "Location de la salle - " + FormatDate(day).substr(3), "6130", "5120",
         26000 + 1000 * season);
  }
  // The federal licences paid through the club, sent to the federation in two parts.
  move(Day(year, 10, 28), "Licences fédérales - premier envoi", "6580", "5120",
       std::int64_t{3200} * (licensed * 3 / 4));
  move(Day(year + 1, 1, 20), "Licences fédérales - second envoi", "6580", "5120",
       std::int64_t{3200} * (licensed - licensed * 3 / 4));
  // Purchases: cards and boards on the supplier's invoice, paid a month later.
  const std::int64_t invoice = dice.between(180, 260) * 100;
  move(Day(year, 9, 20), "Facture Bridge Matériel : cartes et étuis", "6063", "4010", invoice);
  move(Day(year, 10, 20), "Règlement Bridge Matériel", "4010", "5120", invoice);
  move(Day(year, 11, 14), "Fournitures de bureau et encre", "6064", "5120",
       dice.between(40, 90) * 100);
  move(Day(year, 12, 15), "Lots du tournoi de Noël", "6068", "5300", dice.between(90, 150) * 100);
  move(Day(year + 1, 1, 12), "Galette des rois des adhérents", "6250", "5300",
       dice.between(70, 120) * 100);
  move(Day(year + 1, 1, 15), "Assurance responsabilité civile", "6160", "5120",
       31500 + 500 * season);
  move(Day(year, 11, 5), "Cotisation au comité régional", "6280", "5120", 15000);
  move(Day(year + 1, 6, 20), "Lots de la fin de saison", "6068", "5120",
       dice.between(100, 180) * 100);
  for (int quarter = 0; quarter < 4; ++quarter) {
    const int month = 3 + 3 * quarter;  // March and June of the next year, then September...
    const Date day = Day(month >= 9 ? year : year + 1, month, 28);
    move(day, "Frais de tenue de compte", "6270", "5120", 1850);
  }
  // Income besides the dues and the tables.
  move(Day(year + 1, 3, 10), "Subvention de la commune", "5120", "7440", 40000 + 10000 * season);
  move(Day(year + 1, 4, 2), "Don d'un adhérent", "5120", "7540", 5000);
  move(Day(year, 12, 31), "Intérêts du livret", "5140", "7680", 900 + 400 * season);
  if (season == 0) {
    move(Day(year, 10, 3), "Placement sur le livret d'épargne", "5140", "5120", 150000);
  }
}

// ---------------------------------------------------------------------------------------
// The cups and the convocation of the current exercise.

struct Tournament {
  int month;
  int day;  // of 2026
  const char* name;
};

const Tournament kCupTournaments[2][4] = {{{9, 17, "Tournoi de Rentrée"},
                                           {10, 8, "Tournoi des Vendanges"},
                                           {11, 5, "Tournoi de la Saint-Martin"},
                                           {12, 3, "Tournoi de l'Avent"}},
                                          {{10, 1, "Open /2 du Jeudi - octobre"},
                                           {10, 29, "Open /2 du Jeudi - novembre"},
                                           {11, 19, "Open /2 de la Sainte-Cécile"},
                                           {11, 26, "Open /2 du Jeudi - fin novembre"}}};

// Players from other clubs, who come now and then.
const char* const kVisitors[] = {"Pierre VALLIÈRE", "Sophie DELORME",   "Marc AUDOUIN",
                                 "Claire BÉNARD",   "Hugues TISSERAND", "Inès LAFORÊT"};

// "Prénom NOM" of a member, UTF-8, as the federation's pages write it.
std::string PageName(const std::string& memberLine) {
  return Cp1252ToUtf8(FieldAt(memberLine, mf::kFirstName) + " " +
                      FieldAt(memberLine, mf::kLastName));
}

// Two cups of four tournaments: the saved page of each, its extract and its result file as
// the results screen makes them, linked to the tournament's line in the cup file.
void MakeCups(const fs::path& folder, Dice& dice) {
  const Lines members = members::ReadMemberFile(folder);
  for (int cup = 1; cup <= 2; ++cup) {
    competitions::CupFile file;
    file.load(competitions::CupFilePath(folder, cup));
    for (int t = 0; t < 4; ++t) {
      const Tournament& tournament = kCupTournaments[cup - 1][t];
      // Twelve to sixteen pairs: members drawn at random, a visitor now and then.
      std::vector<int> order(members.size());
      for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
      for (std::size_t i = order.size(); i > 1; --i) {
        std::swap(order[i - 1], order[static_cast<std::size_t>(dice.below(static_cast<int>(i)))]);
      }
      const int pairs = dice.between(12, 16);
      std::vector<ResultPair> rows;
      std::size_t next = 0;
      for (int p = 0; p < pairs; ++p) {
        ResultPair row;
        row.rank = p + 1;
        row.percent = 68 - p * 2 - dice.below(2);
        row.playerA = PageName(members[static_cast<std::size_t>(order[next++])]);
        row.playerB = dice.below(7) == 0
                          ? kVisitors[dice.below(std::size(kVisitors))]
                          : PageName(members[static_cast<std::size_t>(order[next++])]);
        rows.push_back(row);
      }
      const std::string stem = "Coupe" + std::to_string(cup) + "_Tournoi" + std::to_string(t + 1);
      const fs::path page = folder / (stem + ".htm");
      WriteBytes(page, ResultPage(tournament.name, rows));

      competitions::TournamentResults results;
      results.extractPage(page);
      results.writeExtract(folder / (stem + ".chi"));
      results.calculate(members, competitions::kDefaultCoefficient);
      results.save(folder / (stem + ".chr"));

      competitions::CupFields fields;
      fields.date = FormatDate(Day(2026, tournament.month, tournament.day));
      fields.name = W(tournament.name);
      fields.kind = "P";
      fields.column = t + 1;
      fields.coefficient = t == 3 ? "150" : "100";
      file.add(fields);
      file.link(fields, stem + ".chr");
    }
  }
}

// The registrants of a group of the "Coupe de France" as saved from the federation's page,
// kept by the convocation screen's "Enregistrer", with the event's data.
void MakeConvocation(const fs::path& folder) {
  const Lines members = members::ReadMemberFile(folder);
  const auto player = [&](std::size_t i) {
    const std::string& line = members[i * 5 % members.size()];
    const std::string index = FieldAt(line, mf::kValueIndex);
    return RegistrantPlayer{FieldAt(line, mf::kTitle), PageName(line),
                            index.empty() ? 1 : std::stoi(index)};
  };
  std::vector<RegistrantTeam> teams;
  for (std::size_t team = 0; team < 2; ++team) {
    RegistrantTeam entry;
    entry.club = "BRIDGE CLUB DES TILLEULS";
    for (std::size_t k = 0; k < 4; ++k) entry.players.push_back(player(team * 4 + k + 1));
    entry.label =
        Cp1252ToUtf8(FieldAt(members[(team * 4 + 1) * 5 % members.size()], mf::kLastName));
    teams.push_back(entry);
  }
  teams.push_back({"DELORME",
                   "BRIDGE CLUB DE BLOIS",
                   {{"Mme", "Sophie DELORME", 42},
                    {"M.", "Marc AUDOUIN", 37},
                    {"M.", "Hugues TISSERAND", 29},
                    {"Mme", "Inès LAFORÊT", 33}}});
  teams.push_back({"VALLIÈRE",
                   "BC DE TOURS",
                   {{"M.", "Pierre VALLIÈRE", 51},
                    {"Mme", "Claire BÉNARD", 44},
                    {"M.", "Yves CORDIER", 38},
                    {"Mme", "Nadège FLEURY", 35}}});
  const fs::path page = folder / "Coupe_de_France_groupe.htm";
  WriteBytes(page, GroupTeamsPage("Coupe de France", teams));
  WriteLines(folder / "Coupe_de_France.Qug",
             competitions::ExtractRegistrants(competitions::ReadRegistrantPage(page),
                                              competitions::ListKind::kGroup));
  competitions::EventData data = {"2026-2027",
                                  W("Hélène LÉCUYER, capitaine des équipes"),
                                  "Fait le 02/12/2026",
                                  "Coupe de France",
                                  W("Droits d'engagement : 60,00 € par équipe"),
                                  W("Phase de groupe"),
                                  W("Samedi 16 janvier 2027"),
                                  W("Rencontres en 2 x 14 donnes"),
                                  W("Rendez-vous 13 h 30"),
                                  W("Début des rencontres 14 h"),
                                  W("Prévenir le capitaine en cas d'empêchement"),
                                  W("Arbitre : Noël BÉRANGER"),
                                  W("Covoiturage depuis le club"),
                                  W("Bridge Club des Tilleuls - rue des Tilleuls - Orléans")};
  competitions::WriteEventData(folder / "Coupe_de_France.qud", data);
}

// ---------------------------------------------------------------------------------------

// The first exercise: the shipped chart with the accounts the demonstration uses added by
// the chart screen's "Ajouter", and the lists the settings screen rebuilds from it.
void StartFirstExercise(const fs::path& folder, const std::string& exercise) {
  os::CreateFolders(folder);
  Lines chart = SplitLines(ShippedChart());
  for (std::string& line : chart) {
    std::vector<std::string> fields = SplitFields(line);
    if (fields.size() > accounting::chart::kExercise)
      fields[accounting::chart::kExercise] = exercise;
    line = JoinFields(fields);
  }
  WriteLines(folder / accounting::kChartFileName, chart);
  accounting::ChartEditor editor;
  editor.load(folder);
  editor.add(folder, "2183", W("Matériel de bureau et matériel informatique"), "N", exercise);
  editor.add(folder, "2188", W("Autres immobilisations corporelles"), "N", exercise);
  editor.add(folder, "6815", W("Dotations aux provisions pour risques"), "N", exercise);
  WriteLines(folder / accounting::kDuesListFileName, {"7560;x;3800", "7561;x;3100", "7562;x;900"});
  WriteLines(folder / accounting::kPaymentListFileName, {});
  accounting::RebuildMemberLists(folder);
  members::WriteMemberFile(folder, {});
}

// The dues of a season: the amounts of the list changed by the settings screen's "Modifier".
void SetSeasonAmounts(const fs::path& folder, const std::vector<std::string>& amounts) {
  Lines dues = accounting::ReadMemberLists(folder).dues;
  for (std::size_t i = 0; i < dues.size() && i < amounts.size(); ++i) {
    accounting::SetDuesAmount(folder, dues, static_cast<int>(i) + 1, amounts[i]);
  }
}

// Members whose federal licence goes through the club.
int LicensedMembers(const fs::path& folder) {
  int count = 0;
  for (const std::string& line : members::ReadMemberFile(folder)) {
    if (FieldAt(line, mf::kLicenceKind) != "Club") ++count;
  }
  return count;
}

}  // namespace

void BuildDemoClub(const fs::path& programFolder) {
  Dice dice(20261210u);
  const std::vector<Person> people = People();
  const std::vector<std::vector<std::string>> amounts = {
      {"3800", "3100", "900"}, {"4000", "3200", "1000"}, {"4200", "3300", "1000"}};

  int joined = 0;
  std::string previous;
  for (int season = 0; season < 3; ++season) {
    const int year = 2024 + season;
    const std::string exercise = kExercises[static_cast<std::size_t>(season)];
    const fs::path folder = programFolder / exercise;
    if (season == 0) {
      StartFirstExercise(folder, exercise);
    } else {
      // "Nouvelle saison" of the settings screen: the member file, the chart and the lists
      // carried over, the dues put back to the list's amounts.
      accounting::CreateExercise(programFolder / previous, folder);
      SetSeasonAmounts(folder, amounts[static_cast<std::size_t>(season)]);
      accounting::ResetMemberDues(folder, accounting::ReadMemberLists(folder).dues);
      PostOpening(Books(folder), ClosingBalances(programFolder / previous), Day(year, 9, 1),
                  previous);
    }
    const int joining = season == 0 ? kFirstMembers : kJoining[season];
    AddMembers(folder, people, joined, joining, Day(year, 9, 2), dice);
    joined += joining;

    const Books books(folder);
    Schedule schedule;
    DuesDesk desk;
    ScheduleSeasonDues(schedule, desk, folder, Day(year, 9, 5), dice);
    ScheduleSeason(schedule, books, season, year, LicensedMembers(folder), dice);
    if (season == 1) {
      schedule.at(Day(year, 11, 22), [&books, year] {
        books.move(Day(year, 11, 22), "Machine à distribuer les donnes", "2188", "5120", 189000);
      });
    }
    if (season == 2) {
      schedule.at(Day(year, 10, 12), [&books, year] {
        books.move(Day(year, 10, 12), "Ordinateur portable et imprimante du club", "2183", "5120",
                   94900);
      });
      schedule.at(Day(year + 1, 6, 30), [&books, year] {
        books.move(Day(year + 1, 6, 30), "Provision pour la réfection des tables de jeu", "6815",
                   "1510", 60000);
      });
    }
    schedule.run();
    if (season == 2) {
      MakeCups(folder, dice);
      MakeConvocation(folder);
    }
    previous = exercise;
  }

  Settings settings;
  settings.programFolder = programFolder;
  settings.entity = W(kEntity);
  settings.shortName = kShortName;
  settings.exercise = kExercises[2];
  settings.exercise1 = kExercises[1];
  settings.exercise2 = kExercises[0];
  accounting::StoreSettings(settings);
  WriteSetting(programFolder, kSectionUpdate, kKeyNoCheck, "0");
}

}  // namespace vantrel::demo

// Every change of the club's files interrupted at each of its writes, flushes, renames and
// removes in turn: afterwards each file holds its whole old content or its whole new one, and no
// temporary file is left behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "accounting/dues_posting.h"
#include "accounting/posting.h"
#include "accounting/season.h"
#include "core/error.h"
#include "core/os_file.h"
#include "core/record_file.h"
#include "members/federation_import.h"
#include "members/member_card.h"
#include "members/member_file.h"
#include "support/temp_folder.h"
#include "utilities/club_backup.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using os::FaultInjection;
using os::Operation;
using testing::ProgramFolder;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// Every regular file below root by its relative path ("/" between folders), with its bytes.
using Snapshot = std::map<std::string, std::string>;

Snapshot Take(const fs::path& root) {
  Snapshot files;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (!it->is_regular_file()) continue;
    std::string name = os::Utf8Of(fs::relative(it->path(), root));
    std::replace(name.begin(), name.end(), '\\', '/');
    files[name] = ReadFile(it->path());
  }
  return files;
}

const char* NameOf(Operation operation) {
  switch (operation) {
    case Operation::kWrite:
      return "write";
    case Operation::kFlush:
      return "flush";
    case Operation::kRename:
      return "rename";
    case Operation::kRemove:
      return "remove";
  }
  return "?";
}

// A change of the files below a fresh folder: prepare writes the old state (not counted),
// change makes the change and tells whether it reports success (an Error is a failure). The
// files watched are those below root / watched.
struct Scenario {
  std::function<void(const fs::path& root)> prepare;
  std::function<bool(const fs::path& root)> change;
  std::string watched;
};

struct Counts {
  int write = 0, flush = 0, rename = 0, remove = 0;
  int of(Operation operation) const {
    switch (operation) {
      case Operation::kWrite:
        return write;
      case Operation::kFlush:
        return flush;
      case Operation::kRename:
        return rename;
      case Operation::kRemove:
        return remove;
    }
    return 0;
  }
};

class FaultInjectionTest : public ::testing::Test {
 protected:
  void TearDown() override { FaultInjection::Reset(); }

  // Runs the change once cleanly, then once per armed call of each operation, alone and with
  // the first removal failing too (the clean-up after a failure must try again). Returns the
  // counts of the clean run.
  Counts runEveryFault(const Scenario& scenario) {
    Snapshot before, after;
    Counts counts;
    {
      TempFolder root;
      scenario.prepare(root.path());
      before = Take(root.path() / scenario.watched);
      FaultInjection::Reset();
      EXPECT_TRUE(scenario.change(root.path())) << "the clean run failed";
      counts.write = FaultInjection::Count(Operation::kWrite);
      counts.flush = FaultInjection::Count(Operation::kFlush);
      counts.rename = FaultInjection::Count(Operation::kRename);
      counts.remove = FaultInjection::Count(Operation::kRemove);
      FaultInjection::Reset();
      after = Take(root.path() / scenario.watched);
    }
    EXPECT_NE(before, after) << "the clean run changed nothing";
    for (Operation operation :
         {Operation::kWrite, Operation::kFlush, Operation::kRename, Operation::kRemove}) {
      for (int n = 1; n <= counts.of(operation); ++n) {
        for (bool removalFails : {false, true}) {
          if (removalFails && operation == Operation::kRemove) continue;
          runOnce(scenario, operation, n, removalFails, before, after);
        }
      }
    }
    return counts;
  }

 private:
  void runOnce(const Scenario& scenario, Operation operation, int n, bool removalFails,
               const Snapshot& before, const Snapshot& after) {
    const std::string what = std::string(NameOf(operation)) + " #" + std::to_string(n) +
                             (removalFails ? " with the first removal refused" : "");
    TempFolder root;
    scenario.prepare(root.path());
    FaultInjection::Reset();
    FaultInjection::Arm(operation, n);
    if (removalFails) FaultInjection::Arm(Operation::kRemove, 1);
    bool succeeded = false;
    try {
      succeeded = scenario.change(root.path());
    } catch (const Error&) {
      succeeded = false;
    }
    const bool hit = FaultInjection::Count(operation) >= n;
    FaultInjection::Reset();
    const Snapshot now = Take(root.path() / scenario.watched);
    for (const auto& [name, bytes] : now) {
      const auto old = before.find(name);
      const auto fresh = after.find(name);
      const bool whole = (old != before.end() && old->second == bytes) ||
                         (fresh != after.end() && fresh->second == bytes);
      EXPECT_TRUE(whole) << what << ": " << name
                         << (old == before.end() && fresh == after.end()
                                 ? " is left behind"
                                 : " is neither its old nor its new content");
    }
    for (const auto& [name, bytes] : before) {
      // A file may go only where the change removes it.
      if (!now.count(name)) {
        EXPECT_FALSE(after.count(name)) << what << ": " << name << " lost";
      }
    }
    // A write, a flush or a rename that failed must not be reported as a success unless the
    // files are exactly what the change makes.
    if (succeeded && hit && operation != Operation::kRemove) {
      EXPECT_EQ(after, now) << what << ": the failure was reported as a success";
    }
  }
};

const std::string kExercise = "2026-2027";

// --- Posting an entry over an existing journal and ledgers ---------------------------------

TEST_F(FaultInjectionTest, PostingAnEntry) {
  const Scenario posting{
      [](const fs::path& root) {
        const fs::path folder = root / kExercise;
        WriteFile(folder / "Journal.dbp",
                  "01/09/2026;Ouverture;5120;Banque;10000;;;;;;;;;;;;;;;;;;\r\n");
        WriteFile(folder / "5120.dbp", "1;01/09/2026;Ouverture;10000;;10000;0;10000;\r\n");
        WriteFile(folder / "4110.dbp", "");
      },
      [](const fs::path& root) {
        accounting::JournalEntry entry{"09/12/2026", "Cotisation No\xebl", {}};
        entry.groups[0] = {"5120", "Banque", "2500", ""};
        entry.groups[1] = {"4110", "Membres", "", "2000"};
        entry.groups[2] = {"7560", "Cotisations", "", "500"};
        return accounting::PostJournalEntry(root / kExercise, entry) == 2;
      },
      ""};
  const Counts counts = runEveryFault(posting);
  EXPECT_EQ(4, counts.write);  // the journal and three ledgers, one of them new
  EXPECT_EQ(4, counts.flush);
  EXPECT_EQ(4, counts.rename);
}

// --- A member card's dues posted: journal, ledgers and the member file in one change -------

TEST_F(FaultInjectionTest, PostingAMembersDues) {
  const Scenario dues{
      [](const fs::path& root) {
        members::MemberRecord record;
        record.set(members::field::kLicence, "00123456");
        record.set(members::field::kTitle, "M.");
        record.set(members::field::kLastName, "L\xc9" "CUYER");
        record.set(members::field::kFirstName, "J\xe9r\xf4me");
        record.set(members::field::kBirthDate, "21/06/1958");
        record.setDuesLine(0, {"7560", "Cotisations", "2500", "F"});
        for (int i = 1; i < members::kDuesLineCount; ++i) record.setDuesLine(i, {});
        record.setPaymentLine(0, {"5120", "Banque", "2500", "F"});
        for (int i = 1; i < members::kPaymentLineCount; ++i) record.setPaymentLine(i, {});
        record.set(members::field::kBalance, "0");
        record.set(members::field::kMailConvocations, "OUI");
        WriteFile(root / kExercise / "Joueur.DBP", record.ToLine() + "\r\n");
        WriteFile(root / kExercise / "Journal.dbp",
                  "01/09/2026;Ouverture;5120;Banque;10000;;;;;;;;;;;;;;;;;;\r\n");
      },
      [](const fs::path& root) {
        members::MemberCard card;
        card.load(root / kExercise);
        members::CardFields boxes = card.currentRecord();
        return accounting::PostMemberDues(root / kExercise, card, boxes,
                                          *Date::FromYmd(2026, 12, 9)) ==
               members::PostingRefusal::kNone;
      },
      ""};
  const Counts counts = runEveryFault(dues);
  EXPECT_EQ(4, counts.rename);  // journal, two ledgers, member file
}

// --- A federation extraction merged into the member file ----------------------------------

std::string PlayerLine(const std::string& licence, const std::string& name,
                       const std::string& firstName) {
  std::vector<std::string> fields(20);
  fields[0] = licence;
  fields[1] = "M.";
  fields[2] = name;
  fields[3] = firstName;
  fields[4] = "1958-06-21";
  fields[8] = "Paris";
  fields[17] = "45";
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) line += fields[i] + (i + 1 < 20 ? ";" : "");
  return line;
}

TEST_F(FaultInjectionTest, ImportingAFederationExtraction) {
  const Scenario import{
      [](const fs::path& root) {
        members::MemberRecord record;
        record.set(members::field::kLicence, "1");
        record.set(members::field::kLastName, "DUPONT");
        record.set(members::field::kFirstName, "Jean");
        os::CreateFolders(root / kExercise);
        members::WriteMemberFile(root / kExercise, {record.ToLine()});
      },
      [](const fs::path& root) {
        // UTF-8, as the federation writes it: "Benoît", "Noël".
        const Lines players = {PlayerLine("1", "Dupont", "Jean"),
                               PlayerLine("2", "Beno\xc3\xaet", "No\xc3\xabl")};
        const members::ImportOptions options{members::MergeChoice::kAlways,
                                             members::MergeChoice::kAlways,
                                             *Date::FromYmd(2026, 12, 9)};
        const auto counts = members::ImportExtraction(
            root / kExercise, players, options,
            [](members::QuestionKind, const std::string&) { return true; }, false);
        return counts.added == 1;
      },
      ""};
  const Counts counts = runEveryFault(import);
  EXPECT_EQ(1, counts.rename);
  EXPECT_EQ(1, counts.flush);
}

// --- A new season: a new exercise folder with copies of four files -------------------------

TEST_F(FaultInjectionTest, StartingANewSeason) {
  const Scenario season{
      [](const fs::path& root) {
        WriteFile(root / kExercise / "Joueur.DBP", "00123456;M.;L\xc9" "CUYER;J\xe9r\xf4me;\r\n");
        WriteFile(root / kExercise / "Plan_Comptable.DBP", "5120;Banque;;\r\n");
        WriteFile(root / kExercise / "Recette_Joueur.DBP", "7560;Cotisations;2500;\r\n");
        WriteFile(root / kExercise / "Versement_Joueur.DBP", "5120;Banque;\r\n");
      },
      [](const fs::path& root) {
        accounting::CreateExercise(root / kExercise, root / "Saisons" / "2027-2028");
        return true;
      },
      ""};
  const Counts counts = runEveryFault(season);
  EXPECT_EQ(4, counts.rename);
}

// A season interrupted leaves no half exercise: the new folder holds all four files or none.
TEST_F(FaultInjectionTest, AnInterruptedSeasonLeavesNoHalfExercise) {
  for (int n = 1; n <= 4; ++n) {
    ProgramFolder club;
    for (const char* name : accounting::kSeasonFiles) {
      WriteFile(club.exerciseFolder() / name, std::string(name) + "\r\n");
    }
    const fs::path created = club.path() / "2027-2028";
    FaultInjection::Reset();
    FaultInjection::Arm(Operation::kRename, n);
    EXPECT_THROW(accounting::CreateExercise(club.exerciseFolder(), created), Error);
    FaultInjection::Reset();
    EXPECT_FALSE(os::Exists(created)) << "rename #" << n;
  }
}

// --- A restore over the club's files -------------------------------------------------------

TEST_F(FaultInjectionTest, RestoringTheClub) {
  const Scenario restore{
      [](const fs::path& root) {
        const fs::path club = root / "club";
        WriteFile(club / "Vantrel.ini", "[Fichier]\r\nExercice=2026-2027\r\n");
        WriteFile(club / kExercise / "Joueur.DBP", "00123456;M.;L\xc9" "CUYER;J\xe9r\xf4me;\r\n");
        WriteFile(club / kExercise / "Journal.dbp", "archived journal\r\n");
        WriteFile(club / kExercise / "5120.dbp", std::string(40000, 'a'));
        utilities::TBackupFile backup;
        const auto saved =
            utilities::BackupClub(backup, club, utilities::PathToText(root / "drive.bck"));
        ASSERT_EQ(utilities::ClubBackup::Outcome::kSaved, saved.outcome);
        // What the club changed since: every file, and a ledger the archive does not know.
        WriteFile(club / "Vantrel.ini", "[Fichier]\r\nExercice=2026-2027\r\nSigle=KVR\r\n");
        WriteFile(club / kExercise / "Joueur.DBP", "changed members\r\n");
        WriteFile(club / kExercise / "Journal.dbp", "changed journal\r\n");
        WriteFile(club / kExercise / "5120.dbp", std::string(30000, 'b'));
        WriteFile(club / kExercise / "4110.dbp", "later ledger\r\n");
      },
      [](const fs::path& root) {
        utilities::TBackupFile backup;
        const auto result = utilities::RestoreClub(
            backup, utilities::PathToText(root / "drive.bck"), root / "club");
        return result.outcome == utilities::ClubRestore::Outcome::kRestored;
      },
      // The archive beside it holds the files' times: only the club's files are compared.
      "club"};
  const Counts counts = runEveryFault(restore);
  // Two passes of four files, each written and flushed, then renamed: into "Temp" first, then
  // beside its target, then over it; the ledger the archive does not hold removed after them.
  EXPECT_EQ(12, counts.rename);
  EXPECT_EQ(8, counts.flush);
  EXPECT_EQ(1, counts.remove);
  EXPECT_GE(counts.write, 8);
}

}  // namespace
}  // namespace vantrel

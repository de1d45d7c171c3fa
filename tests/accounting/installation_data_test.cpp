#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "accounting/accounting_files.h"
#include "core/numbers.h"
#include "core/record_file.h"
#include "core/settings.h"
#include "core/text_helpers.h"
#include "core/transaction.h"
#include "members/member_file.h"

namespace vantrel::accounting {
namespace {

namespace fs = std::filesystem;

// The data/ folder of the source tree, as shipped beside the executable.
const fs::path kData = VANTREL_DATA_DIR;
const fs::path kFirstExercise = kData / "2026-2027";

TEST(InstallationDataTest, SettingsNameTheClubAndTheFirstExercise) {
  const Settings settings = LoadSettings(kData);
  EXPECT_EQ("Ardevanne", settings.entity);
  EXPECT_EQ("KVR", settings.shortName);
  EXPECT_EQ("2026-2027", settings.exercise);
  EXPECT_EQ("", settings.exercise1);
  EXPECT_EQ("", settings.exercise2);
  EXPECT_TRUE(fs::is_directory(settings.exerciseFolder()));
  EXPECT_FALSE(LoadUpdateSwitch(kData).switchedOff);
  // The key "Entité" is stored in Windows-1252, one byte for the accent.
  EXPECT_NE(std::string::npos, ReadBytes(kData / kSettingsFileName).find("Entit\xe9=Ardevanne"));
}

TEST(InstallationDataTest, FilesAreCrLfLinesAndTheMemberFileIsEmpty) {
  for (const char* name : {kChartFileName, kDuesListFileName, kPaymentListFileName}) {
    const std::string bytes = ReadBytes(kFirstExercise / name);
    EXPECT_EQ(LinesToBytes(SplitLines(bytes)), bytes) << name;
  }
  EXPECT_EQ(Lines{}, members::ReadMemberFile(kFirstExercise));
  EXPECT_FALSE(FileExists(kFirstExercise / kJournalFileName));
}

TEST(InstallationDataTest, ChartIsOrderedWithHeadingsAtMultiplesOfTen) {
  const Lines lines = ReadLines(kFirstExercise / kChartFileName);
  int previous = 0;
  for (const auto& line : lines) {
    const std::string number = FieldAt(line, chart::kNumber);
    ASSERT_TRUE(IsAccountNumber(number)) << line;
    const int value = ParseInteger(number);
    EXPECT_LT(previous, value) << line;
    EXPECT_LE(1000, value) << line;
    EXPECT_GE(7999, value) << line;
    previous = value;
    EXPECT_EQ(chart::kFieldCount, std::count(line.begin(), line.end(), ';')) << line;
    EXPECT_EQ("2026-2027", FieldAt(line, chart::kExercise)) << line;
    const std::string type = FieldAt(line, chart::kType);
    const std::string link = FieldAt(line, chart::kLink);
    if (type == chart::kTypeHeading) {
      EXPECT_EQ(0, value % 10) << line;
      EXPECT_EQ(chart::kLinkNone, link) << line;
    } else {
      // Accounts 1000-5999 are balance-sheet accounts, 6000-7999 income-statement accounts.
      EXPECT_EQ(value < 6000 ? chart::kTypeBalance : chart::kTypeResult, type) << line;
      EXPECT_TRUE(link == chart::kLinkDues || link == chart::kLinkPayment ||
                  link == chart::kLinkNone)
          << line;
    }
  }
  std::vector<std::string> numbers;
  for (const auto& line : lines) numbers.push_back(FieldAt(line, chart::kNumber));
  for (const char* wanted : {"1200", "1210", "1290", "4110", "5120", "5300", "6110", "7560"}) {
    EXPECT_NE(numbers.end(), std::find(numbers.begin(), numbers.end(), wanted)) << wanted;
  }
  for (const char classDigit : {'1', '4', '5', '6', '7'}) {
    EXPECT_TRUE(std::any_of(numbers.begin(), numbers.end(),
                            [&](const std::string& n) { return n[0] == classDigit; }))
        << "class " << classDigit;
  }
}

// The lists are what the settings screen would rebuild from the chart's links.
TEST(InstallationDataTest, DuesAndPaymentListsFollowTheChartLinks) {
  Lines dues;
  Lines payments;
  for (const auto& line : ReadLines(kFirstExercise / kChartFileName)) {
    const std::string number = FieldAt(line, chart::kNumber);
    const std::string name = FieldAt(line, chart::kName);
    if (FieldAt(line, chart::kLink) == chart::kLinkDues) dues.push_back(number + ";" + name);
    if (FieldAt(line, chart::kLink) == chart::kLinkPayment)
      payments.push_back(number + ";" + name + ";");
  }
  const Lines duesList = ReadLines(kFirstExercise / kDuesListFileName);
  ASSERT_EQ(dues.size(), duesList.size());
  for (std::size_t i = 0; i < dues.size(); ++i) {
    const std::string& line = duesList[i];
    EXPECT_EQ(dues[i], FieldAt(line, dues_list::kAccount) + ";" + FieldAt(line, dues_list::kName));
    EXPECT_LT(0, ParseInteger(FieldAt(line, dues_list::kAmount))) << line;
  }
  EXPECT_EQ(payments, ReadLines(kFirstExercise / kPaymentListFileName));
  EXPECT_FALSE(dues.empty());
  EXPECT_FALSE(payments.empty());
}

}  // namespace
}  // namespace vantrel::accounting

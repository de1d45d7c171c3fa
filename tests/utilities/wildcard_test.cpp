#include "utilities/wildcard.h"

#include <gtest/gtest.h>

#include <system_error>

#include "core/os_file.h"
#include "support/temp_folder.h"
#include "utilities/archived_name.h"

namespace vantrel::utilities {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::WriteFile;

// "?" takes exactly one byte, "*" any run; only the letters A-Z are compared without regard
// to case: accented capitals of Windows-1252 are other bytes than their small letters.
TEST(WildcardTest, MasksOfTheClubFiles) {
  struct Case {
    const char* name;
    const char* mask;
    bool matches;
  };
  for (const Case& c : {
           Case{"joueur.dbp", "*.DB?", true},
           Case{"COMPTA.DBX", "*.db?", true},
           Case{"joueur.db", "*.DB?", false},
           Case{"joueur.dbpp", "*.DB?", false},
           Case{"Joueur.dbp", "Joueur.*", true},
           Case{"JOUEUR.", "joueur.*", true},
           Case{"Joueur", "Joueur.*", false},
           Case{"Joueurs.dbp", "Joueur.*", false},
           Case{"a*b.txt", "a*b.txt", true},
           Case{"axxbyyb.txt", "a*b.txt", true},
           Case{"aaa", "a*a*a*a", false},
           Case{"", "*", true},
           Case{"", "?", false},
           Case{"J\xc9R\xd4ME.INI", "j\xc9r\xd4me.ini", true},
           Case{"J\xc9R\xd4ME.INI", "j\xe9r\xf4me.ini", false},
       }) {
    EXPECT_EQ(c.matches, MatchesMask(c.name, c.mask)) << c.name << " " << c.mask;
  }
}

// "/s" asks for the sub-folders after a blank or on a "\" path; glued to a "/" path it is a
// file name.
TEST(WildcardTest, PatternSplitsIntoFolderMaskAndSubFolders) {
  struct Case {
    const char* pattern;
    const char* folder;
    const char* mask;
    bool recursive;
  };
  for (const Case& c : {
           Case{"c:\\club\\*.ini /s", "c:\\club\\", "*.ini", true},
           Case{"  c:\\club\\*.ini\t/S ", "c:\\club\\", "*.ini", true},
           Case{"c:\\club\\*.ini/s", "c:\\club\\", "*.ini", true},
           Case{"/home/club/*.dbp /s", "/home/club/", "*.dbp", true},
           Case{"/home/club/*.dbp/s", "/home/club/*.dbp/", "s", false},
           Case{"*.dbp", ".", "*.dbp", false},
           Case{"c:\\club\\", "c:\\club\\", "", false},
       }) {
    const BackupPattern split = SplitPattern(c.pattern);
    EXPECT_EQ(c.folder, split.folder) << c.pattern;
    EXPECT_EQ(c.mask, split.mask) << c.pattern;
    EXPECT_EQ(c.recursive, split.recursive) << c.pattern;
  }
}

// Regular files only, in the order a Windows folder lists them (letter case aside).
TEST(WildcardTest, PatternTakesRegularFilesInFolderOrder) {
  const TempFolder folder;
  WriteFile(folder.path() / "b.dbp", "b");
  WriteFile(folder.path() / "A.DBP", "a");
  WriteFile(folder.path() / "C.dbp" / "inside.txt", "a folder named like a file");
  WriteFile(folder.path() / "d.txt", "not matching");
  std::error_code linked;
  fs::create_symlink(folder.path() / "b.dbp", folder.path() / "e.dbp", linked);
  std::vector<std::string> names;
  for (const fs::path& file : MatchPattern(PathToText(folder.path() / "*.dbp"))) {
    names.push_back(os::Utf8Of(file.filename()));
  }
  EXPECT_EQ((std::vector<std::string>{"A.DBP", "b.dbp"}), names);
  EXPECT_TRUE(MatchPattern(PathToText(folder.path()) + "/").empty());
  EXPECT_TRUE(MatchPattern(PathToText(folder.path() / "absent" / "*.*")).empty());
}

}  // namespace
}  // namespace vantrel::utilities

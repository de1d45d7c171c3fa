#include "utilities/archived_name.h"

#include <gtest/gtest.h>

#include "core/os_file.h"
#include "core/text_helpers.h"
#include "support/temp_folder.h"

namespace vantrel::utilities {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::WriteFile;

// A file comes back where its archived name says: its full path lowered (A-Z only), its
// accented letters whole, whatever separator the archiving system used.
TEST(ArchivedNameMappingTest, NameOfAFileLeadsBackToIt) {
  const TempFolder folder;
  const fs::path file = folder.path() / "club" / os::PathFromUtf8("J\xc3\xa9r\xc3\xb4me LECUYER.ini");
  WriteFile(file, "x");
  const std::string name = ArchivedNameOf(file);
  EXPECT_EQ(LowerAscii(PathToText(folder.path())) +
#ifdef _WIN32
                "\\club\\j\xe9r\xf4me lecuyer.ini",
#else
                "/club/j\xe9r\xf4me lecuyer.ini",
#endif
            name);
  const auto parsed = ParseArchivedName(name);
  ASSERT_TRUE(parsed.has_value());
  const auto back = RestoreTargetOf(*parsed, fs::path(), false);
  ASSERT_TRUE(back.has_value());
  EXPECT_TRUE(fs::equivalent(file, *back)) << os::Utf8Of(*back);
  // The same name with the other separators after its root.
  std::string other = name;
  for (std::size_t i = 1; i < other.size(); ++i) {
    other[i] = other[i] == '/' ? '\\' : other[i] == '\\' ? '/' : other[i];
  }
  const auto parsedOther = ParseArchivedName(other);
  ASSERT_TRUE(parsedOther.has_value());
  EXPECT_EQ(parsed->components, parsedOther->components);
}

// Into a target folder an archived file goes under its file name, or with the full path
// under its folders: never above the folder, whatever root the archive gave it.
TEST(ArchivedNameMappingTest, TargetsInAFolderStayBelowIt) {
  const TempFolder folder;
  const fs::path root = folder.path();
  struct Case {
    const char* name;
    const char* flat;  // below root, "" for refused
    const char* full;
  };
  for (const Case& c : {
           Case{"c:\\club\\vantrel\\joueur.dbp", "joueur.dbp", "club/vantrel/joueur.dbp"},
           Case{"/home/club/Noel.ini", "Noel.ini", "home/club/Noel.ini"},
           Case{"\\\\serveur\\partage\\x.txt", "x.txt", "partage/x.txt"},
           Case{"c:/mixed\\seps/y.txt", "y.txt", "mixed/seps/y.txt"},
           Case{"c:\\club\\..\\..\\evil.txt", "", ""},
           Case{"/club/../../etc/passwd", "", ""},
           Case{"c:\\club\\.", "", ""},
           Case{"club\\joueur.dbp", "", ""},
           Case{"..\\joueur.dbp", "", ""},
           Case{"c:\\club\\d:\\joueur.dbp", "", ""},
           Case{"c:\\club\\jou*eur.dbp", "", ""},
       }) {
    const auto parsed = ParseArchivedName(c.name);
    if (std::string(c.flat).empty()) {
      EXPECT_FALSE(parsed.has_value()) << c.name;
      continue;
    }
    ASSERT_TRUE(parsed.has_value()) << c.name;
    EXPECT_EQ(root / fs::path(c.flat).make_preferred(), RestoreTargetOf(*parsed, root, false))
        << c.name;
    EXPECT_EQ(root / fs::path(c.full).make_preferred(), RestoreTargetOf(*parsed, root, true))
        << c.name;
  }
}

// Back to its archived path, a name means something only on the system that wrote it.
TEST(ArchivedNameMappingTest, ArchivedPathsOfTheOtherSystemHaveNoPlaceHere) {
  const auto windows = ParseArchivedName("c:\\club\\joueur.dbp");
  const auto unix = ParseArchivedName("/home/club/joueur.dbp");
  ASSERT_TRUE(windows && unix);
#ifdef _WIN32
  EXPECT_EQ(fs::path("c:\\club\\joueur.dbp"), NativePathOf(*windows));
  EXPECT_FALSE(NativePathOf(*unix).has_value());
#else
  EXPECT_EQ(fs::path("/home/club/joueur.dbp"), NativePathOf(*unix));
  EXPECT_FALSE(NativePathOf(*windows).has_value());
  EXPECT_FALSE(RestoreTargetOf(*windows, fs::path(), false).has_value());
#endif
}

}  // namespace
}  // namespace vantrel::utilities

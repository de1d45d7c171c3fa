#include "core/settings.h"

#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

class SettingsTest : public ::testing::Test {
 protected:
  TempFolder m_folder;
  void write(const std::string& bytes) { WriteFile(m_folder.path() / "Vantrel.ini", bytes); }
};

TEST_F(SettingsTest, ReadsKeysWhateverTheirLetterCase) {
  write(
      "[FICHIER]\r\nentit\xe9=Club de Bridge\r\nsigle=CBR\r\nexercice=2014-2015\r\n"
      "EXERCICE1=2013-2014\r\nBilan=2012-2013\r\nRESULTAT=x\r\n");
  const Settings settings = LoadSettings(m_folder.path());
  EXPECT_EQ("Club de Bridge", settings.entity);
  EXPECT_EQ("CBR", settings.shortName);
  EXPECT_EQ("2014-2015", settings.exercise);
  EXPECT_EQ("2013-2014", settings.exercise1);
  EXPECT_EQ("2012-2013", settings.exercise2);
  EXPECT_EQ("x", settings.spare);
  EXPECT_EQ(m_folder.path() / "2014-2015" / "Joueur.DBP", settings.exerciseFile("Joueur.DBP"));
}

TEST_F(SettingsTest, MissingFileOrKeysGiveTheDefaults) {
  Settings settings = LoadSettings(m_folder.path());
  EXPECT_EQ("Ardevanne", settings.entity);
  EXPECT_EQ("KVR", settings.shortName);
  EXPECT_EQ("", settings.exercise);
  write("[Fichier]\r\n; no key yet\r\n[Autre]\r\nSigle=NON\r\n");
  settings = LoadSettings(m_folder.path());
  EXPECT_EQ("KVR", settings.shortName);
  EXPECT_EQ("", settings.exercise1);
}

TEST_F(SettingsTest, WritingAKeyKeepsEveryOtherLine) {
  write(
      "; club settings\r\n[Fichier]\r\nEntit\xe9=Ardevanne\r\nsigle=KVR\r\n\r\n"
      "[MiseAjour]\r\nNoValide=1\r\n");
  WriteSetting(m_folder.path(), kSectionFile, kKeyShortName, "ABC");
  WriteSetting(m_folder.path(), kSectionFile, kKeyExercise, "2026-2027");
  WriteSetting(m_folder.path(), kSectionUpdate, kKeyNoCheck, "0");
  WriteSetting(m_folder.path(), "Nouvelle", "Cl\xe9", "v");
  EXPECT_EQ(
      "; club settings\r\n[Fichier]\r\nEntit\xe9=Ardevanne\r\nsigle=ABC\r\n"
      "Exercice=2026-2027\r\n\r\n[MiseAjour]\r\nNoValide=0\r\n[Nouvelle]\r\nCl\xe9=v\r\n",
      ReadFile(m_folder.path() / "Vantrel.ini"));
}

// A settings file a text editor saved in UTF-8, with or without a byte-order mark, reads as
// the Windows-1252 one; the next write stores it in Windows-1252, the mark gone.
TEST_F(SettingsTest, ReadsAFileSavedInUtf8WithOrWithoutByteOrderMark) {
  const std::string utf8 =
      "[Fichier]\r\nEntit\xc3\xa9=Bridge Club de No\xc3\xabl\r\nSigle=BCN\r\n"
      "Exercice=2026-2027\r\n";
  const std::string cp1252 =
      "[Fichier]\r\nEntit\xe9=Bridge Club de No\xebl\r\nSigle=BCN\r\nExercice=2026-2027\r\n";
  struct Case {
    const char* label;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"UTF-8 with mark", "\xef\xbb\xbf" + utf8},
      {"UTF-8", utf8},
      {"Windows-1252", cp1252},
  };
  for (const Case& c : cases) {
    write(c.bytes);
    const Settings settings = LoadSettings(m_folder.path());
    EXPECT_EQ("Bridge Club de No\xebl", settings.entity) << c.label;
    EXPECT_EQ("BCN", settings.shortName) << c.label;
    EXPECT_EQ("2026-2027", settings.exercise) << c.label;
    WriteSetting(m_folder.path(), kSectionUpdate, kKeyNoCheck, "0");
    EXPECT_EQ(cp1252 + "[MiseAjour]\r\nNoValide=0\r\n", ReadFile(m_folder.path() / "Vantrel.ini"))
        << c.label;
  }
  // The mark before a pure ASCII file, and a character Windows-1252 lacks.
  write("\xef\xbb\xbf[Fichier]\r\nSigle=ABC\r\nEntit\xc3\xa9=Club \xe2\x98\x83\r\n");
  EXPECT_EQ("ABC", LoadSettings(m_folder.path()).shortName);
  EXPECT_EQ("Club ?", LoadSettings(m_folder.path()).entity);
  write("\xef\xbb\xbf[Fichier]\r\nSigle=ABC\r\n");
  EXPECT_EQ("ABC", LoadSettings(m_folder.path()).shortName);
}

// Windows-1252 text is never taken for UTF-8: "LÉCUYER", "Benoît" and a lone "Ã" stay whole.
TEST(DecodeSettingsBytesTest, KeepsWindows1252TextAsItIs) {
  for (const std::string& bytes :
       {std::string("Entit\xe9=L\xc9"
                    "CUYER Beno\xeet"),
        std::string("Sigle=\xc3"), std::string("Sigle=\xc3\xa9\xe9"), std::string("plain")}) {
    EXPECT_EQ(bytes, DecodeSettingsBytes(bytes)) << bytes;
  }
  EXPECT_EQ("J\xe9r\xf4me", DecodeSettingsBytes("J\xc3\xa9r\xc3\xb4me"));
}

TEST_F(SettingsTest, FirstWriterCreatesTheFile) {
  WriteSetting(m_folder.path(), kSectionUpdate, kKeyNoCheck, "1");
  EXPECT_EQ("[MiseAjour]\r\nNoValide=1\r\n", ReadFile(m_folder.path() / "Vantrel.ini"));
}

TEST_F(SettingsTest, SwitchOffLastsThirtyDays) {
  const Date today = *Date::FromYmd(2026, 12, 9);
  write("[MiseAjour]\r\nNoValide=1\r\nDate=" + FormatDate(Date::FromSerial(today.Serial() - 30)) +
        "\r\n");
  UpdateSwitch state = LoadUpdateSwitch(m_folder.path());
  EXPECT_TRUE(state.switchedOff);
  EXPECT_FALSE(SwitchOffExpired(state, today));
  EXPECT_TRUE(SwitchOffExpired(state, Date::FromSerial(today.Serial() + 1)));

  write("[MiseAjour]\r\nNoValide=1\r\n");  // no date: the zero date, long past
  state = LoadUpdateSwitch(m_folder.path());
  EXPECT_TRUE(SwitchOffExpired(state, today));

  write("[MiseAjour]\r\nNoValide=0\r\n");
  EXPECT_FALSE(SwitchOffExpired(LoadUpdateSwitch(m_folder.path()), today));
}

// Key and section names fold accented capitals too: "ENTITÉ" is the key "Entité".
TEST_F(SettingsTest, AccentedKeysMatchWhateverTheirLetterCase) {
  write("[FICHIER]\r\nENTIT\xc9=Club de Bridge\r\n");
  EXPECT_EQ("Club de Bridge", LoadSettings(m_folder.path()).entity);
  WriteSetting(m_folder.path(), kSectionFile, kKeyEntity, "Bridge Club");
  EXPECT_EQ("[FICHIER]\r\nENTIT\xc9=Bridge Club\r\n", ReadFile(m_folder.path() / "Vantrel.ini"));
  write("[Fichier]\r\nentit\xe9=Le Bridge\r\n");
  EXPECT_EQ("Le Bridge", LoadSettings(m_folder.path()).entity);
  write("[Fichier]\r\nENTITE=sans accent\r\n");  // another key
  EXPECT_EQ("Ardevanne", LoadSettings(m_folder.path()).entity);
}

// "NoValide" is an integer: nonzero is true; anything that is no whole number is false.
TEST_F(SettingsTest, NoValideIsReadAsAnInteger) {
  struct Case {
    const char* text;
    bool off;
  };
  for (const Case& c : {Case{"1", true}, Case{"0", false}, Case{"", false}, Case{"2", true},
                        Case{" -1 ", true}, Case{"00", false}, Case{"oui", false},
                        Case{"True", false}, Case{"1x", false}, Case{"-", false}}) {
    write(std::string("[MiseAjour]\r\nNoValide=") + c.text + "\r\n");
    EXPECT_EQ(c.off, LoadUpdateSwitch(m_folder.path()).switchedOff) << "'" << c.text << "'";
  }
}

TEST_F(SettingsTest, TogglingTheCheckWritesTheDateOnlyWhenSwitchingOff) {
  const Date today = *Date::FromYmd(2026, 12, 9);
  write("[Fichier]\r\nSigle=KVR\r\n[MiseAjour]\r\nDate=01/01/2020\r\nNoValide=0\r\n");
  EXPECT_TRUE(ToggleUpdateCheck(m_folder.path(), false, today));
  EXPECT_EQ("[Fichier]\r\nSigle=KVR\r\n[MiseAjour]\r\nDate=09/12/2026\r\nNoValide=1\r\n",
            ReadFile(m_folder.path() / "Vantrel.ini"));
  EXPECT_FALSE(ToggleUpdateCheck(m_folder.path(), true, *Date::FromYmd(2026, 12, 20)));
  EXPECT_EQ("[Fichier]\r\nSigle=KVR\r\n[MiseAjour]\r\nDate=09/12/2026\r\nNoValide=0\r\n",
            ReadFile(m_folder.path() / "Vantrel.ini"));
}

TEST_F(SettingsTest, StartUpClearsAnExpiredSwitchOffInTheFile) {
  const Date today = *Date::FromYmd(2026, 12, 9);
  write("[MiseAjour]\r\nNoValide=1\r\nDate=08/11/2026\r\n");  // 31 days back
  EXPECT_FALSE(UpdateCheckSwitchedOff(m_folder.path(), today));
  EXPECT_EQ("[MiseAjour]\r\nNoValide=0\r\nDate=08/11/2026\r\n",
            ReadFile(m_folder.path() / "Vantrel.ini"));
  write("[MiseAjour]\r\nNoValide=1\r\nDate=09/11/2026\r\n");  // 30 days back
  EXPECT_TRUE(UpdateCheckSwitchedOff(m_folder.path(), today));
  EXPECT_EQ("[MiseAjour]\r\nNoValide=1\r\nDate=09/11/2026\r\n",
            ReadFile(m_folder.path() / "Vantrel.ini"));
}

}  // namespace
}  // namespace vantrel

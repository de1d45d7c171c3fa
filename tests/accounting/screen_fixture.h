#pragma once

// What the accounting screen tests share: a club program folder, the scripted desktop and the
// context a screen is built on, and the small widget helpers every one of them uses.

#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <string>

#include "core/record_file.h"
#include "platform/app_context.h"
#include "support/screenshots.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace vantrel::testing {

// The base of a screen test fixture; the screen itself belongs to the derived fixture, so it
// is built after the context and destroyed before it.
struct ClubScreenFixture {
  ClubScreenFixture() : context(desktop) {}

  std::filesystem::path folder() const { return club.exerciseFolder(); }
  // Writes a record file of the exercise folder.
  void write(const std::string& name, const Lines& lines) const {
    WriteFile(folder() / name, CrLfBytes(lines));
  }
  // Clears edit and types text into it key by key.
  static void type(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
  }

  ProgramFolder club;
  ScriptedPlatform desktop;
  AppContext context;
};

}  // namespace vantrel::testing

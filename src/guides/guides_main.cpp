// vantrel-guides OUT NAME.pdf=SOURCE.md...
//
// Makes the help guides at build time: builds the demonstration club in OUT/club, takes the
// pictures of the real screens on it into OUT/ecrans, and writes each guide OUT/NAME.pdf from
// its Markdown source, whose pictures are named "ecrans/<screen>.png". Runs on the offscreen
// platform, so it needs no display. Exit status 1, with a French message, when a guide cannot
// be written or names a picture that was not taken.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <filesystem>

#include "core/error.h"
#include "core/transaction.h"
#include "demo/demo_club.h"
#include "guides/guide_pdf.h"
#include "guides/guide_shots.h"
#include "platform/text.h"

namespace {

void Say(const QString& text) { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); }

}  // namespace

// Qt's own notes (runtime folder, fonts) are not the tool's messages.
void DropQtMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

int main(int argc, char* argv[]) {
  // The build runs on machines without a display, as root in CI: always offscreen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(DropQtMessages);
  QApplication application(argc, argv);
  const QStringList args = QApplication::arguments().mid(1);
  if (args.size() < 2) {
    Say(QStringLiteral("usage : vantrel-guides DOSSIER NOM.pdf=SOURCE.md..."));
    return 2;
  }
  QElapsedTimer clock;
  clock.start();
  const QDir out(args[0]);
  const QString clubPath = out.filePath(QStringLiteral("club"));
  QDir(clubPath).removeRecursively();
  QDir().mkpath(clubPath);
  const std::filesystem::path club = vantrel::PathFromQString(clubPath);
  try {
    // A club of the build, thrown away after: no file needs to reach the disk one by one.
    const vantrel::UnflushedWrites unflushed;
    vantrel::demo::BuildDemoClub(club);
  } catch (const vantrel::Error& error) {
    Say(QStringLiteral("Club de démonstration : ") + vantrel::ToQString(error.what()));
    return 1;
  }
  const qint64 clubMs = clock.restart();
  const QStringList shots =
      vantrel::guides::TakeScreenshots(club, out.filePath(QStringLiteral("ecrans")));
  const qint64 shotsMs = clock.restart();

  int failures = 0;
  for (const QString& pair : args.mid(1)) {
    const QString pdf = pair.section(QLatin1Char('='), 0, 0);
    const QString source = pair.section(QLatin1Char('='), 1);
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
      Say(QStringLiteral("Impossible d'ouvrir le fichier ") + source);
      ++failures;
      continue;
    }
    const QString markdown = QString::fromUtf8(file.readAll());
    try {
      const auto layout = vantrel::guides::WriteGuidePdf(markdown, out.path(), out.filePath(pdf));
      if (!layout.missingImages.isEmpty()) {
        Say(pdf + QStringLiteral(" : images absentes : ") + layout.missingImages.join(", "));
        ++failures;
      }
      Say(QStringLiteral("%1 : %2 pages, %3 titres au sommaire")
              .arg(pdf)
              .arg(layout.pages)
              .arg(layout.headings.size()));
    } catch (const std::exception& error) {
      Say(pdf + QStringLiteral(" : ") + QString::fromUtf8(error.what()));
      ++failures;
    }
  }
  Say(QStringLiteral("Guides : club %1 ms, %2 écrans %3 ms, PDF %4 ms")
          .arg(clubMs)
          .arg(shots.size())
          .arg(shotsMs)
          .arg(clock.elapsed()));
  return failures == 0 ? 0 : 1;
}

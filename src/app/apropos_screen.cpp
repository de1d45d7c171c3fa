#include "app/apropos_screen.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

#include "core/mail_link.h"
#include "core/version.h"
#include "platform/mail.h"
#include "platform/text.h"

namespace vantrel {

QFont TApropos::HistoryFont() {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(10);
  return font;
}

namespace {

// The drawing area of the history: line k (from 1) at (k - 1) * h + H - s from the top.
class HistoryArea : public QWidget {
 public:
  HistoryArea(QWidget* parent, const QStringList& lines, const int& step, const int& lineHeight)
      : QWidget(parent), m_lines(lines), m_step(step), m_lineHeight(lineHeight) {
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (m_step <= 0) return;
    QPainter painter(this);
    painter.setFont(TApropos::HistoryFont());
    painter.setPen(Qt::blue);
    const QFontMetrics metrics(painter.font());
    for (int k = 1; k <= m_lines.size(); ++k) {
      const int top = (k - 1) * m_lineHeight + height() - m_step;
      if (top + m_lineHeight < 0 || top > height()) continue;
      painter.drawText(TApropos::kHistoryMargin, top + metrics.ascent(), m_lines[k - 1]);
    }
  }

 private:
  const QStringList& m_lines;
  const int& m_step;
  const int& m_lineHeight;
};

// The small picture beside the author's name: a playing card with a spade.
QPixmap CardPicture() {
  QPixmap picture(44, 60);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1.5));
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(QRectF(1, 1, 42, 58), 5, 5);
  QPainterPath spade;
  spade.moveTo(22, 14);
  spade.cubicTo(10, 26, 8, 34, 15, 38);
  spade.cubicTo(19, 40, 21, 37, 22, 35);
  spade.cubicTo(23, 37, 25, 40, 29, 38);
  spade.cubicTo(36, 34, 34, 26, 22, 14);
  spade.moveTo(22, 34);
  spade.lineTo(17, 46);
  spade.lineTo(27, 46);
  spade.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawPath(spade);
  return picture;
}

}  // namespace

QStringList TApropos::HistoryLines() {
  const QString quote = QStringLiteral("\"");
  return {
      QStringLiteral("Version 1.02 : 2002"),
      QStringLiteral("  Mise en circulation du programme"),
      QString(),
      QStringLiteral("Version 2.04 : 2004"),
      QStringLiteral("  Choix du média de sauvegarde"),
      QString(),
      QStringLiteral("Version 3.14 : 2014"),
      QStringLiteral("  Envoi de courriel"),
      QString(),
      QStringLiteral("Version 4.15 : 2015"),
      QStringLiteral("  Edition annuaire sur page HTML"),
      QStringLiteral("  Exportation des données vers tableur"),
      QString(),
      QStringLiteral("Version 5.16 : 2016"),
      QStringLiteral("  Adaptation à la nouvelle base FFB"),
      QString(),
      QStringLiteral("Version 6.18 : 2017"),
      QStringLiteral("  Suppression des adresses courriel du domaine @") +
          QString::fromLatin1(kFederationMailDomain),
      QStringLiteral("    Possibilité d'Emailing en copie cachée"),
      QString(),
      QStringLiteral("Version 7.18 : 2018"),
      QStringLiteral("  gestion de coupe catégoriel de tournois de régularités"),
      QStringLiteral("      envoi courriel joueurs de tournois de régularités"),
      QString(),
      QStringLiteral("Version 8.19 : 2019"),
      QStringLiteral("  Ajout d'un champ ") + quote + QStringLiteral("courriel") + quote +
          QStringLiteral(" de trie"),
      QString(),
      QStringLiteral("Version 9.19 : 2019"),
      QStringLiteral("  Ajout d'un champ ") + quote + QStringLiteral("genre") + quote +
          QStringLiteral(" de trie"),
      QStringLiteral("   Envoi par courriel des convocations Epreuves Fédérales"),
      QString(),
      QString(),
      QString(),
      QString(),
      QString(),
      QString(),
  };
}

TApropos::TApropos(AppContext& context, QWidget* parent)
    : Screen(context, parent), m_lines(HistoryLines()) {
  setObjectName(QStringLiteral("TApropos"));
  setWindowTitle(QStringLiteral("A propos du logiciel Vantrel"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  setAutoFillBackground(true);
  QPalette red = palette();
  red.setColor(QPalette::Window, Qt::red);
  setPalette(red);

  auto* layout = new QGridLayout(this);
  auto* picture = new QLabel(this);
  picture->setPixmap(CardPicture());
  QFont nameFont;
  nameFont.setFamilies({QStringLiteral("Century Schoolbook"), QStringLiteral("C059"),
                        QStringLiteral("TeX Gyre Schola"), QStringLiteral("DejaVu Serif")});
  nameFont.setPointSize(16);
  nameFont.setBold(true);
  auto* lastName = new QLabel(ToQString(kAuthorLastName), this);
  auto* firstName = new QLabel(ToQString(kAuthorFirstName), this);
  for (QLabel* name : {lastName, firstName}) {
    name->setFont(nameFont);
    name->setStyleSheet(QStringLiteral("color: #00ff00;"));
  }
  Version = new QLabel(QStringLiteral("Version: ") + QString::fromLatin1(kVersion), this);
  Version->setObjectName(QStringLiteral("Version"));
  Version->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
  Label2 = new QLabel(QStringLiteral("E-mail "), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setStyleSheet(QStringLiteral("color: white;"));
  Label3 = new QLabel(ToQString(kAuthorMail), this);
  Label3->setObjectName(QStringLiteral("Label3"));
  Label3->setStyleSheet(
      QStringLiteral("color: blue; font-weight: bold; text-decoration: underline;"));
  Label3->setCursor(Qt::PointingHandCursor);
  Label3->installEventFilter(this);
  Memo1 = new QTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  Memo1->setPlainText(
      QStringLiteral("Toutes critiques afin d'améliorer ce programme \n"
                     "seront les bienvenues ainsi que les encouragements."));
  QTextCursor all = Memo1->textCursor();
  all.select(QTextCursor::Document);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  all.mergeBlockFormat(centred);
  Memo1->setFixedHeight(56);
  Button1 = new QPushButton(QStringLiteral("Historique"), this);
  Button1->setObjectName(QStringLiteral("Button1"));

  layout->addWidget(picture, 0, 0, 2, 1);
  layout->addWidget(lastName, 0, 1, 1, 2);
  layout->addWidget(firstName, 1, 1, 1, 2);
  layout->addWidget(Version, 2, 0, 1, 3);
  layout->addWidget(Label2, 3, 0);
  layout->addWidget(Label3, 3, 1, 1, 2);
  layout->addWidget(Memo1, 4, 0, 1, 3);
  layout->addWidget(Button1, 5, 1);

  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  auto* panelLayout = new QVBoxLayout(Panel1);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  PaintBox1 = new HistoryArea(Panel1, m_lines, m_step, m_lineHeight);
  PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
  panelLayout->addWidget(PaintBox1);
  Panel1->hide();

  m_stepTimer.setInterval(kStepMs);
  m_pauseTimer.setSingleShot(true);
  m_pauseTimer.setInterval(kFinalPauseMs);
  connect(&m_stepTimer, &QTimer::timeout, this, &TApropos::step);
  connect(&m_pauseTimer, &QTimer::timeout, this, &TApropos::finish);
  connect(Button1, &QPushButton::clicked, this, &TApropos::onHistory);
  // Wide enough for the longest history line, which is never cut.
  const QFontMetrics metrics(HistoryFont());
  int widest = 0;
  for (const QString& line : m_lines) widest = std::max(widest, metrics.horizontalAdvance(line));
  setFixedSize(std::max(360, widest + 2 * kHistoryMargin), 270);
}

void TApropos::quit() {
  m_stepTimer.stop();
  m_pauseTimer.stop();
  finish();
  hide();
}

void TApropos::setTiming(int stepMs, int pauseMs) {
  m_stepTimer.setInterval(stepMs);
  m_pauseTimer.setInterval(pauseMs);
}

void TApropos::showEvent(QShowEvent* event) {
  if (QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  Screen::showEvent(event);
}

void TApropos::onHistory() {
  Panel1->setGeometry(rect());
  Panel1->show();
  Panel1->raise();
  Panel1->layout()->activate();
  m_lineHeight = QFontMetrics(HistoryFont()).height();
  m_steps = std::max(PaintBox1->height(), m_lineHeight * static_cast<int>(m_lines.size()));
  m_step = 0;
  m_pauseTimer.stop();
  m_stepTimer.start();
}

void TApropos::step() {
  ++m_step;
  PaintBox1->update();
  if (m_step >= m_steps) {
    m_stepTimer.stop();
    m_pauseTimer.start();
  }
}

void TApropos::finish() {
  Panel1->hide();
  m_step = 0;
}

void TApropos::onMailLink() {
  const std::string subject = FromQString(windowTitle().left(38));
  OpenMailClient(this, desktop(), MailtoWithSubject(kAuthorMail, subject));
}

bool TApropos::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Label3 && event->type() == QEvent::MouseButtonRelease) {
    onMailLink();
    return true;
  }
  return Screen::eventFilter(watched, event);
}

}  // namespace vantrel

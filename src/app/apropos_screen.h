#pragma once

#include <QFont>
#include <QStringList>
#include <QTimer>

#include "platform/screen.h"

class QLabel;
class QPushButton;
class QTextEdit;

namespace vantrel {

// The about box: author, version, a mail link to the author, and the version history
// played as text scrolling upwards ("Historique"). Changes no data.
class TApropos : public Screen {
  Q_OBJECT

 public:
  // One step of the history every kStepMs; the last step stays kFinalPauseMs.
  static constexpr int kStepMs = 55;
  static constexpr int kFinalPauseMs = 2000;
  // Pixels left of (and kept right of) every history line.
  static constexpr int kHistoryMargin = 1;

  explicit TApropos(AppContext& context, QWidget* parent = nullptr);

  // The 36 lines of the version history, leading blanks included, and their font.
  static QStringList HistoryLines();
  static QFont HistoryFont();

  // Escape: stops the history and hides the box.
  void quit() override;

  QLabel* Version;
  QLabel* Label2;
  QLabel* Label3;
  QTextEdit* Memo1;
  QPushButton* Button1;
  QWidget* Panel1;
  QWidget* PaintBox1;

  // "Historique": fills the window with Panel1 and starts the animation; the event loop
  // keeps running between the steps.
  void onHistory();
  // A click on Label3: mail to the author, subject the first 38 characters of the caption.
  void onMailLink();

  // The step and final pause durations (tests shorten them).
  void setTiming(int stepMs, int pauseMs);

  bool playing() const { return m_stepTimer.isActive() || m_pauseTimer.isActive(); }
  // T: the larger of PaintBox1's height and the height of all the lines.
  int stepCount() const { return m_steps; }
  // s, from 1 to T; 0 before the first step.
  int currentStep() const { return m_step; }
  int lineHeight() const { return m_lineHeight; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void step();
  void finish();

  QStringList m_lines;
  QTimer m_stepTimer;
  QTimer m_pauseTimer;
  int m_step = 0;
  int m_steps = 0;
  int m_lineHeight = 0;
};

}  // namespace vantrel

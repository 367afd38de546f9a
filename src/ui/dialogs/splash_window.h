#pragma once
// The window that greets a start: the about text, closed after two seconds,
// by Escape pressed wherever the focus is, or as soon as a question shows.

#include <QString>
#include <QWidget>

namespace orv {

// What the splash window and Help → About say of the program (rich text).
QString AboutText();

class CSplashWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kShownMs = 2000;

  CSplashWindow();
  // Shows it centred on the screen; it closes itself and deletes itself.
  void Start();

 signals:
  void Closed();

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
  void closeEvent(QCloseEvent* pEvent) override;
};

}  // namespace orv

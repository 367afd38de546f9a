#pragma once
// Answers the modal dialogs a call under test opens: queue one action per
// dialog, in the order they will open, then make the call. While the dialog
// runs its own event loop a timer finds it and hands it to the action, which
// must close it (accept, reject, a click). An action may itself open a dialog
// over its own: the next action answers that one. A dialog nobody queued an
// action for, or one its answer left open, fails the test and is rejected, so
// a test never hangs.

#include <QDialog>
#include <QDialogButtonBox>
#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace orv::test {

// Fails the test, naming the dialog, and rejects it.
void FailDialog(QDialog& dialog, const char* pWhy);

class CDialogDriver : public QObject {
 public:
  using FAction = std::function<void(QDialog& dialog)>;

  CDialogDriver();
  // Fails the test when queued actions were never used.
  ~CDialogDriver() override;

  // "When the next modal dialog opens, do this."
  void OnNextDialog(FAction action);
  // The same for a dialog that must be a T.
  template <typename T>
  void OnNext(std::function<void(T& dialog)> action) {
    OnNextDialog([action = std::move(action)](QDialog& dialog) {
      T* pTyped = qobject_cast<T*>(&dialog);
      if (!pTyped) return FailDialog(dialog, "the dialog is not of the expected class");
      action(*pTyped);
    });
  }
  // The next dialog is a message box: its text goes to rText, and eButton
  // answers it (NoButton: accepted).
  void OnNextMessage(std::string& rText,
                     QDialogButtonBox::StandardButton eButton = QDialogButtonBox::NoButton);
  // The next dialog is a file dialog: it goes to sFolder, when given, and
  // sName is typed as a user would (selectFile() races the folder's
  // loading) and accepted.
  void OnNextFile(const QString& sName, const QString& sFolder = {});
  size_t Pending() const { return m_actions.size(); }

 private:
  void Poll();

  std::deque<FAction> m_actions;
  // Dialogs given to an action that may still be open under a newer one.
  std::vector<QPointer<QDialog>> m_handled;
};

// Presses a standard button of the dialog's button box (a message box's too).
void Press(QDialog& dialog, QDialogButtonBox::StandardButton eButton);

// Runs run, answering the one dialog it opens with action.
void Answering(CDialogDriver::FAction action, const std::function<void()>& run);

// The nExpected message boxes run shows (they may open later, from the event
// loop), each as "title: text", accepted.
std::vector<std::string> MessageBoxesShownBy(const std::function<void()>& run, int nExpected);

}  // namespace orv::test

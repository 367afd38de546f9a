#pragma once
// Keyboard shortcuts: every command with its keys; the user adds keys by
// pressing them in a capture field and removes their own. Built-in keys are
// shown but locked. Works on a copy: OK hands the changed keys back.

#include <QDialog>
#include <QLineEdit>

#include "app/accelerator_manager.h"

class QLabel;
class QListWidget;

namespace orv {

// Shows the pressed combination as it is held ("Ctrl+Shift+"), then whole.
class CKeyboardEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CKeyboardEdit(QWidget* pParent = nullptr);
  std::optional<SKeyCombination> Combination() const { return m_combination; }
  void SetCombination(const SKeyCombination& combination);

 signals:
  void CombinationChanged();

 protected:
  void keyPressEvent(QKeyEvent* pEvent) override;
  void keyReleaseEvent(QKeyEvent* pEvent) override;
  bool event(QEvent* pEvent) override;

 private:
  std::optional<SKeyCombination> m_combination;
};

class CAccelMapDialog : public QDialog {
  Q_OBJECT

 public:
  CAccelMapDialog(const CAcceleratorManager& keys, QWidget* pParent = nullptr);

  const CAcceleratorManager& Keys() const { return m_keys; }
  QListWidget& CommandList() { return *m_pCommands; }
  QListWidget& KeyList() { return *m_pKeys; }
  CKeyboardEdit& Capture() { return *m_pCapture; }
  void Assign();
  void Remove();
  void Reset();

 private:
  std::optional<uint16_t> SelectedCommand() const;
  void ShowKeys();
  void ShowUsers();

  CAcceleratorManager m_keys;
  QListWidget* m_pCommands;
  QListWidget* m_pKeys;
  CKeyboardEdit* m_pCapture;
  QLabel* m_pUsedBy;
};

}  // namespace orv

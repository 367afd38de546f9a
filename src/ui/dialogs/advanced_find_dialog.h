#pragma once
// Edit → Find → Advanced Find: every folder's notes, and the folders' names,
// everywhere or only where the scope says; "Include attachments" is kept
// for the attachments notes will have.

#include <array>

#include "ui/dialogs/find_dialog.h"

class QRadioButton;

namespace orv {

class CAdvancedFindDlg : public CFindDialog {
  Q_OBJECT

 public:
  CAdvancedFindDlg(CNoteTree& tree, CSettingsStore& settings, CEditorPane& editors,
                   QWidget* pParent = nullptr);

 protected:
  SFindDialogState CurrentState() const override;
  CFindRunner::CWork Work() override;
  EFindScope Scope() const override { return ScopeOf(CurrentState()); }

 private:
  QCheckBox* m_pIncludeAttach;
  QRadioButton* m_pEverywhere;
  std::array<QRadioButton*, 5> m_onlyIn{};
};

}  // namespace orv

#pragma once
// Notes → Advanced → Find Nodes by Name in Current Folder: the notes of the
// folder shown whose name or text holds the text.

#include "ui/dialogs/find_dialog.h"

namespace orv {

class CFindNodeDlg : public CFindDialog {
  Q_OBJECT

 public:
  CFindNodeDlg(CNoteTree& tree, CSettingsStore& settings, CEditorPane& editors,
               QWidget* pParent = nullptr);

 protected:
  CFindRunner::CWork Work() override;
};

}  // namespace orv

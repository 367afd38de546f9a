#include "ui/dialogs/find_node_dialog.h"

namespace orv {

CFindNodeDlg::CFindNodeDlg(CNoteTree& tree, CSettingsStore& settings, CEditorPane& editors,
                           QWidget* pParent)
    : CFindDialog(EFindDialog::FolderNotes, tree, settings, editors, pParent) {
  setObjectName("CFindNodeDlg");
  setWindowTitle(tr("Find Nodes by Name in Current Folder"));
}

CFindRunner::CWork CFindNodeDlg::Work() {
  const CXMLTree& folder = Tree().CurrentFolder();
  const auto nFolder = static_cast<size_t>(Tree().CurrentIndex());
  return [&folder, nFolder](const CNoteSearch& search, const CHitSink& sink) {
    return search.SearchFolder(folder, nFolder, sink);
  };
}

}  // namespace orv

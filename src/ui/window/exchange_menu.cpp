// The import, export and statistics items of the File and Notes menus, with
// a progress box over the long part of each.

#include <memory>

#include "exchange/exchange_commands.h"
#include "ui/dialogs/busy_box.h"
#include "ui/window/main_window.h"
#include "ui/window/menu_builder.h"

namespace orv {

void CMenuBuilder::AddExchange(QMenu* pMenu, const char* pName, const QString& sText,
                               EExchangeCommand e) {
  Add(
      pMenu, pName, sText,
      [this, e] {
        std::unique_ptr<CBusyBox> pBusy;
        RunExchangeCommand(m_tree, e, [&](const std::string& sWhat) {
          pBusy.reset();
          if (!sWhat.empty())
            pBusy = std::make_unique<CBusyBox>(m_window, QString::fromStdString(sWhat));
        });
      },
      [this, e] { return IsEnabled(m_tree, e); });
}

void CMenuBuilder::BuildFileExchangeMenus(QMenu* pFile) {
  QMenu* pImport = pFile->addMenu(QObject::tr("&Import From..."));
  // The shortcut file knows the KeyNote import by this name.
  AddExchange(pImport, "File - Import From - TreePad 1.6.5", QObject::tr("&KeyNote 1.6.5"),
              EExchangeCommand::ImportKeyNote);
  AddExchange(pImport, "File - Import From - TreePad 2.7", QObject::tr("&TreePad 2.7"),
              EExchangeCommand::ImportTreePad);
  QMenu* pExport = pFile->addMenu(QObject::tr("&Export To"));
  AddExchange(pExport, "File - Export To - KeyNote 1.6.5", QObject::tr("&KeyNote 1.6.5"),
              EExchangeCommand::ExportKeyNote);
  AddExchange(pExport, "File - Export To - TreePad 2.7", QObject::tr("&TreePad 2.7"),
              EExchangeCommand::ExportTreePad);
}

void CMenuBuilder::BuildNotesExchangeMenus(QMenu* pAdvanced) {
  QMenu* pImport = pAdvanced->addMenu(QObject::tr("&Import From"));
  AddExchange(pImport, "Notes - Advanced - Import From - Text File", QObject::tr("&Text File"),
              EExchangeCommand::ImportTextFile);
  AddExchange(pImport, "Notes - Advanced - Import From - HTML File", QObject::tr("&HTML File"),
              EExchangeCommand::ImportHtmlFile);
  AddExchange(pImport, "Notes - Advanced - Import From - RTF File", QObject::tr("&RTF File"),
              EExchangeCommand::ImportRtfFile);
  QMenu* pExport = pAdvanced->addMenu(QObject::tr("E&xport To"));
  AddExchange(pExport, "Notes - Advanced - Export To - Text File", QObject::tr("&Text File"),
              EExchangeCommand::ExportTextFile);
  AddExchange(pExport, "Notes - Advanced - Export To - HTML File", QObject::tr("&HTML File"),
              EExchangeCommand::ExportHtmlFile);
  AddExchange(pExport, "Notes - Advanced - Export To - RTF File", QObject::tr("&RTF File"),
              EExchangeCommand::ExportRtfFile);
  AddExchange(pAdvanced, "Notes - Advanced - Stats...", QObject::tr("S&tats..."),
              EExchangeCommand::Stats);
}

}  // namespace orv

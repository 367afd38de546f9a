#pragma once
// The logic of the document properties dialog: a "protect with a passphrase"
// check box and the dialog's own copy of the passphrase, applied to the
// document on OK and written at the next save.

#include <string>

#include "ports/ui_port.h"
#include "storage/orvella_doc.h"

namespace orv {

class CFileProperties {
 public:
  CFileProperties(const COrvellaDoc& doc, CUiPort& ui);

  // The user clicked the check box: it toggles, then the dialog asks what it
  // needs and may set the box back.
  void OnCheckBoxClicked();
  // Protection and passphrase go to the document, which is marked modified
  // when they changed.
  void OnOk(COrvellaDoc& doc) const;

  bool IsChecked() const { return m_bChecked; }
  const std::string& PassphraseCopy() const { return m_sPassphrase; }

 private:
  void TurnOff();
  void TurnOn();

  const COrvellaDoc& m_doc;
  CUiPort& m_ui;
  bool m_bChecked;
  std::string m_sPassphrase;
};

}  // namespace orv

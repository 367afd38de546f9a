#include "tree/file_properties.h"

namespace orv {

namespace {
constexpr size_t kMinPassphraseBytes = 5;
}

CFileProperties::CFileProperties(const COrvellaDoc& doc, CUiPort& ui)
    : m_doc(doc), m_ui(ui), m_bChecked(doc.IsEncrypted()), m_sPassphrase(doc.Passphrase()) {}

void CFileProperties::OnCheckBoxClicked() {
  m_bChecked = !m_bChecked;
  if (m_bChecked) {
    TurnOn();
  } else if (m_doc.IsEncrypted() && m_sPassphrase == m_doc.Passphrase()) {
    TurnOff();
  } else {
    // Protection chosen in this dialog and not yet applied: nothing to prove.
    m_sPassphrase.clear();
  }
}

void CFileProperties::TurnOff() {
  auto previous = m_ui.AskText("Enter a previous passphrase", "", true);
  // Cancel keeps protection on: it must not come off without the passphrase.
  if (!previous) {
    m_bChecked = true;
    return;
  }
  if (*previous != m_doc.Passphrase()) {
    m_ui.ShowMessage("Information", "please eneter a valid passphrase.", EMessageIcon::Information);
    m_bChecked = true;
    return;
  }
  m_ui.ShowMessage("Information", "Crypto will disabled by press OK", EMessageIcon::Information);
  m_sPassphrase.clear();
}

void CFileProperties::TurnOn() {
  auto fail = [this] {
    m_bChecked = false;
    m_sPassphrase.clear();
  };
  auto first = m_ui.AskText("Enter a passphrase", "", true);
  if (!first) return fail();
  if (first->size() < kMinPassphraseBytes) {
    m_ui.ShowMessage("Information", "Please enter a 5 or more symbols", EMessageIcon::Information);
    return fail();
  }
  auto second = m_ui.AskText("Repeat a passphrase", "", true);
  if (!second) return fail();
  if (*first != *second) {
    m_ui.ShowMessage("Information", "Please enter a two equal passstrings",
                     EMessageIcon::Information);
    return fail();
  }
  m_ui.ShowMessage("Information",
                   "The file will be crypted by press OK with " + std::to_string(first->size()) +
                       " byte encoding",
                   EMessageIcon::Information);
  m_sPassphrase = *first;
}

void CFileProperties::OnOk(COrvellaDoc& doc) const {
  // A ticked box without a passphrase can't protect anything.
  doc.SetProtection(m_bChecked ? m_sPassphrase : std::string());
}

}  // namespace orv

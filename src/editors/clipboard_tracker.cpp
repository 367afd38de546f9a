#include "editors/clipboard_tracker.h"

namespace orv {

void CClipboardTracker::SetOn(bool bOn, std::string_view sClipboardText) {
  m_bOn = bOn;
  if (bOn) m_sRecorded = sClipboardText;
}

std::optional<std::string> CClipboardTracker::OnClipboardChange(std::string_view sClipboardText) {
  if (!m_bOn || sClipboardText == m_sRecorded) return std::nullopt;
  m_sRecorded = sClipboardText;
  if (sClipboardText.empty()) return std::nullopt;
  return m_sRecorded;
}

}  // namespace orv

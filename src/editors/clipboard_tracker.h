#pragma once
// Track Clipboard: while it is on, text that arrives on the clipboard is
// pasted at the caret, once. The platform may tell of one copy more than
// once, so a change whose text is the one recorded last pastes nothing.

#include <optional>
#include <string>
#include <string_view>

namespace orv {

class CClipboardTracker {
 public:
  bool IsOn() const { return m_bOn; }
  // Off at start. Turning it on records the clipboard's text as it is, so
  // what was copied before is not pasted.
  void SetOn(bool bOn, std::string_view sClipboardText);
  // A change of the clipboard: the text to paste, if any.
  std::optional<std::string> OnClipboardChange(std::string_view sClipboardText);

 private:
  bool m_bOn = false;
  std::string m_sRecorded;
};

}  // namespace orv
